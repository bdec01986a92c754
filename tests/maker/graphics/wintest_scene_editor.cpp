// The scene editor driven while its own loop runs: the settings, the layer
// and toolbar dialogs, placing and selecting on the canvases, and "Done".
#include <filesystem>

#include "maker/graphics/scene_editor.h"
#include "maker/shell/small_windows.h"
#include "toolkit/gtk_access.h"
#include "toolkit/menu.h"
#include "graphics_fixture.h"

using namespace graphics_test;

namespace {

namespace fs = std::filesystem;
using imaging::rgba;

constexpr imaging::Colour kRed = rgba(250, 0, 0);

int nth(tk::WidgetKind kind, int n) { return widget_of(kDialogWindow, kind, n); }
int input(int n) { return nth(tk::WidgetKind::Input, n); }
enum { kName, kWidth, kHeight, kViewWidth, kViewHeight, kBorderX, kBorderY, kSpeed, kSwatch, kGridSize };
int combo(int n) { return nth(tk::WidgetKind::DropDown, n); }
enum { kFollow, kObjectAction, kObjectToPlace, kBackground, kTileImage, kTileAction, kLayer };
int box(int n) { return nth(tk::WidgetKind::CheckBox, n); }
int tool(int n) { return nth(tk::WidgetKind::ImageButton, n); }
int panel() { return nth(tk::WidgetKind::Panel, 0); }
int tileset_canvas() { return nth(tk::WidgetKind::Canvas, 0); }
int scene_canvas() { return nth(tk::WidgetKind::Canvas, 1); }
int scene_area() { return nth(tk::WidgetKind::ScrollArea, 1); }
int tile_preview() { return nth(tk::WidgetKind::ImageView, 1); }
void press(const std::string& text) { graphics_test::press(kDialogWindow, text); }
void tick() { tk::post_event(tk::kEventTimer, kDialogWindow, 888); }
imaging::Colour drawn(int x, int y) { return imaging::get_pixel(*tk::canvas_image(scene_canvas()), x, y); }
void show_tab(int tab) { tk::test::choose_item(panel(), tab); }

std::vector<std::string> items(int widget) {
  std::vector<std::string> out;
  for (int i = 0; i < tk::item_count(widget); ++i) out.push_back(tk::item_text(widget, i));
  return out;
}

class SceneEditor : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    scene_ = new_scene();
    folder_ = g_project_folder + "/";
  }
  Scene& scene() { return g_scenes[0]; }

  // An object definition whose sprite has one w x h frame of that colour.
  void define(const std::string& name, int w, int h, imaging::Colour colour, int depth = 0) {
    const std::string sprite = new_sprite();
    add_frame(sprite, "0", picture(w, h, colour));
    GameObject o;
    o.is_prototype = 1, o.name = name, o.sprite_name = sprite, o.depth = depth;
    o.sprite_image = sprite_first_frame_image(sprite);
    g_objects.append(o);
  }
  int instance(const std::string& name, int x, int y, const std::string& scene) {
    GameObject o;
    o.name = name, o.x = x, o.y = y, o.scene_name = scene, o.sprite_image = -1;
    return g_objects.append(o);
  }
  int tile(const std::string& name, int x, int y, int depth, const std::string& scene) {
    Tile t;
    t.name = name, t.x = x, t.y = y, t.depth = depth, t.scene_name = scene, t.width = t.height = 8;
    t.image = imaging::adopt_image(imaging::kAnyImage, picture(8, 8, kRed));
    return g_tiles.append(t);
  }
  int layers_of(const std::string& scene) {
    int n = 0;
    for (const Layer& l : g_layers) n += l.scene_name == scene;
    return n;
  }
  const Tile* tile_named(const std::string& name) {
    for (const Tile& t : g_tiles)
      if (t.name == name) return &t;
    return nullptr;
  }
  const GameObject* object_named(const std::string& name) {
    for (const GameObject& o : g_objects)
      if (o.name == name) return &o;
    return nullptr;
  }

  std::string scene_, folder_;
};

}  // namespace

