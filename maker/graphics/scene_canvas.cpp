#include "maker/graphics/scene_canvas.h"

#include <algorithm>
#include <unordered_map>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/project/confirm.h"
#include "maker/project/project_file.h"
#include "maker/project/records.h"
#include "toolkit/toolkit.h"

std::vector<SceneDrawItem> g_scene_draw_list;

namespace {

constexpr int kCheckerboard = 126;
constexpr int kPlaceholder = 162;
constexpr int kNoPictureSide = 15;
constexpr int kNoPictureOffset = 7;
constexpr imaging::Colour kSelectionBox = imaging::rgba(200, 64, 64, 150);
constexpr imaging::Colour kWhite = imaging::rgba(255, 255, 255);

int clamp_int(long long v) { return int(std::clamp<long long>(v, INT_MIN, INT_MAX)); }
long long floor_div(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int grid() { return std::max(g_scene_grid_size, 1); }
int channel(int v) { return std::clamp(v, 0, 255); }

const Background* background_named(const std::string& name) {
  for (const Background& b : g_backgrounds)
    if (b.name == name) return &b;
  return nullptr;
}

struct Origin {
  int x = 0, y = 0;
};
Origin sprite_origin(const std::string& sprite) {
  int i = sprite.empty() ? -1 : sprite_index_by_name(sprite);
  return i < 0 ? Origin{} : Origin{g_sprites[i].origin_x, g_sprites[i].origin_y};
}

// The placing point of a pointer position: the cell corner when snapping.
int placing(int p) {
  return g_scene_snap == 1 ? clamp_int(grid() * floor_div(p, grid())) : p;
}

const std::string& scene_name(const SceneCanvasState& st) { return g_scenes[st.scene].name; }

bool instance_of(const GameObject& o, const std::string& scene) {
  return o.is_prototype == 0 && o.scene_name == scene;
}

// The instance with its selection box.
void draw_instance(imaging::Canvas& c, const GameObject& o, Origin origin) {
  const imaging::Image* picture = imaging::image_ptr(o.sprite_image);
  int x = o.x - kNoPictureOffset, y = o.y - kNoPictureOffset;
  int w = kNoPictureSide, h = kNoPictureSide;
  c.set_mode(imaging::Mode::Alpha);
  if (picture) {
    x = clamp_int((long long)o.x - origin.x), y = clamp_int((long long)o.y - origin.y);
    w = picture->width, h = picture->height;
    c.draw_image(*picture, x, y);
  } else {
    c.draw_image(kPlaceholder, x, y);
  }
  if (o.selected == 1) {
    c.set_mode(imaging::Mode::Xor);
    c.set_colour(kSelectionBox);
    c.box(x, y, w, h);
  }
}

// Copies outside the drawn part (left, top) .. (right, bottom) show
// nothing, so the walk covers only the copies reaching it.
void draw_background(imaging::Canvas& c, const Scene& s, const imaging::Image& picture, long long left,
                     long long top, long long right, long long bottom) {
  c.set_mode(imaging::Mode::Alpha);
  if (s.stretch == 1) {
    c.draw_image_scaled(picture, 0, 0, s.width, s.height);
    return;
  }
  const bool across = s.tile_horizontal == 1, down = s.tile_vertical == 1;
  const long long first_x = across ? std::max(left, 0LL) / picture.width * picture.width : 0;
  const long long first_y = down ? std::max(top, 0LL) / picture.height * picture.height : 0;
  const long long last_x = across ? std::min<long long>(s.width, right) : 0;
  const long long last_y = down ? std::min<long long>(s.height, bottom) : 0;
  for (long long y = first_y; y <= last_y; y += picture.height)
    for (long long x = first_x; x <= last_x; x += picture.width) c.draw_image(picture, int(x), int(y));
}

void draw_grid(imaging::Canvas& c, const Scene& s, int limit_w, int limit_h) {
  const int g = grid();
  c.set_mode(imaging::Mode::Xor);
  c.set_colour(kWhite);
  for (long long i = 0; i <= std::min(s.width, limit_w) / g; ++i)
    c.line(int(i * g), 0, int(i * g), s.height - 1);
  for (long long i = 0; i <= std::min(s.height, limit_h) / g; ++i)
    c.line(0, int(i * g), s.width - 1, int(i * g));
}

void draw_placement_preview(SceneCanvasState& st, imaging::Canvas& c, const Scene& s) {
  if (!st.inside || st.pointer_x <= 0 || st.pointer_x >= s.width || st.pointer_y <= 0 ||
      st.pointer_y >= s.height)
    return;
  const int x = placing(st.pointer_x), y = placing(st.pointer_y);
  c.set_mode(imaging::Mode::Alpha);
  if (st.tab == kSceneTabObjects && st.object_action == kScenePlace && !st.object_to_place.empty()) {
    const std::string sprite = object_sprite_by_name(st.object_to_place);
    const int picture = sprite.empty() ? -1 : sprite_first_frame_image(sprite);
    if (imaging::image_exists(picture)) {
      Origin o = sprite_origin(sprite);
      c.draw_image(picture, clamp_int((long long)x - o.x), clamp_int((long long)y - o.y), 150);
    } else {
      c.draw_image(kPlaceholder, x - kNoPictureOffset, y - kNoPictureOffset, 150);
    }
  }
  if (st.tab == kSceneTabTiles && st.tile_action == kScenePlace && imaging::image_exists(st.tile_picture))
    c.draw_image(st.tile_picture, x, y, 200);
}

std::vector<std::string> hit_instances(const SceneCanvasState& st, int px, int py) {
  std::vector<std::string> names;
  for (const GameObject& o : g_objects)
    if (instance_of(o, scene_name(st)) && instance_hit(o, px, py)) names.push_back(o.name);
  return names;
}

std::vector<std::string> hit_tiles(const SceneCanvasState& st, int px, int py) {
  std::vector<std::string> names;
  for (const Tile& t : g_tiles)
    if (tile_hit(t, scene_name(st), st.layer_depth, px, py)) names.push_back(t.name);
  return names;
}

void delete_objects(const std::vector<std::string>& names) {
  for (const std::string& n : names) delete_object(n);
}
void delete_tiles(const std::vector<std::string>& names) {
  for (const std::string& n : names) delete_tile(n);
}

bool can_place_instance(const SceneCanvasState& st) {
  return st.tab == kSceneTabObjects && st.object_action == kScenePlace && !st.object_to_place.empty();
}
bool can_place_tile(const SceneCanvasState& st) {
  return st.tab == kSceneTabTiles && st.tile_action == kScenePlace && imaging::image_exists(st.tile_picture);
}

void paint(SceneCanvasState& st, int px, int py) {
  if (st.tab == kSceneTabObjects && st.object_action == kSceneRemove) delete_objects(hit_instances(st, px, py));
  if (st.tab == kSceneTabTiles && st.tile_action == kSceneRemove) delete_tiles(hit_tiles(st, px, py));
  const int column = int(floor_div(px, grid())), row = int(floor_div(py, grid()));
  if (column == st.painted_column && row == st.painted_row) return;
  if (can_place_instance(st)) place_instance(st, placing(px), placing(py));
  if (can_place_tile(st)) place_tile(st, placing(px), placing(py));
  st.painted_column = column;
  st.painted_row = row;
}

void click(SceneCanvasState& st, int px, int py, int modifiers) {
  const std::string& scene = scene_name(st);
  if (st.tab == kSceneTabObjects) {
    if (st.object_action == kScenePlace && can_place_instance(st) && modifiers != tk::kShift)
      place_instance(st, placing(px), placing(py));
    if (st.object_action == kSceneSelect)
      for (GameObject& o : g_objects)
        if (instance_of(o, scene) && instance_hit(o, px, py)) o.selected = o.selected == 1 ? 0 : 1;
    if (st.object_action == kSceneRemove) delete_objects(hit_instances(st, px, py));
  }
  if (st.tab == kSceneTabTiles) {
    if (st.tile_action == kScenePlace && can_place_tile(st) && modifiers != tk::kShift)
      place_tile(st, placing(px), placing(py));
    if (st.tile_action == kSceneSelect)
      for (Tile& t : g_tiles)
        if (tile_hit(t, scene, st.layer_depth, px, py)) t.selected = t.selected == 1 ? 0 : 1;
    if (st.tile_action == kSceneRemove) delete_tiles(hit_tiles(st, px, py));
  }
}

// Space, Escape, the arrows and Delete on the selected records of one list.
template <class T>
void key_on(RecordList<T>& list, int key, const std::string& scene, bool (*of_scene)(const T&, const std::string&),
            const char* noun, void (*remove)(const std::vector<std::string>&)) {
  const int step = g_scene_snap == 1 ? grid() : 1;
  if (key == tk::kKeySpace || key == tk::kKeyEscape) {
    for (T& r : list) r.selected = 0;
    return;
  }
  long long dx = 0, dy = 0;
  if (key == tk::kKeyRight) dx = step;
  if (key == tk::kKeyLeft) dx = -step;
  if (key == tk::kKeyUp) dy = -step;
  if (key == tk::kKeyDown) dy = step;
  std::vector<std::string> chosen;
  for (T& r : list) {
    if (r.selected != 1 || !of_scene(r, scene)) continue;
    r.x = add_clamped(r.x, dx);
    r.y = add_clamped(r.y, dy);
    chosen.push_back(r.name);
  }
  if (key != tk::kKeyDelete || chosen.empty()) return;
  if (confirm_yes_no("Confirm", "Delete " + std::to_string(chosen.size()) + " " + noun + "?")) remove(chosen);
}

bool tile_of(const Tile& t, const std::string& scene) { return t.scene_name == scene; }

}  // namespace

int add_clamped(int value, long long step) { return clamp_int(value + step); }

void build_scene_draw_list(const std::string& scene) {
  g_scene_draw_list.clear();
  for (int i = 0; i < g_objects.count(); ++i)
    if (instance_of(g_objects[i], scene)) g_scene_draw_list.push_back({g_objects[i].depth, i, -1});
  for (int i = 0; i < g_tiles.count(); ++i)
    if (g_tiles[i].scene_name == scene) g_scene_draw_list.push_back({g_tiles[i].depth, -1, i});
  std::stable_sort(g_scene_draw_list.begin(), g_scene_draw_list.end(),
                   [](const SceneDrawItem& a, const SceneDrawItem& b) { return a.depth > b.depth; });
}

void resize_scene_canvas(int canvas, int scroll_area, int width_field, int height_field) {
  // A widget cannot be larger than the largest picture it could show.
  auto side = [](int field) { return std::clamp(parse_typed_integer(tk::text(field)), 0, imaging::kMaxImageSide); };
  const int w = side(width_field), h = side(height_field);
  tk::resize_widget(canvas, 0, 0, w, h);
  tk::set_scroll_inner_size(scroll_area, w, h);
}

void load_background_picture(int& picture, const std::string& background_name) {
  imaging::free_image(picture);
  picture = -1;
  const Background* b = background_name.empty() ? nullptr : background_named(background_name);
  if (b && !b->image_file.empty())
    picture = imaging::load_image_file(imaging::kAnyImage, g_project_folder + "/" + b->image_file);
}

void load_tileset_canvas(int canvas, int scroll_area, const std::string& background_name) {
  int picture = -1;
  load_background_picture(picture, background_name);
  const int w = std::max(imaging::image_width(picture), 0), h = std::max(imaging::image_height(picture), 0);
  tk::resize_widget(canvas, 0, 0, w, h);
  tk::set_scroll_inner_size(scroll_area, w, h);
  if (imaging::Image* target = tk::canvas_image(canvas); target && picture >= 0) {
    imaging::Canvas c(*target);
    c.draw_image(kCheckerboard, 0, 0);
    c.set_mode(imaging::Mode::Alpha);
    c.draw_image(picture, 0, 0);
  }
  tk::refresh_canvas(canvas);
  imaging::free_image(picture);
}

void free_scene_canvas_pictures(SceneCanvasState& st) {
  for (int* p : {&st.background_picture, &st.tileset_picture, &st.tile_picture}) {
    imaging::free_image(*p);
    *p = -1;
  }
}

bool instance_hit(const GameObject& o, int px, int py) {
  const Origin origin = o.sprite_name.empty() ? Origin{kNoPictureOffset, kNoPictureOffset} : sprite_origin(o.sprite_name);
  const long long left = (long long)o.x - origin.x, top = (long long)o.y - origin.y;
  auto inside = [&](long long w, long long h) {
    return left <= px && px <= left + w && top <= py && py <= top + h;
  };
  if (!imaging::image_exists(o.sprite_image)) return inside(kNoPictureSide, kNoPictureSide);
  for (const Frame& f : g_frames)
    if (f.sprite_name == o.sprite_name && inside(imaging::image_width(f.image), imaging::image_height(f.image)))
      return true;
  return false;
}

bool tile_hit(const Tile& t, const std::string& scene, int layer_depth, int px, int py) {
  return t.scene_name == scene && t.depth == layer_depth && t.x < px && px < (long long)t.x + t.width &&
         t.y < py && py < (long long)t.y + t.height;
}

static bool objects_shown(const SceneCanvasState& st) { return g_scene_show_objects == 1 || st.tab == kSceneTabObjects; }

void update_scene_status(SceneCanvasState& st) {
  build_scene_draw_list(scene_name(st));
  st.status.clear();
  if (!objects_shown(st)) return;
  for (auto item = g_scene_draw_list.rbegin(); item != g_scene_draw_list.rend(); ++item)
    if (item->object >= 0 && g_objects[item->object].selected == 1) {
      const GameObject& o = g_objects[item->object];
      st.status = "[" + o.template_name + "] x:" + std::to_string(o.x) + " y:" + std::to_string(o.y);
      return;
    }
}

void draw_scene(SceneCanvasState& st, imaging::Image& target, int x, int y, int w, int h) {
  const Scene& s = g_scenes[st.scene];
  imaging::Canvas c(target);
  c.set_clip(x, y, w, h);
  c.set_colour(imaging::rgba(channel(s.back_red), channel(s.back_green), channel(s.back_blue)));
  c.box(0, 0, s.width, s.height);
  const imaging::Image* background = imaging::image_ptr(st.background_picture);
  const long long right = std::min<long long>((long long)x + w, target.width);
  const long long bottom = std::min<long long>((long long)y + h, target.height);
  if (!s.background_name.empty() && background) draw_background(c, s, *background, x, y, right, bottom);

  update_scene_status(st);
  std::unordered_map<std::string, Origin> origins;
  const bool objects = objects_shown(st);
  const bool tiles = g_scene_show_tiles == 1 || st.tab == kSceneTabTiles;
  const bool by_layer = st.tab == kSceneTabTiles && st.tile_action != kScenePlace;
  for (const SceneDrawItem& item : g_scene_draw_list) {
    if (item.object >= 0 && objects) {
      const GameObject& o = g_objects[item.object];
      auto found = origins.find(o.sprite_name);
      if (found == origins.end()) found = origins.emplace(o.sprite_name, sprite_origin(o.sprite_name)).first;
      draw_instance(c, o, found->second);
    }
    if (item.tile >= 0 && tiles) {
      const Tile& t = g_tiles[item.tile];
      c.set_mode(imaging::Mode::Alpha);
      c.draw_image(t.image, t.x, t.y, by_layer && t.depth != st.layer_depth ? 100 : 255);
      if (t.selected == 1) {
        c.set_mode(imaging::Mode::Xor);
        c.set_colour(kSelectionBox);
        c.box(t.x, t.y, t.width, t.height);
      }
    }
  }
  if (g_scene_show_grid == 1) draw_grid(c, s, target.width, target.height);
  draw_placement_preview(st, c, s);
}

void draw_tileset_selection(const SceneCanvasState& st, imaging::Image& target, int x, int y, int w, int h) {
  const imaging::Image* picture = imaging::image_ptr(st.tileset_picture);
  if (st.tile_width < 1 || st.tile_height < 1 || !picture) return;
  imaging::Canvas c(target);
  c.set_clip(x, y, w, h);
  c.draw_image(kCheckerboard, 0, 0);
  c.set_mode(imaging::Mode::Alpha);
  c.draw_image(*picture, 0, 0);
  c.set_mode(imaging::Mode::Xor);
  c.set_colour(kWhite);
  // A closed outline in which no pixel is inverted twice.
  const int l = st.tile_left, t = st.tile_top, r = add_clamped(l, st.tile_width), b = add_clamped(t, st.tile_height);
  c.line(l, t, r - 1, t);
  c.line(l, t + 1, l, b);
  c.line(l + 1, b, r, b);
  c.line(r, t, r, b - 1);
}

int place_instance(const SceneCanvasState& st, int x, int y) {
  GameObject o;
  o.is_prototype = 0;
  o.template_name = st.object_to_place;
  o.name = "SceneObject" + std::to_string(next_resource_uid());
  o.scene_name = scene_name(st);
  o.sprite_name = object_sprite_by_name(o.template_name);
  const int picture = o.sprite_name.empty() ? -1 : sprite_first_frame_image(o.sprite_name);
  o.sprite_image = imaging::image_exists(picture) ? picture : -1;
  o.image_width = o.sprite_image >= 0 ? imaging::image_width(picture) : kNoPictureSide;
  o.image_height = o.sprite_image >= 0 ? imaging::image_height(picture) : kNoPictureSide;
  o.x = x;
  o.y = y;
  o.depth = object_depth_by_name(o.template_name);
  return g_objects.append(std::move(o));
}

int place_tile(const SceneCanvasState& st, int x, int y) {
  Tile t;
  t.background_name = st.tile_image;
  t.depth = st.layer_depth;
  t.source_left = st.tile_left;
  t.source_top = st.tile_top;
  t.width = st.tile_width;
  t.height = st.tile_height;
  t.image = imaging::copy_image(st.tile_picture, imaging::kAnyImage);
  t.name = "tile_" + std::to_string(next_resource_uid());
  t.scene_name = scene_name(st);
  t.x = x;
  t.y = y;
  return g_tiles.append(std::move(t));
}

void scene_canvas_event(SceneCanvasState& st, const tk::Event& e) {
  if (e.subtype == tk::kCanvasMouseEnter) st.inside = true;
  if (e.subtype == tk::kCanvasMouseLeave) st.inside = false;
  if (e.subtype == tk::kCanvasMouseMove) st.pointer_x = e.x, st.pointer_y = e.y;
  const bool pressed = e.subtype == tk::kCanvasLeftButtonDown ||
                       (e.subtype == tk::kCanvasMouseMove && (e.buttons & tk::kLeftButton));
  if (pressed && e.modifiers == tk::kShift) paint(st, e.x, e.y);
  if (e.subtype == tk::kLeftClick) click(st, e.x, e.y, e.modifiers);
  if (e.subtype != tk::kCanvasKeyDown) return;
  if (st.tab == kSceneTabObjects)
    key_on<GameObject>(g_objects, e.key, scene_name(st), instance_of, "objects", delete_objects);
  if (st.tab == kSceneTabTiles) key_on<Tile>(g_tiles, e.key, scene_name(st), tile_of, "tiles", delete_tiles);
}

TileRect tileset_rectangle(TileRect before, const Background* b, int picture_width, int picture_height, int sx,
                           int sy, int cx, int cy, int modifiers, int g) {
  TileRect r = before;
  // A block of whole cells from the cell of the start to the cell of the
  // current point, spaces between them included.
  auto cells = [&](long long ox, long long oy, long long step_x, long long step_y, long long w, long long h) {
    const long long left = ox + step_x * floor_div(sx - ox, step_x);
    const long long top = oy + step_y * floor_div(sy - oy, step_y);
    const long long ex = ox + step_x * floor_div(cx - ox, step_x);
    const long long ey = oy + step_y * floor_div(cy - oy, step_y);
    r.left = clamp_int(left), r.top = clamp_int(top);
    if (left < ex + w && top < ey + h) r.width = clamp_int(ex - left + w), r.height = clamp_int(ey - top + h);
  };
  if (modifiers == tk::kAlt) {
    r.left = sx, r.top = sy;
    if (sx < cx && sy < cy) r.width = cx - sx, r.height = cy - sy;
  } else if (modifiers == tk::kControl) {
    g = std::max(g, 1);
    cells(0, 0, g, g, g, g);
  } else {
    const long long step_x = b ? (long long)b->tile_width + b->tile_space_x : 0;
    const long long step_y = b ? (long long)b->tile_height + b->tile_space_y : 0;
    // Cells without a size or step (a damaged project) cannot be walked:
    // such a background is taken whole, like one that is no tile set.
    if (b && b->use_as_tileset == 1 && b->tile_width > 0 && b->tile_height > 0 && step_x > 0 && step_y > 0)
      cells(b->tile_offset_x, b->tile_offset_y, step_x, step_y, b->tile_width, b->tile_height);
    else
      r = {0, 0, std::max(picture_width, 0), std::max(picture_height, 0)};
  }
  return r;
}

bool tileset_canvas_event(SceneCanvasState& st, const tk::Event& e) {
  if (!(e.buttons & tk::kLeftButton) || st.tile_image.empty()) {
    st.dragging = false;
    return false;
  }
  if (!st.dragging) {
    st.dragging = true;
    st.drag_x = e.x, st.drag_y = e.y;
    load_background_picture(st.tileset_picture, st.tile_image);
  }
  const imaging::Image* picture = imaging::image_ptr(st.tileset_picture);
  const int pw = picture ? picture->width : 0, ph = picture ? picture->height : 0;
  const TileRect before{st.tile_left, st.tile_top, st.tile_width, st.tile_height};
  TileRect r = tileset_rectangle(before, background_named(st.tile_image), pw, ph, st.drag_x, st.drag_y, e.x, e.y,
                                 e.modifiers, g_scene_grid_size);
  // A tile shows no more than its tile set holds; this also keeps damaged
  // tile sizes from asking for a picture of any size.
  r.width = std::clamp(r.width, 1, picture ? pw : 100);
  r.height = std::clamp(r.height, 1, picture ? ph : 100);
  st.tile_action = kScenePlace;
  st.tile_left = r.left, st.tile_top = r.top, st.tile_width = r.width, st.tile_height = r.height;
  imaging::free_image(st.tile_picture);
  st.tile_picture = imaging::create_image(imaging::kAnyImage, r.width, r.height);
  imaging::Canvas c(st.tile_picture);
  if (picture) {
    c.draw_image(kCheckerboard, 0, 0);
    c.set_mode(imaging::Mode::Alpha);
    c.draw_image(*picture, clamp_int(-(long long)r.left), clamp_int(-(long long)r.top));
  } else {
    c.set_colour(imaging::rgba(0, 0, 0));
    c.box(0, 0, 100, 100);
  }
  return true;
}
