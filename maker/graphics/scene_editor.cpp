#include "maker/graphics/scene_editor.h"

#include <unordered_map>
#include <vector>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/codewindows/code_windows.h"
#include "maker/common/browser_refresh.h"
#include "maker/common/preview_picture.h"
#include "maker/common/window_numbers.h"
#include "maker/graphics/scene_canvas.h"
#include "maker/project/confirm.h"
#include "maker/project/owned_images.h"
#include "maker/project/project_file.h"
#include "maker/project/records.h"
#include "toolkit/files.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kDoneButton = 65;
constexpr int kRedrawTimer = 888;
constexpr int W = 1024, H = 668;
constexpr int kThumbnailCard = 91;
constexpr int kEmptyPreview = 134;
constexpr int kNewPicture = 142, kShiftPicture = 143, kGridPicture = 154, kSnapPicture = 155;
constexpr int kPlaceholder = 162;
constexpr int kActionPictures[] = {163, 164, 165};
constexpr int kNewX = 320, kShiftX = 355, kOutOfSight = -5000;

int number(int field) { return parse_typed_integer(tk::text(field)); }

// A small dialog on top of the editor with "OK" and "Cancel"; the editor is
// disabled while it is open and active again after it.
class SmallDialog {
 public:
  SmallDialog(const std::string& title, int w, int h) {
    window_ = tk::open_window(tk::kAny, 0, 0, w, h, title, tk::kWindowCentred);
    tk::keep_window_above(window_, true);
    tk::disable_window(kDialogWindow, true);
    ok_ = tk::button(tk::kAny, w - 74, h - 35, 64, 25, "OK");
    cancel_ = tk::button(tk::kAny, 10, h - 35, 64, 25, "Cancel");
  }
  ~SmallDialog() {
    tk::close_window(window_);
    tk::disable_window(kDialogWindow, false);
    tk::activate_window(kMainWindow);
    tk::activate_window(kDialogWindow);
  }
  SmallDialog(const SmallDialog&) = delete;
  SmallDialog& operator=(const SmallDialog&) = delete;

  // Waits for one of the two buttons: true for "OK".
  bool ok_pressed() {
    for (;;) {
      tk::Event e = tk::wait_event();
      if (e.type != tk::kEventWidget) continue;
      if (e.object == ok_) return true;
      if (e.object == cancel_) return false;
    }
  }

 private:
  int window_ = -1, ok_ = -1, cancel_ = -1;
};

void add_action_items(int combo, const char* const (&texts)[3]) {
  for (int k = 0; k < 3; ++k) tk::add_item(combo, -1, texts[k], kActionPictures[k]);
  tk::set_state(combo, 0);
}

class SceneEditor {
 public:
  explicit SceneEditor(int index) { st_.scene = index; }
  ~SceneEditor() {
    tk::set_canvas_painter(scene_canvas_, nullptr);
    tk::set_canvas_painter(tileset_canvas_, nullptr);
    free_scene_canvas_pictures(st_);
  }
  SceneEditor(const SceneEditor&) = delete;
  SceneEditor& operator=(const SceneEditor&) = delete;

  void run() {
    build_scene_draw_list(scene().name);
    load_background_picture(st_.background_picture, scene().background_name);
    tk::disable_window(kMainWindow, true);
    tk::open_window(kDialogWindow, 0, 0, W, H, "Scene properties - " + scene().name,
                    tk::kWindowCentred | tk::kWindowResizable);
    build();
    resize_scene_canvas(scene_canvas_, scene_area_, width_, height_);
    tk::add_timer(kDialogWindow, kRedrawTimer, 33);

    for (bool done = false; !done;) {
      tk::Event e = tk::wait_event();
      if (e.window != kDialogWindow) continue;
      // Whatever the canvases show changes only through the editor's own
      // events (and the windows they open).
      if (e.type != tk::kEventTimer) changed_ = true;
      if (e.type == tk::kEventTimer) on_timer();
      if (e.type == tk::kEventSizeWindow) on_resize();
      if (e.type == tk::kEventWidget) done = on_widget(e);
    }
    close();
  }