TEST_F(SceneEditor, OpensOnTheScenesSettingsAndLeavesOnlyThroughDone) {
  Scene& s = scene();
  s.width = 200, s.height = 150, s.view_width = 160, s.view_height = 120, s.speed = 30;
  s.follow_border_x = 11, s.follow_border_y = 12, s.follow_object = "hero";
  s.back_red = 1, s.back_green = 2, s.back_blue = 3;
  s.tile_vertical = 1, s.background_name = "sky";
  write_png(folder_ + "sky.png", picture(10, 10, kRed));
  g_backgrounds.append({"sky", "sky.png", -1, 0, 0, 0, 0, 0, 0, 0});
  g_backgrounds.append({"stones", "", -1, 0, 0, 0, 0, 0, 0, 0});
  define("hero", 10, 10, kRed);
  g_objects.append({1, "", "ghost", "", "", 0, 0, 0, -1, 0, 0, 1, 0, 0, ""});
  set_project_modified(0);
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::window_title(kDialogWindow), "Scene properties - " + scene_);
    EXPECT_EQ(tk::window_width(kDialogWindow), 1024);
    EXPECT_EQ(tk::window_height(kDialogWindow), 668);
    EXPECT_TRUE(tk::window_disabled(kMainWindow));
    EXPECT_EQ(tk::text(65), "Done");
    EXPECT_EQ(std::make_pair(tk::widget_x(65), tk::widget_y(65)), std::make_pair(10, 10));
    const std::vector<std::string> texts = {scene_, "200", "150", "160", "120", "11", "12", "30", "", "20"};
    for (int k = 0; k < int(texts.size()); ++k) EXPECT_EQ(tk::text(input(k)), texts[k]) << k;
    EXPECT_EQ(tk::colour(input(kSwatch), tk::ColourRole::Back), rgb(1, 2, 3));
    EXPECT_EQ(items(panel()), (std::vector<std::string>{"Settings", "Objects", "Background", "Tiles"}));
    EXPECT_EQ(items(combo(kFollow)), (std::vector<std::string>{"", "hero", "ghost"}));
    EXPECT_EQ(tk::text(combo(kFollow)), "hero");
    EXPECT_EQ(items(combo(kObjectAction)), (std::vector<std::string>{"Place objects", "Select objects", "Remove objects"}));
    EXPECT_EQ(tk::text(combo(kObjectToPlace)), "hero");
    EXPECT_EQ(items(combo(kBackground)), (std::vector<std::string>{"", "sky", "stones"}));
    EXPECT_EQ(tk::text(combo(kBackground)), "sky");
    EXPECT_EQ(items(combo(kTileImage)), (std::vector<std::string>{"sky", "stones"}));
    EXPECT_EQ(tk::text(combo(kTileAction)), "Place tiles");
    EXPECT_EQ(items(combo(kLayer)), (std::vector<std::string>{"1000000"}));
    for (int k : {0, 2}) EXPECT_EQ(tk::state(box(k)), 0) << k;
    for (int k : {1, 3, 4}) EXPECT_EQ(tk::state(box(k)), 1) << k;
    EXPECT_EQ(tk::tooltip(tool(0)), "New");
    EXPECT_EQ(tk::tooltip(tool(1)), "Shift objects");
    EXPECT_EQ(tk::tooltip(tool(2)), "Toggle show / hide the grid");
    EXPECT_EQ(tk::tooltip(tool(3)), "Toggle snap / don't snap objects to grid");
    EXPECT_EQ(tk::widget_width(scene_canvas()), 200);
    EXPECT_EQ(tk::widget_height(scene_canvas()), 150);
    EXPECT_EQ(tk::scroll_inner_width(scene_area()), 200);
    EXPECT_EQ(tk::widget_width(tileset_canvas()), 10);  // the first background's picture
    EXPECT_TRUE(tk::timer_exists(kDialogWindow, 888));
    tk::test::request_close(kDialogWindow);
    tick();
  });
  tk::test::when_idle([&] {
    ASSERT_TRUE(tk::window_exists(kDialogWindow));
    EXPECT_EQ(drawn(5, 5), kRed);
    EXPECT_EQ(drawn(5, 25), kRed);  // tiled down the left edge
    EXPECT_EQ(drawn(25, 5), rgba(1, 2, 3));
    EXPECT_EQ(drawn(20, 5), rgba(1 ^ 255, 2 ^ 255, 3 ^ 255));  // a grid line
    EXPECT_EQ(tk::widget_x(tool(0)), -5000);  // "New" and "Shift" only on Objects and Tiles
    show_tab(1);
    tick();
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::widget_x(tool(0)), 320);
    EXPECT_EQ(tk::widget_x(tool(1)), 355);
    tk::resize_window(kDialogWindow, tk::kKeep, tk::kKeep, 1100, 700);
    tk::post_event(tk::kEventSizeWindow, kDialogWindow, kDialogWindow);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::widget_height(panel()), tk::window_height(kDialogWindow) - 50);
    EXPECT_EQ(tk::widget_width(scene_area()), tk::window_width(kDialogWindow) - 330);
    EXPECT_EQ(tk::widget_height(scene_area()), tk::window_height(kDialogWindow) - 55);
    press("Done");
  });
  edit_scene(scene_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
  EXPECT_EQ(g_project_modified, 1);
  EXPECT_EQ(imaging::image_width(scene().thumbnail_image), 150);
  EXPECT_EQ(imaging::image_height(scene().thumbnail_image), 100);
  EXPECT_NE(card_of(scene_), -1);

  // No such scene: nothing opens.
  edit_scene("missing");
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
}

