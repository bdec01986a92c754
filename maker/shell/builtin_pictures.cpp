#include "maker/shell/builtin_pictures.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

using imaging::Image;

namespace {

// ---- symbols as data ----
// A glyph is a list of drawing commands in pixel units, separated by blanks:
//   M x y | L x y | C x1 y1 x2 y2 x y | Z        path (move, line, curve, close)
//   R x y w h | P x y w h radius | O cx cy r     rectangle, rounded rectangle, circle
//   A cx cy r from to | a cx cy r from to        arc, clockwise / anticlockwise (degrees)
//   F c | S c width | B c outline width          fill, stroke, fill then stroke the path
//   T cx cy size c word                          a bold word centred on (cx, cy)
//   X scale dx dy                                later commands scaled, then moved
// A colour c is a letter of the palette or #rrggbb / #rrggbbaa.

struct Rgba {
  double r, g, b, a;
};

constexpr Rgba hex(uint32_t v, double a = 1) {
  return {(v >> 16 & 255) / 255.0, (v >> 8 & 255) / 255.0, (v & 255) / 255.0, a};
}

// One palette for every picture, so the icons look like one set.
Rgba palette(char key) {
  switch (key) {
    case 'k': return hex(0x2e3436);  // outlines
    case 'w': return hex(0xffffff);
    case 'l': return hex(0xd3d7cf);
    case 'g': return hex(0x888a85);
    case 'd': return hex(0x555753);
    case 'r': return hex(0xcc0000);
    case 'R': return hex(0xef2929);
    case 'e': return hex(0x4e9a06);
    case 'E': return hex(0x8ae234);
    case 'b': return hex(0x3465a4);
    case 'B': return hex(0x729fcf);
    case 'y': return hex(0xfce94f);
    case 'Y': return hex(0xc4a000);
    case 'o': return hex(0xf57900);
    case 'p': return hex(0x75507b);
    case 'P': return hex(0xad7fa8);
    case 'n': return hex(0x8f5902);
    case 'N': return hex(0xe9b96e);
    default: return hex(0xff00ff);  // a typo in a glyph shows at once
  }
}

constexpr const char* kFont = "DejaVu Sans";

// Draws `text` with its ink centred vertically on y; `align` 0 puts its left
// edge at x, 0.5 its centre, 1 its right edge. A text wider than `max_width`
// (when given) is drawn smaller to fit.
void draw_text(cairo_t* cr, std::string_view text, double px, bool bold, Rgba c, double x,
               double y, double align = 0.5, double max_width = 0) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string(kFont);
  pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_text(layout, text.data(), int(text.size()));
  PangoRectangle ink, logical;
  for (int attempt = 0; attempt < 2; ++attempt) {
    pango_font_description_set_absolute_size(font, px * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    if (max_width <= 0 || logical.width <= max_width) break;
    px *= max_width / logical.width;
  }
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
  cairo_move_to(cr, std::round(x - align * logical.width), std::round(y - ink.y - ink.height / 2.0));
  pango_cairo_show_layout(cr, layout);
  pango_font_description_free(font);
  g_object_unref(layout);
}

class GlyphReader {
 public:
  explicit GlyphReader(const char* s) : p_(s) {}

  bool next_command(char& command) {
    skip_blanks();
    if (!*p_) return false;
    command = *p_++;
    return true;
  }
  double number() {
    skip_blanks();
    char* end = nullptr;
    double v = std::strtod(p_, &end);
    p_ = end;
    return v;
  }
  std::string_view word() {
    skip_blanks();
    const char* start = p_;
    while (*p_ && *p_ != ' ') ++p_;
    return {start, size_t(p_ - start)};
  }
  Rgba colour() {
    std::string_view w = word();
    if (w.size() == 1) return palette(w[0]);
    uint32_t v = uint32_t(std::strtoul(std::string(w.substr(1)).c_str(), nullptr, 16));
    if (w.size() == 9) return hex(v >> 8, (v & 255) / 255.0);
    return hex(v);
  }

