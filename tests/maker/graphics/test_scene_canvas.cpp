// The scene canvas rules without a window: drawing order, hit boxes, the
// picture drawn, placing and removing by mouse and keys, and the tile-set
// picker.
#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/draw.h"
#include "maker/graphics/scene_canvas.h"
#include "maker/project/records.h"
#include "maker/shell/builtin_pictures.h"
#include "toolkit/menu.h"
#include "toolkit/testing.h"

namespace {

using imaging::rgba;

constexpr imaging::Colour kBack = rgba(10, 20, 30);
constexpr imaging::Colour kRed = rgba(250, 0, 0);
constexpr imaging::Colour kBlue = rgba(0, 0, 250);

int picture(int w, int h, imaging::Colour colour) {
  int n = imaging::create_image(imaging::kAnyImage, w, h);
  imaging::Canvas c(n);
  c.set_colour(colour);
  c.box(0, 0, w, h);
  return n;
}

class SceneCanvas : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { load_builtin_pictures(); }
  void SetUp() override {
    clear_resource_lists();
    reset_program_values();
    g_scene_show_grid = 0;
    Scene s;
    s.name = "room";
    s.width = 100;
    s.height = 80;
    s.back_red = 10, s.back_green = 20, s.back_blue = 30;
    g_scenes.append(s);
    st_.scene = 0;
    target_ = imaging::Image(100, 80);
  }
  void TearDown() override {
    free_scene_canvas_pictures(st_);
    clear_resource_lists();
  }

  // An object definition with a sprite of one frame w x h in that colour.
  void define(const std::string& object, int w, int h, imaging::Colour colour, int ox = 0, int oy = 0,
              int depth = 0) {
    Sprite sp;
    sp.name = "spr_" + object;
    sp.origin_x = ox, sp.origin_y = oy;
    g_sprites.append(sp);
    g_frames.append({"0", sp.name, picture(w, h, colour)});
    GameObject o;
    o.is_prototype = 1;
    o.name = object;
    o.sprite_name = sp.name;
    o.depth = depth;
    g_objects.append(o);
  }
  int instance(const std::string& name, int x, int y, int depth, const std::string& scene = "room") {
    GameObject o;
    o.name = name, o.x = x, o.y = y, o.depth = depth, o.scene_name = scene, o.sprite_image = -1;
    return g_objects.append(o);
  }
  int tile(const std::string& name, int x, int y, int depth, imaging::Colour colour = kBlue, int w = 10,
           int h = 10, const std::string& scene = "room") {
    Tile t;
    t.name = name, t.x = x, t.y = y, t.width = w, t.height = h, t.depth = depth, t.scene_name = scene;
    t.image = picture(w, h, colour);
    return g_tiles.append(t);
  }
  imaging::Colour at(int x, int y) {
    draw_scene(st_, target_);
    return imaging::get_pixel(target_, x, y);
  }
  void event(int subtype, int x, int y, int buttons = 0, int modifiers = 0, int key = 0) {
    tk::Event e{tk::kEventWidget, 63, 1, subtype, x, y, buttons, key, modifiers};
    scene_canvas_event(st_, e);
  }
  int instances() {
    return int(std::count_if(g_objects.begin(), g_objects.end(), [](const GameObject& o) { return o.is_prototype == 0; }));
  }

  SceneCanvasState st_;
  imaging::Image target_;
};

std::vector<std::pair<int, int>> draw_order() {
  std::vector<std::pair<int, int>> out;
  for (const SceneDrawItem& i : g_scene_draw_list) out.push_back({i.object, i.tile});
  return out;
}

}  // namespace

