// The object properties dialog driven while its own loop runs: what "Done"
// writes and renames, the names and parents it refuses, the event list with
// the event-code window, popup menu 69 and "Delete".
#include "codeeditor/code_editor.h"
#include "imaging/draw.h"
#include "maker/codewindows/code_windows.h"
#include "maker/shell/object_dialog.h"
#include "maker/shell/small_windows.h"
#include "shell_fixture.h"
#include "toolkit/gtk_access.h"

namespace {

constexpr int kEventList = 66;
constexpr int kCodePreview = 68;

// The n-th widget of that kind in the dialog, in creation order.
int dialog_widget(tk::WidgetKind kind, int n = 0) {
  for (int w : tk::test::widgets_of_window(kDialogWindow))
    if (tk::widget_kind(w) == kind && n-- == 0) return w;
  return -1;
}
int name_input() { return dialog_widget(tk::WidgetKind::Input, 0); }
int depth_input() { return dialog_widget(tk::WidgetKind::Input, 1); }
int sprite_list() { return dialog_widget(tk::WidgetKind::DropDown, 0); }
int parent_list() { return dialog_widget(tk::WidgetKind::DropDown, 1); }
int event_type_list() { return dialog_widget(tk::WidgetKind::DropDown, 2); }
int visible_box() { return dialog_widget(tk::WidgetKind::CheckBox, 0); }
int collision_box() { return dialog_widget(tk::WidgetKind::CheckBox, 1); }
int preview() { return dialog_widget(tk::WidgetKind::ImageView); }
int size_label() { return dialog_widget(tk::WidgetKind::Label, 0); }

void retype(int input, const std::string& text) {
  tk::set_text(input, "");
  tk::test::type_text(input, text);
}
void press(const char* button) { tk::test::click(tk::test::find_widget(kDialogWindow, button)); }

std::vector<std::string> items(int widget) {
  std::vector<std::string> out;
  for (int i = 0; i < tk::item_count(widget); ++i) out.push_back(tk::item_text(widget, i));
  return out;
}
// The event list as "event|parameter" rows.
std::vector<std::string> event_rows() {
  std::vector<std::string> out;
  for (int i = 0; i < tk::item_count(kEventList); ++i)
    out.push_back(tk::item_text(kEventList, i, 0) + "|" + tk::item_text(kEventList, i, 1));
  return out;
}
std::vector<int> event_row_scripts() {
  std::vector<int> out;
  for (int i = 0; i < tk::item_count(kEventList); ++i) out.push_back(tk::item_data(kEventList, i));
  return out;
}

// Size of the picture of a drop-down item, as GTK shows it.
std::pair<int, int> item_picture_size(int drop_down, int item) {
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(tk::gtk_widget_of(drop_down)));
  GtkTreeIter it;
  GdkPixbuf* pb = nullptr;
  if (gtk_tree_model_iter_nth_child(model, &it, nullptr, item)) gtk_tree_model_get(model, &it, 0, &pb, -1);
  if (!pb) return {0, 0};
  std::pair<int, int> size{gdk_pixbuf_get_width(pb), gdk_pixbuf_get_height(pb)};
  g_object_unref(pb);
  return size;
}

// Alpha of a pixel of the picture an image view shows.
int shown_alpha(int view, int x, int y) {
  GtkWidget* image = gtk_bin_get_child(GTK_BIN(tk::gtk_widget_of(view)));
  GdkPixbuf* pb = gtk_image_get_pixbuf(GTK_IMAGE(image));
  if (!pb || !gdk_pixbuf_get_has_alpha(pb)) return -1;
  return gdk_pixbuf_get_pixels(pb)[y * gdk_pixbuf_get_rowstride(pb) + x * 4 + 3];
}

// The window of the event-code editor, -1 when it is not open.
int code_window() { return tk::widget_window(kCodeEditorWidget); }
void press_in_code_window(const char* button) {
  tk::test::click(tk::test::find_widget(code_window(), button));
}
void type_code(const std::string& text) {
  using namespace codeeditor;
  editor_send(kCodeEditorWidget, SCI_DOCUMENTEND);
  editor_send(kCodeEditorWidget, SCI_REPLACESEL, 0, reinterpret_cast<sptr_t>(text.c_str()));
}

