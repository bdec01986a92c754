// The image-effect dialog driven while its own loop runs: the window and its
// previews, the parameter rows, "OK" on one frame or every frame of the
// sprite, "Cancel", and each colour effect and transform end to end.
#include <functional>

#include "maker/graphics/frame_editor.h"
#include "maker/graphics/image_effects.h"
#include "maker/graphics/pixel_rules.h"
#include "graphics_fixture.h"

using namespace graphics_test;
using imaging::rgba;

namespace {

using Command = int (*)(int, const std::string&, int);
constexpr imaging::Colour kGrey = rgba(192, 192, 192), kWhite = rgba(255, 255, 255);
constexpr imaging::Colour kRed = rgba(200, 10, 10);

imaging::Colour shown_at(int canvas, int x, int y) {
  const imaging::Image* shown = tk::canvas_image(canvas);
  return shown ? imaging::get_pixel(*shown, x, y) : 0xdeadbeef;
}

class EffectDialogTest : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    g_current_frame = -1;  // no selection overlay over the strip's pictures
    // The frame editor the commands are called from, with its strip area.
    editor_ = tk::open_window(tk::kAny, 0, 0, 800, 600, "Edit sprite frames");
    tk::scroll_area(kFrameStripArea, 10, 45, 780, 490, 100, 100, 16);
    tk::close_container();
  }
  // Runs the command on the frame with `in_dialog` as the user's actions
  // while it is open; the last action must end it.
  void run(Command command, int frame, std::vector<std::function<void(int window)>> in_dialog) {
    for (auto& action : in_dialog) tk::test::when_idle([action] { action(open_dialog()); });
    command(editor_, sprite_, frame);
    EXPECT_EQ(tk::test::idle_actions_left(), 0);
    EXPECT_EQ(open_dialog(), -1);
    EXPECT_FALSE(tk::window_disabled(editor_));
  }
  static int open_dialog() {
    for (int w = tk::kFirstDynamicNumber; w < tk::kFirstDynamicNumber + 100000; ++w)
      if (tk::window_exists(w) && tk::test::find_widget(w, "MODIFIED") != -1) return w;
    return -1;
  }
  int editor_ = -1;
};

}  // namespace

TEST_F(EffectDialogTest, NothingIsShownWithoutAFrameOrWithoutAPicture) {
  add_frame(sprite_, "0", 4, 4);
  Frame broken;
  broken.sprite_name = sprite_;
  broken.image = -1;
  const int without_picture = g_frames.append(broken);
  const Command commands[] = {effect_grayscale, effect_colorize, effect_color_balance, effect_swap_channels,
                              effect_invert, effect_brightness, effect_opacity, effect_posterize, effect_noise,
                              effect_erase_color, effect_make_opaque, effect_shift, effect_mirror,
                              effect_rotate, effect_scale};
  const int before = frame_picture(0).width;
  for (Command command : commands)
    for (int index : {-1, without_picture, g_frames.count(), 1 << 30}) {
      // In test mode a loop waiting for input that never comes fails the test.
      EXPECT_EQ(command(editor_, sprite_, index), 0);
      EXPECT_EQ(open_dialog(), -1);
      EXPECT_FALSE(tk::window_disabled(editor_));
    }
  EXPECT_EQ(frame_picture(0).width, before);
  EXPECT_EQ(g_frames[without_picture].image, -1);
}

