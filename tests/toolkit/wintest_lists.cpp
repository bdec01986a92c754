// Drop-down lists, lists with columns and tabbed panels.
#include "wintest_fixture.h"

#include "toolkit/gtk_access.h"

using namespace tk;

class Lists : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    open_window(63, 0, 0, 800, 600, "Object properties");
    ASSERT_TRUE(eventually([] { return GTK_WIDGET_MAPPED(gtk_window_of(63)); }));
    tk::test::take_events();  // the size event of its first showing
  }
};

TEST_F(Lists, DropDownSelectsByExactTextOrNothing) {
  imaging::create_image(162, 16, 16);
  int d = drop_down(kAny, 10, 155, 100, 25, kDropDownImages);
  for (const char* t : {"", "spr_a", "spr_b", "Spr_b"}) add_item(d, -1, t, 162);
  EXPECT_EQ(item_count(d), 4);
  EXPECT_EQ(state(d), -1);
  EXPECT_EQ(text(d), "");

  set_text(d, "spr_b");
  EXPECT_EQ(state(d), 2);
  EXPECT_EQ(text(d), "spr_b");
  set_text(d, "spr_");  // no exact item: nothing selected
  EXPECT_EQ(state(d), -1);
  EXPECT_EQ(text(d), "");
  set_text(d, "");
  EXPECT_EQ(state(d), 0);
  set_state(d, 3);
  EXPECT_EQ(text(d), "Spr_b");
  set_state(d, 99);
  EXPECT_EQ(state(d), -1);
  EXPECT_TRUE(tk::test::take_events().empty());  // none of that was the user

  tk::test::choose_item(d, 1);
  EXPECT_EQ(subtypes_of(d), std::vector<int>{kChange});
  EXPECT_EQ(text(d), "spr_a");

  add_item(d, 0, "first");
  EXPECT_EQ(item_text(d, 0), "first");
  set_item_data(d, 0, 7);
  EXPECT_EQ(item_data(d, 0), 7);
  remove_item(d, 0);
  EXPECT_EQ(item_text(d, 0), "");
  clear_items(d);
  EXPECT_EQ(item_count(d), 0);
  EXPECT_EQ(text(d), "");
}

TEST_F(Lists, ListWithColumnsRowsAndSelection) {
  imaging::create_image(105, 16, 16);
  int l = list_view(66, 120, 45, 200, 400, "Event", 90);
  add_column(66, 1, "Parameter", 80);
  EXPECT_EQ(column_count(66), 2);
  EXPECT_STREQ(gtk_tree_view_column_get_title(gtk_tree_view_get_column(GTK_TREE_VIEW(gtk_widget_of(l)), 1)),
               "Parameter");
  EXPECT_EQ(gtk_tree_view_column_get_fixed_width(gtk_tree_view_get_column(GTK_TREE_VIEW(gtk_widget_of(l)), 0)),
            90);
  add_item(l, -1, "Creation\n", 105);
  add_item(l, -1, "Collision\nobj_wall", 105);
  add_item(l, -1, "Draw");
  EXPECT_EQ(item_count(l), 3);
  EXPECT_EQ(item_text(l, 1, 0), "Collision");
  EXPECT_EQ(item_text(l, 1, 1), "obj_wall");
  EXPECT_EQ(item_text(l, 2, 1), "");
  set_item_text(l, 2, "x", 1);
  EXPECT_EQ(item_text(l, 2, 1), "x");
  set_item_data(l, 1, 41);
  EXPECT_EQ(item_data(l, 1), 41);
  EXPECT_EQ(state(l), -1);
  set_state(l, 2);
  EXPECT_EQ(state(l), 2);
  EXPECT_EQ(text(l), "Draw");
  set_state(l, -1);
  EXPECT_EQ(state(l), -1);
  EXPECT_TRUE(tk::test::take_events().empty());

  tk::test::choose_item(l, 1);
  EXPECT_EQ(state(l), 1);
  EXPECT_EQ(subtypes_of(l), (std::vector<int>{kChange, kLeftClick}));
  tk::test::double_click_item(l, 1);
  EXPECT_EQ(subtypes_of(l), (std::vector<int>{kLeftClick, kLeftDoubleClick}));
  tk::test::right_click(l);
  EXPECT_EQ(subtypes_of(l), std::vector<int>{kRightClick});
  EXPECT_EQ(state(l), 1);  // a right click keeps the selection
  remove_item(l, 0);
  EXPECT_EQ(item_text(l, 0), "Collision");
  clear_items(l);
  EXPECT_EQ(item_count(l), 0);
  EXPECT_EQ(state(l), -1);
}

