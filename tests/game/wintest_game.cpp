// Exported games played in headless Chromium: a project built in memory is
// exported with the shipped engine, the page is rendered after a short and
// after a longer run, and the screenshots are read back pixel by pixel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "imaging/codec.h"
#include "maker/export/export.h"
#include "maker/project/records.h"
#include "tests/maker/project/working_dir_fixture.h"
#include "toolkit/system.h"
#include "toolkit/testing.h"

namespace {

namespace fs = std::filesystem;
using imaging::Colour;
using imaging::rgba;

const char kChromium[] = "/usr/bin/chromium";
const fs::path kEngine = fs::path(__FILE__).parent_path() / "../../engine/export.js";

constexpr Colour kSky = rgba(20, 40, 160);
constexpr Colour kGreen = rgba(0, 200, 0);
constexpr Colour kRed = rgba(220, 30, 30);
constexpr Colour kYellow = rgba(240, 220, 0);
constexpr Colour kCyan = rgba(0, 200, 200);
constexpr Colour kMagenta = rgba(200, 0, 200);

class ExportedGame : public WorkingDirTest {
 protected:
  void SetUp() override {
    WorkingDirTest::SetUp();
    if (!fs::exists(kChromium)) GTEST_SKIP() << "no " << kChromium;
    tk::set_instant_pause(true);
    fs::create_directories("Projects/game");
    fs::create_directories("Extensions");
    fs::copy_file(kEngine, "export.js");
    g_engine_template = load_engine_template();
    ASSERT_FALSE(g_engine_template.empty());
    g_project_name = "game";
  }
  void TearDown() override {
    tk::set_instant_pause(false);
    g_engine_template.clear();
    WorkingDirTest::TearDown();
  }

  // A picture of w x h whose left part, up to `split`, is `left`, the rest `right`,
  // written into the project folder; returns its image number.
  static int picture(const std::string& file, int w, int h, Colour left, Colour right, int split) {
    int image = imaging::create_image(imaging::kAnyImage, w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) imaging::set_image_pixel(image, x, y, x < split ? left : right);
    EXPECT_TRUE(imaging::save_image_png(image, "Projects/game/" + file));
    return image;
  }

  // The record that `make` has just appended to `list`, renamed.
  template <class T>
  static T& added(RecordList<T>& list, std::string (*make)(), const std::string& name) {
    make();
    T& record = list[list.count() - 1];
    record.name = name;
    return record;
  }

  // A 16 x 16 sprite with a frame of each colour and a box over the whole frame.
  static void add_sprite(const std::string& name, std::initializer_list<Colour> frames) {
    Sprite& s = added(g_sprites, new_sprite, name);
    s.collision_right = 16;
    s.collision_bottom = 16;
    int counter = 0;
    for (Colour colour : frames) {
      const std::string file = std::to_string(++counter);
      const int image = picture(name + "_" + file + ".png", 16, 16, colour, colour, 16);
      g_frames.append({file, name, image});
    }
  }

  // A 160 x 120 scene of one colour, shown whole.
  static Scene& add_scene(const std::string& name, Colour colour) {
    Scene& scene = added(g_scenes, new_scene, name);
    g_layers[g_layers.count() - 1].scene_name = name;
    scene.width = scene.view_width = 160;
    scene.height = scene.view_height = 120;
    scene.back_red = imaging::red(colour);
    scene.back_green = imaging::green(colour);
    scene.back_blue = imaging::blue(colour);
    return scene;
  }

  static void add_object(const std::string& name, const std::string& sprite,
                         const std::string& parent = "", int collision = 1) {
    GameObject& o = added(g_objects, new_object, name);
    o.sprite_name = sprite;
    o.parent_name = parent;
    o.collision = collision;
  }

  static void add_script(const std::string& object, const std::string& event,
                         const std::string& code, const std::string& other = "") {
    g_scripts[add_event_script(object, event, other)].code = code;
  }

  // An instance of `object` in `scene`.
  static void place(const std::string& object, int x, int y, const std::string& scene = "room") {
    GameObject& o = added(g_objects, new_object, "SceneObject" + std::to_string(g_objects.count()));
    o.is_prototype = 0;
    o.template_name = object;
    o.scene_name = scene;
    o.x = x;
    o.y = y;
  }

  static void add_tile(const std::string& background, int left, int x, int y) {
    Tile t;
    t.name = "tile_" + std::to_string(g_tiles.count());
    t.background_name = background;
    t.source_left = left;
    t.width = 16;
    t.height = 16;
    t.x = x;
    t.y = y;
    t.depth = 1000000;
    t.scene_name = "room";
    t.image = -1;
    g_tiles.append(t);
  }

