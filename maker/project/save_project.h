#pragma once
// Saving the project: Projects/<name>.qgp, and in Projects/<name>/ the frame
// pictures and copies of the sound, music and background files.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// sprite name + "_" + counter + ".png"
std::string frame_file_name(const std::string& sprite_name, const std::string& file_counter);
// A name that stays inside its folder: not empty, no "/", not "." or "..".
bool plain_file_name(const std::string& name);

// Runs independent file jobs (each reads or writes its own files, touching
// no list and no image table entry) on a few threads and returns when all
// are done: most of their time is spent waiting for the file system.
void run_file_jobs(const std::vector<std::function<void()>>& jobs);

// Writes the project under `name`: the frame pictures and the copies (each
// one that cannot be written is skipped), then the project file. False when
// the project file could not be written.
bool write_project(const std::string& name);

// Writes the project named g_project_name between the wait window with
// picture 138 and clears the modified flag. A project file that cannot be
// written is reported with an "Error" message and the flag stays set.
// Returns 0.
int save_project();