 private:
  Scene& scene() { return g_scenes[st_.scene]; }

  void build() {
    const Scene& s = scene();
    tk::button(kDoneButton, 10, 10, 100, 25, "Done");
    name_ = tk::input(tk::kAny, 120, 10, 100, 25, s.name);
    panel_ = tk::panel(tk::kAny, 10, 40, 300, 500);
    build_settings_tab();
    build_objects_tab();
    build_background_tab();
    build_tiles_tab();
    tk::close_container();

    new_ = tk::image_button(tk::kAny, kNewX, 10, 24, 24, kNewPicture);
    tk::set_tooltip(new_, "New");
    shift_ = tk::image_button(tk::kAny, kShiftX, 10, 24, 24, kShiftPicture);
    tk::set_tooltip(shift_, "Shift objects");
    grid_ = toggle(390, kGridPicture, "Toggle show / hide the grid", g_scene_show_grid);
    snap_ = toggle(425, kSnapPicture, "Toggle snap / don't snap objects to grid", g_scene_snap);
    tk::label(tk::kAny, 460, 15, 40, 25, "Size");
    grid_size_ = tk::input(tk::kAny, 490, 10, 40, 25, std::to_string(g_scene_grid_size));
    show_objects_ = tk::check_box(tk::kAny, 540, 10, 80, 25, "Show objects");
    tk::set_state(show_objects_, g_scene_show_objects == 1);
    show_tiles_ = tk::check_box(tk::kAny, 630, 10, 80, 25, "Show tiles");
    tk::set_state(show_tiles_, g_scene_show_tiles == 1);
    status_ = tk::label(tk::kAny, 750, 15, 200, 25, "");
    scene_area_ = tk::scroll_area(tk::kAny, 320, 45, W - 330, 540, 1024, 768, 20);
    scene_canvas_ = tk::canvas(tk::kAny, 0, 0, s.width, s.height);
    tk::set_canvas_painter(scene_canvas_, [this](imaging::Image& image, int x, int y, int w, int h) {
      draw_scene(st_, image, x, y, w, h);
    });
    tk::close_container();
  }

  int toggle(int x, int picture, const char* tip, int state) {
    int button = tk::image_button(tk::kAny, x, 10, 24, 24, picture, tk::kImageButtonToggle);
    tk::set_tooltip(button, tip);
    tk::set_state(button, state == 1);
    return button;
  }

  int field(int x, int y, int value) { return tk::input(tk::kAny, x, y, 45, 25, std::to_string(value)); }

  void build_settings_tab() {
    const Scene& s = scene();
    tk::add_tab(panel_, "Settings");
    tk::label(tk::kAny, 10, 15, 100, 25, "Scene size (W/H)");
    width_ = field(10, 40, s.width);
    height_ = field(85, 40, s.height);
    tk::label(tk::kAny, 10, 75, 100, 25, "Viewport size (W/H)");
    view_width_ = field(10, 100, s.view_width);
    view_height_ = field(85, 100, s.view_height);
    tk::label(tk::kAny, 10, 135, 100, 25, "Object to follow");
    follow_ = tk::drop_down(tk::kAny, 10, 160, 120, 25, tk::kDropDownImages);
    tk::add_item(follow_, -1, "");
    add_object_items(follow_);
    tk::set_text(follow_, s.follow_object);
    tk::label(tk::kAny, 10, 195, 100, 25, "Follow margin (X/Y)");
    border_x_ = field(10, 220, s.follow_border_x);
    border_y_ = field(85, 220, s.follow_border_y);
    tk::label(tk::kAny, 10, 260, 40, 25, "Speed");
    speed_ = field(85, 255, s.speed);
    code_ = tk::button(tk::kAny, 10, 285, 120, 25, "Scene code...");
  }

