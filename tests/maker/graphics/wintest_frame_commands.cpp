// The frame commands that ask the user: a blank sprite of a typed size,
// frames added from picture files of every format with the size dialog,
// and the PNG strip writer.
#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <filesystem>
#include <fstream>

#include <gdk-pixbuf/gdk-pixbuf.h>

#include "maker/graphics/frame_commands.h"
#include "maker/graphics/frame_editor.h"
#include "maker/shell/small_windows.h"
#include "graphics_fixture.h"

using namespace graphics_test;

namespace {

namespace fs = std::filesystem;

constexpr imaging::Colour kRed = imaging::rgba(200, 10, 10);
constexpr imaging::Colour kBlue = imaging::rgba(10, 10, 200);

// A JPEG through gdk-pixbuf, at the highest quality.
void write_jpeg(const std::string& path, const imaging::Image& p) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, p.width, p.height);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      guchar* at = gdk_pixbuf_get_pixels(pixbuf) + y * gdk_pixbuf_get_rowstride(pixbuf) + x * 3;
      const imaging::Colour c = imaging::get_pixel(p, x, y);
      at[0] = guchar(imaging::red(c)), at[1] = guchar(imaging::green(c)), at[2] = guchar(imaging::blue(c));
    }
  ASSERT_TRUE(gdk_pixbuf_save(pixbuf, path.c_str(), "jpeg", nullptr, "quality", "100", nullptr));
  g_object_unref(pixbuf);
}

class FrameCommands : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    // The frame editor the commands are run from.
    parent_ = tk::open_window(tk::kAny, 0, 0, 800, 600, "Edit sprite frames");
  }
  // Runs the command while the idle actions answer its window.
  void add_from(const std::string& path) {
    ask_->answer_file(path);
    add_frame_from_file(parent_, sprite_, g_current_frame);
  }
  int parent_ = -1;
};

int dialog(const char* title) { return window_titled(title); }

}  // namespace

TEST_F(FrameCommands, NewReplacesTheFramesByOneBlankFrameOfTheTypedSize) {
  add_frame(sprite_, "0", 8, 8);
  add_frame("other", "0", 8, 8);
  add_frame(sprite_, "1", 8, 8);
  g_sprites[0].origin_x = 3;
  tk::test::when_idle([&] {
    const int w = dialog("Create new sprite");
    ASSERT_NE(w, -1);
    EXPECT_EQ(tk::window_width(w), 200);
    EXPECT_EQ(tk::window_height(w), 120);
    EXPECT_TRUE(tk::window_disabled(parent_));
    EXPECT_TRUE(tk::window_kept_above(w));
    EXPECT_EQ(tk::text(widget_of(w, tk::WidgetKind::Input, 0)), "40");
    EXPECT_EQ(tk::text(widget_of(w, tk::WidgetKind::Input, 1)), "40");
    tk::test::request_close(w);  // ignored
    press(w, "OK");
  });
  create_blank_sprite(parent_, sprite_, -1);
  EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"0", 40, 40}}));
  EXPECT_EQ(g_frames[g_current_frame].sprite_name, sprite_);
  EXPECT_EQ(imaging::image_pixel(g_frames[g_current_frame].image, 20, 20), 0u);
  EXPECT_EQ(frames_of("other").size(), 1u);
  EXPECT_EQ(g_sprites[0].origin_x, 3);
  EXPECT_FALSE(tk::window_disabled(parent_));
  EXPECT_EQ(dialog("Create new sprite"), -1);

  // Sizes no picture can have, or too large to allocate, are refused with
  // the dialog still open; "Cancel" then changes nothing.
  const int before = g_current_frame;
  struct Typed {
    const char *width, *height;
  } refused[] = {{"0", "40"}, {"40", ""}, {"4097", "1"}, {"99999999999", "1"}};
  for (const Typed& t : refused)
    tk::test::when_idle([&] {
      const int w = dialog("Create new sprite");
      retype(widget_of(w, tk::WidgetKind::Input, 0), t.width);
      retype(widget_of(w, tk::WidgetKind::Input, 1), t.height);
      press(w, "OK");
    });
  tk::test::when_idle([&] { press(dialog("Create new sprite"), "Cancel"); });
  create_blank_sprite(parent_, sprite_, before);
  EXPECT_EQ(ask_->messages().size(), std::size(refused));
  EXPECT_EQ(ask_->asked[0].title, "Error");
  EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"0", 40, 40}}));
  EXPECT_EQ(g_current_frame, before);

  tk::test::when_idle([&] {
    const int w = dialog("Create new sprite");
    retype(widget_of(w, tk::WidgetKind::Input, 0), "4096");
    retype(widget_of(w, tk::WidgetKind::Input, 1), "3");
    press(w, "OK");
  });
  create_blank_sprite(parent_, sprite_, before);
  EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"0", 4096, 3}}));
}

