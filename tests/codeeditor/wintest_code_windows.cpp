// The code windows, driven as a user would through the toolkit's test
// drivers: what OK stores, what Cancel and the close box leave alone, the help
// lines and the remembered geometry.
#include "maker/codewindows/code_windows.h"

#include <functional>

#include "tests/codeeditor/editor_fixture.h"
#include "toolkit/testing.h"

namespace editor_test {
namespace {

constexpr int kDialog = 63;

class CodeWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    clear_project();
    reset_game_settings();
    tk::set_test_mode(true);
    tk::set_failure_handler([](const std::string& reason) { ADD_FAILURE() << reason; });
    tk::set_idle_timer_budget(1000);
  }
  void TearDown() override {
    tk::set_test_mode(false);
    tk::set_failure_handler(nullptr);
    tk::close_all_windows();
  }

  // The window holding the code editor.
  static int code_window() { return tk::widget_window(kCodeEditorWidget); }
  static int button(const char* text) { return tk::test::find_widget(code_window(), text); }
  static void type_into_editor(const std::string& text) {
    editor_send(kCodeEditorWidget, SCI_DOCUMENTEND);
    editor_send(kCodeEditorWidget, SCI_REPLACESEL, 0, reinterpret_cast<sptr_t>(text.c_str()));
  }
  static void click(const char* text) { tk::test::click(button(text)); }
  // The size the window really has, once the window manager has answered.
  static bool real_size_is(int width, int height) {
    GtkAllocation a;
    gtk_widget_get_allocation(tk::gtk_window_of(kDialog), &a);
    return a.width == width && a.height == height;
  }
  static std::vector<int> widgets_of_kind(tk::WidgetKind kind) {
    std::vector<int> found;
    for (int w : tk::test::widgets_of_window(code_window()))
      if (tk::widget_kind(w) == kind) found.push_back(w);
    return found;
  }
  // The two help lines: the two empty labels below the editor.
  static std::pair<int, int> help_lines() {
    std::vector<int> labels;
    for (int w : widgets_of_kind(tk::WidgetKind::Label))
      if (tk::widget_width(w) == tk::window_width(code_window()) - 20) labels.push_back(w);
    EXPECT_EQ(labels.size(), 2u);
    return labels.size() == 2 ? std::pair{labels[0], labels[1]} : std::pair{-1, -1};
  }
  static void tick_help_timer() { tk::post_event(tk::kEventTimer, kDialog, kHelpLineTimer); }
};

TEST_F(CodeWindowTest, GlobalVariablesCancelAndCloseBoxStoreNothing) {
  g_game_settings[0].global_variables = "var a = 1;\r\n";
  for (bool use_close_box : {false, true}) {
    tk::test::when_idle([&] {
      EXPECT_EQ(tk::window_title(kDialog), "Global variables");
      EXPECT_EQ(editor_get_text(kCodeEditorWidget), "var a = 1;\r\n");
      type_into_editor("var b = 2;\n");
      if (use_close_box)
        tk::test::request_close(kDialog);
      else
        click("Cancel");
    });
    edit_global_variables();
    EXPECT_EQ(g_game_settings[0].global_variables, "var a = 1;\r\n");
    EXPECT_EQ(g_project_modified, 0);
    EXPECT_FALSE(tk::window_exists(kDialog));
  }
}

TEST_F(CodeWindowTest, CustomFunctionsOkStoresWithCrLfAndMarksModified) {
  g_game_settings[0].global_functions = "function f() {\r\n}\r\n";
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::window_title(kDialog), "Custom functions");
    EXPECT_TRUE(tk::test::find_widget(kDialog, "Custom functions") != -1);
    type_into_editor("function g() {\n\treturn 1;\r}");
    click("OK");
  });
  edit_custom_functions();
  EXPECT_EQ(g_game_settings[0].global_functions,
            "function f() {\r\n}\r\nfunction g() {\r\n\treturn 1;\r\n}");
  EXPECT_EQ(g_project_modified, 1);
  EXPECT_FALSE(tk::widget_exists(kCodeEditorWidget));
}

