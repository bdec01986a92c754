#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "maker/export/generators.h"
#include "tests/maker/project/records_fixture.h"

namespace {

// Lines of generated JavaScript, each ended by CR LF.
std::string lines(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) out += p + "\r\n";
  return out;
}

int image(int w, int h) { return imaging::create_image(imaging::kAnyImage, w, h); }

GameObject definition(const std::string& name) {
  GameObject o;
  o.is_prototype = 1;
  o.name = name;
  o.visible = 1;
  o.collision = 1;
  return o;
}

GameObject instance(const std::string& of, const std::string& scene, int x, int y) {
  GameObject o;
  o.name = "SceneObject" + std::to_string(g_objects.count());
  o.template_name = of;
  o.scene_name = scene;
  o.x = x;
  o.y = y;
  return o;
}

void script(const std::string& owner, const std::string& event, const std::string& code,
            const std::string& other = "") {
  g_scripts.append({"scr_" + std::to_string(g_scripts.count()), owner, event, other, code});
}

Scene scene(const std::string& name) {
  Scene s;
  s.name = name;
  s.width = s.view_width = 640;
  s.height = s.view_height = 480;
  s.speed = 30;
  s.follow_border_x = s.follow_border_y = 50;
  return s;
}

Tile tile(const std::string& background, int depth, int left, const std::string& scene = "s") {
  Tile t;
  t.background_name = background;
  t.depth = depth;
  t.source_left = left;
  t.width = t.height = 8;
  t.scene_name = scene;
  t.image = -1;
  return t;
}

const std::string kDefaultHandlers[] = {
    "this.on_creation = on_creation_i;",     "this.on_destroy = on_destroy_i;",
    "this.on_step = on_step_i;",             "this.on_end_step = on_end_step_i;",
    "this.on_collision = on_collision_i;",   "this.on_roomstart = on_roomstart_i;",
    "this.on_roomend = on_roomend_i;",       "this.on_animationend = on_animationend_i;",
    "this.on_draw = on_draw_i;"};

using Generators = EmptyProject;

struct Case {
  const char* what;
  std::function<void()> setup;
  std::string (*generate)();
  std::string expected;
};

void check(const Case& c) {
  clear_resource_lists();
  reset_program_values();
  c.setup();
  EXPECT_EQ(c.generate(), c.expected) << c.what;
}

