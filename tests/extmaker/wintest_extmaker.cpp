// quillop-extmaker's window driven as a user would: the fields, the editor,
// File > New, Open, Save, Save as and Exit, with scripted requesters, in a
// scratch working directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "codeeditor/code_editor.h"
#include "extmaker/extmaker.h"
#include "imaging/image.h"
#include "toolkit/testing.h"
#include "toolkit/toolkit.h"

#include "extmaker_test_support.h"

namespace {

namespace fs = std::filesystem;
using tk::test::Asked;

constexpr const char* kNameDialog = "Enter the extension name";

// The open window of that title (dialogs take their numbers at run time).
int window_titled(const std::string& title) {
  for (int w = tk::kFirstDynamicNumber; w < tk::kFirstDynamicNumber + 100000; ++w)
    if (tk::window_exists(w) && tk::window_title(w) == title) return w;
  return -1;
}

int input_of(int dialog) {
  for (int w : tk::test::widgets_of_window(dialog))
    if (tk::widget_kind(w) == tk::WidgetKind::Input) return w;
  return -1;
}

// Answers the name dialog once it waits: types `name` over its text and
// presses the button.
void answer_name(const std::string& name, const char* button = "OK") {
  tk::test::when_idle([name, button] {
    int dialog = window_titled(kNameDialog);
    ASSERT_NE(dialog, -1);
    tk::set_text(input_of(dialog), "");
    tk::test::type_text(input_of(dialog), name);
    tk::test::click(tk::test::find_widget(dialog, button));
  });
}

const ExtensionFields kStars{"Stars", "Ann", "Twinkling\r\nstars\r\n", "Call stars();\r\n",
                             "function stars() {\r\n\treturn 1;\r\n}\r\n"};

class Extmaker : public InScratchDir {
 protected:
  void SetUp() override {
    InScratchDir::SetUp();
    tk::set_test_mode(true);
    tk::set_instant_pause(true);
    ask_ = std::make_unique<tk::test::ScriptedRequesters>();
    build_extmaker_window();
    tk::process_pending();
    tk::clear_events();
  }
  void TearDown() override {
    EXPECT_EQ(ask_->unanswered(), 0) << "answers left over";
    ask_.reset();
    tk::close_all_windows();
    tk::clear_events();
    InScratchDir::TearDown();
  }

  // Chooses a File menu item and handles what it queues, as the loop does.
  static bool command(int item) {
    bool going = handle_extmaker_event({tk::kEventMenu, kExtmakerWindow, item});
    for (const tk::Event& e : tk::test::take_events()) going = handle_extmaker_event(e) && going;
    return going;
  }
  const tk::test::Question& last_asked() const { return ask_->asked.back(); }