// At its opening size the Tiles tab shows its layer controls and the
// selected tile whole, inside the panel, before any resize by the user.
TEST_F(SceneEditor, TilesTabShowsItsLayerControlsWholeOnOpening) {
  tk::test::when_idle([&] {
    EXPECT_TRUE(tk::widget_focused(input(kName)));
    show_tab(3);
    GtkWidget* page = gtk_widget_get_parent(tk::gtk_widget_of(combo(kLayer)));
    ASSERT_TRUE(GTK_WIDGET_MAPPED(page));
    for (int w : {combo(kLayer), tk::test::find_widget(kDialogWindow, "Add"),
                  tk::test::find_widget(kDialogWindow, "Delete"),
                  tk::test::find_widget(kDialogWindow, "Change..."), tile_preview()}) {
      GtkWidget* g = tk::gtk_widget_of(w);
      int x = -1, y = -1;
      ASSERT_TRUE(gtk_widget_translate_coordinates(g, page, 0, 0, &x, &y)) << w;
      EXPECT_LE(y + g->allocation.height, page->allocation.height) << tk::text(w);
    }
    press("Done");
  });
  edit_scene(scene_);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
}

TEST_F(SceneEditor, DoneRefusesAMissingOrTakenNameAndASlowSpeedKeepingARenameMade) {
  const std::string other = new_scene();
  instance("mine", 1, 1, scene_);
  instance("theirs", 1, 1, other);
  tile("t_mine", 0, 0, 1000000, scene_);
  tile("t_theirs", 0, 0, 1000000, other);
  struct Case {
    std::string name, speed;
    std::vector<std::string> messages;
  } cases[] = {
      {"", "", {"The scene name is missing", "Invalid scene speed value"}},
      {other, "30", {"The scene name '" + other + "' already exists"}},
      {"level", "1", {"Invalid scene speed value"}},
      {"level", "abc", {"Invalid scene speed value"}},
      {"level", "2", {}},  // its own name now
  };
  for (const Case& c : cases) {
    tk::test::when_idle([&] {
      retype(input(kName), c.name);
      retype(input(kSpeed), c.speed);
      retype(input(kWidth), "320");
      ask_->asked.clear();
      press("Done");
    });
    if (!c.messages.empty())
      tk::test::when_idle([&] {
        EXPECT_EQ(ask_->messages(), c.messages) << c.name << " " << c.speed;
        for (const tk::test::Question& q : ask_->asked) EXPECT_EQ(q.title, "Error");
        EXPECT_TRUE(tk::window_exists(kDialogWindow));
        EXPECT_EQ(scene().speed, 30);
      });
  }
  // After the third case the rename has been made, though "Done" failed.
  edit_scene(scene_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_EQ(scene().name, "level");
  EXPECT_EQ(scene().speed, 2);
  EXPECT_EQ(scene().width, 320);
  EXPECT_EQ(object_named("mine")->scene_name, "level");
  EXPECT_EQ(object_named("theirs")->scene_name, other);
  EXPECT_EQ(tile_named("t_mine")->scene_name, "level");
  EXPECT_EQ(tile_named("t_theirs")->scene_name, other);
  EXPECT_EQ(layers_of("level"), 1);
  EXPECT_EQ(layers_of(other), 1);
  EXPECT_EQ(layers_of(scene_), 0);
}

TEST_F(SceneEditor, SettingsAreWrittenAtOnceAndTheRestWaitsForDone) {
  write_png(folder_ + "sky.png", picture(10, 10, kRed));
  g_backgrounds.append({"sky", "sky.png", -1, 0, 0, 0, 0, 0, 0, 0});
  struct Toggle {
    int widget;  // the n-th check box (kind CheckBox) or image button (ImageButton)
    bool image_button;
    int* value;
  };
  Scene& s = scene();
  const Toggle toggles[] = {
      {0, false, &s.tile_horizontal}, {1, false, &s.tile_vertical}, {2, false, &s.stretch},
      {3, false, &g_scene_show_objects}, {4, false, &g_scene_show_tiles},
      {2, true, &g_scene_show_grid}, {3, true, &g_scene_snap},
  };
  int before[std::size(toggles)] = {};
  for (size_t k = 0; k < std::size(toggles); ++k) {
    const Toggle& t = toggles[k];
    tk::test::when_idle([&, k] {
      before[k] = *t.value;
      tk::test::click(t.image_button ? tool(t.widget) : box(t.widget));
    });
    tk::test::when_idle([&, k] { EXPECT_EQ(*t.value, 1 - before[k]) << t.widget << t.image_button; });
  }
  tk::test::when_idle([&] {
    retype(input(kGridSize), "4");
    retype(input(kViewWidth), "77");
    retype(input(kSpeed), "$10");  // numbers read as in every other field
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_scene_grid_size, 20);  // below 5: ignored
    EXPECT_EQ(tk::text(input(kGridSize)), "4");
    retype(input(kGridSize), "5");
    retype(input(kWidth), "$12c");
    tk::test::choose_item(combo(kBackground), 1);
    ask_->answer_colour(rgb(7, 8, 9));
    press("...");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_scene_grid_size, 5);
    EXPECT_EQ(s.width, 300);
    EXPECT_EQ(tk::widget_width(scene_canvas()), 300);
    EXPECT_EQ(s.background_name, "sky");
    EXPECT_EQ(std::vector<int>({s.back_red, s.back_green, s.back_blue}), std::vector<int>({7, 8, 9}));
    EXPECT_EQ(tk::colour(input(kSwatch), tk::ColourRole::Back), rgb(7, 8, 9));
    EXPECT_EQ(s.view_width, 640);  // waits for "Done"
    EXPECT_EQ(s.speed, 30);
    ask_->answer_colour(-1);
    press("...");
    tick();
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(s.back_red, 7);  // cancelled: unchanged
    EXPECT_EQ(ask_->asked.back().colour, rgb(7, 8, 9));
    EXPECT_EQ(drawn(2, 2), kRed);  // the background picture, stretched
    EXPECT_EQ(drawn(250, 300), kRed);
    press("Done");
  });
  edit_scene(scene_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_EQ(s.view_width, 77);
  EXPECT_EQ(s.speed, 16);
  EXPECT_EQ(s.follow_object, "");
}

