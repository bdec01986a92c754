#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "imaging/draw.h"

using namespace imaging;

namespace {

Image filled(int w, int h, Colour c) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) set_pixel(img, x, y, c);
  return img;
}

// The pixels of img equal to c, as a picture: '#' for c, '.' otherwise.
std::string mask(const Image& img, Colour c) {
  std::string s;
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) s += get_pixel(img, x, y) == c ? '#' : '.';
    s += '\n';
  }
  return s;
}

const Colour kWhite = rgba(255, 255, 255);

TEST(Blend, MatchesTheExactFormulaForEveryAlphaPair) {
  const int colours[][2] = {{0, 255}, {255, 0}, {17, 200}, {128, 127}, {3, 4}};
  for (int sa = 0; sa < 256; ++sa) {
    for (int da = 0; da < 256; ++da) {
      for (auto& c : colours) {
        const int sc = c[0], dc = c[1];
        const Colour got = blend(rgba(dc, dc, dc, da), rgba(sc, sc, sc, sa));
        if (sa == 0) {
          ASSERT_EQ(got, rgba(dc, dc, dc, da));
          continue;
        }
        const int64_t a = sa * 255 + da * (255 - sa);
        const int64_t num = int64_t(sc) * sa * 255 + int64_t(dc) * da * (255 - sa);
        const int want_c = int((2 * num + a) / (2 * a));
        const int want_a = int(std::lround(a / 255.0));
        ASSERT_EQ(got, rgba(want_c, want_c, want_c, want_a)) << "sa " << sa << " da " << da << " sc " << sc
                                                           << " dc " << dc;
      }
    }
  }
}

TEST(Blend, KeyCases) {
  struct Case {
    Colour d, s, want;
  } cases[] = {
      {rgba(1, 2, 3, 4), rgba(9, 9, 9, 0), rgba(1, 2, 3, 4)},            // transparent source: no change
      {rgba(1, 2, 3, 4), rgba(9, 8, 7, 255), rgba(9, 8, 7, 255)},        // opaque source replaces
      {rgba(0, 0, 0, 0), rgba(9, 8, 7, 3), rgba(9, 8, 7, 3)},            // onto transparent: source as is
      {rgba(0, 0, 0, 255), rgba(255, 255, 255, 128), rgba(128, 128, 128, 255)},
      {rgba(255, 0, 0, 128), rgba(0, 0, 255, 128), rgba(85, 0, 170, 192)},
  };
  for (auto& c : cases) EXPECT_EQ(blend(c.d, c.s), c.want) << std::hex << c.d << " " << c.s;
}

TEST(Blend, Mul255RoundsToNearest) {
  for (int x = 0; x < 256; ++x)
    for (int y = 0; y < 256; ++y) ASSERT_EQ(mul255(x, y), int(std::lround(x * y / 255.0))) << x << " " << y;
}

TEST(Canvas, FreshCanvasDrawsOpaqueWhiteInCopyMode) {
  Image img = filled(2, 1, rgba(10, 10, 10, 10));
  Canvas c(img);
  EXPECT_EQ(c.mode(), Mode::Copy);
  c.point(0, 0);
  EXPECT_EQ(get_pixel(img, 0, 0), kWhite);
  EXPECT_EQ(get_pixel(img, 1, 0), rgba(10, 10, 10, 10));
}

TEST(Canvas, ModesOnABox) {
  const Colour base = rgba(100, 50, 0, 128);
  const Colour ink = rgba(200, 64, 64, 150);
  struct Case {
    Mode mode;
    Colour want;
  } cases[] = {
      {Mode::Copy, ink},
      {Mode::Alpha, blend(base, ink)},
      {Mode::Xor, rgba(100 ^ 200, 50 ^ 64, 0 ^ 64, 128)},  // alpha of the pixel kept
  };
  for (auto& k : cases) {
    Image img = filled(3, 3, base);
    Canvas c(img);
    c.set_mode(k.mode);
    c.set_colour(ink);
    c.box(1, 1, 2, 2);
    EXPECT_EQ(mask(img, k.want), "...\n.##\n.##\n") << int(k.mode);
    EXPECT_EQ(get_pixel(img, 0, 0), base);
  }
}

