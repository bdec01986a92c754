#pragma once
// The main window as start-up builds it (see the shell's fixture), with
// helpers that make frames and picture files and find the editors' windows.
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/project/records.h"
#include "maker/shell/builtin_pictures.h"
#include "tests/maker/shell/shell_fixture.h"

namespace graphics_test {

// A w x h picture filled with one colour, or with a colour per pixel.
inline imaging::Image picture(int w, int h, imaging::Colour colour) {
  imaging::Image p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) imaging::set_pixel(p, x, y, colour);
  return p;
}
// Every pixel a colour of its own: red = x, green = y.
inline imaging::Image gradient(int w, int h) {
  imaging::Image p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) imaging::set_pixel(p, x, y, imaging::rgba(x, y, 7));
  return p;
}

// Appends a frame of the sprite with a copy of the picture; returns its index.
inline int add_frame(const std::string& sprite, const std::string& counter, const imaging::Image& p) {
  Frame f;
  f.sprite_name = sprite;
  f.file_counter = counter;
  f.image = imaging::adopt_image(imaging::kAnyImage, imaging::Image(p));
  return g_frames.append(f);
}
inline int add_frame(const std::string& sprite, const std::string& counter, int w, int h) {
  return add_frame(sprite, counter, picture(w, h, imaging::rgba(200, 10, 10)));
}

// (counter, width x height) of the sprite's frames in list order.
struct FrameShape {
  std::string counter;
  int width, height;
  bool operator==(const FrameShape&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const FrameShape& f) {
  return out << f.counter << ":" << f.width << "x" << f.height;
}
inline std::vector<FrameShape> frames_of(const std::string& sprite) {
  std::vector<FrameShape> out;
  for (const Frame& f : g_frames)
    if (f.sprite_name == sprite)
      out.push_back({f.file_counter, imaging::image_width(f.image), imaging::image_height(f.image)});
  return out;
}
inline std::vector<std::string> counters_of(const std::string& sprite) {
  std::vector<std::string> out;
  for (const FrameShape& f : frames_of(sprite)) out.push_back(f.counter);
  return out;
}
inline const imaging::Image& frame_picture(int index) { return *imaging::image_ptr(g_frames[index].image); }

// A 24-bit BMP, bottom-up rows padded to four bytes, written byte by byte.
inline void write_bmp(const std::string& path, const imaging::Image& p) {
  const int row = (p.width * 3 + 3) / 4 * 4;
  const uint32_t size = 54 + uint32_t(row) * p.height;
  std::vector<uint8_t> b(size, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = uint8_t(v >> (8 * k));
  };
  b[0] = 'B', b[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(p.width));
  put32(22, uint32_t(p.height));
  b[26] = 1, b[28] = 24;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const imaging::Colour c = imaging::get_pixel(p, x, y);
      uint8_t* at = &b[54 + size_t(p.height - 1 - y) * row + size_t(x) * 3];
      at[0] = uint8_t(imaging::blue(c)), at[1] = uint8_t(imaging::green(c)), at[2] = uint8_t(imaging::red(c));
    }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

inline void write_png(const std::string& path, const imaging::Image& p) { ASSERT_TRUE(imaging::save_png(p, path)); }

// The first window of that title, -1 when none is open.
inline int window_titled(const std::string& title) {
  for (int w = tk::kFirstDynamicNumber; w < tk::kFirstDynamicNumber + 100000; ++w)
    if (tk::window_exists(w) && tk::window_title(w) == title) return w;
  return -1;
}
// The n-th widget of that kind in the window, in creation order.
inline int widget_of(int window, tk::WidgetKind kind, int n = 0) {
  for (int w : tk::test::widgets_of_window(window))
    if (tk::widget_kind(w) == kind && n-- == 0) return w;
  return -1;
}
inline void press(int window, const std::string& text) {
  const int w = tk::test::find_widget(window, text);
  ASSERT_NE(w, -1) << text;
  tk::test::click(w);
}
inline void retype(int input, const std::string& text) {
  tk::set_text(input, "");
  tk::test::type_text(input, text);
}

}  // namespace graphics_test

class GraphicsTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    if (!imaging::image_exists(214)) load_builtin_pictures();
    sprite_ = new_sprite();
  }
  std::string sprite_;
};
