#include "imaging/image.h"

#include <map>
#include <memory>
#include <vector>

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

// Every drawn item looks its picture up by number, so the table is a flat
// index: the program's fixed numbers and the run-time numbers (which only
// grow) each fill a dense range of slots. A number given far beyond the
// run-time numbers handed out so far waits in a map until they reach it.
// unique_ptr keeps each Image at one address while others come and go.
using Slot = std::unique_ptr<Image>;
std::vector<Slot> g_fixed;    // numbers 0 .. kFirstDynamicImage - 1
std::vector<Slot> g_dynamic;  // numbers from kFirstDynamicImage on
std::map<int, Slot> g_far;    // numbers beyond g_dynamic
// Run-time numbers only grow, so a stale number never names a newer image.
int g_next_dynamic = kFirstDynamicImage;
// How far past the run-time numbers a given number still gets a slot.
constexpr size_t kDynamicReach = 4096;

size_t dynamic_index(int number) { return size_t(number) - size_t(kFirstDynamicImage); }

// The slot of a number, or nullptr when it has none.
Slot* find_slot(int number) {
  if (number < 0) return nullptr;
  if (number < kFirstDynamicImage)
    return size_t(number) < g_fixed.size() ? &g_fixed[size_t(number)] : nullptr;
  if (dynamic_index(number) < g_dynamic.size()) return &g_dynamic[dynamic_index(number)];
  auto it = g_far.find(number);
  return it == g_far.end() ? nullptr : &it->second;
}

// The slot of a number 0 or more, made when missing.
Slot& make_slot(int number) {
  if (number < kFirstDynamicImage) {
    if (size_t(number) >= g_fixed.size()) g_fixed.resize(size_t(number) + 1);
    return g_fixed[size_t(number)];
  }
  const size_t index = dynamic_index(number);
  if (index >= g_dynamic.size() + kDynamicReach) return g_far[number];
  if (index >= g_dynamic.size()) {
    g_dynamic.resize(index + 1);
    // Numbers now in range leave the map for their slots.
    while (!g_far.empty() && dynamic_index(g_far.begin()->first) <= index) {
      g_dynamic[dynamic_index(g_far.begin()->first)] = std::move(g_far.begin()->second);
      g_far.erase(g_far.begin());
    }
  }
  return g_dynamic[index];
}

int store(int number, Image&& image) {
  if (number == kAnyImage) {
    while (image_exists(g_next_dynamic)) ++g_next_dynamic;
    number = g_next_dynamic++;
  } else if (number < 0) {
    return -1;
  }
  make_slot(number) = std::make_unique<Image>(std::move(image));
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

void free_image(int number) {
  if (g_far.erase(number) == 0)
    if (Slot* slot = find_slot(number)) slot->reset();
}

bool image_exists(int number) { return image_ptr(number) != nullptr; }

Image* image_ptr(int number) {
  const Slot* slot = find_slot(number);
  return slot ? slot->get() : nullptr;
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
  g_fixed.clear();
  g_dynamic.clear();
  g_far.clear();
  g_next_dynamic = kFirstDynamicImage;
}

}  // namespace imaging
