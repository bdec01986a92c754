// Canvases: the owned image, drawing and reading back, and pointer and key events.
#include "wintest_fixture.h"

#include "imaging/draw.h"
#include "toolkit/gtk_access.h"

using namespace tk;

class Canvases : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    open_window(63, 0, 0, 640, 480, "Scene properties");
    c = canvas(kAny, 10, 10, 200, 100);
    ASSERT_TRUE(eventually([this] { return GTK_WIDGET_MAPPED(gtk_widget_of(c)); }));
    tk::test::take_events();
  }
  int c = -1;
};

TEST_F(Canvases, OwnsAnImageOfItsSizeThatReadsBack) {
  imaging::Image* img = canvas_image(c);
  ASSERT_NE(img, nullptr);
  EXPECT_EQ(img->width, 200);
  EXPECT_EQ(img->height, 100);
  uint8_t* p = img->at(5, 6);
  p[0] = 10, p[1] = 20, p[2] = 30, p[3] = 255;
  refresh_canvas(c);
  EXPECT_EQ(canvas_image(c)->at(5, 6)[1], 20);

  // What is on the screen is what was drawn, once the expose has run (a
  // loaded machine may take a while to deliver it).
  int shown_rgb[3] = {-1, -1, -1};
  auto read_screen = [&] {
    GdkPixbuf* shown = gdk_pixbuf_get_from_drawable(nullptr, gtk_widget_of(c)->window, nullptr,
                                                    0, 0, 0, 0, 200, 100);
    if (!shown) return false;
    guchar* px = gdk_pixbuf_get_pixels(shown) + 6 * gdk_pixbuf_get_rowstride(shown) +
                 5 * gdk_pixbuf_get_n_channels(shown);
    for (int i = 0; i < 3; ++i) shown_rgb[i] = px[i];
    g_object_unref(shown);
    return shown_rgb[0] == 10 && shown_rgb[1] == 20 && shown_rgb[2] == 30;
  };
  eventually(read_screen);
  EXPECT_EQ(shown_rgb[0], 10);
  EXPECT_EQ(shown_rgb[1], 20);
  EXPECT_EQ(shown_rgb[2], 30);

  // Resizing keeps the top-left content.
  resize_widget(c, kKeep, kKeep, 300, 50);
  img = canvas_image(c);
  EXPECT_EQ(img->width, 300);
  EXPECT_EQ(img->height, 50);
  EXPECT_EQ(img->at(5, 6)[2], 30);
  EXPECT_EQ(img->at(250, 10)[3], 0);
  // One side of 0: no pixels, and nothing is copied into them.
  resize_widget(c, kKeep, kKeep, 0, 50);
  EXPECT_EQ(canvas_image(c)->width, 0);
  EXPECT_TRUE(canvas_image(c)->pixels.empty());
  resize_widget(c, kKeep, kKeep, 0, 0);
  EXPECT_EQ(canvas_image(c)->width, 0);
  // A size nobody could hold is capped rather than allocated.
  resize_widget(c, kKeep, kKeep, 16384, 16384);
  EXPECT_LE(size_t(canvas_image(c)->width) * size_t(canvas_image(c)->height), size_t(64) << 20);
}

TEST_F(Canvases, PointerEventsCarryPositionButtonsAndModifiers) {
  using tk::test::mouse_button;
  tk::test::mouse_enter(c, 1, 2);
  tk::test::mouse_move(c, 15, 25, kLeftButton, kShift);
  mouse_button(c, 30, 40, 1, true, kControl);
  mouse_button(c, 30, 40, 1, false);
  mouse_button(c, 31, 41, 3, true);
  mouse_button(c, 31, 41, 3, false);
  tk::test::mouse_leave(c, 300, 2);
  std::vector<Event> got;
  for (const Event& e : tk::test::take_events())
    if (e.object == c) got.push_back(e);
  struct Want {
    int subtype, x, y, buttons, modifiers;
  } want[] = {
      {kCanvasMouseEnter, 1, 2, 0, 0},
      {kCanvasMouseMove, 15, 25, kLeftButton, kShift},
      {kCanvasLeftButtonDown, 30, 40, kLeftButton, kControl},
      {kLeftClick, 30, 40, kLeftButton, kControl},
      {kCanvasLeftButtonUp, 30, 40, 0, 0},
      {kCanvasRightButtonDown, 31, 41, kRightButton, 0},
      {kRightClick, 31, 41, kRightButton, 0},
      {kCanvasRightButtonUp, 31, 41, 0, 0},
      {kCanvasMouseLeave, 300, 2, 0, 0},
  };
  ASSERT_EQ(got.size(), std::size(want));
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].type, kEventWidget);
    EXPECT_EQ(got[i].window, 63);
    EXPECT_EQ(got[i].subtype, want[i].subtype) << i;
    EXPECT_EQ(got[i].x, want[i].x) << i;
    EXPECT_EQ(got[i].y, want[i].y) << i;
    EXPECT_EQ(got[i].buttons, want[i].buttons) << i;
    EXPECT_EQ(got[i].modifiers, want[i].modifiers) << i;
  }
}

