#pragma once
// The strip of the sprite-frame editor: the frames of one sprite side by
// side in scroll area 187. The commands, transforms and effects that change
// frames redraw it.
#include <string>

constexpr int kFrameStripArea = 187;
constexpr int kSelectionOverlayPicture = 214;
constexpr int kCheckerboardPicture = 126;

// Rebuilds the strip of the open editor; free_old = 1 first destroys the
// widgets of the previous strip. Result 0.
int refresh_sprite_frame_strip(const std::string& sprite_name, int free_old);
