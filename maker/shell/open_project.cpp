#include "maker/shell/open_project.h"

#include <fcntl.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/project/confirm.h"
#include "maker/project/extensions.h"
#include "maker/project/new_project.h"
#include "maker/project/owned_images.h"
#include "maker/project/project_file.h"
#include "toolkit/files.h"
#include "maker/project/records.h"
#include "maker/project/save_project.h"
#include "maker/project/thumbnails.h"
#include "maker/shell/main_window.h"
#include "maker/shell/project_dialogs.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kOpeningPicture = 141;
// Bytes of project file read at most, and pixels of tile pictures cut at
// most, so that no file can make the program take unbounded memory.
constexpr size_t kMaxProjectFileBytes = size_t(1) << 30;
constexpr size_t kMaxTilePixels = size_t(1) << 28;


// The project file's bytes; a missing file is created empty and reads as no
// bytes. False when it exists but cannot be read.
bool read_project_bytes(const std::string& path, std::vector<uint8_t>& bytes) {
  std::string content;
  switch (tk::read_small_file(path, kMaxProjectFileBytes, content)) {
    case tk::FileRead::Read:
      bytes.assign(content.begin(), content.end());
      return true;
    case tk::FileRead::Missing: {
      int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
      if (fd >= 0) close(fd);
      bytes.clear();
      return true;
    }
    case tk::FileRead::Unreadable:
    case tk::FileRead::TooLarge: break;
  }
  return false;
}

// The tile set's picture drawn into a transparent image of the tile's size at
// (-left, -top).
imaging::Image cut_tile(const imaging::Image& picture, const Tile& t) {
  imaging::Image cut = imaging::grab(picture, t.source_left, t.source_top, t.width, t.height);
  for (size_t i = 0; i < cut.pixels.size(); i += 4)
    if (cut.pixels[i + 3] == 0) cut.pixels[i] = cut.pixels[i + 1] = cut.pixels[i + 2] = 0;
  return cut;
}

imaging::Image red_tile(const Tile& t) {
  imaging::Image red(t.width, t.height);
  imaging::Canvas c(red);
  c.set_colour(imaging::rgba(255, 0, 0));
  c.box(0, 0, t.width, t.height);
  return red;
}

void cut_tile_pictures() {
  std::unordered_map<std::string, std::vector<int>> tiles_of;
  for (int i = 0; i < g_tiles.count(); ++i) tiles_of[g_tiles[i].background_name].push_back(i);
  size_t pixels_left = kMaxTilePixels;
  for (int b = 0; b < g_backgrounds.count(); ++b) {
    const Background& bg = g_backgrounds[b];
    auto found = tiles_of.find(bg.name);
    if (bg.image_file.empty() || found == tiles_of.end()) continue;
    std::optional<imaging::Image> picture;
    if (plain_file_name(bg.image_file))
      picture = imaging::decode_image_file(g_project_folder + "/" + bg.image_file);
    for (int i : found->second) {
      Tile& t = g_tiles[i];
      if (t.width < 1 || t.height < 1 || t.width > imaging::kMaxImageSide ||
          t.height > imaging::kMaxImageSide || size_t(t.width) * size_t(t.height) > pixels_left)
        continue;
      pixels_left -= size_t(t.width) * size_t(t.height);
      free_owned_image(t.image);
      t.image = imaging::adopt_image(imaging::kAnyImage, picture ? cut_tile(*picture, t) : red_tile(t));
    }
  }
}

// Every placed instance takes the depth of its object definition.
void take_definition_depths() {
  std::unordered_map<std::string, int> depth_of;
  for (const GameObject& o : g_objects)
    if (o.is_prototype == 1) depth_of[o.name] = o.depth;
  for (GameObject& o : g_objects) {
    auto found = depth_of.find(o.template_name);
    if (found != depth_of.end()) o.depth = found->second;
  }
}

}  // namespace

int open_project() {
  if (g_project_modified == 1 &&
      confirm_yes_no("Confirm", "Unsaved changes will be lost. Open a new project?") != 1)
    return 0;
  const std::string name = open_project_dialog();
  if (!name.empty()) open_project_file(name);
  return 0;
}

bool open_project_file(const std::string& name) {
  const std::string path = "Projects/" + name + ".qgp";
  std::vector<uint8_t> bytes;
  if (!read_project_bytes(path, bytes)) {
    show_error("The project file " + path + " cannot be read.");
    return false;
  }
  ProjectFile first(bytes);
  int version = read_file_number(first);
  if (version > g_file_version) {
    show_error("This project requires a new program version (v" + std::to_string(version) + ").");
    return false;
  }
  if (!project_file_intact(bytes.data(), bytes.size())) {
    show_error("The project file " + path + " is damaged and cannot be opened.");
    return false;
  }

  set_project_modified(0);
  new_project();
  g_project_name = name;
  int wait = open_wait_window(kOpeningPicture);
  const std::string folder = "Projects/" + name + "/";
  debug_log_line("Opening file..." + name);

  char* cwd = getcwd(nullptr, 0);
  const std::string working_folder = std::string(cwd ? cwd : ".") + "/" + g_project_folder + "/";
  free(cwd);
  // The pictures are decoded and the files copied after the reading, on a
  // few threads; the decoded pictures then enter the image table in frame order.
  std::vector<std::function<void()>> jobs;
  std::vector<std::optional<imaging::Image>> pictures;
  std::vector<int> picture_frames;
  ProjectReadHooks hooks;
  hooks.frame_read = [&](Frame& frame) {  // appended next, at index count
    if (plain_file_name(frame_file_name(frame.sprite_name, frame.file_counter)))
      picture_frames.push_back(g_frames.count());
  };
  hooks.file_named = [&](const std::string& file) {
    if (plain_file_name(file))
      jobs.push_back([from = folder + file, to = working_folder + file] { tk::copy_file_over(from, to); });
  };
  ProjectFile file(bytes);
  version = read_project_records(file, hooks);
  pictures.resize(picture_frames.size());
  for (size_t k = 0; k < picture_frames.size(); ++k) {
    const Frame& frame = g_frames[picture_frames[k]];
    jobs.push_back([&picture = pictures[k],
                    path = folder + frame_file_name(frame.sprite_name, frame.file_counter)] {
      picture = imaging::decode_image_file(path);
    });
  }
  run_file_jobs(jobs);
  for (size_t k = 0; k < picture_frames.size(); ++k)
    if (pictures[k]) g_frames[picture_frames[k]].image = imaging::adopt_image(imaging::kAnyImage, std::move(*pictures[k]));
  pictures.clear();
  if (version >= 120) cut_tile_pictures();
  build_resource_thumbnails();
  take_definition_depths();

  tk::pause(1000);
  tk::close_window(wait);
  tk::set_state(kResourcePanel, 0);
  return true;
}
