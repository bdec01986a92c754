// The pixel rules of the colour effects, transforms and size changes, on
// small pictures with known results.
#include "maker/graphics/pixel_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

using effects::Pixel;
using imaging::rgba;

namespace {

// A w x h picture whose pixel (x, y) is colour(x, y).
imaging::Image picture(int w, int h, const std::function<imaging::Colour(int, int)>& colour) {
  imaging::Image image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) imaging::set_pixel(image, x, y, colour(x, y));
  return image;
}
// Every pixel different and opaque: red = x, green = y.
imaging::Image numbered(int w, int h) {
  return picture(w, h, [](int x, int y) { return rgba(x, y, 7); });
}
effects::Channels channels(const imaging::Image& image) {
  effects::Channels c;
  effects::read_channels(image, c);
  return c;
}
imaging::Colour at(const imaging::Image& image, int x, int y) { return imaging::get_pixel(image, x, y); }

struct PixelCase {
  const char* what;
  std::function<Pixel(Pixel)> rule;
  Pixel in, out;
};

}  // namespace

TEST(PixelRules, ReadingSplitsThePictureIntoChannelsRowByRow) {
  imaging::Image image = picture(3, 2, [](int x, int y) { return rgba(x, y, 200, x == 2 ? 0 : 255); });
  effects::Channels c = channels(image);
  ASSERT_EQ(c.w, 3);
  ASSERT_EQ(c.h, 2);
  EXPECT_EQ(c.r, (std::vector<uint8_t>{0, 1, 2, 0, 1, 2}));
  EXPECT_EQ(c.g, (std::vector<uint8_t>{0, 0, 0, 1, 1, 1}));
  EXPECT_EQ(c.a, (std::vector<uint8_t>{255, 255, 0, 255, 255, 0}));
  // The same buffers read a smaller picture without keeping old bytes.
  effects::read_channels(imaging::Image(1, 1), c);
  EXPECT_EQ(c.r.size(), 1u);
  EXPECT_EQ(c.a[0], 0);
}

TEST(PixelRules, RoundingAndTypedNumbers) {
  struct {
    float x;
    int rounded;
  } roundings[] = {{0.5f, 1}, {1.49f, 1}, {2.5f, 3}, {-0.5f, -1}, {-2.5f, -3}, {-2.4f, -2}, {0, 0},
                   {3e10f, 2147483647}, {-3e10f, -2147483647 - 1}};
  for (auto c : roundings) EXPECT_EQ(effects::round_nearest(c.x), c.rounded) << c.x;

  struct {
    const char* text;
    double number;
  } decimals[] = {{"64", 64}, {" 12.5", 12.5}, {"-0.25x", -0.25}, {".5", 0.5}, {"1.2.3", 1.2},
                  {"", 0}, {"x1", 0}};
  for (auto c : decimals) EXPECT_DOUBLE_EQ(effects::typed_decimal(c.text), c.number) << c.text;
}

TEST(PixelRules, LumaAndHue) {
  EXPECT_EQ(effects::luma(255, 255, 255), 255);
  EXPECT_EQ(effects::luma(255, 0, 0), 54);
  EXPECT_EQ(effects::luma(0, 255, 0), 182);
  EXPECT_EQ(effects::luma(0, 0, 255), 18);
  EXPECT_EQ(effects::luma(0, 0, 0), 0);
  EXPECT_EQ(effects::luma(54, 54, 54), 54);

  struct {
    int degrees;
    float r, g, b;
  } hues[] = {{0, 1, 0, 0}, {60, 1, 1, 0}, {120, 0, 1, 0}, {180, 0, 1, 1},
              {240, 0, 0, 1}, {300, 1, 0, 1}, {30, 1, 0.5f, 0}};
  for (auto c : hues) {
    effects::HueColour h = effects::hue_colour(c.degrees);
    EXPECT_FLOAT_EQ(h.r, c.r) << c.degrees;
    EXPECT_FLOAT_EQ(h.g, c.g) << c.degrees;
    EXPECT_FLOAT_EQ(h.b, c.b) << c.degrees;
  }
  // The last degree stays in the last sixth and inside 0..1.
  effects::HueColour last = effects::hue_colour(359);
  EXPECT_EQ(last.r, 1);
  EXPECT_EQ(last.g, 0);
  EXPECT_GT(last.b, 0);
  EXPECT_LT(last.b, 0.1f);
}

