#pragma once
// Chosen files copied into the working folder by the sound, music and
// background dialogs, which keep only the file name.
#include <string>

// Whether `source` may be copied into the working folder as `file`, where it
// replaces a file of that name. When that file has other bytes and a sound,
// music or background other than `self` (the record being edited) names it,
// the user is asked first; false when the user declines.
bool may_replace_working_file(const std::string& source, const std::string& file, const void* self);

// Whether a chosen file can be kept under its own name, `file`, in the
// working folder and the project folder; shows an "Error" when it cannot.
bool working_file_name_usable(const std::string& file);
