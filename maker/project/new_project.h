#pragma once
// New project: the empty, unnamed project with a fresh working folder.
#include <string>

// Asks first when there are unsaved changes ("No" changes nothing), then
// replaces the working folder by a new one named after the time of day,
// empties every resource list, (re)reads preferences.dat (writing it first
// when it is missing) and makes sure "Extensions" and "Projects" exist.
// Returns 0.
int new_project();

// Deletes the working folder g_project_folder with all its contents when it
// is a folder. Links inside it are removed, never followed, and nothing is
// deleted unless g_project_folder is a plain name in the working directory.
void delete_working_folder();

// "_temp_" followed by the time of day of the toolkit's clock as hhmmss.
std::string working_folder_name();
