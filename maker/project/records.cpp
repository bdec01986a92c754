#include "maker/project/records.h"

#include "imaging/image.h"
#include "maker/project/owned_images.h"

int next_resource_uid() { return ++g_project_uid; }

int set_project_modified(int value) {
  g_project_modified = value;
  return 0;
}

static std::string generated_name(const char* prefix) {
  return prefix + std::to_string(next_resource_uid());
}

std::string new_sprite() {
  set_project_modified(1);
  Sprite s;
  s.name = generated_name("sprite_");
  s.thumbnail_image = -1;
  s.collision_shape = "Box";
  g_sprites.append(s);
  return s.name;
}

template <class T>
static std::string new_sound_like(RecordList<T>& list, const char* prefix) {
  set_project_modified(1);
  T s;
  s.name = generated_name(prefix);
  list.append(s);
  return s.name;
}

std::string new_sound() { return new_sound_like(g_sounds, "sound_"); }
std::string new_music() { return new_sound_like(g_musics, "music_"); }

std::string new_background() {
  set_project_modified(1);
  Background b;
  b.name = generated_name("background_");
  b.thumbnail_image = -1;
  b.tile_width = 32;
  b.tile_height = 32;
  g_backgrounds.append(b);
  return b.name;
}

std::string new_font() {
  set_project_modified(1);
  Font f;
  f.name = generated_name("font_");
  f.family = "Arial";
  f.size = 12;
  g_fonts.append(f);
  return f.name;
}

std::string new_object() {
  set_project_modified(1);
  GameObject o;
  o.is_prototype = 1;
  o.name = generated_name("object_");
  o.sprite_image = -1;
  o.visible = 1;
  o.collision = 1;
  g_objects.append(o);
  return o.name;
}

std::string new_scene() {
  set_project_modified(1);
  Scene s;
  s.name = generated_name("scene_");
  s.thumbnail_image = -1;
  s.width = s.view_width = 640;
  s.height = s.view_height = 480;
  s.speed = 30;
  s.follow_border_x = s.follow_border_y = 50;
  g_scenes.append(s);
  new_layer(s.name);
  return s.name;
}

std::string new_layer(const std::string& scene_name) {
  Layer l;
  l.name = generated_name("layer_");
  l.depth = 1000000;
  l.scene_name = scene_name;
  g_layers.append(l);
  return l.name;
}

int add_event_script(const std::string& owner_object, const std::string& event_type,
                     const std::string& parameter) {
  int n = g_scripts.grow();
  Script& s = g_scripts[n];
  s.event_type = event_type;
  s.code = "";
  s.parameter = parameter;
  s.owner_object = owner_object;
  s.name = generated_name("scr_");
  return n;
}

int reset_game_settings() {
  g_game_settings[0] = GameSettings{};
  return 0;
}

void clear_resource_lists() {
  for (const Sprite& s : g_sprites) free_owned_image(s.thumbnail_image);
  for (const Frame& f : g_frames) free_owned_image(f.image);
  for (int image : g_sprite_preview_image) free_owned_image(image);
  for (const Background& b : g_backgrounds) free_owned_image(b.thumbnail_image);
  for (const Tile& t : g_tiles) free_owned_image(t.image);
  for (const Scene& s : g_scenes) free_owned_image(s.thumbnail_image);

  g_game_settings.clear();
  g_game_settings.grow();
  g_sprites.clear();
  g_frames.clear();
  g_sprite_preview_image.clear();
  g_backgrounds.clear();
  g_tiles.clear();
  g_layers.clear();
  g_fonts.clear();
  g_objects.clear();
  g_sounds.clear();
  g_musics.clear();
  g_scenes.clear();
  g_scripts.clear();
  g_resource_entries.clear();
  reset_game_settings();
}

int sprite_index_by_name(const std::string& name) {
  for (int i = 0; i < g_sprites.count(); ++i)
    if (g_sprites[i].name == name) return i;
  return -1;
}

int sprite_first_frame_image(const std::string& sprite_name) {
  for (const Frame& f : g_frames)
    if (f.sprite_name == sprite_name) return f.image;
  return -1;
}

int object_depth_by_name(const std::string& name) {
  for (const GameObject& o : g_objects)
    if (o.name == name) return o.depth;
  return 0;
}

std::string object_sprite_by_name(const std::string& name) {
  for (const GameObject& o : g_objects)
    if (o.name == name) return o.sprite_name;
  return "";
}

int tile_group_exists(const std::string& scene_name, const std::string& background_name,
                      int depth) {
  for (const Tile& t : g_tiles)
    if (t.scene_name == scene_name && t.background_name == background_name && t.depth == depth)
      return 1;
  return 0;
}

int sprite_name_is_free(const std::string& name, int skip_index) {
  return name_is_free(g_sprites, name, skip_index);
}
int sound_name_is_free(const std::string& name, int skip_index) {
  return name_is_free(g_sounds, name, skip_index);
}
int music_name_is_free(const std::string& name, int skip_index) {
  return name_is_free(g_musics, name, skip_index);
}
int background_name_is_free(const std::string& name, int skip_index) {
  return name_is_free(g_backgrounds, name, skip_index);
}
int font_name_is_unique(const std::string& name, int skip_index) {
  return name_is_free(g_fonts, name, skip_index);
}
int object_name_is_free(const std::string& name, int skip_index) {
  return name_is_free(g_objects, name, skip_index);
}
