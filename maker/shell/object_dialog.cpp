#include "maker/shell/object_dialog.h"

#include <unordered_map>

#include "imaging/image.h"
#include "maker/codewindows/code_windows.h"
#include "maker/common/preview_picture.h"
#include "maker/project/confirm.h"
#include "maker/project/event_types.h"
#include "maker/project/project_file.h"
#include "maker/project/records.h"
#include "maker/shell/main_window.h"
#include "maker/shell/resource_browser.h"
#include "maker/shell/small_windows.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kDoneButton = 65;
constexpr int kEventList = 66;
constexpr int kCodePreview = 68;
constexpr int kEventMenu = 69;
constexpr int kEditItem = 70, kDeleteItem = 71;
constexpr int kNoSpritePicture = 127;
constexpr int kPlaceholderIcon = 162;
constexpr int W = 800, H = 600;


// The image of the sprite's first frame, -1 when it has none. No sprite is
// named "", so frames without an owner never stand for one.
int first_frame_image(const std::string& sprite) {
  return sprite.empty() ? -1 : sprite_first_frame_image(sprite);
}

int object_index(const std::string& name) {
  for (int i = 0; i < g_objects.count(); ++i)
    if (g_objects[i].name == name) return i;
  return -1;
}

class ObjectDialog {
 public:
  ObjectDialog(int index, const std::string& name) : index_(index), name_(name) {}

  void run() {
    const GameObject& o = g_objects[index_];
    tk::disable_window(kMainWindow, true);
    tk::open_window(kDialogWindow, 0, 0, W, H, "Object properties - " + o.name, tk::kWindowCentred);
    tk::button(kDoneButton, W - 75, H - 35, 65, 25, "Done");
    remove_ = tk::button(tk::kAny, 10, H - 35, 65, 25, "Delete");
    name_input_ = tk::input(tk::kAny, 10, 10, 100, 25, o.name);
    sprite_list_ = tk::drop_down(tk::kAny, 10, 155, 100, 25, tk::kDropDownImages);
    add_sprite_items();
    tk::set_text(sprite_list_, o.sprite_name);
    size_label_ = tk::label(tk::kAny, 10, 190, 100, 25, "");
    preview_ = tk::image_view(tk::kAny, 10, 45, 100, 100, -1, tk::kImageViewSunken);
    show_sprite(o.sprite_name);
    visible_ = tk::check_box(tk::kAny, 10, 215, 100, 25, "Visible");
    tk::set_state(visible_, o.visible == 1);
    tk::label(tk::kAny, 10, 255, 55, 25, "Depth");
    depth_input_ = tk::input(tk::kAny, 60, 250, 50, 25, std::to_string(o.depth));
    collision_ = tk::check_box(tk::kAny, 10, 280, 100, 25, "Collision checking");
    tk::set_state(collision_, o.collision == 1);
    tk::label(tk::kAny, 10, 315, 100, 25, "Parent");
    parent_list_ = tk::drop_down(tk::kAny, 10, 340, 100, 25, tk::kDropDownImages);
    add_parent_items();
    tk::set_text(parent_list_, o.parent_name);
    add_event_ = tk::button(tk::kAny, 120, 10, 95, 25, "Add event >>> ");
    event_type_ = tk::drop_down(tk::kAny, 220, 10, 100, 25, tk::kDropDownImages);
    for (const ScriptEventType& t : kScriptEventTypes) tk::add_item(event_type_, -1, t.name, t.icon);
    tk::set_state(event_type_, 0);
    tk::list_view(kEventList, 120, 45, 200, H - 90, "Event", 90);
    tk::add_column(kEventList, -1, "Parameter", 80);
    tk::label(tk::kAny, 480, 15, 200, 25, "Code preview of selected event");
    tk::text_area(kCodePreview, 330, 45, 460, H - 90, tk::kTextReadOnly);
    tk::set_font(kCodePreview, kFontCode);
    tk::set_colour(kCodePreview, tk::ColourRole::Back, rgb(238, 238, 238));
    fill_object_event_list();

    // Only widget and menu events count: there is no cancel, and late ticks
    // of the event-code window's help timer are dropped.
    for (done_ = false; !done_;) {
      tk::Event e = tk::wait_event();
      if (e.type == tk::kEventMenu) on_menu_item(e.object);
      if (e.type == tk::kEventWidget) on_widget(e);
    }
    tk::disable_window(kMainWindow, false);
    tk::close_window(kDialogWindow);
  }

