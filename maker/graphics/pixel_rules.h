#pragma once
// The pixel rules of the colour effects, transforms and size changes, as
// plain functions over channel buffers and images: no window needed.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/image.h"

namespace effects {

// A picture split into one byte block per channel; pixel (x, y) at y * w + x.
struct Channels {
  int w = 0, h = 0;
  std::vector<uint8_t> r, g, b, a;
};
// Reuses the blocks of `into`, so a dialog holds one set of buffers.
void read_channels(const imaging::Image& image, Channels& into);

struct Pixel {
  int r = 0, g = 0, b = 0, a = 0;
  bool operator==(const Pixel&) const = default;
};

// ---- rounding and typed numbers ----
int round_nearest(float x);  // halves away from zero
// A typed decimal fraction ("12.5"): blanks, a sign, digits, a point, digits.
double typed_decimal(const std::string& text);

// ---- colour effects: one pixel in, one pixel out ----
int luma(int r, int g, int b);  // Rec. 709 weights, rounded to nearest
struct HueColour {
  float r = 1, g = 0, b = 0;  // each 0..1
};
HueColour hue_colour(int degrees);  // full saturation and value, degrees 0..359

Pixel grayscale(Pixel p);
Pixel invert(Pixel p);
Pixel make_opaque(Pixel p);
Pixel brightness(Pixel p, int level);  // level -255..255
Pixel color_balance(Pixel p, int red, int green, int blue);
Pixel colorize(Pixel p, HueColour hue);
// option 0..4: "RGB ==> RBG", "GRB", "GBR", "BRG", "BGR".
Pixel swap_channels(Pixel p, int option);
Pixel opacity(Pixel p, int percent);   // 0..100
Pixel posterize(Pixel p, int level);   // 2..120
Pixel add_noise(Pixel p, int n);
// Transparent black when the pixel's luma lies within tolerance of picked_luma.
Pixel erase_color(Pixel p, int picked_luma, int tolerance);

// The result of a colour rule over every pixel; a result with alpha 0 is
// stored as transparent black.
template <class Rule>  // Pixel rule(Pixel source, int x, int y)
imaging::Image map_colours(const Channels& c, Rule rule) {
  imaging::Image out(c.w, c.h);
  size_t i = 0;
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x, ++i) {
      const Pixel p = rule(Pixel{c.r[i], c.g[i], c.b[i], c.a[i]}, x, y);
      if (p.a <= 0) continue;
      uint8_t* d = &out.pixels[i * 4];
      d[0] = uint8_t(p.r), d[1] = uint8_t(p.g), d[2] = uint8_t(p.b), d[3] = uint8_t(p.a);
    }
  return out;
}

// ---- transforms that keep the size ----
// The result of a mapping: source(x, y) gives the index of the source pixel
// of result pixel (x, y), or -1 for a transparent one.
template <class Source>
imaging::Image map_positions(const Channels& c, Source source) {
  return map_colours(c, [&](Pixel, int x, int y) {
    const long long i = source(x, y);
    return i < 0 ? Pixel{} : Pixel{c.r[size_t(i)], c.g[size_t(i)], c.b[size_t(i)], c.a[size_t(i)]};
  });
}
imaging::Image mirrored(const Channels& c, bool horizontally, bool vertically);
imaging::Image rotated(const Channels& c, int degrees);
// Drawn at (dx, dy), and again one frame size away along each wrapped axis.
imaging::Image shifted(const imaging::Image& src, int dx, int dy, bool wrap_x, bool wrap_y);
// Scaled to p and q percent about the centre, cut to the picture's own size.
imaging::Image scaled_about_centre(const imaging::Image& src, double p, double q);

// ---- size changes ----
// The picture unscaled and centred on a transparent new_w x new_h canvas.
imaging::Image on_new_canvas(const imaging::Image& src, int new_w, int new_h);
// The other side of a size typed with the aspect ratio kept: other * typed /
// side, to the nearest, as decimal text.
std::string aspect_side(const std::string& typed, int side, int other);

}  // namespace effects
