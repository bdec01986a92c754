#pragma once
// The project name dialog, the save commands, the list of saved projects and
// the open-project dialog.
#include <string>

// Modal dialog "Enter the project name": "OK" sets g_project_name to the
// input as typed (a name with "/", "." or ".." is refused with a message and
// the dialog stays), "Cancel" sets it to "".
void ask_project_name();
// Save: asks for a name when the project has none, then writes it.
int save_project_or_ask();
// Save as: asks for a name (starting with the current one), then writes it.
int save_project_as();
// g_project_names := the base names of the "*.qgp" files in "Projects".
void scan_project_files();
// The chosen project's name, or "" when cancelled or nothing was selected.
std::string open_project_dialog();
