// The sprite-frame editor: window, menus, toolbar and shortcuts, the frame
// strip, and the commands that reorder, copy and remove frames.
#include "maker/graphics/frame_commands.h"
#include "maker/graphics/frame_editor.h"
#include "maker/shell/small_windows.h"
#include "graphics_fixture.h"

using namespace graphics_test;

namespace {

int editor() { return tk::widget_window(kFrameStripArea); }
std::vector<int> strip() { return {g_frame_strip_widgets.begin(), g_frame_strip_widgets.end()}; }
constexpr imaging::Colour kOverlay = imaging::rgba(149, 149, 255);

class FrameEditor : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    // The sprite dialog the editor is opened from.
    tk::open_window(kDialogWindow, 0, 0, 800, 600, "Sprite properties");
  }
};

}  // namespace

TEST_F(FrameEditor, WindowMenusToolbarAndShortcutsFollowTheTable) {
  add_frame("other", "0", 8, 8);
  add_frame(sprite_, "0", 32, 32);
  set_project_modified(0);
  tk::test::when_idle([&] {
    const int w = editor();
    ASSERT_NE(w, -1);
    EXPECT_EQ(tk::window_title(w), "Edit sprite frames");
    EXPECT_EQ(tk::window_width(w), 800);
    EXPECT_EQ(tk::window_height(w), 600);
    EXPECT_TRUE(tk::window_disabled(kDialogWindow));
    EXPECT_EQ(g_current_frame, 1);  // the sprite's first frame
    const int bar = tk::menu_bar_height(w);
    EXPECT_GT(bar, 0);
    EXPECT_EQ(tk::menu_item_menu(189), kFrameEditorMenuBar);
    const int done = tk::test::find_widget(w, "Done");
    EXPECT_EQ(std::make_pair(tk::widget_x(done), tk::widget_y(done)), std::make_pair(725, 600 - bar - 35));
    EXPECT_EQ(tk::widget_y(kFrameStripArea), 45);
    EXPECT_EQ(tk::widget_width(kFrameStripArea), 780);
    EXPECT_EQ(tk::widget_height(kFrameStripArea), 490 - bar);
    struct Row {
      int item;
      const char* text;
      int toolbar_x;
      const char* tooltip;
    } rows[] = {
        {189, "New...\tCtrl + N", 10, "Create new sprite"},
        {190, "Add new frame from file...\tCtrl + A", 40, "Add new frame from file"},
        {191, "Save as PNG image...\tCtrl + S", 70, "Save sprite as PNG strip"},
        {192, "Duplicate frame\tCtrl + D", 110, "Duplicate current frame"},
        {193, "Move frame left\tCtrl + Left", 140, "Move current frame to left"},
        {194, "Move frame right\tCtrl + Right", 170, "Move current frame to right"},
        {195, "Delete current frame\tDelete", 200, "Delete current frame"},
        {196, "Shift", 240, "Shift"},           {201, "Stretch", 390, "Stretch"},
        {202, "Grayscale", 430, "Grayscale"},   {205, "Swap RGB channel", 520, "Swap RGB channels"},
        {207, "Erase a color", 700, "Erase a color"}, {212, "Make opaque", 730, "Make opaque"},
    };
    std::vector<int> buttons;
    for (int b : tk::test::widgets_of_window(w))
      if (tk::widget_kind(b) == tk::WidgetKind::ImageButton) buttons.push_back(b);
    EXPECT_EQ(buttons.size(), 24u);
    for (const Row& r : rows) {
      EXPECT_EQ(tk::menu_item_text(r.item), r.text);
      int found = -1;
      for (int b : buttons)
        if (tk::widget_x(b) == r.toolbar_x) found = b;
      ASSERT_NE(found, -1) << r.toolbar_x;
      EXPECT_EQ(tk::tooltip(found), r.tooltip);
      EXPECT_EQ(tk::widget_y(found), 10);
      EXPECT_EQ(tk::widget_width(found), 25);
    }
    const std::pair<std::pair<int, int>, int> keys[] = {
        {{tk::kControl, 'N'}, 189},         {{tk::kControl, 'A'}, 190},          {{tk::kControl, 'S'}, 191},
        {{tk::kControl, 'D'}, 192},         {{tk::kControl, tk::kKeyLeft}, 193}, {{tk::kControl, tk::kKeyRight}, 194},
        {{0, tk::kKeyDelete}, 195},
    };
    for (auto [k, item] : keys) EXPECT_EQ(tk::shortcut_item(w, k.first, k.second), item);
    tk::test::request_close(w);  // ignored
  });
  tk::test::when_idle([] {
    EXPECT_NE(editor(), -1);
    press(editor(), "Done");
  });
  open_sprite_frame_editor(sprite_);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_EQ(editor(), -1);
  EXPECT_FALSE(tk::window_disabled(kDialogWindow));
  EXPECT_EQ(g_project_modified, 1);  // also without a change
  EXPECT_NE(g_sprites[0].thumbnail_image, -1);
  EXPECT_NE(card_of(sprite_), -1);
}

