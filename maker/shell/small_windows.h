#pragma once
// Small windows of the main window: About, the game-comments editor and its
// read-only display.
#include "maker/common/window_numbers.h"

constexpr int kGameCommentsWindow = 136;
constexpr int kAboutPicture = 133;

// Borderless About picture with the version; only a click on the picture
// closes it.
void show_about_window();

// Window 136 with the comments of the game settings; "OK" (the only way
// out) stores the text and marks the project modified.
void edit_game_comments();
// The same window, read-only; "OK" closes it and changes nothing.
void show_game_comments();