 private:
  const std::string& stored_name() const { return g_objects[index_].name; }

  void add_sprite_items() {
    // The first frame of every sprite in one pass over the frames.
    std::unordered_map<std::string, int> first_frame;
    for (const Frame& f : g_frames) first_frame.emplace(f.sprite_name, f.image);
    tk::add_item(sprite_list_, -1, "");
    for (const Sprite& s : g_sprites) {
      auto found = first_frame.find(s.name);
      const int image = found == first_frame.end() ? -1 : found->second;
      tk::add_item(sprite_list_, -1, s.name, imaging::image_exists(image) ? image : kPlaceholderIcon);
    }
  }

  void add_parent_items() {
    tk::add_item(parent_list_, -1, "");
    for (int i = 0; i < g_objects.count(); ++i) {
      const GameObject& o = g_objects[i];
      if (o.is_prototype != 1 || i == index_) continue;
      tk::add_item(parent_list_, -1, o.name,
                   imaging::image_exists(o.sprite_image) ? o.sprite_image : kPlaceholderIcon);
    }
  }

  void show_sprite(const std::string& sprite) {
    int source = first_frame_image(sprite);
    if (imaging::image_exists(source)) {
      tk::set_text(size_label_, "Size: " + std::to_string(imaging::image_width(source)) + " x " +
                                    std::to_string(imaging::image_height(source)) + " px");
    } else {
      source = kNoSpritePicture;
      tk::set_text(size_label_, "Size: <no sprite>");
    }
    set_preview_thumbnail(preview_, source);
  }

  void fill_object_event_list() {
    tk::clear_items(kEventList);
    const std::string& owner = stored_name();
    for (const ScriptEventType& t : kScriptEventTypes) {
      for (int i = 0; i < g_scripts.count(); ++i) {
        const Script& s = g_scripts[i];
        if (s.owner_object != owner || s.event_type != t.name) continue;
        const int row = tk::add_item(kEventList, -1, s.event_type + "\n" + s.parameter, t.icon);
        tk::set_item_data(kEventList, row, i);
      }
    }
  }

  // The script of the selected row, -1 when no row is selected.
  int selected_script() const {
    const int row = tk::state(kEventList);
    if (row < 0) return -1;
    const int script = tk::item_data(kEventList, row);
    return script >= 0 && script < g_scripts.count() ? script : -1;
  }

  void show_selected_event_code() {
    const int script = selected_script();
    tk::set_text(kCodePreview, script < 0 ? "" : g_scripts[script].code);
  }

  void edit_script(int script) {
    open_event_code_editor(script);
    // The code window leaves its help timer on this window; nothing here
    // needs its ticks.
    tk::remove_timer(kDialogWindow, kHelpLineTimer);
    fill_object_event_list();
    show_selected_event_code();
  }

  void on_menu_item(int item) {
    const int script = selected_script();
    if (script < 0) return;
    if (item == kEditItem) {
      edit_script(script);
    } else if (item == kDeleteItem && confirm_yes_no("Confirm", "Delete this event?")) {
      g_scripts.erase(script);
      fill_object_event_list();
      show_selected_event_code();
    }
  }

