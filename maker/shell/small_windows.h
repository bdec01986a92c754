#pragma once
// Small windows of the main window: About, the game-comments editor and its
// read-only display, and the 100 x 100 preview picture of the object dialog.
#include <string>

#include "imaging/image.h"

constexpr int kDialogWindow = 63;
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

// The image scaled to fit 100 x 100 at the top-left of a transparent
// 100 x 100 picture, shown in the image view; a missing image leaves it
// transparent.
void set_preview_thumbnail(int image_view, int image);
imaging::Image preview_picture(int image);
