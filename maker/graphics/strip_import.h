#pragma once
// The image-strip import: replaces every frame of a sprite by the cells of
// one picture cut into a grid of equal cells.

// Most frames one import may cut (a 64 x 64 sheet), so that a mistyped grid
// cannot flood the project with pictures; the refusal names it.
constexpr int kMaxStripCells = 4096;
// Where the picture is held while the import window is open.
constexpr int kStripPicture = 124;

// For the sprite at that index of g_sprites: asks for a picture, shows it in
// a window with the numbers of columns and rows, and on " Import! " makes
// one frame per cell in row order, resets the origin and the collision box
// and radius to the cell, and renews the sprite's thumbnail. Result 0.
int import_image_strip(int sprite_index);