TEST_F(SceneCanvas, DrawListRunsFromHighestDepthKeepingInstancesBeforeTilesOfEqualDepth) {
  instance("a", 0, 0, 5);       // object 0
  instance("b", 0, 0, 50);      // object 1
  instance("c", 0, 0, 5);       // object 2
  instance("elsewhere", 0, 0, 99, "other");
  GameObject definition;
  definition.is_prototype = 1, definition.name = "def", definition.scene_name = "room";
  g_objects.append(definition);
  tile("t0", 0, 0, 5);           // tile 0
  tile("t1", 0, 0, -3);          // tile 1
  tile("t2", 0, 0, 99, kBlue, 10, 10, "other");
  build_scene_draw_list("room");
  EXPECT_EQ(draw_order(), (std::vector<std::pair<int, int>>{{1, -1}, {0, -1}, {2, -1}, {-1, 0}, {-1, 1}}));
}

TEST_F(SceneCanvas, HitBoxesIncludeInstanceEdgesAndExcludeTileEdges) {
  define("ball", 20, 10, kRed, 4, 2);
  g_frames.append({"1", "spr_ball", picture(6, 30, kRed)});  // a second, taller frame
  GameObject with_picture;
  with_picture.sprite_name = "spr_ball", with_picture.x = 50, with_picture.y = 50;
  with_picture.sprite_image = g_frames[0].image;
  GameObject bare;  // no sprite: a 15 x 15 box around (x - 7, y - 7)
  bare.x = 50, bare.y = 50, bare.sprite_image = -1;
  GameObject lost = bare;  // a sprite name nobody has: origin 0, 0
  lost.sprite_name = "gone";
  struct Case {
    const GameObject* o;
    int px, py;
    bool hit;
  } cases[] = {
      {&with_picture, 46, 48, true},  {&with_picture, 66, 58, true},   // corners of the first frame
      {&with_picture, 67, 50, false}, {&with_picture, 46, 47, false},
      {&with_picture, 52, 78, true},  {&with_picture, 53, 79, false},  // the tall frame only
      {&bare, 43, 43, true},          {&bare, 58, 58, true},           {&bare, 42, 50, false},
      {&bare, 59, 50, false},         {&lost, 50, 50, true},           {&lost, 65, 65, true},
      {&lost, 49, 50, false},
  };
  for (const Case& c : cases) EXPECT_EQ(instance_hit(*c.o, c.px, c.py), c.hit) << c.px << "," << c.py;

  Tile t;
  t.scene_name = "room", t.x = 10, t.y = 20, t.width = 16, t.height = 8, t.depth = 7;
  struct TileCase {
    std::string scene;
    int depth, px, py;
    bool hit;
  } tile_cases[] = {
      {"room", 7, 11, 21, true},  {"room", 7, 25, 27, true},  {"room", 7, 10, 22, false},
      {"room", 7, 26, 22, false}, {"room", 7, 12, 20, false}, {"room", 7, 12, 28, false},
      {"room", 8, 12, 22, false}, {"other", 7, 12, 22, false},
  };
  for (const TileCase& c : tile_cases)
    EXPECT_EQ(tile_hit(t, c.scene, c.depth, c.px, c.py), c.hit) << c.scene << " " << c.depth << " " << c.px << "," << c.py;
}

TEST_F(SceneCanvas, BackgroundIsDrawnOnceTiledOrStretched) {
  st_.background_picture = picture(30, 20, kRed);
  g_scenes[0].background_name = "sky";
  struct Case {
    int horizontal, vertical, stretch;
    std::vector<std::pair<int, int>> red, back;
  } cases[] = {
      {0, 0, 0, {{0, 0}, {29, 19}}, {{30, 0}, {0, 20}}},
      {1, 0, 0, {{29, 0}, {99, 19}}, {{0, 20}, {99, 20}}},
      {0, 1, 0, {{0, 79}, {29, 40}}, {{30, 0}, {99, 79}}},
      {1, 1, 0, {{99, 79}, {45, 45}}, {}},
      {1, 0, 1, {{99, 79}, {0, 79}}, {}},  // stretched once over the scene; tiling ignored
  };
  for (const Case& c : cases) {
    g_scenes[0].tile_horizontal = c.horizontal, g_scenes[0].tile_vertical = c.vertical;
    g_scenes[0].stretch = c.stretch;
    for (auto [x, y] : c.red) EXPECT_EQ(at(x, y), kRed) << c.horizontal << c.vertical << c.stretch << " " << x << "," << y;
    for (auto [x, y] : c.back) EXPECT_EQ(at(x, y), kBack) << c.horizontal << c.vertical << c.stretch << " " << x << "," << y;
  }
  g_scenes[0].background_name = "";  // no name: the picture is not drawn
  EXPECT_EQ(at(0, 0), kBack);
}

