#pragma once
// Drawing onto images: points, lines, boxes, circles and other images, in
// one of three modes, plus grabbing, scaling and fitting.
#include <utility>

#include "imaging/image.h"

namespace imaging {

// Copy stores the colour (alpha included) as it is. Alpha lays the colour
// over the pixel by its alpha (see blend). Xor XORs the pixel's red, green
// and blue with the colour's and leaves the pixel's alpha alone.
enum class Mode { Copy, Alpha, Xor };
enum class Filter { Nearest, Bilinear };

// Straight-alpha "over" of source s onto destination d, with A the exact
// coverage s.a * 255 + d.a * (255 - s.a):
//   out.a = round(A / 255)
//   out.c = round((s.c * s.a * 255 + d.c * d.a * (255 - s.a)) / A), halves up
// A source alpha of 0 leaves d; an alpha of 255, or a transparent d, gives s.
Colour blend(Colour d, Colour s);
// x * y / 255 rounded to nearest, for x, y in 0..255 (never a tie).
constexpr int mul255(int x, int y) {
  int t = x * y + 128;
  return (t + (t >> 8)) >> 8;
}

// A drawing target with its mode and current colour. A fresh canvas draws
// in Copy mode with opaque white. Everything is clipped to the target; a
// canvas on a number that names no image draws nothing. The target must
// outlive the canvas.
class Canvas {
 public:
  explicit Canvas(Image& target) : target_(&target) {}
  explicit Canvas(int image_number) : target_(image_ptr(image_number)) {}

  Image* target() const { return target_; }
  void set_mode(Mode mode) { mode_ = mode; }
  Mode mode() const { return mode_; }
  void set_colour(Colour colour) { colour_ = colour; }
  Colour colour() const { return colour_; }
  // Limits every later drawing to the w x h rectangle at (x, y) as well as
  // the target; each pixel inside gets what drawing without it gives.
  void set_clip(int x, int y, int w, int h);

  void point(int x, int y);
  // Every pixel from (x1, y1) to (x2, y2), both ends included, once each.
  void line(int x1, int y1, int x2, int y2);
  // Filled w x h box with its corner at (x, y); a negative width or height
  // extends it to the left or upwards from x or y.
  void box(int x, int y, int w, int h);
  // Filled circle: every pixel whose distance from (cx, cy) is at most radius.
  void circle(int cx, int cy, int radius);

  // Draws src with its top-left corner at (x, y) in the canvas mode (Xor
  // XORs the source pixel's colour). opacity 0..255 scales the source alpha.
  void draw_image(const Image& src, int x, int y, int opacity = 255);
  void draw_image(int src_number, int x, int y, int opacity = 255);
  // The same, scaled to w x h; nothing is drawn when w or h is below 1.
  void draw_image_scaled(const Image& src, int x, int y, int w, int h,
                         Filter filter = Filter::Nearest, int opacity = 255);
  void draw_image_scaled(int src_number, int x, int y, int w, int h,
                         Filter filter = Filter::Nearest, int opacity = 255);

 private:
  void fill_span(int x, int y, int n);
  struct Bounds {
    long long x0, y0, x1, y1;  // drawable pixels: x0 <= x < x1, y0 <= y < y1
  };
  Bounds bounds() const;
  bool inside(long long x, long long y) const;
  Image* target_;
  long long clip_x0_ = 0, clip_y0_ = 0, clip_x1_ = kMaxImageSide, clip_y1_ = kMaxImageSide;
  Mode mode_ = Mode::Copy;
  Colour colour_ = rgba(255, 255, 255);
};

// The w x h rectangle of src at (x, y); parts outside src are transparent.
// A size out of range gives an empty (0 x 0) image.
Image grab(const Image& src, int x, int y, int w, int h);
int grab_image(int source, int x, int y, int w, int h, int number = kAnyImage);  // -1 on failure

// src resampled to w x h; empty when the size is out of range.
Image scaled(const Image& src, int w, int h, Filter filter);
// Resizes the image under number in place; false for an unknown number or a
// size out of range. An image already of that size is left untouched.
bool resize_image(int number, int w, int h, Filter filter);

// The size of a w x h picture scaled so that its longer side is `side`
// (w >= h counts as wide), the other side rounded to the nearest pixel with
// halves away from zero. {0, 0} for an empty picture.
std::pair<int, int> fit_size(int w, int h, int side);

}  // namespace imaging