TEST_F(EffectDialogTest, WindowShowsTheFrameOverTheBackdropAndIgnoresTheCloseBox) {
  // Top-left pixel half transparent, the rest opaque red.
  imaging::Image p = picture(16, 16, kRed);
  imaging::set_pixel(p, 0, 0, rgba(0, 0, 0, 0));
  add_frame(sprite_, "0", p);
  set_project_modified(0);
  run(effect_brightness, 0,
      {[&](int w) {
         EXPECT_EQ(tk::window_title(w), "Brightness");
         EXPECT_EQ(tk::window_width(w), 800);
         EXPECT_EQ(tk::window_height(w), 600);
         EXPECT_TRUE(tk::window_disabled(editor_));
         EXPECT_TRUE(tk::window_kept_above(w));
         struct Place {
           const char* text;
           int x, y, width, height;
         } places[] = {{"OK", 725, 565, 65, 25},       {"Cancel", 10, 565, 65, 25},
                       {"Apply to all frames in the sprite", 530, 565, 160, 25},
                       {"ORIGINAL", 10, 10, 100, 25}, {"MODIFIED", 410, 10, 100, 25},
                       {"Level", 10, 445, 100, 25}};
         for (const Place& k : places) {
           const int widget = tk::test::find_widget(w, k.text);
           ASSERT_NE(widget, -1) << k.text;
           EXPECT_EQ(std::vector({tk::widget_x(widget), tk::widget_y(widget), tk::widget_width(widget),
                                  tk::widget_height(widget)}),
                     std::vector({k.x, k.y, k.width, k.height}))
               << k.text;
         }
         EXPECT_EQ(tk::state(tk::test::find_widget(w, "Apply to all frames in the sprite")), 1);
         for (int k = 0; k < 2; ++k) {
           const int area = widget_of(w, tk::WidgetKind::ScrollArea, k);
           EXPECT_EQ(tk::widget_x(area), 10 + 400 * k);
           EXPECT_EQ(tk::widget_y(area), 30);
           EXPECT_EQ(tk::widget_width(area), 380);
           EXPECT_EQ(tk::scroll_inner_width(area), 16);
           const int canvas = widget_of(w, tk::WidgetKind::Canvas, k);
           EXPECT_EQ(tk::widget_width(canvas), 16);
           EXPECT_EQ(shown_at(canvas, 0, 0), kGrey) << k;  // the backdrop's grey square
           EXPECT_EQ(shown_at(canvas, 1, 1), kRed) << k;
         }
         const int slider = widget_of(w, tk::WidgetKind::Slider);
         EXPECT_EQ(std::vector({tk::widget_x(slider), tk::widget_y(slider), tk::widget_width(slider)}),
                   std::vector({120, 440, 500}));
         EXPECT_EQ(tk::state(slider), 255);
         const int field = widget_of(w, tk::WidgetKind::Input);
         EXPECT_EQ(std::vector({tk::widget_x(field), tk::widget_y(field), tk::widget_width(field)}),
                   std::vector({630, 440, 50}));
         EXPECT_EQ(tk::text(field), "0");
         tk::test::request_close(w);
       },
       [&](int w) {
         EXPECT_NE(w, -1);  // still open after the close box
         retype(widget_of(w, tk::WidgetKind::Input), "300");
       },
       [&](int w) {
         EXPECT_EQ(tk::text(widget_of(w, tk::WidgetKind::Input)), "255");
         EXPECT_EQ(tk::state(widget_of(w, tk::WidgetKind::Slider)), 510);
         const int right = widget_of(w, tk::WidgetKind::Canvas, 1);
         EXPECT_EQ(shown_at(right, 1, 1), kWhite);
         EXPECT_EQ(shown_at(right, 0, 0), kGrey);  // transparent stays transparent
         EXPECT_EQ(shown_at(widget_of(w, tk::WidgetKind::Canvas, 0), 1, 1), kRed);
         press(w, "Cancel");
       }});
  EXPECT_EQ(imaging::get_pixel(frame_picture(0), 1, 1), kRed);
  EXPECT_EQ(g_project_modified, 0);
}

TEST_F(EffectDialogTest, LargeFrameScrollsAndShowsTheBackdropBeyondItsSize) {
  add_frame(sprite_, "0", picture(900, 400, rgba(0, 0, 0, 0)));
  run(effect_invert, 0, {[&](int w) {
        const int area = widget_of(w, tk::WidgetKind::ScrollArea, 1);
        EXPECT_EQ(tk::scroll_inner_width(area), 900);
        EXPECT_EQ(tk::scroll_inner_height(area), 400);
        const int right = widget_of(w, tk::WidgetKind::Canvas, 1);
        EXPECT_EQ(shown_at(right, 0, 0), kGrey);
        EXPECT_EQ(shown_at(right, 816, 0), kWhite);  // 816 = 800 + 16: the backdrop again
        EXPECT_EQ(shown_at(right, 800, 0), kGrey);
        press(w, "Cancel");
      }});
}