TEST_F(SceneCanvas, LowerDepthsEndOnTopAndSelectionShowsInStatus) {
  define("ball", 20, 20, kRed);
  int a = instance("a", 10, 10, 5);
  g_objects[a].sprite_name = "spr_ball", g_objects[a].sprite_image = g_frames[0].image;
  g_objects[a].template_name = "ball";
  tile("under", 20, 20, 6, kBlue, 20, 20);  // higher depth: drawn first
  tile("over", 0, 0, 5, kBlue, 12, 12);     // equal depth: tiles after instances
  EXPECT_EQ(at(25, 25), kRed);
  EXPECT_EQ(at(11, 11), kBlue);
  EXPECT_EQ(at(35, 35), kBlue);
  EXPECT_EQ(st_.status, "");
  g_objects[a].selected = 1;
  EXPECT_EQ(at(25, 25), rgba(250 ^ 200, 64, 64));
  EXPECT_EQ(st_.status, "[ball] x:10 y:10");
  g_scene_show_objects = 0;  // hidden off the Objects tab, shown on it
  EXPECT_EQ(at(25, 25), kBlue);
  st_.tab = kSceneTabObjects;
  EXPECT_NE(at(25, 25), kBlue);

  // No picture: the placeholder at (x - 7, y - 7), its box 15 x 15.
  int bare = instance("b", 80, 60, 1);
  g_objects[bare].selected = 1;
  draw_scene(st_, target_);
  EXPECT_EQ(imaging::get_pixel(target_, 73, 53), imaging::blend(kBack, imaging::image_pixel(162, 0, 0)) ^ 0x4040c8u);
  EXPECT_EQ(imaging::get_pixel(target_, 87, 67), imaging::blend(kBack, imaging::image_pixel(162, 14, 14)) ^ 0x4040c8u);
  EXPECT_EQ(imaging::get_pixel(target_, 88, 68), imaging::blend(kBack, imaging::image_pixel(162, 15, 15)));
}

TEST_F(SceneCanvas, TilesOffTheCurrentLayerFadeWhileSelectingOrRemovingTiles) {
  tile("here", 0, 0, 10, kRed);
  tile("there", 20, 0, 20, kRed);
  st_.tab = kSceneTabTiles;
  st_.layer_depth = 10;
  const imaging::Colour faded = imaging::blend(kBack, rgba(250, 0, 0, 100));
  struct Case {
    int action;
    imaging::Colour here, there;
  } cases[] = {{kScenePlace, kRed, kRed}, {kSceneSelect, kRed, faded}, {kSceneRemove, kRed, faded}};
  for (const Case& c : cases) {
    st_.tile_action = c.action;
    EXPECT_EQ(at(5, 5), c.here) << c.action;
    EXPECT_EQ(at(25, 5), c.there) << c.action;
  }
}

TEST_F(SceneCanvas, GridLinesAreInvertedEveryCellAndPreviewFollowsThePointer) {
  g_scene_show_grid = 1;
  g_scene_grid_size = 20;
  const imaging::Colour inverted = kBack ^ 0xffffffu;
  EXPECT_EQ(at(20, 5), inverted);
  EXPECT_EQ(at(5, 40), inverted);
  EXPECT_EQ(at(20, 40), kBack);  // crossed twice
  EXPECT_EQ(at(5, 5), kBack);
  g_scene_show_grid = 0;

  define("ball", 4, 4, kRed, 1, 1);
  st_.tab = kSceneTabObjects;
  st_.object_to_place = "ball";
  st_.inside = true;
  st_.pointer_x = 45, st_.pointer_y = 33;
  const imaging::Colour shadow = imaging::blend(kBack, rgba(250, 0, 0, 150));
  EXPECT_EQ(at(39, 19), shadow);  // snapped to (40, 20), less the origin
  EXPECT_EQ(at(43, 23), kBack);
  g_scene_snap = 0;
  EXPECT_EQ(at(44, 32), shadow);
  st_.pointer_x = 0;  // on the edge: no preview
  EXPECT_EQ(at(0, 32), kBack);
}

