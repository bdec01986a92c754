#pragma once
// File > Open: replaces the project in memory by one read from its project
// file, with its pictures and copies of its files. Returns 0.
int open_project();
