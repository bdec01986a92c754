#pragma once
// The data model of quillop-maker: one program-wide list per record kind, the
// project state and the program-wide values with their start values.
//
// Records never point at each other; they refer to each other by name. Texts
// are UTF-8 and compare exactly. Numbers and flags are int; an image field is
// an image-table number, -1 (or any number naming no image) for none. A
// default-constructed record is the spare record: empty texts, all numbers 0;
// the constructors in records.h give the real defaults.
#include <string>

#include "maker/project/record_list.h"

struct Sprite {
  std::string name;
  int thumbnail_image = 0;  // owned
  std::string collision_shape;  // "Box" or "Circle"
  int collision_radius = 0;
  int collision_left = 0;
  int collision_right = 0;
  int collision_top = 0;
  int collision_bottom = 0;
  int origin_x = 0;
  int origin_y = 0;
};

// The frames of one sprite are its Frame records in list order.
struct Frame {
  std::string file_counter;
  std::string sprite_name;
  int image = 0;  // owned
};

struct Sound {
  std::string name;
  std::string wav_file;  // file names in the working folder, no folder part
  std::string mp3_file;
  std::string ogg_file;
};

struct Music {
  std::string name;
  std::string wav_file;
  std::string mp3_file;
  std::string ogg_file;
};

struct Background {
  std::string name;
  std::string image_file;
  int thumbnail_image = 0;  // owned
  int use_as_tileset = 0;
  int tile_width = 0;
  int tile_height = 0;
  int tile_offset_x = 0;
  int tile_offset_y = 0;
  int tile_space_x = 0;
  int tile_space_y = 0;
};

struct Font {
  std::string name;
  std::string family;
  int size = 0;
  int bold = 0;
  int italic = 0;
};

// Object definitions (is_prototype 1) and the instances placed in scenes
// (is_prototype 0) share one list; names are unique over both.
struct GameObject {
  int is_prototype = 0;
  std::string template_name;
  std::string name;
  std::string sprite_name;
  std::string scene_name;
  int x = 0;
  int y = 0;
  int selected = 0;      // never saved
  int sprite_image = 0;  // borrowed from the sprite's first frame; never saved
  int image_width = 0;   // never saved
  int image_height = 0;  // never saved
  int visible = 0;
  int depth = 0;
  int collision = 0;
  std::string parent_name;
};

struct Script {
  std::string name;
  std::string owner_object;
  std::string event_type;
  std::string parameter;  // for "Collision" the other object's name
  std::string code;       // lines end in CR LF
};

// List order is scene order; the game starts with the first scene.
struct Scene {
  std::string name;
  int thumbnail_image = 0;  // may be the shared built-in picture 91
  int width = 0;
  int height = 0;
  int view_width = 0;
  int view_height = 0;
  int back_red = 0;
  int back_green = 0;
  int back_blue = 0;
  std::string code;
  int speed = 0;
  std::string background_name;
  int tile_horizontal = 0;
  int tile_vertical = 0;
  int stretch = 0;
  std::string follow_object;
  int follow_border_x = 0;
  int follow_border_y = 0;
};

struct Layer {
  std::string name;
  int depth = 0;
  std::string scene_name;
};

struct Tile {
  std::string name;
  std::string background_name;
  int source_left = 0;
  int source_top = 0;
  int width = 0;
  int height = 0;
  int x = 0;
  int y = 0;
  int depth = 0;
  std::string scene_name;
  int image = 0;     // owned
  int selected = 0;  // never saved
};

struct GameSettings {
  std::string title;
  std::string global_variables;
  std::string global_functions;
  int advanced_mode = 0;
  std::string comments;
};

struct ResourceEntry {
  std::string kind;  // "Sprites", "Sounds", ... "Scenes"
  std::string name;
  int widget = 0;
  int popup_menu = 0;  // -1 none
  int menu_target = 0;
};

struct Keyword {
  std::string word;
  std::string kind;  // "Var", "Fn" or "Cons"
  std::string help_line1;
  std::string help_line2;
};

struct ExtensionInfo {
  std::string base_name;  // file name without ".qex"
  std::string title;
  std::string author;
  std::string description;
  std::string help;
  std::string code;
  int enabled = 0;
};

// ---- the lists ----
extern RecordList<GameSettings> g_game_settings;  // one used record, index 0
extern RecordList<Sprite> g_sprites;
extern RecordList<Frame> g_frames;
extern RecordList<int> g_sprite_preview_image;  // image numbers, owned
extern RecordList<Background> g_backgrounds;
extern RecordList<Tile> g_tiles;
extern RecordList<Layer> g_layers;
extern RecordList<Font> g_fonts;
extern RecordList<GameObject> g_objects;
extern RecordList<Sound> g_sounds;
extern RecordList<Music> g_musics;
extern RecordList<Scene> g_scenes;
extern RecordList<Script> g_scripts;
extern RecordList<ResourceEntry> g_resource_entries;
extern RecordList<Keyword> g_keywords;
extern RecordList<std::string> g_project_names;
extern RecordList<ExtensionInfo> g_installed_extensions;
extern RecordList<std::string> g_project_extension_names;
extern RecordList<int> g_frame_strip_widgets;  // widget numbers

// ---- program-wide values ----
// Colours are red + 256 * green + 65536 * blue.
constexpr int rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

extern int g_file_version;
extern int g_debug_log;
extern int g_service_mode;

extern int pref_color_text;
extern int pref_color_selection_back;
extern int pref_color_selection_fore;
extern int pref_color_command;
extern int pref_color_comment;
extern int pref_color_string;
extern int pref_color_number;
extern int pref_color_function;
extern int pref_color_resource;
extern int pref_color_engine_function;
extern int pref_color_engine_variable;
extern int pref_color_constant;
extern int pref_color_caret;
extern std::string pref_font_family;
extern int pref_font_size;
// Start values of the code-editor font; also what an editor uses in place of
// an empty family or a size outside kSmallestEditorFontSize ..
// kLargestEditorFontSize. The largest is the largest size the desktop's font
// chooser lists; a code window shows a few words of it, and a size beyond is
// more likely a slip (110 for 11) than a wish.
inline constexpr const char* kStartFontFamily = "Consolas";
inline constexpr int kStartFontSize = 11;
inline constexpr int kSmallestEditorFontSize = 6;
inline constexpr int kLargestEditorFontSize = 72;
extern int pref_code_window_x;  // code-window geometry, -1 = not stored yet
extern int pref_code_window_y;
extern int pref_code_window_width;
extern int pref_code_window_height;
extern int pref_code_window_maximized;
extern int g_sprite_preview_zoom;
extern int pref_add_file_protocol;
extern int g_current_frame;
extern int pref_check_version_at_startup;
extern int pref_generate_index_html;
extern int pref_confirm_exit;

// Project state.
extern std::string g_project_name;    // "" until saved or opened
extern std::string g_project_folder;  // the working folder
extern int g_project_modified;
extern int g_sprite_preview_speed;
extern int g_project_uid;  // unique-number counter behind generated names
extern int g_scene_show_grid;
extern int g_scene_grid_size;
extern int g_scene_snap;
extern int g_sprite_show_collision;
extern int g_latest_version;
extern std::string g_engine_template;
extern int g_scene_show_objects;
extern int g_scene_show_tiles;

// Every value above (not the lists) back to its start value. The variables
// already hold these at program start; tests call this to start clean.
void reset_program_values();