TEST(PixelRules, ColourEffectsOnOnePixel) {
  using namespace effects;
  const PixelCase cases[] = {
      {"grayscale red", grayscale, {255, 0, 0, 9}, {54, 54, 54, 9}},
      {"grayscale green", grayscale, {0, 255, 0, 255}, {182, 182, 182, 255}},
      {"grayscale white", grayscale, {255, 255, 255, 0}, {255, 255, 255, 0}},
      {"invert", invert, {0, 100, 255, 77}, {255, 155, 0, 77}},
      {"make opaque", make_opaque, {0, 0, 0, 0}, {0, 0, 0, 255}},
      {"brightness 0", [](Pixel p) { return brightness(p, 0); }, {0, 128, 255, 5}, {0, 128, 255, 5}},
      {"brightness 255", [](Pixel p) { return brightness(p, 255); }, {0, 128, 255, 5}, {255, 255, 255, 5}},
      {"brightness -255", [](Pixel p) { return brightness(p, -255); }, {0, 128, 255, 5}, {0, 0, 0, 5}},
      {"brightness 10", [](Pixel p) { return brightness(p, 10); }, {0, 250, 100, 255}, {10, 255, 110, 255}},
      {"balance", [](Pixel p) { return color_balance(p, 100, 0, -100); }, {200, 50, 50, 1}, {255, 50, 0, 1}},
      {"hue 0", [](Pixel p) { return colorize(p, hue_colour(0)); }, {200, 100, 50, 3}, {200, 0, 0, 3}},
      {"hue 60", [](Pixel p) { return colorize(p, hue_colour(60)); }, {200, 100, 50, 3}, {200, 100, 0, 3}},
      {"hue 120", [](Pixel p) { return colorize(p, hue_colour(120)); }, {200, 100, 50, 3}, {0, 100, 0, 3}},
      // Halves go to the even whole number.
      {"hue 30 255", [](Pixel p) { return colorize(p, hue_colour(30)); }, {255, 255, 9, 3}, {255, 128, 0, 3}},
      {"hue 30 1", [](Pixel p) { return colorize(p, hue_colour(30)); }, {1, 1, 0, 0}, {1, 0, 0, 0}},
      {"hue 30 3", [](Pixel p) { return colorize(p, hue_colour(30)); }, {3, 3, 0, 0}, {3, 2, 0, 0}},
      {"RBG", [](Pixel p) { return swap_channels(p, 0); }, {10, 20, 30, 40}, {10, 30, 20, 40}},
      {"GRB", [](Pixel p) { return swap_channels(p, 1); }, {10, 20, 30, 40}, {20, 10, 30, 40}},
      {"GBR", [](Pixel p) { return swap_channels(p, 2); }, {10, 20, 30, 40}, {20, 30, 10, 40}},
      {"BRG", [](Pixel p) { return swap_channels(p, 3); }, {10, 20, 30, 40}, {30, 10, 20, 40}},
      {"BGR", [](Pixel p) { return swap_channels(p, 4); }, {10, 20, 30, 40}, {30, 20, 10, 40}},
      {"opacity 50 of 255", [](Pixel p) { return opacity(p, 50); }, {1, 2, 3, 255}, {1, 2, 3, 128}},
      {"opacity 50 of 3", [](Pixel p) { return opacity(p, 50); }, {1, 2, 3, 3}, {1, 2, 3, 2}},
      {"opacity 1 of 255", [](Pixel p) { return opacity(p, 1); }, {1, 2, 3, 255}, {1, 2, 3, 3}},
      {"opacity 1 of 1", [](Pixel p) { return opacity(p, 1); }, {1, 2, 3, 1}, {1, 2, 3, 1}},
      {"opacity 0", [](Pixel p) { return opacity(p, 0); }, {1, 2, 3, 255}, {1, 2, 3, 0}},
      {"posterize 50", [](Pixel p) { return posterize(p, 50); }, {124, 125, 255, 8}, {100, 150, 250, 8}},
      {"posterize 2", [](Pixel p) { return posterize(p, 2); }, {255, 3, 0, 8}, {255, 4, 0, 8}},
      {"posterize 120", [](Pixel p) { return posterize(p, 120); }, {59, 60, 255, 8}, {0, 120, 240, 8}},
      {"noise 1", [](Pixel p) { return add_noise(p, 1); }, {0, 254, 255, 8}, {1, 255, 255, 8}},
      {"noise 101", [](Pixel p) { return add_noise(p, 101); }, {200, 10, 0, 0}, {255, 111, 101, 0}},
      {"erase black, black", [](Pixel p) { return erase_color(p, 0, 0); }, {1, 0, 3, 255}, {0, 0, 0, 0}},
      {"erase black, grey", [](Pixel p) { return erase_color(p, 0, 0); }, {1, 1, 1, 255}, {1, 1, 1, 255}},
      {"erase red, grey", [](Pixel p) { return erase_color(p, 54, 0); }, {54, 54, 54, 255}, {0, 0, 0, 0}},
      {"erase within 10", [](Pixel p) { return erase_color(p, 100, 10); }, {110, 110, 110, 9}, {0, 0, 0, 0}},
      {"erase beyond 10", [](Pixel p) { return erase_color(p, 100, 10); }, {111, 111, 111, 9}, {111, 111, 111, 9}},
      {"erase all", [](Pixel p) { return erase_color(p, 0, 255); }, {255, 255, 255, 255}, {0, 0, 0, 0}},
  };
  for (const PixelCase& c : cases) EXPECT_EQ(c.rule(c.in), c.out) << c.what;
}