TEST_F(CodeWindowTest, WidgetsStartClearOfEachOther) {
  tk::test::when_idle([&] {
    int editor_bottom = tk::widget_y(kCodeEditorWidget) + tk::widget_height(kCodeEditorWidget);
    auto [help1, help2] = help_lines();
    EXPECT_LE(editor_bottom, tk::widget_y(help1));
    EXPECT_LT(tk::widget_y(help1), tk::widget_y(help2));
    EXPECT_LT(tk::widget_y(help2) + tk::widget_height(help2), tk::widget_y(button("OK")));
    click("Cancel");
  });
  edit_custom_functions();
}

TEST_F(CodeWindowTest, HelpLinesShowNotApplicableInCustomFunctions) {
  add_keyword("draw", "Fn", "draw(x)", "Draws.");
  add_keyword("score", "Var", "n/a", "n/a");
  g_game_settings[0].global_functions = "draw\nscore";
  tk::test::when_idle([&] {
    editor_send(kCodeEditorWidget, SCI_GOTOPOS, 1);
    tick_help_timer();
  });
  tk::test::when_idle([&] {
    auto [help1, help2] = help_lines();
    EXPECT_EQ(tk::text(help1), "draw(x)");
    EXPECT_EQ(tk::text(help2), "Draws.");
    editor_send(kCodeEditorWidget, SCI_GOTOPOS, 6);
    tick_help_timer();
  });
  tk::test::when_idle([&] {
    auto [help1, help2] = help_lines();
    EXPECT_EQ(tk::text(help1), "n/a");
    EXPECT_EQ(tk::text(help2), "n/a");
    type_into_editor("\n");  // the caret on an empty last line: no word
    tick_help_timer();
  });
  tk::test::when_idle([&] {
    auto [help1, help2] = help_lines();
    EXPECT_EQ(tk::text(help1), "");
    EXPECT_EQ(tk::text(help2), "");
    click("Cancel");
  });
  edit_custom_functions();
}

TEST_F(CodeWindowTest, GeometryIsRestoredAndStored) {
  pref_code_window_x = 120;
  pref_code_window_y = 90;
  pref_code_window_width = 700;
  pref_code_window_height = 500;
  pref_code_window_maximized = -1;
  int x_at_close = 0, y_at_close = 0;
  tk::test::when_idle([&] {
    EXPECT_TRUE(tk::test::wait_until([] { return real_size_is(700, 500); }));
    tk::resize_window(kDialog, 60, 50, 640, 480);
    EXPECT_TRUE(tk::test::wait_until([] { return real_size_is(640, 480); }));
  });
  tk::test::when_idle([&] {
    // The size event has been handled: the widgets follow the window.
    EXPECT_EQ(tk::widget_width(kCodeEditorWidget), 620);
    EXPECT_EQ(tk::widget_height(kCodeEditorWidget), 480 - 155);
    EXPECT_EQ(tk::widget_x(button("OK")), 640 - 75);
    EXPECT_EQ(tk::widget_y(button("Cancel")), 480 - 35);
    x_at_close = tk::window_x(kDialog);
    y_at_close = tk::window_y(kDialog);
    click("Cancel");
  });
  edit_custom_functions();
  EXPECT_EQ(pref_code_window_width, 640);
  EXPECT_EQ(pref_code_window_height, 480);
  EXPECT_EQ(pref_code_window_maximized, -1);
  EXPECT_EQ(pref_code_window_x, x_at_close);
  EXPECT_EQ(pref_code_window_y, y_at_close);
}

TEST_F(CodeWindowTest, MaximisedStateIsRemembered) {
  tk::test::when_idle([&] {
    EXPECT_FALSE(tk::window_maximized(kDialog));
    tk::maximize_window(kDialog);
    EXPECT_TRUE(tk::test::wait_until([] { return tk::window_maximized(kDialog); }));
  });
  tk::test::when_idle([&] { click("OK"); });
  edit_global_variables();
  EXPECT_EQ(pref_code_window_maximized, 1);

  tk::test::when_idle([&] {
    EXPECT_TRUE(tk::test::wait_until([] { return tk::window_maximized(kDialog); }));
    click("Cancel");
  });
  edit_custom_functions();
}