TEST_F(SceneCanvas, PlacedInstanceTakesTheTemplatesSpriteDepthAndBorrowedPicture) {
  define("ball", 16, 12, kRed, 0, 0, 42);
  GameObject plain;
  plain.is_prototype = 1, plain.name = "plain", plain.depth = -4;
  g_objects.append(plain);
  g_project_uid = 6;
  st_.object_to_place = "ball";
  const GameObject& o = g_objects[place_instance(st_, 30, 40)];
  EXPECT_EQ(o.name, "SceneObject7");
  EXPECT_EQ(o.is_prototype, 0);
  EXPECT_EQ(o.template_name, "ball");
  EXPECT_EQ(o.scene_name, "room");
  EXPECT_EQ(o.sprite_name, "spr_ball");
  EXPECT_EQ(o.sprite_image, g_frames[0].image);
  EXPECT_EQ(std::make_pair(o.image_width, o.image_height), std::make_pair(16, 12));
  EXPECT_EQ(std::make_pair(o.x, o.y), std::make_pair(30, 40));
  EXPECT_EQ(o.depth, 42);
  st_.object_to_place = "plain";
  const GameObject& p = g_objects[place_instance(st_, 0, 0)];
  EXPECT_EQ(p.sprite_image, -1);
  EXPECT_EQ(std::make_pair(p.image_width, p.image_height), std::make_pair(15, 15));
  EXPECT_EQ(p.depth, -4);
}

TEST_F(SceneCanvas, ShiftDragPlacesOncePerCellEnteredAndRemovesWhatItPasses) {
  g_objects.append({1, "", "ghost", "", "", 0, 0, 0, -1, 0, 0, 1, 3, 0, ""});
  st_.tab = kSceneTabObjects;
  st_.object_to_place = "ghost";
  g_scene_grid_size = 20;
  for (int snap : {1, 0}) {
    g_scene_snap = snap;
    st_.painted_column = st_.painted_row = INT_MIN;
    int before = instances();
    event(tk::kCanvasLeftButtonDown, 5, 5, 1, tk::kShift);
    event(tk::kCanvasMouseMove, 15, 5, 1, tk::kShift);  // same cell
    event(tk::kCanvasMouseMove, 25, 5, 1, tk::kShift);
    event(tk::kCanvasMouseMove, 45, 5, 1, tk::kShift);
    event(tk::kCanvasMouseMove, 65, 5, 0, tk::kShift);  // button released
    event(tk::kCanvasMouseMove, 65, 5, 1, 0);           // no Shift
    EXPECT_EQ(instances() - before, 3) << snap;
  }
  EXPECT_EQ(g_objects[g_objects.count() - 1].x, 45);
  EXPECT_EQ(g_objects[2].x, 20);  // snapped
  instance("elsewhere", 25, 5, 0, "other");
  st_.object_action = kSceneRemove;
  event(tk::kCanvasLeftButtonDown, 5, 5, 1, tk::kShift);
  event(tk::kCanvasMouseMove, 25, 5, 1, tk::kShift);
  event(tk::kCanvasMouseMove, 45, 5, 1, tk::kShift);
  std::vector<std::string> left;
  for (const GameObject& o : g_objects)
    if (o.is_prototype == 0) left.push_back(o.name + "@" + std::to_string(o.x));
  EXPECT_EQ(left, (std::vector<std::string>{"elsewhere@25"}));
}

