// Widgets: creating, setting and reading back, and the events a user's
// clicks, double clicks and changes produce.
#include "wintest_fixture.h"

#include "toolkit/gtk_access.h"

using namespace tk;

class Widgets : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    open_window(63, 0, 0, 640, 480, "Dialog");
    ASSERT_TRUE(eventually([] { return GTK_WIDGET_MAPPED(gtk_window_of(63)); }));
    tk::test::take_events();  // the size event of its first showing
  }
};

TEST_F(Widgets, CommonPropertiesAndNeutralValues) {
  int b = button(65, 10, 20, 100, 25, "Done");
  EXPECT_EQ(b, 65);
  EXPECT_EQ(widget_kind(65), WidgetKind::Button);
  EXPECT_EQ(widget_window(65), 63);
  EXPECT_EQ(text(65), "Done");
  set_text(65, "Finish");
  EXPECT_EQ(text(65), "Finish");
  resize_widget(65, 30, kKeep, kKeep, 40);
  EXPECT_EQ(widget_x(65), 30);
  EXPECT_EQ(widget_y(65), 20);
  EXPECT_EQ(widget_width(65), 100);
  EXPECT_EQ(widget_height(65), 40);
  set_widget_data(65, 42);
  EXPECT_EQ(widget_data(65), 42);
  set_tooltip(65, "Press me");
  EXPECT_EQ(tooltip(65), "Press me");
  hide_widget(65, true);
  EXPECT_TRUE(widget_hidden(65));
  disable_widget(65, true);
  EXPECT_TRUE(widget_disabled(65));
  set_colour(65, ColourRole::Back, 200 + 256 * 200 + 65536 * 200);
  EXPECT_EQ(colour(65, ColourRole::Back), 200 + 256 * 200 + 65536 * 200);
  EXPECT_EQ(colour(65, ColourRole::Front), -1);

  // A new widget under a taken number replaces the old one.
  EXPECT_EQ(label(65, 0, 0, 50, 20, "now a label"), 65);
  EXPECT_EQ(widget_kind(65), WidgetKind::Label);
  EXPECT_EQ(widget_data(65), 0);

  free_widget(65);
  EXPECT_FALSE(widget_exists(65));
  for (int missing : {65, 999, -1}) {
    set_text(missing, "x");
    set_state(missing, 1);
    EXPECT_EQ(text(missing), "");
    EXPECT_EQ(state(missing), 0);
    EXPECT_EQ(widget_x(missing), 0);
    EXPECT_EQ(widget_data(missing), 0);
    EXPECT_EQ(item_count(missing), 0);
    EXPECT_EQ(item_text(missing, 0), "");
    EXPECT_EQ(add_item(missing, -1, "x"), -1);
    EXPECT_EQ(widget_window(missing), -1);
    EXPECT_EQ(colour(missing, ColourRole::Back), -1);
    EXPECT_EQ(canvas_image(missing), nullptr);
  }
}

TEST_F(Widgets, ButtonsAndCheckBoxesReportClicks) {
  int b = button(kAny, 10, 10, 80, 25, "OK");
  int c = check_box(kAny, 10, 40, 200, 25, "Advanced scripting mode");
  int t = image_button(kAny, 10, 70, 24, 24, -1, kImageButtonToggle);
  tk::test::take_events();
  tk::test::click(b);
  EXPECT_EQ(subtypes_of(b), std::vector<int>{kLeftClick});
  tk::test::click(c);
  EXPECT_EQ(subtypes_of(c), std::vector<int>{kLeftClick});
  EXPECT_EQ(state(c), 1);
  tk::test::click(t);
  EXPECT_EQ(subtypes_of(t), std::vector<int>{kLeftClick});
  EXPECT_EQ(state(t), 1);
  // The program's own changes raise nothing.
  set_state(c, 0);
  set_state(t, 0);
  EXPECT_TRUE(tk::test::take_events().empty());
  EXPECT_EQ(state(c), 0);
  EXPECT_EQ(state(t), 0);
}

