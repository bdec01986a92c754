#pragma once
// Constructors of new resources, the unique-number counter, the modified
// flag, the lookups by name, and the deletes and duplicate that keep the
// references by name consistent (cascades.cpp).
#include <string>

#include "maker/project/state.h"

// ---- counter and flag ----
int next_resource_uid();  // adds 1 to g_project_uid and returns it
int set_project_modified(int value);  // returns 0

// ---- constructors: each appends a record with its defaults ----
std::string new_sprite();
std::string new_sound();
std::string new_music();
std::string new_background();
std::string new_font();
std::string new_object();
std::string new_scene();  // also its first layer
std::string new_layer(const std::string& scene_name);
// Returns the index of the new script in g_scripts.
int add_event_script(const std::string& owner_object, const std::string& event_type,
                     const std::string& parameter);
int reset_game_settings();  // record 0 of g_game_settings; returns 0

// Empties the lists that a new project starts without: game settings (back to
// one record, reset), sprites, frames, the sprite-preview images, backgrounds,
// tiles, layers, fonts, objects, sounds, musics, scenes, scripts and the
// resource-browser entries. Frees the images the records own.
void clear_resource_lists();

// ---- lookups (exact, case-sensitive names; first match wins) ----
int sprite_index_by_name(const std::string& name);  // -1 when none
int sprite_first_frame_image(const std::string& sprite_name);  // -1 when none
int object_depth_by_name(const std::string& name);  // 0 when none
std::string object_sprite_by_name(const std::string& name);  // "" when none
int tile_group_exists(const std::string& scene_name, const std::string& background_name,
                      int depth);

// 1 when no record other than the one at `skip_index` has the name, else 0.
template <class T>
int name_is_free(const RecordList<T>& list, const std::string& name, int skip_index) {
  int free = 1;
  for (int i = 0; i < list.count(); ++i)
    if (i != skip_index && list[i].name == name) free = 0;
  return free;
}
int sprite_name_is_free(const std::string& name, int skip_index);
int sound_name_is_free(const std::string& name, int skip_index);
int music_name_is_free(const std::string& name, int skip_index);
int background_name_is_free(const std::string& name, int skip_index);
int font_name_is_unique(const std::string& name, int skip_index);
int object_name_is_free(const std::string& name, int skip_index);  // definitions and instances

// ---- deletes and duplicate: each returns 0 and leaves the modified flag ----
int delete_sprite(const std::string& name);
int delete_sound(const std::string& name);
int delete_music(const std::string& name);
int delete_font(const std::string& name);
int delete_background(const std::string& name);
int delete_object(const std::string& name);
int delete_scene(const std::string& name);
int delete_layer(const std::string& name);
int delete_tile(const std::string& name);
// Appends a copy of the object definition and of its scripts, named
// name + "_dup" (again "_dup" while that name is taken).
int duplicate_object(const std::string& name);
