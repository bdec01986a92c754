#include "maker/graphics/sprite_dialog.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "imaging/draw.h"
#include "maker/common/browser_refresh.h"
#include "maker/common/window_numbers.h"
#include "maker/graphics/frame_commands.h"
#include "maker/graphics/frame_editor.h"
#include "maker/graphics/strip_import.h"
#include "maker/project/confirm.h"
#include "maker/project/owned_images.h"
#include "maker/project/project_file.h"
#include "maker/project/records.h"
#include "maker/project/save_project.h"
#include "toolkit/files.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kDoneButton = 65;
constexpr int W = 800, H = 600;

// The collision inputs: label, y of the input and the record's field.
struct CollisionInput {
  const char* label;
  int y;
  int Sprite::*field;
  unsigned flags;
};
constexpr CollisionInput kCollisionInputs[] = {
    {"Radius", 230, &Sprite::collision_radius, tk::kInputDigits},
    {"Left", 290, &Sprite::collision_left, 0},
    {"Right", 320, &Sprite::collision_right, 0},
    {"Top", 350, &Sprite::collision_top, 0},
    {"Bottom", 380, &Sprite::collision_bottom, 0},
};
constexpr int kCollisionInputCount = int(std::size(kCollisionInputs));

int number_in(int input) { return parse_typed_integer(tk::text(input)); }

// A coordinate of the zoomed picture kept just outside the canvas, so that
// numbers from a damaged project neither overflow nor change what is drawn.
int on_canvas(long long v, int size) { return int(std::clamp(v, -2LL, (long long)size + 2)); }

void free_preview_images() {
  for (int image : g_sprite_preview_image) free_owned_image(image);
  g_sprite_preview_image.clear();
}

// What a tick shows: the preview as built (counted), the frame's picture,
// the zoom and the values drawn over it.
enum { kBox = 1, kCircle = 2 };
struct Preview {
  int built = 0, picture = -1, zoom = 1;
  int origin_x = 0, origin_y = 0;
  bool collision = false;
  int shape = 0;
  int collision_left = 0, collision_right = 0, collision_top = 0, collision_bottom = 0, collision_radius = 0;
  bool operator==(const Preview&) const = default;
};

class SpriteDialog {
 public:
  SpriteDialog(int index, const std::string& name) : index_(index), name_(name) {}
  ~SpriteDialog() { tk::set_canvas_painter(canvas_, nullptr); }
  SpriteDialog(const SpriteDialog&) = delete;
  SpriteDialog& operator=(const SpriteDialog&) = delete;