  void build_objects_tab() {
    tk::add_tab(panel_, "Objects");
    tk::label(tk::kAny, 10, 15, 100, 25, "Action");
    object_action_ = tk::drop_down(tk::kAny, 10, 35, 120, 25, tk::kDropDownImages);
    add_action_items(object_action_, {"Place objects", "Select objects", "Remove objects"});
    tk::label(tk::kAny, 150, 15, 80, 25, "Object to place");
    object_ = tk::drop_down(tk::kAny, 150, 35, 130, 25, tk::kDropDownImages);
    add_object_items(object_);
    tk::set_state(object_, 0);
    object_preview_ = tk::image_view(tk::kAny, 150, 70, 100, 100, kEmptyPreview);
    show_object_preview();
  }

  void build_background_tab() {
    const Scene& s = scene();
    tk::add_tab(panel_, "Background");
    tk::label(tk::kAny, 10, 15, 100, 25, "Background color");
    swatch_ = tk::input(tk::kAny, 10, 40, 65, 25, "", tk::kInputReadOnly);
    paint_swatch();
    colour_ = tk::button(tk::kAny, 80, 40, 30, 25, "...");
    tk::label(tk::kAny, 10, 75, 100, 25, "Background image");
    background_ = tk::drop_down(tk::kAny, 10, 100, 100, 25);
    tk::add_item(background_, -1, "");
    for (const Background& b : g_backgrounds) tk::add_item(background_, -1, b.name);
    tk::set_text(background_, s.background_name);
    tile_horizontal_ = flag_box(130, "Tile horizontally", s.tile_horizontal);
    tile_vertical_ = flag_box(160, "Tile vertically", s.tile_vertical);
    stretch_ = flag_box(190, "Stretch", s.stretch);
  }

  int flag_box(int y, const char* text, int value) {
    int box = tk::check_box(tk::kAny, 10, y, 100, 25, text);
    tk::set_state(box, value == 1);
    return box;
  }

  void build_tiles_tab() {
    tk::add_tab(panel_, "Tiles");
    tk::label(tk::kAny, 10, 15, 100, 25, "Tile image");
    tile_image_ = tk::drop_down(tk::kAny, 10, 40, 100, 25);
    for (const Background& b : g_backgrounds) tk::add_item(tile_image_, -1, b.name);
    tk::set_state(tile_image_, 0);
    tk::label(tk::kAny, 130, 15, 100, 25, "Action");
    tile_action_ = tk::drop_down(tk::kAny, 130, 40, 100, 25, tk::kDropDownImages);
    add_action_items(tile_action_, {"Place tiles", "Select tiles", "Remove tiles"});
    tileset_area_ = tk::scroll_area(tk::kAny, 10, 80, 270, 360, 640, 480, 16);
    tileset_canvas_ = tk::canvas(tk::kAny, 0, 0, 640, 480);
    tk::set_canvas_painter(tileset_canvas_, [this](imaging::Image& image, int x, int y, int w, int h) {
      draw_tileset_selection(st_, image, x, y, w, h);
    });
    tk::close_container();
    load_tileset_canvas(tileset_canvas_, tileset_area_, tk::text(tile_image_));
    load_background_picture(st_.tileset_picture, tk::text(tile_image_));
    tk::label(tk::kAny, 10, 455, 100, 25, "Layer");
    layer_ = tk::drop_down(tk::kAny, 10, 480, 100, 25);
    fill_layer_combo(scene().name, layer_);
    add_layer_ = tk::button(tk::kAny, 10, 510, 40, 25, "Add");
    delete_layer_ = tk::button(tk::kAny, 55, 510, 55, 25, "Delete");
    change_layer_ = tk::button(tk::kAny, 10, 540, 100, 25, "Change...");
    tk::label(tk::kAny, 130, 455, 120, 25, "Selected tile");
    tile_preview_ = tk::image_view(tk::kAny, 130, 480, 100, 100, kEmptyPreview);
  }

