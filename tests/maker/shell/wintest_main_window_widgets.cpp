// The main window's toolbar and menus as GTK shows them: places, tooltips,
// texts, pictures and separators read back from the real widgets, and the
// command each menu item raises when GTK activates it.
#include <gtk/gtk.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "maker/shell/builtin_pictures.h"
#include "tests/maker/shell/shell_fixture.h"
#include "toolkit/gtk_access.h"

namespace {

constexpr int kSeparator = -2;  // item id of a separator row

// One row of a menu: a separator, or an item with its id, text and picture
// (-1: none). The text is the label, then a TAB and the keys shown at the right.
struct Row {
  int id;
  std::string text;
  int picture;
  bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& r) {
  return out << "{" << r.id << ", \"" << r.text << "\", " << r.picture << "}";
}

Row sep() { return {kSeparator, "", -1}; }

class MainWindowWidgetsTest : public ShellTest {
 protected:
  void SetUp() override {
    load_builtin_pictures();
    ShellTest::SetUp();
  }

  // The built-in picture a GTK image shows, -1 when none matches.
  static int picture_of(GtkWidget* image) {
    if (!image || !GTK_IS_IMAGE(image) ||
        gtk_image_get_storage_type(GTK_IMAGE(image)) != GTK_IMAGE_PIXBUF)
      return -1;
    GdkPixbuf* shown = gtk_image_get_pixbuf(GTK_IMAGE(image));
    for (const BuiltinPicture& p : builtin_pictures()) {
      GdkPixbuf* pb = tk::pixbuf_of_image(p.number);
      if (!pb) continue;
      bool same = gdk_pixbuf_get_width(pb) == gdk_pixbuf_get_width(shown) &&
                  gdk_pixbuf_get_height(pb) == gdk_pixbuf_get_height(shown) &&
                  gdk_pixbuf_get_rowstride(pb) == gdk_pixbuf_get_rowstride(shown) &&
                  gdk_pixbuf_get_n_channels(pb) == gdk_pixbuf_get_n_channels(shown) &&
                  memcmp(gdk_pixbuf_get_pixels(pb), gdk_pixbuf_get_pixels(shown),
                         size_t(gdk_pixbuf_get_rowstride(pb)) * gdk_pixbuf_get_height(pb)) == 0;
      g_object_unref(pb);
      if (same) return p.number;
    }
    return -1;
  }

  // The texts of the labels inside a menu item, joined with a TAB.
  static std::string item_text(GtkWidget* item) {
    std::string text;
    std::vector<GtkWidget*> todo{gtk_bin_get_child(GTK_BIN(item))};
    while (!todo.empty()) {
      GtkWidget* w = todo.front();
      todo.erase(todo.begin());
      if (GTK_IS_LABEL(w)) {
        text += (text.empty() ? "" : "\t") + std::string(gtk_label_get_text(GTK_LABEL(w)));
      } else if (GTK_IS_CONTAINER(w)) {
        GList* kids = gtk_container_get_children(GTK_CONTAINER(w));
        for (GList* k = kids; k; k = k->next) todo.push_back(GTK_WIDGET(k->data));
        g_list_free(kids);
      }
    }
    return text;
  }

  // The rows of a GTK menu; an item's id is the command GTK's activation raises.
  static std::vector<Row> rows_of(GtkWidget* menu) {
    std::vector<Row> rows;
    GList* kids = gtk_container_get_children(GTK_CONTAINER(menu));
    for (GList* k = kids; k; k = k->next) {
      GtkWidget* item = GTK_WIDGET(k->data);
      if (GTK_IS_SEPARATOR_MENU_ITEM(item)) {
        rows.push_back(sep());
        continue;
      }
      tk::test::take_events();
      gtk_menu_item_activate(GTK_MENU_ITEM(item));
      std::vector<tk::Event> events = tk::test::take_events();
      int id = events.size() == 1 && events[0].type == tk::kEventMenu ? events[0].object : -1;
      int picture = GTK_IS_IMAGE_MENU_ITEM(item)
                        ? picture_of(gtk_image_menu_item_get_image(GTK_IMAGE_MENU_ITEM(item)))
                        : -1;
      rows.push_back({id, item_text(item), picture});
    }
    g_list_free(kids);
    return rows;
  }

