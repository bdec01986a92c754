#include <functional>

#include "records_fixture.h"

namespace {

using Records = EmptyProject;

TEST_F(Records, GeneratedNamesShareOneCounter) {
  EXPECT_EQ(new_sprite(), "sprite_2");
  EXPECT_EQ(new_scene(), "scene_3");
  ASSERT_EQ(g_layers.count(), 1);
  EXPECT_EQ(g_layers[0].name, "layer_4");
  EXPECT_EQ(g_layers[0].scene_name, "scene_3");
  EXPECT_EQ(g_layers[0].depth, 1000000);

  struct Case { std::function<std::string()> make; const char* name; };
  const Case cases[] = {
      {new_sound, "sound_5"},   {new_music, "music_6"},   {new_background, "background_7"},
      {new_font, "font_8"},     {new_object, "object_9"},
      {[] { return new_layer("scene_3"); }, "layer_10"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.make(), c.name);
  EXPECT_EQ(g_scripts[add_event_script("object_9", "Step", "")].name, "scr_11");
  EXPECT_EQ(g_project_uid, 11);
}

TEST_F(Records, ConstructorsSetTheModifiedFlagExceptLayersAndScripts) {
  struct Case { const char* what; std::function<void()> make; int modified; };
  const Case cases[] = {
      {"sprite", [] { new_sprite(); }, 1},
      {"sound", [] { new_sound(); }, 1},
      {"music", [] { new_music(); }, 1},
      {"background", [] { new_background(); }, 1},
      {"font", [] { new_font(); }, 1},
      {"object", [] { new_object(); }, 1},
      {"scene", [] { new_scene(); }, 1},
      {"layer", [] { new_layer("scene_x"); }, 0},
      {"script", [] { add_event_script("o", "Step", ""); }, 0},
      {"game settings", [] { reset_game_settings(); }, 0},
  };
  for (const Case& c : cases) {
    set_project_modified(0);
    c.make();
    EXPECT_EQ(g_project_modified, c.modified) << c.what;
  }
}

TEST_F(Records, ConstructorDefaults) {
  new_sprite();
  const Sprite& s = g_sprites[0];
  EXPECT_EQ(s.collision_shape, "Box");
  EXPECT_EQ(s.thumbnail_image, -1);
  EXPECT_EQ(s.collision_radius + s.collision_left + s.collision_right + s.collision_top +
                s.collision_bottom + s.origin_x + s.origin_y,
            0);

  new_background();
  const Background& b = g_backgrounds[0];
  EXPECT_EQ(b.image_file, "");
  EXPECT_EQ(b.thumbnail_image, -1);
  EXPECT_EQ(b.use_as_tileset, 0);
  EXPECT_EQ(b.tile_width, 32);
  EXPECT_EQ(b.tile_height, 32);

  new_font();
  EXPECT_EQ(g_fonts[0].family, "Arial");
  EXPECT_EQ(g_fonts[0].size, 12);
  EXPECT_EQ(g_fonts[0].bold + g_fonts[0].italic, 0);

  new_object();
  const GameObject& o = g_objects[0];
  EXPECT_EQ(o.is_prototype, 1);
  EXPECT_EQ(o.sprite_image, -1);
  EXPECT_EQ(o.visible, 1);
  EXPECT_EQ(o.collision, 1);
  EXPECT_EQ(o.depth, 0);
  EXPECT_EQ(o.template_name + o.sprite_name + o.scene_name + o.parent_name, "");

  new_scene();
  const Scene& sc = g_scenes[0];
  EXPECT_EQ(sc.thumbnail_image, -1);
  EXPECT_EQ(sc.width, 640);
  EXPECT_EQ(sc.height, 480);
  EXPECT_EQ(sc.view_width, 640);
  EXPECT_EQ(sc.view_height, 480);
  EXPECT_EQ(sc.speed, 30);
  EXPECT_EQ(sc.follow_border_x, 50);
  EXPECT_EQ(sc.follow_border_y, 50);
  EXPECT_EQ(sc.back_red + sc.back_green + sc.back_blue + sc.stretch + sc.tile_horizontal +
                sc.tile_vertical,
            0);
}

TEST_F(Records, AppendLeavesAFreshSpareRecord) {
  new_sprite();
  EXPECT_EQ(g_sprites.count(), 1);
  const Sprite& spare = g_sprites[1];
  EXPECT_EQ(spare.name, "");
  EXPECT_EQ(spare.collision_shape, "");
  EXPECT_EQ(spare.thumbnail_image, 0);
  EXPECT_EQ(spare.origin_x, 0);

  // Writing into the spare and growing is how the frame commands append.
  g_frames[g_frames.count()].sprite_name = "sprite_2";
  g_frames.grow();
  EXPECT_EQ(g_frames.count(), 1);
  EXPECT_EQ(g_frames[0].sprite_name, "sprite_2");
  EXPECT_EQ(g_frames[1].sprite_name, "");
}

TEST_F(Records, AddEventScriptReturnsTheIndex) {
  add_event_script("object_1", "Creation", "");
  int index = add_event_script("object_1", "Collision", "object_7");
  EXPECT_EQ(index, 1);
  const Script& s = g_scripts[index];
  EXPECT_EQ(s.name, "scr_3");
  EXPECT_EQ(s.owner_object, "object_1");
  EXPECT_EQ(s.event_type, "Collision");
  EXPECT_EQ(s.parameter, "object_7");
  EXPECT_EQ(s.code, "");
  EXPECT_EQ(g_scripts.count(), 2);
}

TEST_F(Records, RemoveIfKeepsOrderAndSpare) {
  RecordList<int> list;
  for (int v : {1, 2, 3, 4, 5, 6}) list.append(v);
  EXPECT_EQ(list.remove_if([](int v) { return v % 2 == 0; }), 3);
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list[0], 1);
  EXPECT_EQ(list[1], 3);
  EXPECT_EQ(list[2], 5);
  EXPECT_EQ(list[3], 0);
  list.erase(1);
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list[1], 5);
  list.clear();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list[0], 0);
}

