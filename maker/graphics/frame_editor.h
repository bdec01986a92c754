#pragma once
// The sprite-frame editor: the frames of one sprite side by side in a strip,
// changed by the frame commands, transforms and effects.
#include <string>

// Rebuilds the strip of the open editor; free_old = 1 first destroys the
// widgets of the previous strip. Result 0.
int refresh_sprite_frame_strip(const std::string& sprite_name, int free_old);