TEST(PixelRules, OpacityAtFullKeepsEveryAlphaAndInvertTwiceRestores) {
  for (int a = 0; a < 256; ++a) {
    EXPECT_EQ(effects::opacity({1, 2, 3, a}, 100).a, a) << a;
    for (int v : {0, 1, 127, 255}) {
      Pixel p{v, 255 - v, v / 2, a};
      EXPECT_EQ(effects::invert(effects::invert(p)), p);
    }
  }
}

TEST(PixelRules, ResultsWithNoAlphaAreStoredAsTransparentBlack) {
  imaging::Image source = picture(3, 1, [](int x, int) { return rgba(10, 20, 30, x * 100); });
  effects::Channels c = channels(source);
  struct {
    const char* what;
    std::function<Pixel(Pixel)> rule;
    imaging::Colour first, second;
  } cases[] = {
      {"invert", effects::invert, rgba(0, 0, 0, 0), rgba(245, 235, 225, 100)},
      {"make opaque", effects::make_opaque, rgba(10, 20, 30, 255), rgba(10, 20, 30, 255)},
      {"opacity 0", [](Pixel p) { return effects::opacity(p, 0); }, rgba(0, 0, 0, 0), rgba(0, 0, 0, 0)},
  };
  for (const auto& k : cases) {
    imaging::Image out = effects::map_colours(c, [&](Pixel p, int, int) { return k.rule(p); });
    EXPECT_EQ(at(out, 0, 0), k.first) << k.what;
    EXPECT_EQ(at(out, 1, 0), k.second) << k.what;
  }
  // Make opaque after an effect stored transparent black shows black.
  effects::Channels erased = channels(effects::map_colours(c, [](Pixel p, int, int) { return effects::opacity(p, 0); }));
  imaging::Image shown = effects::map_colours(erased, [](Pixel p, int, int) { return effects::make_opaque(p); });
  EXPECT_EQ(at(shown, 2, 0), rgba(0, 0, 0, 255));
}

TEST(PixelRules, MirrorAndRotateMapEveryPosition) {
  struct Case {
    const char* what;
    int w, h;
    std::function<imaging::Image(const effects::Channels&)> transform;
    // Where the source pixel (x, y) ends up, or {-1, -1} when it is lost.
    std::function<std::pair<int, int>(int, int)> target;
  } cases[] = {
      {"mirror none", 3, 2, [](auto& c) { return effects::mirrored(c, false, false); },
       [](int x, int y) { return std::pair{x, y}; }},
      {"mirror h", 3, 2, [](auto& c) { return effects::mirrored(c, true, false); },
       [](int x, int y) { return std::pair{2 - x, y}; }},
      {"mirror v", 3, 2, [](auto& c) { return effects::mirrored(c, false, true); },
       [](int x, int y) { return std::pair{x, 1 - y}; }},
      {"mirror both 1x1", 1, 1, [](auto& c) { return effects::mirrored(c, true, true); },
       [](int, int) { return std::pair{0, 0}; }},
      {"rotate 0", 4, 3, [](auto& c) { return effects::rotated(c, 0); },
       [](int x, int y) { return std::pair{x, y}; }},
      {"rotate 180 odd", 5, 3, [](auto& c) { return effects::rotated(c, 180); },
       [](int x, int y) { return std::pair{4 - x, 2 - y}; }},
      {"rotate 90 square", 3, 3, [](auto& c) { return effects::rotated(c, 90); },
       // result (x, y) takes source (1 + 1 - y, 1 + x - 1) = (2 - y, x)
       [](int x, int y) { return std::pair{y, 2 - x}; }},
      {"rotate 270 square", 3, 3, [](auto& c) { return effects::rotated(c, 270); },
       [](int x, int y) { return std::pair{2 - y, x}; }},
      {"rotate 90 1x1", 1, 1, [](auto& c) { return effects::rotated(c, 90); },
       [](int, int) { return std::pair{0, 0}; }},
  };
  for (const Case& c : cases) {
    imaging::Image source = numbered(c.w, c.h);
    imaging::Image out = c.transform(channels(source));
    ASSERT_EQ(out.width, c.w) << c.what;
    ASSERT_EQ(out.height, c.h) << c.what;
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) {
        auto [tx, ty] = c.target(x, y);
        EXPECT_EQ(at(out, tx, ty), at(source, x, y)) << c.what << " " << x << "," << y;
      }
  }
}