TEST_F(Lists, ListWithCheckBoxes) {
  int l = list_view(kAny, 10, 10, 180, 420, "Extensions", 170, kListCheckBoxes | kListNoHeaders);
  add_item(l, -1, "physics");
  add_item(l, -1, "sound");
  EXPECT_FALSE(gtk_tree_view_get_headers_visible(GTK_TREE_VIEW(gtk_widget_of(l))));
  set_item_state(l, 1, 1);
  EXPECT_EQ(item_state(l, 0), 0);
  EXPECT_EQ(item_state(l, 1), 1);
  tk::test::take_events();
  tk::test::toggle_item_check(l, 0);
  EXPECT_EQ(item_state(l, 0), 1);
  EXPECT_EQ(subtypes_of(l), std::vector<int>{kChange});
  EXPECT_EQ(item_state(l, 5), 0);

  // Choosing a row with the mouse selects it and leaves its box alone.
  tk::test::choose_item(l, 1);
  EXPECT_EQ(state(l), 1);
  EXPECT_EQ(item_state(l, 1), 1);
}

TEST_F(Lists, PanelTabsHoldTheirWidgetsUntilClosed) {
  imaging::create_image(147, 16, 16);
  load_font(81, "Arial", 11);
  int p = panel(14, 5, 45, 790, 500);
  set_font(14, 81);
  add_tab(14, " Sprites ", 147);
  int in_sprites = scroll_area(83, 0, 0, 100, 100, 640, 480, 16);
  close_container();
  add_tab(14, " Game ");
  int in_game = check_box(135, 20, 250, 200, 30, "Advanced scripting mode");
  close_container();
  int after = button(kAny, 10, 10, 25, 25, "after");
  EXPECT_EQ(p, 14);
  EXPECT_EQ(item_count(14), 2);
  EXPECT_EQ(item_text(14, 0), " Sprites ");
  EXPECT_EQ(item_text(14, 1), " Game ");
  GtkNotebook* nb = GTK_NOTEBOOK(gtk_widget_of(14));
  EXPECT_EQ(gtk_widget_get_parent(gtk_widget_of(in_sprites)), gtk_notebook_get_nth_page(nb, 0));
  EXPECT_EQ(gtk_widget_get_parent(gtk_widget_of(in_game)), gtk_notebook_get_nth_page(nb, 1));
  EXPECT_NE(gtk_widget_get_parent(gtk_widget_of(after)), gtk_notebook_get_nth_page(nb, 1));

  EXPECT_EQ(state(14), 0);
  set_state(14, 1);
  EXPECT_EQ(state(14), 1);
  EXPECT_EQ(text(14), " Game ");
  EXPECT_TRUE(tk::test::take_events().empty());
  tk::test::choose_item(14, 0);
  EXPECT_EQ(subtypes_of(14), std::vector<int>{kChange});

  // The page area follows the panel's size, before and after GTK lays it out.
  int w0 = panel_page_width(14), h0 = panel_page_height(14);
  EXPECT_GT(w0, 700);
  EXPECT_LT(w0, 790);
  EXPECT_GT(h0, 400);
  EXPECT_LT(h0, 500);
  ASSERT_TRUE(tk::test::settle(63));
  int w1 = panel_page_width(14), h1 = panel_page_height(14);
  GtkWidget* page = gtk_notebook_get_nth_page(nb, 0);
  EXPECT_EQ(w1, page->allocation.width);
  EXPECT_EQ(h1, page->allocation.height);
  resize_widget(14, kKeep, kKeep, 600, 300);
  EXPECT_EQ(panel_page_width(14), w1 - 190);
  EXPECT_EQ(panel_page_height(14), h1 - 200);

  // Widgets created later go into a chosen tab.
  use_tab(14, 0);
  int card = image_view(kAny, 10, 60, 150, 100, -1);
  close_container();
  EXPECT_EQ(gtk_widget_get_parent(gtk_widget_of(card)), gtk_notebook_get_nth_page(nb, 0));
}
