#pragma once
// The sprite-frame editor: the frames of one sprite side by side in a strip,
// changed by the frame commands, transforms and effects.
#include <span>
#include <string>

#include "maker/graphics/frame_strip.h"

constexpr int kFrameEditorMenuBar = 188;

// Modal window over the sprite dialog (window 63) for the frames of that
// sprite; "Done" (the only way out) marks the project modified and renews
// the thumbnails and the resource browser. Result 0.
int open_sprite_frame_editor(const std::string& sprite_name);

// One command of the editor's menus, shortcuts and toolbar.
using FrameCommand = int (*)(int window, const std::string& sprite_name, int frame_index);
struct FrameEditorItem {
  const char* menu;  // the menu title the item starts, or nullptr
  int item;          // menu item number; -1 for a separator
  const char* text;
  int icon;
  int toolbar_x;
  const char* tooltip;
  FrameCommand command;
};
std::span<const FrameEditorItem> frame_editor_items();