TEST_F(SceneEditor, LayersAreAddedMergedByDepthAndNeverAllDeleted) {
  tile("on_first", 0, 0, 1000000, scene_);
  tile("on_added", 0, 0, 50, scene_);
  const std::string first_layer = g_layers[0].name;
  auto dialog = [](const char* title) { return window_titled(title); };
  tk::test::when_idle([&] {
    show_tab(3);
    press("Add");
  });
  tk::test::when_idle([&] {
    const int w = dialog("Add a new tile layer");
    ASSERT_NE(w, -1);
    EXPECT_TRUE(tk::window_disabled(kDialogWindow));
    EXPECT_TRUE(tk::window_kept_above(w));
    EXPECT_EQ(tk::text(widget_of(w, tk::WidgetKind::Input)), "1000000");
    graphics_test::press(w, "OK");
  });
  tk::test::when_idle([&] {
    const int w = dialog("Add a new tile layer");
    ASSERT_NE(w, -1);  // stays open
    EXPECT_EQ(ask_->messages(), std::vector<std::string>{"Depth already exists"});
    retype(widget_of(w, tk::WidgetKind::Input), " 50");  // read as 50
    graphics_test::press(w, "OK");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(dialog("Add a new tile layer"), -1);
    EXPECT_FALSE(tk::window_disabled(kDialogWindow));
    EXPECT_EQ(items(combo(kLayer)), (std::vector<std::string>{"1000000", "50"}));
    EXPECT_EQ(tk::text(combo(kLayer)), "50");
    ASSERT_EQ(layers_of(scene_), 2);
    EXPECT_EQ(g_layers[1].depth, 50);
    EXPECT_EQ(g_layers[1].name.rfind("layer_", 0), 0u);
    press("Change...");
  });
  tk::test::when_idle([&] {
    const int w = dialog("Change the depth of a tile layer");
    ASSERT_NE(w, -1);
    EXPECT_EQ(tk::text(widget_of(w, tk::WidgetKind::Input)), "50");
    retype(widget_of(w, tk::WidgetKind::Input), "1000000");
    graphics_test::press(w, "OK");
  });
  tk::test::when_idle([&] {
    // The two layers of one depth merge: the later one goes, the tiles move.
    ASSERT_EQ(layers_of(scene_), 1);
    EXPECT_EQ(g_layers[0].name, first_layer);
    EXPECT_EQ(tile_named("on_added")->depth, 1000000);
    EXPECT_TRUE(ask_->messages().size() == 1);
    EXPECT_EQ(tk::text(combo(kLayer)), "1000000");
    ask_->answer_yes_no(1);
    press("Delete");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(ask_->asked.back().text, "Delete this layer and all tiles on this layer?");
    EXPECT_EQ(ask_->asked.back().title, "Confirm");
    ASSERT_EQ(layers_of(scene_), 1);
    EXPECT_NE(g_layers[0].name, first_layer);
    EXPECT_EQ(g_layers[0].depth, 1000000);
    EXPECT_EQ(g_tiles.count(), 0);
    EXPECT_EQ(items(combo(kLayer)), (std::vector<std::string>{"1000000"}));
    press("Change...");
  });
  tk::test::when_idle([&] { graphics_test::press(dialog("Change the depth of a tile layer"), "Cancel"); });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_layers[0].depth, 1000000);
    press("Done");
  });
  edit_scene(scene_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
}