TEST_F(Widgets, OptionGroupsEndAtAnyOtherWidget) {
  int a1 = option(kAny, 10, 60, 380, 25, "Keep the original image size");
  int a2 = option(kAny, 10, 90, 380, 25, "Resize all frames");
  label(kAny, 10, 130, 380, 25, "Place");
  int b1 = option(kAny, 10, 160, 380, 25, "Left-top");
  int b2 = option(kAny, 10, 190, 380, 25, "Center");
  int b3 = option(kAny, 10, 220, 380, 25, "Stretch");
  set_state(a2, 1);
  set_state(b3, 1);
  EXPECT_EQ(state(a1), 0);
  EXPECT_EQ(state(a2), 1);
  EXPECT_EQ(state(b3), 1);
  tk::test::take_events();
  tk::test::click(b1);
  EXPECT_EQ(subtypes_of(b1), std::vector<int>{kLeftClick});
  EXPECT_EQ(state(b1), 1);
  EXPECT_EQ(state(b3), 0);
  EXPECT_EQ(state(b2), 0);
  EXPECT_EQ(state(a2), 1);  // the other group keeps its choice
}

TEST_F(Widgets, ImageViewReportsClicksOnRelease) {
  imaging::create_image(91, 150, 100);
  int v = image_view(kAny, 10, 10, 150, 100, 91);
  EXPECT_EQ(widget_image(v), 91);
  EXPECT_NE(gtk_image_get_pixbuf(GTK_IMAGE(gtk_bin_get_child(GTK_BIN(gtk_widget_of(v))))), nullptr);
  struct Case {
    int button;
    bool twice;
    std::vector<int> subtypes;
  } cases[] = {
      {1, false, {kLeftClick}},
      {1, true, {kLeftClick, kLeftDoubleClick}},
      {3, false, {kRightClick}},
      {3, true, {kRightClick, kRightDoubleClick}},
  };
  for (const Case& c : cases) {
    tk::test::take_events();
    if (c.twice)
      tk::test::double_click_at(v, 20, 20, c.button);
    else
      tk::test::click_at(v, 20, 20, c.button);
    EXPECT_EQ(subtypes_of(v), c.subtypes) << "button " << c.button << (c.twice ? " twice" : "");
  }
  // A press alone is not a click yet. These go through the X server, and GDK
  // passes a button on only into the window it last saw the pointer enter:
  // the window manager shows the window first, with the pointer's crossing.
  ASSERT_TRUE(tk::test::settle(63));
  GdkWindow* win = gtk_widget_of(v)->window;
  gdk_test_simulate_button(win, 5, 5, 1, GdkModifierType(0), GDK_BUTTON_PRESS);
  process_pending();  // a round trip: the press has been handled
  EXPECT_TRUE(subtypes_of(v).empty());
  gdk_test_simulate_button(win, 5, 5, 1, GdkModifierType(0), GDK_BUTTON_RELEASE);
  ASSERT_TRUE(eventually([] { return pending_event_count() > 0; }));
  EXPECT_EQ(subtypes_of(v), std::vector<int>{kLeftClick});

  set_image(v, 12345);  // no such picture: shows nothing
  EXPECT_EQ(gtk_image_get_pixbuf(GTK_IMAGE(gtk_bin_get_child(GTK_BIN(gtk_widget_of(v))))), nullptr);
}

TEST_F(Widgets, RealDoubleClickThroughTheXServer) {
  ASSERT_TRUE(release_real_input());
  imaging::create_image(91, 150, 100);
  int v = image_view(kAny, 10, 10, 150, 100, 91);
  ASSERT_TRUE(eventually([&] { return GTK_WIDGET_MAPPED(gtk_widget_of(v)); }));
  activate_window(63);
  ASSERT_TRUE(eventually([] { return gtk_window_is_active(GTK_WINDOW(gtk_window_of(63))); }));
  int ox = 0, oy = 0;
  gdk_window_get_origin(gtk_widget_of(v)->window, &ox, &oy);
  tk::test::take_events();
  // The X server's own pointer, as a user's mouse.
  tk::test::take_real_pointer();
  std::string cmd = "xdotool mousemove " + std::to_string(ox + 30) + " " + std::to_string(oy + 30) +
                    " click --repeat 2 --delay 50 1";
  ASSERT_EQ(system(cmd.c_str()), 0);
  std::vector<int> got;
  eventually([&] {
    for (int s : subtypes_of(v)) got.push_back(s);
    return got.size() >= 2;
  });
  EXPECT_EQ(got, (std::vector<int>{kLeftClick, kLeftDoubleClick}));
}