TEST_F(SceneCanvas, ClicksPlaceSelectAndRemoveOnTheirTab) {
  g_objects.append({1, "", "ghost", "", "", 0, 0, 0, -1, 0, 0, 1, 3, 0, ""});
  st_.object_to_place = "ghost";
  event(tk::kLeftClick, 33, 33);  // Settings tab: nothing
  EXPECT_EQ(instances(), 0);
  st_.tab = kSceneTabObjects;
  event(tk::kLeftClick, 33, 33, 1, tk::kShift);  // Shift clicks only paint
  EXPECT_EQ(instances(), 0);
  event(tk::kLeftClick, 33, 33, 1, tk::kControl);
  ASSERT_EQ(instances(), 1);
  EXPECT_EQ(g_objects[1].x, 20);
  instance("twin", 22, 22, 0);
  st_.object_action = kSceneSelect;
  event(tk::kLeftClick, 25, 25);  // both are hit: both toggle
  EXPECT_EQ(g_objects[1].selected + g_objects[2].selected, 2);
  event(tk::kLeftClick, 14, 14);  // only the first
  EXPECT_EQ(g_objects[1].selected, 0);
  EXPECT_EQ(g_objects[2].selected, 1);
  st_.object_action = kSceneRemove;
  event(tk::kLeftClick, 29, 29);  // hits "twin" only
  ASSERT_EQ(instances(), 1);
  EXPECT_EQ(g_objects[1].x, 20);

  st_.tab = kSceneTabTiles;
  st_.layer_depth = 5;
  tile("low", 10, 10, 5);
  tile("high", 10, 10, 6);
  st_.tile_action = kSceneSelect;
  event(tk::kLeftClick, 15, 15);
  EXPECT_EQ(g_tiles[0].selected, 1);
  EXPECT_EQ(g_tiles[1].selected, 0);  // not on the current layer
  event(tk::kLeftClick, 10, 15);      // the edge: not hit
  EXPECT_EQ(g_tiles[0].selected, 1);
  st_.tile_action = kSceneRemove;
  event(tk::kLeftClick, 15, 15);
  ASSERT_EQ(g_tiles.count(), 1);
  EXPECT_EQ(g_tiles[0].name, "high");
}

TEST_F(SceneCanvas, KeysMoveClearAndDeleteTheSelection) {
  tk::test::ScriptedRequesters ask;
  Scene other;
  other.name = "other";
  g_scenes.append(other);
  int a = instance("a", 40, 40, 0), b = instance("b", 60, 60, 0), c = instance("c", 0, 0, 0, "other");
  g_objects[a].selected = g_objects[b].selected = g_objects[c].selected = 1;
  st_.tab = kSceneTabObjects;
  g_scene_grid_size = 8;
  struct Case {
    int snap, key, dx, dy;
  } cases[] = {
      {1, tk::kKeyRight, 8, 0}, {1, tk::kKeyLeft, -8, 0}, {1, tk::kKeyUp, 0, -8}, {1, tk::kKeyDown, 0, 8},
      {0, tk::kKeyRight, 1, 0}, {0, tk::kKeyDown, 0, 1},
  };
  for (const Case& k : cases) {
    g_scene_snap = k.snap;
    const int x = g_objects[a].x, y = g_objects[a].y;
    event(tk::kCanvasKeyDown, 0, 0, 0, 0, k.key);
    EXPECT_EQ(g_objects[a].x - x, k.dx) << k.key;
    EXPECT_EQ(g_objects[a].y - y, k.dy) << k.key;
  }
  EXPECT_EQ(std::make_pair(g_objects[c].x, g_objects[c].y), std::make_pair(0, 0));  // another scene's
  ask.answer_yes_no(0);
  event(tk::kCanvasKeyDown, 0, 0, 0, 0, tk::kKeyDelete);
  ASSERT_EQ(ask.asked.size(), 1u);
  EXPECT_EQ(ask.asked[0].text, "Delete 2 objects?");
  EXPECT_EQ(ask.asked[0].title, "Confirm");
  EXPECT_EQ(instances(), 3);
  ask.answer_yes_no(1);
  event(tk::kCanvasKeyDown, 0, 0, 0, 0, tk::kKeyDelete);
  EXPECT_EQ(instances(), 1);
  event(tk::kCanvasKeyDown, 0, 0, 0, 0, tk::kKeySpace);  // clears every scene's selection
  EXPECT_EQ(g_objects[0].selected, 0);
  event(tk::kCanvasKeyDown, 0, 0, 0, 0, tk::kKeyDelete);  // nothing selected: no question
  EXPECT_EQ(ask.asked.size(), 2u);

  st_.tab = kSceneTabTiles;
  tile("t", 10, 10, 0);
  g_tiles[0].selected = 1;
  tile("u", 10, 10, 0, kBlue, 10, 10, "other");
  g_tiles[1].selected = 1;
  event(tk::kCanvasKeyDown, 0, 0, 0, 0, tk::kKeyLeft);
  EXPECT_EQ(g_tiles[0].x, 9);
  EXPECT_EQ(g_tiles[1].x, 10);
  ask.answer_yes_no(1);
  event(tk::kCanvasKeyDown, 0, 0, 0, 0, tk::kKeyDelete);
  EXPECT_EQ(ask.asked.back().text, "Delete 1 tiles?");
  ASSERT_EQ(g_tiles.count(), 1);
  event(tk::kCanvasKeyDown, 0, 0, 0, 0, tk::kKeyEscape);
  EXPECT_EQ(g_tiles[0].selected, 0);
}

