#pragma once
// Installed extension packages (Extensions/<base name>.qex) as quillop-maker
// reads them, and the project's choice of packages (extensions.dat in the
// project folder, one base name per line).
#include <string>
#include <string_view>
#include <vector>

#include "maker/project/state.h"

// Packages and lists larger than this are read as empty files, so a stray
// huge file in the folder costs no memory.
constexpr size_t kMaxExtensionFileBytes = 16 << 20;

// The lines of a text: each ends at LF, CR or CR LF (the end is not part of
// it); a last line without an end counts, an end at the very end adds none.
std::vector<std::string> split_text_lines(std::string_view text);

// A package's texts: header lines start their section (and count as empty
// lines); name and author lines are joined, description, help and code lines
// each followed by one CR. Invalid UTF-8 becomes U+FFFD. base_name stays
// empty and enabled 0.
ExtensionInfo parse_extension_package(std::string_view bytes);

// Reads Projects/<project name>/extensions.dat into g_project_extension_names
// (empty when the file is missing or empty). Returns 0.
int load_project_extension_list();

// Writes Projects/<project name>/extensions.dat anew: each name and one LF.
// Returns 0.
int save_project_extension_list(const std::vector<std::string>& base_names);

// Rebuilds g_installed_extensions from the .qex files of "Extensions" (in
// file-name order), after re-reading the project's list, and marks the
// packages the project enables. Shows the wait window with picture 137.
// Returns 0.
int scan_installed_extensions();

// The 400 x 160 borderless "Please wait..." window showing a built-in picture,
// centred; its window number, or -1 when there is no display. The caller
// closes it with tk::close_window.
int open_wait_window(int picture);