TEST_F(Records, NameIsFreeSkipsOnlyTheGivenIndex) {
  // Every name-is-free test shares one rule; each runs over its own list.
  struct Kind { const char* what; std::function<std::string()> make;
                std::function<int(const std::string&, int)> is_free; };
  const Kind kinds[] = {
      {"sprite", new_sprite, sprite_name_is_free},
      {"sound", new_sound, sound_name_is_free},
      {"music", new_music, music_name_is_free},
      {"background", new_background, background_name_is_free},
      {"font", new_font, font_name_is_unique},
      {"object", new_object, object_name_is_free},
  };
  for (const Kind& k : kinds) {
    std::string first = k.make();
    std::string second = k.make();
    std::string upper = first;
    upper[0] = char(toupper(upper[0]));
    EXPECT_EQ(k.is_free(first, 0), 1) << k.what << ": keeping its own name";
    EXPECT_EQ(k.is_free(first, 1), 0) << k.what << ": taken by another index";
    EXPECT_EQ(k.is_free(first, -1), 0) << k.what;
    EXPECT_EQ(k.is_free(second, 0), 0) << k.what;
    EXPECT_EQ(k.is_free(upper, 1), 1) << k.what << ": names are case-sensitive";
    EXPECT_EQ(k.is_free(first + " ", 1), 1) << k.what << ": names are not trimmed";
  }
}

TEST_F(Records, NameIsFreeIsPerList) {
  std::string sound = new_sound();
  EXPECT_EQ(music_name_is_free(sound, -1), 1);
}

TEST_F(Records, ObjectNamesIncludeInstances) {
  new_object();
  GameObject instance;
  instance.name = "SceneObject9";
  instance.depth = 7;
  instance.sprite_name = "sprite_x";
  g_objects.append(instance);
  EXPECT_EQ(object_name_is_free("SceneObject9", 0), 0);
  EXPECT_EQ(object_depth_by_name("SceneObject9"), 7);
  EXPECT_EQ(object_sprite_by_name("SceneObject9"), "sprite_x");
}