  std::unique_ptr<tk::test::ScriptedRequesters> ask_;
};

TEST_F(Extmaker, StartUpBuildsTheWindowWithItsFieldsMenuAndShortcuts) {
  EXPECT_EQ(tk::window_title(kExtmakerWindow), "Quillop Extension Maker");
  EXPECT_EQ(tk::window_width(kExtmakerWindow), 1024);
  EXPECT_EQ(tk::window_height(kExtmakerWindow), 768);
  EXPECT_TRUE(fs::is_directory("Extensions"));
  EXPECT_EQ(g_package_name, "");

  struct Place {
    int widget;
    tk::WidgetKind kind;
    int x, y, width, height;
  };
  const Place places[] = {
      {kNameField, tk::WidgetKind::Input, 10, 35, 200, 22},
      {kAuthorField, tk::WidgetKind::Input, 10, 90, 200, 22},
      {kDescriptionField, tk::WidgetKind::TextArea, 10, 145, 200, 80},
      {kHelpField, tk::WidgetKind::TextArea, 10, 270, 200, 300},
      {kCodeEditor, tk::WidgetKind::Foreign, 220, 35, 794, 703},
      {tk::test::find_widget(kExtmakerWindow, "Extension name"), tk::WidgetKind::Label, 10, 10, 200, 22},
      {tk::test::find_widget(kExtmakerWindow, "Author"), tk::WidgetKind::Label, 10, 65, 200, 22},
      {tk::test::find_widget(kExtmakerWindow, "Description"), tk::WidgetKind::Label, 10, 120, 200, 22},
      {tk::test::find_widget(kExtmakerWindow, "Help"), tk::WidgetKind::Label, 10, 245, 200, 22},
      {tk::test::find_widget(kExtmakerWindow, "Code"), tk::WidgetKind::Label, 220, 10, 200, 22},
  };
  for (const Place& p : places) {
    EXPECT_EQ(tk::widget_kind(p.widget), p.kind) << p.widget << " at " << p.x << "," << p.y;
    EXPECT_EQ(tk::widget_window(p.widget), kExtmakerWindow);
    EXPECT_EQ((std::vector{tk::widget_x(p.widget), tk::widget_y(p.widget), tk::widget_width(p.widget),
                           tk::widget_height(p.widget)}),
              (std::vector{p.x, p.y, p.width, p.height}))
        << p.widget;
    EXPECT_NE(tk::widget_font(p.widget), -1) << p.widget;
  }
  EXPECT_NE(codeeditor::code_editor_of(kCodeEditor), nullptr);
  EXPECT_EQ(codeeditor::editor_get_text(kCodeEditor), "");

  const std::pair<int, const char*> items[] = {{kItemNew, "New\tCtrl+N"},
                                               {kItemOpen, "Open...\tCtrl+O"},
                                               {kItemSave, "Save\tCtrl+S"},
                                               {kItemSaveAs, "Save as..."},
                                               {kItemExit, "Exit\tCtrl+X"}};
  for (const auto& [item, text] : items) {
    EXPECT_EQ(tk::menu_item_text(item), text);
    EXPECT_EQ(tk::menu_item_menu(item), kFileMenu);
  }
  // Five 16 x 16 pictures, each showing something, no two alike.
  std::vector<std::vector<uint8_t>> icons;
  for (int icon = kFirstIcon; icon < kFirstIcon + 5; ++icon) {
    ASSERT_NE(imaging::image_ptr(icon), nullptr) << icon;
    EXPECT_EQ(imaging::image_width(icon), 16);
    EXPECT_EQ(imaging::image_height(icon), 16);
    EXPECT_NE(imaging::image_ptr(icon)->pixels, imaging::Image(16, 16).pixels) << icon;
    for (const auto& other : icons) EXPECT_NE(imaging::image_ptr(icon)->pixels, other) << icon;
    icons.push_back(imaging::image_ptr(icon)->pixels);
  }

  const std::pair<int, int> shortcuts[] = {
      {'N', kItemNew}, {'O', kItemOpen}, {'S', kItemSave}, {'X', kItemExit}, {'A', -1}, {'V', -1}};
  for (const auto& [key, item] : shortcuts)
    EXPECT_EQ(tk::shortcut_item(kExtmakerWindow, tk::kControl, key), item) << char(key);
}

TEST_F(Extmaker, EditorHasItsOwnColoursAndJavaScriptStyling) {
  using namespace codeeditor;
  auto rgb = [](int r, int g, int b) { return r + 256 * g + 65536 * b; };
  const std::pair<int, int> fores[] = {
      {kStyleDefault, rgb(0, 0, 0)},   {2, rgb(54, 45, 227)},  {3, rgb(160, 160, 160)},
      {4, rgb(198, 0, 198)},           {5, rgb(208, 64, 64)},  {6, rgb(35, 163, 35)},
      {7, rgb(49, 170, 187)},          {8, rgb(32, 106, 34)},  {9, rgb(81, 80, 19)},
      {10, rgb(60, 60, 60)},           {11, rgb(255, 0, 0)},
  };
  for (const auto& [style, colour] : fores)
    EXPECT_EQ(editor_send(kCodeEditor, SCI_STYLEGETFORE, style), colour) << style;
  EXPECT_TRUE(editor_send(kCodeEditor, SCI_STYLEGETITALIC, 3));
  EXPECT_TRUE(editor_send(kCodeEditor, SCI_STYLEGETBOLD, 11));
  EXPECT_EQ(editor_send(kCodeEditor, SCI_GETCARETLINEBACK), rgb(255, 240, 240));
  EXPECT_EQ(editor_send(kCodeEditor, SCI_GETTABWIDTH), 4);
  EXPECT_FALSE(editor_send(kCodeEditor, SCI_GETUSETABS) == 0);
  EXPECT_EQ(editor_send(kCodeEditor, SCI_GETMARGINWIDTHN, 2), 24);

  // Keywords, calls, strings and comments; ";" is no separator here, so
  // "12;" is one plain word, not a number.
  editor_set_text(kCodeEditor, "if (x) y = 'a' + 12; // c\na&&b;", 1);
  editor_send(kCodeEditor, SCI_COLOURISE, 0, -1);
  std::string styles;
  for (sptr_t i = 0; i < editor_send(kCodeEditor, SCI_GETLENGTH); ++i) {
    int style = int(editor_send(kCodeEditor, SCI_GETSTYLEAT, i));
    styles += style == kStyleDefault ? '.' : char('0' + style);
  }
  EXPECT_EQ(styles, "22.6.6.....444.......33333.....");
}

TEST_F(Extmaker, SaveOnAFreshWindowAsksTheNameAndLaterSavesWriteAtOnce) {
  show_fields(kStars, 0);
  answer_name("stars");
  command(kItemSave);
  EXPECT_EQ(g_package_name, "stars");
  EXPECT_EQ(slurp("Extensions/stars.qex"), extension_package_bytes(kStars));
  ASSERT_FALSE(ask_->asked.empty());
  EXPECT_EQ(last_asked().title, "Quillop Extension Maker");
  EXPECT_EQ(last_asked().text, "Extension: stars successfully saved.");
  EXPECT_EQ(window_titled(kNameDialog), -1);
  EXPECT_FALSE(tk::window_disabled(kExtmakerWindow));

  tk::set_text(kAuthorField, "Bea");
  command(kItemSave);  // no dialog: an idle action would be needed to answer one
  EXPECT_EQ(read_extension_package(slurp("Extensions/stars.qex")).author, "Bea");
  EXPECT_EQ(ask_->messages().size(), 2u);
  EXPECT_FALSE(fs::exists("Extensions/stars.qex.part"));
}

TEST_F(Extmaker, SaveAsDialogHoldsTheNameIgnoresTheCloseBoxAndCancelChangesNothing) {
  g_package_name = "old";
  tk::test::when_idle([] {
    int dialog = window_titled(kNameDialog);
    ASSERT_NE(dialog, -1);
    EXPECT_EQ(tk::window_width(dialog), 400);
    EXPECT_EQ(tk::window_height(dialog), 100);
    EXPECT_TRUE(tk::window_disabled(kExtmakerWindow));
    EXPECT_TRUE(tk::window_kept_above(dialog));
    EXPECT_EQ(tk::text(input_of(dialog)), "old");
    const std::pair<const char*, int> buttons[] = {{"Cancel", 10}, {"OK", 290}};
    for (const auto& [text, x] : buttons) {
      int b = tk::test::find_widget(dialog, text);
      EXPECT_EQ((std::vector{tk::widget_x(b), tk::widget_y(b), tk::widget_width(b), tk::widget_height(b)}),
                (std::vector{x, 65, 100, 25}));
    }
    tk::test::request_close(dialog);
  });
  tk::test::when_idle([] {
    int dialog = window_titled(kNameDialog);
    ASSERT_NE(dialog, -1) << "the close box closed the dialog";
    tk::test::type_text(input_of(dialog), "er");
    tk::test::click(tk::test::find_widget(dialog, "Cancel"));
  });
  command(kItemSaveAs);
  EXPECT_EQ(g_package_name, "old");
  EXPECT_TRUE(fs::is_empty("Extensions"));
  EXPECT_TRUE(ask_->asked.empty());
  EXPECT_EQ(window_titled(kNameDialog), -1);
  EXPECT_FALSE(tk::window_disabled(kExtmakerWindow));
}

TEST_F(Extmaker, SaveAsNames) {
  // The package name decides the file; the name field only its first section.
  struct Case {
    const char* typed;
    const char* file;
  };
  const Case cases[] = {{"other", "Extensions/other.qex"},
                        {"", "Extensions/.qex"},
                        {"with space", "Extensions/with space.qex"}};
  show_fields(kStars, 0);
  for (const Case& c : cases) {
    answer_name(c.typed);
    command(kItemSaveAs);
    EXPECT_EQ(g_package_name, c.typed);
    EXPECT_EQ(read_extension_package(slurp(c.file)), kStars) << c.typed;
    EXPECT_EQ(ask_->messages().back(), "Extension: " + std::string(c.typed) + " successfully saved.");
  }
}

TEST_F(Extmaker, SaveAsRefusesANameThatLeadsOutOfTheFolder) {
  g_package_name = "kept";
  answer_name("../escape");
  tk::test::when_idle([] {
    int dialog = window_titled(kNameDialog);
    ASSERT_NE(dialog, -1) << "the dialog closed on a refused name";
    tk::test::click(tk::test::find_widget(dialog, "Cancel"));
  });
  command(kItemSaveAs);
  ASSERT_EQ(ask_->asked.size(), 1u);
  EXPECT_EQ(last_asked().title, "Error");
  EXPECT_EQ(g_package_name, "kept");
  EXPECT_FALSE(fs::exists("escape.qex"));
  EXPECT_TRUE(fs::is_empty("Extensions"));
}

TEST_F(Extmaker, AFailedSaveSaysSoAndKeepsTheFieldsAndThePreviousFile) {
  g_package_name = "stars";
  show_fields(kStars, 0);
  fs::create_directories("Extensions/stars.qex/inside");  // a folder in the way
  command(kItemSave);
  EXPECT_EQ(last_asked().title, "Error");
  EXPECT_EQ(last_asked().text, "Failed. Please try again.");
  EXPECT_EQ(window_fields(), kStars);
  EXPECT_TRUE(fs::is_directory("Extensions/stars.qex/inside"));

  fs::remove_all("Extensions");
  spill("Extensions", "not a folder");
  command(kItemSave);
  EXPECT_EQ(last_asked().text, "Failed. Please try again.");
  EXPECT_EQ(slurp("Extensions"), "not a folder");
}

TEST_F(Extmaker, OpenFillsTheFieldsAndSaveWritesIntoTheExtensionsFolder) {
  fs::create_directory("elsewhere");
  spill("elsewhere/stars.qex", "intro\n" + extension_package_bytes(
                                   {"Stars", "Ann", "Twinkling\nstars", "", "a();\n\nb();"}));
  codeeditor::editor_set_text(kCodeEditor, "old code", 1);
  ask_->answer_file("elsewhere/stars.qex");
  command(kItemOpen);
  const tk::test::Question& q = ask_->asked.at(0);
  EXPECT_EQ(q.what, Asked::OpenFile);
  EXPECT_EQ(q.title, "Select a Quillop Game Maker Extension...");
  EXPECT_EQ(q.default_path, "");
  EXPECT_EQ(q.patterns, "Quillop Extensions (*.qex)|*.qex");
  EXPECT_EQ(ask_->asked.size(), 1u);

  EXPECT_EQ(g_package_name, "stars");
  EXPECT_EQ(window_fields(),
            (ExtensionFields{"Stars", "Ann", "Twinkling\r\nstars\r\n", "", "a();\r\nb();\r\n"}));
  // Undo straight after Open does not bring back the code shown before.
  tk::test::focus(kCodeEditor);
  tk::test::press_key(kExtmakerWindow, 'Z', tk::kControl);
  EXPECT_FALSE(codeeditor::editor_send(kCodeEditor, SCI_CANUNDO));
  EXPECT_EQ(window_fields().code, "a();\r\nb();\r\n");

  command(kItemSave);
  EXPECT_EQ(slurp("Extensions/stars.qex"), extension_package_bytes(window_fields()));
  EXPECT_EQ(ask_->messages().back(), "Extension: stars successfully saved.");
}

TEST_F(Extmaker, OpenCancelledChangesNothing) {
  g_package_name = "stars";
  show_fields(kStars, 0);
  ask_->answer_file("");
  command(kItemOpen);
  EXPECT_EQ(g_package_name, "stars");
  EXPECT_EQ(window_fields(), kStars);
}

TEST_F(Extmaker, OpeningDamagedFilesGivesAClearResult) {
  fs::create_directory("folder.qex");
  spill("binary.qex", with_nuls("\x89PNG\r\n\x1a\n\0\xff\xfe\n[CODE]\n\0x\xc3"));
  spill("headerless.qex", "var x = 1;\nfunction f() {}\n");
  spill("huge.qex", "");
  fs::resize_file("huge.qex", kMaxPackageBytes + 1);

  struct Case {
    const char* path;
    std::string package_name;     // afterwards
    bool error;                   // an "Error" message shown
    std::string code;             // afterwards
  };
  const Case cases[] = {
      {"missing.qex", "missing", false, ""},
      {"headerless.qex", "headerless", false, ""},
      {"binary.qex", "binary", false, "\xEF\xBF\xBDx\xEF\xBF\xBD\r\n"},
      // The fields are cleared by then; keeping the name would let the next
      // Save overwrite the package that could not be shown.
      {"folder.qex", "", true, ""},
      {"huge.qex", "", true, ""},
  };
  for (const Case& c : cases) {
    show_fields(kStars, 0);
    g_package_name = "before";
    size_t asked = ask_->asked.size();
    ask_->answer_file(c.path);
    command(kItemOpen);
    EXPECT_EQ(g_package_name, c.package_name) << c.path;
    EXPECT_EQ(window_fields(), (ExtensionFields{"", "", "", "", c.code})) << c.path;
    EXPECT_EQ(ask_->asked.size(), asked + 1 + c.error) << c.path;
    if (c.error) {
      EXPECT_EQ(last_asked().title, "Error") << c.path;
      EXPECT_NE(last_asked().text.find(c.path), std::string::npos) << last_asked().text;
    }
  }
  EXPECT_TRUE(fs::is_regular_file("missing.qex"));
  EXPECT_EQ(fs::file_size("missing.qex"), 0u);
  EXPECT_TRUE(fs::is_empty("Extensions"));
}

TEST_F(Extmaker, NewAsksFirstAndClearsThePackageName) {
  g_package_name = "stars";
  show_fields(kStars, 0);
  ask_->answer_yes_no(0);
  command(kItemNew);
  EXPECT_EQ(last_asked().title, "Confirm");
  EXPECT_EQ(last_asked().text, "Create a new extension?");
  EXPECT_EQ(window_fields(), kStars);
  EXPECT_EQ(g_package_name, "stars");

  ask_->answer_yes_no(1);
  command(kItemNew);
  EXPECT_EQ(window_fields(), ExtensionFields{});
  EXPECT_EQ(g_package_name, "");
  EXPECT_TRUE(codeeditor::editor_send(kCodeEditor, SCI_CANUNDO));

  answer_name("fresh");  // the next Save asks for a name again
  command(kItemSave);
  EXPECT_EQ(slurp("Extensions/fresh.qex"), extension_package_bytes({}));
}

TEST_F(Extmaker, ExitAsksFromTheCloseBoxTheMenuAndCtrlXInTheEditor) {
  struct Case {
    const char* what;
    std::function<void()> act;
  };
  const Case cases[] = {
      {"close box", [] { tk::test::request_close(kExtmakerWindow); }},
      {"menu", [] { tk::test::choose_menu_item(kItemExit); }},
      {"Ctrl+X in the editor",
       [] {
         tk::test::focus(kCodeEditor);
         tk::test::press_key(kExtmakerWindow, 'X', tk::kControl);
       }},
  };
  for (const Case& c : cases) {
    for (int yes : {0, 1}) {
      c.act();
      std::vector<tk::Event> events = tk::test::take_events();
      // The window manager's focus changes may come at any time.
      std::erase_if(events, [](const tk::Event& e) {
        return e.type == tk::kEventWidget && (e.subtype == tk::kFocus || e.subtype == tk::kLostFocus);
      });
      ASSERT_EQ(events.size(), 1u) << c.what;
      ask_->answer_yes_no(yes);
      EXPECT_EQ(handle_extmaker_event(events[0]), yes == 0) << c.what;
      EXPECT_EQ(last_asked().title, "Confirm");
      EXPECT_EQ(last_asked().text, "Exit from Quillop Extension Maker?");
    }
  }
  EXPECT_EQ(codeeditor::editor_get_text(kCodeEditor), "");  // Ctrl+X cut nothing into it
}

}  // namespace

TEST_F(Extmaker, EveryWindowShowsItsTextsWhole) {
  std::string clipped = tk::test::describe_clipped_texts(kExtmakerWindow);
  tk::test::look_then_leave(clipped, {"Cancel"});
  command(kItemSaveAs);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_EQ(clipped, "");
}
