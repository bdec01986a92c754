#pragma once
// Colour effects and geometric transforms of a sprite's frames. Each command
// opens a modal dialog over the frame editor (parent window), previews the
// result of the frame at frame_index and, on "OK", rebuilds that frame or
// every frame of the sprite. A negative frame_index shows nothing. Result 0.
#include <string>

int effect_grayscale(int parent, const std::string& sprite_name, int frame_index);
int effect_colorize(int parent, const std::string& sprite_name, int frame_index);
int effect_color_balance(int parent, const std::string& sprite_name, int frame_index);
int effect_swap_channels(int parent, const std::string& sprite_name, int frame_index);
int effect_invert(int parent, const std::string& sprite_name, int frame_index);
int effect_brightness(int parent, const std::string& sprite_name, int frame_index);
int effect_opacity(int parent, const std::string& sprite_name, int frame_index);
int effect_posterize(int parent, const std::string& sprite_name, int frame_index);
int effect_noise(int parent, const std::string& sprite_name, int frame_index);
int effect_erase_color(int parent, const std::string& sprite_name, int frame_index);
int effect_make_opaque(int parent, const std::string& sprite_name, int frame_index);

int effect_shift(int parent, const std::string& sprite_name, int frame_index);
int effect_mirror(int parent, const std::string& sprite_name, int frame_index);
int effect_rotate(int parent, const std::string& sprite_name, int frame_index);
int effect_scale(int parent, const std::string& sprite_name, int frame_index);
