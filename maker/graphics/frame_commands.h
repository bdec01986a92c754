#pragma once
// The frame commands of the sprite-frame editor: create, add, copy, reorder
// and remove the frames of one sprite, and write them all into one PNG strip.
// Each takes (parent window, sprite name, current frame index), works on
// g_frames at once (there is no undo) and returns 0.
#include <string>

#include "imaging/image.h"

// Largest width or height typed for a new blank frame.
constexpr int kMaxFrameSide = 4096;

int create_blank_sprite(int parent, const std::string& sprite_name, int frame_index);
int add_frame_from_file(int parent, const std::string& sprite_name, int frame_index);
int save_sprite_png_strip(int parent, const std::string& sprite_name, int frame_index);
int duplicate_frame(int parent, const std::string& sprite_name, int frame_index);
int move_frame_up(int parent, const std::string& sprite_name, int frame_index);
int move_frame_down(int parent, const std::string& sprite_name, int frame_index);
int delete_frame(int parent, const std::string& sprite_name, int frame_index);

// ---- the pieces the commands and the strip import share ----
// Appends a frame of the sprite holding the picture; returns its index.
int append_frame(const std::string& sprite_name, const std::string& counter, imaging::Image&& picture);
// Removes every frame of the sprite, freeing their pictures, keeping the
// order of the others.
void remove_sprite_frames(const std::string& sprite_name);
// The counter for a frame appended to the sprite: one more than its last
// frame's, or, when another frame of the sprite has that one already (after
// moves), one more than its highest. "0" for a sprite without frames.
std::string next_frame_counter(const std::string& sprite_name);
// Index of the sprite's first frame in g_frames, -1 when it has none.
int first_frame_of(const std::string& sprite_name);
