// The font properties dialog driven while its own loop runs.
#include "maker/shell/font_dialog.h"
#include "maker/shell/small_windows.h"
#include "shell_fixture.h"

namespace {

// The n-th widget of that kind in the dialog, in creation order.
int dialog_widget(tk::WidgetKind kind, int n = 0) {
  for (int w : tk::test::widgets_of_window(kDialogWindow))
    if (tk::widget_kind(w) == kind && n-- == 0) return w;
  return -1;
}
int name_input() { return dialog_widget(tk::WidgetKind::Input, 0); }
int family_input() { return dialog_widget(tk::WidgetKind::Input, 1); }
int size_input() { return dialog_widget(tk::WidgetKind::Input, 2); }

void retype(int input, const std::string& text) {
  tk::set_text(input, "");
  tk::test::type_text(input, text);
}

void press(const char* button) { tk::test::click(tk::test::find_widget(kDialogWindow, button)); }

}  // namespace

TEST_F(ShellTest, FontDoneStoresEveryFieldAndRenames) {
  const std::string name = new_font();
  set_project_modified(0);
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::window_title(kDialogWindow), "Font properties - " + name);
    EXPECT_EQ(tk::window_width(kDialogWindow), 200);
    EXPECT_EQ(tk::window_height(kDialogWindow), 300);
    EXPECT_TRUE(tk::window_disabled(kMainWindow));
    EXPECT_EQ(tk::text(65), "Done");
    EXPECT_EQ(std::make_pair(tk::widget_x(65), tk::widget_y(65)), std::make_pair(125, 265));
    EXPECT_EQ(tk::text(name_input()), name);
    EXPECT_EQ(tk::text(family_input()), "Arial");
    EXPECT_EQ(tk::text(size_input()), "12");
    EXPECT_EQ(tk::state(dialog_widget(tk::WidgetKind::CheckBox, 0)), 0);

    retype(name_input(), "Title font");
    tk::set_text(family_input(), "");  // stored as it is, not checked
    retype(size_input(), "0a07");      // the letter is dropped
    EXPECT_EQ(tk::text(size_input()), "007");
    tk::test::click(dialog_widget(tk::WidgetKind::CheckBox, 1));
    tk::test::request_close(kDialogWindow);  // no cancel
  });
  tk::test::when_idle([] {
    EXPECT_TRUE(tk::window_exists(kDialogWindow));
    press("Done");
  });
  open_font_properties(name);

  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_TRUE(ask_->asked.empty());
  ASSERT_EQ(g_fonts.count(), 1);
  EXPECT_EQ(g_fonts[0].name, "Title font");
  EXPECT_EQ(g_fonts[0].family, "");
  EXPECT_EQ(g_fonts[0].size, 7);
  EXPECT_EQ(g_fonts[0].bold, 0);
  EXPECT_EQ(g_fonts[0].italic, 1);
  EXPECT_EQ(g_project_modified, 1);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
  EXPECT_NE(card_of("Title font"), -1);
}

TEST_F(ShellTest, FontRefusedDoneStoresNothingAndDeleteUsesTheOpenedName) {
  const std::string other = new_font(), name = new_font();
  g_fonts[1].bold = 1;
  set_project_modified(0);
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::state(dialog_widget(tk::WidgetKind::CheckBox, 0)), 1);
    retype(name_input(), other);
    retype(size_input(), "0");
    press("Done");
  });
  tk::test::when_idle([] {
    EXPECT_EQ(g_project_modified, 1);  // set before the checks
    set_project_modified(0);
    tk::set_text(name_input(), "");  // no size check without a name
    press("Done");
  });
  tk::test::when_idle([] {
    EXPECT_EQ(g_project_modified, 1);
    retype(name_input(), "renamed");
    tk::set_text(size_input(), "");
    press("Done");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_fonts[1].name, name);
    EXPECT_EQ(g_fonts[1].size, 12);
    set_project_modified(0);
    press("Delete");  // answered No
  });
  tk::test::when_idle([] { press("Delete"); });
  ask_->answer_yes_no(0);
  ask_->answer_yes_no(1);
  open_font_properties(name);

  EXPECT_EQ(ask_->messages(),
            (std::vector<std::string>{"The font name '" + other + "' already exists",
                                      "The font size '0' is invalid", "The font name is missing",
                                      "The font size '' is invalid"}));
  for (const tk::test::Question& q : ask_->asked)
    EXPECT_EQ(q.title, q.what == tk::test::Asked::YesNo ? "Confirm" : "Error");
  EXPECT_EQ(ask_->asked.back().text, "Do you really want to delete this font?");
  ASSERT_EQ(g_fonts.count(), 1);
  EXPECT_EQ(g_fonts[0].name, other);
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
  EXPECT_EQ(card_of(name), -1);
  EXPECT_NE(card_of(other), -1);
}

// A size beyond 32 bits is refused like any other bad size, not wrapped.
TEST_F(ShellTest, FontSizeBeyondTheNumberRangeIsRefused) {
  const std::string name = new_font();
  tk::test::when_idle([] {
    retype(size_input(), "99999999999");
    press("Done");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_fonts[0].size, 12);
    retype(size_input(), "2147483647");
    press("Done");
  });
  open_font_properties(name);
  EXPECT_EQ(ask_->messages(), std::vector<std::string>{"The font size '99999999999' is invalid"});
  EXPECT_EQ(g_fonts[0].size, 2147483647);
}

TEST_F(ShellTest, FontDialogForAMissingNameOnlyRebuildsTheBrowser) {
  const std::string name = new_font();
  ASSERT_EQ(card_of(name), -1);
  open_font_properties("Font_2");  // names compare exactly
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_NE(card_of(name), -1);
}
