// The image-strip import: a picture cut into a grid of frames, the sprite's
// origin and collision values reset to the cell, and its thumbnail renewed.
#include "maker/graphics/frame_commands.h"
#include "maker/graphics/strip_import.h"
#include "maker/shell/small_windows.h"
#include "graphics_fixture.h"

using namespace graphics_test;

namespace {

int importer() { return window_titled("Importing image strips"); }
int columns() { return widget_of(importer(), tk::WidgetKind::Input, 0); }
int rows() { return widget_of(importer(), tk::WidgetKind::Input, 1); }

void import_grid(const std::string& c, const std::string& r) {
  retype(columns(), c);
  retype(rows(), r);
  press(importer(), " Import! ");
}

class StripImport : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    tk::open_window(kDialogWindow, 0, 0, 800, 600, "Sprite properties");
    Sprite& s = g_sprites[0];
    s.collision_shape = "Circle";
    s.origin_x = s.origin_y = 7;
    s.collision_left = s.collision_top = -3;
    s.collision_right = s.collision_bottom = 99;
    s.collision_radius = 50;
  }
  void import_from(const std::string& file) {
    ask_->answer_file(file.empty() ? "" : dir_ + "/" + file);
    import_image_strip(0);
  }
};

}  // namespace

TEST_F(StripImport, CellsBecomeFramesInRowOrderAndTheSpriteFitsTheCell) {
  write_png("strip.png", gradient(100, 30));
  add_frame(sprite_, "0", 8, 8);
  add_frame("other", "4", 8, 8);
  add_frame(sprite_, "1", 8, 8);
  const int old_thumbnail = g_sprites[0].thumbnail_image = imaging::create_image(imaging::kAnyImage, 2, 2);
  tk::test::when_idle([] {
    const int w = importer();
    ASSERT_NE(w, -1);
    EXPECT_EQ(tk::window_width(w), 800);
    EXPECT_EQ(tk::window_height(w), 600);
    EXPECT_TRUE(tk::window_disabled(kDialogWindow));
    EXPECT_NE(tk::test::find_widget(w, "Dimensions: 100 x 30 pixels"), -1);
    const int area = widget_of(w, tk::WidgetKind::ScrollArea);
    EXPECT_EQ(tk::scroll_inner_width(area), 100);
    EXPECT_EQ(tk::scroll_inner_height(area), 30);
    EXPECT_EQ(tk::text(columns()), "1");
    EXPECT_EQ(tk::text(rows()), "1");
    tk::test::request_close(w);  // ignored
    import_grid("3", "1");
  });
  import_from("strip.png");
  EXPECT_EQ(ask_->asked[0].title, "Select an image strip");
  EXPECT_EQ(ask_->asked[0].default_path, "");
  EXPECT_EQ(ask_->asked[0].patterns,
            "Image strips(jpg, bmp, png)|*.jpg;*.bmp;*.png|JPG files(*.jpg)|*.jpg|BMP files(*.bmp)|*.bmp|"
            "PNG files(*.png)|*.png");
  EXPECT_EQ(importer(), -1);
  EXPECT_FALSE(tk::window_disabled(kDialogWindow));
  EXPECT_FALSE(imaging::image_exists(kStripPicture));
  // The rightmost pixel column is in no frame.
  EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"0", 33, 30}, {"1", 33, 30}, {"2", 33, 30}}));
  EXPECT_EQ(g_frames[0].sprite_name, "other");
  EXPECT_EQ(imaging::get_pixel(frame_picture(2), 0, 0), imaging::rgba(33, 0, 7));
  EXPECT_EQ(imaging::get_pixel(frame_picture(3), 32, 29), imaging::rgba(98, 29, 7));
  const Sprite& s = g_sprites[0];
  EXPECT_EQ(std::make_pair(s.origin_x, s.origin_y), std::make_pair(0, 0));
  EXPECT_EQ(s.collision_radius, 16);
  EXPECT_EQ(std::vector<int>({s.collision_left, s.collision_top, s.collision_right, s.collision_bottom}),
            std::vector<int>({0, 0, 33, 30}));
  EXPECT_EQ(s.collision_shape, "Circle");
  EXPECT_FALSE(imaging::image_exists(old_thumbnail));
  EXPECT_EQ(imaging::image_width(s.thumbnail_image), 150);
  EXPECT_EQ(imaging::image_height(s.thumbnail_image), 100);
}

TEST_F(StripImport, SheetsAreCutRowByRow) {
  imaging::Image sheet(64, 64);
  const imaging::Colour colours[] = {imaging::rgba(1, 0, 0), imaging::rgba(2, 0, 0), imaging::rgba(3, 0, 0),
                                     imaging::rgba(4, 0, 0)};
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) imaging::set_pixel(sheet, x, y, colours[(y / 32) * 2 + x / 32]);
  write_bmp("sheet.bmp", sheet);
  tk::test::when_idle([] { import_grid("2", "2"); });
  import_from("sheet.bmp");
  ASSERT_EQ(frames_of(sprite_).size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(frame_picture(i).width, 32);
    EXPECT_EQ(imaging::get_pixel(frame_picture(i), 31, 31), colours[i]) << i;
  }
  EXPECT_EQ(g_sprites[0].collision_bottom, 32);
}