TEST_F(Generators, SmallResourceKinds) {
  const Case cases[] = {
      {"sprite with two frames",
       [] {
         g_sprites.append({"spr_ball", -1, "Circle", 16, 0, 32, 0, 32, 16, 16});
         g_frames.append({"1", "spr_ball", image(32, 32)});
         g_frames.append({"2", "spr_ball", image(32, 32)});
       },
       gen_sprites_js,
       lines({"function __spr_ball() { ",
              "__sprite_init__(this, spr_ball, 32, 32, 16, 16, 'Circle', 16, 0, 32, 0, 32, "
              "['spr_ball_1.png','spr_ball_2.png']);",
              "}; var spr_ball = new __spr_ball();", ""})},
      {"sprite size from its last frame, frames of others skipped, negatives",
       [] {
         g_sprites.append({"a", -1, "Box", 0, -1, 2, -3, 4, -5, 6});
         g_frames.append({"1", "a", image(10, 20)});
         g_frames.append({"1", "b", image(99, 99)});
         g_frames.append({"7", "a", image(30, 40)});
       },
       gen_sprites_js,
       lines({"function __a() { ",
              "__sprite_init__(this, a, 30, 40, -5, 6, 'Box', 0, -1, 2, -3, 4, ['a_1.png','a_7.png']);",
              "}; var a = new __a();", ""})},
      {"sprite without frames",
       [] { g_sprites.append({"e", -1, "Box", 0, 0, 0, 0, 0, 0, 0}); },
       gen_sprites_js,
       lines({"function __e() { ", "__sprite_init__(this, e, 0, 0, 0, 0, 'Box', 0, 0, 0, 0, 0, []);",
              "}; var e = new __e();", ""})},
      {"sound with WAV and OGG",
       [] { g_sounds.append({"snd_jump", "jump.wav", "", "jump.ogg"}); },
       gen_sounds_js,
       lines({"function __snd_jump() { ", "__audio_init__(this, snd_jump, 'jump.wav', '', 'jump.ogg');",
              "}; var snd_jump = new __snd_jump();", ""})},
      {"sounds without files are left out, one with only OGG is kept",
       [] {
         g_sounds.append({"none", "", "", ""});
         g_sounds.append({"o", "", "", "o.ogg"});
       },
       gen_sounds_js,
       lines({"function __o() { ", "__audio_init__(this, o, '', '', 'o.ogg');",
              "}; var o = new __o();", ""})},
      {"musics like sounds",
       [] {
         g_musics.append({"m", "", "m.mp3", ""});
         g_musics.append({"none", "", "", ""});
       },
       gen_musics_js,
       lines({"function __m() { ", "__audio_init__(this, m, '', 'm.mp3', '');",
              "}; var m = new __m();", ""})},
      {"background, and one without image used as tile set left out",
       [] {
         g_backgrounds.append({"bg_sky", "sky.png", -1, 0, 0, 0, 0, 0, 0, 0});
         g_backgrounds.append({"tiles", "", -1, 1, 32, 32, 0, 0, 0, 0});
       },
       gen_backgrounds_js,
       lines({"function __bg_sky() { ",
              "__background_init__(this, bg_sky, 'sky.png')}; var bg_sky = new __bg_sky();", ""})},
      {"fonts, every one",
       [] {
         g_fonts.append({"fnt_score", "Arial", 12, 1, 0});
         g_fonts.append({"f", "", 0, 0, 1});
       },
       gen_fonts_js,
       lines({"function __fnt_score() { ",
              "__font_init__(this, fnt_score, 'Arial', 12, 1, 0)}; var fnt_score = new __fnt_score();",
              "", "function __f() { ", "__font_init__(this, f, '', 0, 0, 1)}; var f = new __f();", ""})},
      {"texts go in unescaped",
       [] { g_sounds.append({"s", "it's.wav", "a\r\nb", ""}); },
       gen_sounds_js,
       lines({"function __s() { ", "__audio_init__(this, s, 'it's.wav', 'a\r\nb', '');",
              "}; var s = new __s();", ""})},
      {"empty lists give empty texts", [] {}, gen_sprites_js, ""},
      {"no sounds", [] {}, gen_sounds_js, ""},
      {"no musics", [] {}, gen_musics_js, ""},
      {"no backgrounds", [] {}, gen_backgrounds_js, ""},
      {"no fonts", [] {}, gen_fonts_js, ""},
      {"no objects", [] {}, gen_objects_js, ""},
      {"no scenes, no room to go", [] {}, gen_scenes_js, ""},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(Generators, ObjectOfTheWorkedExample) {
  for (int i = 0; i < 4; ++i) g_objects.append(instance("other", "s", 0, 0));
  GameObject player = definition("obj_player");
  player.sprite_name = "spr_ball";
  g_objects.append(player);
  script("obj_player", "Creation", "x = 0;");
  script("obj_player", "Collision", "hspeed = 0;", "obj_wall");
  EXPECT_EQ(gen_objects_js(),
            lines({"function __obj_player() {",
                   "__instance_init__(this, obj_player, null, 1, 0, spr_ball, 1, 4);",
                   "this.on_creation = function() {", "with(this) {", "x = 0;", "}", "};",
                   "this.on_destroy = on_destroy_i;", "this.on_step = on_step_i;",
                   "this.on_end_step = on_end_step_i;", "this.on_collision = function() {",
                   "with(this) {",
                   "this.other = this.place_meeting(this.x, this.y, obj_wall);",
                   "if(this.other != null) {", "hspeed = 0;", "}", "}", "};",
                   "this.on_roomstart = on_roomstart_i;", "this.on_roomend = on_roomend_i;",
                   "this.on_animationend = on_animationend_i;", "this.on_draw = on_draw_i;",
                   "}; var obj_player = new __obj_player();", ""}));
}

TEST_F(Generators, ObjectEvents) {
  // One object per behaviour; all but the event under test keep the default
  // handler, so each case shows only the lines of its event.
  struct EventCase {
    const char* what;
    int advanced;
    std::function<void()> scripts;
    int event;  // index in kDefaultHandlers
    std::initializer_list<std::string> event_lines;
  } cases[] = {
      {"two scripts of one event in script order", 0,
       [] {
         script("o", "Step", "a();");
         script("p", "Step", "not_mine();");
         script("o", "Step", "b();");
       },
       2, {"this.on_step = function() {", "with(this) {", "a();", "b();", "}", "};"}},
      {"advanced scripting has no with block", 1, [] { script("o", "Step", "a();"); }, 2,
       {"this.on_step = function() {", "a();", "};"}},
      {"animation end opens with its frame test", 0,
       [] { script("o", "Animation end", "stop();"); }, 7,
       {"this.on_animationend = function() {", "if(this.image_index >= this.image_number - 1) {",
        "with(this) {", "stop();", "}", "}", "};"}},
      {"draw opens with the visibility test and the sprite", 1, [] { script("o", "Draw", "d();"); },
       8,
       {"this.on_draw = function() {", "if (this.visible == 1) {", "__handle_sprite__(this);",
        "d();", "}", "};"}},
      {"collision without other object is present with an empty body", 0,
       [] { script("o", "Collision", "never();", ""); }, 4,
       {"this.on_collision = function() {", "with(this) {", "}", "};"}},
      {"collision scripts each test their other object", 1,
       [] {
         script("o", "Collision", "a();", "x");
         script("o", "Collision", "skipped();", "");
         script("o", "Collision", "b();", "y");
       },
       4,
       {"this.on_collision = function() {",
        "this.other = this.place_meeting(this.x, this.y, x);", "if(this.other != null) {", "a();",
        "}", "this.other = this.place_meeting(this.x, this.y, y);", "if(this.other != null) {",
        "b();", "}", "};"}},
      {"code keeps its own line ends and gets one more", 1,
       [] { script("o", "Creation", "a();\r\nb();\r\n"); }, 0,
       {"this.on_creation = function() {", "a();", "b();", "", "};"}},
      {"an unknown event type and an other owner change nothing", 0,
       [] {
         script("o", "Mouse", "x();");
         script("O", "Step", "x();");
       },
       -1, {}},
  };
  for (const EventCase& c : cases) {
    clear_resource_lists();
    g_game_settings[0].advanced_mode = c.advanced;
    g_objects.append(definition("o"));
    c.scripts();
    std::string expected = lines({"function __o() {", "__instance_init__(this, o, null, 1, 0, null, 1, 0);"});
    for (int e = 0; e < 9; ++e)
      expected += e == c.event ? lines(c.event_lines) : kDefaultHandlers[e] + "\r\n";
    expected += lines({"}; var o = new __o();", ""});
    EXPECT_EQ(gen_objects_js(), expected) << c.what;
  }
}

TEST_F(Generators, ObjectsAreDefinitionsOnlyWithTheirListPosition) {
  GameObject child = definition("child");
  child.parent_name = "base";
  child.sprite_name = "spr";
  child.visible = 0;
  child.collision = 0;
  child.depth = -7;
  g_objects.append(instance("child", "s", 1, 2));
  g_objects.append(definition("base"));
  g_objects.append(instance("base", "s", 1, 2));
  g_objects.append(child);
  std::string defaults;
  for (const std::string& h : kDefaultHandlers) defaults += h + "\r\n";
  EXPECT_EQ(gen_objects_js(),
            lines({"function __base() {", "__instance_init__(this, base, null, 1, 0, null, 1, 1);"}) +
                defaults + lines({"}; var base = new __base();", ""}) +
                lines({"function __child() {",
                       "__instance_init__(this, child, base, 0, -7, spr, 0, 3);"}) +
                defaults + lines({"}; var child = new __child();", ""}));
}

TEST_F(Generators, ObjectHasEvent) {
  script("o", "Step", "");
  script("p", "Draw", "");
  EXPECT_EQ(object_has_event("o", "Step"), 1);
  EXPECT_EQ(object_has_event("o", "Draw"), 0);
  EXPECT_EQ(object_has_event("O", "Step"), 0);
  EXPECT_EQ(object_has_event("p", "Draw"), 1);
}

TEST_F(Generators, SceneOfTheWorkedExample) {
  g_scenes.append(scene("scene_1"));
  Tile t = tile("bg_tiles", 1000000, 0, "scene_1");
  t.width = t.height = 32;
  t.x = 64;
  t.y = 96;
  g_tiles.append(t);
  g_objects.append(definition("obj_player"));
  g_objects.append(instance("obj_player", "scene_1", 100, 200));
  EXPECT_EQ(gen_scenes_js(),
            lines({"function __scene_1() { ", "this.tiles = [", "[1000000,", "[bg_tiles,",
                   "[0,0,32,32,64,96]]]];", "this.objects = [", "[obj_player,100,200]];",
                   "this.start = function() {",
                   "__room_start__(this, scene_1, 640, 480, 30, 0, 0, 0, null, 0, 0, 0, 640, 480, "
                   "null, 50, 50);",
                   "};", "}", "var scene_1 = new __scene_1();", "qp_scenes.push(scene_1);",
                   "qp_room_to_go = scene_1;"}));
}

TEST_F(Generators, SceneDetails) {
  const std::string empty_start = lines({"this.tiles = [", "];", "this.objects = [", "];", "this.start = function() {"});
  const Case cases[] = {
      {"empty scene with code, background and followed object; second scene not the start",
       [] {
         Scene s = scene("a");
         s.code = "go();";
         s.background_name = "bg";
         s.back_red = 1;
         s.back_green = 2;
         s.back_blue = 3;
         s.tile_horizontal = s.stretch = 1;
         s.follow_object = "hero";
         s.follow_border_x = -4;
         g_scenes.append(s);
         g_scenes.append(scene("b"));
       },
       gen_scenes_js,
       lines({"function __a() { "}) + empty_start +
           lines({"__room_start__(this, a, 640, 480, 30, 1, 2, 3, bg.image, 1, 0, 1, 640, 480, hero, "
                  "-4, 50);",
                  "", "go();", "};", "}", "var a = new __a();", "qp_scenes.push(a);",
                  "function __b() { "}) +
           empty_start +
           lines({"__room_start__(this, b, 640, 480, 30, 0, 0, 0, null, 0, 0, 0, 640, 480, null, 50, 50);",
                  "};", "}", "var b = new __b();", "qp_scenes.push(b);", "qp_room_to_go = a;"})},
  };
  for (const Case& c : cases) check(c);
}

TEST_F(Generators, TileGroupsFollowFirstAppearance) {
  struct TileCase {
    const char* what;
    std::function<void()> tiles;
    std::string groups;  // between "this.tiles = [" CR LF and "];"
  } cases[] = {
      {"one background at two depths: two depth groups, in order of appearance",
       [] {
         g_tiles.append(tile("b", 5, 1));
         g_tiles.append(tile("b", 2, 2));
         g_tiles.append(tile("b", 5, 3));
       },
       "[5,\r\n[b,\r\n[1,0,8,8,0,0],\r\n[3,0,8,8,0,0]]],\r\n[2,\r\n[b,\r\n[2,0,8,8,0,0]]]"},
      {"backgrounds ordered by their first tile in the scene, only those at the depth",
       [] {
         g_tiles.append(tile("y", 1, 1));
         g_tiles.append(tile("x", 2, 2));
         g_tiles.append(tile("x", 1, 3));
         g_tiles.append(tile("y", 1, 4));
         g_tiles.append(tile("z", 9, 5, "other scene"));
       },
       "[1,\r\n[y,\r\n[1,0,8,8,0,0],\r\n[4,0,8,8,0,0]],\r\n[x,\r\n[3,0,8,8,0,0]]],\r\n"
       "[2,\r\n[x,\r\n[2,0,8,8,0,0]]]"},
      {"tiles of other scenes only: no group", [] { g_tiles.append(tile("b", 1, 1, "t")); }, ""},
  };
  for (const TileCase& c : cases) {
    clear_resource_lists();
    g_scenes.append(scene("s"));
    c.tiles();
    std::string out = gen_scenes_js();
    std::string head = "function __s() { \r\nthis.tiles = [\r\n";
    ASSERT_EQ(out.substr(0, head.size()), head) << c.what;
    EXPECT_EQ(out.substr(head.size(), out.find("];\r\nthis.objects") - head.size()), c.groups)
        << c.what;
  }
}

TEST_F(Generators, SceneInstancesInListOrderSeparatedByLines) {
  g_scenes.append(scene("s"));
  g_objects.append(instance("a", "s", 1, -2));
  g_objects.append(instance("b", "t", 3, 4));
  g_objects.append(instance("c", "s", 5, 6));
  std::string out = gen_scenes_js();
  EXPECT_NE(out.find("this.objects = [\r\n[a,1,-2],\r\n[c,5,6]];\r\n"), std::string::npos) << out;
}

// Big enough that the scenes are generated in slices side by side; tiles and
// instances of the scenes are interleaved through their lists. One scene
// leaves slices with no scene of their own.
TEST_F(Generators, LargeScenesKeepSceneAndListOrder) {
  for (int scenes : {5, 1}) {
    clear_resource_lists();
    const int tiles = 40000, instances = 20000;
    for (int s = 0; s < scenes; ++s) g_scenes.append(scene("s" + std::to_string(s)));
    std::vector<std::string> tile_text(scenes), instance_text(scenes);
    for (int i = 0; i < tiles; ++i) {
      const int s = i * 7 % scenes;
      Tile t = tile("b", 1, i, "s" + std::to_string(s));
      g_tiles.append(t);
      tile_text[s] += (tile_text[s].empty() ? "\r\n[" : ",\r\n[") + std::to_string(i) + ",0,8,8,0,0]";
    }
    for (int i = 0; i < instances; ++i) {
      const int s = i * 3 % scenes;
      g_objects.append(instance("o", "s" + std::to_string(s), i, 0));
      instance_text[s] += (instance_text[s].empty() ? "[o," : ",\r\n[o,") + std::to_string(i) + ",0]";
    }
    std::string expected;
    for (int s = 0; s < scenes; ++s) {
      const std::string name = "s" + std::to_string(s);
      expected += "function __" + name + "() { \r\nthis.tiles = [\r\n[1,\r\n[b," + tile_text[s] +
                  "]]];\r\nthis.objects = [\r\n" + instance_text[s] +
                  "];\r\nthis.start = function() {\r\n__room_start__(this, " + name +
                  ", 640, 480, 30, 0, 0, 0, null, 0, 0, 0, 640, 480, null, 50, 50);\r\n};\r\n}\r\n"
                  "var " + name + " = new __" + name + "();\r\nqp_scenes.push(" + name + ");\r\n";
    }
    expected += "qp_room_to_go = s0;\r\n";
    EXPECT_TRUE(gen_scenes_js() == expected) << scenes << " scenes";
  }
}

TEST_F(Generators, VersionAndGameSections) {
  EXPECT_EQ(gen_version_js(), "v1.2.7");
  g_game_settings[0].global_variables = "var a = 1;\r\n";
  g_game_settings[0].global_functions = "function f() {}";
  EXPECT_EQ(gen_global_variables_js(), "var a = 1;\r\n");
  EXPECT_EQ(gen_global_functions_js(), "function f() {}");
  g_game_settings[0].global_variables = "";
  EXPECT_EQ(gen_global_variables_js(), "");
}

TEST_F(Generators, ExtensionsGiveTheEnabledCodeAndOneLinePerPackage) {
  g_installed_extensions.clear();
  EXPECT_EQ(gen_extensions_js(), "");
  g_installed_extensions.append({"one", "One", "A", "", "", "\rone();\r", 0});
  g_installed_extensions.append({"two", "Two", "Bo", "", "", "\rtwo();\r", 1});
  g_installed_extensions.append({"three", "Three", "C", "", "", "\rthree();\r", 0});
  EXPECT_EQ(gen_extensions_js(), "\r\n/* Two by Bo */\r\n\rtwo();\r\r\n\r\n");
  g_installed_extensions[1].enabled = 0;
  EXPECT_EQ(gen_extensions_js(), "\r\n\r\n\r\n");
}

}  // namespace
