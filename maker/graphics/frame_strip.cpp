#include "maker/graphics/frame_strip.h"

#include <algorithm>

#include "imaging/draw.h"
#include "maker/project/records.h"
#include "toolkit/toolkit.h"

namespace {

void draw_strip_canvas(int canvas, const imaging::Image& picture, bool selected) {
  imaging::Image* target = tk::canvas_image(canvas);
  if (!target) return;
  imaging::Canvas paint(*target);
  paint.draw_image(kCheckerboardPicture, 0, 0);
  paint.set_mode(imaging::Mode::Alpha);
  paint.draw_image(picture, 0, 0);
  if (selected) paint.draw_image(kSelectionOverlayPicture, 0, 0);
  tk::refresh_canvas(canvas);
}

}  // namespace

int refresh_sprite_frame_strip(const std::string& sprite_name, int free_old) {
  if (free_old == 1)
    for (int w : g_frame_strip_widgets)
      if (tk::widget_exists(w)) tk::free_widget(w);
  g_frame_strip_widgets.clear();
  if (!tk::widget_exists(kFrameStripArea)) return 0;
  tk::use_container(kFrameStripArea);
  int x = 10, tallest = 0;
  for (int i = 0; i < g_frames.count(); ++i) {
    const Frame& f = g_frames[i];
    if (f.sprite_name != sprite_name) continue;
    // A frame whose picture could not be read has a canvas of no size.
    const imaging::Image* picture = imaging::image_ptr(f.image);
    const int w = picture ? picture->width : 0, h = picture ? picture->height : 0;
    const int canvas = tk::canvas(tk::kAny, x, 10, w, h);
    if (picture) draw_strip_canvas(canvas, *picture, i == g_current_frame);
    tk::set_widget_data(canvas, i);
    g_frame_strip_widgets.append(canvas);
    x += w + 10;
    tallest = std::max(tallest, h);
  }
  tk::close_container();
  tk::set_scroll_inner_size(kFrameStripArea, x, tallest + 10);
  return 0;
}
