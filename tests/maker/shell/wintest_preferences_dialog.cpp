// The Preferences dialog: its layout, the colour chooser, "Save" writing
// preferences.dat at once, and "Cancel" and the close box changing nothing.
#include "maker/project/preferences.h"
#include "maker/shell/small_windows.h"
#include "shell_fixture.h"

namespace {

constexpr int kPreferencesWindow = 63;

// The widget of that kind whose top-left corner is (x, y) inside its place.
int widget_at(tk::WidgetKind kind, int x, int y) {
  for (int w : tk::test::widgets_of_window(kPreferencesWindow))
    if (tk::widget_kind(w) == kind && tk::widget_x(w) == x && tk::widget_y(w) == y) return w;
  return -1;
}

struct Box {
  int x, y, width, height;
  bool operator==(const Box&) const = default;
};
Box box_of(int widget) {
  return {tk::widget_x(widget), tk::widget_y(widget), tk::widget_width(widget),
          tk::widget_height(widget)};
}

// The colour rows: label, top-left of the field, the value shown.
struct ColourRow {
  const char* label;
  int x, y;
  int* value;
};
const ColourRow kRows[] = {
    {"Text", 130, 10, &pref_color_text},
    {"Caret", 130, 40, &pref_color_caret},
    {"Selection background", 130, 70, &pref_color_selection_back},
    {"Selection foreground", 130, 100, &pref_color_selection_fore},
    {"Command", 130, 130, &pref_color_command},
    {"Comment", 130, 160, &pref_color_comment},
    {"String", 430, 10, &pref_color_string},
    {"Number", 430, 40, &pref_color_number},
    {"User function", 430, 70, &pref_color_function},
    {"Resource", 430, 100, &pref_color_resource},
    {"Constant", 430, 130, &pref_color_constant},
    {"Quillop function", 430, 160, &pref_color_engine_function},
    {"Quillop variable", 430, 190, &pref_color_engine_variable},
};

int field_of(const char* label) {
  for (const ColourRow& r : kRows)
    if (std::string(r.label) == label) return widget_at(tk::WidgetKind::Input, r.x, r.y);
  return -1;
}
int picker_of(const char* label) {
  for (const ColourRow& r : kRows)
    if (std::string(r.label) == label) return widget_at(tk::WidgetKind::Button, r.x + 110, r.y);
  return -1;
}
int field_colour(const char* label) { return tk::colour(field_of(label), tk::ColourRole::Back); }

const char* const kSwitchTexts[] = {
    "Add file protocol (file://) when running game from IDE",
    "Check program version at startup",
    "Generate INDEX.HTML when saving project",
    "Confirm exit from Quillop",
};

class PreferencesDialog : public ShellTest {
 protected:
  // Opens the dialog from the File menu, as the user does.
  void run_from_menu() {
    tk::test::choose_menu_item(kItemPreferences);
    run_loop();
    EXPECT_FALSE(tk::window_exists(kPreferencesWindow));
    EXPECT_FALSE(tk::window_disabled(kMainWindow));
    EXPECT_EQ(tk::test::idle_actions_left(), 0);
  }
};

TEST_F(PreferencesDialog, ShowsEveryValueWhereItBelongs) {
  pref_font_family = "DejaVu Sans Mono";
  pref_font_size = 13;
  pref_check_version_at_startup = 0;
  pref_add_file_protocol = 1;
  const std::string before = read_file(kPreferencesFile);
  tk::test::when_idle([] {
    ASSERT_TRUE(tk::window_exists(kPreferencesWindow));
    EXPECT_EQ(tk::window_title(kPreferencesWindow), "Preferences");
    EXPECT_EQ(tk::window_width(kPreferencesWindow), 640);
    EXPECT_EQ(tk::window_height(kPreferencesWindow), 480);
    EXPECT_TRUE(tk::window_disabled(kMainWindow));

    int panel = widget_at(tk::WidgetKind::Panel, 10, 10);
    ASSERT_NE(panel, -1);
    EXPECT_EQ(box_of(panel), (Box{10, 10, 620, 425}));
    ASSERT_EQ(tk::item_count(panel), 2);
    EXPECT_EQ(tk::item_text(panel, 0), " Code editor");
    EXPECT_EQ(tk::item_text(panel, 1), "Misc");
    EXPECT_EQ(tk::widget_kind(65), tk::WidgetKind::Button);
    EXPECT_EQ(tk::text(65), "Save");
    EXPECT_EQ(box_of(65), (Box{565, 445, 65, 25}));
    EXPECT_EQ(box_of(tk::test::find_widget(kPreferencesWindow, "Cancel")), (Box{10, 445, 65, 25}));

    for (const ColourRow& r : kRows) {
      SCOPED_TRACE(r.label);
      int label = tk::test::find_widget(kPreferencesWindow, r.label);
      EXPECT_EQ(box_of(label), (Box{r.x < 300 ? 10 : 300, r.y + 5, 120, 25}));
      int field = field_of(r.label);
      ASSERT_NE(field, -1);
      EXPECT_EQ(box_of(field), (Box{r.x, r.y, 100, 25}));
      EXPECT_EQ(tk::text(field), "");
      EXPECT_EQ(tk::colour(field, tk::ColourRole::Back), *r.value);
      int picker = picker_of(r.label);
      ASSERT_NE(picker, -1);
      EXPECT_EQ(tk::text(picker), "...");
      EXPECT_EQ(box_of(picker), (Box{r.x + 110, r.y, 25, 25}));
    }
    EXPECT_EQ(box_of(tk::test::find_widget(kPreferencesWindow, "Font family")), (Box{10, 195, 120, 25}));
    EXPECT_EQ(box_of(tk::test::find_widget(kPreferencesWindow, "Font size")), (Box{10, 225, 120, 25}));
    int family = widget_at(tk::WidgetKind::Input, 130, 190);
    int size = widget_at(tk::WidgetKind::Input, 130, 220);
    EXPECT_EQ(box_of(family), (Box{130, 190, 100, 20}));
    EXPECT_EQ(box_of(size), (Box{130, 220, 100, 20}));
    EXPECT_EQ(tk::text(family), "DejaVu Sans Mono");
    EXPECT_EQ(tk::text(size), "13");
    // The text rows have no "..." button.
    EXPECT_EQ(widget_at(tk::WidgetKind::Button, 240, 190), -1);
    EXPECT_EQ(widget_at(tk::WidgetKind::Button, 240, 220), -1);

    const int ticked[] = {1, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(kSwitchTexts[i]);
      int box = tk::test::find_widget(kPreferencesWindow, kSwitchTexts[i]);
      EXPECT_EQ(tk::widget_kind(box), tk::WidgetKind::CheckBox);
      EXPECT_EQ(box_of(box), (Box{10, 10 + 30 * i, 300, 25}));
      EXPECT_EQ(tk::state(box), ticked[i]);
    }
    tk::test::request_close(kPreferencesWindow);  // ignored
  });
  tk::test::when_idle([] {
    EXPECT_TRUE(tk::window_exists(kPreferencesWindow));
    tk::test::click(tk::test::find_widget(kPreferencesWindow, "Cancel"));
  });
  run_from_menu();
  EXPECT_EQ(read_file(kPreferencesFile), before);
}

TEST_F(PreferencesDialog, SaveWritesTheEditedValuesAtOnce) {
  ask_->answer_colour(rgb(1, 2, 3));
  ask_->answer_colour(rgb(250, 0, 7));
  tk::test::when_idle([] {
    tk::test::click(picker_of("Text"));
    tk::test::click(picker_of("Quillop variable"));
  });
  tk::test::when_idle([] {
    EXPECT_EQ(field_colour("Text"), rgb(1, 2, 3));
    EXPECT_EQ(field_colour("Quillop variable"), rgb(250, 0, 7));
    // Nothing is stored before "Save".
    EXPECT_EQ(pref_color_text, 0);
    int family = widget_at(tk::WidgetKind::Input, 130, 190);
    int size = widget_at(tk::WidgetKind::Input, 130, 220);
    tk::set_text(family, "");
    tk::test::type_text(family, "Mono Neue");
    tk::set_text(size, "");
    tk::test::type_text(size, "abc");
    for (int i : {2, 0}) tk::test::click(tk::test::find_widget(kPreferencesWindow, kSwitchTexts[i]));
    tk::test::click(65);
  });
  run_from_menu();

  ASSERT_EQ(ask_->asked.size(), 2u);
  EXPECT_EQ(ask_->asked[0].what, tk::test::Asked::Colour);
  EXPECT_EQ(ask_->asked[0].colour, 0);  // started from the field's colour
  EXPECT_EQ(ask_->asked[1].colour, rgb(81, 80, 19));
  EXPECT_EQ(pref_color_text, rgb(1, 2, 3));
  EXPECT_EQ(pref_color_engine_variable, rgb(250, 0, 7));
  EXPECT_EQ(pref_font_family, "Mono Neue");
  EXPECT_EQ(pref_font_size, 0);
  EXPECT_EQ(pref_generate_index_html, 0);
  EXPECT_EQ(pref_add_file_protocol, 1);
  EXPECT_EQ(read_file(kPreferencesFile),
            "\xEF\xBB\xBF\n"
            "[Code editor]\n"
            "sci_color_fore = 197121\n"
            "sci_color_selection_back = 4194304\n"
            "sci_color_selection_fore = 16777215\n"
            "sci_color_command = 14888246\n"
            "sci_color_comment = 10526880\n"
            "sci_color_function = 2335523\n"
            "sci_color_number = 4210896\n"
            "sci_color_resource = 12298801\n"
            "sci_color_string = 12976326\n"
            "sci_color_qp_constant = 3947580\n"
            "sci_color_qp_function = 2255392\n"
            "sci_color_qp_variable = 459002\n"
            "sci_color_caret = 15790335\n"
            "sci_font_family = Mono Neue\n"
            "sci_font_size = 0\n"
            "x = -1\n"
            "y = -1\n"
            "width = -1\n"
            "height = -1\n"
            "maximized = -1\n"
            "[Browser]\n"
            "add_file_protocol = 1\n"
            "[Misc]\n"
            "CheckProgramVersion = 1\n"
            "GenerateIndexHTML = 0\n"
            "ConfirmExit = 1\n");
}

TEST_F(PreferencesDialog, CancelAndACancelledChooserKeepEverything) {
  const std::string before = read_file(kPreferencesFile);
  ask_->answer_colour(rgb(9, 9, 9));
  ask_->answer_colour(-1);
  tk::test::when_idle([] {
    tk::test::click(picker_of("Comment"));
    tk::test::click(picker_of("Caret"));
    tk::test::click(tk::test::find_widget(kPreferencesWindow, "Confirm exit from Quillop"));
    tk::set_text(widget_at(tk::WidgetKind::Input, 130, 220), "40");
  });
  tk::test::when_idle([] {
    EXPECT_EQ(field_colour("Comment"), rgb(9, 9, 9));
    EXPECT_EQ(field_colour("Caret"), rgb(255, 240, 240));
    tk::test::request_close(kPreferencesWindow);
  });
  tk::test::when_idle([] { tk::test::click(tk::test::find_widget(kPreferencesWindow, "Cancel")); });
  run_from_menu();

  EXPECT_EQ(pref_color_comment, rgb(160, 160, 160));
  EXPECT_EQ(pref_confirm_exit, 1);
  EXPECT_EQ(pref_font_size, 11);
  EXPECT_EQ(read_file(kPreferencesFile), before);
}

}  // namespace
