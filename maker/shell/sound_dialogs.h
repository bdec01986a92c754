#pragma once
// The sound and music properties dialogs: name and the WAV, MP3 and OGG
// source files of one sound or music.
#include <string>

// Modal dialogs in window 63 for the first sound / music of that name;
// without one they only rebuild the resource browser. Each ends on a
// successful "Done" or a confirmed "Delete"; the close box does nothing.
// A chosen file is copied into the working folder by "Done".
void edit_sound(const std::string& name);
void music_properties_dialog(const std::string& name);
