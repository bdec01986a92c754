#pragma once
// File > Open: replaces the project in memory by one read from its project
// file, with its pictures and copies of its files.
#include <string>

// Asks before unsaved changes are lost, lets the user choose a project and
// opens it. Returns 0.
int open_project();

// Everything after the choice: opens Projects/<name>.qgp, or shows why it
// cannot and changes nothing (false).
bool open_project_file(const std::string& name);
