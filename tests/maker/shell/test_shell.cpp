// The shell's pieces that need no display: switches, title, line breaks,
// the preview picture and the kind tables the commands are found by.
#include <gtest/gtest.h>

#include "imaging/draw.h"
#include "maker/codewindows/code_windows.h"
#include "maker/common/preview_picture.h"
#include "maker/project/state.h"
#include "maker/shell/main_window.h"
#include "maker/shell/resource_browser.h"
#include "maker/shell/small_windows.h"
#include "maker/shell/startup.h"

TEST(CommandLine, OnlyTheFirstTwoParametersCountAndExactly) {
  struct Case {
    std::vector<std::string> parameters;
    int service, debug;
  } cases[] = {
      {{}, 0, 0},
      {{"-s"}, 1, 0},
      {{"-d"}, 0, 1},
      {{"-s", "-d"}, 1, 1},
      {{"-d", "-s", "x"}, 1, 1},
      {{"x", "-d"}, 0, 1},
      {{"x", "y", "-d"}, 0, 0},
      {{"a", "b", "-s", "-d"}, 0, 0},
      {{"-S", "-D"}, 0, 0},
      {{"-sd"}, 0, 0},
      {{" -d"}, 0, 0},
  };
  for (const Case& c : cases) {
    reset_program_values();
    read_command_line_switches(c.parameters);
    EXPECT_EQ(g_service_mode, c.service) << ::testing::PrintToString(c.parameters);
    EXPECT_EQ(g_debug_log, c.debug) << ::testing::PrintToString(c.parameters);
  }
}

TEST(MainWindowTitle, VersionDigitsAndProjectName) {
  reset_program_values();
  EXPECT_EQ(main_window_title(), "Quillop Game Maker v1.2.7");
  g_project_name = "My game";
  EXPECT_EQ(main_window_title(), "Quillop Game Maker v1.2.7 - My game");
  g_file_version = 5;  // fewer than three digits must not read past the text
  EXPECT_EQ(version_text(), "5");
  reset_program_values();
}

TEST(GameComments, LineBreaksAreStoredAsCrLf) {
  struct Case {
    std::string typed, stored;
  } cases[] = {
      {"", ""},
      {"one line", "one line"},
      {"a\nb", "a\r\nb"},
      {"a\r\nb", "a\r\nb"},
      {"a\rb", "a\r\nb"},
      {"\n\n", "\r\n\r\n"},
      {"a\r\n\nb\r", "a\r\n\r\nb\r\n"},
      {"\r\r\n", "\r\n\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(with_crlf_line_ends(c.typed), c.stored) << ::testing::PrintToString(c.typed);
}

namespace {
// Opaque red source of the given size under a fresh number.
int red_image(int w, int h) {
  int n = imaging::create_image(imaging::kAnyImage, w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) imaging::set_image_pixel(n, x, y, imaging::rgba(255, 0, 0));
  return n;
}
// The covered part of a preview: the size of the box of pixels with alpha.
std::pair<int, int> covered(const imaging::Image& p) {
  int w = 0, h = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (imaging::alpha(imaging::get_pixel(p, x, y)) > 0) {
        w = std::max(w, x + 1);
        h = std::max(h, y + 1);
      }
  return {w, h};
}
}  // namespace

TEST(PreviewPicture, FitsIntoTheTopLeftOfA100SquareKeepingTheShape) {
  struct Case {
    int w, h, drawn_w, drawn_h;
  } cases[] = {
      {300, 150, 100, 50}, {40, 80, 50, 100}, {100, 100, 100, 100},
      {1, 1, 100, 100},    {1000, 3, 100, 0},  {3, 2, 100, 67},
  };
  for (const Case& c : cases) {
    int source = red_image(c.w, c.h);
    imaging::Image p = preview_picture(source);
    ASSERT_EQ(p.width, 100);
    ASSERT_EQ(p.height, 100);
    EXPECT_EQ(covered(p), std::make_pair(c.drawn_h ? c.drawn_w : 0, c.drawn_h))
        << c.w << " x " << c.h;
    imaging::free_image(source);
  }
}

TEST(PreviewPicture, MissingImageGivesATransparentSquare) {
  imaging::Image p = preview_picture(-1);
  EXPECT_EQ(p.width, 100);
  EXPECT_EQ(covered(p), std::make_pair(0, 0));
}

TEST(ResourceKinds, BackgroundAndFontCommandsAreCrossed) {
  // The fourth add command is the background with item 28, the fifth the font with 27.
  ASSERT_EQ(resource_kinds().size(), 7u);
  EXPECT_STREQ(resource_kinds()[3].kind, "Backgrounds");
  EXPECT_EQ(resource_kinds()[3].add_item, 28);
  EXPECT_STREQ(resource_kinds()[4].kind, "Fonts");
  EXPECT_EQ(resource_kinds()[4].add_item, 27);
  EXPECT_STREQ(resource_kind_of_add_item(28)->kind, "Backgrounds");
  EXPECT_STREQ(resource_kind_of_add_item(27)->kind, "Fonts");
  for (int card = 115; card <= 121; ++card)
    EXPECT_EQ(resource_kind_of_create_card(card), &resource_kinds()[size_t(card - 115)]);
  EXPECT_EQ(resource_kind_of_create_card(114), nullptr);
  EXPECT_EQ(resource_kind_of_add_item(31), nullptr);
}

TEST(Shortcuts, EveryShortcutNamesAMenuItemOfTheMenuBar) {
  for (const Shortcut& s : main_shortcuts()) {
    bool found = false;
    for (const MenuRow& row : menu_bar_rows()) found |= row.item == s.menu_item;
    EXPECT_TRUE(found) << s.menu_item;
  }
}
