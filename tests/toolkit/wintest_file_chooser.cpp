// The real GTK file chooser, driven from outside through the X server with
// xdotool, as a user types a path into it.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "toolkit/requester.h"
#include "wintest_fixture.h"

// After gtest: X11's headers define None.
#include <gdk/gdkx.h>

namespace {

class FileChooser : public RealInputTest {
 protected:
  void SetUp() override {
    RealInputTest::SetUp();
    char dir_template[] = "/tmp/tk-chooser-XXXXXX";
    ASSERT_NE(mkdtemp(dir_template), nullptr);
    dir_ = dir_template;
    ASSERT_EQ(mkdir((dir_ + "/pictures").c_str(), 0755), 0);
    std::ofstream(dir_ + "/pictures/strip.png") << "picture";
    std::ofstream(dir_ + "/near.png") << "picture";
    char* here = g_get_current_dir();
    old_dir_ = here;
    g_free(here);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    if (chdir(old_dir_.c_str()) != 0) ADD_FAILURE() << "cannot go back to " << old_dir_;
    remove_tree(dir_);
    RealInputTest::TearDown();
  }

  // What to type into the chooser titled `title`: Ctrl+L, the text and Return.
  struct Typing {
    std::string title, text;
    bool sent = false;
  };

  // The chooser opens its folder in the background, first dropping the list
  // it had, and its file list drops the keys typed before it has rows: the
  // keys wait until the chooser is in the working folder and every list of
  // it shows rows.
  static void lists_ready(GtkWidget* widget, gpointer ready) {
    if (GTK_IS_TREE_VIEW(widget)) {
      GtkTreeModel* rows = gtk_tree_view_get_model(GTK_TREE_VIEW(widget));
      if (!rows || gtk_tree_model_iter_n_children(rows, nullptr) == 0) *static_cast<bool*>(ready) = false;
    }
    if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), lists_ready, ready);
  }
  static gboolean type_when_ready(gpointer data) {
    auto* t = static_cast<Typing*>(data);
    GtkWidget* chooser = nullptr;
    GList* all = gtk_window_list_toplevels();
    for (GList* w = all; w; w = w->next)
      if (GTK_IS_FILE_CHOOSER_DIALOG(w->data) && GTK_WIDGET_MAPPED(GTK_WIDGET(w->data)) &&
          t->title == gtk_window_get_title(GTK_WINDOW(w->data)))
        chooser = GTK_WIDGET(w->data);
    g_list_free(all);
    bool ready = false;
    if (chooser) {
      gchar* folder = gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(chooser));
      gchar* here = g_get_current_dir();
      ready = folder && g_str_equal(folder, here);
      g_free(folder);
      g_free(here);
      lists_ready(chooser, &ready);
    }
    if (!ready) return TRUE;
    gdk_display_sync(gdk_display_get_default());  // no earlier chooser is left to be found
    std::string script = "xdotool search --sync --onlyvisible --limit 1 --name '^" + t->title +
                         "$' windowactivate --sync key --clearmodifiers ctrl+l type --clearmodifiers --delay 30 \"$1\"" +
                         " && xdotool key --clearmodifiers Return";
    const gchar* argv[] = {"sh", "-c", script.c_str(), "sh", t->text.c_str(), nullptr};
    t->sent = g_spawn_async(nullptr, const_cast<gchar**>(argv), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr,
                            nullptr, nullptr);
    return FALSE;
  }

  std::string dir_, old_dir_;
};

// Answers every dialog still open (the chooser and any message it shows
// over itself), so that a chooser that ignored the keys fails the test
// instead of hanging it.
gboolean cancel_dialogs(gpointer) {
  GList* all = gtk_window_list_toplevels();
  for (GList* w = all; w; w = w->next)
    if (GTK_IS_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data)))
      gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_CANCEL);
  g_list_free(all);
  return TRUE;  // the test removes it
}

}  // namespace

TEST_F(FileChooser, ReturnsThePathTypedIntoIt) {
  gchar* xdotool = g_find_program_in_path("xdotool");
  if (!xdotool) GTEST_SKIP() << "xdotool is not installed";
  g_free(xdotool);
  tk::set_requesters(nullptr);  // the real GTK dialogs
  struct Case {
    std::string typed, chosen;
  } cases[] = {
      {dir_ + "/pictures/strip.png", dir_ + "/pictures/strip.png"},
      // A bare name is taken in the working directory, where it opens.
      {"near.png", dir_ + "/near.png"},
  };
  for (const Case& c : cases) {
    Typing typing{"Select an image", c.typed};
    guint typer = g_timeout_add(10, type_when_ready, &typing);
    guint guard = g_timeout_add(60000, cancel_dialogs, nullptr);
    tk::FileChoice got = tk::open_file("Select an image", "", "PNG files|*.png|All files|*.*", 0);
    g_source_remove(guard);
    if (!typing.sent) g_source_remove(typer);
    EXPECT_TRUE(typing.sent) << c.typed;
    EXPECT_EQ(got.path, c.chosen) << c.typed;
    EXPECT_EQ(got.pattern, 0) << c.typed;
  }
}

// Keys and buttons held in the X server, as read from it.
struct Held {
  int keys = 0;
  int buttons = 0;  // a bit per mouse button
};
Held held_now() {
  char map[32];
  XQueryKeymap(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), map);
  Held h;
  for (char bits : map) h.keys += __builtin_popcount(static_cast<unsigned char>(bits));
  GdkModifierType mask;
  gdk_window_get_pointer(gdk_get_default_root_window(), nullptr, nullptr, &mask);
  h.buttons = (mask & (GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK)) / GDK_BUTTON1_MASK;
  return h;
}

// A test stopped mid-drag or mid-keystroke leaves keys and buttons held on
// the display; the next test that sends real input starts with none. (The
// right button is left out: held over the desktop it opens the window
// manager's menu, which keeps the keyboard.)
class RealInput : public RealInputTest {};
TEST_F(RealInput, StartsWithNothingHeld) {
  struct Case {
    const char* held;
    int keys, buttons;
  } cases[] = {{"keydown ctrl", 1, 0}, {"keydown shift mousedown 1", 1, 1}, {"keydown a keydown alt", 2, 0}};
  for (const Case& c : cases) {
    ASSERT_EQ(system(("xdotool " + std::string(c.held)).c_str()), 0);
    Held before = held_now();
    EXPECT_EQ(before.keys, c.keys) << c.held;
    EXPECT_EQ(before.buttons, c.buttons) << c.held;
    RealInputTest::SetUp();
    Held after = held_now();
    EXPECT_EQ(after.keys, 0) << c.held;
    EXPECT_EQ(after.buttons, 0) << c.held;
  }
}