  // Every object definition, with its sprite's first frame as icon.
  void add_object_items(int combo) {
    std::unordered_map<std::string, int> first_frame;
    for (const Frame& f : g_frames) first_frame.emplace(f.sprite_name, f.image);
    for (const GameObject& o : g_objects) {
      if (o.is_prototype != 1) continue;
      auto found = o.sprite_name.empty() ? first_frame.end() : first_frame.find(o.sprite_name);
      const int icon = found == first_frame.end() ? -1 : found->second;
      tk::add_item(combo, -1, o.name, imaging::image_exists(icon) ? icon : kPlaceholder);
    }
  }

  void show_object_preview() {
    const std::string sprite = object_sprite_by_name(tk::text(object_));
    const int picture = sprite.empty() ? -1 : sprite_first_frame_image(sprite);
    if (imaging::image_exists(picture))
      set_preview_thumbnail(object_preview_, picture);
    else
      tk::set_image(object_preview_, kEmptyPreview);
  }

  void paint_swatch() {
    const Scene& s = scene();
    tk::set_colour(swatch_, tk::ColourRole::Back, rgb(s.back_red, s.back_green, s.back_blue));
  }

  // What the canvas rules read from the widgets.
  void sync_state() {
    st_.tab = tk::state(panel_);
    st_.object_action = tk::state(object_action_);
    st_.tile_action = tk::state(tile_action_);
    st_.object_to_place = tk::text(object_);
    st_.tile_image = tk::text(tile_image_);
    st_.layer_depth = number(layer_);
  }

  void on_timer() {
    const int tab = tk::state(panel_);
    const bool shown = tab == kSceneTabObjects || tab == kSceneTabTiles;
    tk::resize_widget(new_, shown ? kNewX : kOutOfSight, tk::kKeep, tk::kKeep, tk::kKeep);
    tk::resize_widget(shift_, shown ? kShiftX : kOutOfSight, tk::kKeep, tk::kKeep, tk::kKeep);
    redraw();
  }

  // Only after a change; the canvases then paint the parts in sight.
  void redraw() {
    if (!changed_) return;
    changed_ = false;
    sync_state();
    update_scene_status(st_);
    tk::set_text(status_, st_.status);
    tk::invalidate_canvas(scene_canvas_);
    tk::invalidate_canvas(tileset_canvas_);
  }

  void on_resize() {
    const int w = tk::window_width(kDialogWindow), h = tk::window_height(kDialogWindow);
    tk::resize_widget(panel_, tk::kKeep, tk::kKeep, tk::kKeep, h - 50);
    tk::resize_widget(scene_area_, tk::kKeep, tk::kKeep, w - 330, h - 55);
  }

  // Returns true when the editor may close.
  bool on_widget(const tk::Event& e) {
    Scene& s = scene();
    const int w = e.object;
    if (w == tile_horizontal_) s.tile_horizontal = tk::state(w);
    if (w == tile_vertical_) s.tile_vertical = tk::state(w);
    if (w == stretch_) s.stretch = tk::state(w);
    if (w == show_objects_) g_scene_show_objects = tk::state(w);
    if (w == show_tiles_) g_scene_show_tiles = tk::state(w);
    if (w == grid_) g_scene_show_grid = tk::state(w);
    if (w == snap_) g_scene_snap = tk::state(w);
    if (w == grid_size_ && e.subtype == tk::kChange && number(w) >= 5) g_scene_grid_size = number(w);
    if (w == background_ && e.subtype == tk::kChange) {
      s.background_name = tk::text(w);
      load_background_picture(st_.background_picture, s.background_name);
    }
    if (w == colour_) choose_colour();
    if (w == code_) open_scene_code_editor(st_.scene);
    if ((w == width_ || w == height_) && (e.subtype == tk::kLostFocus || e.subtype == tk::kChange)) {
      resize_scene_canvas(scene_canvas_, scene_area_, width_, height_);
      s.width = number(width_);
      s.height = number(height_);
    }
    if (w == object_ && e.subtype == tk::kChange) {
      show_object_preview();
      tk::set_state(object_action_, kScenePlace);
    }
    if (w == tile_image_ && e.subtype == tk::kChange) choose_tile_image();
    if (w == scene_canvas_) {
      sync_state();
      scene_canvas_event(st_, e);
    }
    if (w == tileset_canvas_) pick_tile(e);
    if (w == add_layer_) add_layer();
    if (w == delete_layer_) remove_layer();
    if (w == change_layer_) change_layer();
    if (w == new_) clear_scene();
    if (w == shift_) shift_scene();
    return w == kDoneButton && done();
  }