TEST(PixelRules, RotateOfAFrameThatIsNotSquareCutsTheCorners) {
  imaging::Image source = numbered(4, 2);
  imaging::Image out = effects::rotated(channels(source), 90);
  // cx = 2, cy = 1: result (x, y) takes source (3 - y, x - 1).
  struct {
    int x, y;
    imaging::Colour colour;
  } cases[] = {{0, 0, 0}, {0, 1, 0}, {1, 0, rgba(3, 0, 7)}, {1, 1, rgba(2, 0, 7)},
               {2, 0, rgba(3, 1, 7)}, {2, 1, rgba(2, 1, 7)}, {3, 0, 0}, {3, 1, 0}};
  for (auto c : cases) EXPECT_EQ(at(out, c.x, c.y), c.colour) << c.x << "," << c.y;
  // Mirror with both boxes on equals a half turn on odd sizes.
  imaging::Image odd = numbered(5, 7);
  EXPECT_EQ(effects::mirrored(channels(odd), true, true).pixels, effects::rotated(channels(odd), 180).pixels);
}

// Quarter turns and mirrors against the plain per-pixel rule, on odd, even
// and one-pixel sides and on sides past one block of the walk, with pixels of
// alpha 0 (and colour left in them) among the others.
TEST(PixelRules, QuarterTurnsAndMirrorsMatchThePlainRule) {
  const std::pair<int, int> sizes[] = {{1, 1}, {1, 6}, {7, 1}, {5, 3}, {4, 7}, {6, 6}, {65, 130}, {131, 67}};
  for (auto [w, h] : sizes) {
    imaging::Image source = picture(w, h, [](int x, int y) {
      return rgba(x * 5 & 255, y * 3 & 255, (x + y) & 255, (x * 7 + y) % 5 == 0 ? 0 : 100 + (x + y) % 100);
    });
    // The source pixel as a result shows it: outside or alpha 0 is transparent black.
    auto shown = [&](int sx, int sy) -> imaging::Colour {
      if (sx < 0 || sx >= w || sy < 0 || sy >= h) return 0;
      const imaging::Colour p = at(source, sx, sy);
      return imaging::alpha(p) ? p : 0;
    };
    const effects::Channels c = channels(source);
    for (int degrees : {0, 90, 180, 270}) {
      imaging::Image out = effects::rotated(c, degrees);
      const float a = float(degrees) * 3.14159265f / 180.0f;
      const float cos_a = std::cos(a), sin_a = std::sin(a);
      const int cx = w / 2, cy = h / 2;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const float dx = float(x - cx), dy = float(y - cy);
          const int sx = effects::round_nearest(float(cx) + dx * cos_a - dy * sin_a);
          const int sy = effects::round_nearest(float(cy) + dx * sin_a + dy * cos_a);
          ASSERT_EQ(at(out, x, y), shown(sx, sy)) << w << "x" << h << " rotate " << degrees << " at " << x << "," << y;
        }
    }
    for (bool horizontally : {false, true})
      for (bool vertically : {false, true}) {
        imaging::Image out = effects::mirrored(c, horizontally, vertically);
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x)
            ASSERT_EQ(at(out, x, y), shown(horizontally ? w - 1 - x : x, vertically ? h - 1 - y : y))
                << w << "x" << h << " mirror " << horizontally << vertically << " at " << x << "," << y;
      }
  }
}