TEST_F(EffectDialogTest, OkRebuildsTheFrameGivenOrEveryFrameOfTheSprite) {
  struct Case {
    bool all_frames;
    std::vector<bool> changed;  // per frame index
  } cases[] = {{true, {true, false, true, true}}, {false, {false, false, true, false}}};
  for (const Case& c : cases) {
    g_frames.clear();
    add_frame(sprite_, "a", 3, 3);
    add_frame("other", "b", 3, 3);
    add_frame(sprite_, "c", picture(3, 3, rgba(0, 100, 0, 0)));  // erased pixels come out black
    add_frame(sprite_, "d", 3, 3);
    std::vector<int> old;
    for (const Frame& f : g_frames) old.push_back(f.image);
    set_project_modified(0);
    run(effect_invert, 2, {[&](int w) {
          if (!c.all_frames) tk::test::click(tk::test::find_widget(w, "Apply to all frames in the sprite"));
        },
                           [&](int w) { press(w, "OK"); }});
    const char* counters = "abcd";
    for (int k = 0; k < 4; ++k) {
      const Frame& f = g_frames[k];
      EXPECT_EQ(f.file_counter, std::string(1, counters[k]));
      EXPECT_EQ(f.image != old[size_t(k)], c.changed[size_t(k)]) << k;
      EXPECT_EQ(imaging::image_exists(old[size_t(k)]), !c.changed[size_t(k)]) << k;
      const imaging::Colour expected = k == 2 ? 0u : c.changed[size_t(k)] ? rgba(55, 245, 245) : kRed;
      EXPECT_EQ(imaging::get_pixel(frame_picture(k), 2, 2), expected) << k << " all " << c.all_frames;
    }
    EXPECT_EQ(g_project_modified, 0);
    // The strip was rebuilt from the new pictures.
    ASSERT_EQ(g_frame_strip_widgets.count(), 3);
    EXPECT_EQ(shown_at(g_frame_strip_widgets[0], 1, 1), c.all_frames ? rgba(55, 245, 245) : kRed);
  }
}

TEST_F(EffectDialogTest, CancelChangesNothingYetRebuildsTheStrip) {
  add_frame(sprite_, "0", 5, 5);
  const int image = g_frames[0].image;
  g_frame_strip_widgets.clear();
  run(effect_make_opaque, 0, {[&](int w) { press(w, "Cancel"); }});
  EXPECT_EQ(g_frames[0].image, image);
  EXPECT_EQ(imaging::get_pixel(frame_picture(0), 0, 0), kRed);
  ASSERT_EQ(g_frame_strip_widgets.count(), 1);
  EXPECT_TRUE(tk::widget_exists(g_frame_strip_widgets[0]));
}

namespace {

// One command end to end: the user's steps in the dialog, each handled by
// the dialog before the next, then "OK"; the frame before and the pixels
// expected after.
using Step = std::function<void(int window)>;
struct CommandCase {
  const char* title;
  Command command;
  imaging::Image before;
  std::vector<Step> steps;
  std::function<imaging::Colour(int x, int y)> after;
};

int input(int w, int n = 0) { return widget_of(w, tk::WidgetKind::Input, n); }
int slider(int w, int n = 0) { return widget_of(w, tk::WidgetKind::Slider, n); }
void click(int w, const char* text) { tk::test::click(tk::test::find_widget(w, text)); }
std::string field(int w, int n = 0) { return tk::text(input(w, n)); }
int position(int w, int n = 0) { return tk::state(slider(w, n)); }

}  // namespace

