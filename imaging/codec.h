#pragma once
// Reading PNG, JPEG and BMP pictures (recognised by their content, not by
// file name) and writing PNG with alpha.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imaging/image.h"

namespace imaging {

// No value for anything that is not a complete PNG, JPEG or BMP picture of
// 1..kMaxImageSide on each side: unknown content, damage, truncation, or a
// declared size over the limit (refused before any pixel memory is taken).
// Pictures without alpha come out opaque.
std::optional<Image> decode_image(const uint8_t* data, size_t size);
std::optional<Image> decode_image(const std::vector<uint8_t>& bytes);
std::optional<Image> decode_image_file(const std::string& path);

// PNG, 8 bits per channel with alpha. No value for an empty image.
std::optional<std::vector<uint8_t>> encode_png(const Image& image);
bool save_png(const Image& image, const std::string& path);  // false when not written

// Loads a picture file into the image table under number (kAnyImage
// allocates one); returns the number, or -1 with the table unchanged.
int load_image_file(int number, const std::string& path);
// Writes the image under number as PNG; false for an unknown number or a failed write.
bool save_image_png(int number, const std::string& path);

}  // namespace imaging
