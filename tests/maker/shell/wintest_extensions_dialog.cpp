// The installed-extensions dialog: opened from the Game tab, it lists the
// packages of the Extensions folder ticked as the project's extensions.dat
// says, and "OK" rewrites that file with the ticked base names.
#include "maker/project/extensions.h"
#include "shell_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr int kGameTab = 7;

int window_titled(const std::string& title) {
  for (int w = tk::kFirstDynamicNumber; w < tk::kFirstDynamicNumber + 100000; ++w)
    if (tk::window_exists(w) && tk::window_title(w) == title) return w;
  return -1;
}
int dialog() { return window_titled("Installed extensions"); }

int first_of_kind(tk::WidgetKind kind) {
  for (int w : tk::test::widgets_of_window(dialog()))
    if (tk::widget_kind(w) == kind) return w;
  return -1;
}
int package_list() { return first_of_kind(tk::WidgetKind::ListView); }
int pane() { return first_of_kind(tk::WidgetKind::TextArea); }
void press(const char* button) { tk::test::click(tk::test::find_widget(dialog(), button)); }

struct Box {
  int x, y, width, height;
  bool operator==(const Box&) const = default;
};
Box box_of(int widget) {
  return {tk::widget_x(widget), tk::widget_y(widget), tk::widget_width(widget),
          tk::widget_height(widget)};
}

std::vector<std::string> row_texts() {
  std::vector<std::string> out;
  for (int row = 0; row < tk::item_count(package_list()); ++row)
    out.push_back(tk::item_text(package_list(), row));
  return out;
}
std::vector<int> row_ticks() {
  std::vector<int> out;
  for (int row = 0; row < tk::item_count(package_list()); ++row)
    out.push_back(tk::item_state(package_list(), row));
  return out;
}

class ExtensionsDialog : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    g_project_name = "demo";
    fs::create_directories("Projects/demo");
  }
  static void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static void package(const std::string& base_name, const std::string& bytes) {
    write("Extensions/" + base_name + ".qex", bytes);
  }
  // Clicks the Game tab's picture as the user does and runs the main loop.
  void open_from_game_tab() {
    tk::set_state(kResourcePanel, kGameTab);
    tk::process_pending();
    tk::test::click(kInstalledExtensionsPicture);
    run_loop();
    EXPECT_EQ(dialog(), -1);
    EXPECT_FALSE(tk::window_disabled(kMainWindow));
    EXPECT_EQ(tk::test::idle_actions_left(), 0);
  }
  const std::string kList = "Projects/demo/extensions.dat";
};

TEST_F(ExtensionsDialog, UnnamedProjectIsAskedToSaveFirst) {
  g_project_name = "";
  open_from_game_tab();
  ASSERT_EQ(ask_->asked.size(), 1u);
  EXPECT_EQ(ask_->asked[0].title, "Message");
  EXPECT_EQ(ask_->asked[0].text, "Please save your project.");
}

TEST_F(ExtensionsDialog, TickingPackagesAndOkWritesTheirBaseNames) {
  package("mytool", "[EXTENSION]\nMy\nTool\n[AUTHOR]\nAnn\n[DESCRIPTION]\nDraws.\n\n[HELP]\ndraw();\n");
  package("second", "[EXTENSION]\nSecond\n[CODE]\nb();\n");
  package("third", "[EXTENSION]\nThird\n");
  write(kList, "second\nThird\n");  // names keep their case: "Third" is not "third"
  tk::test::when_idle([] {
    ASSERT_NE(dialog(), -1);
    EXPECT_EQ(tk::window_width(dialog()), 640);
    EXPECT_EQ(tk::window_height(dialog()), 480);
    EXPECT_TRUE(tk::window_disabled(kMainWindow));
    EXPECT_TRUE(tk::window_kept_above(dialog()));
    EXPECT_EQ(box_of(pane()), (Box{200, 10, 430, 420}));
    EXPECT_EQ(tk::colour(pane(), tk::ColourRole::Back), rgb(238, 238, 238));
    EXPECT_EQ(tk::widget_font(pane()), kFontCode);
    EXPECT_EQ(box_of(tk::test::find_widget(dialog(), "Cancel")), (Box{10, 440, 100, 25}));
    EXPECT_EQ(box_of(tk::test::find_widget(dialog(), "OK")), (Box{530, 440, 100, 25}));
    EXPECT_EQ(box_of(package_list()), (Box{10, 10, 180, 420}));
    EXPECT_EQ(tk::widget_font(package_list()), kFontCode);
    EXPECT_EQ(tk::column_count(package_list()), 1);

    EXPECT_EQ(row_texts(), (std::vector<std::string>{"MyTool", "Second", "Third"}));
    EXPECT_EQ(row_ticks(), (std::vector<int>{0, 1, 0}));
    for (int row = 0; row < 3; ++row) EXPECT_EQ(tk::item_data(package_list(), row), row);
    tk::test::request_close(dialog());  // ignored
    tk::set_state(package_list(), 0);
    tk::test::toggle_item_check(package_list(), 0);
  });
  tk::test::when_idle([] {
    ASSERT_NE(dialog(), -1);
    EXPECT_EQ(tk::text(pane()), "NAME:MyTool\rAUTHOR: Ann\r\rDESCRIPTION: \rDraws.\r\rHELP:\rdraw();\r");
    tk::test::toggle_item_check(package_list(), 1);
    tk::test::toggle_item_check(package_list(), 2);
  });
  tk::test::when_idle([] {
    EXPECT_EQ(row_ticks(), (std::vector<int>{1, 0, 1}));
    press("OK");
  });
  open_from_game_tab();

  EXPECT_EQ(read_file(kList), "mytool\nthird\n");
  // The flags in memory stay as the scan left them; the next scan reads the file.
  EXPECT_EQ(g_installed_extensions[1].enabled, 1);
  EXPECT_EQ(g_project_modified, 0);
  scan_installed_extensions();
  EXPECT_EQ(g_installed_extensions[0].enabled, 1);
  EXPECT_EQ(g_installed_extensions[1].enabled, 0);
}

