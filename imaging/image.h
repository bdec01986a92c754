#pragma once
// Pixels: 32-bit RGBA images with straight alpha, and the program-wide image
// table that addresses them by number.
#include <cstdint>
#include <string>
#include <vector>

namespace imaging {

// A colour as the program holds it: red in the low byte, then green, blue, alpha.
using Colour = uint32_t;
constexpr Colour rgba(int r, int g, int b, int a = 255) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | uint32_t(a) << 24;
}
constexpr int red(Colour c) { return c & 0xff; }
constexpr int green(Colour c) { return c >> 8 & 0xff; }
constexpr int blue(Colour c) { return c >> 16 & 0xff; }
constexpr int alpha(Colour c) { return c >> 24 & 0xff; }

constexpr int kMaxImageSide = 16384;  // largest width or height accepted anywhere

struct Image {
  int width = 0;
  int height = 0;
  // Rows top to bottom, 4 bytes a pixel in the order R, G, B, A.
  std::vector<uint8_t> pixels;

  Image() = default;
  Image(int w, int h);  // transparent black; a side out of 0..kMaxImageSide gives 0 x 0
  uint8_t* at(int x, int y) { return &pixels[(size_t(y) * width + x) * 4]; }
  const uint8_t* at(int x, int y) const { return &pixels[(size_t(y) * width + x) * 4]; }
};

// Pixel access that ignores positions outside the image (reads give 0).
Colour get_pixel(const Image& image, int x, int y);
void set_pixel(Image& image, int x, int y, Colour colour);  // stores as is, no blending

// ---- the image table ----
// Numbers below kFirstDynamicImage are the program's fixed numbers; numbers
// allocated at run time start there. Every call on a number that names no
// image does nothing and returns a neutral value (0, -1, false).
constexpr int kFirstDynamicImage = 100000;

// Creates an image under `number` (kAnyImage allocates one) and returns its
// number; a taken number is freed first. Sides run from 1 to kMaxImageSide:
// a size out of range, or a negative number other than kAnyImage, returns -1
// and leaves the table as it was. New images are transparent black.
constexpr int kAnyImage = -1;
int create_image(int number, int width, int height);
int copy_image(int source, int number);  // -1 when source names nothing
int adopt_image(int number, Image&& image);  // -1 for a malformed image
void free_image(int number);
bool image_exists(int number);
int image_width(int number);
int image_height(int number);
Image* image_ptr(int number);  // nullptr when none; stays valid until freed
Colour image_pixel(int number, int x, int y);
void set_image_pixel(int number, int x, int y, Colour colour);
void free_all_images();  // for tests

}  // namespace imaging
