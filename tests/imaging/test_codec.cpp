#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "imaging/codec.h"
#include "imaging/draw.h"

using namespace imaging;

namespace {

using Bytes = std::vector<uint8_t>;

void put32le(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void put32be(Bytes& b, uint32_t v) {
  for (int i = 3; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
}

uint32_t crc32(const uint8_t* p, size_t n) {
  uint32_t c = 0xffffffffu;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
  }
  return c ^ 0xffffffffu;
}

void png_chunk(Bytes& b, const char* type, const Bytes& data) {
  put32be(b, uint32_t(data.size()));
  const size_t start = b.size();
  b.insert(b.end(), type, type + 4);
  b.insert(b.end(), data.begin(), data.end());
  put32be(b, crc32(&b[start], b.size() - start));
}

// A PNG whose header declares w x h, with a token of image data.
Bytes png_header_only(uint32_t w, uint32_t h) {
  Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  Bytes ihdr;
  put32be(ihdr, w);
  put32be(ihdr, h);
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  png_chunk(b, "IHDR", ihdr);
  png_chunk(b, "IDAT", {0x78, 0x9c, 0x63, 0x00});
  return b;
}

// Uncompressed 24-bit BMP, rows bottom up, each padded to 4 bytes.
Bytes bmp24(int w, int h, const std::vector<Colour>& top_down) {
  const int stride = (w * 3 + 3) / 4 * 4;
  Bytes b = {'B', 'M'};
  put32le(b, uint32_t(54 + stride * h));
  put32le(b, 0);
  put32le(b, 54);
  put32le(b, 40);
  put32le(b, uint32_t(w));
  put32le(b, uint32_t(h));
  b.insert(b.end(), {1, 0, 24, 0});
  put32le(b, 0);
  put32le(b, uint32_t(stride * h));
  for (int i = 0; i < 4; ++i) put32le(b, i < 2 ? 2835 : 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w && !top_down.empty(); ++x) {
      const Colour c = top_down[size_t(y) * w + x];
      b.insert(b.end(), {uint8_t(blue(c)), uint8_t(green(c)), uint8_t(red(c))});
    }
    b.resize(size_t(54 + stride * (h - y)), 0);
  }
  return b;
}

// The picture saved by gdk-pixbuf itself in another format.
Bytes pixbuf_save(const Image& img, const char* type) {
  Image copy = img;
  GdkPixbuf* pb = gdk_pixbuf_new_from_data(copy.pixels.data(), GDK_COLORSPACE_RGB, TRUE, 8, img.width,
                                           img.height, img.width * 4, nullptr, nullptr);
  GdkPixbuf* rgb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, img.width, img.height);
  gdk_pixbuf_composite_color(pb, rgb, 0, 0, img.width, img.height, 0, 0, 1, 1, GDK_INTERP_NEAREST, 255, 0, 0,
                             1, 0, 0);
  gchar* buf = nullptr;
  gsize len = 0;
  const bool ok = type == std::string("jpeg")
                      ? gdk_pixbuf_save_to_buffer(rgb, &buf, &len, type, nullptr, "quality", "100", nullptr)
                      : gdk_pixbuf_save_to_buffer(rgb, &buf, &len, type, nullptr, nullptr);
  Bytes out;
  if (ok) out.assign(buf, buf + len);
  g_free(buf);
  g_object_unref(rgb);
  g_object_unref(pb);
  return out;
}

Image sample(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) set_pixel(img, x, y, rgba(x * 16 & 255, y * 16 & 255, (x * y) & 255, (x + y) * 9 & 255));
  return img;
}

std::string temp_path(const char* name) { return ::testing::TempDir() + name; }

void write_file(const std::string& path, const Bytes& b) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

TEST(Codec, PngRoundTripKeepsAlphaAndColourExactly) {
  Image img = sample(13, 7);
  set_pixel(img, 0, 0, rgba(200, 100, 50, 0));  // colour under full transparency survives too
  const auto bytes = encode_png(img);
  ASSERT_TRUE(bytes);
  const auto back = decode_image(*bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 13);
  EXPECT_EQ(back->height, 7);
  EXPECT_EQ(back->pixels, img.pixels);

  const std::string path = temp_path("round.png");
  ASSERT_TRUE(save_png(img, path));
  const auto from_file = decode_image_file(path);
  ASSERT_TRUE(from_file);
  EXPECT_EQ(from_file->pixels, img.pixels);
  std::remove(path.c_str());
}

TEST(Codec, EncodeRefusesEmptyImages) {
  EXPECT_FALSE(encode_png(Image()));
  EXPECT_FALSE(save_png(Image(), temp_path("empty.png")));
  EXPECT_FALSE(save_png(sample(2, 2), "/nonexistent-dir/x.png"));
}

TEST(Codec, HandWrittenBmpDecodesTopRowFirstAndOpaque) {
  const std::vector<Colour> px = {rgba(255, 0, 0), rgba(0, 255, 0), rgba(0, 0, 255), rgba(255, 255, 255)};
  const auto img = decode_image(bmp24(2, 2, px));
  ASSERT_TRUE(img);
  ASSERT_EQ(img->width, 2);
  ASSERT_EQ(img->height, 2);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(get_pixel(*img, i % 2, i / 2), px[size_t(i)]) << i;
}