TEST_F(EffectDialogTest, EachCommandAppliesItsRuleWithTheValuesOfItsWidgets) {
  const imaging::Image grad = gradient(5, 3);  // rgba(x, y, 7)
  auto from = [&](const imaging::Image& p, int x, int y) {
    return x >= 0 && y >= 0 && x < p.width && y < p.height ? imaging::get_pixel(p, x, y) : 0u;
  };
  const CommandCase cases[] = {
      {"Convert to grayscale", effect_grayscale, picture(2, 2, rgba(255, 0, 0, 9)), {},
       [](int, int) { return rgba(54, 54, 54, 9); }},
      {"Invert", effect_invert, picture(2, 2, rgba(0, 100, 255, 77)), {},
       [](int, int) { return rgba(255, 155, 0, 77); }},
      {"Make opaque", effect_make_opaque, picture(1, 1, 0), {}, [](int, int) { return rgba(0, 0, 0); }},
      {"Brightness", effect_brightness, picture(3, 1, rgba(100, 0, 250)),
       {[](int w) { tk::test::move_slider(slider(w), 265); }, [](int w) { EXPECT_EQ(field(w), "10"); }},
       [](int, int) { return rgba(110, 10, 255); }},
      {"Brightness", effect_brightness, picture(1, 1, rgba(100, 0, 250)),
       {[](int w) { retype(input(w), "-999"); },
        [](int w) {
          EXPECT_EQ(field(w), "-255");
          EXPECT_EQ(position(w), 0);
        }},
       [](int, int) { return rgba(0, 0, 0); }},
      {"Colorize", effect_colorize, picture(2, 1, rgba(200, 100, 50)),
       {[](int w) {
          const int spectrum = widget_of(w, tk::WidgetKind::ImageView);
          EXPECT_EQ(tk::widget_image(spectrum), 215);
          EXPECT_EQ(std::vector({tk::widget_x(spectrum), tk::widget_y(spectrum), tk::widget_width(spectrum)}),
                    std::vector({120, 420, 360}));
          EXPECT_EQ(tk::widget_y(slider(w)), 450);
          EXPECT_EQ(tk::widget_width(slider(w)), 360);
          retype(input(w), "400");
        },
        [](int w) {
          EXPECT_EQ(field(w), "359");
          EXPECT_EQ(position(w), 359);
          tk::test::move_slider(slider(w), 120);
        },
        [](int w) { EXPECT_EQ(field(w), "120"); }},
       [](int, int) { return rgba(0, 100, 0); }},
      {"Color balance", effect_color_balance, picture(1, 2, rgba(200, 50, 50)),
       {[](int w) {
          EXPECT_EQ(tk::widget_y(slider(w, 2)), 500);
          EXPECT_EQ(tk::text(tk::test::find_widget(w, "Blue")), "Blue");
          retype(input(w, 0), "100");
          retype(input(w, 2), "-100");
        },
        [](int w) { EXPECT_EQ(position(w, 2), 155); }},
       [](int, int) { return rgba(255, 50, 0); }},
      {"Swap RGB channels", effect_swap_channels, picture(1, 1, rgba(10, 20, 30, 40)),
       {[](int w) { click(w, "RGB ==> BGR"); }}, [](int, int) { return rgba(30, 20, 10, 40); }},
      {"Swap RGB channels", effect_swap_channels, picture(1, 1, rgba(10, 20, 30, 40)), {},
       [](int, int) { return rgba(10, 30, 20, 40); }},
      {"Opacity", effect_opacity, picture(2, 2, rgba(1, 2, 3)), {[](int w) { retype(input(w), "50"); }},
       [](int, int) { return rgba(1, 2, 3, 128); }},
      {"Opacity", effect_opacity, picture(2, 2, rgba(1, 2, 3)), {[](int w) { retype(input(w), "0"); }},
       [](int, int) { return 0u; }},
      // No digits read 0, held to the lowest level.
      {"Posterize", effect_posterize, picture(1, 1, rgba(255, 3, 124)),
       {[](int w) { retype(input(w), "x"); },
        [](int w) {
          EXPECT_EQ(field(w), "2");
          EXPECT_EQ(position(w), 2);
        }},
       [](int, int) { return rgba(255, 4, 124); }},
      {"Posterize", effect_posterize, picture(1, 1, rgba(124, 125, 255)), {},
       [](int, int) { return rgba(100, 150, 250); }},
      {"Noise", effect_noise, picture(3, 3, rgba(0, 254, 255, 9)),
       {[](int w) { retype(input(w), "5"); }, [](int w) { retype(input(w), "0"); }},
       [](int, int) { return rgba(1, 255, 255, 9); }},
      {"Erase a color", effect_erase_color, grad,
       // The picked colour from the ORIGINAL preview: (3, 1, 7), luma 2.
       {[](int w) { tk::test::click_at(widget_of(w, tk::WidgetKind::Canvas, 0), 3, 1); }},
       [&](int x, int y) { return effects::luma(x, y, 7) == 2 ? 0u : from(grad, x, y); }},
      {"Shift the images", effect_shift, grad,
       {[](int w) { retype(input(w, 0), "999"); },
        [](int w) {
          EXPECT_EQ(field(w, 0), "5");
          EXPECT_EQ(position(w, 0), 10);
          retype(input(w, 0), "2");
          tk::test::move_slider(slider(w, 1), 3 - 1);
          click(w, "Wrap horizontally");
        },
        [](int w) { EXPECT_EQ(field(w, 1), "-1"); }},
       [&](int x, int y) { return from(grad, (x + 3) % 5, y + 1); }},
      {"Shift the images", effect_shift, grad,
       {[](int w) { retype(input(w, 0), "-5"); }},
       [](int, int) { return 0u; }},
      {"Mirror the images", effect_mirror, grad, {[](int w) { click(w, "Mirror vertically"); }},
       [&](int x, int y) { return from(grad, x, 2 - y); }},
      {"Rotate the images", effect_rotate, gradient(3, 3),
       {[](int w) { tk::test::move_slider(slider(w), 45); },
        [](int w) {
          EXPECT_EQ(tk::state(tk::test::find_widget(w, "Free")), 1);
          click(w, "270");
        },
        [](int w) { EXPECT_EQ(position(w), 270); }},
       [](int x, int y) { return rgba(y, 2 - x, 7); }},
      {"Scale the images", effect_scale, gradient(4, 4),
       {[](int w) { click(w, "1/4"); },
        [](int w) {
          EXPECT_EQ(field(w, 0), "25");
          EXPECT_EQ(position(w, 1), 25);
          tk::test::focus(input(w, 0));
          retype(input(w, 0), "0");
        },
        [](int w) {
          // "05" would still be in range: left as typed until the focus moves.
          EXPECT_EQ(field(w, 0), "0");
          EXPECT_EQ(position(w, 0), 1);
          tk::test::focus(input(w, 1));
        },
        [](int w) {
          EXPECT_EQ(field(w, 0), "1");
          EXPECT_EQ(field(w, 1), "1");  // "Lock" follows
          EXPECT_EQ(position(w, 1), 1);
          click(w, "Lock");
        },
        [](int w) {
          retype(input(w, 0), "200");
          retype(input(w, 1), "100");
        },
        [](int w) { EXPECT_EQ(position(w, 0), 200); }},
       [](int x, int y) { return rgba((x + 2) / 2, y, 7); }},
  };
  for (const CommandCase& c : cases) {
    g_frames.clear();
    add_frame(sprite_, "0", c.before);
    std::vector<Step> steps{[&](int w) { EXPECT_EQ(tk::window_title(w), c.title); }};
    steps.insert(steps.end(), c.steps.begin(), c.steps.end());
    steps.push_back([&](int w) {
      // The preview already shows the result that "OK" stores.
      const imaging::Colour shown = shown_at(widget_of(w, tk::WidgetKind::Canvas, 1), 0, 0);
      const imaging::Colour expected = c.after(0, 0);
      if (imaging::alpha(expected) == 255) {
        EXPECT_EQ(shown, expected) << c.title;
      }
      press(w, "OK");
    });
    run(c.command, 0, steps);
    const imaging::Image& after = frame_picture(0);
    ASSERT_EQ(after.width, c.before.width) << c.title;
    ASSERT_EQ(after.height, c.before.height) << c.title;
    for (int y = 0; y < after.height; ++y)
      for (int x = 0; x < after.width; ++x)
        EXPECT_EQ(imaging::get_pixel(after, x, y), c.after(x, y)) << c.title << " at " << x << "," << y;
  }
}