TEST_F(Widgets, LabelsAlignAndColour) {
  int l = label(kAny, 10, 165, 150, 20, "sprite_2", kLabelCentre);
  EXPECT_EQ(text(l), "sprite_2");
  EXPECT_FLOAT_EQ(GTK_MISC(gtk_widget_of(l))->xalign, 0.5f);
  set_colour(l, ColourRole::Back, 200 + 256 * 200 + 65536 * 200);
  EXPECT_EQ(colour(l, ColourRole::Back), 200 + 256 * 200 + 65536 * 200);
  load_font(122, "Arial", 11, kFontBold);
  set_font(l, 122);
  EXPECT_EQ(widget_font(l), 122);
  PangoFontDescription* d = gtk_widget_get_style(gtk_widget_of(l))->font_desc;
  EXPECT_EQ(pango_font_description_get_weight(d), PANGO_WEIGHT_BOLD);
  EXPECT_EQ(pango_font_description_get_size(d), 11 * PANGO_SCALE);
  set_font(l, 4444);  // no such font: back to the default
  EXPECT_EQ(widget_font(l), -1);
}

TEST_F(Widgets, DigitsOnlyInputDropsEverythingButDigits) {
  int in = input(kAny, 10, 10, 100, 25, "", kInputDigits);
  tk::test::take_events();
  tk::test::type_text(in, "12ab3");
  EXPECT_EQ(text(in), "123");
  EXPECT_FALSE(subtypes_of(in).empty());
  tk::test::paste_text(in, "x4-5 ");
  EXPECT_EQ(text(in), "12345");
  tk::test::type_text(in, "abc");
  EXPECT_EQ(text(in), "12345");

  // Real key presses into the focused input.
  tk::test::focus(in);
  ASSERT_TRUE(widget_focused(in));
  gtk_editable_set_position(GTK_EDITABLE(gtk_widget_of(in)), -1);  // focus selects all
  tk::test::press_key(63, 'A');
  tk::test::press_key(63, '7');
  EXPECT_EQ(text(in), "123457");

  // A plain input keeps everything.
  int plain = input(kAny, 10, 40, 100, 25, "");
  tk::test::type_text(plain, "a1-b");
  EXPECT_EQ(text(plain), "a1-b");
  tk::test::paste_text(plain, " x");
  EXPECT_EQ(text(plain), "a1-b x");
}

TEST_F(Widgets, InputEventsForChangesAndFocus) {
  int a = input(kAny, 10, 10, 100, 25, "start");
  int b = input(kAny, 10, 40, 100, 25, "");
  EXPECT_EQ(text(a), "start");
  tk::test::take_events();
  set_text(a, "quiet");  // the program's own change raises nothing
  EXPECT_TRUE(subtypes_of(a).empty());
  tk::test::type_text(a, "!");
  EXPECT_EQ(text(a), "quiet!");
  EXPECT_EQ(subtypes_of(a), std::vector<int>{kChange});

  tk::test::focus(a);
  tk::test::take_events();
  tk::test::focus(b);
  std::vector<Event> events = tk::test::take_events();
  auto has = [&](int widget, int subtype) {
    return std::any_of(events.begin(), events.end(),
                       [&](const Event& e) { return e.object == widget && e.subtype == subtype; });
  };
  EXPECT_TRUE(has(a, kLostFocus));
  EXPECT_TRUE(has(b, kFocus));
}