TEST_F(SceneCanvas, TileSetRectangleFollowsCellsFreeDragOrTheGrid) {
  Background set;
  set.use_as_tileset = 1, set.tile_width = set.tile_height = 16, set.tile_offset_x = set.tile_offset_y = 5;
  set.tile_space_x = set.tile_space_y = 2;
  Background plain;
  Background damaged = set;  // a step of zero from a damaged project
  damaged.tile_width = 2, damaged.tile_space_x = -2;
  struct Case {
    const Background* b;
    int sx, sy, cx, cy, modifiers;
    int left, top, width, height;
  } cases[] = {
      {&set, 6, 6, 30, 6, 0, 5, 5, 34, 16},
      {&set, 6, 6, 6, 6, tk::kShift, 5, 5, 16, 16},
      {&set, 30, 30, 6, 6, 0, 23, 23, 7, 9},       // backwards: the size before stays
      {&set, 0, 0, 0, 0, 0, -13, -13, 16, 16},     // before the offset
      {&plain, 6, 6, 30, 6, 0, 0, 0, 64, 48},      // the whole picture
      {nullptr, 6, 6, 30, 6, 0, 0, 0, 64, 48},
      {&set, 6, 7, 30, 20, tk::kAlt, 6, 7, 24, 13},
      {&set, 30, 7, 6, 20, tk::kAlt, 30, 7, 7, 9},
      {&set, 25, 5, 45, 5, tk::kControl, 20, 0, 40, 20},
      {&set, 6, 6, 30, 6, tk::kAlt | tk::kControl, 5, 5, 34, 16},  // two modifiers: as none
      {&damaged, 6, 6, 30, 6, 0, 0, 0, 64, 48},
  };
  for (const Case& c : cases) {
    TileRect r = tileset_rectangle({1, 2, 7, 9}, c.b, 64, 48, c.sx, c.sy, c.cx, c.cy, c.modifiers, 20);
    EXPECT_EQ((std::vector<int>{r.left, r.top, r.width, r.height}), (std::vector<int>{c.left, c.top, c.width, c.height}))
        << c.sx << "," << c.sy << " to " << c.cx << "," << c.cy << " modifiers " << c.modifiers;
  }
}

