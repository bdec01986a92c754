// Bytes of any kind go through the picture decoder; it must only ever answer
// "no picture" or a picture of the size it claims.
#include <cstdlib>

#include "imaging/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto img = imaging::decode_image(data, size);
  if (img && (img->width < 1 || img->height < 1 || img->width > imaging::kMaxImageSide ||
              img->height > imaging::kMaxImageSide ||
              img->pixels.size() != size_t(img->width) * img->height * 4))
    std::abort();
  return 0;
}