TEST(Codec, FormatsAreRecognisedByContentNotName) {
  const Image img = sample(8, 8);
  struct Case {
    const char* type;
    int tolerance;
  } cases[] = {{"jpeg", 12}, {"bmp", 0}};
  for (auto& k : cases) {
    const Bytes bytes = pixbuf_save(img, k.type);
    ASSERT_FALSE(bytes.empty()) << k.type;
    const std::string path = temp_path("looks-like.png");  // the name lies
    write_file(path, bytes);
    free_all_images();
    ASSERT_EQ(load_image_file(40, path), 40) << k.type;
    const Image& got = *image_ptr(40);
    ASSERT_EQ(got.width, 8);
    ASSERT_EQ(got.height, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        // pixbuf_save laid the picture onto black, opaque
        const Colour want = blend(rgba(0, 0, 0), get_pixel(img, x, y));
        const Colour c = get_pixel(got, x, y);
        EXPECT_EQ(alpha(c), 255);
        EXPECT_NEAR(red(c), red(want), k.tolerance) << k.type << " " << x << "," << y;
        EXPECT_NEAR(green(c), green(want), k.tolerance);
        EXPECT_NEAR(blue(c), blue(want), k.tolerance);
      }
    std::remove(path.c_str());
  }
  free_all_images();
}

TEST(Codec, NonPicturesGiveNothing) {
  const Bytes cases[] = {
      {},
      {'h', 'e', 'l', 'l', 'o'},
      {'B', 'M'},
      {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'},
      {0xff, 0xd8, 0xff, 0xd9},
      {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'},  // a format not taken
  };
  for (auto& b : cases) EXPECT_FALSE(decode_image(b)) << b.size();
  EXPECT_FALSE(decode_image(nullptr, 0));
  EXPECT_FALSE(decode_image_file(temp_path("no-such-file.png")));
  EXPECT_FALSE(decode_image_file(::testing::TempDir()));  // a folder
  free_all_images();
  ASSERT_EQ(create_image(41, 1, 1), 41);
  const std::string path = temp_path("text.png");
  write_file(path, {'n', 'o', 't'});
  EXPECT_EQ(load_image_file(41, path), -1);
  EXPECT_EQ(image_width(41), 1);  // the old picture stays
  std::remove(path.c_str());
  free_all_images();
}

TEST(Codec, EveryTruncationFails) {
  const Image img = sample(16, 16);
  struct Case {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"png", *encode_png(img)},
      {"jpeg", pixbuf_save(img, "jpeg")},
      {"bmp", pixbuf_save(img, "bmp")},
      {"hand bmp", bmp24(3, 3, std::vector<Colour>(9, rgba(1, 2, 3)))},
  };
  for (auto& k : cases) {
    ASSERT_TRUE(decode_image(k.bytes)) << k.name;
    for (size_t n = 0; n < k.bytes.size(); ++n)
      EXPECT_FALSE(decode_image(k.bytes.data(), n)) << k.name << " cut to " << n << " of " << k.bytes.size();
  }
}

TEST(Codec, DamagedPngFails) {
  Bytes png = *encode_png(sample(16, 16));
  for (size_t at : {size_t(20), size_t(40), png.size() / 2, png.size() - 14}) {
    Bytes bad = png;
    bad[at] ^= 0x55;
    EXPECT_FALSE(decode_image(bad)) << at;
  }
}

// A small BMP whose header field at `at` holds v.
Bytes bmp_with_field(size_t at, uint32_t v) {
  Bytes b = bmp24(2, 2, std::vector<Colour>(4, rgba(1, 2, 3)));
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
  return b;
}

long max_rss_kb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

TEST(Codec, OversizedDeclarationsFailFastWithoutTakingMemory) {
  const Bytes cases[] = {
      png_header_only(20000, 20000), png_header_only(16385, 1), png_header_only(1, 16385),
      png_header_only(0x7fffffff, 0x7fffffff), bmp24(1, 20000, {}), bmp24(20000, 1, {}),
      bmp_with_field(14, 0xc7c7c7c7),  // header size
      bmp_with_field(10, 0xc7c7c7c7),  // offset of the pixels
      bmp_with_field(46, 0xb9000000),  // colours used
  };
  const long rss = max_rss_kb();
  const auto t0 = std::chrono::steady_clock::now();
  for (auto& b : cases) EXPECT_FALSE(decode_image(b));
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 1.0);
  EXPECT_LT(max_rss_kb() - rss, 50 * 1024);
}

TEST(Codec, SideLimitIsInclusive) {
  // Complete, valid pictures: only the width decides.
  const auto ok = encode_png(Image(kMaxImageSide, 1));
  ASSERT_TRUE(ok);
  const auto img = decode_image(*ok);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, kMaxImageSide);
  GdkPixbuf* wide = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, kMaxImageSide + 1, 1);
  gdk_pixbuf_fill(wide, 0);
  gchar* buf = nullptr;
  gsize len = 0;
  ASSERT_TRUE(gdk_pixbuf_save_to_buffer(wide, &buf, &len, "png", nullptr, nullptr));
  EXPECT_FALSE(decode_image(reinterpret_cast<uint8_t*>(buf), len));
  g_free(buf);
  g_object_unref(wide);
}

TEST(Codec, SaveImagePngByNumber) {
  free_all_images();
  const std::string path = temp_path("by-number.png");
  EXPECT_FALSE(save_image_png(50, path));
  ASSERT_EQ(adopt_image(50, sample(5, 3)), 50);
  ASSERT_TRUE(save_image_png(50, path));
  const int n = load_image_file(kAnyImage, path);
  ASSERT_GE(n, kFirstDynamicImage);
  EXPECT_EQ(image_ptr(n)->pixels, image_ptr(50)->pixels);
  std::remove(path.c_str());
  free_all_images();
}

}  // namespace