TEST_F(FrameEditor, StripLaysOutFramesAndClicksMoveTheSelection) {
  add_frame(sprite_, "0", picture(32, 32, imaging::rgba(0, 0, 0, 0)));
  add_frame("other", "0", 8, 8);
  add_frame(sprite_, "1", 64, 16);
  add_frame(sprite_, "2", 16, 48);
  tk::test::when_idle([] {
    ASSERT_EQ(strip().size(), 3u);
    const std::vector<int> x = {tk::widget_x(strip()[0]), tk::widget_x(strip()[1]), tk::widget_x(strip()[2])};
    EXPECT_EQ(x, (std::vector<int>{10, 52, 126}));
    for (int c : strip()) EXPECT_EQ(tk::widget_y(c), 10);
    EXPECT_EQ(tk::widget_height(strip()[2]), 48);
    EXPECT_EQ(tk::scroll_inner_width(kFrameStripArea), 152);
    EXPECT_EQ(tk::scroll_inner_height(kFrameStripArea), 58);
    EXPECT_EQ(tk::widget_data(strip()[1]), 2);
    // The selected transparent frame: checkerboard under the stipple.
    const imaging::Image& first = *tk::canvas_image(strip()[0]);
    EXPECT_EQ(imaging::get_pixel(first, 0, 0), kOverlay);
    EXPECT_EQ(imaging::get_pixel(first, 1, 0), imaging::rgba(192, 192, 192));
    EXPECT_EQ(imaging::get_pixel(first, 17, 0), imaging::rgba(255, 255, 255));
    EXPECT_EQ(imaging::get_pixel(*tk::canvas_image(strip()[1]), 0, 0), imaging::rgba(200, 10, 10));
    tk::test::right_click(strip()[2]);
  });
  tk::test::when_idle([] {
    EXPECT_EQ(g_current_frame, 0);
    tk::test::click(strip()[2]);
  });
  tk::test::when_idle([] {
    EXPECT_EQ(g_current_frame, 3);
    EXPECT_EQ(imaging::get_pixel(*tk::canvas_image(strip()[2]), 0, 0), kOverlay);
    EXPECT_EQ(imaging::get_pixel(*tk::canvas_image(strip()[0]), 0, 0), imaging::rgba(192, 192, 192));
    press(editor(), "Done");
  });
  open_sprite_frame_editor(sprite_);
}

TEST_F(FrameEditor, AFrameWithoutAPictureKeepsAPlaceOfNoSizeInTheStrip) {
  Frame missing;
  missing.sprite_name = sprite_;
  missing.file_counter = "0";
  missing.image = -1;  // its file could not be read
  g_frames.append(missing);
  add_frame(sprite_, "1", 20, 5);
  tk::test::when_idle([] {
    ASSERT_EQ(strip().size(), 2u);
    EXPECT_EQ(tk::widget_width(strip()[0]), 0);
    EXPECT_EQ(tk::widget_x(strip()[1]), 20);
    EXPECT_EQ(tk::scroll_inner_width(kFrameStripArea), 50);
    EXPECT_EQ(tk::scroll_inner_height(kFrameStripArea), 15);
    tk::test::press_key(editor(), tk::kKeyDelete);  // the selected first frame
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(counters_of(sprite_), (std::vector<std::string>{"1"}));
    press(editor(), "Done");
  });
  open_sprite_frame_editor(sprite_);
}