  // Renders the exported page after `budget_ms` of game time; the screenshot,
  // or an empty image when Chromium gave none.
  imaging::Image play(int budget_ms) {
    const std::string shot = (dir_ / ("shot" + std::to_string(budget_ms) + ".png")).string();
    const std::string command =
        "HOME=" + (dir_ / "home").string() + " timeout -k 5 30 " + kChromium +
        " --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir=" +
        (dir_ / "profile").string() + " --window-size=320,240 --virtual-time-budget=" +
        std::to_string(budget_ms) + " --screenshot=" + shot + " file://" +
        (dir_ / "Projects/game/index.html").string() + " >" + (dir_ / "chromium.log").string() +
        " 2>&1";
    fs::create_directories(dir_ / "home");
    EXPECT_EQ(std::system(command.c_str()), 0) << read_file(dir_ / "chromium.log");
    return imaging::decode_image_file(shot).value_or(imaging::Image());
  }

  tk::test::ScriptedRequesters asked_;
};

struct Pixel {
  const char* what;
  int x, y;
  Colour expected;
};

void expect_pixels(const imaging::Image& shot, const std::vector<Pixel>& pixels) {
  ASSERT_GE(shot.width, 160);
  ASSERT_GE(shot.height, 120);
  for (const Pixel& p : pixels) {
    const Colour got = imaging::get_pixel(shot, p.x, p.y);
    const auto near = [](int a, int b) { return std::abs(a - b) <= 6; };
    EXPECT_TRUE(near(imaging::red(got), imaging::red(p.expected)) &&
                near(imaging::green(got), imaging::green(p.expected)) &&
                near(imaging::blue(got), imaging::blue(p.expected)))
        << p.what << " at " << p.x << "," << p.y << ": got rgb(" << imaging::red(got) << ","
        << imaging::green(got) << "," << imaging::blue(got) << ")";
  }
}

// One scene exercises drawing, motion, collisions, animation and the kinds
// of project the generated code alone would trip over: a tile set and a
// scene picture without a file, a sound without files, a parent defined
// after its child, parents in a ring, an instance and a followed object that
// name a deleted object.
TEST_F(ExportedGame, DrawsMovesAndCollides) {
  add_sprite("spr_green", {kGreen});
  add_sprite("spr_red", {kRed});
  add_sprite("spr_yellow", {kYellow});
  add_sprite("spr_blink", {kGreen, kRed});

  added(g_sounds, new_sound, "snd_none");
  Background& tiles = added(g_backgrounds, new_background, "bg_tiles");
  tiles.image_file = "tiles.png";
  tiles.use_as_tileset = 1;
  imaging::free_image(picture("tiles.png", 32, 16, kCyan, kMagenta, 16));
  added(g_backgrounds, new_background, "bg_bare").use_as_tileset = 1;

  // The child comes first in the list, its parent last.
  add_object("obj_child", "spr_red", "obj_base");
  add_object("obj_mover", "spr_green");
  add_script("obj_mover", "Creation", "this.wait = 15;");
  add_script("obj_mover", "Step", "if (wait > 0) wait -= 1;\r\nelse if (x < 120) x += 4;");
  add_object("obj_wall", "spr_red");
  add_script("obj_wall", "Collision", "sprite_index = spr_yellow;", "obj_mover");
  add_script("obj_wall", "Collision", "sprite_index = spr_yellow;", "obj_ghost");
  add_object("obj_ghost", "spr_red", "", 0);
  add_script("obj_ghost", "Collision", "sprite_index = spr_yellow;", "obj_mover");
  add_object("obj_probe", "spr_red");
  add_script("obj_probe", "Creation", "sound_play(snd_none);\r\nsprite_index = spr_green;");
  add_object("obj_base", "spr_red");
  add_script("obj_base", "Creation", "sprite_index = spr_yellow;");
  // Parents in a ring, as a damaged project may have them.
  add_object("obj_ping", "spr_green", "obj_pong");
  add_object("obj_pong", "spr_red", "obj_ping");

  // Ten steps a frame: the last frame comes after a third of a second, the
  // end of the animation after two thirds; there the blinker moves and
  // stops on its last frame, and the flash goes.
  add_object("obj_blinker", "spr_blink");
  add_script("obj_blinker", "Creation", "image_speed = 0.1;");
  add_script("obj_blinker", "Animation end",
             "x = 40;\r\nimage_speed = 0;\r\nimage_index = image_number - 1;");
  add_object("obj_flash", "spr_blink");
  add_script("obj_flash", "Creation", "image_speed = 0.1;");
  add_script("obj_flash", "Animation end", "instance_destroy();");

  Scene& room = add_scene("room", kSky);
  room.background_name = "bg_bare";
  room.follow_object = "obj_gone";
  add_tile("bg_tiles", 16, 8, 96);
  add_tile("bg_bare", 0, 40, 96);
  place("obj_mover", 8, 8);
  place("obj_wall", 132, 8);
  place("obj_ghost", 112, 20);
  place("obj_wall", 120, 30);  // overlaps the ghost
  place("obj_child", 8, 40);
  place("obj_probe", 40, 40);
  place("obj_gone", 60, 60);
  place("obj_ping", 72, 96);
  place("obj_blinker", 8, 70);
  place("obj_flash", 100, 70);

  ASSERT_EQ(export_game(), 0);
  EXPECT_TRUE(asked_.asked.empty());

  // The mover waits 15 steps (half a second), then moves 4 pixels a step
  // until x is 120, where it overlaps the first wall and the ghost; the
  // ghost, which takes no part in collisions, overlaps the second wall.
  {
    SCOPED_TRACE("before the mover sets off");
    expect_pixels(play(200), {
        {"scene colour", 80, 70, kSky},
        {"right half of the tile picture", 15, 103, kMagenta},
        {"no tile from a background without a file", 47, 103, kSky},
        {"mover at its start", 15, 15, kGreen},
        {"wall untouched", 145, 15, kRed},
        {"child ran the creation code of its later parent", 15, 47, kYellow},
        {"probe went on past a sound without files", 47, 47, kGreen},
        {"object in a ring of parents", 79, 103, kGreen},
        {"ghost", 114, 30, kRed},
        {"first frame of the blinker", 15, 77, kGreen},
        {"first frame of the flash", 107, 77, kGreen},
    });
  }
  {
    SCOPED_TRACE("after the mover has stopped");
    expect_pixels(play(3000), {
        {"mover at its end", 127, 15, kGreen},
        {"scene colour where the mover was", 15, 15, kSky},
        {"wall hit by the mover", 145, 15, kYellow},
        {"ghost without collision checking", 114, 30, kRed},
        {"wall over the ghost", 132, 42, kRed},
        {"tile still drawn", 15, 103, kMagenta},
        {"blinker moved at the end of its animation", 47, 77, kRed},
        {"scene colour where the blinker was", 15, 77, kSky},
        {"flash gone at the end of its animation", 107, 77, kSky},
    });
  }
}

// After 20 steps the leaver sends the game to the second scene, which has
// its own colour and instance; the leaver's scene end and the newcomer's
// scene start both leave a mark.
TEST_F(ExportedGame, GoesToAnotherScene) {
  constexpr Colour kDusk = rgba(90, 30, 60);
  add_sprite("spr_green", {kGreen});
  add_sprite("spr_red", {kRed});
  add_sprite("spr_yellow", {kYellow});
  add_object("obj_leaver", "spr_red");
  add_script("obj_leaver", "Creation", "this.steps = 0;");
  add_script("obj_leaver", "Room start", "sprite_index = spr_green;");
  add_script("obj_leaver", "Step", "steps += 1;\r\nif (steps == 20) room_goto(room_next);");
  add_script("obj_leaver", "Room end", "left_first_scene = 1;");
  add_object("obj_newcomer", "spr_red");
  add_script("obj_newcomer", "Room start",
             "if (left_first_scene == 1) sprite_index = spr_yellow;\r\n"
             "else sprite_index = spr_green;");
  add_scene("room", kSky);
  add_scene("room_next", kDusk);
  place("obj_leaver", 8, 8);
  place("obj_newcomer", 40, 40, "room_next");

  ASSERT_EQ(export_game(), 0);
  EXPECT_TRUE(asked_.asked.empty());
  {
    SCOPED_TRACE("in the first scene");
    expect_pixels(play(200), {
        {"first scene colour", 80, 70, kSky},
        {"leaver after its scene start", 15, 15, kGreen},
        {"no newcomer yet", 47, 47, kSky},
    });
  }
  {
    SCOPED_TRACE("in the second scene");
    expect_pixels(play(2000), {
        {"second scene colour", 80, 70, kDusk},
        {"leaver gone with its scene", 15, 15, kDusk},
        {"newcomer after the first scene ended", 47, 47, kYellow},
    });
  }
}

}  // namespace