TEST_F(EffectDialogTest, EraseColourPicksFromTheChooserAndTheBackdrop) {
  imaging::Image p = picture(4, 1, rgba(54, 54, 54));
  imaging::set_pixel(p, 1, 0, rgba(255, 0, 0));
  imaging::set_pixel(p, 2, 0, rgba(0, 0, 0, 0));
  imaging::set_pixel(p, 3, 0, rgba(10, 10, 10));
  add_frame(sprite_, "0", p);
  add_frame(sprite_, "1", p);
  ask_->answer_colour(-1);                 // cancelled: black stays picked
  ask_->answer_colour(rgba(255, 0, 0) & 0xffffff);
  run(effect_erase_color, 1,
      {[&](int w) {
         const int swatch = input(w, 1);
         EXPECT_EQ(std::vector({tk::widget_x(swatch), tk::widget_y(swatch), tk::widget_width(swatch)}),
                   std::vector({10, 470, 100}));
         EXPECT_EQ(tk::colour(swatch, tk::ColourRole::Back), 0);
         click(w, "...");
       },
       [&](int w) {
         EXPECT_EQ(ask_->asked.back().colour, 0);
         EXPECT_EQ(tk::colour(input(w, 1), tk::ColourRole::Back), 0);
         click(w, "...");
       },
       [&](int w) {
         EXPECT_EQ(tk::colour(input(w, 1), tk::ColourRole::Back), 255);
         // Red and the grey of the same luma are erased, the others kept.
         const int right = widget_of(w, tk::WidgetKind::Canvas, 1);
         EXPECT_EQ(shown_at(right, 0, 0), kGrey);
         EXPECT_EQ(shown_at(right, 3, 0), rgba(10, 10, 10));
         // A transparent place of the frame picks the backdrop behind it.
         tk::test::click_at(widget_of(w, tk::WidgetKind::Canvas, 0), 2, 0);
       },
       [&](int w) {
         EXPECT_EQ(tk::colour(input(w, 1), tk::ColourRole::Back), 0xc0c0c0);
         retype(input(w, 0), "200");
       },
       [&](int w) { press(w, "OK"); }});
  // Picked grey 192 with tolerance 200 erases every luma, on both frames.
  for (int k = 0; k < 2; ++k)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(imaging::get_pixel(frame_picture(k), x, 0), 0u) << k << "," << x;
}

