// "Resize canvas" and "Stretch": the dialog, the kept aspect ratio, and the
// new pictures of every frame of the sprite.
#include <functional>

#include "maker/graphics/canvas_size.h"
#include "maker/graphics/frame_editor.h"
#include "graphics_fixture.h"

using namespace graphics_test;
using imaging::rgba;

namespace {

using Command = int (*)(int, const std::string&, int);
using Step = std::function<void(int window)>;

int field(int w, int n) { return widget_of(w, tk::WidgetKind::Input, n); }

class CanvasSizeTest : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    g_current_frame = -1;
    editor_ = tk::open_window(tk::kAny, 0, 0, 800, 600, "Edit sprite frames");
    tk::scroll_area(kFrameStripArea, 10, 45, 780, 490, 100, 100, 16);
    tk::close_container();
  }
  static int open_dialog() {
    for (const char* title : {"Resize canvas", "Stretch the images"})
      if (int w = window_titled(title); w != -1) return w;
    return -1;
  }
  void run(Command command, std::vector<Step> steps) {
    for (auto& step : steps) tk::test::when_idle([step] { step(open_dialog()); });
    EXPECT_EQ(command(editor_, sprite_, 0), 0);
    EXPECT_EQ(tk::test::idle_actions_left(), 0);
    EXPECT_EQ(open_dialog(), -1);
    EXPECT_FALSE(tk::window_disabled(editor_));
  }
  // Types the new size with "Keep aspect ratio" off, then presses "OK".
  void resize(Command command, const std::string& w, const std::string& h) {
    run(command, {[](int d) { press(d, "Keep aspect ratio"); },
                  [=](int d) {
                    retype(field(d, 0), w);
                    retype(field(d, 1), h);
                  },
                  [](int d) { press(d, "OK"); }});
  }
  int editor_ = -1;
};

}  // namespace

TEST_F(CanvasSizeTest, DialogsShowTheCurrentSizeOfTheLastFrame) {
  add_frame(sprite_, "0", 5, 5);
  add_frame(sprite_, "1", 32, 16);
  add_frame("other", "2", 7, 7);
  struct Case {
    Command command;
    const char* title;
    int height;
    bool smooth;
  } cases[] = {{resize_sprite_canvas, "Resize canvas", 160, false},
               {stretch_sprite_images, "Stretch the images", 200, true}};
  for (const Case& c : cases)
    run(c.command, {[&](int w) {
          EXPECT_EQ(tk::window_title(w), c.title);
          EXPECT_EQ(tk::window_width(w), 220);
          EXPECT_EQ(tk::window_height(w), c.height);
          EXPECT_TRUE(tk::window_disabled(editor_));
          EXPECT_TRUE(tk::window_kept_above(w));
          const int ok = tk::test::find_widget(w, "OK");
          EXPECT_EQ(std::pair(tk::widget_x(ok), tk::widget_y(ok)), std::pair(145, c.height - 35));
          const int current = tk::test::find_widget(w, "Current: 16");
          ASSERT_NE(current, -1);
          EXPECT_EQ(std::pair(tk::widget_x(current), tk::widget_y(current)), std::pair(60, 45));
          EXPECT_NE(tk::test::find_widget(w, "Current: 32"), -1);
          EXPECT_EQ(tk::text(field(w, 0)), "32");
          EXPECT_EQ(tk::text(field(w, 1)), "16");
          EXPECT_EQ(std::pair(tk::widget_x(field(w, 1)), tk::widget_y(field(w, 1))), std::pair(170, 40));
          EXPECT_EQ(tk::state(tk::test::find_widget(w, "Keep aspect ratio")), 1);
          const int smooth = tk::test::find_widget(w, "Smooth (Interpolate pixels)");
          EXPECT_EQ(smooth != -1, c.smooth);
          if (c.smooth) {
            EXPECT_EQ(tk::state(smooth), 1);
          }
          tk::test::request_close(w);  // ignored
        },
                    [](int w) {
                      // The kept ratio follows each typed side.
                      retype(field(w, 0), "64");
                    },
                    [](int w) {
                      EXPECT_EQ(tk::text(field(w, 1)), "32");
                      retype(field(w, 1), "5");
                    },
                    [](int w) {
                      EXPECT_EQ(tk::text(field(w, 0)), "10");
                      press(w, "Cancel");
                    }});
  EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"0", 5, 5}, {"1", 32, 16}}));
}

