#pragma once
// The sprite-frame editor: the frames of one sprite side by side in a strip,
// changed by the frame commands, transforms and effects.
#include <span>
#include <string>

constexpr int kFrameStripArea = 187;
constexpr int kFrameEditorMenuBar = 188;
constexpr int kSelectionOverlayPicture = 214;
constexpr int kCheckerboardPicture = 126;

// Modal window over the sprite dialog (window 63) for the frames of that
// sprite; "Done" (the only way out) marks the project modified and renews
// the thumbnails and the resource browser. Result 0.
int open_sprite_frame_editor(const std::string& sprite_name);

// Rebuilds the strip of the open editor; free_old = 1 first destroys the
// widgets of the previous strip. Result 0.
int refresh_sprite_frame_strip(const std::string& sprite_name, int free_old);

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
