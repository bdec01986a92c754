#include <functional>
#include <vector>

#include "records_fixture.h"

namespace {

using imaging::create_image;
using imaging::image_exists;
using imaging::kAnyImage;

template <class T, class F>
std::vector<std::string> column(const RecordList<T>& list, F field) {
  std::vector<std::string> out;
  for (const T& r : list) out.push_back(field(r));
  return out;
}
std::vector<std::string> names_of(const auto& list) {
  return column(list, [](const auto& r) { return r.name; });
}
using Names = std::vector<std::string>;

GameObject object(const std::string& name, const std::string& sprite = "") {
  GameObject o;
  o.is_prototype = 1;
  o.name = name;
  o.sprite_name = sprite;
  o.sprite_image = -1;
  o.visible = 1;
  o.collision = 1;
  return o;
}

GameObject instance(const std::string& name, const std::string& of, const std::string& scene) {
  GameObject o = object(name);
  o.is_prototype = 0;
  o.template_name = of;
  o.scene_name = scene;
  return o;
}

Tile tile(const std::string& name, const std::string& background, const std::string& scene,
          int image = -1) {
  Tile t;
  t.name = name;
  t.background_name = background;
  t.scene_name = scene;
  t.image = image;
  return t;
}

using Cascades = EmptyProject;

TEST_F(Cascades, DeleteSpriteRemovesItsFramesAndClearsObjects) {
  int a0 = create_image(kAnyImage, 8, 8), b0 = create_image(kAnyImage, 16, 12);
  int a1 = create_image(kAnyImage, 8, 8), b1 = create_image(kAnyImage, 16, 12);
  int thumb_a = create_image(kAnyImage, 150, 100), thumb_b = create_image(kAnyImage, 150, 100);
  Sprite a, b;
  a.name = "a";
  a.thumbnail_image = thumb_a;
  b.name = "b";
  b.thumbnail_image = thumb_b;
  g_sprites.append(a);
  g_sprites.append(b);
  g_frames.append({"0", "a", a0});
  g_frames.append({"0", "b", b0});
  g_frames.append({"1", "a", a1});
  g_frames.append({"1", "b", b1});
  GameObject shows_a = object("shows_a", "a");
  shows_a.sprite_image = a0;
  shows_a.image_width = shows_a.image_height = 8;
  GameObject shows_b = object("shows_b", "b");  // stale size, refreshed from b's first frame
  shows_b.sprite_image = 12345;
  GameObject none = object("none");
  none.sprite_image = 777;
  g_objects.append(shows_a);
  g_objects.append(instance("placed_a", "shows_a", "s"));
  g_objects[1].sprite_name = "a";
  g_objects[1].sprite_image = a0;
  g_objects.append(shows_b);
  g_objects.append(none);

  int modified = g_project_modified;
  delete_sprite("a");

  EXPECT_EQ(names_of(g_sprites), Names{"b"});
  EXPECT_EQ(column(g_frames, [](const Frame& f) { return f.sprite_name + f.file_counter; }),
            (Names{"b0", "b1"}));
  EXPECT_FALSE(image_exists(a0));
  EXPECT_FALSE(image_exists(a1));
  EXPECT_FALSE(image_exists(thumb_a));
  EXPECT_TRUE(image_exists(b0) && image_exists(b1) && image_exists(thumb_b));
  for (int i : {0, 1}) {
    EXPECT_EQ(g_objects[i].sprite_name, "");
    EXPECT_EQ(g_objects[i].sprite_image, -1);
  }
  EXPECT_EQ(g_objects[2].sprite_image, b0);
  EXPECT_EQ(g_objects[2].image_width, 16);
  EXPECT_EQ(g_objects[2].image_height, 12);
  EXPECT_EQ(g_objects[3].sprite_image, -1);
  EXPECT_EQ(g_project_modified, modified);
}

TEST_F(Cascades, ObjectOfASpriteWithoutFramesKeepsItsSize) {
  Sprite s;
  s.name = "empty";
  g_sprites.append(s);
  GameObject o = object("o", "empty");
  o.sprite_image = 5;
  o.image_width = 30;
  o.image_height = 40;
  g_objects.append(o);
  delete_sprite("other");
  EXPECT_EQ(g_objects[0].sprite_image, -1);
  EXPECT_EQ(g_objects[0].image_width, 30);
  EXPECT_EQ(g_objects[0].image_height, 40);
}

TEST_F(Cascades, DeleteObjectRemovesInstancesAndScriptsButNotChildren) {
  g_objects.append(object("parent"));
  g_objects.append(object("child"));
  g_objects[1].parent_name = "parent";
  g_objects.append(instance("SceneObject1", "parent", "s1"));
  g_objects.append(instance("SceneObject2", "child", "s1"));
  g_objects.append(instance("SceneObject3", "parent", "s2"));
  add_event_script("parent", "Step", "");
  add_event_script("child", "Collision", "parent");
  add_event_script("parent", "Draw", "");

  delete_object("parent");

  EXPECT_EQ(names_of(g_objects), (Names{"child", "SceneObject2"}));
  EXPECT_EQ(g_objects[0].parent_name, "parent");
  ASSERT_EQ(g_scripts.count(), 1);
  EXPECT_EQ(g_scripts[0].owner_object, "child");
  EXPECT_EQ(g_scripts[0].parameter, "parent");
}

TEST_F(Cascades, DeleteSceneRemovesWhatIsInItOnly) {
  for (const char* name : {"first", "doomed", "last"}) {
    Scene s;
    s.name = name;
    g_scenes.append(s);
    new_layer(name);
  }
  g_objects.append(object("def"));
  add_event_script("def", "Step", "");
  g_objects.append(instance("in_doomed", "def", "doomed"));
  g_objects.append(instance("in_last", "def", "last"));
  int doomed_tile = create_image(kAnyImage, 2, 2), kept_tile = create_image(kAnyImage, 2, 2);
  g_tiles.append(tile("t1", "bg", "doomed", doomed_tile));
  g_tiles.append(tile("t2", "bg", "last", kept_tile));

  delete_scene("doomed");

  EXPECT_EQ(names_of(g_scenes), (Names{"first", "last"}));
  EXPECT_EQ(column(g_layers, [](const Layer& l) { return l.scene_name; }),
            (Names{"first", "last"}));
  EXPECT_EQ(names_of(g_objects), (Names{"def", "in_last"}));
  EXPECT_EQ(g_scripts.count(), 1);
  EXPECT_EQ(names_of(g_tiles), Names{"t2"});
  EXPECT_FALSE(image_exists(doomed_tile));
  EXPECT_TRUE(image_exists(kept_tile));
}

TEST_F(Cascades, DeleteBackgroundClearsScenesAndRemovesItsTilesEverywhere) {
  int thumb = create_image(kAnyImage, 150, 100);
  Background used, other;
  used.name = "bg";
  used.thumbnail_image = thumb;
  other.name = "other";
  g_backgrounds.append(used);
  g_backgrounds.append(other);
  Scene s1, s2;
  s1.name = "s1";
  s1.background_name = "bg";
  s2.name = "s2";
  s2.background_name = "other";
  g_scenes.append(s1);
  g_scenes.append(s2);
  int i1 = create_image(kAnyImage, 2, 2), i2 = create_image(kAnyImage, 2, 2),
      i3 = create_image(kAnyImage, 2, 2);
  g_tiles.append(tile("t1", "bg", "s1", i1));
  g_tiles.append(tile("t2", "other", "s1", i2));
  g_tiles.append(tile("t3", "bg", "s2", i3));

  delete_background("bg");

  EXPECT_EQ(names_of(g_backgrounds), Names{"other"});
  EXPECT_EQ(g_scenes[0].background_name, "");
  EXPECT_EQ(g_scenes[1].background_name, "other");
  EXPECT_EQ(names_of(g_tiles), Names{"t2"});
  EXPECT_FALSE(image_exists(i1) || image_exists(i3) || image_exists(thumb));
  EXPECT_TRUE(image_exists(i2));
}

TEST_F(Cascades, DeleteLayerLeavesItsTiles) {
  new_scene();  // scene_2 with layer_3
  new_layer("scene_2");
  Tile t = tile("tile_9", "bg", "scene_2");
  t.depth = 1000000;
  g_tiles.append(t);
  delete_layer("layer_3");
  EXPECT_EQ(names_of(g_layers), Names{"layer_4"});
  EXPECT_EQ(g_tiles.count(), 1);
}

TEST_F(Cascades, DeletesByNameRemoveExactMatchesOnly) {
  struct Case {
    const char* what;
    std::function<void()> fill;
    std::function<int(const std::string&)> remove;
    std::function<Names()> names;
  };
  const Case cases[] = {
      {"sound", [] { for (auto n : {"x", "X", "y"}) g_sounds.append({n, "", "", ""}); },
       delete_sound, [] { return names_of(g_sounds); }},
      {"music", [] { for (auto n : {"x", "X", "y"}) g_musics.append({n, "", "", ""}); },
       delete_music, [] { return names_of(g_musics); }},
      {"font", [] { for (auto n : {"x", "X", "y"}) g_fonts.append({n, "Arial", 12, 0, 0}); },
       delete_font, [] { return names_of(g_fonts); }},
      {"layer", [] { for (auto n : {"x", "X", "y"}) g_layers.append({n, 0, "s"}); },
       delete_layer, [] { return names_of(g_layers); }},
      {"tile", [] { for (auto n : {"x", "X", "y"}) g_tiles.append(tile(n, "b", "s")); },
       delete_tile, [] { return names_of(g_tiles); }},
  };
  for (const Case& c : cases) {
    c.fill();
    c.remove("nothing");
    EXPECT_EQ(c.names(), (Names{"x", "X", "y"})) << c.what << ": unknown name";
    c.remove("x");
    EXPECT_EQ(c.names(), (Names{"X", "y"})) << c.what;
  }
}

TEST_F(Cascades, BorrowedAndBuiltinImagesAreNeverFreed) {
  int card = create_image(91, 150, 100);
  int frame = create_image(kAnyImage, 4, 4);
  Scene s;
  s.name = "s";
  s.thumbnail_image = card;
  g_scenes.append(s);
  g_frames.append({"0", "spr", frame});
  GameObject o = instance("inst", "def", "s");
  o.sprite_name = "spr";
  o.sprite_image = frame;
  g_objects.append(o);

  delete_scene("s");
  EXPECT_TRUE(image_exists(card));
  EXPECT_TRUE(image_exists(frame));
  EXPECT_EQ(g_objects.count(), 0);
}

TEST_F(Cascades, DuplicateCopiesDefinitionAndScripts) {
  new_sprite();  // sprite_2
  std::string name = "object_5";
  GameObject src = object(name, "sprite_2");
  src.depth = -20;
  src.visible = 0;
  src.collision = 0;
  src.parent_name = "base";
  src.sprite_image = 4242;
  g_objects.append(src);
  g_objects.append(instance("SceneObject6", name, "scene_1"));
  g_objects.append(object("object_7"));
  int s1 = add_event_script(name, "Creation", "");
  add_event_script("object_7", "Step", "");
  int s2 = add_event_script(name, "Collision", "object_7");
  g_scripts[s1].code = "x = 1;\r\n";
  int uid = g_project_uid, modified = g_project_modified;

  duplicate_object(name);

  EXPECT_EQ(names_of(g_objects), (Names{name, "SceneObject6", "object_7", "object_5_dup"}));
  const GameObject& copy = g_objects[3];
  EXPECT_EQ(copy.depth, -20);
  EXPECT_EQ(copy.sprite_name, "sprite_2");
  EXPECT_EQ(copy.sprite_image, 4242);
  EXPECT_EQ(copy.visible, 0);
  EXPECT_EQ(copy.collision, 0);
  EXPECT_EQ(copy.is_prototype, 1);
  EXPECT_EQ(copy.parent_name, "base");
  ASSERT_EQ(g_scripts.count(), 5);
  for (int k = 0; k < 2; ++k) {
    const Script& from = g_scripts[k == 0 ? s1 : s2];
    const Script& dup = g_scripts[3 + k];
    EXPECT_EQ(dup.owner_object, "object_5_dup");
    EXPECT_EQ(dup.name, from.name);
    EXPECT_EQ(dup.event_type, from.event_type);
    EXPECT_EQ(dup.parameter, from.parameter);
    EXPECT_EQ(dup.code, from.code);
  }
  EXPECT_EQ(g_project_uid, uid);
  EXPECT_EQ(g_project_modified, modified);
}

TEST_F(Cascades, DuplicatingTwiceKeepsObjectNamesUnique) {
  g_objects.append(object("o"));
  add_event_script("o", "Step", "");
  duplicate_object("o");
  duplicate_object("o");
  EXPECT_EQ(names_of(g_objects), (Names{"o", "o_dup", "o_dup_dup"}));
  EXPECT_EQ(column(g_scripts, [](const Script& s) { return s.owner_object; }),
            (Names{"o", "o_dup", "o_dup_dup"}));
  duplicate_object("o_dup");  // o_dup_dup is taken by the second copy of o
  EXPECT_EQ(g_objects[3].name, "o_dup_dup_dup");
}

}  // namespace
