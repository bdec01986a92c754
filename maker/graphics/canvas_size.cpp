#include "maker/graphics/canvas_size.h"

#include "imaging/draw.h"
#include "maker/graphics/effect_dialog.h"
#include "maker/graphics/frame_strip.h"
#include "maker/graphics/pixel_rules.h"
#include "maker/project/project_file.h"
#include "maker/project/state.h"
#include "toolkit/toolkit.h"

namespace {

// The picture of the sprite's last frame; nullptr when it has none.
const imaging::Image* last_picture(const std::string& sprite) {
  const imaging::Image* last = nullptr;
  for (const Frame& f : g_frames)
    if (f.sprite_name == sprite) last = imaging::image_ptr(f.image);
  return last;
}

void put_on_new_canvas(Frame& f, int new_w, int new_h) {
  if (const imaging::Image* picture = imaging::image_ptr(f.image))
    give_frame_picture(f, effects::on_new_canvas(*picture, new_w, new_h));
}

// The dialog of both commands; "Stretch" has the "Smooth" box besides.
int size_dialog(bool stretch, int parent, const std::string& sprite_name) {
  const std::string sprite = sprite_name;
  const imaging::Image* current = last_picture(sprite);
  if (!current || current->width < 1 || current->height < 1) return 0;
  const int w = current->width, h = current->height;

  const int W = 220, H = stretch ? 200 : 160;
  const int window =
      tk::open_window(tk::kAny, 0, 0, W, H, stretch ? "Stretch the images" : "Resize canvas", tk::kWindowCentred);
  tk::disable_window(parent, true);
  tk::keep_window_above(window, true);
  const int ok = tk::button(tk::kAny, W - 75, H - 35, 65, 25, "OK");
  const int cancel = tk::button(tk::kAny, 10, H - 35, 65, 25, "Cancel");
  auto side_row = [](int y, const char* name, int size) {
    tk::label(tk::kAny, 10, y + 5, 40, 25, name);
    tk::label(tk::kAny, 60, y + 5, 60, 25, "Current: " + std::to_string(size));
    tk::label(tk::kAny, 130, y + 5, 30, 25, "New:");
    return tk::input(tk::kAny, 170, y, 40, 25, std::to_string(size));
  };
  const int new_w = side_row(10, "Width", w);
  const int new_h = side_row(40, "Height", h);
  const int keep_ratio = tk::check_box(tk::kAny, 10, 70, 200, 25, "Keep aspect ratio");
  tk::set_state(keep_ratio, 1);
  int smooth = -1;
  if (stretch) {
    smooth = tk::check_box(tk::kAny, 10, 100, 200, 25, "Smooth (Interpolate pixels)");
    tk::set_state(smooth, 1);
  }

  for (bool quit = false; !quit;) {
    const tk::Event e = tk::wait_event();
    if (e.type != tk::kEventWidget) continue;
    const bool typed = e.subtype == tk::kChange && tk::state(keep_ratio) == 1;
    if (typed && e.object == new_w) {
      tk::set_text(new_h, effects::aspect_side(tk::text(new_w), w, h));
    } else if (typed && e.object == new_h) {
      tk::set_text(new_w, effects::aspect_side(tk::text(new_h), h, w));
    } else if (e.object == ok) {
      // A size no picture can have is refused: the dialog stays open and
      // every frame keeps its picture.
      const long long nw = parse_typed_number(tk::text(new_w));
      const long long nh = parse_typed_number(tk::text(new_h));
      if (nw < 1 || nh < 1 || nw > imaging::kMaxImageSide || nh > imaging::kMaxImageSide) continue;
      const auto filter = tk::state(smooth) == 1 ? imaging::Filter::Bilinear : imaging::Filter::Nearest;
      for (Frame& f : g_frames) {
        if (f.sprite_name != sprite) continue;
        if (stretch) imaging::resize_image(f.image, int(nw), int(nh), filter);
        else put_on_new_canvas(f, int(nw), int(nh));
      }
      quit = true;
    } else if (e.object == cancel) {
      quit = true;
    }
  }
  tk::disable_window(parent, false);
  tk::close_window(window);
  // Both rebuild the strip: it would otherwise show pictures that are gone.
  refresh_sprite_frame_strip(sprite, 1);
  return 0;
}

}  // namespace

int resize_sprite_canvas(int parent, const std::string& sprite_name, int) {
  return size_dialog(false, parent, sprite_name);
}
int stretch_sprite_images(int parent, const std::string& sprite_name, int) {
  return size_dialog(true, parent, sprite_name);
}