TEST_F(SceneEditor, ALayerChangedToTheDepthOfAnotherMergesIntoTheFirstOfTheList) {
  // Whichever of the two was changed, the later one in the layer list goes.
  struct Case {
    int changed;           // entry of the layer combo: its list order
    const char* to;        // the depth typed
    int merged_depth;
  } cases[] = {{0, "50", 50}, {1, "1000000", 1000000}};
  for (const Case& c : cases) {
    g_layers.clear();
    g_tiles.clear();
    g_layers.append(Layer{"layer_first", 1000000, scene_});
    g_layers.append(Layer{"layer_later", 50, scene_});
    tile("on_first", 0, 0, 1000000, scene_);
    tile("on_later", 0, 0, 50, scene_);
    tk::test::when_idle([&] {
      show_tab(3);
      tk::test::choose_item(combo(kLayer), c.changed);
      press("Change...");
    });
    tk::test::when_idle([&] {
      const int w = window_titled("Change the depth of a tile layer");
      ASSERT_NE(w, -1);
      retype(widget_of(w, tk::WidgetKind::Input), c.to);
      graphics_test::press(w, "OK");
    });
    tk::test::when_idle([&] {
      ASSERT_EQ(layers_of(scene_), 1) << c.changed;
      EXPECT_EQ(g_layers[0].name, "layer_first") << c.changed;
      EXPECT_EQ(g_layers[0].depth, c.merged_depth) << c.changed;
      EXPECT_EQ(tile_named("on_first")->depth, c.merged_depth) << c.changed;
      EXPECT_EQ(tile_named("on_later")->depth, c.merged_depth) << c.changed;
      EXPECT_TRUE(ask_->messages().empty()) << c.changed;
      press("Done");
    });
    edit_scene(scene_);
    EXPECT_EQ(tk::test::idle_actions_left(), 0);
  }
}

