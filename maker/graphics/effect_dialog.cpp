#include "maker/graphics/effect_dialog.h"

#include <algorithm>
#include <utility>

#include "imaging/draw.h"
#include "maker/graphics/frame_strip.h"
#include "maker/project/owned_images.h"
#include "maker/project/project_file.h"
#include "maker/project/state.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int W = 800, H = 600;
constexpr int kBackdrop = 126;

// The backdrop in plain mode, repeated past its 800 x 800 for larger frames,
// then the picture laid over it.
void show_over_backdrop(int canvas, const imaging::Image& picture) {
  imaging::Image* target = tk::canvas_image(canvas);
  if (!target) return;
  imaging::Canvas paint(*target);
  const int side = std::max(1, imaging::image_width(kBackdrop));
  for (int y = 0; y < target->height; y += side)
    for (int x = 0; x < target->width; x += side) paint.draw_image(kBackdrop, x, y);
  paint.set_mode(imaging::Mode::Alpha);
  paint.draw_image(picture, 0, 0);
  tk::refresh_canvas(canvas);
}

int preview_canvas(int x, int w, int h) {
  tk::scroll_area(tk::kAny, x, 30, 380, 380, w, h, 16, tk::kScrollRaised);
  const int canvas = tk::canvas(tk::kAny, 0, 0, w, h);
  tk::close_container();
  return canvas;
}

}  // namespace

int NumberRow::field_value() const {
  return int(std::clamp<long long>(parse_typed_number(tk::text(field)), minimum, maximum));
}
int NumberRow::slider_value() const { return std::clamp(tk::state(slider) - offset, minimum, maximum); }

NumberRow number_row(const char* name, int y, int minimum, int maximum, int start, int offset,
                     int slider_width) {
  NumberRow row{-1, -1, minimum, maximum, offset};
  tk::label(tk::kAny, 10, y + 5, 100, 25, name);
  row.slider = tk::slider(tk::kAny, 120, y, slider_width, 25, minimum + offset, maximum + offset);
  tk::set_state(row.slider, start + offset);
  row.field = tk::input(tk::kAny, 630, y, 50, 25, std::to_string(start));
  return row;
}

namespace {

// Whether digits typed after the text could still bring its number into
// minimum..maximum: "1" on the way to "10" is left alone.
bool more_digits_could_reach(const std::string& text, long long minimum, long long maximum) {
  const long long v = parse_typed_number(text);
  // A digit more must make the number larger: not after a minus sign, nor
  // after other characters that end the number.
  if (v < 0 || parse_typed_number(text + "1") <= v) return false;
  if (v == 0) return minimum <= maximum;
  const long long base = parse_typed_number(text + "0") / v;
  // k digits more give low .. low + span - 1, with low = v * base^k.
  for (long long low = v * base, span = base; low <= maximum; low *= base, span *= base)
    if (low + span - 1 >= minimum) return true;
  return false;
}

}  // namespace

bool follow_number_row(const NumberRow& row, const tk::Event& e) {
  if (e.object == row.slider) {
    tk::set_text(row.field, std::to_string(tk::state(row.slider) - row.offset));
    return true;
  }
  if (e.object != row.field) return false;
  if (e.subtype == tk::kLostFocus) {
    settle_number_row(row);
    return true;
  }
  if (e.subtype != tk::kChange) return false;
  const std::string typed = tk::text(row.field);
  const long long v = parse_typed_number(typed);
  if (v > row.maximum) tk::set_text(row.field, std::to_string(row.maximum));
  if (v < row.minimum && !more_digits_could_reach(typed, row.minimum, row.maximum))
    tk::set_text(row.field, std::to_string(row.minimum));
  tk::set_state(row.slider, row.field_value() + row.offset);
  return true;
}

void settle_number_row(const NumberRow& row) {
  if (parse_typed_number(tk::text(row.field)) < row.minimum) tk::set_text(row.field, std::to_string(row.minimum));
  tk::set_state(row.slider, row.field_value() + row.offset);
}

void give_frame_picture(Frame& frame, imaging::Image&& picture) {
  // The new number is taken before the old one is freed, so it is new.
  const int image = imaging::adopt_image(imaging::kAnyImage, std::move(picture));
  if (image < 0) return;
  free_owned_image(frame.image);
  frame.image = image;
}

int run_effect_dialog(const EffectKind& kind, int parent, const std::string& sprite_name, int frame_index) {
  const std::string sprite = sprite_name;
  if (frame_index < 0 || frame_index >= g_frames.count()) return 0;
  // A frame without a picture has no size to work at; going on would give
  // every other frame of the sprite an empty picture.
  const imaging::Image* frame = imaging::image_ptr(g_frames[frame_index].image);
  if (!frame || frame->width < 1 || frame->height < 1) return 0;

  EffectDialog d;
  d.w = frame->width;
  d.h = frame->height;
  if (kind.reads_buffers) effects::read_channels(*frame, d.buffers);
  d.noise.assign(size_t(d.w) * size_t(d.h), 0);
  d.random.seed(std::random_device{}());

  d.window = tk::open_window(tk::kAny, 0, 0, W, H, kind.title, tk::kWindowCentred);
  tk::disable_window(parent, true);
  tk::keep_window_above(d.window, true);
  const int ok = tk::button(tk::kAny, W - 75, H - 35, 65, 25, "OK");
  const int cancel = tk::button(tk::kAny, 10, H - 35, 65, 25, "Cancel");
  const int all_frames = tk::check_box(tk::kAny, W - 270, H - 35, 160, 25, "Apply to all frames in the sprite");
  tk::set_state(all_frames, 1);
  tk::label(tk::kAny, 10, 10, 100, 25, "ORIGINAL");
  tk::label(tk::kAny, 410, 10, 100, 25, "MODIFIED");
  d.left = preview_canvas(10, d.w, d.h);
  d.right = preview_canvas(410, d.w, d.h);
  show_over_backdrop(d.left, *frame);
  if (kind.build) kind.build(d);

  // The first preview is shown at once rather than after the first event.
  auto render = [&] {
    if (const imaging::Image* current = imaging::image_ptr(g_frames[frame_index].image))
      show_over_backdrop(d.right, kind.result(d, *current, true));
  };
  render();
  for (bool quit = false; !quit;) {
    const tk::Event e = tk::wait_event();
    if (e.type != tk::kEventWidget) continue;
    if (e.object == ok) {
      quit = true;
      for (const NumberRow& row : d.rows) settle_number_row(row);
      const bool every_frame = tk::state(all_frames) == 1;
      for (int k = 0; k < g_frames.count(); ++k) {
        Frame& f = g_frames[k];
        if (f.sprite_name != sprite || (!every_frame && k != frame_index)) continue;
        const imaging::Image* picture = imaging::image_ptr(f.image);
        if (!picture) continue;
        if (kind.reads_buffers) effects::read_channels(*picture, d.buffers);
        give_frame_picture(f, kind.result(d, *picture, false));
      }
    } else if (e.object == cancel) {
      quit = true;
    } else if (kind.handle(d, e)) {
      render();
    }
  }
  tk::disable_window(parent, false);
  tk::close_window(d.window);
  refresh_sprite_frame_strip(sprite, 1);
  return 0;
}