TEST(Canvas, XorTwiceRestores) {
  Image img(4, 4);
  for (int i = 0; i < 16; ++i) set_pixel(img, i % 4, i / 4, rgba(i * 13, i * 7, 255 - i, i * 16));
  const Image before = img;
  Canvas c(img);
  c.set_mode(Mode::Xor);
  c.set_colour(rgba(200, 64, 64, 150));
  for (int pass = 0; pass < 2; ++pass) {
    c.box(-1, -1, 6, 6);
    c.line(0, 0, 3, 2);
    c.circle(2, 2, 1);
    c.draw_image(before, 1, 1);
  }
  EXPECT_EQ(img.pixels, before.pixels);
}

TEST(Canvas, BoxClipsAndNegativeSizesExtendLeftAndUp) {
  struct Case {
    int x, y, w, h;
    const char* want;
  } cases[] = {
      {-2, -2, 4, 3, "##..\n....\n....\n"},
      {3, 2, 5, 5, "....\n....\n...#\n"},
      {2, 2, -2, -1, "....\n##..\n....\n"},
      {1, 0, 0, 3, "....\n....\n....\n"},
      {-2000000000, 1, 2147483647, 1, "....\n####\n....\n"},
      {5, 5, 1, 1, "....\n....\n....\n"},
  };
  for (auto& k : cases) {
    Image img(4, 3);
    Canvas(img).box(k.x, k.y, k.w, k.h);
    EXPECT_EQ(mask(img, kWhite), k.want) << k.x << "," << k.y << " " << k.w << "x" << k.h;
  }
}

TEST(Canvas, LinesIncludeBothEndsAndRunEitherWay) {
  struct Case {
    int x1, y1, x2, y2;
    const char* want;
  } cases[] = {
      {0, 0, 4, 0, "#####\n.....\n.....\n"},
      {4, 2, 4, 0, "....#\n....#\n....#\n"},
      {0, 0, 2, 2, "#....\n.#...\n..#..\n"},
      // halfway steps round away from the start point
      {4, 0, 0, 2, "....#\n..##.\n##...\n"},
      {0, 2, 4, 0, "...##\n.##..\n#....\n"},
      {2, 1, 2, 1, ".....\n..#..\n.....\n"},
      {-3, 1, 7, 1, ".....\n#####\n.....\n"},  // clipped both sides
      {-10, -10, -1, -1, ".....\n.....\n.....\n"},
  };
  for (auto& k : cases) {
    Image img(5, 3);
    Canvas(img).line(k.x1, k.y1, k.x2, k.y2);
    EXPECT_EQ(mask(img, kWhite), k.want) << k.x1 << "," << k.y1 << " -> " << k.x2 << "," << k.y2;
  }
}

TEST(Canvas, HugeLinesOnlyWalkTheVisiblePart) {
  Image img(8, 8);
  Canvas c(img);
  const auto t0 = std::chrono::steady_clock::now();
  c.line(-2000000000, 3, 2000000000, 3);
  c.line(5, -2147483647 - 1, 5, 2147483647);
  c.line(-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_LT(seconds, 0.5);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(get_pixel(img, i, 3), kWhite);
    EXPECT_EQ(get_pixel(img, 5, i), kWhite);
    EXPECT_EQ(get_pixel(img, i, i), kWhite);
  }
}

TEST(Canvas, AlphaShapesBlendEachPixelOnce) {
  const Colour ink = rgba(0, 255, 0, 130);
  Image img(20, 20);
  Canvas c(img);
  c.set_mode(Mode::Alpha);
  c.set_colour(ink);
  c.line(0, 0, 19, 7);
  c.line(0, 19, 3, 10);
  c.circle(12, 12, 5);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const Colour p = get_pixel(img, x, y);
      EXPECT_TRUE(p == 0 || p == ink || p == blend(ink, ink)) << x << "," << y;
    }
  int overlaps = 0;
  for (int i = 0; i < 400; ++i) overlaps += get_pixel(img, i % 20, i / 20) == blend(ink, ink);
  EXPECT_EQ(overlaps, 0);  // the shapes above do not touch each other
}

TEST(Canvas, CirclesCoverTheDisc) {
  Image img(7, 7);
  Canvas c(img);
  c.circle(3, 3, 0);
  EXPECT_EQ(mask(img, kWhite), ".......\n.......\n.......\n...#...\n.......\n.......\n.......\n");
  c.circle(3, 3, 2);
  EXPECT_EQ(mask(img, kWhite), ".......\n...#...\n..###..\n.#####.\n..###..\n...#...\n.......\n");
  Image edge(4, 4);
  Canvas(edge).circle(-1, 0, 2);  // centre outside the picture
  EXPECT_EQ(mask(edge, kWhite), "##..\n#...\n....\n....\n");
  Image none(4, 4);
  Canvas(none).circle(1, 1, -1);
  Canvas(none).circle(100, 100, 50);
  EXPECT_EQ(mask(none, 0), "####\n####\n####\n####\n");
}

