#include "maker/shell/background_dialog.h"

#include <algorithm>
#include <vector>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/project/confirm.h"
#include "maker/project/owned_images.h"
#include "maker/project/project_file.h"
#include "maker/project/records.h"
#include "maker/project/save_project.h"
#include "maker/project/thumbnails.h"
#include "maker/shell/main_window.h"
#include "maker/shell/resource_browser.h"
#include "maker/shell/small_windows.h"
#include "maker/shell/working_files.h"
#include "toolkit/files.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kDoneButton = 65;
constexpr int kPreviewTimer = 777;
constexpr int kCheckerboard = 126;
constexpr int W = 800, H = 600;
constexpr int kShownX = 10, kHiddenX = 10000;
const char* const kImagePatterns =
    "Image files(jpg, bmp, png)|*.jpg;*.bmp;*.png|JPG files(*.jpg)|*.jpg|BMP files(*.bmp)|*.bmp|"
    "PNG files(*.png)|*.png";

// The tile settings: label, y in their container, and the record's field.
struct TileSetting {
  const char* label;
  int y;
  int Background::*field;
};
constexpr TileSetting kTileSettings[] = {
    {"Width", 10, &Background::tile_width},      {"Height", 40, &Background::tile_height},
    {"X offset", 100, &Background::tile_offset_x}, {"Y offset", 140, &Background::tile_offset_y},
    {"X space", 200, &Background::tile_space_x},  {"Y space", 240, &Background::tile_space_y},
};
constexpr int kTileSettingCount = int(std::size(kTileSettings));
enum { kTileWidth, kTileHeight, kOffsetX, kOffsetY, kSpaceX, kSpaceY };

std::string file_part(const std::string& path) { return path.substr(path.rfind('/') + 1); }


class BackgroundDialog {
 public:
  BackgroundDialog(int index, const std::string& name) : index_(index), name_(name) {}
  ~BackgroundDialog() {
    tk::set_canvas_painter(canvas_, nullptr);
    imaging::free_image(working_);
  }
  BackgroundDialog(const BackgroundDialog&) = delete;
  BackgroundDialog& operator=(const BackgroundDialog&) = delete;

  void run() {
    const Background& b = g_backgrounds[index_];
    if (!b.image_file.empty())
      working_ = imaging::load_image_file(imaging::kAnyImage, g_project_folder + "/" + b.image_file);
    tk::disable_window(kMainWindow, true);
    tk::open_window(kDialogWindow, 0, 0, W, H, "Background properties - " + b.name, tk::kWindowCentred);
    tk::button(kDoneButton, W - 75, H - 35, 65, 25, "Done");
    remove_ = tk::button(tk::kAny, 10, H - 35, 65, 25, "Delete");
    name_input_ = tk::input(tk::kAny, 10, 10, 100, 25, b.name);
    file_label_ = tk::label(tk::kAny, 10, 45, 100, 25, "File: " + b.image_file);
    select_ = tk::button(tk::kAny, 10, 70, 100, 25, "Select image...");
    preview_ = tk::scroll_area(tk::kAny, 120, 10, 670, 540, 400, 300, 16, tk::kScrollEtched);
    canvas_ = tk::canvas(tk::kAny, 0, 0, 400, 300);
    tk::set_canvas_painter(canvas_, [this](imaging::Image& image, int x, int y, int w, int h) {
      paint_preview(image, x, y, w, h);
    });
    tk::close_container();
    use_as_tileset_ = tk::check_box(tk::kAny, 10, 105, 100, 25, "Use as tile set");
    tk::set_state(use_as_tileset_, b.use_as_tileset == 1);
    tile_settings_ = tk::container(tk::kAny, b.use_as_tileset == 1 ? kShownX : kHiddenX, 130, 100, 280,
                                   tk::kContainerRaised);
    for (int k = 0; k < kTileSettingCount; ++k) {
      const TileSetting& s = kTileSettings[k];
      tk::label(tk::kAny, 10, s.y + 5, 50, 25, s.label);
      inputs_[k] = tk::input(tk::kAny, 50, s.y, 30, 25, std::to_string(b.*s.field), tk::kInputDigits);
    }
    tk::close_container();
    show_working_image();
    tk::add_timer(kDialogWindow, kPreviewTimer, 33);

    for (bool done = false; !done;) {
      tk::Event e = tk::wait_event();
      if (e.type == tk::kEventTimer && e.window == kDialogWindow) draw_preview();
      if (e.type != tk::kEventWidget) continue;
      if (e.object == use_as_tileset_)
        tk::resize_widget(tile_settings_, tk::state(use_as_tileset_) ? kShownX : kHiddenX, tk::kKeep,
                          tk::kKeep, tk::kKeep);
      else if (e.object == select_)
        select_image();
      else if (e.object == remove_)
        done = confirm_delete();
      else if (e.object == kDoneButton)
        done = store();
    }
    tk::disable_window(kMainWindow, false);
    tk::close_window(kDialogWindow);
  }