class EventCodeWindowTest : public CodeWindowTest {
 protected:
  int script = -1;
  void SetUp() override {
    CodeWindowTest::SetUp();
    add_object("obj_a", 1);
    add_object("obj_b", 1);
    add_object("inst_1", 0);
    script = add_event_script("obj_a", "Step", "");
    g_scripts[script].code = "x = 1;\r\n";
    tk::open_window(kDialog, 0, 0, 300, 200, "object dialog");
  }
  static int event_combo() {
    for (int w : widgets_of_kind(tk::WidgetKind::DropDown))
      if (tk::widget_x(w) == 70) return w;
    return -1;
  }
  // The "with" field or combo and its label.
  static int with_field() {
    for (int w : tk::test::widgets_of_window(code_window()))
      if ((tk::widget_kind(w) == tk::WidgetKind::Input ||
           tk::widget_kind(w) == tk::WidgetKind::DropDown) &&
          w != event_combo())
        return w;
    return -1;
  }
  static int with_label() { return tk::test::find_widget(code_window(), "with"); }
};

TEST_F(EventCodeWindowTest, OkStoresTypeParameterAndCodeWithoutMarkingModified) {
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::window_title(code_window()), "Code editor - Step event of obj_a");
    EXPECT_TRUE(tk::window_disabled(kDialog));
    EXPECT_EQ(tk::text(event_combo()), "Step");
    EXPECT_EQ(tk::item_count(event_combo()), 9);
    EXPECT_LT(tk::widget_x(with_field()), 0);  // out of sight for a Step event
    tk::test::choose_item(event_combo(), 4);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::widget_x(with_field()), 240);
    EXPECT_EQ(tk::widget_x(with_label()), 180);
    tk::set_text(with_field(), "obj_b");
    type_into_editor("y = 2;\n");
    click("OK");
  });
  open_event_code_editor(script);
  EXPECT_EQ(g_scripts[script].event_type, "Collision");
  EXPECT_EQ(g_scripts[script].parameter, "obj_b");
  EXPECT_EQ(g_scripts[script].code, "x = 1;\r\ny = 2;\r\n");
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_FALSE(tk::window_disabled(kDialog));
  EXPECT_TRUE(tk::window_exists(kDialog));
}

// Every code window opens with the keyboard in its editor: keys typed at
// once go into the code (here the event window's parked "with" field is made
// before the editor).
TEST_F(EventCodeWindowTest, KeysTypedAtOnceGoIntoTheEditor) {
  struct Case {
    std::function<void()> open;
    std::function<std::string()> code;
  } cases[] = {
      {edit_global_variables, [] { return g_game_settings[0].global_variables; }},
      {[this] { open_event_code_editor(script); }, [this] { return g_scripts[script].code; }},
  };
  for (const Case& c : cases) {
    tk::test::when_idle([&] {
      EXPECT_TRUE(tk::widget_focused(kCodeEditorWidget));
      for (int key : {'V', 'A', 'R', ' '}) tk::test::press_key(code_window(), key);
      click("OK");
    });
    c.open();
    EXPECT_EQ(c.code().substr(0, 4), "var ");
  }
  EXPECT_EQ(g_scripts[script].parameter, "");
}

TEST_F(EventCodeWindowTest, ChoosingAnotherEventHidesTheWithField) {
  tk::test::when_idle([&] { tk::test::choose_item(event_combo(), 4); });
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::widget_x(with_field()), 240);
    tk::test::choose_item(event_combo(), 8);  // "Draw"
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::widget_x(with_field()), -1800);
    EXPECT_EQ(tk::widget_x(with_label()), -1800);
    tk::test::request_close(code_window());
  });
  open_event_code_editor(script);
  EXPECT_EQ(g_scripts[script].event_type, "Step");
  EXPECT_EQ(g_scripts[script].code, "x = 1;\r\n");
}