TEST_F(SceneEditor, SceneCodeButtonOpensTheSceneCodeWindow) {
  scene().code = "var x = 1;\r\n";
  tk::test::when_idle([] { press("Scene code..."); });
  tk::test::when_idle([] {
    const int w = window_titled("Scene code editor");
    ASSERT_NE(w, -1);
    EXPECT_TRUE(tk::window_disabled(kDialogWindow));
    graphics_test::press(w, "Cancel");
  });
  tk::test::when_idle([] {
    EXPECT_EQ(window_titled("Scene code editor"), -1);
    EXPECT_FALSE(tk::window_disabled(kDialogWindow));
    press("Done");
  });
  edit_scene(scene_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_EQ(scene().code, "var x = 1;\r\n");
}

TEST_F(SceneEditor, MouseAndKeysPlaceSelectMoveAndDeleteOnTheCanvases) {
  define("ball", 10, 10, kRed, 7);
  imaging::Image set = picture(64, 64, rgba(0, 200, 0));
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) imaging::set_pixel(set, x, y, rgba(0, 0, 200));
  write_png(folder_ + "set.png", set);
  g_backgrounds.append({"set", "set.png", -1, 1, 16, 16, 0, 0, 0, 0});
  g_scene_show_grid = 0;
  const imaging::Colour back = rgba(0, 0, 0);
  std::string placed;
  tk::test::when_idle([&] {
    show_tab(1);
    tk::test::click_at(scene_canvas(), 45, 33);  // snapped to (40, 20)
    tick();
  });
  tk::test::when_idle([&] {
    ASSERT_EQ(g_objects.count(), 2);
    const GameObject& o = g_objects[1];
    placed = o.name;
    EXPECT_EQ(o.template_name, "ball");
    EXPECT_EQ(o.scene_name, scene_);
    EXPECT_EQ(std::make_pair(o.x, o.y), std::make_pair(40, 20));
    EXPECT_EQ(o.depth, 7);
    EXPECT_EQ(drawn(40, 20), kRed);
    EXPECT_EQ(drawn(39, 20), back);
    tk::test::choose_item(combo(kObjectAction), 1);
    tk::test::click_at(scene_canvas(), 50, 30);  // the far corner of its box
    tick();
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_objects[1].selected, 1);
    EXPECT_EQ(tk::test::find_widget(kDialogWindow, "[ball] x:40 y:20") != -1, true);
    EXPECT_EQ(drawn(40, 20), rgba(250 ^ 200, 64, 64));
    tk::test::press_key(kDialogWindow, tk::kKeyRight);
    tk::test::press_key(kDialogWindow, tk::kKeyDown);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(std::make_pair(g_objects[1].x, g_objects[1].y), std::make_pair(60, 40));
    ask_->answer_yes_no(1);
    tk::test::press_key(kDialogWindow, tk::kKeyDelete);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(ask_->asked.back().text, "Delete 1 objects?");
    EXPECT_EQ(object_named(placed), nullptr);
    // A tile from the tile set: press on its second cell, then click the scene.
    show_tab(3);
    tk::test::choose_item(combo(kTileImage), 0);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::widget_width(tileset_canvas()), 64);
    tk::test::choose_item(combo(kTileAction), 2);
    tk::test::mouse_button(tileset_canvas(), 20, 5, 1, true);
    tk::test::mouse_button(tileset_canvas(), 20, 5, 1, false);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::text(combo(kTileAction)), "Place tiles");
    EXPECT_NE(tk::widget_image(tile_preview()), 134);
    tk::test::click_at(scene_canvas(), 65, 65);
    tick();
  });
  tk::test::when_idle([&] {
    ASSERT_EQ(g_tiles.count(), 1);
    const Tile& t = g_tiles[0];
    EXPECT_EQ(std::vector<int>({t.x, t.y, t.source_left, t.source_top, t.width, t.height, t.depth}),
              std::vector<int>({60, 60, 16, 0, 16, 16, 1000000}));
    EXPECT_EQ(t.background_name, "set");
    EXPECT_EQ(drawn(60, 60), rgba(0, 0, 200));
    EXPECT_EQ(drawn(76, 60), back);
    // The outline of the picked cell on the tile-set canvas.
    EXPECT_EQ(imaging::get_pixel(*tk::canvas_image(tileset_canvas()), 20, 0), rgba(255, 255, 55));
    tk::test::choose_item(combo(kTileAction), 2);
    tk::test::click_at(scene_canvas(), 60, 65);  // on its edge: not hit
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_tiles.count(), 1);
    tk::test::click_at(scene_canvas(), 61, 65);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_tiles.count(), 0);
    press("Done");
  });
  edit_scene(scene_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
}