TEST(Canvas, UnknownNumberDrawsNothing) {
  free_all_images();
  Canvas c(12345);
  EXPECT_EQ(c.target(), nullptr);
  c.point(0, 0);
  c.box(0, 0, 5, 5);
  c.line(0, 0, 3, 3);
  c.circle(1, 1, 1);
  c.draw_image(Image(2, 2), 0, 0);
  Image img(2, 2);
  Canvas(img).draw_image(12345, 0, 0);
  EXPECT_EQ(mask(img, 0), "##\n##\n");
}

TEST(DrawImage, ClipsAtEveryEdge) {
  Image src(3, 2);
  for (int i = 0; i < 6; ++i) set_pixel(src, i % 3, i / 3, rgba(i + 1, 0, 0));
  struct Case {
    int x, y;
    const char* want;  // red value per target pixel
  } cases[] = {
      {0, 0, "1230|4560|0000"},
      {-1, -1, "5600|0000|0000"},
      {2, 2, "0000|0000|0012"},
      {-3, 0, "0000|0000|0000"},
      {4, 0, "0000|0000|0000"},
      {1, -2, "0000|0000|0000"},
  };
  for (auto& k : cases) {
    Image dst(4, 3);
    Canvas(dst).draw_image(src, k.x, k.y);
    std::string got;
    for (int y = 0; y < 3; ++y) {
      if (y) got += '|';
      for (int x = 0; x < 4; ++x) got += char('0' + red(get_pixel(dst, x, y)));
    }
    EXPECT_EQ(got, k.want) << k.x << "," << k.y;
  }
}

TEST(DrawImage, ModesAndOpacity) {
  const Colour base = rgba(0, 0, 255, 255);
  const Colour px = rgba(255, 0, 0, 200);
  const Image src = filled(1, 1, px);
  struct Case {
    Mode mode;
    int opacity;
    Colour want;
  } cases[] = {
      {Mode::Copy, 255, px},
      {Mode::Copy, 100, rgba(255, 0, 0, mul255(200, 100))},
      {Mode::Alpha, 255, blend(base, px)},
      {Mode::Alpha, 100, blend(base, rgba(255, 0, 0, mul255(200, 100)))},
      {Mode::Alpha, 0, base},
      {Mode::Alpha, -5, base},
      {Mode::Alpha, 999, blend(base, px)},
      {Mode::Xor, 255, rgba(255, 0, 255, 255)},
  };
  for (auto& k : cases) {
    Image dst = filled(1, 1, base);
    Canvas c(dst);
    c.set_mode(k.mode);
    c.draw_image(src, 0, 0, k.opacity);
    EXPECT_EQ(get_pixel(dst, 0, 0), k.want) << int(k.mode) << " opacity " << k.opacity;
  }
}

TEST(DrawImage, AlphaOntoTransparentKeepsTheSourceAndSkipsAlphaZero) {
  Image src(3, 1);
  set_pixel(src, 0, 0, rgba(10, 20, 30, 1));
  set_pixel(src, 1, 0, rgba(99, 99, 99, 0));
  set_pixel(src, 2, 0, rgba(1, 2, 3, 255));
  Image dst(3, 1);
  Canvas c(dst);
  c.set_mode(Mode::Alpha);
  c.draw_image(src, 0, 0);
  EXPECT_EQ(get_pixel(dst, 0, 0), rgba(10, 20, 30, 1));
  EXPECT_EQ(get_pixel(dst, 1, 0), 0u);
  EXPECT_EQ(get_pixel(dst, 2, 0), rgba(1, 2, 3, 255));
}

TEST(DrawImage, OntoItself) {
  Image img(3, 1);
  for (int x = 0; x < 3; ++x) set_pixel(img, x, 0, rgba(x + 1, 0, 0));
  Canvas(img).draw_image(img, 1, 0);
  EXPECT_EQ(red(get_pixel(img, 0, 0)), 1);
  EXPECT_EQ(red(get_pixel(img, 1, 0)), 1);
  EXPECT_EQ(red(get_pixel(img, 2, 0)), 2);
}

std::vector<int> reds(const Image& img) {
  std::vector<int> v;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) v.push_back(red(get_pixel(img, x, y)));
  return v;
}