TEST_F(FrameEditor, ShortcutsMenusAndToolbarRunTheCommandsOnTheSelection) {
  add_frame(sprite_, "0", 10, 10);
  add_frame(sprite_, "1", 10, 10);
  add_frame(sprite_, "2", 10, 10);
  tk::test::when_idle([] { tk::test::press_key(editor(), tk::kKeyRight, tk::kControl); });
  tk::test::when_idle([&] {
    EXPECT_EQ(counters_of(sprite_), (std::vector<std::string>{"1", "0", "2"}));
    EXPECT_EQ(g_current_frame, 1);
    tk::test::press_key(editor(), 'D', tk::kControl);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(counters_of(sprite_), (std::vector<std::string>{"1", "0", "2", "3"}));
    EXPECT_EQ(g_current_frame, 3);
    EXPECT_EQ(strip().size(), 4u);
    tk::test::press_key(editor(), tk::kKeyLeft, tk::kControl);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(counters_of(sprite_), (std::vector<std::string>{"1", "0", "3", "2"}));
    tk::test::press_key(editor(), tk::kKeyDelete);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(counters_of(sprite_), (std::vector<std::string>{"1", "0", "2"}));
    EXPECT_EQ(g_current_frame, 0);
    tk::test::choose_menu_item(192);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(counters_of(sprite_), (std::vector<std::string>{"1", "0", "2", "3"}));
    int toolbar_delete = -1;
    for (int b : tk::test::widgets_of_window(editor()))
      if (tk::widget_kind(b) == tk::WidgetKind::ImageButton && tk::widget_x(b) == 200) toolbar_delete = b;
    tk::test::click(toolbar_delete);
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(counters_of(sprite_), (std::vector<std::string>{"1", "0", "2"}));
    EXPECT_EQ(strip().size(), 3u);
    press(editor(), "Done");
  });
  open_sprite_frame_editor(sprite_);
}

TEST_F(FrameEditor, ReorderCopyAndRemoveKeepOrderCountersAndOtherSprites) {
  using Command = int (*)(int, const std::string&, int);
  struct Case {
    const char* what;
    Command command;
    int current;  // index in the list below
    std::vector<std::string> order;  // the list afterwards, sprite:counter
    int selected;
  } cases[] = {
      {"left on the first", move_frame_up, 1, {"o:0", "s:0", "s:1", "s:2", "o:1"}, 1},
      {"left", move_frame_up, 2, {"o:0", "s:1", "s:0", "s:2", "o:1"}, 1},
      {"right on the last", move_frame_down, 3, {"o:0", "s:0", "s:1", "s:2", "o:1"}, 3},
      {"right", move_frame_down, 2, {"o:0", "s:0", "s:2", "s:1", "o:1"}, 3},
      {"duplicate the second", duplicate_frame, 2, {"o:0", "s:0", "s:1", "s:2", "o:1", "s:3"}, 5},
      {"delete", delete_frame, 2, {"o:0", "s:0", "s:2", "o:1"}, 1},
      {"delete the first", delete_frame, 1, {"o:0", "s:1", "s:2", "o:1"}, 1},
      {"nothing selected", delete_frame, -1, {"o:0", "s:0", "s:1", "s:2", "o:1"}, -1},
      {"another sprite's frame", delete_frame, 0, {"o:0", "s:0", "s:1", "s:2", "o:1"}, 1},
      {"copy of another sprite's frame", duplicate_frame, 4, {"o:0", "s:0", "s:1", "s:2", "o:1"}, 4},
  };
  for (const Case& c : cases) {
    clear_resource_lists();
    add_frame("o", "0", 4, 4);
    add_frame("s", "0", picture(4, 4, imaging::rgba(0, 0, 1)));
    add_frame("s", "1", picture(4, 4, imaging::rgba(0, 0, 2)));
    add_frame("s", "2", 4, 4);
    add_frame("o", "1", 4, 4);
    g_current_frame = c.current;
    c.command(kDialogWindow, "s", c.current);
    std::vector<std::string> order;
    for (const Frame& f : g_frames) order.push_back(f.sprite_name + ":" + f.file_counter);
    EXPECT_EQ(order, c.order) << c.what;
    EXPECT_EQ(g_current_frame, c.selected) << c.what;
  }
  // The copy is a picture of its own.
  EXPECT_NE(g_frames[1].image, g_frames[2].image);
}

TEST_F(FrameEditor, DeletingTheOnlyFrameLeavesNoneSelected) {
  const int only = add_frame(sprite_, "0", 4, 4);
  const int picture_number = g_frames[only].image;
  delete_frame(kDialogWindow, sprite_, only);
  EXPECT_TRUE(frames_of(sprite_).empty());
  EXPECT_EQ(g_current_frame, -1);
  EXPECT_FALSE(imaging::image_exists(picture_number));
}

TEST_F(FrameEditor, AppendedCountersStayUniqueAfterMoves) {
  struct Case {
    std::vector<const char*> counters;  // in list order
    const char* next;
  } cases[] = {
      {{}, "0"},
      {{"0", "1", "2"}, "3"},
      {{"2", "0", "1"}, "3"},  // one past the last is taken: one past the highest
      {{"0", "2", "1"}, "3"},
      {{"5", "0"}, "1"},
  };
  for (const Case& c : cases) {
    clear_resource_lists();
    for (const char* counter : c.counters) add_frame(sprite_, counter, 2, 2);
    EXPECT_EQ(next_frame_counter(sprite_), c.next) << c.counters.size();
  }
}