 private:
  void skip_blanks() {
    while (*p_ == ' ') ++p_;
  }
  const char* p_;
};

void set_source(cairo_t* cr, Rgba c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void draw_glyph(cairo_t* cr, const char* glyph) {
  if (!glyph) return;
  cairo_save(cr);
  cairo_matrix_t base;
  cairo_get_matrix(cr, &base);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_new_path(cr);
  GlyphReader in(glyph);
  char command;
  while (in.next_command(command)) {
    switch (command) {
      case 'M': { double x = in.number(), y = in.number(); cairo_move_to(cr, x, y); break; }
      case 'L': { double x = in.number(), y = in.number(); cairo_line_to(cr, x, y); break; }
      case 'C': {
        double v[6];
        for (double& d : v) d = in.number();
        cairo_curve_to(cr, v[0], v[1], v[2], v[3], v[4], v[5]);
        break;
      }
      case 'Z': cairo_close_path(cr); break;
      case 'R': {
        double x = in.number(), y = in.number(), w = in.number(), h = in.number();
        cairo_rectangle(cr, x, y, w, h);
        break;
      }
      case 'P': {
        double x = in.number(), y = in.number(), w = in.number(), h = in.number(), r = in.number();
        rounded_rect(cr, x, y, w, h, r);
        break;
      }
      case 'O': {
        double x = in.number(), y = in.number(), r = in.number();
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_close_path(cr);
        break;
      }
      case 'A':
      case 'a': {
        double x = in.number(), y = in.number(), r = in.number();
        double from = in.number() * M_PI / 180, to = in.number() * M_PI / 180;
        (command == 'A' ? cairo_arc : cairo_arc_negative)(cr, x, y, r, from, to);
        break;
      }
      case 'F': set_source(cr, in.colour()); cairo_fill(cr); break;
      case 'S': {
        set_source(cr, in.colour());
        cairo_set_line_width(cr, in.number());
        cairo_stroke(cr);
        break;
      }
      case 'B': {
        set_source(cr, in.colour());
        cairo_fill_preserve(cr);
        set_source(cr, in.colour());
        cairo_set_line_width(cr, in.number());
        cairo_stroke(cr);
        break;
      }
      case 'T': {
        double x = in.number(), y = in.number(), size = in.number();
        Rgba c = in.colour();
        draw_text(cr, in.word(), size, true, c, x, y);
        break;
      }
      case 'X': {
        double s = in.number(), dx = in.number(), dy = in.number();
        cairo_set_matrix(cr, &base);
        cairo_translate(cr, dx, dy);
        cairo_scale(cr, s, s);
        break;
      }
      default: break;  // anything else is skipped one character at a time
    }
  }
  cairo_restore(cr);
}

// ---- Cairo surfaces ----

// Cairo drawing straight into the pixels of a new image, so that a large
// picture touches its memory once.
class Canvas {
 public:
  Canvas(int w, int h)
      : image_(w, h),
        surface_(cairo_image_surface_create_for_data(image_.pixels.data(), CAIRO_FORMAT_ARGB32, w, h, w * 4)),
        cr_(cairo_create(surface_)) {}
  ~Canvas() { release(); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  cairo_t* cr() const { return cr_; }

  // Fills every row with one opaque colour, `row_colour` (y); much quicker
  // than a Cairo gradient on the large pictures.
  template <class RowColour>
  void fill_rows(RowColour row_colour) {
    cairo_surface_flush(surface_);
    auto byte = [](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    for (int y = 0; y < image_.height; ++y) {
      Rgba c = row_colour(y);
      uint32_t v = 0xff000000u | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
      uint8_t* row = image_.at(0, y);
      for (int x = 0; x < image_.width; ++x) std::memcpy(row + x * 4, &v, 4);
    }
    cairo_surface_mark_dirty(surface_);
  }

  Image finish() {
    release();
    cairo_to_rgba(image_);
    return std::move(image_);
  }

 private:
  void release() {
    if (!cr_) return;
    cairo_destroy(cr_);
    cairo_surface_finish(surface_);
    cairo_surface_destroy(surface_);
    cr_ = nullptr;
  }
  Image image_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

void vertical_gradient(cairo_t* cr, double h, Rgba top, Rgba bottom) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgba(g, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(g, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  cairo_set_source(cr, g);
  cairo_pattern_destroy(g);
}

// A dark backdrop with a thin light edge at the top, shared by the banners,
// the wait pictures and the large pictures so they read as one family.
void paint_dark_panel(Canvas& c, int h, Rgba top = hex(0x4b5056), Rgba bottom = hex(0x2a2d31)) {
  c.fill_rows([&](int y) {
    double t = h > 1 ? double(y) / (h - 1) : 0;
    auto mix = [](double a, double b, double t) { return a + (b - a) * t; };
    Rgba row{mix(top.r, bottom.r, t), mix(top.g, bottom.g, t), mix(top.b, bottom.b, t), 1};
    if (y == 0) row = {mix(row.r, 1, 0.18), mix(row.g, 1, 0.18), mix(row.b, 1, 0.18), 1};
    return row;
  });
}

const Rgba kWhite = hex(0xffffff);
const Rgba kInk = hex(0x2e3436);

// ---- the makers, one per kind of picture ----

Image make_icon(const BuiltinPicture& p) {
  Canvas c(p.width, p.height);
  draw_glyph(c.cr(), p.glyph);
  return c.finish();
}

// A 150 x 100 card with round corners; the browser draws thumbnails on it.
Image make_card(const BuiltinPicture& p) {
  Canvas c(p.width, p.height);
  cairo_t* cr = c.cr();
  rounded_rect(cr, 0.5, 0.5, p.width - 1, p.height - 1, 10);
  vertical_gradient(cr, p.height, hex(0xffffff), hex(0xe6e7e4));
  cairo_fill_preserve(cr);
  set_source(cr, hex(0x8a8c88));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  draw_glyph(cr, p.glyph);
  if (p.text) draw_text(cr, p.text, 17, true, kInk, p.width / 2.0, 78);
  return c.finish();
}

// A card of one colour with a black border: the thumbnail backdrop (white)
// and the "no image" card (brownish red, its glyph a black question mark).
Image make_flat_card(const BuiltinPicture& p, Rgba fill) {
  Canvas c(p.width, p.height);
  cairo_t* cr = c.cr();
  rounded_rect(cr, 1, 1, p.width - 2, p.height - 2, 10);
  set_source(cr, fill);
  cairo_fill_preserve(cr);
  set_source(cr, hex(0x000000));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  draw_glyph(cr, p.glyph);
  return c.finish();
}
Image make_white_card(const BuiltinPicture& p) { return make_flat_card(p, hex(0xffffff)); }
Image make_no_image_card(const BuiltinPicture& p) { return make_flat_card(p, hex(0xa0402a)); }

// A dark banner naming its tab near its left end.
Image make_banner(const BuiltinPicture& p) {
  Canvas c(p.width, p.height);
  paint_dark_panel(c, p.height);
  draw_text(c.cr(), p.text, 22, true, kWhite, 16, p.height / 2.0, 0);
  return c.finish();
}

Image make_wait(const BuiltinPicture& p) {
  Canvas c(p.width, p.height);
  paint_dark_panel(c, p.height);
  draw_text(c.cr(), p.text, 24, true, kWhite, p.width / 2.0, p.height / 2.0, 0.5, p.width - 48);
  return c.finish();
}

// The wait picture that tells an operation has finished.
Image make_done(const BuiltinPicture& p) {
  Canvas c(p.width, p.height);
  paint_dark_panel(c, p.height, hex(0x5aa516), hex(0x2f5e08));
  draw_text(c.cr(), p.text, 24, true, kWhite, p.width / 2.0, p.height / 2.0, 0.5, p.width - 48);
  return c.finish();
}

// A Game-tab command: a light button with a symbol and its name.
Image make_command(const BuiltinPicture& p) {
  Canvas c(p.width, p.height);
  cairo_t* cr = c.cr();
  rounded_rect(cr, 0.5, 0.5, p.width - 1, p.height - 1, 6);
  vertical_gradient(cr, p.height, hex(0xfafafa), hex(0xdcddd9));
  cairo_fill_preserve(cr);
  set_source(cr, hex(0x8a8c88));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_translate(cr, 7, 7);
  cairo_scale(cr, 1.5, 1.5);
  draw_glyph(cr, p.glyph);
  cairo_identity_matrix(cr);
  draw_text(cr, p.text, 15, true, kInk, 44, p.height / 2.0, 0);
  return c.finish();
}

Image make_splash(const BuiltinPicture& p) {
  Canvas c(p.width, p.height);
  cairo_t* cr = c.cr();
  paint_dark_panel(c, p.height, hex(0x3d5a80), hex(0x1b2838));
  draw_glyph(cr, p.glyph);
  draw_text(cr, p.text, 48, true, kWhite, p.width / 2.0, 360);
  draw_text(cr, "Please wait...", 20, false, hex(0xd3d7cf), p.width / 2.0, 520);
  return c.finish();
}

// Black, so that the version label laid on it at (380, 122) blends in; below
// the name, the symbols of the seven kinds of resource.
Image make_about(const BuiltinPicture& p) {
  Canvas c(p.width, p.height);
  cairo_t* cr = c.cr();
  paint_dark_panel(c, p.height, hex(0x000000), hex(0x000000));
  cairo_pattern_t* line = cairo_pattern_create_linear(40, 0, 460, 0);
  cairo_pattern_add_color_stop_rgba(line, 0, 0.45, 0.62, 0.81, 0);
  cairo_pattern_add_color_stop_rgba(line, 0.5, 0.45, 0.62, 0.81, 1);
  cairo_pattern_add_color_stop_rgba(line, 1, 0.45, 0.62, 0.81, 0);
  cairo_set_source(cr, line);
  cairo_pattern_destroy(line);
  cairo_rectangle(cr, 40, 175, 420, 2);
  cairo_fill(cr);
  draw_glyph(cr, p.glyph);
  draw_text(cr, p.text, 30, true, kWhite, 460, 98, 1);
  return c.finish();
}

// An image of rows of 4-byte pixels, `pattern(y)` giving each row, written in
// one pass.
template <class Pattern>
Image image_from_rows(int w, int h, Pattern pattern) {
  Image image;
  image.width = w;
  image.height = h;
  image.pixels.reserve(size_t(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = pattern(y);
    image.pixels.insert(image.pixels.end(), row, row + size_t(w) * 4);
  }
  return image;
}

std::vector<uint8_t> repeat_pixels(int w, int period, auto pixel_at) {
  std::vector<uint8_t> row(size_t(w) * 4);
  for (int x = 0; x < w; ++x) {
    imaging::Colour c = pixel_at(x % period);
    for (int k = 0; k < 4; ++k) row[size_t(x) * 4 + k] = uint8_t(c >> (8 * k));
  }
  return row;
}

// Squares of 16 pixels, light grey at the top-left, then white.
Image make_checkerboard(const BuiltinPicture& p) {
  const imaging::Colour grey = imaging::rgba(192, 192, 192), white = imaging::rgba(255, 255, 255);
  auto even = repeat_pixels(p.width, 32, [&](int x) { return x < 16 ? grey : white; });
  auto odd = repeat_pixels(p.width, 32, [&](int x) { return x < 16 ? white : grey; });
  return image_from_rows(p.width, p.height, [&](int y) { return (y / 16 % 2 ? odd : even).data(); });
}

// Every pixel whose x + y is even is light blue, the others are clear.
Image make_stipple(const BuiltinPicture& p) {
  const imaging::Colour blue = imaging::rgba(149, 149, 255), clear = 0;
  auto even = repeat_pixels(p.width, 2, [&](int x) { return x == 0 ? blue : clear; });
  auto odd = repeat_pixels(p.width, 2, [&](int x) { return x == 0 ? clear : blue; });
  return image_from_rows(p.width, p.height, [&](int y) { return (y % 2 ? odd : even).data(); });
}

// Column x has hue x degrees at full saturation and value, computed as the
// colorize effect computes its colour.
Image make_hue_bar(const BuiltinPicture& p) {
  Image image(p.width, p.height);
  for (int x = 0; x < p.width; ++x) {
    float s = float(x) / 360.0f * 6.0f;
    int i = int(std::floor(s));
    double t = s - i, q = 1 - t;
    double rgb[6][3] = {{1, t, 0}, {q, 1, 0}, {0, 1, t}, {0, q, 1}, {t, 0, 1}, {1, 0, q}};
    const double* c = rgb[std::clamp(i, 0, 5)];
    for (int y = 0; y < p.height; ++y) {
      uint8_t* px = image.at(x, y);
      for (int k = 0; k < 3; ++k) px[k] = uint8_t(std::lround(c[k] * 255));
      px[3] = 255;
    }
  }
  return image;
}

// ---- the glyphs ----
#define DOCUMENT "M 3.5 1.5 L 9.5 1.5 L 12.5 4.5 L 12.5 14.5 L 3.5 14.5 Z B w k 1 M 9.5 1.5 L 9.5 4.5 L 12.5 4.5 S k 1 "
#define FLOPPY "P 1.5 1.5 13 13 1.5 B b k 1 R 4 2 8 4.5 F w R 9 2.5 1.5 3 F b R 4 9 8 5.5 F l "
#define MOVE_ARROWS \
  "M 8 2 L 8 14 M 2 8 L 14 8 S b 1.6 M 8 0.5 L 10.5 3.5 L 5.5 3.5 Z M 8 15.5 L 10.5 12.5 L 5.5 12.5 Z " \
  "M 0.5 8 L 3.5 5.5 L 3.5 10.5 Z M 15.5 8 L 12.5 5.5 L 12.5 10.5 Z F b "
#define SPRITE \
  "M 3 14 L 3 7 C 3 2 13 2 13 7 L 13 14 L 11.5 12.5 L 9.5 14 L 8 12.5 L 6.5 14 L 4.5 12.5 Z B P p 1 " \
  "O 6 7 1.6 F w O 10 7 1.6 F w O 6.5 7.4 0.8 F k O 10.5 7.4 0.8 F k "
#define SPEAKER \
  "M 1.5 6 L 4.5 6 L 8.5 2.5 L 8.5 13.5 L 4.5 10 L 1.5 10 Z B l k 1 " \
  "A 8.5 8 3 -50 50 S b 1.3 A 8.5 8 5.5 -50 50 S b 1.3 "
#define NOTE "M 5.5 12 L 5.5 3.5 L 13.5 1.5 L 13.5 10.5 S b 1.6 M 5.5 5.5 L 13.5 3.5 S b 1.6 O 3.8 12 2.2 F b O 11.8 10.5 2.2 F b "
#define LETTER "M 2.5 14.5 L 8 1.5 L 13.5 14.5 M 4.8 9.5 L 11.2 9.5 S b 2.4 "
#define LANDSCAPE \
  "R 1.5 2.5 13 11 F B M 1.5 13.5 L 1.5 10.5 L 5 6.5 L 8.5 10 L 10.5 8 L 14.5 12 L 14.5 13.5 Z F e " \
  "O 11.5 5.5 1.6 F y R 1.5 2.5 13 11 S k 1 "
#define SCENE \
  "R 1.5 6.5 13 8 B d k 1 M 1.5 6.5 L 14.5 6.5 L 14.5 3.5 L 1.5 3.5 Z B w k 1 " \
  "M 4 3.5 L 6 6.5 M 8 3.5 L 10 6.5 M 12 3.5 L 14 6.5 S k 1.5 R 4 9 8 3 F B "
#define BALL "O 8 8 6.5 B b k 1 O 6 6 2 F B "
#define CLOCK "O 8 8 6.5 B w k 1 M 8 4 L 8 8 L 11 9.5 S k 1.5 "
#define END_BADGE "R 10.5 10.5 5 5 B R r 1 "
#define FLAG "M 3.5 15 L 3.5 1.5 S k 1.6 M 4 2 L 13.5 2 L 11 5.5 L 13.5 9 L 4 9 Z "
#define PLUS_BADGE "O 11.5 4.5 4 B E e 1 M 11.5 2.5 L 11.5 6.5 M 9.5 4.5 L 13.5 4.5 S w 1.6 "
#define CIRCLE_ARROW(c) "A 8 8 5 20 300 S " c " 2 M 13.3 5.3 L 8.4 5.7 L 11.2 0.9 Z F " c " "
#define CHECKER "R 1.5 1.5 13 13 B w k 1 R 2 2 3 3 R 8 2 3 3 R 5 5 3 3 R 11 5 3 3 R 2 8 3 3 R 8 8 3 3 R 5 11 3 3 R 11 11 3 3 F l "

// Cards show their symbol three times the icon size.
#define ON_CARD "X 3 51 26 "

constexpr BuiltinPicture kPictures[] = {
    {91, 150, 100, make_white_card},
    {92, 150, 100, make_no_image_card, nullptr, "T 75 50 56 #000000 ?"},
    {93, 150, 100, make_card, nullptr, ON_CARD SPEAKER},
    {94, 150, 100, make_card, nullptr, ON_CARD NOTE},
    {95, 150, 100, make_card, nullptr, ON_CARD LETTER},
    {96, 150, 100, make_card, "CREATE...", "X 4 29 18 " PLUS_BADGE},
    {98, 2880, 50, make_banner, "SPRITES"},
    {99, 2880, 50, make_banner, "SOUNDS"},
    {100, 2880, 50, make_banner, "MUSICS"},
    {101, 2880, 50, make_banner, "BACKGROUNDS"},
    {102, 2880, 50, make_banner, "FONTS"},
    {103, 2880, 50, make_banner, "OBJECTS"},
    {104, 2880, 50, make_banner, "SCENES"},
    // object events
    {105, 16, 16, make_icon, nullptr,  // creation: a star
     "M 8 1 L 9.76 5.57 L 14.66 5.84 L 10.85 8.93 L 12.11 13.66 L 8 11 L 3.89 13.66 L 5.15 8.93 "
     "L 1.34 5.84 L 6.24 5.57 Z B y Y 1"},
    {106, 16, 16, make_icon, nullptr,  // collision: two balls meeting
     "O 4.5 10.5 3.5 B B b 1 O 11.5 10.5 3.5 B R r 1 M 8 1.5 L 8 4.5 M 4.5 3 L 6 5 M 11.5 3 L 10 5 S o 1.3"},
    {107, 16, 16, make_icon, nullptr, CLOCK},                         // step
    {108, 16, 16, make_icon, nullptr, CLOCK END_BADGE},               // end step
    {109, 16, 16, make_icon, nullptr,                                 // draw: a pencil
     "M 2 14 L 3 10.5 L 11.5 2 L 14 4.5 L 5.5 13 Z B y k 1 M 2 14 L 2.6 11.7 L 4.3 13.4 Z F k"},
    {110, 16, 16, make_icon, nullptr,                                 // animation end: film
     "R 1.5 3.5 13 9 B d k 1 R 2.5 4.5 1.5 1.5 R 2.5 10 1.5 1.5 R 12 4.5 1.5 1.5 R 12 10 1.5 1.5 F w "
     "R 5 5 6 6 F B " END_BADGE},
    {111, 16, 16, make_icon, nullptr,                                 // destroy: a bomb
     "O 7 9.5 5.5 B d k 1 O 5 7.5 1.3 F g M 10.5 5.5 C 11.5 2.5 13 3.5 13.5 1.8 S n 1.2 O 13.5 1.8 1.4 F o"},
    {112, 16, 16, make_icon, nullptr, FLAG "B E e 1"},                // room start
    {113, 16, 16, make_icon, nullptr, FLAG "B R r 1"},                // room end
    {114, 800, 600, make_splash, "Quillop Game Maker", "X 12 304 76 " SPRITE},
    {126, 800, 800, make_checkerboard},
    {127, 100, 100, make_icon, nullptr, "R 0 0 100 100 F #b4b4b4 O 50 50 33 S r 10 M 27 27 L 73 73 S r 10"},
    {129, 275, 38, make_command, "Global variables", "P 1.5 1.5 13 13 2.5 B b k 1 T 8 7.5 11 w x"},
    {130, 275, 38, make_command, "Custom functions", "P 1.5 1.5 13 13 2.5 B e k 1 T 8 7.5 11 w f"},
    {131, 275, 38, make_command, "Game comments",
     "M 2 2.5 L 14 2.5 L 14 11 L 7.5 11 L 4.5 14 L 4.5 11 L 2 11 Z B w k 1 M 4.5 5.5 L 11.5 5.5 M 4.5 8 L 9.5 8 S g 1"},
    {132, 275, 38, make_command, "Installed extensions",
     "M 2 5 L 8 2 L 14 5 L 14 11.5 L 8 14.5 L 2 11.5 Z B N n 1 M 2 5 L 8 8 L 14 5 M 8 8 L 8 14.5 S n 1"},
    {133, 500, 350, make_about, "Quillop Game Maker",
     "X 6 30 40 " SPRITE "X 3 34 230 " SPRITE "X 3 98 230 " SPEAKER "X 3 162 230 " NOTE "X 3 226 230 " LANDSCAPE
     "X 3 290 230 " LETTER "X 3 354 230 " BALL "X 3 418 230 " SCENE},
    {137, 400, 160, make_wait, "SCANNING EXTENSIONS..."},
    {138, 400, 160, make_wait, "SAVING PROJECT..."},
    {139, 400, 160, make_wait, "GENERATING HTML5 GAME..."},
    {140, 400, 160, make_done, "PROJECT SAVED!"},
    {141, 400, 160, make_wait, "OPENING PROJECT..."},
    // main window
    {142, 16, 16, make_icon, nullptr, DOCUMENT},                                      // new
    {143, 16, 16, make_icon, nullptr, MOVE_ARROWS},                                   // shift objects
    {144, 16, 16, make_icon, nullptr,                                                 // open
     "M 1.5 3.5 L 6 3.5 L 7.5 5 L 13.5 5 L 13.5 13.5 L 1.5 13.5 Z B Y k 1 "
     "M 1.5 13.5 L 3.5 7.5 L 15.5 7.5 L 13.5 13.5 Z B y k 1"},
    {145, 16, 16, make_icon, nullptr, FLOPPY},                                        // save
    {146, 16, 16, make_icon, nullptr, "M 4 2 L 13.5 8 L 4 14 Z B E e 1"},             // run
    {147, 16, 16, make_icon, nullptr, SPRITE},
    {148, 16, 16, make_icon, nullptr, SPEAKER},
    {149, 16, 16, make_icon, nullptr, NOTE},
    {150, 16, 16, make_icon, nullptr, LETTER},
    {151, 16, 16, make_icon, nullptr, LANDSCAPE},
    {152, 16, 16, make_icon, nullptr, BALL},
    {153, 16, 16, make_icon, nullptr, SCENE},
    {154, 15, 15, make_icon, nullptr,                                                 // grid
     "R 1.5 1.5 12 12 B w d 1 M 5.5 1.5 L 5.5 13.5 M 9.5 1.5 L 9.5 13.5 M 1.5 5.5 L 13.5 5.5 "
     "M 1.5 9.5 L 13.5 9.5 S d 1"},
    {155, 15, 15, make_icon, nullptr,                                                 // snap: a magnet
     "M 3.5 3 L 3.5 8 a 7.5 8 4 180 0 L 11.5 3 S r 3 R 2 1 3 3 R 10 1 3 3 F l"},
    {156, 16, 16, make_icon, nullptr,                                                 // save as
     FLOPPY "M 8.5 15.5 L 9 13 L 14 8 L 15.5 9.5 L 10.5 14.5 Z B y k 1"},
    {157, 16, 16, make_icon, nullptr,                                                 // preferences
     "M 2 4 L 14 4 M 2 8 L 14 8 M 2 12 L 14 12 S d 1.5 O 5 4 2 B w k 1 O 11 8 2 B w k 1 O 7 12 2 B w k 1"},
    {158, 16, 16, make_icon, nullptr, "A 8 8.5 5.5 -55 235 S r 2 M 8 1.5 L 8 7.5 S r 2"},  // exit
    {159, 16, 16, make_icon, nullptr, "O 8 8 7 F b T 8 8 12 w ?"},                        // help
    {160, 16, 16, make_icon, nullptr, "O 8 8 7 F b T 8 8 12 w i"},                        // about
    {161, 16, 16, make_icon, nullptr,                                                      // version
     "O 8 8 6.5 B B k 1 M 1.5 8 L 14.5 8 M 8 1.5 L 8 14.5 M 8 1.5 C 4.5 4 4.5 12 8 14.5 "
     "C 11.5 12 11.5 4 8 1.5 S k 0.8"},
    {162, 16, 16, make_icon, nullptr, "O 8 8 6.5 B R r 1 M 5.5 5.5 L 10.5 10.5 M 10.5 5.5 L 5.5 10.5 S w 2"},
    {163, 16, 16, make_icon, nullptr, "X 0.8 0 3 " BALL "X 1 0 0 " PLUS_BADGE},       // place
    {164, 16, 16, make_icon, nullptr,                                                 // select
     "M 4 1.5 L 4 13.5 L 7 10.5 L 9.5 15 L 11.5 14 L 9 9.5 L 13 9.5 Z B w k 1"},
    {165, 16, 16, make_icon, nullptr,                                                 // remove, delete
     "M 4 4 L 12 12 M 12 4 L 4 12 S #a40000 4.4 M 4 4 L 12 12 M 12 4 L 4 12 S R 2.4"},
    // sprite-frame editor
    {166, 16, 16, make_icon, nullptr, "X 0.8 0 3 " LANDSCAPE "X 1 0 0 " PLUS_BADGE},  // add from file
    {167, 16, 16, make_icon, nullptr, "R 1.5 1.5 9 9 B l k 1 R 5.5 5.5 9 9 B w k 1"},  // duplicate
    {168, 16, 16, make_icon, nullptr,                                                   // left
     "M 1.5 8 L 7.5 2 L 7.5 5.5 L 14.5 5.5 L 14.5 10.5 L 7.5 10.5 L 7.5 14 Z B B b 1"},
    {169, 16, 16, make_icon, nullptr,                                                   // right
     "M 14.5 8 L 8.5 2 L 8.5 5.5 L 1.5 5.5 L 1.5 10.5 L 8.5 10.5 L 8.5 14 Z B B b 1"},
    {170, 16, 16, make_icon, nullptr, MOVE_ARROWS},                                     // shift
    {171, 16, 16, make_icon, nullptr,                                                   // mirror
     "M 6.5 3 L 6.5 13 L 1.5 13 Z B B b 1 M 9.5 3 L 9.5 13 L 14.5 13 Z B w b 1 M 8 1 L 8 15 S k 1"},
    {172, 16, 16, make_icon, nullptr, CIRCLE_ARROW("b")},                               // rotate
    {173, 16, 16, make_icon, nullptr,                                                   // scale
     "R 1.5 1.5 13 13 S g 1 R 1.5 8.5 6 6 B w k 1 M 6 10 L 12.5 3.5 S b 1.6 M 14 2 L 14 7 L 9 2 Z F b"},
    {174, 16, 16, make_icon, nullptr,                                                   // resize canvas
     "R 3.5 3.5 9 9 B w k 1 M 0.5 3.5 L 2.5 3.5 M 3.5 0.5 L 3.5 2.5 M 13.5 12.5 L 15.5 12.5 "
     "M 12.5 13.5 L 12.5 15.5 M 6 10 L 10 6 S b 1.5"},
    {175, 16, 16, make_icon, nullptr,                                                   // stretch
     "R 4.5 3.5 7 9 B w k 1 M 2 8 L 14 8 S b 1.6 M 0.5 8 L 3.5 5.5 L 3.5 10.5 Z "
     "M 15.5 8 L 12.5 5.5 L 12.5 10.5 Z F b"},
    {176, 16, 16, make_icon, nullptr,                                                   // grayscale
     "R 2 2 3 12 F #2e3436 R 5 2 3 12 F #6f716d R 8 2 3 12 F #b0b2ad R 11 2 3 12 F w R 1.5 1.5 13 13 S k 1"},
    {177, 16, 16, make_icon, nullptr,                                                   // swap channels
     "R 1.5 1.5 4 7 F r R 6 1.5 4 7 F e R 10.5 1.5 4 7 F b M 3.5 12.5 L 12.5 12.5 S k 1.3 "
     "M 1.5 12.5 L 4 10.3 L 4 14.7 Z M 14.5 12.5 L 12 10.3 L 12 14.7 Z F k"},
    {178, 16, 16, make_icon, nullptr,                                                   // colorize: a drop
     "M 8 1.5 C 6 5 3.5 8 3.5 10.5 C 3.5 13 5.5 15 8 15 C 10.5 15 12.5 13 12.5 10.5 C 12.5 8 10 5 8 1.5 Z "
     "B o k 1 O 6.3 11 1.2 F #ffffffaa"},
    {179, 16, 16, make_icon, nullptr, "O 8 8 6.5 B w k 1 M 8 1.5 A 8 8 6.5 -90 90 Z F k"},  // invert
    {180, 16, 16, make_icon, nullptr,                                                   // colour balance
     "R 2 6 3 8 F r R 6.5 2 3 12 F e R 11 9 3 5 F b M 1 14.5 L 15 14.5 S k 1"},
    {181, 16, 16, make_icon, nullptr,                                                   // erase a colour
     "M 1.5 10.5 L 8 4 L 14 10 L 9.5 14.5 L 5.5 14.5 Z B #f4a6b8 k 1 M 4.8 7.2 L 11 13.2 S k 1"},
    {182, 16, 16, make_icon, nullptr, CHECKER "R 6 6 8 8 F #3465a499"},                 // opacity
    {183, 16, 16, make_icon, nullptr,                                                   // brightness: sun
     "O 8 8 3.5 B y Y 1 M 8 0.8 L 8 2.6 M 8 13.4 L 8 15.2 M 0.8 8 L 2.6 8 M 13.4 8 L 15.2 8 "
     "M 2.9 2.9 L 4.2 4.2 M 11.8 11.8 L 13.1 13.1 M 2.9 13.1 L 4.2 11.8 M 11.8 4.2 L 13.1 2.9 S Y 1.5"},
    {184, 16, 16, make_icon, nullptr,                                                   // posterize
     "M 1.5 14.5 L 1.5 10.5 L 5.5 10.5 L 5.5 6.5 L 9.5 6.5 L 9.5 2.5 L 14.5 2.5 L 14.5 14.5 Z B B b 1"},
    {185, 16, 16, make_icon, nullptr,                                                   // noise
     "R 1.5 1.5 13 13 B w k 1 R 3 3 2 2 R 8 4 2 2 R 10 8 2 2 R 3 11 2 2 R 11 11 2 2 F d "
     "R 11 3 2 2 R 5 7 2 2 R 7 11 2 2 R 7 8 1 1 F g"},
    {186, 16, 16, make_icon, nullptr, CHECKER "R 5.5 5.5 8 8 B b k 1"},                 // make opaque
    {214, 1280, 1280, make_stipple},
    {215, 360, 19, make_hue_bar},
    {216, 240, 240, make_icon, nullptr,  // a project without a picture
     "R 0 0 240 240 F #a0a0a0 R 50.5 60.5 139 109 S #d0d0d0 5 "
     "M 53 167 L 53 140 L 95 100 L 130 135 L 150 115 L 187 150 L 187 167 Z F #c4c4c4 O 155 88 12 F #c4c4c4"},
};

}  // namespace

void cairo_to_rgba(Image& image) {
  for (uint8_t* px = image.pixels.data(), *end = px + image.pixels.size(); px != end; px += 4) {
    uint32_t v;
    std::memcpy(&v, px, 4);
    uint32_t a = v >> 24, r = v >> 16 & 255, g = v >> 8 & 255, b = v & 255;
    if (a != 255 && a != 0) {
      r = std::min((r * 255 + a / 2) / a, 255u);
      g = std::min((g * 255 + a / 2) / a, 255u);
      b = std::min((b * 255 + a / 2) / a, 255u);
    }
    px[0] = uint8_t(r);
    px[1] = uint8_t(g);
    px[2] = uint8_t(b);
    px[3] = uint8_t(a);
  }
}

std::span<const BuiltinPicture> builtin_pictures() { return kPictures; }

void load_builtin_pictures() {
  for (const BuiltinPicture& p : kPictures) imaging::adopt_image(p.number, p.make(p));
  Image preview(100, 100);
  for (size_t i = 3; i < preview.pixels.size(); i += 4) preview.pixels[i] = 255;
  imaging::adopt_image(kEmptyPreviewImage, std::move(preview));
}