TEST(PixelRules, ShiftMovesAndWraps) {
  imaging::Image source = numbered(4, 3);
  struct Case {
    int dx, dy;
    bool wrap_x, wrap_y;
    std::function<imaging::Colour(int, int)> expected;
  } cases[] = {
      {0, 0, false, false, [&](int x, int y) { return at(source, x, y); }},
      {1, 2, false, false, [&](int x, int y) { return x >= 1 && y >= 2 ? at(source, x - 1, y - 2) : 0; }},
      {-1, 0, false, false, [&](int x, int y) { return x < 3 ? at(source, x + 1, y) : 0; }},
      {4, 0, false, false, [](int, int) { return 0u; }},
      {4, 0, true, false, [&](int x, int y) { return at(source, x, y); }},
      {-4, -3, true, true, [&](int x, int y) { return at(source, x, y); }},
      {1, -1, true, false, [&](int x, int y) { return y < 2 ? at(source, (x + 3) % 4, y + 1) : 0; }},
      {1, -1, true, true, [&](int x, int y) { return at(source, (x + 3) % 4, (y + 1) % 3); }},
  };
  for (const Case& c : cases) {
    imaging::Image out = effects::shifted(source, c.dx, c.dy, c.wrap_x, c.wrap_y);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x)
        EXPECT_EQ(at(out, x, y), c.expected(x, y)) << c.dx << "," << c.dy << " at " << x << "," << y;
  }
  // Each of the nine copies is blended once: a wrapped corner keeps its opacity.
  imaging::Image half = picture(2, 2, [](int x, int y) { return x + y == 0 ? rgba(200, 0, 0, 128) : 0u; });
  imaging::Image out = effects::shifted(half, 1, 1, true, true);
  EXPECT_EQ(at(out, 1, 1), rgba(200, 0, 0, 128));
  EXPECT_EQ(at(out, 0, 0), 0u);
}

TEST(PixelRules, ScaleAboutTheCentreCutsAtTheEdges) {
  imaging::Image source = numbered(4, 4);
  struct Case {
    double p, q;
    std::function<imaging::Colour(int, int)> expected;
  } cases[] = {
      {100, 100, [&](int x, int y) { return at(source, x, y); }},
      // Twice as wide: 8 x 4 at (-2, 0), every source column doubled.
      {200, 100, [&](int x, int y) { return at(source, (x + 2) / 2, y); }},
      // Half size: 2 x 2 at (1, 1).
      {50, 50, [&](int x, int y) {
         return x >= 1 && x < 3 && y >= 1 && y < 3 ? at(source, (x - 1) * 2 + 1, (y - 1) * 2 + 1) : 0u;
       }},
      // Below one pixel: nothing is drawn.
      {10, 100, [](int, int) { return 0u; }},
  };
  for (const Case& c : cases) {
    imaging::Image out = effects::scaled_about_centre(source, c.p, c.q);
    ASSERT_EQ(out.width, 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(at(out, x, y), c.expected(x, y)) << c.p << " " << x << "," << y;
  }
}

TEST(PixelRules, NewCanvasCentresThePictureUnscaled) {
  struct Case {
    int w, h, new_w, new_h, left, top;
  } cases[] = {
      {32, 32, 64, 48, 16, 8},
      {33, 33, 32, 32, 0, 0},   // the last column and row are cut
      {3, 3, 6, 6, 2, 2},       // odd difference: the extra border on the left and top
      {4, 4, 1, 1, -2, -2},
      {1, 1, 1, 1, 0, 0},
      {5, 1, 2, 9, -1, 4},
  };
  for (const Case& c : cases) {
    imaging::Image source = numbered(c.w, c.h);
    imaging::Image out = effects::on_new_canvas(source, c.new_w, c.new_h);
    ASSERT_EQ(out.width, c.new_w);
    ASSERT_EQ(out.height, c.new_h);
    for (int y = 0; y < c.new_h; ++y)
      for (int x = 0; x < c.new_w; ++x) {
        const int sx = x - c.left, sy = y - c.top;
        const bool inside = sx >= 0 && sx < c.w && sy >= 0 && sy < c.h;
        EXPECT_EQ(at(out, x, y), inside ? at(source, sx, sy) : 0u) << c.w << "->" << c.new_w << " " << x << "," << y;
      }
  }
}

TEST(PixelRules, AspectRatioGivesTheOtherSide) {
  struct {
    const char* typed;
    int side, other;
    const char* result;
  } cases[] = {{"64", 32, 16, "32"}, {"16", 32, 16, "8"}, {"", 32, 16, "0"}, {"10", 3, 1, "3"},
               {"5", 2, 1, "3"},  // 2.5 to the nearest, away from zero
               {"99999999999999999999999999", 1, 1, "1000000000000000"}, {"7", 0, 5, "5"}};
  for (auto c : cases) EXPECT_EQ(effects::aspect_side(c.typed, c.side, c.other), c.result) << c.typed;
}