TEST_F(FrameCommands, FilesOfEveryFormatAreAppendedWithTheNextCounter) {
  write_png("a.png", picture(6, 4, kRed));
  write_bmp("b.bmp", picture(6, 4, kBlue));
  write_jpeg("c.jpg", picture(6, 4, imaging::rgba(250, 250, 250)));
  std::ofstream("named.png", std::ios::binary) << std::ifstream("b.bmp", std::ios::binary).rdbuf();
  add_from(dir_ + "/a.png");
  EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"0", 6, 4}}));
  EXPECT_EQ(ask_->asked[0].title, "Select an image");
  EXPECT_EQ(ask_->asked[0].default_path, "");
  EXPECT_EQ(ask_->asked[0].patterns,
            "Images(jpg, bmp, png)|*.jpg;*.bmp;*.png|JPG files(*.jpg)|*.jpg|BMP files(*.bmp)|*.bmp|"
            "PNG files(*.png)|*.png");
  EXPECT_EQ(ask_->asked[0].pattern, 0);
  add_from(dir_ + "/b.bmp");
  add_from(dir_ + "/c.jpg");
  add_from(dir_ + "/named.png");  // known by its content, not its name
  EXPECT_EQ(counters_of(sprite_), (std::vector<std::string>{"0", "1", "2", "3"}));
  EXPECT_EQ(frame_picture(g_current_frame).width, 6);
  EXPECT_EQ(g_current_frame, 3);
  EXPECT_EQ(imaging::get_pixel(frame_picture(0), 5, 3), kRed);
  EXPECT_EQ(imaging::get_pixel(frame_picture(1), 0, 0), kBlue);
  EXPECT_GT(imaging::red(imaging::get_pixel(frame_picture(2), 3, 2)), 240);
  EXPECT_EQ(imaging::get_pixel(frame_picture(3), 0, 0), kBlue);
  EXPECT_EQ(ask_->messages().size(), 0u);
}

TEST_F(FrameCommands, ALastFrameWithoutAPictureHasNoSizeToReconcile) {
  write_png("a.png", picture(6, 4, kRed));
  Frame missing;
  missing.sprite_name = sprite_;
  missing.file_counter = "0";
  missing.image = -1;
  g_frames.append(missing);
  add_from(dir_ + "/a.png");
  EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"0", 0, 0}, {"1", 6, 4}}));
  EXPECT_EQ(g_current_frame, 1);
}

TEST_F(FrameCommands, UnreadableFilesAndACancelledChooserChangeNothing) {
  write_png("good.png", picture(6, 4, kRed));
  const std::string png = read_file("good.png");
  std::ofstream("cut.png", std::ios::binary) << png.substr(0, png.size() / 2);
  std::ofstream("text.bmp", std::ios::binary) << "BM not a picture";
  add_frame(sprite_, "0", 6, 4);
  g_current_frame = 0;
  for (const char* file : {"/cut.png", "/text.bmp", "/missing.jpg"}) add_from(dir_ + file);
  add_from("");
  EXPECT_EQ(ask_->messages(), (std::vector<std::string>{"The file 'cut.png' cannot be read as an image",
                                                        "The file 'text.bmp' cannot be read as an image",
                                                        "The file 'missing.jpg' cannot be read as an image"}));
  EXPECT_EQ(ask_->asked[1].title, "Error");
  EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"0", 6, 4}}));
  EXPECT_EQ(g_current_frame, 0);
  EXPECT_EQ(dialog("Adding new frame"), -1);
}