TEST_F(CanvasSizeTest, ResizeCanvasCentresEveryFrameUnscaled) {
  struct Case {
    int w, h;
    const char *new_w, *new_h;
    int left, top;
  } cases[] = {
      {32, 32, "64", "48", 16, 8},
      {33, 33, "32", "32", 0, 0},  // the last column and row are cut
      {3, 5, "4", "1", 1, -2},
      {1, 1, "1", "1", 0, 0},
  };
  for (const Case& c : cases) {
    g_frames.clear();
    add_frame(sprite_, "a", gradient(c.w, c.h));
    add_frame("other", "b", gradient(c.w, c.h));
    add_frame(sprite_, "c", gradient(c.w, c.h));
    const int old_image = g_frames[0].image;
    resize(resize_sprite_canvas, c.new_w, c.new_h);
    const int nw = std::stoi(c.new_w), nh = std::stoi(c.new_h);
    EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"a", nw, nh}, {"c", nw, nh}}));
    EXPECT_EQ(frames_of("other"), (std::vector<FrameShape>{{"b", c.w, c.h}}));
    EXPECT_FALSE(imaging::image_exists(old_image));
    for (int k : {0, 2})
      for (int y = 0; y < nh; ++y)
        for (int x = 0; x < nw; ++x) {
          const int sx = x - c.left, sy = y - c.top;
          const bool inside = sx >= 0 && sy >= 0 && sx < c.w && sy < c.h;
          EXPECT_EQ(imaging::get_pixel(frame_picture(k), x, y), inside ? rgba(sx, sy, 7) : 0u)
              << c.w << "->" << nw << " " << x << "," << y;
        }
    // The strip shows the new sizes.
    ASSERT_EQ(g_frame_strip_widgets.count(), 2);
    EXPECT_EQ(tk::widget_width(g_frame_strip_widgets[0]), nw);
  }
}

TEST_F(CanvasSizeTest, StretchScalesEveryFrameNearestOrSmooth) {
  const imaging::Image source = gradient(16, 16);
  add_frame(sprite_, "a", source);
  add_frame(sprite_, "b", source);
  resize(stretch_sprite_images, "32", "32");
  EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"a", 32, 32}, {"b", 32, 32}}));
  for (int k = 0; k < 2; ++k)
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        EXPECT_EQ(imaging::get_pixel(frame_picture(k), x, y), rgba(x / 2, y / 2, 7)) << x << "," << y;
  ASSERT_EQ(g_frame_strip_widgets.count(), 2);
  EXPECT_EQ(tk::widget_width(g_frame_strip_widgets[1]), 32);

  // Smooth: black and white columns blend into greys between them.
  g_frames.clear();
  imaging::Image stripes(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) imaging::set_pixel(stripes, x, y, x % 2 ? rgba(255, 255, 255) : rgba(0, 0, 0));
  add_frame(sprite_, "a", stripes);
  run(stretch_sprite_images, {[](int d) {
        retype(field(d, 0), "32");  // the height follows
      },
                              [](int d) { press(d, "OK"); }});
  EXPECT_EQ(frame_picture(0).pixels, imaging::scaled(stripes, 32, 32, imaging::Filter::Bilinear).pixels);
  const int grey = imaging::red(imaging::get_pixel(frame_picture(0), 2, 5));
  EXPECT_GT(grey, 0);
  EXPECT_LT(grey, 255);
}

TEST_F(CanvasSizeTest, SizesNoPictureCanHaveAreRefusedAndCancelChangesNothing) {
  add_frame(sprite_, "a", 8, 4);
  const int image = g_frames[0].image;
  for (Command command : {resize_sprite_canvas, stretch_sprite_images}) {
    std::vector<Step> steps{[](int d) { press(d, "Keep aspect ratio"); }};
    for (auto [w, h] : {std::pair("0", "4"), {"8", "-3"}, {"abc", "4"}, {"16385", "4"},
                        {"8", "99999999999999999999"}})
      steps.insert(steps.end(), {[=](int d) {
                                   retype(field(d, 0), w);
                                   retype(field(d, 1), h);
                                 },
                                 [](int d) { press(d, "OK"); }});
    steps.push_back([](int d) {
      ASSERT_NE(d, -1);  // still open
      retype(field(d, 0), "2");
      press(d, "Cancel");
    });
    run(command, steps);
    EXPECT_EQ(g_frames[0].image, image);
    EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"a", 8, 4}}));
  }
}

TEST_F(CanvasSizeTest, NoDialogForASpriteWithoutAPicture) {
  for (Command command : {resize_sprite_canvas, stretch_sprite_images}) {
    EXPECT_EQ(command(editor_, sprite_, -1), 0);  // no frame at all
    EXPECT_EQ(open_dialog(), -1);
  }
  Frame broken;
  broken.sprite_name = sprite_;
  broken.image = -1;
  g_frames.append(broken);
  for (Command command : {resize_sprite_canvas, stretch_sprite_images}) {
    EXPECT_EQ(command(editor_, sprite_, 0), 0);
    EXPECT_EQ(open_dialog(), -1);
    EXPECT_FALSE(tk::window_disabled(editor_));
  }
}