  void choose_colour() {
    Scene& s = scene();
    const int chosen = tk::choose_colour(rgb(s.back_red, s.back_green, s.back_blue));
    if (chosen >= 0) {
      s.back_red = chosen & 0xff;
      s.back_green = chosen >> 8 & 0xff;
      s.back_blue = chosen >> 16 & 0xff;
    }
    paint_swatch();
  }

  void choose_tile_image() {
    const std::string name = tk::text(tile_image_);
    load_tileset_canvas(tileset_canvas_, tileset_area_, name);
    imaging::free_image(st_.tile_picture);
    st_.tile_picture = -1;
    st_.tile_left = st_.tile_top = st_.tile_width = st_.tile_height = 0;
    load_background_picture(st_.tileset_picture, name);
  }

  void pick_tile(const tk::Event& e) {
    sync_state();
    if (!tileset_canvas_event(st_, e)) return;
    tk::set_state(tile_action_, kScenePlace);
    const imaging::Image* tile = imaging::image_ptr(st_.tile_picture);
    if (!tile) return;
    int shown = imaging::adopt_image(imaging::kAnyImage, imaging::scaled(*tile, 100, 100, imaging::Filter::Nearest));
    tk::set_image(tile_preview_, shown);
    imaging::free_image(shown);
  }

  // ---- layers ----
  int current_layer() {
    const int depth = number(layer_);
    for (int i = 0; i < g_layers.count(); ++i)
      if (g_layers[i].scene_name == scene().name && g_layers[i].depth == depth) return i;
    return -1;
  }

  int layers_with_depth(int depth, int* last = nullptr) {
    int n = 0;
    for (int i = 0; i < g_layers.count(); ++i)
      if (g_layers[i].scene_name == scene().name && g_layers[i].depth == depth) {
        ++n;
        if (last) *last = i;
      }
    return n;
  }

  // The depth dialog of "Add" and "Change..."; returns the text left in its field.
  template <class Accept>
  std::string depth_dialog(const std::string& title, Accept accept) {
    std::string typed;
    {
      SmallDialog dialog(title, 230, 100);
      tk::label(tk::kAny, 10, 15, 100, 25, "Depth");
      const int field = tk::input(tk::kAny, 120, 10, 100, 25, tk::text(layer_));
      while (dialog.ok_pressed() && !accept(number(field))) {
      }
      typed = tk::text(field);
    }
    return typed;
  }

  void refill_layers(const std::string& wanted) {
    fill_layer_combo(scene().name, layer_);
    // A depth typed with blanks or a sign still finds its layer.
    for (const std::string& text : {wanted, std::to_string(parse_typed_integer(wanted))})
      for (int i = 0; i < tk::item_count(layer_); ++i)
        if (tk::item_text(layer_, i) == text) return tk::set_state(layer_, i);
  }

  void add_layer() {
    const std::string typed = depth_dialog("Add a new tile layer", [&](int depth) {
      if (layers_with_depth(depth) > 0) {
        show_error("Depth already exists");
        return false;
      }
      g_layers.append({"layer_" + std::to_string(next_resource_uid()), depth, scene().name});
      return true;
    });
    refill_layers(typed);
  }

  void remove_layer() {
    if (!confirm_yes_no("Confirm", "Delete this layer and all tiles on this layer?")) return;
    const int depth = number(layer_);
    if (const int layer = current_layer(); layer >= 0) delete_layer(std::string(g_layers[layer].name));
    std::vector<std::string> names;
    for (const Tile& t : g_tiles)
      if (t.scene_name == scene().name && t.depth == depth) names.push_back(t.name);
    for (const std::string& n : names) delete_tile(n);
    if (scene_layer_count() == 0) new_layer(scene().name);
    fill_layer_combo(scene().name, layer_);
  }