TEST_F(ExtensionsDialog, CancelAfterTickingWritesNothing) {
  package("one", "[EXTENSION]\nOne\n");
  write(kList, "one\n");
  tk::test::when_idle([] { tk::test::toggle_item_check(package_list(), 0); });
  tk::test::when_idle([] {
    EXPECT_EQ(row_ticks(), (std::vector<int>{0}));
    press("Cancel");
  });
  open_from_game_tab();
  EXPECT_EQ(read_file(kList), "one\n");
}

TEST_F(ExtensionsDialog, UntickingEveryPackageLeavesAnEmptyList) {
  package("one", "[EXTENSION]\nOne\n");
  package("two", "[EXTENSION]\nTwo\n");
  write(kList, "two\none\n");
  tk::test::when_idle([] {
    EXPECT_EQ(row_ticks(), (std::vector<int>{1, 1}));
    tk::test::toggle_item_check(package_list(), 0);
    tk::test::toggle_item_check(package_list(), 1);
  });
  tk::test::when_idle([] { press("OK"); });
  open_from_game_tab();
  EXPECT_TRUE(fs::is_regular_file(kList));
  EXPECT_EQ(read_file(kList), "");
}

TEST_F(ExtensionsDialog, EmptyOrMissingFolderListsNothing) {
  for (bool folder : {true, false}) {
    SCOPED_TRACE(folder ? "empty folder" : "no folder");
    if (!folder) fs::remove_all("Extensions");
    write(kList, "gone\n");
    tk::test::when_idle([] {
      EXPECT_EQ(tk::item_count(package_list()), 0);
      tk::test::click(package_list());  // no row selected: the pane stays empty
    });
    tk::test::when_idle([] {
      EXPECT_EQ(tk::text(pane()), "");
      press("OK");
    });
    open_from_game_tab();
    EXPECT_EQ(read_file(kList), "");
  }
}

constexpr size_t kLongName = 64 << 10;

TEST_F(ExtensionsDialog, DamagedPackagesAreListedWithoutHarm) {
  package("binary", std::string("\0\xff\xfe[EXTENSION]\x80\n\0\0", 16));
  package("headerless", "just some text\nno sections\n");
  package("empty", "");
  package("long", "[EXTENSION]\n" + std::string(kLongName, 'x'));
  package("bad-utf8", "[EXTENSION]\nA\xC3\n[AUTHOR]\n\xED\xA0\x80\n");
  fs::create_directory("Extensions/folder.qex");  // not a file: skipped
  write("Extensions/notes.txt", "[EXTENSION]\nNotes\n");
  tk::test::when_idle([] {
    ASSERT_EQ(tk::item_count(package_list()), 5);
    EXPECT_TRUE(row_texts() ==
                (std::vector<std::string>{"A\xEF\xBF\xBD", "", "", "", std::string(kLongName, 'x')}));
    tk::set_state(package_list(), 4);
    tk::test::toggle_item_check(package_list(), 1);
  });
  tk::test::when_idle([] {
    // Compared as a whole, not printed: the name is 64 KiB long.
    EXPECT_TRUE(tk::text(pane()) ==
                "NAME:" + std::string(kLongName, 'x') + "\rAUTHOR: \r\rDESCRIPTION: HELP:");
    tk::set_state(package_list(), 0);
    tk::test::toggle_item_check(package_list(), 4);
  });
  tk::test::when_idle([] {
    EXPECT_EQ(tk::text(pane()),
              "NAME:A\xEF\xBF\xBD\rAUTHOR: \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\r\rDESCRIPTION: HELP:");
    press("OK");
  });
  open_from_game_tab();
  EXPECT_EQ(read_file(kList), "binary\nlong\n");
}

}  // namespace