  void run() {
    const Sprite& s = sprite();
    tk::disable_window(kMainWindow, true);
    tk::open_window(kDialogWindow, 0, 0, W, H, "Sprite properties - " + s.name, tk::kWindowCentred);
    tk::button(kDoneButton, W - 75, H - 35, 65, 25, " Done ");
    remove_ = tk::button(tk::kAny, 10, H - 35, 65, 25, "Delete");
    name_input_ = tk::input(tk::kAny, 10, 10, 100, 25, s.name);
    load_ = tk::button(tk::kAny, 10, 40, 100, 25, "Load...");
    save_ = tk::button(tk::kAny, 10, 70, 100, 25, "Save as PNG...");
    edit_ = tk::button(tk::kAny, 10, 100, 100, 25, "Edit");
    size_label_ = tk::label(tk::kAny, 10, 135, 100, 25, "");
    area_ = tk::scroll_area(tk::kAny, 120, 10, 550, 400, 40, 40, 32);
    canvas_ = tk::canvas(tk::kAny, 0, 0, 0, 0);
    tk::set_canvas_painter(canvas_, [this](imaging::Image& image, int x, int y, int w, int h) {
      paint_preview(image, x, y, w, h);
    });
    tk::close_container();
    show_collision_ = tk::check_box(tk::kAny, 125, 420, 150, 25, "Show collision shape");
    tk::set_state(show_collision_, g_sprite_show_collision);
    tk::label(tk::kAny, 530, 425, 110, 25, "Preview speed");
    speed_ = tk::input(tk::kAny, 610, 420, 50, 25, std::to_string(g_sprite_preview_speed), tk::kInputDigits);
    tk::label(tk::kAny, 120, 455, 35, 25, "Zoom");
    zoom_ = tk::slider(tk::kAny, 165, 450, 515, 25, 1, 64);
    tk::set_state(zoom_, g_sprite_preview_zoom);
    tk::label(tk::kAny, 680, 15, 55, 25, "Origin X");
    origin_x_ = tk::input(tk::kAny, 730, 10, 50, 25, std::to_string(s.origin_x));
    tk::label(tk::kAny, 680, 45, 55, 25, "Origin Y");
    origin_y_ = tk::input(tk::kAny, 730, 40, 50, 25, std::to_string(s.origin_y));
    centre_ = tk::button(tk::kAny, 680, 70, 100, 25, "Center");
    tk::label(tk::kAny, 680, 145, 100, 25, "Collision shape");
    shape_ = tk::drop_down(tk::kAny, 680, 170, 100, 25);
    tk::add_item(shape_, -1, "Circle");
    tk::add_item(shape_, -1, "Box");
    tk::set_text(shape_, s.collision_shape);
    tk::label(tk::kAny, 680, 205, 50, 25, "Circle:");
    tk::label(tk::kAny, 680, 265, 50, 25, "Box:");
    for (int k = 0; k < kCollisionInputCount; ++k) {
      const CollisionInput& c = kCollisionInputs[k];
      tk::label(tk::kAny, 680, c.y + 5, 50, 25, c.label);
      collision_[k] = tk::input(tk::kAny, 730, c.y, 50, 25, std::to_string(s.*c.field), c.flags);
    }
    start_timer();
    build_preview();

    for (bool done = false; !done;) {
      const tk::Event e = tk::wait_event();
      if (e.window != kDialogWindow) continue;
      if (e.type == tk::kEventTimer) tick();
      if (e.type == tk::kEventWidget) done = handle(e);
    }
    free_preview_images();
    tk::disable_window(kMainWindow, false);
    tk::close_window(kDialogWindow);
  }

 private:
  Sprite& sprite() { return g_sprites[index_]; }

  void start_timer() {
    tk::remove_timer(kDialogWindow, kSpritePreviewTimer);
    // Over 1000 frames a second the interval is below a millisecond: no timer.
    const int speed = g_sprite_preview_speed;
    const int interval = speed > 0 ? int(std::floor(1000.0 / speed)) : 0;
    if (interval >= 1) tk::add_timer(kDialogWindow, kSpritePreviewTimer, interval);
  }

  // The zoom the preview is drawn at: the chosen one while the zoomed frame
  // fits on a canvas, else the highest that does.
  int zoom() const {
    int z = std::clamp(g_sprite_preview_zoom, 1, 64);
    while (z > 1 && !tk::canvas_fits(frame_w_ * z, frame_h_ * z)) --z;
    return z;
  }

  void build_preview() {
    free_preview_images();
    preview_count_ = shown_ = 0;
    frame_w_ = frame_h_ = 0;
    tk::set_text(size_label_, "");
    for (const Frame& f : g_frames) {
      if (f.sprite_name != sprite().name) continue;
      frame_w_ = imaging::image_width(f.image);
      frame_h_ = imaging::image_height(f.image);
      tk::set_text(size_label_, "Size: " + std::to_string(frame_w_) + " x " + std::to_string(frame_h_));
      g_sprite_preview_image.append(imaging::copy_image(f.image, imaging::kAnyImage));
      ++preview_count_;
    }
    ++built_;
    const int z = zoom();
    tk::resize_widget(canvas_, 0, 0, frame_w_ * z, frame_h_ * z);
    tk::set_scroll_inner_size(area_, frame_w_ * z, frame_h_ * z);
  }