int frame(const std::string& sprite, int w, int h) {
  Frame f;
  f.file_counter = std::to_string(g_frames.count());
  f.sprite_name = sprite;
  f.image = imaging::create_image(imaging::kAnyImage, w, h);
  imaging::Canvas(f.image).box(0, 0, w, h);
  g_frames.append(f);
  return f.image;
}

int index_of(const std::string& name) {
  for (int i = 0; i < g_objects.count(); ++i)
    if (g_objects[i].name == name) return i;
  return -1;
}
GameObject& object(const std::string& name) { return g_objects[index_of(name)]; }

std::string place_instance(const std::string& definition, const std::string& scene) {
  GameObject o = object(definition);
  o.is_prototype = 0;
  o.template_name = definition;
  o.name = "SceneObject" + std::to_string(next_resource_uid());
  o.scene_name = scene;
  g_objects.append(o);
  return o.name;
}

// A project with three sprites (frames of the first two), the edited object
// with a placed instance, and two more objects.
class ObjectDialog : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ball_ = new_sprite();
    tall_ = new_sprite();
    bare_ = new_sprite();
    frame(tall_, 20, 50);
    ball_image_ = frame(ball_, 64, 32);  // the first of ball's frames, after one of tall's
    frame(ball_, 8, 8);
    me_ = new_object();
    other_ = new_object();
    child_ = new_object();
    // A picture for the parent list, from a frame without an owning sprite
    // (a damaged project can hold one): it never stands for "no sprite".
    object(other_).sprite_image = frame("", 30, 30);
    scene_ = new_scene();
    instance_ = place_instance(me_, scene_);
    set_project_modified(0);
  }
  std::string ball_, tall_, bare_, me_, other_, child_, scene_, instance_;
  int ball_image_ = -1;
};

}  // namespace

