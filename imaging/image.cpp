#include "imaging/image.h"

#include <map>
#include <memory>

namespace imaging {

static bool side_ok(int side) { return side >= 1 && side <= kMaxImageSide; }

Image::Image(int w, int h) {
  if (w < 0 || h < 0 || w > kMaxImageSide || h > kMaxImageSide) return;
  width = w;
  height = h;
  pixels.assign(size_t(w) * h * 4, 0);
}

Colour get_pixel(const Image& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return 0;
  const uint8_t* p = image.at(x, y);
  return rgba(p[0], p[1], p[2], p[3]);
}

void set_pixel(Image& image, int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
  uint8_t* p = image.at(x, y);
  p[0] = red(colour);
  p[1] = green(colour);
  p[2] = blue(colour);
  p[3] = alpha(colour);
}

namespace {

// unique_ptr keeps each Image at one address while others come and go.
std::map<int, std::unique_ptr<Image>> g_table;
// Run-time numbers only grow, so a stale number never names a newer image.
int g_next_dynamic = kFirstDynamicImage;

int store(int number, Image&& image) {
  if (number == kAnyImage) {
    while (g_table.count(g_next_dynamic)) ++g_next_dynamic;
    number = g_next_dynamic++;
  } else if (number < 0) {
    return -1;
  }
  g_table[number] = std::make_unique<Image>(std::move(image));
  return number;
}

}  // namespace

int create_image(int number, int width, int height) {
  if (!side_ok(width) || !side_ok(height) || (number < 0 && number != kAnyImage)) return -1;
  return store(number, Image(width, height));
}

int copy_image(int source, int number) {
  const Image* src = image_ptr(source);
  if (!src || (number < 0 && number != kAnyImage)) return -1;
  if (number == source) return number;
  Image copy = *src;
  return store(number, std::move(copy));
}

int adopt_image(int number, Image&& image) {
  if (!side_ok(image.width) || !side_ok(image.height) ||
      image.pixels.size() != size_t(image.width) * image.height * 4)
    return -1;
  return store(number, std::move(image));
}

void free_image(int number) { g_table.erase(number); }

bool image_exists(int number) { return g_table.count(number) != 0; }

Image* image_ptr(int number) {
  auto it = g_table.find(number);
  return it == g_table.end() ? nullptr : it->second.get();
}

int image_width(int number) {
  const Image* p = image_ptr(number);
  return p ? p->width : 0;
}

int image_height(int number) {
  const Image* p = image_ptr(number);
  return p ? p->height : 0;
}

Colour image_pixel(int number, int x, int y) {
  const Image* p = image_ptr(number);
  return p ? get_pixel(*p, x, y) : 0;
}

void set_image_pixel(int number, int x, int y, Colour colour) {
  if (Image* p = image_ptr(number)) set_pixel(*p, x, y, colour);
}

void free_all_images() {
  g_table.clear();
  g_next_dynamic = kFirstDynamicImage;
}

}  // namespace imaging
