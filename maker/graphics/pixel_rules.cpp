#include "maker/graphics/pixel_rules.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "imaging/draw.h"

namespace effects {

namespace {

int at_most_255(int v) { return std::min(v, 255); }
int clamp_channel(int v) { return std::max(std::min(v, 255), 0); }
size_t blank_prefix(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return i;
}

}  // namespace

void read_channels(const imaging::Image& image, Channels& into) {
  const size_t n = size_t(image.width) * size_t(image.height);
  into.w = image.width;
  into.h = image.height;
  for (auto* block : {&into.r, &into.g, &into.b, &into.a}) block->resize(n);
  const uint8_t* p = image.pixels.data();
  for (size_t i = 0; i < n; ++i, p += 4) {
    into.r[i] = p[0];
    into.g[i] = p[1];
    into.b[i] = p[2];
    into.a[i] = p[3];
  }
}

int round_nearest(float x) {
  // Clamped first so that no position or level far out of range overflows.
  const double v = std::clamp(double(x), double(INT_MIN), double(INT_MAX));
  return int(v >= 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5));
}

double typed_decimal(const std::string& text) {
  size_t i = blank_prefix(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double value = 0, scale = 1;
  bool fraction = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !fraction) {
      fraction = true;
    } else if (c >= '0' && c <= '9') {
      if (fraction) scale /= 10;
      value = value * (fraction ? 1 : 10) + (c - '0') * (fraction ? scale : 1);
    } else {
      break;
    }
  }
  return negative ? -value : value;
}

int luma(int r, int g, int b) {
  const float sum = 0.2126f * float(r) + 0.7152f * float(g) + 0.0722f * float(b);
  return round_nearest(sum);
}

HueColour hue_colour(int degrees) {
  const float h = float(degrees) / 360.0f;
  const float s = h * 6.0f;
  const float i = std::floor(s);
  const float f = s - i, q = 1 - f, t = f;
  switch (int(i)) {
    case 0: return {1, t, 0};
    case 1: return {q, 1, 0};
    case 2: return {0, 1, t};
    case 3: return {0, q, 1};
    case 4: return {t, 0, 1};
    default: return {1, 0, q};
  }
}

Pixel grayscale(Pixel p) {
  const int v = luma(p.r, p.g, p.b);
  return {v, v, v, p.a};
}
Pixel invert(Pixel p) { return {255 - p.r, 255 - p.g, 255 - p.b, p.a}; }
Pixel make_opaque(Pixel p) { return {p.r, p.g, p.b, 255}; }
Pixel brightness(Pixel p, int level) { return color_balance(p, level, level, level); }
Pixel color_balance(Pixel p, int red, int green, int blue) {
  return {clamp_channel(p.r + red), clamp_channel(p.g + green), clamp_channel(p.b + blue), p.a};
}

Pixel colorize(Pixel p, HueColour hue) {
  auto part = [](int v, float factor) { return int(std::nearbyint(float(v) * factor)); };
  return {part(p.r, hue.r), part(p.g, hue.g), part(p.b, hue.b), p.a};
}

Pixel swap_channels(Pixel p, int option) {
  switch (option) {
    case 0: return {p.r, p.b, p.g, p.a};
    case 1: return {p.g, p.r, p.b, p.a};
    case 2: return {p.g, p.b, p.r, p.a};
    case 3: return {p.b, p.r, p.g, p.a};
    default: return {p.b, p.g, p.r, p.a};
  }
}

// The exact A * P / 100 rounded up: the same product in single precision
// comes out a hair above some whole numbers, so 100 percent would raise
// alphas such as 15 to 16.
Pixel opacity(Pixel p, int percent) {
  return {p.r, p.g, p.b, clamp_channel((p.a * percent + 99) / 100)};
}

Pixel posterize(Pixel p, int level) {
  auto part = [level](int v) { return at_most_255(round_nearest(float(v) / float(level)) * level); };
  return {part(p.r), part(p.g), part(p.b), p.a};
}

Pixel add_noise(Pixel p, int n) {
  return {at_most_255(p.r + n), at_most_255(p.g + n), at_most_255(p.b + n), p.a};
}

Pixel erase_color(Pixel p, int picked_luma, int tolerance) {
  const int v = luma(p.r, p.g, p.b);
  return picked_luma - tolerance <= v && v <= picked_luma + tolerance ? Pixel{} : p;
}

imaging::Image mirrored(const Channels& c, bool horizontally, bool vertically) {
  return map_positions(c, [&](int x, int y) {
    const int sx = horizontally ? c.w - 1 - x : x, sy = vertically ? c.h - 1 - y : y;
    return (long long)sy * c.w + sx;
  });
}

imaging::Image rotated(const Channels& c, int degrees) {
  const float a = float(degrees) * 3.14159265f / 180.0f;
  const float cos_a = std::cos(a), sin_a = std::sin(a);
  const int cx = c.w / 2, cy = c.h / 2;
  return map_positions(c, [&](int x, int y) {
    const float dx = float(x - cx), dy = float(y - cy);
    const int sx = round_nearest(float(cx) + dx * cos_a - dy * sin_a);
    const int sy = round_nearest(float(cy) + dx * sin_a + dy * cos_a);
    if (sx < 0 || sx > c.w - 1 || sy < 0 || sy > c.h - 1) return -1LL;
    return (long long)sy * c.w + sx;
  });
}

imaging::Image shifted(const imaging::Image& src, int dx, int dy, bool wrap_x, bool wrap_y) {
  imaging::Image out(src.width, src.height);
  imaging::Canvas canvas(out);
  canvas.set_mode(imaging::Mode::Alpha);
  for (int ky = wrap_y ? -1 : 0; ky <= (wrap_y ? 1 : 0); ++ky)
    for (int kx = wrap_x ? -1 : 0; kx <= (wrap_x ? 1 : 0); ++kx)
      canvas.draw_image(src, dx + kx * src.width, dy + ky * src.height);
  return out;
}

imaging::Image scaled_about_centre(const imaging::Image& src, double p, double q) {
  const int w = src.width, h = src.height;
  const float sw = float(p) * float(w) / 100.0f, sh = float(q) * float(h) / 100.0f;
  auto whole = [](float v) { return int(std::nearbyint(std::clamp(v, -1e9f, 1e9f))); };
  imaging::Image out(w, h);
  imaging::Canvas canvas(out);
  canvas.set_mode(imaging::Mode::Alpha);
  canvas.draw_image_scaled(src, whole(float(w / 2) - sw / 2), whole(float(h / 2) - sh / 2), whole(sw),
                           whole(sh));
  return out;
}

imaging::Image on_new_canvas(const imaging::Image& src, int new_w, int new_h) {
  imaging::Image out(new_w, new_h);
  imaging::Canvas canvas(out);
  canvas.set_mode(imaging::Mode::Alpha);
  canvas.draw_image(src, new_w / 2 - src.width / 2, new_h / 2 - src.height / 2);
  return out;
}

std::string aspect_side(const std::string& typed, int side, int other) {
  if (side <= 0) return std::to_string(other);
  // Bounded so that a long row of typed digits still gives a number.
  const double v = std::clamp(double(other) * (typed_decimal(typed) / side), -1e15, 1e15);
  return std::to_string(std::llround(v));
}

}  // namespace effects