TEST_F(EventCodeWindowTest, CollisionListsObjectDefinitions) {
  g_scripts[script].event_type = "Collision";
  g_scripts[script].parameter = "obj_b";
  tk::test::when_idle([&] {
    int with = with_field();
    ASSERT_EQ(tk::widget_kind(with), tk::WidgetKind::DropDown);
    EXPECT_EQ(tk::widget_x(with), 240);
    ASSERT_EQ(tk::item_count(with), 3);
    EXPECT_EQ(tk::item_text(with, 0), "");
    EXPECT_EQ(tk::item_text(with, 1), "obj_a");
    EXPECT_EQ(tk::item_text(with, 2), "obj_b");
    EXPECT_EQ(tk::text(with), "obj_b");
    click("Cancel");
  });
  open_event_code_editor(script);
  EXPECT_EQ(g_scripts[script].parameter, "obj_b");
}

TEST_F(EventCodeWindowTest, NotApplicableHelpKeepsTheHelpLines) {
  add_keyword("draw", "Fn", "draw(x)", "Draws.");
  add_keyword("score", "Var", "n/a", "n/a");
  g_scripts[script].code = "draw\r\nscore";
  tk::test::when_idle([&] {
    EXPECT_TRUE(tk::timer_exists(kDialog, kHelpLineTimer));  // on the object dialog
    editor_send(kCodeEditorWidget, SCI_GOTOPOS, 1);
    tick_help_timer();
  });
  tk::test::when_idle([&] {
    editor_send(kCodeEditorWidget, SCI_GOTOPOS, 7);
    tick_help_timer();
  });
  tk::test::when_idle([&] {
    auto [help1, help2] = help_lines();
    EXPECT_EQ(tk::text(help1), "draw(x)");
    EXPECT_EQ(tk::text(help2), "Draws.");
    click("Cancel");
  });
  open_event_code_editor(script);
}