  // A tick draws nothing when the frame and the values shown are those of
  // the last one; else the canvas paints the part in sight (paint_preview).
  void tick() {
    const Sprite& s = sprite();
    if (s.thumbnail_image == -1 || !tk::widget_exists(canvas_)) return;
    const std::string shape = tk::text(shape_);
    Preview now{built_, shown_ < g_sprite_preview_image.count() ? g_sprite_preview_image[shown_] : -1, zoom(),
                s.origin_x, s.origin_y, g_sprite_show_collision == 1, shape == "Box" ? kBox : shape == "Circle" ? kCircle : 0,
                s.collision_left, s.collision_right, s.collision_top, s.collision_bottom, s.collision_radius};
    if (!(now == drawn_)) {
      drawn_ = now;
      tk::invalidate_canvas(canvas_);
    }
    if (++shown_ > preview_count_ - 1) shown_ = 0;
  }

  void paint_preview(imaging::Image& target, int x, int y, int w, int h) {
    const Preview& p = drawn_;
    const int z = p.zoom, cw = target.width, ch = target.height;
    imaging::Canvas canvas(target);
    canvas.set_clip(x, y, w, h);
    // Beyond the backdrop the frame lies over nothing, whatever was shown before.
    canvas.set_colour(0);
    canvas.box(0, 0, cw, ch);
    canvas.draw_image(kCheckerboardPicture, 0, 0);
    canvas.set_mode(imaging::Mode::Alpha);
    if (const imaging::Image* picture = imaging::image_ptr(p.picture))
      canvas.draw_image_scaled(*picture, 0, 0, picture->width * z, picture->height * z);
    canvas.set_mode(imaging::Mode::Copy);
    canvas.set_colour(imaging::rgba(0, 0, 0));
    canvas.box(on_canvas((long long)p.origin_x * z, cw), 0, 1, ch);
    canvas.box(0, on_canvas((long long)p.origin_y * z, ch), cw, 1);
    if (p.collision) draw_collision(canvas, p, z, cw, ch);
  }

  void draw_collision(imaging::Canvas& canvas, const Preview& s, int z, int cw, int ch) {
    canvas.set_mode(imaging::Mode::Alpha);
    canvas.set_colour(imaging::rgba(0, 255, 0, 130));
    if (s.shape == kBox) {
      const int x1 = on_canvas((long long)s.collision_left * z, cw);
      const int x2 = on_canvas((long long)s.collision_right * z, cw);
      const int y1 = on_canvas((long long)s.collision_top * z, ch);
      const int y2 = on_canvas((long long)s.collision_bottom * z, ch);
      canvas.box(x1, y1, x2 - x1, y2 - y1);
    } else if (s.shape == kCircle) {
      // Beyond the canvas's half-perimeter the circle covers all of it.
      const long long radius = std::min((long long)s.collision_radius * z, (long long)cw + ch + 2);
      canvas.circle(frame_w_ / 2 * z, frame_h_ / 2 * z, int(radius));
    }
  }