// A drag on the tile set that goes up and to the left of where it started
// keeps the cell it started in, as the selected tile's picture shows.
TEST_F(SceneCanvas, TileSetDragUpAndLeftKeepsTheFirstCell) {
  g_backgrounds.append({"set", "", 0, 1, 16, 16, 0, 0, 0, 0});
  st_.tile_image = "set";
  auto drag = [&](std::vector<std::pair<int, int>> points) {
    st_.dragging = false;
    for (auto [x, y] : points)
      tileset_canvas_event(st_, {tk::kEventWidget, 63, 2, tk::kCanvasMouseMove, x, y, tk::kLeftButton, 0, 0});
    return std::vector<int>{st_.tile_left, st_.tile_top, imaging::image_width(st_.tile_picture),
                            imaging::image_height(st_.tile_picture)};
  };
  EXPECT_EQ(drag({{40, 40}, {20, 30}, {3, 3}}), (std::vector<int>{32, 32, 16, 16}));
  EXPECT_EQ(drag({{40, 40}, {60, 60}, {3, 3}}), (std::vector<int>{32, 32, 32, 32}));  // as far as it went
  EXPECT_EQ(drag({{3, 3}, {40, 40}}), (std::vector<int>{0, 0, 48, 48}));
}

TEST_F(SceneCanvas, PickedTileCarriesTheCheckerboardWhereTheSetIsTransparent) {
  g_backgrounds.append({"set", "", 0, 1, 16, 16, 0, 0, 0, 0});
  st_.tile_image = "set";
  st_.tileset_picture = imaging::create_image(imaging::kAnyImage, 64, 64);  // left half red, right transparent
  { imaging::Canvas c(st_.tileset_picture); c.set_colour(kRed); c.box(0, 0, 24, 64); }
  st_.dragging = true, st_.drag_x = 20, st_.drag_y = 3;
  st_.tile_action = kSceneRemove;
  tk::Event e{tk::kEventWidget, 63, 2, tk::kCanvasMouseMove, 20, 3, tk::kLeftButton, 0, 0};
  ASSERT_TRUE(tileset_canvas_event(st_, e));
  EXPECT_EQ(st_.tile_action, kScenePlace);
  EXPECT_EQ((std::vector<int>{st_.tile_left, st_.tile_top, st_.tile_width, st_.tile_height}),
            (std::vector<int>{16, 0, 16, 16}));
  EXPECT_EQ(imaging::image_pixel(st_.tile_picture, 7, 0), kRed);
  EXPECT_EQ(imaging::image_pixel(st_.tile_picture, 8, 0), imaging::image_pixel(126, 8, 0));
  EXPECT_EQ(imaging::image_pixel(st_.tile_picture, 15, 15), imaging::image_pixel(126, 15, 15));

  // The placed tile keeps its own copy of the picture.
  st_.layer_depth = 77;
  const Tile& t = g_tiles[place_tile(st_, 3, 4)];
  EXPECT_NE(t.image, st_.tile_picture);
  EXPECT_EQ(imaging::image_pixel(t.image, 7, 0), kRed);
  EXPECT_EQ((std::vector<int>{t.source_left, t.source_top, t.width, t.height, t.x, t.y, t.depth}),
            (std::vector<int>{16, 0, 16, 16, 3, 4, 77}));
  EXPECT_EQ(t.background_name, "set");
  EXPECT_EQ(t.scene_name, "room");

  // A release ends the drag; the next press starts a new one.
  e.buttons = 0;
  EXPECT_FALSE(tileset_canvas_event(st_, e));
  EXPECT_FALSE(st_.dragging);
}

