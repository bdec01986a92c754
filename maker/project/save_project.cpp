#include "maker/project/save_project.h"

#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "imaging/codec.h"
#include "maker/project/extensions.h"
#include "maker/project/jobs.h"
#include "maker/project/project_file.h"
#include "maker/project/records.h"
#include "toolkit/files.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kSavingPicture = 138;

bool is_folder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

void run_file_jobs(const std::vector<FileJob>& jobs) {
  std::unordered_map<std::string_view, size_t> last;
  for (size_t i = 0; i < jobs.size(); ++i) last[jobs[i].target] = i;
  std::vector<size_t> kept;
  for (size_t i = 0; i < jobs.size(); ++i)
    if (last[jobs[i].target] == i) kept.push_back(i);
  run_jobs(kept.size(), [&](size_t k) { jobs[kept[k]].run(); });
}

std::string frame_file_name(const std::string& sprite_name, const std::string& file_counter) {
  return sprite_name + "_" + file_counter + ".png";
}

bool plain_file_name(const std::string& name) {
  return !name.empty() && name.find_first_of("/\r\n") == std::string::npos && name != "." && name != "..";
}

bool write_project(const std::string& name) {
  const std::string folder = "Projects/" + name + "/";
  mkdir("Projects", 0755);
  if (!is_folder("Projects/" + name)) mkdir(("Projects/" + name).c_str(), 0700);

  // Every picture and copy is a job of its own; none of them touches the
  // lists or the image table, which stay unchanged until all are done.
  std::vector<FileJob> jobs;
  std::unordered_map<std::string, std::vector<int>> frames_of;
  for (int i = 0; i < g_frames.count(); ++i) frames_of[g_frames[i].sprite_name].push_back(i);
  for (int s = 0; s < g_sprites.count(); ++s) {
    auto found = frames_of.find(g_sprites[s].name);
    if (found == frames_of.end()) continue;
    for (int i : found->second) {
      const Frame& frame = g_frames[i];
      std::string file = frame_file_name(frame.sprite_name, frame.file_counter);
      const imaging::Image* image = imaging::image_ptr(frame.image);
      if (!image || !plain_file_name(file)) continue;
      std::string path = folder + file;
      jobs.push_back({path, [image, path] {
                        if (auto png = imaging::encode_png(*image))
                          tk::replace_file(path, png->data(), png->size(), false);
                      }});
    }
  }
  auto copy = [&](const std::string& file) {
    if (!plain_file_name(file)) return;
    jobs.push_back({folder + file, [from = g_project_folder + "/" + file, to = folder + file] {
                      tk::copy_file_over(from, to);
                    }});
  };
  for (const Sound& s : g_sounds)
    for (const std::string* f : {&s.wav_file, &s.mp3_file, &s.ogg_file}) copy(*f);
  for (const Music& m : g_musics)
    for (const std::string* f : {&m.wav_file, &m.mp3_file, &m.ogg_file}) copy(*f);
  for (const Background& b : g_backgrounds) copy(b.image_file);
  run_file_jobs(jobs);

  return write_project_file("Projects/" + name + ".qgp", true);
}

int save_project() {
  int wait = open_wait_window(kSavingPicture);
  bool saved = write_project(g_project_name);
  if (saved) set_project_modified(0);
  tk::pause(1000);
  tk::close_window(wait);
  if (!saved)
    tk::message_box("Error", "The project could not be saved as Projects/" + g_project_name + ".qgp.",
                    tk::MessageKind::Error);
  return 0;
}