TEST_F(Records, LookupsByName) {
  GameObject deep;
  deep.name = "deep";
  deep.depth = -5;
  deep.sprite_name = "sprite_a";
  GameObject zero;
  zero.name = "zero";
  g_objects.append(deep);
  g_objects.append(zero);
  deep.depth = 99;  // a later record of the same name loses to the first
  deep.sprite_name = "sprite_b";
  g_objects.append(deep);

  EXPECT_EQ(object_depth_by_name("deep"), -5);
  EXPECT_EQ(object_depth_by_name("zero"), 0);
  EXPECT_EQ(object_depth_by_name("none"), 0);
  EXPECT_EQ(object_depth_by_name("Deep"), 0);
  EXPECT_EQ(object_sprite_by_name("deep"), "sprite_a");
  EXPECT_EQ(object_sprite_by_name("none"), "");

  new_sprite();
  new_sprite();
  EXPECT_EQ(sprite_index_by_name("sprite_3"), 1);
  EXPECT_EQ(sprite_index_by_name("Sprite_3"), -1);
  EXPECT_EQ(sprite_index_by_name(""), -1);
}

TEST_F(Records, FirstFrameImageSkipsOtherSprites) {
  g_frames.append({"0", "a", 100});
  g_frames.append({"0", "b", 200});
  g_frames.append({"1", "a", 101});
  g_frames.append({"1", "b", 201});
  EXPECT_EQ(sprite_first_frame_image("b"), 200);
  EXPECT_EQ(sprite_first_frame_image("a"), 100);
  EXPECT_EQ(sprite_first_frame_image("c"), -1);
}

TEST_F(Records, TileGroupNeedsAllThreeToMatch) {
  Tile t;
  t.scene_name = "s";
  t.background_name = "b";
  t.depth = 10;
  g_tiles.append(t);
  EXPECT_EQ(tile_group_exists("s", "b", 10), 1);
  EXPECT_EQ(tile_group_exists("s", "b", 11), 0);
  EXPECT_EQ(tile_group_exists("s", "c", 10), 0);
  EXPECT_EQ(tile_group_exists("t", "b", 10), 0);
}

TEST_F(Records, ClearEmptiesTheProjectAndFreesOwnedImages) {
  new_sprite();
  int frame = imaging::create_image(imaging::kAnyImage, 4, 4);
  int thumb = imaging::create_image(imaging::kAnyImage, 4, 4);
  int card = imaging::create_image(91, 150, 100);
  g_sprites[0].thumbnail_image = thumb;
  g_frames.append({"0", "sprite_2", frame});
  new_scene();
  g_scenes[0].thumbnail_image = card;
  add_event_script("o", "Step", "");
  g_game_settings[0].title = "Game";
  g_game_settings[0].advanced_mode = 1;
  g_keywords.append({"x", "Var", "", ""});
  g_project_names.append("kept");

  clear_resource_lists();
  for (int n : {g_sprites.count(), g_frames.count(), g_scenes.count(), g_layers.count(),
                g_scripts.count()})
    EXPECT_EQ(n, 0);
  EXPECT_EQ(g_game_settings.count(), 1);
  EXPECT_EQ(g_game_settings[0].title, "");
  EXPECT_EQ(g_game_settings[0].advanced_mode, 0);
  EXPECT_FALSE(imaging::image_exists(frame));
  EXPECT_FALSE(imaging::image_exists(thumb));
  EXPECT_TRUE(imaging::image_exists(card));
  EXPECT_EQ(g_keywords.count(), 1);
  EXPECT_EQ(g_project_names.count(), 1);
  g_keywords.clear();
  g_project_names.clear();
}

TEST_F(Records, StartValues) {
  EXPECT_EQ(g_file_version, 127);
  EXPECT_EQ(g_project_uid, 1);
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_EQ(pref_color_selection_back, 4194304);
  EXPECT_EQ(pref_color_command, 14888246);
  EXPECT_EQ(pref_color_caret, 15790335);
  EXPECT_EQ(pref_font_family, "Consolas");
  EXPECT_EQ(pref_code_window_maximized, -1);
  EXPECT_EQ(g_sprite_preview_speed, 30);
  EXPECT_EQ(g_scene_grid_size, 20);
  EXPECT_EQ(pref_confirm_exit, 1);
}

}  // namespace