TEST_F(SceneCanvas, PickedTileIsNeverLargerThanItsTileSet) {
  // Tile sizes from a damaged project would ask for a picture of any size.
  g_backgrounds.append({"huge", "", 0, 1, 2000000000, 2000000000, 0, 0, 0, 0});
  g_backgrounds.append({"nothing", "none.png", 0, 0, 0, 0, 0, 0, 0, 0});
  struct Case {
    const char* background;
    bool picture;
    int width, height;
    imaging::Colour corner;
  } cases[] = {
      {"huge", true, 64, 32, kRed},
      {"nothing", false, 1, 1, rgba(0, 0, 0)},  // no picture: black
  };
  for (const Case& c : cases) {
    free_scene_canvas_pictures(st_);
    st_.tile_image = c.background;
    if (c.picture) st_.tileset_picture = picture(64, 32, kRed);
    st_.dragging = true, st_.drag_x = st_.drag_y = 0;
    ASSERT_TRUE(tileset_canvas_event(st_, {tk::kEventWidget, 63, 2, tk::kCanvasMouseMove, 5, 5, 1, 0, 0}));
    EXPECT_EQ(imaging::image_width(st_.tile_picture), c.width) << c.background;
    EXPECT_EQ(imaging::image_height(st_.tile_picture), c.height) << c.background;
    EXPECT_EQ(imaging::image_pixel(st_.tile_picture, 0, 0), c.corner) << c.background;
  }
  st_.tile_image = "";  // no "Tile image": no drag
  EXPECT_FALSE(tileset_canvas_event(st_, {tk::kEventWidget, 63, 2, tk::kCanvasMouseMove, 5, 5, 1, 0, 0}));
}

TEST_F(SceneCanvas, HugeScenesDrawOnlyWhatTheTargetHolds) {
  // A width typed by the user bounds neither the grid walk nor the tiling.
  g_scenes[0].width = g_scenes[0].height = 2000000000;
  g_scenes[0].background_name = "sky";
  g_scenes[0].tile_horizontal = g_scenes[0].tile_vertical = 1;
  g_scene_show_grid = 1;
  g_scene_grid_size = 5;
  st_.background_picture = picture(1, 1, kRed);
  EXPECT_EQ(at(99, 79), kRed);
  EXPECT_EQ(at(95, 79), rgba(5, 255, 255));  // a grid line over the red
  EXPECT_EQ(at(95, 75), kRed);
}

// The editor paints the parts of the canvas in sight: a scene drawn part by
// part is the scene drawn whole, with the background tiled, instances with
// and without pictures, a selection, tiles by layer, the grid and the
// placement preview; the status does not depend on the part.
TEST_F(SceneCanvas, DrawingInPartsPaintsTheSamePixelsAsDrawingWhole) {
  define("ball", 9, 7, kRed, 3, 2, 5);
  const int background = picture(13, 11, rgba(0, 200, 0, 120));
  g_backgrounds.append({"sky", "", -1, 0, 0, 0, 0, 0, 0, 0});
  Scene& s = g_scenes[0];
  s.background_name = "sky", s.tile_horizontal = s.tile_vertical = 1;
  st_.background_picture = background;
  for (int k = 0; k < 12; ++k) {
    GameObject o = g_objects[0];
    o.is_prototype = 0, o.template_name = "ball", o.name = "b" + std::to_string(k), o.scene_name = "room";
    o.sprite_image = k % 4 ? g_frames[0].image : -1;
    o.x = k * 9 - 4, o.y = k * 7 - 3, o.selected = k % 5 == 0;
    g_objects.append(o);
    tile("t" + std::to_string(k), 95 - k * 8, k * 6, k % 3, rgba(0, 0, 250, 150 + k));
  }
  g_tiles[2].selected = 1;
  g_scene_show_grid = 1;
  g_scene_grid_size = 7;
  st_.tab = kSceneTabTiles, st_.tile_action = kSceneSelect, st_.layer_depth = 1;
  st_.inside = true, st_.pointer_x = 40, st_.pointer_y = 30;
  st_.tile_picture = picture(6, 6, rgba(1, 2, 3, 255));
  for (int action : {kSceneSelect, kScenePlace}) {
    st_.tile_action = action;
    imaging::Image whole(100, 80), parts(100, 80);
    draw_scene(st_, whole);
    const std::string status = st_.status;
    for (int y = 0; y < 80; y += 23)
      for (int x = 0; x < 100; x += 31) draw_scene(st_, parts, x, y, 31, 23);
    EXPECT_EQ(parts.pixels, whole.pixels) << action;
    EXPECT_EQ(st_.status, status);
  }
  EXPECT_EQ(st_.status, "[ball] x:86 y:67");
}
