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

// Writes the file anew through a new file beside it (path + ".part") that
// takes its place only when complete, so that the file is always either
// the old one or the new one, whole. With `flush` the new content is on the
// disk before it takes the old one's place. False when not written; the old
// file is then untouched.
bool replace_file(const std::string& path, const void* data, size_t size, bool flush);
// The same with the content of another file; false when it cannot be read.
bool copy_file_over(const std::string& from, const std::string& to);

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
