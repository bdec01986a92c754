// Menu bars, popup menus and keyboard shortcuts.
#include "wintest_fixture.h"

#include "toolkit/gtk_access.h"

using namespace tk;

class Menus : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    open_window(15, 0, 0, 800, 600, "Quillop Game Maker", kWindowResizable);
    imaging::create_image(142, 16, 16);
    menu_bar(16, 15);
    menu_title("File");
    menu_item(17, "New\tCtrl + N", 142);
    menu_separator();
    menu_item(18, "Open...\tCtrl + O", 144);  // no such picture: no icon
    menu_title("Help");
    menu_item(32, "About");
    ASSERT_TRUE(eventually([] { return GTK_WIDGET_MAPPED(gtk_window_of(15)); }));
    tk::test::take_events();
  }
};

TEST_F(Menus, ItemsRaiseMenuEventsForTheirWindow) {
  EXPECT_EQ(menu_item_text(17), "New\tCtrl + N");
  EXPECT_EQ(menu_item_menu(32), 16);
  EXPECT_TRUE(menu_exists(16));
  tk::test::choose_menu_item(18);
  std::vector<Event> got = tk::test::take_events();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], (Event{kEventMenu, 15, 18, 0}));
  EXPECT_EQ(menu_item_text(99), "");
  EXPECT_EQ(menu_item_menu(99), -1);
}

TEST_F(Menus, MenuBarSitsAboveTheWidgetArea) {
  int h = menu_bar_height(15);
  EXPECT_GT(h, 10);
  EXPECT_LT(h, 60);
  int b = button(kAny, 10, 10, 25, 25, "");
  ASSERT_TRUE(tk::test::settle(15));
  EXPECT_EQ(menu_bar_height(15), h);
  int wx = 0, wy = 0;
  gtk_widget_translate_coordinates(gtk_widget_of(b), gtk_window_of(15), 0, 0, &wx, &wy);
  EXPECT_EQ(wx, 10);
  EXPECT_EQ(wy, 10 + h);
}

TEST_F(Menus, ShortcutKeysRaiseTheMenuEvent) {
  struct Case {
    int modifiers, key, item;
  } cases[] = {{kControl, 'N', 17}, {kControl, '4', 28}, {0, kKeyF5, 21},
               {kControl, kKeyLeft, 193}, {0, kKeyDelete, 195}};
  for (const Case& k : cases) add_shortcut(15, k.modifiers, k.key, k.item);
  EXPECT_EQ(shortcut_item(15, kControl, 'N'), 17);
  for (const Case& k : cases) {
    tk::test::press_key(15, k.key, k.modifiers);
    std::vector<Event> got = tk::test::take_events();
    ASSERT_EQ(got.size(), 1u) << k.item;
    EXPECT_EQ(got[0], (Event{kEventMenu, 15, k.item, 0}));
  }
  // Other modifiers, or none, do not count.
  tk::test::press_key(15, 'N', 0);
  tk::test::press_key(15, 'N', kControl | kShift);
  tk::test::press_key(15, kKeyDelete, kControl);
  EXPECT_TRUE(events_of_type(kEventMenu, 15).empty());

  remove_shortcut(15, kControl, 'N');
  EXPECT_EQ(shortcut_item(15, kControl, 'N'), -1);
  remove_all_shortcuts(15);
  tk::test::press_key(15, kKeyF5, 0);
  EXPECT_TRUE(events_of_type(kEventMenu, 15).empty());
}

TEST_F(Menus, ShortcutsLeaveOtherKeysToTheFocusedInput) {
  int in = input(kAny, 10, 10, 100, 25, "");
  add_shortcut(15, kControl, 'S', 19);
  tk::test::focus(in);
  tk::test::press_key(15, 'S');
  EXPECT_EQ(text(in), "s");
  tk::test::press_key(15, 'S', kControl);
  EXPECT_EQ(text(in), "s");
  EXPECT_EQ(events_of_type(kEventMenu, 15).size(), 1u);
}

TEST_F(Menus, PopupMenusReportForTheWindowTheyWereShownOver) {
  popup_menu(48);
  menu_item(49, "Edit");
  menu_separator();
  menu_item(50, "Duplicate");
  EXPECT_EQ(menu_item_menu(50), 48);
  show_popup_menu(48, 15);
  EXPECT_EQ(last_popup_menu(), 48);
  tk::test::choose_menu_item(50);
  std::vector<Event> got = tk::test::take_events();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], (Event{kEventMenu, 15, 50, 0}));

  // Recreating a menu under its number replaces its items.
  popup_menu(48);
  menu_item(51, "Delete");
  EXPECT_FALSE(menu_item_exists(49));
  EXPECT_TRUE(menu_item_exists(51));
  free_menu(48);
  EXPECT_FALSE(menu_exists(48));
  EXPECT_FALSE(menu_item_exists(51));
  show_popup_menu(48, 15);  // nothing to show
}

TEST_F(Menus, ClosingTheWindowFreesItsMenuBar) {
  close_window(15);
  EXPECT_FALSE(menu_exists(16));
  EXPECT_FALSE(menu_item_exists(17));
  EXPECT_EQ(shortcut_item(15, kControl, 'N'), -1);
}