TEST_F(StripImport, AWrittenStripComesBackFrameByFrame) {
  add_frame(sprite_, "7", picture(5, 4, imaging::rgba(10, 0, 0)));
  add_frame(sprite_, "2", gradient(5, 4));
  add_frame(sprite_, "0", picture(5, 4, imaging::rgba(0, 0, 30, 128)));
  std::vector<imaging::Image> written;
  for (int i = 0; i < 3; ++i) written.push_back(frame_picture(i));
  ask_->answer_file(dir_ + "/walk");
  save_sprite_png_strip(kDialogWindow, sprite_, 0);
  tk::test::when_idle([] { import_grid("3", "1"); });
  import_from("walk.png");
  EXPECT_EQ(counters_of(sprite_), (std::vector<std::string>{"0", "1", "2"}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(frame_picture(i).width, 5);
    EXPECT_EQ(frame_picture(i).pixels, written[size_t(i)].pixels) << i;
  }
}

TEST_F(StripImport, GridsThatCutNoPixelOrTooManyFramesAreRefusedWithTheWindowOpen) {
  write_png("sheet.png", gradient(100, 50));
  add_frame(sprite_, "0", 8, 8);
  const std::string invalid = "Invalid column or row number";
  const struct {
    const char *columns, *rows;
    std::string message;
  } refused[] = {
      {"0", "1", invalid},
      {"1", "", invalid},
      {"101", "1", invalid},
      {"1", "51", invalid},
      {"99999999999", "1", invalid},
      {"100", "50", "100 x 50 makes 5000 frames; at most 4096 frames can be imported at once"},
      {"100", "41", "100 x 41 makes 4100 frames; at most 4096 frames can be imported at once"},
  };
  for (const auto& c : refused)
    tk::test::when_idle([&c] {
      ASSERT_NE(importer(), -1);
      import_grid(c.columns, c.rows);
    });
  tk::test::when_idle([] { import_grid("100", "40"); });  // 4000 frames of 1 x 1
  import_from("sheet.png");
  std::vector<std::string> expected;
  for (const auto& c : refused) expected.push_back(c.message);
  EXPECT_EQ(ask_->messages(), expected);
  EXPECT_EQ(ask_->asked[1].title, "Error");
  EXPECT_EQ(ask_->asked.back().title, "Error");
  ASSERT_EQ(frames_of(sprite_).size(), 4000u);
  EXPECT_EQ(g_frames[g_frames.count() - 1].file_counter, "3999");
  EXPECT_EQ(frame_picture(g_frames.count() - 1).width, 1);
  EXPECT_EQ(frame_picture(g_frames.count() - 1).height, 1);
}

TEST_F(StripImport, UnreadablePicturesAndACancelledChooserChangeNothing) {
  write_png("good.png", gradient(10, 10));
  const std::string png = read_file("good.png");
  std::ofstream("cut.png", std::ios::binary) << png.substr(0, png.size() - 12);
  add_frame(sprite_, "0", 8, 8);
  import_from("cut.png");
  import_from("nothing.bmp");
  import_from("");
  EXPECT_EQ(ask_->messages(), (std::vector<std::string>{"The file 'cut.png' cannot be read as an image",
                                                        "The file 'nothing.bmp' cannot be read as an image"}));
  EXPECT_EQ(frames_of(sprite_), (std::vector<FrameShape>{{"0", 8, 8}}));
  EXPECT_EQ(g_sprites[0].origin_x, 7);
  EXPECT_EQ(importer(), -1);
  EXPECT_FALSE(tk::window_disabled(kDialogWindow));
}

TEST_F(StripImport, TheThumbnailShowsTheFirstFrameFittedIntoItsPictureArea) {
  struct Case {
    int w, h;
    int drawn_w, drawn_h;
  } cases[] = {{30, 60, 30, 60}, {60, 30, 60, 30}, {300, 100, 60, 20}};
  for (const Case& c : cases) {
    write_png("first.png", picture(c.w, c.h, imaging::rgba(255, 0, 0)));
    tk::test::when_idle([] { import_grid("1", "1"); });
    import_from("first.png");
    const int thumbnail = g_sprites[0].thumbnail_image;
    const int right = 45 + c.drawn_w - 1, bottom = 20 + c.drawn_h - 1;
    EXPECT_EQ(imaging::image_pixel(thumbnail, 45, 20), imaging::rgba(255, 0, 0)) << c.w;
    EXPECT_EQ(imaging::image_pixel(thumbnail, right, bottom), imaging::rgba(255, 0, 0)) << c.w;
    EXPECT_NE(imaging::image_pixel(thumbnail, right + 1, bottom), imaging::rgba(255, 0, 0)) << c.w;
    EXPECT_NE(imaging::image_pixel(thumbnail, right, bottom + 1), imaging::rgba(255, 0, 0)) << c.w;
  }
}