  // True when the dialog ends.
  bool handle(const tk::Event& e) {
    Sprite& s = sprite();
    const int w = e.object;
    const bool changed = e.subtype == tk::kChange;
    if (w == show_collision_) {
      g_sprite_show_collision = tk::state(show_collision_);
    } else if (w == zoom_) {
      g_sprite_preview_zoom = std::clamp(tk::state(zoom_), 1, 64);
      build_preview();
    } else if (w == speed_ && changed) {
      if (const int speed = number_in(speed_); speed > 0) {
        g_sprite_preview_speed = speed;
        start_timer();
      }
    } else if (w == origin_x_ && changed) {
      if (const int v = number_in(origin_x_); v <= frame_w_) s.origin_x = v;
    } else if (w == origin_y_ && changed) {
      if (const int v = number_in(origin_y_); v <= frame_h_) s.origin_y = v;
    } else if (w == centre_) {
      if (frame_w_ > 0 && frame_h_ > 0) {
        tk::set_text(origin_x_, std::to_string(frame_w_ / 2));
        tk::set_text(origin_y_, std::to_string(frame_h_ / 2));
        s.origin_x = number_in(origin_x_);
        s.origin_y = number_in(origin_y_);
      }
    } else if (w == shape_ && changed) {
      s.collision_shape = tk::text(shape_);
    } else if (w == edit_) {
      open_sprite_frame_editor(std::string(s.name));
      tk::resize_widget(canvas_, 0, 0, 0, 0);
      tk::set_scroll_inner_size(area_, 0, 0);
      build_preview();
    } else if (w == load_) {
      import_image_strip(index_);
      show_imported_values();
      build_preview();
    } else if (w == save_) {
      save_sprite_png_strip(kDialogWindow, std::string(s.name), 0);
    } else if (w == remove_) {
      if (!confirm_yes_no("Confirm", "Do you really want to delete this sprite?")) return false;
      delete_sprite(name_);
      return true;
    } else if (w == kDoneButton) {
      return store_name();
    } else if (changed) {
      for (int k = 0; k < kCollisionInputCount; ++k)
        if (w == collision_[k]) s.*kCollisionInputs[k].field = number_in(collision_[k]);
    }
    return false;
  }

  // The import resets the origin as well as the collision values.
  void show_imported_values() {
    const Sprite& s = sprite();
    for (int k = 0; k < kCollisionInputCount; ++k)
      tk::set_text(collision_[k], std::to_string(s.*kCollisionInputs[k].field));
    tk::set_text(origin_x_, std::to_string(s.origin_x));
    tk::set_text(origin_y_, std::to_string(s.origin_y));
  }

  bool store_name() {
    set_project_modified(1);
    const std::string typed = tk::text(name_input_);
    if (typed.empty()) {
      show_error("The sprite name is missing");
      return false;
    }
    // The name starts the file names of the frame pictures on save.
    if (!plain_file_name(typed)) {
      show_error("A sprite name cannot contain \"/\" or a line break nor be \".\" or \"..\".");
      return false;
    }
    // Room for the longest counter the frame commands make (from an int).
    static const std::string longest_counter = std::to_string(std::numeric_limits<int>::min());
    if (frame_file_name(typed, longest_counter).size() > tk::kLongestFileName) {
      show_error("The sprite name is too long");
      return false;
    }
    if (!sprite_name_is_free(typed, index_)) {
      show_error("The sprite name '" + typed + "' already exists");
      return false;
    }
    const std::string old = sprite().name;
    for (GameObject& o : g_objects) {
      if (o.sprite_name != old) continue;
      o.sprite_image = sprite_first_frame_image(old);
      if (imaging::image_exists(o.sprite_image)) {
        o.image_width = imaging::image_width(o.sprite_image);
        o.image_height = imaging::image_height(o.sprite_image);
      }
      o.sprite_name = typed;
    }
    for (Frame& f : g_frames)
      if (f.sprite_name == old) f.sprite_name = typed;
    sprite().name = typed;
    return true;
  }

  const int index_;
  const std::string name_;
  Preview drawn_{-1};
  int built_ = 0;
  int frame_w_ = 0, frame_h_ = 0, preview_count_ = 0, shown_ = 0;
  int remove_ = -1, name_input_ = -1, load_ = -1, save_ = -1, edit_ = -1, size_label_ = -1;
  int area_ = -1, canvas_ = -1, show_collision_ = -1, speed_ = -1, zoom_ = -1;
  int origin_x_ = -1, origin_y_ = -1, centre_ = -1, shape_ = -1;
  int collision_[kCollisionInputCount] = {};
};

}  // namespace

void edit_sprite(const std::string& opened_name) {
  // A copy: the caller's text may live in a list this dialog changes.
  const std::string name = opened_name;
  int index = -1;
  for (int i = 0; i < g_sprites.count() && index < 0; ++i)
    if (g_sprites[i].name == name) index = i;
  if (index >= 0) SpriteDialog(index, name).run();
  refresh_resource_browser();
}
