#include "maker/graphics/pixel_rules.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>

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

namespace {

// Result (x, y) takes source (ox + xx * x + xy * y, oy + yx * x + yy * y), or is
// transparent where that lies outside; each factor is -1, 0 or 1.
struct AxisMap {
  int ox, xx, xy, oy, yx, yy;
};

// Narrows [lo, hi) to the x with 0 <= start + step * x < n.
void keep_inside(int start, int step, int n, int& lo, int& hi) {
  if (step == 0) {
    if (start < 0 || start >= n) hi = lo;
  } else if (step > 0) {
    lo = std::max(lo, -start), hi = std::min(hi, n - start);
  } else {
    lo = std::max(lo, start - n + 1), hi = std::min(hi, start + 1);
  }
}

// A mirror reads each result row from one source row. A turn reads it down a
// source column, so the result is made in square blocks: each block is read
// along the source rows into a small tile, then copied out across it, so that
// only the tile, which stays in the cache, is walked at a stride.
imaging::Image map_axes(const Channels& c, const AxisMap& m) {
  constexpr int kBlock = 64;
  imaging::Image out(c.w, c.h);
  if (out.pixels.empty()) return out;
  const uint8_t *r = c.r.data(), *g = c.g.data(), *b = c.b.data(), *a = c.a.data();
  // The four bytes of source pixel s in their order in memory; alpha 0 gives
  // transparent black, without a branch to mispredict.
  auto packed = [&](ptrdiff_t s) {
    const uint8_t keep = a[s] ? 0xff : 0;
    const uint8_t bytes[4] = {uint8_t(r[s] & keep), uint8_t(g[s] & keep), uint8_t(b[s] & keep), a[s]};
    uint32_t v;
    std::memcpy(&v, bytes, 4);
    return v;
  };
  if (m.xx != 0) {
    const ptrdiff_t step = ptrdiff_t(m.yx) * c.w + m.xx;
    for (int y = 0; y < c.h; ++y) {
      const int sx = m.ox + m.xy * y, sy = m.oy + m.yy * y;
      int lo = 0, hi = c.w;
      keep_inside(sx, m.xx, c.w, lo, hi);
      keep_inside(sy, m.yx, c.h, lo, hi);
      if (lo >= hi) continue;
      const ptrdiff_t s = ptrdiff_t(sy + m.yx * lo) * c.w + sx + m.xx * lo;
      uint8_t* d = out.pixels.data() + (size_t(y) * size_t(c.w) + size_t(lo)) * 4;
      // Backwards along the result row, so that a mirrored row is read
      // forwards: reading a row backwards while writing the same row of the
      // result forwards stalls on addresses that look alike.
      for (int i = hi - lo - 1; i >= 0; --i) {
        const uint32_t v = packed(s + step * i);
        std::memcpy(d + size_t(i) * 4, &v, 4);
      }
    }
    return out;
  }
  std::vector<uint32_t> tile(kBlock * kBlock);  // result (x, y) at (x - bx) * kBlock + y - by
  const int step = m.xy;  // 1 or -1: a result column runs along a source row
  for (int by = 0; by < c.h; by += kBlock)
    for (int bx = 0; bx < c.w; bx += kBlock) {
      const int bw = std::min(kBlock, c.w - bx), bh = std::min(kBlock, c.h - by);
      for (int i = 0; i < bw; ++i) {
        // Source rows in rising order, which the memory prefetch follows best.
        const int x = m.yx < 0 ? bx + bw - 1 - i : bx + i;
        const int sx = m.ox + m.xx * x, sy = m.oy + m.yx * x;
        int lo = by, hi = by + bh;
        keep_inside(sx, m.xy, c.w, lo, hi);
        keep_inside(sy, m.yy, c.h, lo, hi);
        if (lo >= hi) lo = hi = by + bh;
        uint32_t* column = &tile[size_t(x - bx) * kBlock];
        std::fill(column, column + (lo - by), 0u);
        std::fill(column + (hi - by), column + bh, 0u);
        // Each source row forwards too, whichever way the column runs.
        const ptrdiff_t s = ptrdiff_t(sy + m.yy * lo) * c.w + sx + m.xy * lo;
        if (step > 0)
          for (int j = 0; j < hi - lo; ++j) column[lo - by + j] = packed(s + j);
        else
          for (int j = hi - lo - 1; j >= 0; --j) column[lo - by + j] = packed(s - j);
      }
      for (int y = 0; y < bh; ++y) {
        uint8_t* d = out.pixels.data() + (size_t(by + y) * size_t(c.w) + size_t(bx)) * 4;
        for (int x = 0; x < bw; ++x, d += 4) std::memcpy(d, &tile[size_t(x) * kBlock + size_t(y)], 4);
      }
    }
  return out;
}

}  // namespace

imaging::Image mirrored(const Channels& c, bool horizontally, bool vertically) {
  return map_axes(c, {horizontally ? c.w - 1 : 0, horizontally ? -1 : 1, 0,
                      vertically ? c.h - 1 : 0, 0, vertically ? -1 : 1});
}

imaging::Image rotated(const Channels& c, int degrees) {
  const float a = float(degrees) * 3.14159265f / 180.0f;
  const float cos_a = std::cos(a), sin_a = std::sin(a);
  const int cx = c.w / 2, cy = c.h / 2;
  // At a whole number of quarter turns the cosine and sine lie within a hair
  // of -1, 0 or 1; on pictures no larger than kMaxImageSide that hair moves no
  // position by as much as half a pixel, so whole numbers give the same map.
  const float kc = std::round(cos_a), ks = std::round(sin_a);
  if (std::fabs(cos_a - kc) < 1e-6f && std::fabs(sin_a - ks) < 1e-6f &&
      c.w <= imaging::kMaxImageSide && c.h <= imaging::kMaxImageSide) {
    const int co = int(kc), si = int(ks);
    return map_axes(c, {cx - co * cx + si * cy, co, -si, cy - si * cx - co * cy, si, co});
  }
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