// Loading the code is not undoable: Ctrl+Z straight after opening leaves it,
// and the user's own edit still undoes.
TEST_F(EventCodeWindowTest, UndoRightAfterOpeningKeepsTheLoadedCode) {
  add_named(g_scenes, "scn_one");
  const std::string kCode = "keep();\r\n";
  g_game_settings[0].global_variables = g_game_settings[0].global_functions = kCode;
  g_scripts[script].code = g_scenes[0].code = kCode;
  struct Case {
    const char* window;
    std::function<void()> open;
    std::function<std::string()> stored;
  } cases[] = {
      {"Global variables", [] { edit_global_variables(); },
       [] { return g_game_settings[0].global_variables; }},
      {"Custom functions", [] { edit_custom_functions(); },
       [] { return g_game_settings[0].global_functions; }},
      {"event code", [this] { open_event_code_editor(script); },
       [this] { return g_scripts[script].code; }},
      {"Scene code editor", [] { open_scene_code_editor(0); }, [] { return g_scenes[0].code; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    tk::test::when_idle([&] {
      tk::test::focus(kCodeEditorWidget);
      tk::test::press_key(code_window(), 'Z', tk::kControl);
      EXPECT_EQ(editor_get_text(kCodeEditorWidget), kCode);
      type_into_editor("lose();");
      tk::test::press_key(code_window(), 'Z', tk::kControl);
      EXPECT_EQ(editor_get_text(kCodeEditorWidget), kCode);
      click("OK");
    });
    c.open();
    EXPECT_EQ(c.stored(), kCode);
  }
}

TEST_F(CodeWindowTest, SceneCodeEditorIgnoresTheCloseBox) {
  add_named(g_scenes, "scn_one");
  g_scenes[0].code = "a();\r\n";
  tk::open_window(kDialog, 0, 0, 300, 200, "scene editor");
  int window = -1;
  tk::test::when_idle([&] {
    window = code_window();
    EXPECT_EQ(tk::window_title(window), "Scene code editor");
    EXPECT_TRUE(tk::window_disabled(kDialog));
    type_into_editor("b();");
    tk::test::request_close(window);
  });
  tk::test::when_idle([&] {
    EXPECT_TRUE(tk::window_exists(window));
    click("Cancel");
  });
  open_scene_code_editor(0);
  EXPECT_EQ(g_scenes[0].code, "a();\r\n");
  EXPECT_EQ(g_project_modified, 0);

  tk::test::when_idle([&] {
    type_into_editor("b();\n");
    click("OK");
  });
  open_scene_code_editor(0);
  EXPECT_EQ(g_scenes[0].code, "a();\r\nb();\r\n");
  EXPECT_EQ(g_project_modified, 1);
  EXPECT_FALSE(tk::window_disabled(kDialog));
}

// What sets the "Scene code editor" apart from the three other code windows,
// read back from the open window: its fixed size, its editor at the top, no
// help lines, no help timer, and code-window geometry left as it was.
TEST_F(EventCodeWindowTest, SceneCodeEditorDiffersFromTheOtherCodeWindows) {
  add_named(g_scenes, "scn_one");
  struct Case {
    const char* window;
    bool under_dialog;  // opened over window 63, as from the object or scene editor
    std::function<void()> open;
    bool resizable;
    int editor_y;
    int help_lines;
    bool timer;
    bool stores_geometry;
  } cases[] = {
      {"Custom functions", false, edit_custom_functions, true, 45, 2, true, true},
      {"Global variables", false, edit_global_variables, true, 45, 2, true, true},
      {"event code", true, [this] { open_event_code_editor(script); }, true, 45, 2, true, true},
      {"Scene code editor", true, [] { open_scene_code_editor(0); }, false, 10, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    pref_code_window_x = pref_code_window_y = -1;
    pref_code_window_width = pref_code_window_height = -1;
    pref_code_window_maximized = -1;
    if (!c.under_dialog) tk::close_window(kDialog);
    tk::test::when_idle([&] {
      int window = code_window();
      EXPECT_EQ(gtk_window_get_resizable(GTK_WINDOW(tk::gtk_window_of(window))) != FALSE,
                c.resizable);
      EXPECT_EQ(tk::widget_y(kCodeEditorWidget), c.editor_y);
      int help_lines = 0;
      for (int w : widgets_of_kind(tk::WidgetKind::Label))
        if (tk::widget_width(w) == tk::window_width(window) - 20) ++help_lines;
      EXPECT_EQ(help_lines, c.help_lines);
      EXPECT_EQ(tk::timer_exists(kDialog, kHelpLineTimer) ||
                    tk::timer_exists(window, kHelpLineTimer),
                c.timer);
      click("Cancel");
    });
    c.open();
    if (c.stores_geometry) {
      EXPECT_NE(pref_code_window_x, -1);
      EXPECT_NE(pref_code_window_y, -1);
    } else {
      EXPECT_EQ(pref_code_window_x, -1);
      EXPECT_EQ(pref_code_window_y, -1);
      EXPECT_EQ(pref_code_window_width, -1);
      EXPECT_EQ(pref_code_window_height, -1);
      EXPECT_EQ(pref_code_window_maximized, -1);
    }
    if (c.under_dialog)
      tk::remove_timer(kDialog, kHelpLineTimer);
    else
      tk::open_window(kDialog, 0, 0, 300, 200, "object dialog");
  }
}

TEST(CrLfLineEnds, EveryLineBreakBecomesCrLf) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"a", "a"},
      {"a\nb", "a\r\nb"},
      {"a\r\nb\r\n", "a\r\nb\r\n"},
      {"a\rb", "a\r\nb"},
      {"\n\n", "\r\n\r\n"},
      {"\r\r\n\n", "\r\n\r\n\r\n"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(with_crlf_line_ends(in), out) << in;
}

}  // namespace
}  // namespace editor_test
