#include "imaging/codec.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace imaging {

namespace {

enum class Format { Png, Jpeg, Bmp };

std::optional<Format> sniff(const uint8_t* p, size_t n) {
  static const uint8_t png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (n >= 8 && std::memcmp(p, png, 8) == 0) return Format::Png;
  if (n >= 3 && p[0] == 0xff && p[1] == 0xd8 && p[2] == 0xff) return Format::Jpeg;
  if (n >= 2 && p[0] == 'B' && p[1] == 'M') return Format::Bmp;
  return std::nullopt;
}

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// The BMP loader sizes its buffers from the header size, the pixel offset
// and the colour count before it checks anything, so absurd values are
// refused here.
bool bmp_header_sane(const uint8_t* p, size_t n) {
  if (n < 18) return true;  // too short to be whole; the loader refuses it
  const uint32_t header = le32(p + 14), offset = le32(p + 10);
  static const uint32_t known[] = {12, 16, 40, 52, 56, 64, 108, 124};
  if (std::find(std::begin(known), std::end(known), header) == std::end(known) || offset > (1u << 20))
    return false;
  return header < 40 || n < 50 || le32(p + 46) <= 65536;
}

// gdk-pixbuf accepts a PNG or JPEG cut short and returns the rows it got, so
// the byte structure is walked alongside to see that the stream really ends.

// PNG: the signature, then chunks (length, type, data, CRC) up to IEND.
class PngWalk {
 public:
  void feed(const uint8_t* p, size_t n) {
    while (n && !done_ && !bad_) {
      if (skip_) {
        const size_t k = size_t(std::min<uint64_t>(skip_, n));
        skip_ -= k, p += k, n -= k;
        if (!skip_ && in_iend_) done_ = true;
        continue;
      }
      hdr_[have_++] = *p++, --n;
      if (have_ < 8) continue;
      have_ = 0;
      const uint32_t len = uint32_t(hdr_[0]) << 24 | hdr_[1] << 16 | hdr_[2] << 8 | hdr_[3];
      if (len > 0x7fffffffu) bad_ = true;
      skip_ = uint64_t(len) + 4;
      in_iend_ = std::memcmp(hdr_ + 4, "IEND", 4) == 0;
    }
  }
  bool complete() const { return done_; }

 private:
  uint64_t skip_ = 8;  // the signature
  uint8_t hdr_[8] = {};
  int have_ = 0;
  bool in_iend_ = false, done_ = false, bad_ = false;
};

// JPEG: marker segments, entropy-coded data after each SOS, up to EOI.
class JpegWalk {
 public:
  void feed(const uint8_t* p, size_t n) {
    for (; n && !done_; ++p, --n) {
      const uint8_t b = *p;
      switch (state_) {
        case Marker:
          state_ = b == 0xff ? Code : Marker;  // stray bytes keep it from completing only by EOI
          break;
        case Code:
          if (b == 0xff) break;  // fill byte
          if (b == 0xd9) {
            done_ = true;
          } else if (b == 0xd8 || b == 0x01 || (b >= 0xd0 && b <= 0xd7)) {
            state_ = Marker;  // standalone markers
          } else {
            sos_ = b == 0xda;
            state_ = Len0;
          }
          break;
        case Len0:
          len_ = b << 8, state_ = Len1;
          break;
        case Len1:
          len_ |= b;
          skip_ = len_ >= 2 ? len_ - 2 : 0;
          state_ = skip_ ? Skip : (sos_ ? Entropy : Marker);
          break;
        case Skip: {
          const size_t k = std::min(skip_, n);
          skip_ -= k, p += k - 1, n -= k - 1;
          if (!skip_) state_ = sos_ ? Entropy : Marker;
          break;
        }
        case Entropy:
          if (b == 0xff) state_ = EntropyFF;
          break;
        case EntropyFF:
          if (b == 0x00 || (b >= 0xd0 && b <= 0xd7)) {
            state_ = Entropy;
          } else if (b != 0xff) {  // a marker ends the scan
            state_ = Code;
            --p, ++n;  // read b again as the marker code
          }
          break;
      }
    }
  }
  bool complete() const { return done_; }

