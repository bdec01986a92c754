#pragma once
// The help document, handed to the desktop to show.

inline constexpr const char* kHelpDocument = "quillop.chm";

// Hands the help document to the desktop; when the desktop cannot show it
// (no document, nothing that opens it), a message says so.
void show_help();
