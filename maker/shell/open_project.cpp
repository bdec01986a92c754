#include "maker/shell/open_project.h"

#include <fcntl.h>
#include <unistd.h>

#include <map>
#include <new>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/project/confirm.h"
#include "maker/project/extensions.h"
#include "maker/project/jobs.h"
#include "maker/project/new_project.h"
#include "maker/project/project_file.h"
#include "maker/project/records.h"
#include "maker/project/save_project.h"
#include "maker/project/thumbnails.h"
#include "maker/shell/main_window.h"
#include "maker/shell/project_dialogs.h"
#include "toolkit/files.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kOpeningPicture = 141;
// Bytes of project file read at most, and pixels of tile pictures cut at
// most, so that no file can make the program take unbounded memory.
constexpr size_t kMaxProjectFileBytes = size_t(1) << 30;
constexpr size_t kMaxTilePixels = size_t(1) << 28;


// The project file's bytes; a missing file is created empty and reads as no
// bytes. False when it exists but cannot be read.
bool read_project_bytes(const std::string& path, std::string& bytes) {
  switch (tk::read_small_file(path, kMaxProjectFileBytes, bytes)) {
    case tk::FileRead::Read: return true;
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

// The frame pictures in `folder`: each file decoded once by a job, then
// given to its frames in list order.
struct FramePictures {
  std::vector<std::string> paths;
  std::vector<std::pair<int, size_t>> frame_slots;  // frame index, path
  std::vector<std::optional<imaging::Image>> pictures;

  explicit FramePictures(const std::string& folder) {
    std::unordered_map<std::string, size_t> slot_of;
    frame_slots.reserve(size_t(g_frames.count()));
    for (int i = 0; i < g_frames.count(); ++i) {
      const std::string file = frame_file_name(g_frames[i].sprite_name, g_frames[i].file_counter);
      if (!plain_file_name(file)) continue;
      auto [at, added] = slot_of.emplace(folder + file, paths.size());
      if (added) paths.push_back(at->first);
      frame_slots.emplace_back(i, at->second);
    }
    pictures.resize(paths.size());
  }
  size_t jobs() const { return paths.size(); }
  void run(size_t k) { pictures[k] = imaging::decode_image_file(paths[k]); }
  void adopt() {
    std::vector<int> uses(paths.size());
    for (const auto& fs : frame_slots) ++uses[fs.second];
    for (auto [frame, slot] : frame_slots) {
      std::optional<imaging::Image>& picture = pictures[slot];
      if (!picture) continue;
      // The last frame of a file takes the decoded picture, the others a copy.
      g_frames[frame].image = imaging::adopt_image(
          imaging::kAnyImage, --uses[slot] == 0 ? std::move(*picture) : imaging::Image(*picture));
    }
  }
};

// Each background picture in `folder` decoded once, by a job of its own
// that makes the background's thumbnail and cuts the own pictures of its
// tiles (red when the picture cannot be read): each part of the picture cut
// once and copied for the other tiles that show it.
struct BackgroundPictures {
  struct Set {
    int background = -1;
    std::string path;  // empty: no readable picture
    std::vector<int> tiles;
    std::vector<imaging::Image> cuts;
    std::optional<imaging::Image> thumbnail;
  };
  std::vector<Set> sets;

  BackgroundPictures(const std::string& folder, bool tiles_too) {
    std::unordered_map<std::string, std::vector<int>> tiles_of;
    if (tiles_too)
      for (int i = 0; i < g_tiles.count(); ++i) tiles_of[g_tiles[i].background_name].push_back(i);
    size_t pixels_left = kMaxTilePixels;
    for (int b = 0; b < g_backgrounds.count(); ++b) {
      const Background& bg = g_backgrounds[b];
      if (bg.image_file.empty()) continue;
      Set set;
      set.background = b;
      if (plain_file_name(bg.image_file)) set.path = folder + bg.image_file;
      auto found = tiles_of.find(bg.name);
      if (found != tiles_of.end())
        for (int i : found->second) {
          const Tile& t = g_tiles[i];
          if (t.width < 1 || t.height < 1 || t.width > imaging::kMaxImageSide ||
              t.height > imaging::kMaxImageSide ||
              size_t(t.width) * size_t(t.height) > pixels_left)
            continue;
          pixels_left -= size_t(t.width) * size_t(t.height);
          set.tiles.push_back(i);
        }
      // A file name that is not plain is left to the thumbnails' own reading.
      if (!set.path.empty() || found != tiles_of.end()) sets.push_back(std::move(set));
    }
  }
  size_t jobs() const { return sets.size(); }
  void run(size_t k) {
    Set& set = sets[k];
    std::optional<imaging::Image> picture;
    if (!set.path.empty()) {
      picture = imaging::decode_image_file(set.path);
      set.thumbnail = thumbnail_of(picture ? &*picture : nullptr);
    }
    std::map<std::tuple<int, int, int, int>, size_t> cut_of;  // part of the picture, cut
    set.cuts.reserve(set.tiles.size());
    for (int i : set.tiles) {
      const Tile& t = g_tiles[i];
      auto [at, added] =
          cut_of.try_emplace({t.source_left, t.source_top, t.width, t.height}, set.cuts.size());
      imaging::Image cut =
          !added ? set.cuts[at->second] : picture ? cut_tile(*picture, t) : red_tile(t);
      set.cuts.push_back(std::move(cut));
    }
  }
  void adopt() {
    for (Set& set : sets)
      for (size_t k = 0; k < set.tiles.size(); ++k)
        g_tiles[set.tiles[k]].image = imaging::adopt_image(imaging::kAnyImage, std::move(set.cuts[k]));
  }
  // The thumbnails made, by background.
  std::vector<std::optional<imaging::Image>> thumbnails() {
    std::vector<std::optional<imaging::Image>> made(size_t(g_backgrounds.count()));
    for (Set& set : sets) made[size_t(set.background)] = std::move(set.thumbnail);
    return made;
  }
};

// Decodes the frame and background pictures on every core, then gives them
// to their records: the frames', then the tiles'. Returns the backgrounds'
// thumbnails made on the way.
std::vector<std::optional<imaging::Image>> load_pictures(const std::string& folder,
                                                         bool tiles_too) {
  FramePictures frames(folder);
  BackgroundPictures backgrounds(folder, tiles_too);
  // A small job first (it runs alone), then the backgrounds, the largest, so
  // that the frames fill in around them.
  const size_t first = std::min<size_t>(frames.jobs(), 1);
  run_jobs(frames.jobs() + backgrounds.jobs(), [&](size_t k) {
    if (k < first) frames.run(k);
    else if (k - first < backgrounds.jobs()) backgrounds.run(k - first);
    else frames.run(k - backgrounds.jobs());
  });
  frames.adopt();
  backgrounds.adopt();
  return backgrounds.thumbnails();
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

// The lists of a project and the values read with them, kept aside while
// another project is read into the program-wide lists.
struct ProjectLists {
  RecordList<GameSettings> game_settings{1};
  RecordList<Sprite> sprites;
  RecordList<Frame> frames;
  RecordList<int> sprite_preview_image;
  RecordList<Background> backgrounds;
  RecordList<Tile> tiles;
  RecordList<Layer> layers;
  RecordList<Font> fonts;
  RecordList<GameObject> objects;
  RecordList<Sound> sounds;
  RecordList<Music> musics;
  RecordList<Scene> scenes;
  RecordList<Script> scripts;
  RecordList<ResourceEntry> resource_entries;
  int uid = 1;

  void swap_with_program() {
    std::swap(game_settings, g_game_settings);
    std::swap(sprites, g_sprites);
    std::swap(frames, g_frames);
    std::swap(sprite_preview_image, g_sprite_preview_image);
    std::swap(backgrounds, g_backgrounds);
    std::swap(tiles, g_tiles);
    std::swap(layers, g_layers);
    std::swap(fonts, g_fonts);
    std::swap(objects, g_objects);
    std::swap(sounds, g_sounds);
    std::swap(musics, g_musics);
    std::swap(scenes, g_scenes);
    std::swap(scripts, g_scripts);
    std::swap(resource_entries, g_resource_entries);
    std::swap(uid, g_project_uid);
  }
};

// Reads the checked project file into the emptied lists with every picture
// that opening makes, reading the pictures from the project's own folder.
// Returns the names of the files to copy into the working folder.
std::vector<std::string> read_project(const std::string& name, const std::string& bytes,
                                      const ProjectFileIndex& index) {
  const std::string folder = "Projects/" + name + "/";
  std::vector<std::string> copies;
  ProjectReadHooks hooks;
  hooks.file_named = [&](const std::string& file) {
    if (plain_file_name(file)) copies.push_back(file);
  };
  ProjectFile file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  int version = read_project_records(file, hooks, &index);
  auto thumbnails = load_pictures(folder, version >= 120);
  // The thumbnails not made yet read the background pictures where the
  // copies of them will be: the same files.
  const std::string working_folder = g_project_folder;
  g_project_folder = "Projects/" + name;
  try {
    build_resource_thumbnails(std::move(thumbnails));
  } catch (...) {
    g_project_folder = working_folder;
    throw;
  }
  g_project_folder = working_folder;
  take_definition_depths();
  return copies;
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
  const std::string cannot_open = "The project file " + path + " cannot be opened.";
  // Until the new project is whole, the one open stays as it is: running out
  // of memory on the way refuses the file.
  ProjectLists open_lists;
  std::vector<std::string> copies;
  int wait = -1;
  try {
    std::string bytes;
    if (!read_project_bytes(path, bytes)) {
      show_error("The project file " + path + " cannot be read.");
      return false;
    }
    ProjectFile first(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    int version = read_file_number(first);
    if (version > g_file_version) {
      show_error("This project requires a new program version (v" + std::to_string(version) + ").");
      return false;
    }
    ProjectFileIndex index;
    if (!project_file_intact(first.data, first.size, &index)) {
      show_error("The project file " + path + " is damaged and cannot be opened.");
      return false;
    }
    wait = open_wait_window(kOpeningPicture);
    debug_log_line("Opening file..." + name);
    open_lists.swap_with_program();
    try {
      copies = read_project(name, bytes, index);
    } catch (const std::bad_alloc&) {
      clear_resource_lists();
      open_lists.swap_with_program();
      throw;
    }
    open_lists.swap_with_program();
  } catch (const std::bad_alloc&) {
    if (wait >= 0) tk::close_window(wait);
    show_error(cannot_open);
    return false;
  }

  // The old project goes; the new one takes the lists.
  set_project_modified(0);
  new_project();
  open_lists.swap_with_program();
  g_project_name = name;
  const std::string from = "Projects/" + name + "/";
  std::vector<FileJob> jobs;
  for (const std::string& file : copies) {
    std::string to = g_project_folder + "/" + file;
    // The working folder is new: a name found taken is copied over.
    jobs.push_back({to, [from = from + file, to] {
                      if (!tk::copy_file_new(from, to)) tk::copy_file_over(from, to);
                    }});
  }
  run_file_jobs(jobs);

  tk::pause(1000);
  tk::close_window(wait);
  tk::set_state(kResourcePanel, 0);
  return true;
}