 private:
  int setting(int k) const { return parse_typed_integer(tk::text(inputs_[k])); }

  void show_working_image() {
    if (!imaging::image_exists(working_)) return;
    const int w = imaging::image_width(working_), h = imaging::image_height(working_);
    tk::resize_widget(canvas_, 0, 0, w, h);
    tk::set_scroll_inner_size(preview_, w, h);
    ++shown_;
    draw_preview();
  }

  // A tick draws nothing when what the preview shows has not changed; else
  // the canvas paints the part in sight (paint_preview).
  void draw_preview() {
    if (!imaging::image_exists(working_)) return;
    Preview now{working_, shown_, tk::state(use_as_tileset_) != 0, {}};
    for (int k = 0; k < kTileSettingCount; ++k) now.settings[k] = setting(k);
    if (now == drawn_) return;
    drawn_ = now;
    tk::invalidate_canvas(canvas_);
  }

  void paint_preview(imaging::Image& target, int x, int y, int w, int h) {
    const imaging::Image* image = imaging::image_ptr(drawn_.picture);
    if (!image) return;
    imaging::Canvas canvas(target);
    canvas.set_clip(x, y, w, h);
    // Beyond the backdrop the picture lies over its copy, as shown at first.
    canvas.draw_image(*image, 0, 0);
    canvas.draw_image(kCheckerboard, 0, 0);
    canvas.set_mode(imaging::Mode::Alpha);
    canvas.draw_image(*image, 0, 0);
    if (drawn_.grid) draw_tile_grid(canvas, *image, x, y, w, h);
  }

  // One column and one row more than the whole tiles that fit; only the
  // cells reaching the w x h part at (left, top) are walked.
  void draw_tile_grid(imaging::Canvas& canvas, const imaging::Image& image, int left, int top, int w, int h) {
    const long long* s = drawn_.settings;
    const long long tw = s[kTileWidth], th = s[kTileHeight], ox = s[kOffsetX], oy = s[kOffsetY];
    const long long sx = s[kSpaceX], sy = s[kSpaceY];
    const int columns = tw > 0 ? int(image.width / tw) : 0;
    const int rows = th > 0 ? int(image.height / th) : 0;
    canvas.set_mode(imaging::Mode::Xor);
    canvas.set_colour(imaging::rgba(255, 255, 255));
    for_visible_cells(ox, tw + sx, tw, columns, left, (long long)left + w, [&](long long x) {
      for_visible_cells(oy, th + sy, th, rows, top, (long long)top + h, [&](long long y) {
        // The lines are clipped to the picture; clamping their ends to just
        // outside it keeps the same pixels and the numbers small.
        auto cx = [&](long long v) { return int(std::clamp(v, -1LL, (long long)image.width)); };
        auto cy = [&](long long v) { return int(std::clamp(v, -1LL, (long long)image.height)); };
        canvas.line(cx(x), cy(y), cx(x + tw - 1), cy(y));
        canvas.line(cx(x), cy(y), cx(x), cy(y + th - 1));
        canvas.line(cx(x), cy(y + th - 1), cx(x + tw - 1), cy(y + th - 1));
        canvas.line(cx(x + tw - 1), cy(y + 1), cx(x + tw - 1), cy(y + th));
      });
    });
  }

  // Calls draw(start + i * step) for i = 0 .. last where a cell of that
  // length there can reach low .. limit - 1. Cells drawn twice at one place
  // cancel out in the exclusive-or mode, so a zero step draws one cell or
  // none; the others start at the first cell that can reach low (high for a
  // negative step) and stop once the cells have left the range.
  template <class Draw>
  static void for_visible_cells(long long start, long long step, long long length, int last, long long low,
                                long long limit, Draw draw) {
    if (step == 0) {
      if (last % 2 == 0) draw(start);
      return;
    }
    auto ceil_div = [](long long a, long long b) { return a / b + (a % b != 0 && (a < 0) == (b < 0)); };
    long long i = std::max(0LL, step > 0 ? ceil_div(low - length - start, step) : ceil_div(start - limit + 1, -step));
    for (long long at = start + i * step; i <= last; ++i, at += step) {
      if (step > 0 ? at >= limit : at + length < low) break;
      if (at < limit && at + length >= low) draw(at);
    }
  }

