#include "imaging/draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace imaging {

namespace {

__extension__ typedef __int128 i128;

inline int div255(int x) {  // round(x / 255) for x in 0..65025
  x += 128;
  return (x + (x >> 8)) >> 8;
}

inline void over(uint8_t* d, int sr, int sg, int sb, int sa) {
  if (sa == 0) return;
  const int da = d[3];
  if (sa == 255 || da == 0) {
    d[0] = uint8_t(sr), d[1] = uint8_t(sg), d[2] = uint8_t(sb), d[3] = uint8_t(sa);
    return;
  }
  const int ia = 255 - sa;
  if (da == 255) {
    d[0] = uint8_t(div255(sr * sa + d[0] * ia));
    d[1] = uint8_t(div255(sg * sa + d[1] * ia));
    d[2] = uint8_t(div255(sb * sa + d[2] * ia));
    return;
  }
  // General case: one reciprocal for the three channels. The exact quotient
  // is either whole or at least 1/(2A) away from the next whole number, so
  // the small bias only absorbs the rounding error of the double.
  const int a = sa * 255 + da * ia;
  const double inv = 1.0 / (2.0 * a);
  const int ws = sa * 255, wd = da * ia;
  d[0] = uint8_t((2.0 * (sr * ws + d[0] * wd) + a) * inv + 1e-7);
  d[1] = uint8_t((2.0 * (sg * ws + d[1] * wd) + a) * inv + 1e-7);
  d[2] = uint8_t((2.0 * (sb * ws + d[2] * wd) + a) * inv + 1e-7);
  d[3] = uint8_t(div255(a));
}

// Lays n source pixels onto n destination pixels.
void draw_span(uint8_t* d, const uint8_t* s, int n, Mode mode, int opacity) {
  switch (mode) {
    case Mode::Copy:
      if (opacity == 255) {
        std::memcpy(d, s, size_t(n) * 4);
      } else {
        for (int i = 0; i < n; ++i, d += 4, s += 4) {
          d[0] = s[0], d[1] = s[1], d[2] = s[2];
          d[3] = uint8_t(div255(s[3] * opacity));
        }
      }
      break;
    case Mode::Alpha:
      if (opacity == 255) {
        for (int i = 0; i < n; ++i, d += 4, s += 4) {
          const int sa = s[3];
          if (sa == 255) {
            std::memcpy(d, s, 4);
          } else if (sa != 0) {
            over(d, s[0], s[1], s[2], sa);
          }
        }
      } else {
        for (int i = 0; i < n; ++i, d += 4, s += 4) over(d, s[0], s[1], s[2], div255(s[3] * opacity));
      }
      break;
    case Mode::Xor:
      for (int i = 0; i < n; ++i, d += 4, s += 4) d[0] ^= s[0], d[1] ^= s[1], d[2] ^= s[2];
      break;
  }
}

int64_t floor_div(int64_t a, int64_t b) {  // b > 0
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Source position of destination column i for the bilinear filter, in 1/256.
int64_t bilinear_pos(int64_t i, int64_t src, int64_t dst) {
  return std::max<int64_t>(0, floor_div((2 * i + 1) * src * 256, 2 * dst) - 128);
}

struct Tap {
  int i0, i1, f;  // neighbours and the weight (0..256) of i1
};

Tap bilinear_tap(int64_t i, int src, int64_t dst) {
  const int64_t pos = bilinear_pos(i, src, dst);
  const int64_t i0 = pos >> 8;
  if (i0 >= src - 1) return {src - 1, src - 1, 0};
  return {int(i0), int(i0 + 1), int(pos & 255)};
}

void bilinear_sample(uint8_t* out, const uint8_t* p00, const uint8_t* p10, const uint8_t* p01,
                     const uint8_t* p11, int fx, int fy) {
  const int w00 = (256 - fx) * (256 - fy), w10 = fx * (256 - fy);
  const int w01 = (256 - fx) * fy, w11 = fx * fy;
  if (p00[3] == p10[3] && p00[3] == p01[3] && p00[3] == p11[3]) {
    for (int c = 0; c < 3; ++c)
      out[c] = uint8_t((w00 * p00[c] + w10 * p10[c] + w01 * p01[c] + w11 * p11[c] + 32768) >> 16);
    out[3] = p00[3];
    return;
  }
  // Colours are weighted by their alpha, so transparent neighbours lend no colour.
  const int64_t a00 = int64_t(w00) * p00[3], a10 = int64_t(w10) * p10[3];
  const int64_t a01 = int64_t(w01) * p01[3], a11 = int64_t(w11) * p11[3];
  const int64_t sum = a00 + a10 + a01 + a11;
  if (sum == 0) {
    std::memset(out, 0, 4);
    return;
  }
  for (int c = 0; c < 3; ++c)
    out[c] = uint8_t((a00 * p00[c] + a10 * p10[c] + a01 * p01[c] + a11 * p11[c] + sum / 2) / sum);
  out[3] = uint8_t((sum + 32768) >> 16);
}

bool side_ok(int side) { return side >= 1 && side <= kMaxImageSide; }

int64_t isqrt(int64_t v) {
  int64_t r = int64_t(std::sqrt(double(v)));
  while (r * r > v) --r;
  while ((r + 1) * (r + 1) <= v) ++r;
  return r;
}

}  // namespace

Colour blend(Colour d, Colour s) {
  uint8_t p[4] = {uint8_t(red(d)), uint8_t(green(d)), uint8_t(blue(d)), uint8_t(alpha(d))};
  over(p, red(s), green(s), blue(s), alpha(s));
  return rgba(p[0], p[1], p[2], p[3]);
}

void Canvas::set_clip(int x, int y, int w, int h) {
  clip_x0_ = x, clip_y0_ = y;
  clip_x1_ = int64_t(x) + std::max(w, 0), clip_y1_ = int64_t(y) + std::max(h, 0);
}

Canvas::Bounds Canvas::bounds() const {
  return {std::max<int64_t>(clip_x0_, 0), std::max<int64_t>(clip_y0_, 0),
          std::min<int64_t>(clip_x1_, target_->width), std::min<int64_t>(clip_y1_, target_->height)};
}

bool Canvas::inside(long long x, long long y) const {
  const Bounds b = bounds();
  return x >= b.x0 && y >= b.y0 && x < b.x1 && y < b.y1;
}

void Canvas::fill_span(int x, int y, int n) {
  uint8_t* d = target_->at(x, y);
  const int r = red(colour_), g = green(colour_), b = blue(colour_), a = alpha(colour_);
  for (int i = 0; i < n; ++i, d += 4) {
    switch (mode_) {
      case Mode::Copy:
        d[0] = uint8_t(r), d[1] = uint8_t(g), d[2] = uint8_t(b), d[3] = uint8_t(a);
        break;
      case Mode::Alpha:
        over(d, r, g, b, a);
        break;
      case Mode::Xor:
        d[0] ^= uint8_t(r), d[1] ^= uint8_t(g), d[2] ^= uint8_t(b);
        break;
    }
  }
}

void Canvas::point(int x, int y) {
  if (target_ && inside(x, y)) fill_span(x, y, 1);
}

void Canvas::box(int x, int y, int w, int h) {
  if (!target_) return;
  int64_t x0 = x, x1 = int64_t(x) + w, y0 = y, y1 = int64_t(y) + h;
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  const Bounds b = bounds();
  x0 = std::max<int64_t>(x0, b.x0), y0 = std::max<int64_t>(y0, b.y0);
  x1 = std::min<int64_t>(x1, b.x1), y1 = std::min<int64_t>(y1, b.y1);
  for (int64_t row = y0; row < y1; ++row) fill_span(int(x0), int(row), int(x1 - x0));
}

void Canvas::line(int x1, int y1, int x2, int y2) {
  if (!target_) return;
  const Bounds b = bounds();
  if (std::max(x1, x2) < b.x0 || std::min(x1, x2) >= b.x1 || std::max(y1, y2) < b.y0 || std::min(y1, y2) >= b.y1)
    return;
  // Step along the longer axis; the other coordinate is the exact position
  // rounded to nearest (halves away from the start), so any step can be
  // computed directly and only the visible steps are walked.
  const int64_t dx = int64_t(x2) - x1, dy = int64_t(y2) - y1;
  const int64_t n = std::max(std::llabs(dx), std::llabs(dy));
  if (n == 0) return point(x1, y1);
  const bool x_major = std::llabs(dx) >= std::llabs(dy);
  const int64_t major0 = x_major ? x1 : y1, minor0 = x_major ? y1 : x1;
  const int64_t dmajor = x_major ? dx : dy, dminor = x_major ? dy : dx;
  const int64_t low = x_major ? b.x0 : b.y0, limit = x_major ? b.x1 : b.y1;
  const int64_t step = dmajor > 0 ? 1 : -1;
  // Steps k with low <= major0 + step * k < limit.
  int64_t k0 = step > 0 ? low - major0 : major0 - (limit - 1);
  int64_t k1 = step > 0 ? limit - 1 - major0 : major0 - low;
  k0 = std::max<int64_t>(k0, 0), k1 = std::min(k1, n);
  const int64_t adm = std::llabs(dminor), sgn = dminor < 0 ? -1 : 1;
  for (int64_t k = k0; k <= k1; ++k) {
    const int64_t off = int64_t((i128(2) * k * adm + n) / (i128(2) * n));
    const int64_t minor = minor0 + sgn * off;
    const int64_t major = major0 + step * k;
    const int64_t px = x_major ? major : minor, py = x_major ? minor : major;
    if (inside(px, py)) fill_span(int(px), int(py), 1);
  }
}

void Canvas::circle(int cx, int cy, int radius) {
  if (!target_ || radius < 0) return;
  const int64_t r = radius;
  const Bounds b = bounds();
  const int64_t y0 = std::max<int64_t>(int64_t(cy) - r, b.y0);
  const int64_t y1 = std::min<int64_t>(int64_t(cy) + r, b.y1 - 1);
  for (int64_t y = y0; y <= y1; ++y) {
    const int64_t dy = y - cy;
    const int64_t half = isqrt(r * r - dy * dy);
    const int64_t x0 = std::max<int64_t>(cx - half, b.x0);
    const int64_t x1 = std::min<int64_t>(cx + half, b.x1 - 1);
    if (x0 <= x1) fill_span(int(x0), int(y), int(x1 - x0 + 1));
  }
}

void Canvas::draw_image(const Image& src, int x, int y, int opacity) {
  draw_image_scaled(src, x, y, src.width, src.height, Filter::Nearest, opacity);
}

void Canvas::draw_image(int src_number, int x, int y, int opacity) {
  if (const Image* src = image_ptr(src_number)) draw_image(*src, x, y, opacity);
}

void Canvas::draw_image_scaled(int src_number, int x, int y, int w, int h, Filter filter,
                               int opacity) {
  if (const Image* src = image_ptr(src_number)) draw_image_scaled(*src, x, y, w, h, filter, opacity);
}

void Canvas::draw_image_scaled(const Image& src_in, int x, int y, int w, int h, Filter filter,
                               int opacity) {
  if (!target_ || src_in.width < 1 || src_in.height < 1 || w < 1 || h < 1) return;
  opacity = std::clamp(opacity, 0, 255);
  if (opacity == 0 && mode_ == Mode::Alpha) return;
  Image self_copy;
  const Image* sp = &src_in;
  if (sp == target_) sp = &(self_copy = src_in);
  const Image& src = *sp;

  const Bounds b = bounds();
  const int64_t tx0 = std::max<int64_t>(x, b.x0), tx1 = std::min<int64_t>(int64_t(x) + w, b.x1);
  const int64_t ty0 = std::max<int64_t>(y, b.y0), ty1 = std::min<int64_t>(int64_t(y) + h, b.y1);
  if (tx0 >= tx1 || ty0 >= ty1) return;
  const int n = int(tx1 - tx0);
  const int64_t ix0 = tx0 - x;  // first visible column, in the scaled picture

  if (w == src.width && h == src.height) {  // unscaled: source rows directly
    for (int64_t ty = ty0; ty < ty1; ++ty)
      draw_span(target_->at(int(tx0), int(ty)), src.at(int(ix0), int(ty - y)), n, mode_, opacity);
    return;
  }

  std::vector<uint8_t> row(size_t(n) * 4);
  if (filter == Filter::Nearest) {
    std::vector<int> xs(n);
    for (int i = 0; i < n; ++i) xs[i] = int((2 * (ix0 + i) + 1) * src.width / (2 * int64_t(w)));
    for (int64_t ty = ty0; ty < ty1; ++ty) {
      const int sy = int((2 * (ty - y) + 1) * src.height / (2 * int64_t(h)));
      const uint8_t* srow = src.at(0, sy);
      for (int i = 0; i < n; ++i) std::memcpy(&row[size_t(i) * 4], srow + size_t(xs[i]) * 4, 4);
      draw_span(target_->at(int(tx0), int(ty)), row.data(), n, mode_, opacity);
    }
    return;
  }
  std::vector<Tap> xt(n);
  for (int i = 0; i < n; ++i) xt[i] = bilinear_tap(ix0 + i, src.width, w);
  for (int64_t ty = ty0; ty < ty1; ++ty) {
    const Tap yt = bilinear_tap(ty - y, src.height, h);
    const uint8_t* r0 = src.at(0, yt.i0);
    const uint8_t* r1 = src.at(0, yt.i1);
    for (int i = 0; i < n; ++i) {
      const Tap& t = xt[i];
      bilinear_sample(&row[size_t(i) * 4], r0 + t.i0 * 4, r0 + t.i1 * 4, r1 + t.i0 * 4, r1 + t.i1 * 4,
                      t.f, yt.f);
    }
    draw_span(target_->at(int(tx0), int(ty)), row.data(), n, mode_, opacity);
  }
}

Image grab(const Image& src, int x, int y, int w, int h) {
  if (!side_ok(w) || !side_ok(h)) return Image();
  Image out(w, h);
  const int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(int64_t(x) + w, src.width);
  const int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(int64_t(y) + h, src.height);
  for (int64_t sy = y0; sy < y1 && x0 < x1; ++sy)
    std::memcpy(out.at(int(x0 - x), int(sy - y)), src.at(int(x0), int(sy)), size_t(x1 - x0) * 4);
  return out;
}

int grab_image(int source, int x, int y, int w, int h, int number) {
  const Image* src = image_ptr(source);
  if (!src) return -1;
  return adopt_image(number, grab(*src, x, y, w, h));
}

Image scaled(const Image& src, int w, int h, Filter filter) {
  if (!side_ok(w) || !side_ok(h)) return Image();
  Image out(w, h);
  Canvas(out).draw_image_scaled(src, 0, 0, w, h, filter);
  return out;
}

bool resize_image(int number, int w, int h, Filter filter) {
  Image* p = image_ptr(number);
  if (!p || !side_ok(w) || !side_ok(h)) return false;
  if (p->width != w || p->height != h) *p = scaled(*p, w, h, filter);
  return true;
}

std::pair<int, int> fit_size(int w, int h, int side) {
  if (w < 1 || h < 1 || side < 1) return {0, 0};
  auto part = [side](int64_t a, int64_t b) { return int((2 * side * a + b) / (2 * b)); };
  return w >= h ? std::pair{side, part(h, w)} : std::pair{part(w, h), side};
}

}  // namespace imaging