  int scene_layer_count() {
    int n = 0;
    for (const Layer& l : g_layers) n += l.scene_name == scene().name;
    return n;
  }

  void change_layer() {
    const int layer = current_layer();
    if (layer < 0) return;
    const std::string name = g_layers[layer].name;
    const int old_depth = g_layers[layer].depth;
    const std::string typed = depth_dialog("Change the depth of a tile layer", [&](int depth) {
      for (Layer& l : g_layers)
        if (l.name == name) l.depth = depth;
      for (Tile& t : g_tiles)
        if (t.scene_name == scene().name && t.depth == old_depth) t.depth = depth;
      int last = -1;
      if (layers_with_depth(depth, &last) >= 2) delete_layer(std::string(g_layers[last].name));
      return true;
    });
    refill_layers(typed);
  }

  // ---- toolbar ----
  void clear_scene() {
    const int tab = tk::state(panel_);
    std::vector<std::string> names;
    if (tab == kSceneTabObjects && confirm_yes_no("Confirm", "Delete all objects in this scene?")) {
      for (const GameObject& o : g_objects)
        if (o.is_prototype == 0 && o.scene_name == scene().name) names.push_back(o.name);
      for (const std::string& n : names) delete_object(n);
    }
    if (tab == kSceneTabTiles && confirm_yes_no("Confirm", "Delete all tiles in this scene?")) {
      for (const Tile& t : g_tiles)
        if (t.scene_name == scene().name) names.push_back(t.name);
      for (const std::string& n : names) delete_tile(n);
    }
  }

  void shift_scene() {
    const int tab = tk::state(panel_);
    if (tab != kSceneTabObjects && tab != kSceneTabTiles) return;
    const bool tiles = tab == kSceneTabTiles;
    const int layer_depth = number(layer_);
    SmallDialog dialog(tiles ? "Shift tiles" : "Shift objects", 200, 160);
    tk::label(tk::kAny, 10, 15, 80, 25, "Horizontal");
    const int dx = tk::input(tk::kAny, 100, 10, 90, 25, std::to_string(g_scene_grid_size));
    tk::label(tk::kAny, 10, 45, 80, 25, "Vertical");
    const int dy = tk::input(tk::kAny, 100, 40, 90, 25, std::to_string(g_scene_grid_size));
    const int all_layers = tiles ? tk::check_box(tk::kAny, 10, 75, 100, 25, "In all layer") : -1;
    if (!dialog.ok_pressed()) return;
    const int h = number(dx), v = number(dy);
    auto shift = [&](auto& r) {
      r.x = add_clamped(r.x, h);
      r.y = add_clamped(r.y, v);
    };
    if (!tiles)
      for (GameObject& o : g_objects)
        if (o.is_prototype == 0 && o.scene_name == scene().name) shift(o);
    if (tiles)
      for (Tile& t : g_tiles)
        if (t.scene_name == scene().name && (tk::state(all_layers) == 1 || t.depth == layer_depth)) shift(t);
  }

  // ---- Done ----
  bool done() {
    set_project_modified(1);
    int errors = 0;
    const std::string typed = tk::text(name_);
    if (typed.empty()) {
      show_error("The scene name is missing");
      ++errors;
    } else if (!scene_name_is_free(typed, st_.scene)) {
      show_error("The scene name '" + typed + "' already exists");
      ++errors;
    } else {
      rename(typed);
    }
    if (tk::text(speed_).empty() || number(speed_) <= 1) {
      show_error("Invalid scene speed value");
      ++errors;
    } else {
      scene().speed = number(speed_);
    }
    if (errors != 0) return false;
    Scene& s = scene();
    s.width = number(width_);
    s.height = number(height_);
    s.view_width = number(view_width_);
    s.view_height = number(view_height_);
    s.background_name = tk::text(background_);
    s.follow_object = tk::text(follow_);
    s.follow_border_x = number(border_x_);
    s.follow_border_y = number(border_y_);
    save_pictures();
    return true;
  }

