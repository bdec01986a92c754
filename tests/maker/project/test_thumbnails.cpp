#include <sys/stat.h>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/project/records.h"
#include "maker/project/thumbnails.h"
#include "temp_dir_fixture.h"

namespace {

using imaging::Colour;
using imaging::rgba;

const Colour kCardColour = rgba(255, 255, 255);
const Colour kNoImageColour = rgba(150, 60, 40);
const Colour kPicture = rgba(255, 0, 0);

class Thumbnails : public InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    fill(imaging::create_image(91, 150, 100), kCardColour);
    fill(imaging::create_image(92, 150, 100), kNoImageColour);
    g_project_folder = "_temp_101010";
    mkdir(g_project_folder.c_str(), 0700);
  }
  static int fill(int image, Colour colour) {
    imaging::Canvas c(image);
    c.set_colour(colour);
    c.box(0, 0, imaging::image_width(image), imaging::image_height(image));
    return image;
  }
  static int picture(int w, int h) {
    return fill(imaging::create_image(imaging::kAnyImage, w, h), kPicture);
  }
  // The w x h box at (x, y) of the thumbnail holds the picture and the
  // pixels just outside it hold the card.
  static void expect_picture_box(int thumb, int w, int h, const std::string& what) {
    SCOPED_TRACE(what);
    ASSERT_EQ(imaging::image_width(thumb), 150);
    ASSERT_EQ(imaging::image_height(thumb), 100);
    const int x = 45, y = 20;
    for (auto [px, py] : {std::pair{x, y}, {x + w - 1, y}, {x, y + h - 1}, {x + w - 1, y + h - 1}})
      EXPECT_EQ(imaging::image_pixel(thumb, px, py), kPicture) << px << "," << py;
    for (auto [px, py] : {std::pair{x - 1, y}, {x, y - 1}, {x + w, y}, {x, y + h}})
      EXPECT_EQ(imaging::image_pixel(thumb, px, py), kCardColour) << px << "," << py;
  }
  static std::string add_sprite_with_frame(int w, int h) {
    std::string name = new_sprite();
    g_frames.append({"0", name, picture(w, h)});
    return name;
  }
};

TEST_F(Thumbnails, PictureIsFittedIntoTheAreaAtItsTopLeft) {
  const struct {
    int w, h, drawn_w, drawn_h;
  } cases[] = {
      {120, 30, 60, 15}, {10, 40, 15, 60}, {1, 1, 60, 60}, {60, 60, 60, 60},
      {200, 100, 60, 30}, {7, 5, 60, 43}, {5, 7, 43, 60}, {8, 1, 60, 8},
  };
  for (const auto& c : cases) {
    add_sprite_with_frame(c.w, c.h);
    build_resource_thumbnails();
    expect_picture_box(g_sprites[g_sprites.count() - 1].thumbnail_image, c.drawn_w, c.drawn_h,
                       std::to_string(c.w) + "x" + std::to_string(c.h));
  }
}

TEST_F(Thumbnails, MakeThumbnailOfNoImageIsTheBareCard) {
  int thumb = make_thumbnail(-1);
  EXPECT_EQ(imaging::image_pixel(thumb, 75, 50), kCardColour);
  EXPECT_NE(thumb, 91);
}

TEST_F(Thumbnails, SpriteWithoutPictureGetsTheNoImageCard) {
  std::string without_frames = new_sprite();
  std::string missing_image = new_sprite();
  g_frames.append({"0", missing_image, -1});
  build_resource_thumbnails();
  for (int i : {0, 1}) {
    int thumb = g_sprites[i].thumbnail_image;
    EXPECT_EQ(imaging::image_width(thumb), 150);
    EXPECT_EQ(imaging::image_pixel(thumb, 75, 50), kNoImageColour) << i;
  }
}

TEST_F(Thumbnails, FirstFrameInListOrderIsUsedAndOldThumbnailsFreed) {
  std::string a = new_sprite();
  std::string b = new_sprite();
  g_frames.append({"0", b, picture(60, 30)});
  g_frames.append({"0", a, picture(30, 60)});
  g_frames.append({"1", b, picture(10, 60)});
  int old = imaging::create_image(imaging::kAnyImage, 150, 100);
  g_sprites[1].thumbnail_image = old;
  build_resource_thumbnails();
  expect_picture_box(g_sprites[0].thumbnail_image, 30, 60, "a");
  expect_picture_box(g_sprites[1].thumbnail_image, 60, 30, "b");
  EXPECT_FALSE(imaging::image_exists(old));
  EXPECT_TRUE(imaging::image_exists(91));

  // Building again renews without piling up images.
  int first = g_sprites[0].thumbnail_image;
  build_resource_thumbnails();
  EXPECT_FALSE(imaging::image_exists(first));
}

