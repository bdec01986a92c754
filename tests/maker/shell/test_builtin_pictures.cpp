#include "maker/shell/builtin_pictures.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

namespace {

using imaging::Colour;
using imaging::Image;

// The pictures the program must hold: first and last number of each run,
// with the run's size.
struct NumberRun {
  int first, last, width, height;
};
constexpr NumberRun kExpected[] = {
    {91, 96, 150, 100},   {98, 104, 2880, 50}, {105, 113, 16, 16},   {114, 114, 800, 600},
    {126, 126, 800, 800}, {127, 127, 100, 100}, {129, 132, 275, 38},  {133, 133, 500, 350},
    {137, 141, 400, 160}, {142, 153, 16, 16},  {154, 155, 15, 15},   {156, 186, 16, 16},
    {214, 214, 1280, 1280}, {215, 215, 360, 19}, {216, 216, 240, 240},
};

Colour pixel(int number, int x, int y) {
  const Image* image = imaging::image_ptr(number);
  const uint8_t* p = image->at(x, y);
  return imaging::rgba(p[0], p[1], p[2], p[3]);
}

class BuiltinPictures : public testing::Test {
 protected:
  static void SetUpTestSuite() { load_builtin_pictures(); }
  static void TearDownTestSuite() { imaging::free_all_images(); }
};

TEST_F(BuiltinPictures, EveryExpectedNumberHasItsSizeAndNoOtherIsMade) {
  std::set<int> expected;
  for (const NumberRun& run : kExpected)
    for (int n = run.first; n <= run.last; ++n) {
      expected.insert(n);
      ASSERT_TRUE(imaging::image_exists(n)) << n;
      EXPECT_EQ(imaging::image_width(n), run.width) << n;
      EXPECT_EQ(imaging::image_height(n), run.height) << n;
    }
  EXPECT_EQ(expected.size(), 83u);  // the list above, as the program's documentation counts it

  std::set<int> listed;
  for (const BuiltinPicture& p : builtin_pictures()) {
    EXPECT_TRUE(listed.insert(p.number).second) << "listed twice: " << p.number;
    EXPECT_TRUE(expected.count(p.number)) << "not a built-in picture: " << p.number;
  }
  EXPECT_EQ(listed, expected);
  for (int n : {90, 97, 115, 125, 128, 135, 136, 187, 213, 217}) EXPECT_FALSE(imaging::image_exists(n)) << n;
}

TEST_F(BuiltinPictures, EmptyPreviewIsOpaqueBlack) {
  ASSERT_TRUE(imaging::image_exists(kEmptyPreviewImage));
  EXPECT_EQ(imaging::image_width(kEmptyPreviewImage), 100);
  EXPECT_EQ(imaging::image_height(kEmptyPreviewImage), 100);
  for (int y = 0; y < 100; y += 33)
    for (int x = 0; x < 100; x += 33) EXPECT_EQ(pixel(kEmptyPreviewImage, x, y), imaging::rgba(0, 0, 0));
}

TEST_F(BuiltinPictures, CheckerboardAlternatesEvery16Pixels) {
  const Colour grey = imaging::rgba(192, 192, 192), white = imaging::rgba(255, 255, 255);
  struct Case {
    int x, y;
    Colour colour;
  } cases[] = {{0, 0, grey},    {15, 15, grey},   {16, 0, white},   {0, 16, white},  {15, 16, white},
               {16, 16, grey},  {31, 31, grey},   {32, 0, grey},    {48, 16, grey},  {799, 799, grey},
               {768, 799, white}, {400, 415, grey}};
  for (const Case& c : cases) EXPECT_EQ(pixel(126, c.x, c.y), c.colour) << c.x << "," << c.y;
}

TEST_F(BuiltinPictures, StippleIsLightBlueWhereXPlusYIsEven) {
  for (int y : {0, 1, 640, 1279})
    for (int x : {0, 1, 2, 639, 1279}) {
      Colour want = (x + y) % 2 == 0 ? imaging::rgba(149, 149, 255) : imaging::rgba(0, 0, 0, 0);
      EXPECT_EQ(pixel(214, x, y), want) << x << "," << y;
    }
}

TEST_F(BuiltinPictures, HueBarColumnIsItsHueInDegrees) {
  struct Case {
    int x;
    Colour colour;
  } cases[] = {{0, imaging::rgba(255, 0, 0)},   {60, imaging::rgba(255, 255, 0)}, {120, imaging::rgba(0, 255, 0)},
               {180, imaging::rgba(0, 255, 255)}, {240, imaging::rgba(0, 0, 255)}, {300, imaging::rgba(255, 0, 255)},
               {30, imaging::rgba(255, 128, 0)}, {359, imaging::rgba(255, 0, 4)}};
  for (const Case& c : cases)
    for (int y : {0, 9, 18}) EXPECT_EQ(pixel(215, c.x, y), c.colour) << c.x << "," << y;
}

// Each picture shows something: more than one colour and some visible pixels.
TEST_F(BuiltinPictures, NoPictureIsBlank) {
  for (const BuiltinPicture& p : builtin_pictures()) {
    const Image& image = *imaging::image_ptr(p.number);
    std::set<Colour> colours;
    bool visible = false;
    for (int y = 0; y < image.height && colours.size() < 3; ++y)
      for (int x = 0; x < image.width; x += (image.width > 400 ? 7 : 1)) {
        Colour c = pixel(p.number, x, y);
        colours.insert(c);
        visible = visible || imaging::alpha(c) > 0;
      }
    EXPECT_GE(colours.size(), 2u) << p.number;
    EXPECT_TRUE(visible) << p.number;
  }
}

// Text in white on the dark pictures: a failing font set-up would leave them
// plain. Banners keep their word at the left end.
TEST_F(BuiltinPictures, DarkPicturesCarryWhiteText) {
  auto white_pixels = [](int number, int x0, int x1) {
    int count = 0;
    const Image& image = *imaging::image_ptr(number);
    for (int y = 0; y < image.height; ++y)
      for (int x = x0; x < x1; ++x) count += pixel(number, x, y) == imaging::rgba(255, 255, 255);
    return count;
  };
  for (int n = 98; n <= 104; ++n) {
    EXPECT_GT(white_pixels(n, 0, 300), 40) << n;
    EXPECT_EQ(white_pixels(n, 300, 2880), 0) << n;
  }
  for (int n : {114, 133, 137, 138, 139, 140, 141}) EXPECT_GT(white_pixels(n, 0, imaging::image_width(n)), 100) << n;
}

TEST_F(BuiltinPictures, CardsHaveRoundCornersAndAnOpaqueFace) {
  for (int n = 91; n <= 96; ++n) {
    for (auto [x, y] : {std::pair{0, 0}, {149, 0}, {0, 99}, {149, 99}}) EXPECT_EQ(imaging::alpha(pixel(n, x, y)), 0) << n;
    EXPECT_EQ(imaging::alpha(pixel(n, 75, 5)), 255) << n;
    EXPECT_EQ(imaging::alpha(pixel(n, 5, 50)), 255) << n;
  }
}

// The thumbnail backdrop is white with a black border; the "no image" card is
// brownish red with a black question mark, so the two are told apart at once.
TEST_F(BuiltinPictures, BackdropCardIsWhiteAndNoImageCardIsRedWithAQuestionMark) {
  struct Case {
    int number;
    Colour face;
  } cases[] = {{91, imaging::rgba(255, 255, 255)}, {92, imaging::rgba(0xa0, 0x40, 0x2a)}};
  for (const Case& c : cases) {
    EXPECT_EQ(pixel(c.number, 20, 50), c.face) << c.number;
    for (auto [x, y] : {std::pair{75, 1}, {75, 98}, {1, 50}, {148, 50}})
      EXPECT_EQ(pixel(c.number, x, y), imaging::rgba(0, 0, 0)) << c.number << " border " << x << "," << y;
  }
  auto black_in_middle = [](int number) {
    int count = 0;
    for (int y = 20; y < 80; ++y)
      for (int x = 55; x < 95; ++x) count += pixel(number, x, y) == imaging::rgba(0, 0, 0);
    return count;
  };
  EXPECT_EQ(black_in_middle(91), 0);
  EXPECT_GT(black_in_middle(92), 100);
}

// The About picture stays black where the version label lies on it.
TEST_F(BuiltinPictures, AboutPictureIsBlackUnderTheVersionLabel) {
  for (int y = 120; y < 142; y += 3)
    for (int x = 376; x < 464; x += 4) EXPECT_EQ(pixel(133, x, y), imaging::rgba(0, 0, 0)) << x << "," << y;
}

TEST(CairoToRgba, UndoesPremultipliedAlphaAndByteOrder) {
  const uint32_t drawn[] = {
      0xff102030,  // opaque
      0x80804000,  // half-covered orange
      0x00000000,  // clear
      0x01010101,  // nearly clear white
  };
  Image image(4, 1);
  std::memcpy(image.pixels.data(), drawn, sizeof drawn);
  cairo_to_rgba(image);
  const Colour want[] = {imaging::rgba(0x10, 0x20, 0x30), imaging::rgba(255, 128, 0, 128), imaging::rgba(0, 0, 0, 0),
                         imaging::rgba(255, 255, 255, 1)};
  for (int x = 0; x < 4; ++x) {
    const uint8_t* p = image.at(x, 0);
    EXPECT_EQ(imaging::rgba(p[0], p[1], p[2], p[3]), want[x]) << x;
  }
}

// By hand: tests_shell --gtest_also_run_disabled_tests --gtest_filter='*Write*'
// writes every picture as a PNG into $QUILLOP_PICTURE_DIR (or a temp folder)
// and prints how long drawing them took.
TEST(BuiltinPicturesByHand, DISABLED_WritePngsAndTime) {
  auto start = std::chrono::steady_clock::now();
  std::clock_t cpu_start = std::clock();
  load_builtin_pictures();
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  double cpu_ms = 1000.0 * double(std::clock() - cpu_start) / CLOCKS_PER_SEC;
  std::printf("load_builtin_pictures: %.1f ms (%.1f ms of processor time)\n", ms, cpu_ms);
  const char* dir_env = std::getenv("QUILLOP_PICTURE_DIR");
  std::filesystem::path dir = dir_env ? dir_env : std::filesystem::temp_directory_path() / "quillop-pictures";
  std::filesystem::create_directories(dir);
  for (const BuiltinPicture& p : builtin_pictures()) {
    const Image& image = *imaging::image_ptr(p.number);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    uint8_t* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) {
        const uint8_t* px = image.at(x, y);
        uint32_t a = px[3];
        auto pre = [a](uint32_t c) { return (c * a + 127) / 255; };
        reinterpret_cast<uint32_t*>(data + y * stride)[x] = a << 24 | pre(px[0]) << 16 | pre(px[1]) << 8 | pre(px[2]);
      }
    cairo_surface_mark_dirty(s);
    cairo_surface_write_to_png(s, (dir / (std::to_string(p.number) + ".png")).c_str());
    cairo_surface_destroy(s);
  }
  std::printf("written to %s\n", dir.c_str());
  imaging::free_all_images();
}

}  // namespace