TEST_F(SceneEditor, NewAndShiftWorkOnTheTabShown) {
  const std::string other = new_scene();
  instance("a", 10, 10, scene_);
  instance("b", 20, 20, scene_);
  instance("far", 0, 0, other);
  tile("low", 5, 5, 1000000, scene_);
  tile("high", 5, 5, 7, scene_);
  tile("far_tile", 5, 5, 1000000, other);
  auto dialog_field = [](const char* title, int n) { return widget_of(window_titled(title), tk::WidgetKind::Input, n); };
  tk::test::when_idle([&] {
    show_tab(1);
    tk::test::click(tool(1));
  });
  tk::test::when_idle([&] {
    const int w = window_titled("Shift objects");
    ASSERT_NE(w, -1);
    EXPECT_EQ(tk::text(dialog_field("Shift objects", 0)), "20");
    EXPECT_EQ(tk::text(dialog_field("Shift objects", 1)), "20");
    EXPECT_EQ(widget_of(w, tk::WidgetKind::CheckBox), -1);
    retype(dialog_field("Shift objects", 0), "5");
    retype(dialog_field("Shift objects", 1), "-3");
    graphics_test::press(w, "OK");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(std::make_pair(object_named("a")->x, object_named("a")->y), std::make_pair(15, 7));
    EXPECT_EQ(std::make_pair(object_named("b")->x, object_named("b")->y), std::make_pair(25, 17));
    EXPECT_EQ(object_named("far")->x, 0);
    show_tab(3);
    tk::test::click(tool(1));
  });
  tk::test::when_idle([&] {
    const int w = window_titled("Shift tiles");
    ASSERT_NE(w, -1);
    EXPECT_NE(tk::test::find_widget(w, "In all layer"), -1);
    retype(dialog_field("Shift tiles", 0), "100");
    graphics_test::press(w, "OK");  // the current layer only
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(tile_named("low")->x, 105);
    EXPECT_EQ(tile_named("low")->y, 25);
    EXPECT_EQ(tile_named("high")->x, 5);
    tk::test::click(tool(1));
  });
  tk::test::when_idle([&] {
    const int w = window_titled("Shift tiles");
    tk::test::click(widget_of(w, tk::WidgetKind::CheckBox));
    graphics_test::press(w, "OK");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(tile_named("low")->x, 125);
    EXPECT_EQ(tile_named("high")->x, 25);
    EXPECT_EQ(tile_named("far_tile")->x, 5);
    ask_->answer_yes_no(1);
    tk::test::click(tool(0));
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(ask_->asked.back().text, "Delete all tiles in this scene?");
    EXPECT_EQ(g_tiles.count(), 1);
    EXPECT_NE(tile_named("far_tile"), nullptr);
    EXPECT_NE(object_named("a"), nullptr);
    show_tab(1);
    ask_->answer_yes_no(0);
    tk::test::click(tool(0));
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(ask_->asked.back().text, "Delete all objects in this scene?");
    EXPECT_NE(object_named("a"), nullptr);
    ask_->answer_yes_no(1);
    tk::test::click(tool(0));
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(object_named("a"), nullptr);
    EXPECT_EQ(object_named("b"), nullptr);
    EXPECT_NE(object_named("far"), nullptr);
    press("Done");
  });
  edit_scene(scene_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
}

TEST_F(SceneEditor, DoneWritesTheProjectPictureOnlyForANamedProjectAndAlwaysTheThumbnail) {
  fs::create_directories("Projects");
  scene().back_red = 200;
  g_scene_show_grid = 0;
  struct Case {
    std::string project;
    bool picture;
  } cases[] = {{"", false}, {"game", true}};
  for (const Case& c : cases) {
    g_project_name = c.project;
    tk::test::when_idle([] { tick(); });
    tk::test::when_idle([] { press("Done"); });
    edit_scene(scene_);
    EXPECT_EQ(fs::exists("Projects/game.png"), c.picture) << c.project;
    const int thumbnail = scene().thumbnail_image;
    EXPECT_EQ(imaging::image_width(thumbnail), 150);
    // The 640 x 480 scene fitted into 80 x 60 at (35, 10), over the card.
    EXPECT_EQ(imaging::image_pixel(thumbnail, 36, 11), rgba(200, 0, 0));
    EXPECT_EQ(imaging::image_pixel(thumbnail, 114, 69), rgba(200, 0, 0));
    EXPECT_EQ(imaging::image_pixel(thumbnail, 36, 71), imaging::image_pixel(91, 36, 71));
  }
  std::optional<imaging::Image> written = imaging::decode_image_file("Projects/game.png");
  ASSERT_TRUE(written);
  EXPECT_EQ(std::make_pair(written->width, written->height), std::make_pair(240, 240));
  EXPECT_EQ(imaging::get_pixel(*written, 5, 5), rgba(200, 0, 0));
  EXPECT_EQ(imaging::get_pixel(*written, 5, 185), rgba(0, 0, 0));  // below the 240 x 180 scene

  // A scene without a size still closes, with a blank card as thumbnail.
  g_project_name = "game";
  tk::test::when_idle([] {
    retype(input(kWidth), "0");
    press("Done");
  });
  edit_scene(scene_);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_EQ(imaging::image_pixel(scene().thumbnail_image, 36, 11), imaging::image_pixel(91, 36, 11));
}
