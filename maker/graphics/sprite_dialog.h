#pragma once
// The sprite properties dialog: name, origin and collision shape of one
// sprite, with an animated, zoomable preview of its frames.
#include <string>

// Timer of the preview in window 63.
constexpr int kSpritePreviewTimer = 999;

// Modal dialog in window 63 for the sprite of exactly that name; without
// one it only rebuilds the resource browser. Every field but the name is
// stored as its control changes; " Done " stores the name with the rename
// cascade, "Delete" asks first. The close box does nothing.
void edit_sprite(const std::string& name);