TEST(Scale, NearestPicksCentres) {
  Image src(2, 2);
  for (int i = 0; i < 4; ++i) set_pixel(src, i % 2, i / 2, rgba(i + 1, 0, 0));
  EXPECT_EQ(reds(scaled(src, 4, 4, Filter::Nearest)),
            (std::vector<int>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
  EXPECT_EQ(reds(scaled(src, 3, 1, Filter::Nearest)), (std::vector<int>{3, 4, 4}));
  Image row(4, 1);
  for (int x = 0; x < 4; ++x) set_pixel(row, x, 0, rgba(x + 1, 0, 0));
  EXPECT_EQ(reds(scaled(row, 2, 1, Filter::Nearest)), (std::vector<int>{2, 4}));
}

TEST(Scale, BilinearInterpolatesAndKeepsEdges) {
  Image src(2, 1);
  set_pixel(src, 0, 0, rgba(0, 0, 0));
  set_pixel(src, 1, 0, rgba(255, 0, 0));
  EXPECT_EQ(reds(scaled(src, 4, 1, Filter::Bilinear)), (std::vector<int>{0, 64, 191, 255}));
  EXPECT_EQ(reds(scaled(src, 2, 3, Filter::Bilinear)), (std::vector<int>{0, 255, 0, 255, 0, 255}));
  const Image flat = filled(5, 7, rgba(9, 99, 199, 77));
  const Image down = scaled(flat, 2, 3, Filter::Bilinear);
  EXPECT_EQ(mask(down, rgba(9, 99, 199, 77)), "##\n##\n##\n");
}

TEST(Scale, BilinearTakesNoColourFromTransparentPixels) {
  Image src(2, 1);
  set_pixel(src, 0, 0, rgba(255, 0, 0, 255));
  set_pixel(src, 1, 0, rgba(0, 0, 0, 0));
  const Image out = scaled(src, 4, 1, Filter::Bilinear);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(red(get_pixel(out, x, 0)), 255) << x;
  EXPECT_EQ(alpha(get_pixel(out, 1, 0)), 191);
  EXPECT_EQ(get_pixel(out, 3, 0), 0u);
}

TEST(Scale, DrawScaledClipsAndSkipsEmptySizes) {
  const Image src = filled(2, 2, rgba(255, 0, 0));
  for (Filter f : {Filter::Nearest, Filter::Bilinear}) {
    Image dst(4, 4);
    Canvas c(dst);
    c.draw_image_scaled(src, -2, 1, 4, 4, f);
    EXPECT_EQ(mask(dst, rgba(255, 0, 0)), "....\n##..\n##..\n##..\n");
    Image none(2, 2);
    Canvas(none).draw_image_scaled(src, 0, 0, 0, 5, f);
    Canvas(none).draw_image_scaled(src, 0, 0, 5, -1, f);
    EXPECT_EQ(mask(none, 0), "##\n##\n");
  }
}

TEST(Grab, CopiesTheRectangleAndLeavesOutsideTransparent) {
  free_all_images();
  Image src(3, 3);
  for (int i = 0; i < 9; ++i) set_pixel(src, i % 3, i / 3, rgba(i + 1, 0, 0));
  EXPECT_EQ(reds(grab(src, 1, 1, 2, 2)), (std::vector<int>{5, 6, 8, 9}));
  const Image edge = grab(src, -1, 2, 3, 2);
  EXPECT_EQ(reds(edge), (std::vector<int>{0, 7, 8, 0, 0, 0}));
  EXPECT_EQ(alpha(get_pixel(edge, 0, 0)), 0);
  EXPECT_EQ(grab(src, 0, 0, 0, 1).width, 0);
  EXPECT_EQ(reds(grab(src, 2147483647, -2147483647 - 1, 1, 1)), (std::vector<int>{0}));
  ASSERT_EQ(adopt_image(4, std::move(src)), 4);
  const int n = grab_image(4, 2, 0, 1, 3);
  ASSERT_GE(n, kFirstDynamicImage);
  EXPECT_EQ(reds(*image_ptr(n)), (std::vector<int>{3, 6, 9}));
  EXPECT_EQ(grab_image(99, 0, 0, 1, 1), -1);
  EXPECT_EQ(grab_image(4, 0, 0, -1, 1), -1);
  free_all_images();
}

TEST(Resize, InPlaceByNumber) {
  free_all_images();
  ASSERT_EQ(create_image(3, 2, 1), 3);
  set_image_pixel(3, 1, 0, rgba(255, 0, 0));
  EXPECT_TRUE(resize_image(3, 4, 2, Filter::Nearest));
  EXPECT_EQ(reds(*image_ptr(3)), (std::vector<int>{0, 0, 255, 255, 0, 0, 255, 255}));
  const Image* before = image_ptr(3);
  EXPECT_TRUE(resize_image(3, 4, 2, Filter::Bilinear));  // same size: untouched
  EXPECT_EQ(image_ptr(3), before);
  EXPECT_EQ(reds(*image_ptr(3)), (std::vector<int>{0, 0, 255, 255, 0, 0, 255, 255}));
  EXPECT_TRUE(resize_image(3, 1, 1, Filter::Bilinear));
  EXPECT_EQ(image_width(3), 1);
  EXPECT_FALSE(resize_image(3, 0, 1, Filter::Nearest));
  EXPECT_FALSE(resize_image(3, 1, kMaxImageSide + 1, Filter::Nearest));
  EXPECT_EQ(image_width(3), 1);
  EXPECT_FALSE(resize_image(77, 2, 2, Filter::Nearest));
  free_all_images();
}

TEST(FitSize, LongerSideFitsAndTheOtherRoundsHalvesAway) {
  struct Case {
    int w, h, side, want_w, want_h;
  } cases[] = {
      {100, 50, 60, 60, 30}, {50, 100, 60, 30, 60}, {5, 5, 60, 60, 60},  {7, 2, 60, 60, 17},
      {8, 1, 60, 60, 8},     {1, 8, 60, 8, 60},     {1000, 1, 60, 60, 0}, {300, 200, 240, 240, 160},
      {0, 5, 60, 0, 0},      {5, 5, 0, 0, 0},
  };
  for (auto& k : cases)
    EXPECT_EQ(fit_size(k.w, k.h, k.side), std::make_pair(k.want_w, k.want_h)) << k.w << "x" << k.h;
}

}  // namespace

// A clip keeps every drawing to its rectangle, and inside it each pixel is
// what drawing without the clip gives: drawing in parts equals drawing whole.
TEST(Canvas, DrawingInClippedPartsEqualsDrawingWhole) {
  Image picture(13, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 13; ++x) set_pixel(picture, x, y, rgba(x * 19, y * 27, 200, (x + y) % 3 ? 255 : 90));
  struct Case {
    const char* what;
    void (*draw)(Canvas&, const Image&);
  } cases[] = {
      {"box", [](Canvas& c, const Image&) { c.set_mode(Mode::Alpha), c.set_colour(rgba(0, 255, 0, 130)), c.box(-3, 5, 40, -30); }},
      {"lines", [](Canvas& c, const Image&) {
         c.set_mode(Mode::Xor);
         c.line(-5, -7, 60, 33), c.line(40, 2, 3, 38), c.line(20, -100, 20, 100), c.line(-100, 17, 100, 17);
       }},
      {"circle", [](Canvas& c, const Image&) { c.set_mode(Mode::Alpha), c.set_colour(rgba(9, 8, 7, 100)), c.circle(21, 17, 14); }},
      {"point", [](Canvas& c, const Image&) { c.point(31, 29), c.point(0, 0); }},
      {"image", [](Canvas& c, const Image& p) { c.set_mode(Mode::Alpha), c.draw_image(p, 30, -2, 180), c.draw_image(p, -4, 20); }},
      {"scaled", [](Canvas& c, const Image& p) {
         c.set_mode(Mode::Alpha);
         c.draw_image_scaled(p, 3, 2, 37, 29);
         c.draw_image_scaled(p, -6, 11, 50, 13, Filter::Bilinear, 200);
       }},
  };
  for (const Case& k : cases) {
    Image whole = filled(41, 35, rgba(60, 70, 80, 200));
    Image parts = whole;
    Canvas all(whole);
    k.draw(all, picture);
    for (int y = -5; y < 40; y += 11)
      for (int x = -5; x < 45; x += 12) {
        Canvas part(parts);
        part.set_clip(x, y, 12, 11);
        k.draw(part, picture);
      }
    EXPECT_EQ(parts.pixels, whole.pixels) << k.what;

    Image untouched = filled(41, 35, rgba(60, 70, 80, 200));
    Canvas none(untouched);
    none.set_clip(5, 5, 0, 10);
    k.draw(none, picture);
    EXPECT_EQ(untouched.pixels, filled(41, 35, rgba(60, 70, 80, 200)).pixels) << k.what;
  }
}