TEST_F(FrameCommands, ADifferentSizeIsReconciledAsChosen) {
  write_png("big.png", gradient(64, 64));
  const imaging::Colour old_colour = imaging::rgba(1, 2, 3);
  enum Choice { LeftTop, Centre, Stretch };
  struct Case {
    const char* what;
    bool keep;
    Choice placement;
    std::vector<FrameShape> frames;
    // A pixel of the old frame and of the new one afterwards.
    std::pair<int, int> old_at;
    imaging::Colour old_pixel;
    std::pair<int, int> new_at;
    imaging::Colour new_pixel;
  } cases[] = {
      {"keep, centre", true, Centre, {{"0", 32, 32}, {"1", 32, 32}}, {0, 0}, old_colour,
       {0, 0}, imaging::rgba(16, 16, 7)},  // the middle of the picture, drawn at (-16, -16)
      {"keep, left-top", true, LeftTop, {{"0", 32, 32}, {"1", 32, 32}}, {0, 0}, old_colour,
       {31, 31}, imaging::rgba(31, 31, 7)},
      {"keep, stretch", true, Stretch, {{"0", 32, 32}, {"1", 32, 32}}, {0, 0}, old_colour,
       {31, 31}, imaging::rgba(63, 63, 7)},
      {"resize, stretch", false, Stretch, {{"0", 64, 64}, {"1", 64, 64}}, {63, 63}, old_colour,
       {63, 63}, imaging::rgba(63, 63, 7)},
      {"resize, centre", false, Centre, {{"0", 64, 64}, {"1", 64, 64}}, {15, 15}, 0u,
       {63, 63}, imaging::rgba(63, 63, 7)},
      {"resize, left-top", false, LeftTop, {{"0", 64, 64}, {"1", 64, 64}}, {32, 31}, 0u,
       {1, 2}, imaging::rgba(1, 2, 7)},
  };
  for (const Case& c : cases) {
    clear_resource_lists();
    add_frame(sprite_, "0", picture(32, 32, old_colour));
    tk::test::when_idle([&] {
      const int w = dialog("Adding new frame");
      ASSERT_NE(w, -1);
      EXPECT_EQ(tk::window_width(w), 300);
      EXPECT_TRUE(tk::window_disabled(parent_));
      const int keep = tk::test::find_widget(w, "Keep the original image size (32 x 32)");
      const int resize = tk::test::find_widget(w, "Resize all frames to the new image size (64 x 64)");
      const int stretch = tk::test::find_widget(w, "Stretch images");
      EXPECT_EQ(tk::state(resize), 1);
      EXPECT_EQ(tk::state(stretch), 1);
      tk::test::request_close(w);  // ignored
      tk::test::click(c.keep ? keep : resize);
      const char* placements[] = {"Place images at left-top (0, 0)", "Place images in center", "Stretch images"};
      tk::test::click(tk::test::find_widget(w, placements[c.placement]));
      EXPECT_EQ(tk::state(c.keep ? keep : resize), 1) << "the groups are independent";
      press(w, "OK");
    });
    add_from(dir_ + "/big.png");
    EXPECT_EQ(frames_of(sprite_), c.frames) << c.what;
    EXPECT_EQ(imaging::get_pixel(frame_picture(0), c.old_at.first, c.old_at.second), c.old_pixel) << c.what;
    EXPECT_EQ(imaging::get_pixel(frame_picture(1), c.new_at.first, c.new_at.second), c.new_pixel) << c.what;
    EXPECT_EQ(g_current_frame, 1) << c.what;
    EXPECT_FALSE(tk::window_disabled(parent_));
  }

  clear_resource_lists();
  add_frame(sprite_, "0", picture(32, 32, old_colour));
  g_current_frame = 0;
  tk::test::when_idle([] { press(dialog("Adding new frame"), "Cancel"); });
  add_from(dir_ + "/big.png");
  EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"0", 32, 32}}));
  EXPECT_EQ(g_current_frame, 0);
  EXPECT_EQ(dialog("Adding new frame"), -1);
}

