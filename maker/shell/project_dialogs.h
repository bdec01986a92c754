#pragma once
// The project name dialog, the save commands, the list of saved projects and
// the open-project dialog.
#include <string>

// Modal dialog "Enter the project name". "OK" sets g_project_name to the
// input as typed and returns true; a name with "/" or ".qgp", "." or ".." is
// refused with a message and the dialog stays. A name of another existing
// project is asked about first: on No the name stays as it was and the
// result is false. "Cancel", or "OK" on an empty input, sets it to "" and
// returns false.
bool ask_project_name();
// Save: asks for a name when the project has none, then writes it. 1 when
// the project was written (or its writing failed with a message), else 0.
int save_project_or_ask();
// Save as: asks for a name (starting with the current one), then writes it;
// the result as for Save.
int save_project_as();
// g_project_names := the base names of the "*.qgp" files in "Projects".
void scan_project_files();
// The chosen project's name, or "" when cancelled or nothing was selected.
std::string open_project_dialog();
