#include "maker/project/new_project.h"

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "maker/project/confirm.h"
#include "maker/project/preferences.h"
#include "maker/project/records.h"
#include "toolkit/system.h"
#include "toolkit/widgets.h"

namespace {

constexpr int kResourcePanel = 14;

// A name of an entry directly in the working directory: no folder part, and
// not one of the names that mean the directory itself or its parent.
bool plain_name(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

// Removes everything inside the folder open as `fd` (and closes it). Links
// are removed as links; folders on another file system are left alone.
void empty_folder(int fd, dev_t device) {
  DIR* dir = fdopendir(fd);
  if (!dir) {
    close(fd);
    return;
  }
  std::vector<std::string> names;
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  int at = dirfd(dir);
  for (const std::string& name : names) {
    struct stat st;
    if (fstatat(at, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISDIR(st.st_mode)) {
      unlinkat(at, name.c_str(), 0);
      continue;
    }
    if (st.st_dev != device) continue;
    int sub = openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (sub < 0) continue;
    empty_folder(sub, device);
    unlinkat(at, name.c_str(), AT_REMOVEDIR);
  }
  closedir(dir);
}

// Deletes the folder `name` of the working directory with its contents.
void delete_folder_tree(const std::string& name) {
  int fd = open(name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st;
  if (fstat(fd, &st) != 0) {
    close(fd);
    return;
  }
  empty_folder(fd, st.st_dev);
  rmdir(name.c_str());
}

bool is_folder(const std::string& name, bool follow_links) {
  struct stat st;
  int r = follow_links ? stat(name.c_str(), &st) : lstat(name.c_str(), &st);
  return r == 0 && S_ISDIR(st.st_mode);
}

void prepare_working_folder(const std::string& name) {
  if (!plain_name(name)) return;
  struct stat st;
  if (lstat(name.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) delete_folder_tree(name);
    else unlink(name.c_str());
  }
  mkdir(name.c_str(), 0700);
}

}  // namespace

std::string working_folder_name() {
  tk::TimeOfDay t = tk::time_of_day();
  char digits[32];
  std::snprintf(digits, sizeof digits, "%02d%02d%02d", t.hour, t.minute, t.second);
  return std::string("_temp_") + digits;
}

void delete_working_folder() {
  if (plain_name(g_project_folder) && is_folder(g_project_folder, false))
    delete_folder_tree(g_project_folder);
}

int new_project() {
  if (g_project_modified == 1 &&
      confirm_yes_no("Confirm", "Unsaved changes will be lost. New?") != 1)
    return 0;
  delete_working_folder();
  g_project_folder = working_folder_name();
  tk::set_state(kResourcePanel, 0);
  set_project_modified(0);
  g_project_uid = 1;
  for (const ResourceEntry& entry : g_resource_entries) tk::free_widget(entry.widget);
  clear_resource_lists();

  struct stat st;
  if (lstat(kPreferencesFile, &st) != 0) save_preferences();
  read_preferences();

  for (const char* folder : {"Extensions", "Projects"})
    if (!is_folder(folder, true)) mkdir(folder, 0777);
  g_project_name = "";
  prepare_working_folder(g_project_folder);
  return 0;
}