TEST_F(EffectDialogTest, NoiseOfThePreviewIsTheNoiseEveryFrameGets) {
  for (int k = 0; k < 3; ++k) add_frame(sprite_, std::to_string(k), picture(8, 8, rgba(100, 100, 100)));
  imaging::Image shown;
  run(effect_noise, 0,
      {[&](int w) { retype(input(w), "100"); },
       [&](int w) {
         shown = *tk::canvas_image(widget_of(w, tk::WidgetKind::Canvas, 1));
         press(w, "OK");
       }});
  bool varied = false;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const imaging::Colour c = imaging::get_pixel(frame_picture(0), x, y);
      EXPECT_EQ(c, imaging::get_pixel(shown, x, y));
      EXPECT_EQ(imaging::red(c), imaging::green(c));  // grey noise
      EXPECT_GE(imaging::red(c), 101);
      EXPECT_LE(imaging::red(c), 201);
      varied |= c != imaging::get_pixel(frame_picture(0), 0, 0);
      for (int k = 1; k < 3; ++k) EXPECT_EQ(imaging::get_pixel(frame_picture(k), x, y), c);
    }
  EXPECT_TRUE(varied);
}

// Keys pressed one by one into the focused field of the first row, each
// handled by the dialog before the next: what the field and slider show.
TEST_F(EffectDialogTest, EveryValueInRangeCanBeTypedDigitByDigit) {
  struct Key {
    char typed;  // a digit or '\b' is a key press; another character is typed in
    const char* shown;
    int slider;  // slider position
  };
  struct Case {
    const char* title;
    Command command;
    std::vector<Key> keys;
  };
  const Case cases[] = {
      // Posterize, 2..120, starts at 50.
      {"Posterize", effect_posterize, {{'1', "1", 2}, {'0', "10", 10}}},
      {"Posterize", effect_posterize, {{'1', "1", 2}, {'9', "19", 19}, {'\b', "1", 2}, {'5', "15", 15}}},
      // Above the maximum: replaced at once, and the caret stays at the end.
      {"Posterize", effect_posterize, {{'1', "1", 2}, {'3', "13", 13}, {'0', "120", 120}, {'\b', "12", 12}}},
      {"Posterize", effect_posterize, {{'2', "2", 2}, {'0', "20", 20}, {'0', "120", 120}}},
      // "0" and "00" can still become "02"; "-" or "x" can never reach 2.
      {"Posterize", effect_posterize, {{'0', "0", 2}, {'0', "00", 2}, {'2', "002", 2}, {'7', "0027", 27}}},
      {"Posterize", effect_posterize, {{'-', "2", 2}, {'9', "29", 29}}},
      {"Posterize", effect_posterize, {{'x', "2", 2}}},
      // Brightness, -255..255 on a slider 0..510.
      {"Brightness", effect_brightness, {{'-', "-", 255}, {'3', "-3", 252}, {'0', "-30", 225}, {'0', "-255", 0}}},
      // Percent, 0..100: nothing is below the minimum.
      {"Opacity", effect_opacity, {{'0', "0", 0}, {'7', "07", 7}, {'0', "070", 70}, {'0', "100", 100}}},
  };
  for (const Case& c : cases) {
    g_frames.clear();
    add_frame(sprite_, "0", 1, 1);
    std::vector<std::function<void(int)>> steps{[&](int w) {
      EXPECT_EQ(tk::window_title(w), c.title);
      const size_t length = field(w).size();
      tk::test::focus(input(w));
      tk::test::press_key(w, tk::kKeyEnd);
      for (size_t k = 0; k < length; ++k) tk::test::press_key(w, tk::kKeyBackspace);
    }};
    for (const Key& k : c.keys) {
      steps.push_back([&](int w) {
        if (k.typed == '\b') tk::test::press_key(w, tk::kKeyBackspace);
        else if (k.typed >= '0' && k.typed <= '9') tk::test::press_key(w, k.typed);
        else tk::test::type_text(input(w), std::string(1, k.typed));
      });
      steps.push_back([&](int w) {
        EXPECT_EQ(field(w), k.shown) << c.title << " after " << k.typed;
        EXPECT_EQ(position(w), k.slider) << c.title << " after " << k.typed;
      });
    }
    steps.push_back([](int w) { press(w, "Cancel"); });
    run(c.command, 0, steps);
  }
}