  void on_widget(const tk::Event& e) {
    if (e.object == sprite_list_ && e.subtype == tk::kChange) {
      show_sprite(tk::text(sprite_list_));
    } else if (e.object == add_event_) {
      edit_script(add_event_script(stored_name(), tk::text(event_type_), ""));
    } else if (e.object == kEventList) {
      if (e.subtype == tk::kLeftClick) show_selected_event_code();
      if (e.subtype == tk::kLeftDoubleClick && selected_script() >= 0) edit_script(selected_script());
      if (e.subtype == tk::kRightClick && selected_script() >= 0)
        tk::show_popup_menu(kEventMenu, kDialogWindow);
    } else if (e.object == remove_) {
      if (confirm_yes_no("Confirm", "Do you really want to delete this object?")) {
        delete_object(name_);
        done_ = true;
      }
    } else if (e.object == kDoneButton) {
      done_ = store();
    }
  }

  // Whether `parent` is the object or descends from it, once the object is
  // called `new_name`: children named under the old name are renamed with it.
  // Bounded, as a damaged project may hold a cycle of other objects.
  bool descends_from_object(std::string parent, const std::string& new_name) const {
    for (int steps = 0; !parent.empty() && steps <= g_objects.count(); ++steps) {
      if (parent == new_name || parent == stored_name()) return true;
      const int i = object_index(parent);
      if (i < 0) return false;
      parent = g_objects[i].parent_name;
    }
    return false;
  }

  bool store() {
    set_project_modified(1);
    const std::string typed = tk::text(name_input_);
    const std::string parent = tk::text(parent_list_);
    int errors = 0;
    if (typed.empty()) {
      show_error("The object name is missing");
      ++errors;
    } else {
      if (!object_name_is_free(typed, index_)) {
        show_error("The object name '" + typed + "' already exists");
        ++errors;
      }
      // A parent cycle would make the object inherit from itself.
      if (descends_from_object(parent, typed)) {
        show_error("The parent '" + parent + "' descends from this object");
        ++errors;
      }
    }
    if (errors) return false;

    const std::string old = stored_name();
    const int depth = parse_typed_integer(tk::text(depth_input_));
    for (Script& s : g_scripts)
      if (s.owner_object == old) s.owner_object = typed;
    for (GameObject& o : g_objects)
      if (o.template_name == old) o.template_name = typed;
    for (GameObject& o : g_objects)
      if (o.parent_name == old) o.parent_name = typed;
    for (GameObject& o : g_objects)
      if (o.template_name == typed) o.depth = depth;
    for (Script& s : g_scripts)
      if (s.parameter == old) s.parameter = typed;

    GameObject& me = g_objects[index_];
    me.name = typed;
    me.sprite_name = tk::text(sprite_list_);
    me.visible = tk::state(visible_) ? 1 : 0;
    me.depth = depth;
    me.collision = tk::state(collision_) ? 1 : 0;
    me.parent_name = parent;
    me.sprite_image = first_frame_image(me.sprite_name);
    if (imaging::image_exists(me.sprite_image)) {
      me.image_width = imaging::image_width(me.sprite_image);
      me.image_height = imaging::image_height(me.sprite_image);
    }
    for (GameObject& o : g_objects) {
      if (o.template_name != typed) continue;
      o.sprite_name = me.sprite_name;
      o.sprite_image = me.sprite_image;
      o.image_width = me.image_width;
      o.image_height = me.image_height;
    }
    return true;
  }

  const int index_;
  const std::string name_;
  bool done_ = false;
  int remove_ = -1, name_input_ = -1, sprite_list_ = -1, size_label_ = -1, preview_ = -1;
  int visible_ = -1, depth_input_ = -1, collision_ = -1, parent_list_ = -1;
  int add_event_ = -1, event_type_ = -1;
};

}  // namespace

void object_properties_dialog(const std::string& opened_name) {
  // A copy: the caller's text may live in a list this dialog changes.
  const std::string name = opened_name;
  const int index = object_index(name);
  if (index >= 0) ObjectDialog(index, name).run();
  rebuild_resource_panel();
}
