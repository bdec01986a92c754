#pragma once
// The two canvases of the scene editor: the scene canvas (drawing the scene,
// placing, selecting, moving and removing instances and tiles) and the
// tile-set picker. The rules work on a SceneCanvasState that the editor
// window fills from its widgets, so they also run without a window.
#include <climits>
#include <string>
#include <vector>

#include "imaging/image.h"
#include "maker/project/state.h"
#include "toolkit/events.h"

// One instance or tile of the scene, in drawing order.
struct SceneDrawItem {
  int depth = 0;
  int object = -1;  // index in g_objects, or -1
  int tile = -1;    // index in g_tiles, or -1
};
extern std::vector<SceneDrawItem> g_scene_draw_list;

// The draw list of the scene: its instances in list order, then its tiles,
// sorted by depth, highest first, keeping that order for equal depths.
void build_scene_draw_list(const std::string& scene_name);

// The canvas and the scroll area's inner size become the size typed into
// the two fields.
void resize_scene_canvas(int canvas, int scroll_area, int width_field, int height_field);
// The tile-set canvas shows the background's picture over the checkerboard;
// 0 x 0 without one.
void load_tileset_canvas(int canvas, int scroll_area, const std::string& background_name);

// Pages of the editor's tabbed panel and the entries of the two "Action" combos.
enum SceneTab { kSceneTabSettings, kSceneTabObjects, kSceneTabBackground, kSceneTabTiles };
enum SceneAction { kScenePlace, kSceneSelect, kSceneRemove };

struct SceneCanvasState {
  int scene = -1;  // index in g_scenes
  // Read from the widgets before every event and redraw.
  int tab = kSceneTabSettings;
  int object_action = kScenePlace;
  int tile_action = kScenePlace;
  std::string object_to_place;
  std::string tile_image;  // the "Tile image" text
  int layer_depth = 0;     // the number in the "Layer" combo
  // Kept by the canvas rules.
  bool inside = false;
  int pointer_x = 0, pointer_y = 0;
  int painted_column = INT_MIN, painted_row = INT_MIN;  // none painted yet
  int background_picture = -1;  // the scene's background image, owned
  int tileset_picture = -1;     // owned
  int tile_left = 0, tile_top = 0, tile_width = 0, tile_height = 0;
  int tile_picture = -1;  // the selected tile, owned
  bool dragging = false;  // a drag on the tile-set canvas
  int drag_x = 0, drag_y = 0;
  std::string status;
};

// Frees the pictures the state owns.
void free_scene_canvas_pictures(SceneCanvasState& state);
// (Re)loads the picture of the background of that name from the working
// folder into *picture (freeing the old one); -1 when there is none.
void load_background_picture(int& picture, const std::string& background_name);

// The scene redrawn into target, whole or only its w x h part at (x, y);
// sets state.status (which does not depend on the part).
void draw_scene(SceneCanvasState& state, imaging::Image& target, int x = 0, int y = 0, int w = INT_MAX,
                int h = INT_MAX);
// The status text: the last selected instance met in the draw list, when
// instances show; rebuilds the draw list.
void update_scene_status(SceneCanvasState& state);
// The tile-set picker with the selected rectangle, when there is one; whole
// or only the w x h part at (x, y).
void draw_tileset_selection(const SceneCanvasState& state, imaging::Image& target, int x = 0, int y = 0,
                            int w = INT_MAX, int h = INT_MAX);

bool instance_hit(const GameObject& instance, int px, int py);
bool tile_hit(const Tile& tile, const std::string& scene_name, int layer_depth, int px, int py);

// New records at a point of the scene; each returns its index.
int place_instance(const SceneCanvasState& state, int x, int y);
int place_tile(const SceneCanvasState& state, int x, int y);

// value + step, kept within the range of int.
int add_clamped(int value, long long step);

// An event of the scene canvas (pointer, click, key), by the editor's rules.
void scene_canvas_event(SceneCanvasState& state, const tk::Event& event);

// The rectangle of the tile set picked by a drag from (sx, sy) to (cx, cy).
// A drag up or to the left of its start gives no size: the width and height
// of the rectangle before stay, so the first cell of the drag stays picked.
struct TileRect {
  int left = 0, top = 0, width = 0, height = 0;
};
TileRect tileset_rectangle(TileRect before, const Background* background, int picture_width, int picture_height,
                           int sx, int sy, int cx, int cy, int modifiers, int grid);
// An event of the tile-set canvas; true when a new tile was picked (then
// the tile action becomes "Place tiles" and the preview must be renewed).
bool tileset_canvas_event(SceneCanvasState& state, const tk::Event& event);
