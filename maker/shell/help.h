#pragma once
// The help document, handed to the desktop to show.

inline constexpr const char* kHelpDocument = "quillop.chm";

// Starts the desktop's opener on the help document; whatever it does is
// left to the desktop.
void show_help();
