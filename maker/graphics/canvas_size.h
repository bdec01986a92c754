#pragma once
// Size changes of every frame of a sprite, each through a small dialog over
// the frame editor (parent window). frame_index is accepted for symmetry with
// the other frame commands; the size comes from the sprite's frames. Result 0.
#include <string>

// Puts each frame's picture, unscaled and centred, on a canvas of a new size.
int resize_sprite_canvas(int parent, const std::string& sprite_name, int frame_index);
// Scales each frame's picture to a new size.
int stretch_sprite_images(int parent, const std::string& sprite_name, int frame_index);