TEST_F(ObjectDialog, DoneWritesEveryFieldWithTheRenameCascade) {
  object(child_).parent_name = me_;
  const int own = add_event_script(me_, "Step", "");
  const int names_me = add_event_script(other_, "Collision", me_);
  const int unrelated = add_event_script(other_, "Collision", child_);
  g_scenes[0].follow_object = me_;
  const std::string unrelated_instance = place_instance(other_, scene_);
  object(unrelated_instance).depth = 3;

  tk::test::when_idle([&] {
    EXPECT_EQ(tk::window_title(kDialogWindow), "Object properties - " + me_);
    EXPECT_EQ(tk::window_width(kDialogWindow), 800);
    EXPECT_EQ(tk::window_height(kDialogWindow), 600);
    EXPECT_TRUE(tk::window_disabled(kMainWindow));
    EXPECT_EQ(tk::text(65), "Done");
    EXPECT_EQ(std::make_pair(tk::widget_x(65), tk::widget_y(65)), std::make_pair(725, 565));
    EXPECT_EQ(tk::text(name_input()), me_);
    EXPECT_EQ(items(sprite_list()), (std::vector<std::string>{"", ball_, tall_, bare_}));
    // Frame pictures as icons fitted into 16 x 16, keeping their shape, so
    // that a 64 x 32 frame leaves room for the sprite's name.
    EXPECT_EQ(item_picture_size(sprite_list(), 1), std::make_pair(16, 8));
    EXPECT_EQ(item_picture_size(sprite_list(), 2), std::make_pair(6, 16));   // 20 x 50
    EXPECT_EQ(item_picture_size(sprite_list(), 3), std::make_pair(16, 16));  // no frames
    EXPECT_EQ(tk::state(sprite_list()), 0);
    EXPECT_EQ(tk::text(size_label()), "Size: <no sprite>");
    EXPECT_EQ(tk::state(visible_box()), 1);
    EXPECT_EQ(tk::text(depth_input()), "0");
    EXPECT_EQ(tk::state(collision_box()), 1);
    EXPECT_EQ(items(parent_list()), (std::vector<std::string>{"", other_, child_}));  // never itself
    EXPECT_EQ(item_picture_size(parent_list(), 1), std::make_pair(16, 16));  // 30 x 30
    EXPECT_EQ(item_picture_size(parent_list(), 2), std::make_pair(16, 16));
    EXPECT_EQ(items(event_type_list()),
              (std::vector<std::string>{"Creation", "Destroy", "Step", "End step", "Collision", "Room start",
                                        "Room end", "Animation end", "Draw"}));
    EXPECT_EQ(tk::text(event_type_list()), "Creation");
    EXPECT_EQ(tk::column_count(kEventList), 2);
    EXPECT_EQ(event_rows(), (std::vector<std::string>{"Step|"}));
    EXPECT_EQ(tk::widget_font(kCodePreview), kFontCode);
    EXPECT_EQ(tk::colour(kCodePreview, tk::ColourRole::Back), rgb(238, 238, 238));

    retype(name_input(), "hero");
    tk::test::choose_item(sprite_list(), 1);
    tk::test::click(visible_box());
    retype(depth_input(), " -12px");
    tk::test::click(collision_box());
    tk::test::choose_item(parent_list(), 1);
    tk::test::request_close(kDialogWindow);  // no cancel
  });
  tk::test::when_idle([] {
    EXPECT_TRUE(tk::window_exists(kDialogWindow));
    EXPECT_EQ(tk::text(size_label()), "Size: 64 x 32 px");
    press("Done");
  });
  object_properties_dialog(me_);

  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_TRUE(ask_->asked.empty());
  const GameObject& hero = object("hero");
  EXPECT_EQ(hero.sprite_name, ball_);
  EXPECT_EQ(hero.visible, 0);
  EXPECT_EQ(hero.depth, -12);
  EXPECT_EQ(hero.collision, 0);
  EXPECT_EQ(hero.parent_name, other_);
  EXPECT_EQ(hero.sprite_image, ball_image_);
  EXPECT_EQ(std::make_pair(hero.image_width, hero.image_height), std::make_pair(64, 32));
  const GameObject& placed = object(instance_);
  EXPECT_EQ(placed.template_name, "hero");
  EXPECT_EQ(placed.depth, -12);
  EXPECT_EQ(placed.sprite_name, ball_);
  EXPECT_EQ(placed.sprite_image, ball_image_);
  EXPECT_EQ(std::make_pair(placed.image_width, placed.image_height), std::make_pair(64, 32));
  EXPECT_EQ(placed.visible, 1);  // only the depth and the picture go to instances
  EXPECT_EQ(object(unrelated_instance).depth, 3);
  EXPECT_EQ(object(child_).parent_name, "hero");
  EXPECT_EQ(g_scripts[own].owner_object, "hero");
  EXPECT_EQ(g_scripts[names_me].parameter, "hero");
  EXPECT_EQ(g_scripts[unrelated].parameter, child_);
  EXPECT_EQ(g_scenes[0].follow_object, me_);  // not a reference the rename follows
  EXPECT_EQ(g_project_modified, 1);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
  EXPECT_NE(card_of("hero"), -1);
  EXPECT_EQ(card_of(me_), -1);
}

TEST_F(ObjectDialog, RefusedNamesStoreNothingAndKeepTheDialogOpen) {
  struct Case {
    std::string typed, message;
  } cases[] = {
      {"", "The object name is missing"},
      {other_, "The object name '" + other_ + "' already exists"},
      {instance_, "The object name '" + instance_ + "' already exists"},  // placed instances count
  };
  for (const Case& c : cases) {
    tk::test::when_idle([&] {
      set_project_modified(0);
      tk::set_text(name_input(), c.typed);
      tk::set_text(depth_input(), "7");
      tk::test::choose_item(sprite_list(), 2);
      press("Done");
    });
    tk::test::when_idle([&] {
      EXPECT_EQ(ask_->messages().back(), c.message);
      EXPECT_EQ(ask_->asked.back().title, "Error");
      EXPECT_EQ(g_project_modified, 1) << "set before the checks";
      EXPECT_EQ(tk::text(name_input()), c.typed);
      EXPECT_EQ(tk::text(depth_input()), "7");
      EXPECT_EQ(g_objects[index_of(me_)].depth, 0);
      EXPECT_EQ(object(me_).sprite_name, "");
      EXPECT_EQ(object(instance_).template_name, me_);
      EXPECT_EQ(object(instance_).depth, 0);
    });
  }
  // The name left as it was: the cascade still copies into the instance.
  tk::test::when_idle([&] {
    tk::set_text(name_input(), me_);
    press("Done");
  });
  object_properties_dialog(me_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);

  EXPECT_EQ(ask_->asked.size(), std::size(cases));
  EXPECT_EQ(object(me_).depth, 7);
  EXPECT_EQ(object(instance_).depth, 7);
  EXPECT_EQ(object(instance_).sprite_name, tall_);
  EXPECT_EQ(std::make_pair(object(instance_).image_width, object(instance_).image_height),
            std::make_pair(20, 50));
}