// A number below the minimum left as typed is replaced by the minimum when
// the field loses the focus, and before "OK" reads it.
TEST_F(EffectDialogTest, NumberBelowTheMinimumIsSettledOnFocusLossAndOnOk) {
  add_frame(sprite_, "0", picture(1, 1, rgba(255, 3, 124)));
  auto type_one = [](int w) {
    tk::test::focus(input(w));
    tk::test::press_key(w, tk::kKeyEnd);
    for (int k = 0; k < 2; ++k) tk::test::press_key(w, tk::kKeyBackspace);
    tk::test::press_key(w, '1');
  };
  run(effect_posterize, 0,
      {type_one,
       [](int w) {
         EXPECT_EQ(field(w), "1");
         tk::test::focus(tk::test::find_widget(w, "Apply to all frames in the sprite"));
       },
       [](int w) {
         EXPECT_EQ(field(w), "2");
         EXPECT_EQ(position(w), 2);
       },
       type_one,
       [](int w) {
         EXPECT_EQ(field(w), "1");
         tk::test::click(tk::test::find_widget(w, "OK"));
       }});
  // Level 2, not the 1 typed (which would divide by zero levels).
  EXPECT_EQ(imaging::get_pixel(frame_picture(0), 0, 0), rgba(255, 4, 124));
}