 private:
  enum State { Marker, Code, Len0, Len1, Skip, Entropy, EntropyFF } state_ = Marker;
  size_t len_ = 0, skip_ = 0;
  bool sos_ = false, done_ = false;
};

class Decoder {
 public:
  explicit Decoder(Format format) : format_(format) {
    static const char* const names[] = {"png", "jpeg", "bmp"};
    loader_ = gdk_pixbuf_loader_new_with_type(names[int(format)], nullptr);
    if (!loader_) return;
    g_signal_connect(loader_, "size-prepared", G_CALLBACK(on_size), this);
    g_signal_connect(loader_, "area-updated", G_CALLBACK(on_area), this);
  }
  ~Decoder() {
    if (!loader_) return;
    if (!closed_) gdk_pixbuf_loader_close(loader_, nullptr);
    g_object_unref(loader_);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  // False once the picture is known to be bad.
  bool feed(const uint8_t* p, size_t n) {
    if (!loader_ || failed_) return false;
    if (format_ == Format::Png) png_.feed(p, n);
    if (format_ == Format::Jpeg) jpeg_.feed(p, n);
    if (!gdk_pixbuf_loader_write(loader_, p, n, nullptr)) failed_ = true;
    return !failed_ && !refused_;
  }

  std::optional<Image> finish() {
    if (!loader_) return std::nullopt;
    closed_ = true;
    GError* error = nullptr;
    const bool ok = gdk_pixbuf_loader_close(loader_, &error);
    if (error) g_error_free(error);
    if (!ok || failed_ || refused_) return std::nullopt;
    if (format_ == Format::Png && !png_.complete()) return std::nullopt;
    if (format_ == Format::Jpeg && !jpeg_.complete()) return std::nullopt;
    GdkPixbuf* pb = gdk_pixbuf_loader_get_pixbuf(loader_);
    if (!pb) return std::nullopt;
    const int w = gdk_pixbuf_get_width(pb), h = gdk_pixbuf_get_height(pb);
    const int channels = gdk_pixbuf_get_n_channels(pb);
    if (w < 1 || h < 1 || w > kMaxImageSide || h > kMaxImageSide || h != int(rows_.size()) ||
        rows_seen_ != h || gdk_pixbuf_get_bits_per_sample(pb) != 8 ||
        gdk_pixbuf_get_colorspace(pb) != GDK_COLORSPACE_RGB || (channels != 3 && channels != 4))
      return std::nullopt;
    Image out(w, h);
    const int stride = gdk_pixbuf_get_rowstride(pb);
    const uint8_t* base = gdk_pixbuf_read_pixels(pb);
    for (int y = 0; y < h; ++y) {
      const uint8_t* s = base + size_t(y) * stride;
      uint8_t* d = out.at(0, y);
      if (channels == 4) {
        std::memcpy(d, s, size_t(w) * 4);
      } else {
        for (int x = 0; x < w; ++x, s += 3, d += 4) d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 255;
      }
    }
    return out;
  }

 private:
  // Runs before the loader allocates pixels: a size of 0 makes it give up.
  static void on_size(GdkPixbufLoader* loader, gint w, gint h, gpointer self_ptr) {
    auto* self = static_cast<Decoder*>(self_ptr);
    if (w < 1 || h < 1 || w > kMaxImageSide || h > kMaxImageSide || !self->rows_.empty()) {
      self->refused_ = true;
      gdk_pixbuf_loader_set_size(loader, 0, 0);
      return;
    }
    self->rows_.assign(size_t(h), false);
  }

  // Counts the rows the loader has filled, so that a picture missing rows
  // (a BMP cut short) is not taken for a whole one.
  static void on_area(GdkPixbufLoader*, gint, gint y, gint, gint h, gpointer self_ptr) {
    auto* self = static_cast<Decoder*>(self_ptr);
    const int end = std::min<int64_t>(int64_t(y) + h, int64_t(self->rows_.size()));
    for (int r = std::max(y, 0); r < end; ++r)
      if (!self->rows_[size_t(r)]) self->rows_[size_t(r)] = true, ++self->rows_seen_;
  }

  Format format_;
  GdkPixbufLoader* loader_ = nullptr;
  PngWalk png_;
  JpegWalk jpeg_;
  std::vector<bool> rows_;
  int rows_seen_ = 0;
  bool failed_ = false, refused_ = false, closed_ = false;
};

}  // namespace

std::optional<Image> decode_image(const uint8_t* data, size_t size) {
  const auto format = data ? sniff(data, size) : std::nullopt;
  if (!format || (*format == Format::Bmp && !bmp_header_sane(data, size))) return std::nullopt;
  Decoder decoder(*format);
  if (!decoder.feed(data, size)) return std::nullopt;
  return decoder.finish();
}

std::optional<Image> decode_image(const std::vector<uint8_t>& bytes) {
  return decode_image(bytes.data(), bytes.size());
}

std::optional<Image> decode_image_file(const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!f) return std::nullopt;
  // Streamed in pieces, so a huge file that is not a picture is dropped early.
  std::vector<uint8_t> buf(1 << 16);
  size_t n = std::fread(buf.data(), 1, buf.size(), f.get());
  const auto format = sniff(buf.data(), n);
  if (!format || (*format == Format::Bmp && !bmp_header_sane(buf.data(), n))) return std::nullopt;
  Decoder decoder(*format);
  while (n > 0) {
    if (!decoder.feed(buf.data(), n)) return std::nullopt;
    n = std::fread(buf.data(), 1, buf.size(), f.get());
  }
  if (std::ferror(f.get())) return std::nullopt;
  return decoder.finish();
}

std::optional<std::vector<uint8_t>> encode_png(const Image& image) {
  if (image.width < 1 || image.height < 1 || image.width > kMaxImageSide ||
      image.height > kMaxImageSide || image.pixels.size() != size_t(image.width) * image.height * 4)
    return std::nullopt;
  GdkPixbuf* pb = gdk_pixbuf_new_from_data(image.pixels.data(), GDK_COLORSPACE_RGB, TRUE, 8,
                                           image.width, image.height, image.width * 4, nullptr, nullptr);
  if (!pb) return std::nullopt;
  gchar* buf = nullptr;
  gsize len = 0;
  GError* error = nullptr;
  const bool ok = gdk_pixbuf_save_to_buffer(pb, &buf, &len, "png", &error, nullptr);
  g_object_unref(pb);
  if (error) g_error_free(error);
  std::optional<std::vector<uint8_t>> out;
  if (ok && buf) out.emplace(reinterpret_cast<uint8_t*>(buf), reinterpret_cast<uint8_t*>(buf) + len);
  g_free(buf);
  return out;
}

bool save_png(const Image& image, const std::string& path) {
  const auto bytes = encode_png(image);
  if (!bytes) return false;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes->data(), 1, bytes->size(), f) == bytes->size();
  return (std::fclose(f) == 0) && written;
}

int load_image_file(int number, const std::string& path) {
  if (number < 0 && number != kAnyImage) return -1;
  auto image = decode_image_file(path);
  return image ? adopt_image(number, std::move(*image)) : -1;
}

bool save_image_png(int number, const std::string& path) {
  const Image* p = image_ptr(number);
  return p && save_png(*p, path);
}

}  // namespace imaging