TEST_F(Canvases, AttributesAreThoseOfTheEventBeingHandled) {
  tk::test::mouse_move(c, 5, 6);
  tk::test::mouse_move(c, 7, 8, kLeftButton, kAlt);
  Event first = wait_event();
  EXPECT_EQ(canvas_mouse_x(c), 5);
  EXPECT_EQ(canvas_mouse_y(c), 6);
  EXPECT_EQ(first.subtype, kCanvasMouseMove);
  wait_event();
  EXPECT_EQ(canvas_mouse_x(c), 7);
  EXPECT_EQ(canvas_buttons(c), kLeftButton);
  EXPECT_EQ(canvas_modifiers(c), kAlt);
}

TEST_F(Canvases, KeysGoToTheCanvasWithTheFocus) {
  tk::test::focus(c);
  ASSERT_TRUE(widget_focused(c));
  struct Case {
    int key, modifiers;
  } cases[] = {{kKeySpace, 0}, {kKeyEscape, 0}, {kKeyLeft, 0}, {kKeyUp, 0},
               {kKeyRight, kShift}, {kKeyDown, 0}, {kKeyDelete, 0}, {'A', kControl}};
  for (const Case& k : cases) {
    tk::test::take_events();
    tk::test::press_key(63, k.key, k.modifiers);
    std::vector<Event> got = tk::test::take_events();
    ASSERT_EQ(got.size(), 1u) << k.key;
    EXPECT_EQ(got[0].object, c);
    EXPECT_EQ(got[0].subtype, kCanvasKeyDown);
    EXPECT_EQ(got[0].key, k.key);
    EXPECT_EQ(got[0].modifiers, k.modifiers);
  }
}

// A canvas drawn on demand in a small scroll area: the painter is asked only
// for the part in sight (also after scrolling), and reading the image back
// has it draw the rest first, once.
TEST_F(Canvases, APainterDrawsWhatComesIntoSightAndTheRestWhenReadBack) {
  const int area = scroll_area(kAny, 220, 10, 200, 100, 2000, 2000, 16);
  const int big = canvas(kAny, 0, 0, 2000, 2000);
  close_container();
  ASSERT_TRUE(eventually([&] { return GTK_WIDGET_MAPPED(gtk_widget_of(big)); }));
  struct Part {
    int x, y, w, h;
  };
  std::vector<Part> asked;
  imaging::Colour paint = imaging::rgba(10, 20, 30);
  set_canvas_painter(big, [&](imaging::Image& image, int x, int y, int w, int h) {
    asked.push_back({x, y, w, h});
    imaging::Canvas draw(image);
    draw.set_clip(x, y, w, h);
    draw.set_colour(paint);
    draw.box(0, 0, image.width, image.height);
  });
  auto all_within = [&](int left, int top) {
    for (const Part& p : asked)
      if (p.x < left || p.y < top || p.x + p.w > left + 200 || p.y + p.h > top + 100) return false;
    return true;
  };

  invalidate_canvas(big);
  ASSERT_TRUE(eventually([&] { return !asked.empty(); }));
  EXPECT_TRUE(all_within(0, 0));
  asked.clear();
  set_scroll_position(area, 1000, 0);
  ASSERT_TRUE(eventually([&] { return !asked.empty(); }));
  EXPECT_TRUE(all_within(1000, 0));
  EXPECT_EQ(imaging::get_pixel(*canvas_image(big), 1999, 0), paint);
  asked.clear();
  EXPECT_EQ(imaging::get_pixel(*canvas_image(big), 5, 1999), paint);
  EXPECT_TRUE(asked.empty());

  // Without a painter the image is the program's to draw, as before.
  paint = imaging::rgba(1, 2, 3);
  set_canvas_painter(big, nullptr);
  invalidate_canvas(big);
  EXPECT_EQ(imaging::get_pixel(*canvas_image(big), 1999, 0), imaging::rgba(10, 20, 30));
}
