#include "maker/project/state.h"

RecordList<GameSettings> g_game_settings(1);
RecordList<Sprite> g_sprites;
RecordList<Frame> g_frames;
RecordList<int> g_sprite_preview_image;
RecordList<Background> g_backgrounds;
RecordList<Tile> g_tiles;
RecordList<Layer> g_layers;
RecordList<Font> g_fonts;
RecordList<GameObject> g_objects;
RecordList<Sound> g_sounds;
RecordList<Music> g_musics;
RecordList<Scene> g_scenes;
RecordList<Script> g_scripts;
RecordList<ResourceEntry> g_resource_entries;
RecordList<Keyword> g_keywords;
RecordList<std::string> g_project_names;
RecordList<ExtensionInfo> g_installed_extensions;
RecordList<std::string> g_project_extension_names;
RecordList<int> g_frame_strip_widgets;

int g_file_version;
int g_debug_log;
int g_service_mode;

int pref_color_text;
int pref_color_selection_back;
int pref_color_selection_fore;
int pref_color_command;
int pref_color_comment;
int pref_color_string;
int pref_color_number;
int pref_color_function;
int pref_color_resource;
int pref_color_engine_function;
int pref_color_engine_variable;
int pref_color_constant;
int pref_color_caret;
std::string pref_font_family;
int pref_font_size;
int pref_code_window_x;
int pref_code_window_y;
int pref_code_window_width;
int pref_code_window_height;
int pref_code_window_maximized;
int g_sprite_preview_zoom;
int pref_add_file_protocol;
int g_current_frame;
int pref_check_version_at_startup;
int pref_generate_index_html;
int pref_confirm_exit;

std::string g_project_name;
std::string g_project_folder;
int g_project_modified;
int g_sprite_preview_speed;
int g_project_uid;
int g_scene_show_grid;
int g_scene_grid_size;
int g_scene_snap;
int g_sprite_show_collision;
int g_latest_version;
std::string g_engine_template;
int g_scene_show_objects;
int g_scene_show_tiles;

void reset_program_values() {
  g_file_version = 127;
  g_debug_log = 0;
  g_service_mode = 0;

  pref_color_text = rgb(0, 0, 0);
  pref_color_selection_back = rgb(0, 0, 64);
  pref_color_selection_fore = rgb(255, 255, 255);
  pref_color_command = rgb(54, 45, 227);
  pref_color_comment = rgb(160, 160, 160);
  pref_color_string = rgb(198, 0, 198);
  pref_color_number = rgb(208, 64, 64);
  pref_color_function = rgb(35, 163, 35);
  pref_color_resource = rgb(49, 170, 187);
  pref_color_engine_function = rgb(32, 106, 34);
  pref_color_engine_variable = rgb(81, 80, 19);
  pref_color_constant = rgb(60, 60, 60);
  pref_color_caret = rgb(255, 240, 240);
  pref_font_family = kStartFontFamily;
  pref_font_size = kStartFontSize;
  pref_code_window_x = -1;
  pref_code_window_y = -1;
  pref_code_window_width = -1;
  pref_code_window_height = -1;
  pref_code_window_maximized = -1;
  g_sprite_preview_zoom = 1;
  pref_add_file_protocol = 0;
  g_current_frame = 0;
  pref_check_version_at_startup = 1;
  pref_generate_index_html = 1;
  pref_confirm_exit = 1;

  g_project_name = "";
  g_project_folder = "";
  g_project_modified = 0;
  g_sprite_preview_speed = 30;
  g_project_uid = 1;
  g_scene_show_grid = 1;
  g_scene_grid_size = 20;
  g_scene_snap = 1;
  g_sprite_show_collision = 1;
  g_latest_version = 0;
  g_engine_template = "";
  g_scene_show_objects = 1;
  g_scene_show_tiles = 1;
}

// Defined after every value of this file, so the strings exist by now.
[[maybe_unused]] static const bool g_values_started = (reset_program_values(), true);