  void rename(const std::string& name) {
    const std::string old = scene().name;
    for (GameObject& o : g_objects)
      if (o.scene_name == old) o.scene_name = name;
    for (Layer& l : g_layers)
      if (l.scene_name == old) l.scene_name = name;
    for (Tile& t : g_tiles)
      if (t.scene_name == old) t.scene_name = name;
    scene().name = name;
  }

  // The canvas as last drawn, into the project picture and the thumbnail.
  // The fitted size comes from the scene's size; a size below 1 draws nothing.
  void save_pictures() {
    Scene& s = scene();
    const imaging::Image* shown = tk::canvas_image(scene_canvas_);
    if (!shown) return;
    if (!g_project_name.empty()) {
      imaging::Image picture(240, 240);
      imaging::Canvas c(picture);
      c.set_colour(imaging::rgba(0, 0, 0));
      c.box(0, 0, 240, 240);
      auto [w, h] = imaging::fit_size(s.width, s.height, 240);
      c.set_mode(imaging::Mode::Alpha);
      c.draw_image_scaled(*shown, 0, 0, w, h, imaging::Filter::Bilinear);
      if (const auto png = imaging::encode_png(picture))
        tk::replace_file("Projects/" + g_project_name + ".png", png->data(), png->size(), false);
    }
    imaging::Image thumbnail(150, 100);
    imaging::Canvas c(thumbnail);
    c.draw_image(kThumbnailCard, 0, 0);
    auto [w, h] = imaging::fit_size(s.width, s.height, 80);
    c.set_mode(imaging::Mode::Alpha);
    c.draw_image_scaled(*shown, 35, 10, w, h, imaging::Filter::Bilinear);
    free_owned_image(s.thumbnail_image);
    s.thumbnail_image = imaging::adopt_image(imaging::kAnyImage, std::move(thumbnail));
  }

  void close() {
    for (GameObject& o : g_objects) o.selected = 0;
    for (Tile& t : g_tiles) t.selected = 0;
    free_scene_canvas_pictures(st_);
    tk::disable_window(kMainWindow, false);
    tk::close_window(kDialogWindow);
    refresh_resource_browser();
  }

  SceneCanvasState st_;
  bool changed_ = true;
  int name_ = -1, panel_ = -1;
  int width_ = -1, height_ = -1, view_width_ = -1, view_height_ = -1, follow_ = -1;
  int border_x_ = -1, border_y_ = -1, speed_ = -1, code_ = -1;
  int object_action_ = -1, object_ = -1, object_preview_ = -1;
  int swatch_ = -1, colour_ = -1, background_ = -1, tile_horizontal_ = -1, tile_vertical_ = -1, stretch_ = -1;
  int tile_image_ = -1, tile_action_ = -1, tileset_area_ = -1, tileset_canvas_ = -1;
  int layer_ = -1, add_layer_ = -1, delete_layer_ = -1, change_layer_ = -1, tile_preview_ = -1;
  int new_ = -1, shift_ = -1, grid_ = -1, snap_ = -1, grid_size_ = -1, show_objects_ = -1, show_tiles_ = -1;
  int status_ = -1, scene_area_ = -1, scene_canvas_ = -1;
};

}  // namespace

int scene_name_is_free(const std::string& name, int own_index) { return name_is_free(g_scenes, name, own_index); }

void fill_layer_combo(const std::string& scene_name, int combo) {
  tk::clear_items(combo);
  for (const Layer& l : g_layers)
    if (l.scene_name == scene_name) tk::add_item(combo, -1, std::to_string(l.depth));
  tk::set_state(combo, 0);
}

void edit_scene(const std::string& opened_name) {
  // A copy: the caller's text may live in a list the editor changes.
  const std::string name = opened_name;
  int index = -1;
  for (int i = 0; i < g_scenes.count() && index < 0; ++i)
    if (g_scenes[i].name == name) index = i;
  if (index < 0) {
    refresh_resource_browser();
    return;
  }
  SceneEditor(index).run();
}
