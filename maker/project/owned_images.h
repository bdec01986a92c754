#pragma once
// Releasing the images that records own.
#include "imaging/image.h"

// The program's built-in pictures are shared (a scene's thumbnail may be the
// blank card 91); a record never releases one of them.
constexpr int kFirstBuiltinPicture = 91;
constexpr int kLastBuiltinPicture = 216;

inline void free_owned_image(int image) {
  if (image >= kFirstBuiltinPicture && image <= kLastBuiltinPicture) return;
  imaging::free_image(image);
}