  void select_image() {
    const std::string path = tk::open_file("Select an image", "", kImagePatterns, 0).path;
    if (path.empty() || !working_file_name_usable(file_part(path))) return;
    const int image = imaging::load_image_file(imaging::kAnyImage, path);
    if (image < 0) {
      // A picture that cannot be read changes nothing: the tiles cut from
      // the current one stay as they are.
      show_error("The file '" + file_part(path) + "' cannot be read as an image");
      return;
    }
    source_path_ = path;
    chosen_ = true;
    tk::set_text(file_label_, file_part(path));
    imaging::free_image(working_);
    working_ = image;
    show_working_image();

    Background& b = g_backgrounds[index_];
    free_owned_image(b.thumbnail_image);
    b.thumbnail_image = make_thumbnail(working_);
    recut_tiles(b.name);
  }

  void recut_tiles(const std::string& background) {
    const imaging::Image& image = *imaging::image_ptr(working_);
    std::vector<std::string> outside;
    for (const Tile& t : g_tiles)
      if (t.background_name == background && (t.source_left > image.width || t.source_top > image.height))
        outside.push_back(t.name);
    for (const std::string& tile : outside) delete_tile(tile);
    for (const Tile& t : g_tiles) {
      imaging::Image* target = imaging::image_ptr(t.image);
      if (t.background_name != background || !target) continue;
      std::fill(target->pixels.begin(), target->pixels.end(), 0);
      imaging::Canvas canvas(*target);
      canvas.set_mode(imaging::Mode::Alpha);
      canvas.draw_image(image, -t.source_left, -t.source_top);
    }
  }

  bool confirm_delete() {
    if (!confirm_yes_no("Confirm", "Do you really want to delete this background?")) return false;
    delete_background(name_);
    return true;
  }

  bool store() {
    set_project_modified(1);
    const std::string typed = tk::text(name_input_);
    if (typed.empty()) {
      show_error("The background name is missing");
      return false;
    }
    if (!background_name_is_free(typed, index_)) {
      show_error("The background name '" + typed + "' already exists");
      return false;
    }
    Background& b = g_backgrounds[index_];
    // Only a plain name keeps the copy inside the working folder.
    const bool copy = chosen_ && plain_file_name(file_part(source_path_));
    if (copy && !may_replace_working_file(source_path_, file_part(source_path_), &b)) return false;
    for (Scene& s : g_scenes)
      if (s.background_name == b.name) s.background_name = typed;
    for (Tile& t : g_tiles)
      if (t.background_name == b.name) t.background_name = typed;
    b.name = typed;
    b.use_as_tileset = tk::state(use_as_tileset_) ? 1 : 0;
    for (int k = 0; k < kTileSettingCount; ++k) b.*kTileSettings[k].field = setting(k);
    if (chosen_) b.image_file = file_part(source_path_);
    if (copy) tk::copy_file_over(source_path_, g_project_folder + "/" + b.image_file);
    return true;
  }

  // What the preview shows: the picture (and how often one was shown), the
  // grid and the typed settings.
  struct Preview {
    int picture = -1;
    int shown = 0;
    bool grid = false;
    long long settings[kTileSettingCount] = {};
    bool operator==(const Preview&) const = default;
  };

  const int index_;
  const std::string name_;
  Preview drawn_;
  int shown_ = 0;
  int working_ = -1;
  std::string source_path_;
  bool chosen_ = false;
  int remove_ = -1, name_input_ = -1, file_label_ = -1, select_ = -1;
  int preview_ = -1, canvas_ = -1, use_as_tileset_ = -1, tile_settings_ = -1;
  int inputs_[kTileSettingCount] = {};
};

}  // namespace

void open_background_properties(const std::string& opened_name) {
  // A copy: the caller's text may live in a list this dialog changes.
  const std::string name = opened_name;
  int index = -1;
  for (int i = 0; i < g_backgrounds.count() && index < 0; ++i)
    if (g_backgrounds[i].name == name) index = i;
  if (index >= 0) BackgroundDialog(index, name).run();
  rebuild_resource_panel();
}
