// Deletes remove records by name and keep the names that refer to them
// consistent. A cascade collects every name first and then removes all of
// them in one order-keeping pass per list, which gives the same lists as
// deleting the names one after another, in linear time.
#include <unordered_map>
#include <unordered_set>

#include "imaging/image.h"
#include "maker/project/owned_images.h"
#include "maker/project/records.h"

namespace {

using NameSet = std::unordered_set<std::string>;

void remove_objects(const NameSet& names) {
  g_objects.remove_if([&](const GameObject& o) {
    return names.count(o.name) || names.count(o.template_name);
  });
  g_scripts.remove_if([&](const Script& s) { return names.count(s.owner_object) > 0; });
}

void remove_layers(const NameSet& names) {
  g_layers.remove_if([&](const Layer& l) { return names.count(l.name) > 0; });
}

void remove_tiles(const NameSet& names) {
  g_tiles.remove_if([&](const Tile& t) {
    if (!names.count(t.name)) return false;
    free_owned_image(t.image);
    return true;
  });
}

template <class T>
void remove_named(RecordList<T>& list, const std::string& name) {
  list.remove_if([&](const T& r) { return r.name == name; });
}

// Every object shows its sprite's first frame again, after the frames changed.
void refresh_object_sprite_images() {
  std::unordered_map<std::string, int> first_frame;
  for (const Frame& f : g_frames) first_frame.emplace(f.sprite_name, f.image);
  for (GameObject& o : g_objects) {
    if (o.sprite_name.empty()) {
      o.sprite_image = -1;
      continue;
    }
    auto found = first_frame.find(o.sprite_name);
    o.sprite_image = found == first_frame.end() ? -1 : found->second;
    if (o.sprite_image != -1) {
      o.image_width = imaging::image_width(o.sprite_image);
      o.image_height = imaging::image_height(o.sprite_image);
    }
  }
}

}  // namespace

int delete_sprite(const std::string& name) {
  for (GameObject& o : g_objects) {
    if (o.sprite_name != name) continue;
    o.sprite_name = "";
    o.sprite_image = -1;
  }
  g_frames.remove_if([&](const Frame& f) {
    if (f.sprite_name != name) return false;
    free_owned_image(f.image);
    return true;
  });
  g_sprites.remove_if([&](const Sprite& s) {
    if (s.name != name) return false;
    free_owned_image(s.thumbnail_image);
    return true;
  });
  refresh_object_sprite_images();
  return 0;
}

int delete_sound(const std::string& name) {
  remove_named(g_sounds, name);
  return 0;
}

int delete_music(const std::string& name) {
  remove_named(g_musics, name);
  return 0;
}

int delete_font(const std::string& name) {
  remove_named(g_fonts, name);
  return 0;
}

int delete_background(const std::string& name) {
  g_backgrounds.remove_if([&](const Background& b) {
    if (b.name != name) return false;
    free_owned_image(b.thumbnail_image);
    return true;
  });
  for (Scene& s : g_scenes)
    if (s.background_name == name) s.background_name = "";
  NameSet tiles;
  for (const Tile& t : g_tiles)
    if (t.background_name == name) tiles.insert(t.name);
  remove_tiles(tiles);
  return 0;
}

int delete_object(const std::string& name) {
  remove_objects({name});
  return 0;
}

int delete_scene(const std::string& name) {
  g_scenes.remove_if([&](const Scene& s) {
    if (s.name != name) return false;
    free_owned_image(s.thumbnail_image);
    return true;
  });
  NameSet objects, layers, tiles;
  for (const GameObject& o : g_objects)
    if (o.scene_name == name) objects.insert(o.name);
  remove_objects(objects);
  for (const Layer& l : g_layers)
    if (l.scene_name == name) layers.insert(l.name);
  remove_layers(layers);
  for (const Tile& t : g_tiles)
    if (t.scene_name == name) tiles.insert(t.name);
  remove_tiles(tiles);
  return 0;
}

int delete_layer(const std::string& name) {
  remove_layers({name});
  return 0;
}

int delete_tile(const std::string& name) {
  remove_tiles({name});
  return 0;
}

int duplicate_object(const std::string& name) {
  // Object names stay unique: a second duplicate of the same object becomes
  // name_dup_dup, and so on.
  std::string copy_name = name + "_dup";
  while (!object_name_is_free(copy_name, -1)) copy_name += "_dup";

  int objects = g_objects.count();
  for (int i = 0; i < objects; ++i) {
    if (g_objects[i].name != name) continue;
    GameObject copy = g_objects[i];
    copy.name = copy_name;
    g_objects.append(copy);
  }
  int scripts = g_scripts.count();
  for (int i = 0; i < scripts; ++i) {
    if (g_scripts[i].owner_object != name) continue;
    Script copy = g_scripts[i];
    copy.owner_object = copy_name;
    g_scripts.append(copy);
  }
  return 0;
}