TEST_F(Thumbnails, BackgroundsUseTheirFileInTheWorkingFolder) {
  std::string with_file = new_background();
  std::string missing_file = new_background();
  std::string damaged_file = new_background();
  new_background();  // no image file
  g_backgrounds[0].image_file = "sky.png";
  g_backgrounds[1].image_file = "gone.png";
  g_backgrounds[2].image_file = "bad.png";
  int sky = picture(30, 60);
  ASSERT_TRUE(imaging::save_image_png(sky, g_project_folder + "/sky.png"));
  write_file(g_project_folder + "/bad.png", "\x89PNG\r\n\x1a\nnot really");

  build_resource_thumbnails();
  expect_picture_box(g_backgrounds[0].thumbnail_image, 30, 60, "file");
  for (int i : {1, 2}) {
    int thumb = g_backgrounds[i].thumbnail_image;
    EXPECT_EQ(imaging::image_width(thumb), 150) << i;
    EXPECT_EQ(imaging::image_pixel(thumb, 75, 50), kCardColour) << i;
  }
  EXPECT_EQ(g_backgrounds[3].thumbnail_image, -1);

  // Built again (as after a frame edit): the same pictures in new images; a
  // file written since, or a thumbnail the dialog renewed, is read again.
  const int before = g_backgrounds[0].thumbnail_image;
  build_resource_thumbnails();
  expect_picture_box(g_backgrounds[0].thumbnail_image, 30, 60, "unchanged file");
  EXPECT_FALSE(imaging::image_exists(before));
  ASSERT_TRUE(imaging::save_image_png(picture(60, 20), g_project_folder + "/sky.png"));
  build_resource_thumbnails();
  expect_picture_box(g_backgrounds[0].thumbnail_image, 60, 20, "file written since");
  imaging::free_image(g_backgrounds[0].thumbnail_image);
  g_backgrounds[0].thumbnail_image = make_thumbnail(picture(10, 60));
  build_resource_thumbnails();
  expect_picture_box(g_backgrounds[0].thumbnail_image, 60, 20, "thumbnail renewed by the dialog");
}

TEST_F(Thumbnails, ObjectsPointAtTheFirstFrameOfTheirSprite) {
  std::string sprite = add_sprite_with_frame(12, 34);
  std::string empty_sprite = new_sprite();
  int frame = g_frames[0].image;
  new_object();
  new_object();
  new_object();
  g_objects[0].sprite_name = sprite;
  g_objects[1].sprite_name = empty_sprite;
  g_objects[1].sprite_image = 777;
  g_objects[1].image_width = 5;
  g_objects[1].image_height = 6;
  g_objects[2].sprite_image = 888;  // no sprite
  GameObject placed = g_objects[0];
  placed.is_prototype = 0;
  placed.name = "SceneObject9";
  placed.sprite_image = -1;
  g_objects.append(placed);

  build_resource_thumbnails();
  for (int i : {0, 3}) {
    EXPECT_EQ(g_objects[i].sprite_image, frame) << i;
    EXPECT_EQ(g_objects[i].image_width, 12) << i;
    EXPECT_EQ(g_objects[i].image_height, 34) << i;
  }
  EXPECT_EQ(g_objects[1].sprite_image, 777);
  EXPECT_EQ(g_objects[1].image_width, 5);
  EXPECT_EQ(g_objects[1].image_height, 6);
  EXPECT_EQ(g_objects[2].sprite_image, 888);
  EXPECT_TRUE(imaging::image_exists(frame));  // borrowed, not copied or freed
}

}  // namespace

// Enough resources that the thumbnails are drawn on several threads: each
// still shows its own picture, and the new thumbnails take numbers in list
// order (sprites, then backgrounds), as when they were made one by one.
TEST_F(Thumbnails, ManyResourcesKeepTheirPicturesAndListOrder) {
  const int sprites = 60, backgrounds = 12;
  for (int i = 0; i < sprites; ++i) add_sprite_with_frame(60, 1 + i % 60);
  for (int i = 0; i < backgrounds; ++i) {
    new_background();
    g_backgrounds[i].image_file = "b" + std::to_string(i) + ".png";
    ASSERT_TRUE(imaging::save_image_png(picture(60, 5 + i), g_project_folder + "/" + g_backgrounds[i].image_file));
  }
  build_resource_thumbnails();
  int previous = -1;
  for (int i = 0; i < sprites; ++i) {
    expect_picture_box(g_sprites[i].thumbnail_image, 60, 1 + i % 60, "sprite " + std::to_string(i));
    EXPECT_GT(g_sprites[i].thumbnail_image, previous) << i;
    previous = g_sprites[i].thumbnail_image;
  }
  for (int i = 0; i < backgrounds; ++i) {
    expect_picture_box(g_backgrounds[i].thumbnail_image, 60, 5 + i, "background " + std::to_string(i));
    EXPECT_GT(g_backgrounds[i].thumbnail_image, previous) << i;
    previous = g_backgrounds[i].thumbnail_image;
  }
}
