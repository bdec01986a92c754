// The toolkit without any window or display: numbers that name nothing,
// pattern lists, key codes and scripted requesters.
#include <gtest/gtest.h>
#include <gdk/gdkkeysyms.h>

#include "toolkit/testing.h"
#include "toolkit/toolkit.h"

using namespace tk;

TEST(NoWindow, EveryCallOnAMissingNumberIsHarmless) {
  // Core code selects tabs and frees widgets in tests that have no display.
  set_state(14, 0);
  set_text(135, "x");
  free_widget(83);
  resize_widget(83, -5000, -5000, kKeep, kKeep);
  set_scroll_inner_size(83, 10, 10);
  clear_items(66);
  add_timer(63, 88, 100);
  remove_timer(63, 88);
  add_shortcut(15, kControl, 'N', 17);
  remove_all_shortcuts(15);
  disable_window(15, false);
  close_window(63);
  free_menu(39);
  menu_item(40, "Edit");
  EXPECT_EQ(state(14), 0);
  EXPECT_EQ(text(135), "");
  EXPECT_EQ(panel_page_width(14), 0);
  EXPECT_EQ(item_count(66), 0);
  EXPECT_EQ(item_text(66, 0), "");
  EXPECT_EQ(widget_data(5), 0);
  EXPECT_FALSE(widget_exists(83));
  EXPECT_FALSE(timer_exists(63, 88));
  EXPECT_EQ(shortcut_item(15, kControl, 'N'), -1);
  EXPECT_FALSE(menu_item_exists(40));
  EXPECT_EQ(window_width(15), 0);
  EXPECT_EQ(button(kAny, 0, 0, 1, 1, "x"), -1);
  EXPECT_EQ(open_window(-7, 0, 0, 1, 1, "bad number"), -1);
}

TEST(Patterns, LabelsAndPatternsSplitAtBarsAndSemicolons) {
  auto entries = parse_patterns(
      "Image files(jpg, bmp, png)|*.jpg;*.bmp;*.png|JPG files(*.jpg)|*.jpg|All(*.*)|*.*");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].label, "Image files(jpg, bmp, png)");
  EXPECT_EQ(entries[0].patterns, (std::vector<std::string>{"*.jpg", "*.bmp", "*.png"}));
  EXPECT_EQ(entries[1].patterns, std::vector<std::string>{"*.jpg"});
  EXPECT_EQ(entries[2].patterns, std::vector<std::string>{"*.*"});
  EXPECT_TRUE(parse_patterns("").empty());
  // A label without patterns, and empty pieces between semicolons.
  auto odd = parse_patterns("PNG Images (*.png)|*.png;;|Lonely");
  ASSERT_EQ(odd.size(), 2u);
  EXPECT_EQ(odd[0].patterns, std::vector<std::string>{"*.png"});
  EXPECT_EQ(odd[1].label, "Lonely");
  EXPECT_TRUE(odd[1].patterns.empty());
}

TEST(KeyCodes, KeysMapToTheirCodes) {
  struct Case {
    unsigned keyval;
    int code;
  } cases[] = {{GDK_a, 'A'},         {GDK_Z, 'Z'},          {GDK_7, '7'},
               {GDK_F1, kKeyF1},     {GDK_F5, kKeyF1 + 4},  {GDK_space, 0x20},
               {GDK_Escape, 0x1b},   {GDK_Left, 0x25},      {GDK_Up, 0x26},
               {GDK_Right, 0x27},    {GDK_Down, 0x28},      {GDK_Delete, 0x2e},
               {GDK_KP_Delete, 0x2e}, {GDK_Return, kKeyReturn}, {GDK_exclam, 0}};
  for (const Case& c : cases) EXPECT_EQ(key_code_of_keyval(c.keyval), c.code) << c.keyval;
}

TEST(ScriptedRequesters, WorkWithoutADisplay) {
  tk::test::ScriptedRequesters script;
  script.answer_yes_no(0);
  script.answer_file("", 0);
  EXPECT_EQ(yes_no("Confirm", "Delete this event?"), 0);
  EXPECT_EQ(save_file("Save", "/tmp/walk_strip4", "PNG Images (*.png)|*.png").path, "");
  ASSERT_EQ(script.asked.size(), 2u);
  EXPECT_EQ(script.asked[1].what, tk::test::Asked::SaveFile);
  EXPECT_EQ(script.asked[1].default_path, "/tmp/walk_strip4");
  EXPECT_EQ(script.unanswered(), 0);
}