  static GtkWidget* find_of_type(GtkWidget* root, GType type) {
    if (G_TYPE_CHECK_INSTANCE_TYPE(root, type)) return root;
    if (!GTK_IS_CONTAINER(root)) return nullptr;
    GtkWidget* found = nullptr;
    GList* kids = gtk_container_get_children(GTK_CONTAINER(root));
    for (GList* k = kids; k && !found; k = k->next) found = find_of_type(GTK_WIDGET(k->data), type);
    g_list_free(kids);
    return found;
  }
};

TEST_F(MainWindowWidgetsTest, ToolbarButtonsSitInOrderWithTheirPicturesAndTooltips) {
  struct Button {
    int x, width, picture;
    const char* tooltip;
  } expected[] = {
      {10, 25, 142, "New game"},
      {40, 25, 144, "Open game"},
      {70, 25, 145, "Save game"},
      {100, 50, 146, "Run game"},
      {200, 25, 147, "Add a new sprite"},
      {230, 25, 148, "Add a new sound"},
      {260, 25, 149, "Add a new music"},
      {290, 25, 151, "Add a new background"},
      {320, 25, 150, "Add a new font"},
      {350, 25, 152, "Add a new object"},
      {380, 25, 153, "Add a new scene"},
  };
  ASSERT_EQ(g_toolbar_buttons.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const Button& e = expected[i];
    SCOPED_TRACE(e.tooltip);
    GtkWidget* b = tk::gtk_widget_of(g_toolbar_buttons[i]);
    ASSERT_TRUE(b && GTK_IS_BUTTON(b));
    int x = -1, y = -1, width = -1, height = -1;
    gtk_container_child_get(GTK_CONTAINER(gtk_widget_get_parent(b)), b, "x", &x, "y", &y,
                            nullptr);
    gtk_widget_get_size_request(b, &width, &height);
    EXPECT_EQ(x, e.x);
    EXPECT_EQ(y, 10);
    EXPECT_EQ(width, e.width);
    EXPECT_EQ(height, 25);
    EXPECT_EQ(picture_of(gtk_button_get_image(GTK_BUTTON(b))), e.picture);
    gchar* tip = gtk_widget_get_tooltip_text(b);
    EXPECT_STREQ(tip, e.tooltip);
    g_free(tip);
  }
}

TEST_F(MainWindowWidgetsTest, MenuBarShowsItsTitlesItemsPicturesAndSeparators) {
  struct Menu {
    const char* title;
    std::vector<Row> rows;
  } expected[] = {
      {"File",
       {{17, "New\tCtrl + N", 142},
        sep(),
        {18, "Open...\tCtrl + O", 144},
        {19, "Save\tCtrl + S", 145},
        {20, "Save as...", 156},
        sep(),
        {21, "Run game\tF5", 146},
        sep(),
        {23, "Preferences...", 157},
        sep(),
        {22, "Exit\tCtrl + X", 158}}},
      {"Resources",
       {{24, "Add new sprite\tCtrl + 1", 147},
        {25, "Add new sound\tCtrl + 2", 148},
        {26, "Add new music\tCtrl + 3", 149},
        {28, "Add new background\tCtrl + 4", 151},
        {27, "Add new font\tCtrl + 5", 150},
        {29, "Add new object\tCtrl + 6", 152},
        {30, "Add new scene\tCtrl + 7", 153}}},
      {"Help",
       {{31, "Help\tF1", 159},
        {32, "About", 160},
        sep(),
        {33, "Check program version...", 161}}},
  };
  GtkWidget* bar = find_of_type(tk::gtk_window_of(kMainWindow), GTK_TYPE_MENU_BAR);
  ASSERT_NE(bar, nullptr);
  GList* titles = gtk_container_get_children(GTK_CONTAINER(bar));
  ASSERT_EQ(g_list_length(titles), std::size(expected));
  GList* t = titles;
  for (const Menu& m : expected) {
    SCOPED_TRACE(m.title);
    GtkWidget* title = GTK_WIDGET(t->data);
    EXPECT_EQ(item_text(title), m.title);
    GtkWidget* sub = gtk_menu_item_get_submenu(GTK_MENU_ITEM(title));
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(rows_of(sub), m.rows);
    t = t->next;
  }
  g_list_free(titles);
}

// The popup menus are found among GTK's menus by the command of their first item.
TEST_F(MainWindowWidgetsTest, PopupMenusShowTheirItemsAndSeparatorsWithoutPictures) {
  const std::vector<Row> expected[] = {
      {{40, "Edit", -1}, sep(), {41, "Delete", -1}},
      {{43, "Edit", -1}, sep(), {44, "Delete", -1}},
      {{46, "Edit", -1}, sep(), {47, "Delete", -1}},
      {{49, "Edit", -1}, sep(), {50, "Duplicate", -1}, sep(), {51, "Delete", -1}},
      {{53, "Edit", -1}, sep(), {54, "Delete", -1}},
      {{56, "Edit", -1}, sep(), {57, "Delete", -1}},
      {{59, "Edit", -1},
       sep(),
       {60, "Delete", -1},
       sep(),
       {61, "Move backward", -1},
       {62, "Move forward", -1}},
      {{70, "Edit", -1}, sep(), {71, "Delete", -1}},
  };
  std::vector<std::vector<Row>> menus;
  GList* tops = gtk_window_list_toplevels();
  for (GList* w = tops; w; w = w->next)
    if (GtkWidget* menu = find_of_type(GTK_WIDGET(w->data), GTK_TYPE_MENU))
      menus.push_back(rows_of(menu));
  g_list_free(tops);
  for (const std::vector<Row>& rows : expected) {
    SCOPED_TRACE(rows.front().id);
    auto found = std::find_if(menus.begin(), menus.end(), [&](const std::vector<Row>& m) {
      return !m.empty() && m.front().id == rows.front().id;
    });
    ASSERT_NE(found, menus.end());
    EXPECT_EQ(*found, rows);
  }
}

}  // namespace