TEST_F(ObjectDialog, ParentThatDescendsFromTheObjectIsRefused) {
  struct Case {
    const char* what;
    std::string other_parent, child_parent;  // parents set before opening
    std::string typed;                       // "" keeps the name
    bool refused;
  } cases[] = {
      {"a child", me_, "", "", true},
      {"a grandchild", child_, me_, "", true},
      {"a cycle of two others", child_, other_, "", false},
      {"an object without parent", "", "", "", false},
      // other_ still names a deleted "ghost"; last, as it keeps the new name.
      {"a child under the new name", "ghost", "", "ghost", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    object(other_).parent_name = c.other_parent;
    object(child_).parent_name = c.child_parent;
    ask_->asked.clear();
    tk::test::when_idle([&] {
      if (!c.typed.empty()) retype(name_input(), c.typed);
      tk::set_text(parent_list(), other_);
      press("Done");
    });
    if (c.refused)
      tk::test::when_idle([&] {
        EXPECT_EQ(ask_->messages(),
                  std::vector<std::string>{"The parent '" + other_ + "' descends from this object"});
        EXPECT_EQ(object(me_).parent_name, "");
        tk::test::choose_item(parent_list(), 0);
        press("Done");
      });
    object_properties_dialog(me_);
    EXPECT_EQ(tk::test::idle_actions_left(), 0);
    const std::string name = c.typed.empty() ? me_ : c.typed;
    EXPECT_EQ(object(name).parent_name, c.refused ? "" : other_);
    if (!c.refused) {
      EXPECT_TRUE(ask_->asked.empty());
    }
    object(name).parent_name = "";
  }
}

TEST_F(ObjectDialog, SpriteListShowsTheChosenSpriteAndUnknownNamesStoreEmpty) {
  GameObject& o = object(me_);
  o.sprite_name = "gone";
  o.parent_name = "gone too";
  o.image_width = 7;
  o.image_height = 9;
  struct Case {
    int item;
    std::string size;
    std::vector<std::pair<int, int>> opaque, transparent;
  } cases[] = {
      {1, "Size: 64 x 32 px", {{99, 0}, {50, 49}}, {{50, 51}, {0, 99}}},  // 100 x 50 at the top
      {2, "Size: 20 x 50 px", {{0, 99}, {39, 50}}, {{41, 50}, {99, 0}}},  // 40 x 100 at the left
      {3, "Size: <no sprite>", {{0, 0}, {99, 99}}, {}},                   // the "no sprite" picture
  };
  tk::test::when_idle([] {
    EXPECT_EQ(tk::state(sprite_list()), -1);
    EXPECT_EQ(tk::text(sprite_list()), "");
    EXPECT_EQ(tk::state(parent_list()), -1);
    EXPECT_EQ(tk::text(size_label()), "Size: <no sprite>");
  });
  for (const Case& c : cases) {
    tk::test::when_idle([&] { tk::test::choose_item(sprite_list(), c.item); });
    tk::test::when_idle([&] {
      EXPECT_EQ(tk::text(size_label()), c.size);
      for (auto [x, y] : c.opaque) EXPECT_EQ(shown_alpha(preview(), x, y), 255) << c.size << " " << x << "," << y;
      for (auto [x, y] : c.transparent) EXPECT_EQ(shown_alpha(preview(), x, y), 0) << c.size << " " << x << "," << y;
      EXPECT_EQ(object(me_).sprite_name, "gone");  // the record waits for "Done"
    });
  }
  tk::test::when_idle([] { press("Done"); });
  object_properties_dialog(me_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);

  const GameObject& stored = object(me_);
  EXPECT_EQ(stored.sprite_name, bare_);
  EXPECT_EQ(stored.sprite_image, -1);
  EXPECT_EQ(std::make_pair(stored.image_width, stored.image_height), std::make_pair(7, 9));
  EXPECT_EQ(stored.parent_name, "");
  EXPECT_EQ(object(instance_).sprite_image, -1);

  // Unknown names on both lists: "Done" stores them empty.
  object(me_).sprite_name = "gone";
  object(me_).parent_name = "gone too";
  tk::test::when_idle([] { press("Done"); });
  object_properties_dialog(me_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_EQ(object(me_).sprite_name, "");
  EXPECT_EQ(object(me_).sprite_image, -1);
  EXPECT_EQ(object(me_).parent_name, "");
}

TEST_F(ObjectDialog, AddedEventsAreEditedInTheCodeWindowAndListedInEventOrder) {
  const int draw = add_event_script(me_, "Draw", "");
  const int hit = add_event_script(me_, "Collision", other_);
  add_event_script(other_, "Step", "");
  add_event_script(me_, "Keyboard", "");  // no such event type: not listed
  const int creation = add_event_script(me_, "Creation", "");
  g_scripts[creation].code = "x = 1;\r\n";
  int step = -1;
  tk::test::when_idle([&] {
    EXPECT_EQ(event_rows(), (std::vector<std::string>{"Creation|", "Collision|" + other_, "Draw|"}));
    EXPECT_EQ(event_row_scripts(), (std::vector<int>{creation, hit, draw}));
    tk::test::choose_item(kEventList, 0);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::text(kCodePreview), "x = 1;\r\n");
    tk::test::choose_item(event_type_list(), 2);
    press("Add event >>> ");
  });
  tk::test::when_idle([&] {
    step = g_scripts.count() - 1;
    EXPECT_EQ(g_scripts[step].owner_object, me_);
    EXPECT_EQ(g_scripts[step].event_type, "Step");
    EXPECT_EQ(g_scripts[step].name, "scr_" + std::to_string(g_project_uid));
    EXPECT_EQ(tk::window_title(code_window()), "Code editor - Step event of " + me_);
    EXPECT_TRUE(tk::window_disabled(kDialogWindow));
    type_code("speed = 4;\n");
    press_in_code_window("OK");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(code_window(), -1);
    EXPECT_EQ(event_rows(), (std::vector<std::string>{"Creation|", "Step|", "Collision|" + other_, "Draw|"}));
    EXPECT_EQ(tk::state(kEventList), -1);
    EXPECT_EQ(tk::text(kCodePreview), "");
    EXPECT_EQ(g_scripts[step].code, "speed = 4;\r\n");
    EXPECT_EQ(g_project_modified, 0);  // only "Done" marks it
    // Late help-timer ticks and the close box change nothing.
    tk::post_event(tk::kEventTimer, kDialogWindow, kHelpLineTimer);
    tk::test::request_close(kDialogWindow);
    press("Add event >>> ");  // "Step" again
  });
  tk::test::when_idle([] {
    type_code("lost();");
    press_in_code_window("Cancel");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(event_rows(), (std::vector<std::string>{"Creation|", "Step|", "Step|", "Collision|" + other_, "Draw|"}));
    EXPECT_EQ(g_scripts[g_scripts.count() - 1].code, "");  // stays, empty
    tk::test::choose_item(kEventList, 1);
    tk::test::double_click_item(kEventList, 1);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(codeeditor::editor_get_text(kCodeEditorWidget), "speed = 4;\r\n");
    type_code("turn();");
    press_in_code_window("OK");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_scripts[step].code, "speed = 4;\r\nturn();");
    EXPECT_EQ(tk::state(kEventList), -1);
    EXPECT_EQ(tk::text(kCodePreview), "");
    press("Done");
  });
  object_properties_dialog(me_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_EQ(g_project_modified, 1);
}

TEST_F(ObjectDialog, EventMenuEditsAndDeletesTheSelectedRow) {
  const int creation = add_event_script(me_, "Creation", "");
  add_event_script(other_, "Step", "");
  add_event_script(me_, "Step", "");
  const int draw = add_event_script(me_, "Draw", "");
  g_scripts[creation].code = "first();";
  const std::vector<std::string> names = {g_scripts[0].name, g_scripts[1].name, g_scripts[3].name};
  tk::test::when_idle([] {
    tk::show_popup_menu(48, kMainWindow);  // a known menu shown last
    tk::test::right_click(kEventList);     // no row selected: no menu
  });
  tk::test::when_idle([] {
    EXPECT_EQ(tk::last_popup_menu(), 48);
    tk::test::choose_item(kEventList, 1);
    tk::test::right_click(kEventList);
  });
  tk::test::when_idle([] {
    EXPECT_EQ(tk::last_popup_menu(), 69);
    tk::test::choose_menu_item(71);  // answered No
  });
  tk::test::when_idle([] {
    EXPECT_EQ(event_rows(), (std::vector<std::string>{"Creation|", "Step|", "Draw|"}));
    tk::test::choose_menu_item(71);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(event_rows(), (std::vector<std::string>{"Creation|", "Draw|"}));
    EXPECT_EQ(event_row_scripts(), (std::vector<int>{creation, draw - 1}));
    EXPECT_EQ(tk::text(kCodePreview), "");
    tk::test::choose_item(kEventList, 0);
    tk::test::choose_menu_item(70);
  });
  tk::test::when_idle([] {
    EXPECT_EQ(codeeditor::editor_get_text(kCodeEditorWidget), "first();");
    type_code(" second();");
    press_in_code_window("OK");
  });
  tk::test::when_idle([] { press("Done"); });
  ask_->answer_yes_no(0);
  ask_->answer_yes_no(1);
  object_properties_dialog(me_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);

  ASSERT_EQ(ask_->asked.size(), 2u);
  for (const tk::test::Question& q : ask_->asked) {
    EXPECT_EQ(q.title, "Confirm");
    EXPECT_EQ(q.text, "Delete this event?");
  }
  ASSERT_EQ(g_scripts.count(), 3);
  EXPECT_EQ(std::vector<std::string>({g_scripts[0].name, g_scripts[1].name, g_scripts[2].name}), names);
  EXPECT_EQ(g_scripts[0].code, "first(); second();");
}

TEST_F(ObjectDialog, DeleteRemovesTheObjectByTheOpenedNameWithoutMarkingTheProject) {
  add_event_script(me_, "Step", "");
  add_event_script(other_, "Collision", me_);
  object(child_).parent_name = me_;
  tk::test::when_idle([] {
    retype(name_input(), "renamed");  // not what "Delete" goes by
    press("Delete");                  // answered No
  });
  tk::test::when_idle([] {
    EXPECT_TRUE(tk::window_exists(kDialogWindow));
    press("Delete");
  });
  ask_->answer_yes_no(0);
  ask_->answer_yes_no(1);
  object_properties_dialog(me_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);

  ASSERT_EQ(ask_->asked.size(), 2u);
  EXPECT_EQ(ask_->asked[1].title, "Confirm");
  EXPECT_EQ(ask_->asked[1].text, "Do you really want to delete this object?");
  EXPECT_EQ(index_of(me_), -1);
  EXPECT_EQ(index_of(instance_), -1);
  EXPECT_EQ(index_of("renamed"), -1);
  ASSERT_EQ(g_scripts.count(), 1);
  EXPECT_EQ(g_scripts[0].parameter, me_);  // other objects' references stay
  EXPECT_EQ(object(child_).parent_name, me_);
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
  EXPECT_EQ(card_of(me_), -1);
  EXPECT_NE(card_of(other_), -1);
}

TEST_F(ObjectDialog, MissingNameOnlyRebuildsTheBrowser) {
  rebuild_resource_panel();
  g_objects[index_of(other_)].name = "fresh";
  object_properties_dialog("Object_" + me_.substr(7));  // names compare exactly
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_NE(card_of("fresh"), -1);
}
