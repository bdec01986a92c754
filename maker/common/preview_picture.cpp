#include "maker/common/preview_picture.h"

#include "imaging/draw.h"
#include "toolkit/toolkit.h"

imaging::Image preview_picture(int image) {
  imaging::Image preview(100, 100);
  if (const imaging::Image* source = imaging::image_ptr(image)) {
    auto [w, h] = imaging::fit_size(source->width, source->height, 100);
    imaging::Canvas canvas(preview);
    canvas.set_mode(imaging::Mode::Alpha);
    canvas.draw_image_scaled(*source, 0, 0, w, h, imaging::Filter::Bilinear);
  }
  return preview;
}

void set_preview_thumbnail(int image_view, int image) {
  int number = imaging::adopt_image(imaging::kAnyImage, preview_picture(image));
  tk::set_image(image_view, number);
  imaging::free_image(number);
}