TEST_F(FrameCommands, ResizeCentrePlacesTheOldFrameInTheMiddle) {
  write_png("big.png", gradient(64, 64));
  add_frame(sprite_, "0", picture(32, 32, kRed));
  tk::test::when_idle([&] {
    const int w = dialog("Adding new frame");
    tk::test::click(tk::test::find_widget(w, "Place images in center"));
    press(w, "OK");
  });
  add_from(dir_ + "/big.png");
  EXPECT_EQ(imaging::get_pixel(frame_picture(0), 15, 15), 0u);
  EXPECT_EQ(imaging::get_pixel(frame_picture(0), 16, 16), kRed);
  EXPECT_EQ(imaging::get_pixel(frame_picture(0), 47, 47), kRed);
  EXPECT_EQ(imaging::get_pixel(frame_picture(0), 48, 48), 0u);
}

TEST_F(FrameCommands, StripHoldsTheFramesSideBySideUnderTheChosenNamePlusPng) {
  add_frame(sprite_, "0", picture(5, 3, kRed));
  add_frame("other", "0", picture(5, 3, imaging::rgba(0, 255, 0)));
  add_frame(sprite_, "1", picture(5, 3, kBlue));
  add_frame(sprite_, "2", gradient(5, 3));
  ask_->answer_file(dir_ + "/walk.png");
  save_sprite_png_strip(kDialogWindow, sprite_, 0);
  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(ask_->asked[0].title, "Save sprite as PNG strip");
  EXPECT_EQ(ask_->asked[0].patterns, "PNG Images (*.png)|*.png");
  EXPECT_EQ(ask_->asked[0].default_path, std::string(cwd) + "/" + sprite_ + "_strip3");
  EXPECT_FALSE(fs::exists("walk.png"));
  auto strip = imaging::decode_image_file("walk.png.png");
  ASSERT_TRUE(strip);
  EXPECT_EQ(strip->width, 15);
  EXPECT_EQ(strip->height, 3);
  EXPECT_EQ(imaging::get_pixel(*strip, 4, 2), kRed);
  EXPECT_EQ(imaging::get_pixel(*strip, 5, 0), kBlue);
  EXPECT_EQ(imaging::get_pixel(*strip, 14, 2), imaging::rgba(4, 2, 7));

  // Nothing is written without frames or without an answer.
  ask_->answer_file(dir_ + "/empty");
  save_sprite_png_strip(kDialogWindow, "nobody", 0);
  EXPECT_EQ(ask_->asked[1].default_path, std::string(cwd) + "/nobody_strip0");
  ask_->answer_file("");
  save_sprite_png_strip(kDialogWindow, sprite_, 0);
  EXPECT_FALSE(fs::exists("empty.png"));
  EXPECT_EQ(ask_->messages().size(), 0u);
}

TEST_F(FrameCommands, StripsTooWideOrUnwritableAreReportedNotWrittenEmpty) {
  for (int i = 0; i < 5; ++i) add_frame(sprite_, std::to_string(i), 4000, 1);
  ask_->answer_file(dir_ + "/wide");
  save_sprite_png_strip(kDialogWindow, sprite_, 0);
  EXPECT_FALSE(fs::exists("wide.png"));
  clear_resource_lists();
  add_frame(sprite_, "0", 4, 4);
  ask_->answer_file(dir_ + "/no/such/folder/s");
  save_sprite_png_strip(kDialogWindow, sprite_, 0);
  ASSERT_EQ(ask_->messages().size(), 2u);
  EXPECT_EQ(ask_->asked[1].title, "Error");
  EXPECT_EQ(ask_->messages()[1], "The file '" + dir_ + "/no/such/folder/s.png' cannot be written");

  // A disk that fills up half-way: the strip saved before stays whole.
  std::ofstream("kept.png", std::ios::binary) << "the strip saved before";
  clear_resource_lists();
  add_frame(sprite_, "0", gradient(64, 64));
  ask_->answer_file(dir_ + "/kept");
  rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 100;
  auto previous = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  save_sprite_png_strip(kDialogWindow, sprite_, 0);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  ASSERT_EQ(ask_->messages().size(), 3u);
  EXPECT_EQ(ask_->messages()[2], "The file '" + dir_ + "/kept.png' cannot be written");
  std::ifstream kept("kept.png", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the strip saved before");
  EXPECT_FALSE(fs::exists("kept.png.part"));
}