TEST_F(Widgets, ReadOnlyInputsAndTextAreas) {
  int ro = input(kAny, 10, 10, 100, 25, "fixed", kInputReadOnly | kInputBorderless);
  tk::test::type_text(ro, "more");
  EXPECT_EQ(text(ro), "fixed");
  set_colour(ro, ColourRole::Back, 255);
  EXPECT_EQ(colour(ro, ColourRole::Back), 255);

  int area = text_area(13, 10, 40, 380, 200);
  set_text(13, "line one");
  set_text(13, text(13) + "\r\nline two");
  EXPECT_EQ(text(area), "line one\r\nline two");
  tk::test::take_events();
  tk::test::type_text(area, "!");
  EXPECT_EQ(text(area), "line one\r\nline two!");
  EXPECT_EQ(subtypes_of(area), std::vector<int>{kChange});

  int shown = text_area(kAny, 10, 250, 380, 100, kTextReadOnly);
  set_text(shown, "comments");
  tk::test::type_text(shown, "typed");
  EXPECT_EQ(text(shown), "comments");
}

TEST_F(Widgets, SliderHoldsAValueInItsRange) {
  int s = slider(kAny, 120, 440, 500, 25, 0, 510);
  set_state(s, 255);
  EXPECT_EQ(state(s), 255);
  EXPECT_TRUE(tk::test::take_events().empty());
  tk::test::move_slider(s, 300);
  EXPECT_EQ(state(s), 300);
  EXPECT_EQ(subtypes_of(s), std::vector<int>{kChange});
  set_state(s, 9999);
  EXPECT_EQ(state(s), 510);
  set_state(s, -5);
  EXPECT_EQ(state(s), 0);
}

TEST_F(Widgets, ScrollAreasAndContainersHoldTheWidgetsCreatedInside) {
  int area = scroll_area(83, 0, 0, 300, 200, 640, 480, 16);
  int inside = button(kAny, 10, 10, 50, 25, "in");
  close_container();
  int outside = button(kAny, 400, 10, 50, 25, "out");
  EXPECT_EQ(area, 83);
  EXPECT_EQ(scroll_inner_width(83), 640);
  EXPECT_EQ(scroll_inner_height(83), 480);
  set_scroll_inner_size(83, 780, 190);
  EXPECT_EQ(scroll_inner_width(83), 780);
  EXPECT_EQ(scroll_inner_height(83), 190);
  EXPECT_EQ(gtk_widget_get_parent(gtk_widget_of(inside)), gtk_bin_get_child(GTK_BIN(gtk_widget_of(83))));
  EXPECT_NE(gtk_widget_get_parent(gtk_widget_of(outside)), gtk_widget_get_parent(gtk_widget_of(inside)));
  set_scroll_inner_size(83, 300, 2000);
  ASSERT_TRUE(tk::test::settle(63));
  set_scroll_position(83, 0, 100);
  EXPECT_EQ(scroll_y(83), 100);
  GtkAdjustment* v = gtk_layout_get_vadjustment(GTK_LAYOUT(gtk_bin_get_child(GTK_BIN(gtk_widget_of(83)))));
  EXPECT_EQ(v->step_increment, 16);

  // Later widgets go into a scroll area again through use_container.
  use_container(83);
  int card = image_view(kAny, 10, 60, 150, 100, -1);
  close_container();
  EXPECT_EQ(gtk_widget_get_parent(gtk_widget_of(card)), gtk_widget_get_parent(gtk_widget_of(inside)));

  int frame = container(kAny, 10, 130, 100, 280, kContainerRaised);
  int tile = input(kAny, 5, 5, 50, 25, "16", kInputDigits);
  close_container();
  EXPECT_EQ(gtk_frame_get_shadow_type(GTK_FRAME(gtk_widget_of(frame))), GTK_SHADOW_OUT);
  // Freeing a container frees what it holds.
  free_widget(frame);
  EXPECT_FALSE(widget_exists(tile));
  free_widget(83);
  EXPECT_FALSE(widget_exists(inside));
  EXPECT_FALSE(widget_exists(card));
  EXPECT_TRUE(widget_exists(outside));
}

TEST_F(Widgets, ClosingAWindowFreesItsWidgets) {
  int b = button(kAny, 0, 0, 10, 10, "x");
  int p = panel(kAny, 0, 30, 200, 200);
  add_tab(p, "one");
  int in_tab = label(kAny, 0, 0, 50, 20, "deep");
  close_container();
  close_window(63);
  for (int n : {b, p, in_tab}) EXPECT_FALSE(widget_exists(n));
}
