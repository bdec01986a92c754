#pragma once
// The program's own artwork: cards, tab banners, wait pictures, icons and
// backdrops, drawn at start-up into their fixed image numbers.
#include <span>

#include "imaging/image.h"

struct BuiltinPicture;
using PictureMaker = imaging::Image (*)(const BuiltinPicture&);

struct BuiltinPicture {
  int number;
  int width;
  int height;
  PictureMaker make;
  const char* text = nullptr;   // words the picture shows
  const char* glyph = nullptr;  // drawing commands of its symbol (see the .cpp)
};

// Every built-in picture, in number order.
std::span<const BuiltinPicture> builtin_pictures();

// The preview canvas that is created empty beside the pictures.
constexpr int kEmptyPreviewImage = 134;

// Draws every built-in picture into its image number and creates the empty
// preview picture.
void load_builtin_pictures();

// Turns what Cairo drew into an image's own pixels (native-endian ARGB32 with
// premultiplied alpha) into the image table's straight RGBA.
void cairo_to_rgba(imaging::Image& image);
