#pragma once
// preferences.dat: the program-wide preference values kept between sessions.
//
// The file is a list of lines: "[group]", "key = value", "; comment" and
// whatever else a person typed. Rewriting keeps every line in its order and
// only replaces the values of the keys written again, so hand edits survive.
#include <string>

inline constexpr const char* kPreferencesFile = "preferences.dat";

// Writes all twenty-four preference values into preferences.dat. The new
// text goes to a temporary file that is renamed over the old one, so a
// failed write never leaves half a file. A preferences.dat that exists but
// cannot be read (a folder, no permission, oversized) is left alone.
void save_preferences();

// Reads all twenty-four values from preferences.dat into the program-wide
// values; a missing key (or an unreadable file) gives the reader's default.
void read_preferences();

// The same two on the file's bytes, for tests and fuzzing:
// read_preferences_from fills the values from `bytes`;
// rewrite_preferences returns the file that save_preferences writes when
// preferences.dat holds `bytes` ("" for a missing file).
void read_preferences_from(const std::string& bytes);
std::string rewrite_preferences(const std::string& bytes);
