#include "maker/graphics/image_effects.h"

#include <algorithm>
#include <random>
#include <vector>

#include "imaging/draw.h"
#include "maker/graphics/effect_dialog.h"
#include "maker/graphics/pixel_rules.h"
#include "toolkit/toolkit.h"

namespace {

using effects::Pixel;
using imaging::Image;

constexpr int kHueSpectrum = 215;

// ---- parameter rows and their handlers ----

bool follow_rows(EffectDialog& d, const tk::Event& e) {
  bool changed = false;
  for (NumberRow& row : d.rows) changed |= follow_number_row(row, e);
  return changed;
}
bool is_box(EffectDialog& d, const tk::Event& e) {
  return std::find(d.boxes.begin(), d.boxes.end(), e.object) != d.boxes.end();
}
bool follow_rows_and_boxes(EffectDialog& d, const tk::Event& e) { return follow_rows(d, e) || is_box(d, e); }

void one_row(EffectDialog& d, const char* name, int minimum, int maximum, int start, int offset) {
  d.rows.push_back(number_row(name, 440, minimum, maximum, start, offset));
}

// Colour rules that need only the pixel and one value read per rendering.
template <Pixel (*rule)(Pixel, int)>
Image with_field_value(EffectDialog& d, const Image&, bool) {
  const int v = d.rows[0].field_value();
  return effects::map_colours(d.buffers, [v](Pixel p, int, int) { return rule(p, v); });
}
template <Pixel (*rule)(Pixel)>
Image plain_rule(EffectDialog& d, const Image&, bool) {
  return effects::map_colours(d.buffers, [](Pixel p, int, int) { return rule(p); });
}

// ---- the colour effects ----

void colorize_row(EffectDialog& d) {
  tk::image_view(tk::kAny, 120, 420, 360, 20, kHueSpectrum);
  d.rows.push_back(number_row("Hue", 450, 0, 359, 0, 0, 360));
}
Image colorize_result(EffectDialog& d, const Image&, bool) {
  const effects::HueColour hue = effects::hue_colour(d.rows[0].slider_value());
  return effects::map_colours(d.buffers, [hue](Pixel p, int, int) { return effects::colorize(p, hue); });
}

void balance_rows(EffectDialog& d) {
  const char* names[] = {"Red", "Green", "Blue"};
  for (int k = 0; k < 3; ++k) d.rows.push_back(number_row(names[k], 440 + 30 * k, -255, 255, 0, 255));
}
Image balance_result(EffectDialog& d, const Image&, bool) {
  const int r = d.rows[0].slider_value(), g = d.rows[1].slider_value(), b = d.rows[2].slider_value();
  return effects::map_colours(d.buffers, [=](Pixel p, int, int) { return effects::color_balance(p, r, g, b); });
}

void swap_options(EffectDialog& d) {
  const char* texts[] = {"RGB ==> RBG", "RGB ==> GRB", "RGB ==> GBR", "RGB ==> BRG", "RGB ==> BGR"};
  for (int k = 0; k < 5; ++k) d.boxes.push_back(tk::option(tk::kAny, 10 + 130 * k, 445, 120, 25, texts[k]));
  tk::set_state(d.boxes[0], 1);
}
int selected(const std::vector<int>& options) {
  for (size_t k = 0; k < options.size(); ++k)
    if (tk::state(options[k])) return int(k);
  return 0;
}
Image swap_result(EffectDialog& d, const Image&, bool) {
  const int option = selected(d.boxes);
  return effects::map_colours(d.buffers, [option](Pixel p, int, int) { return effects::swap_channels(p, option); });
}

// The preview draws new noise; "OK" gives every frame the noise last shown.
Image noise_result(EffectDialog& d, const Image&, bool preview) {
  if (preview) {
    std::uniform_int_distribution<int> level(0, d.rows[0].field_value());
    for (uint8_t& n : d.noise) n = uint8_t(level(d.random) + 1);
  }
  const int w = d.w, h = d.h;
  return effects::map_colours(d.buffers, [&](Pixel p, int x, int y) {
    return effects::add_noise(p, d.noise[size_t(y % h) * size_t(w) + size_t(x % w)]);
  });
}

void erase_row(EffectDialog& d) {
  one_row(d, "Tolerance", 0, 255, 0, 0);
  d.swatch = tk::input(tk::kAny, 10, 470, 100, 25, "", tk::kInputReadOnly | tk::kInputBorderless);
  tk::set_colour(d.swatch, tk::ColourRole::Back, int(d.picked));
  d.boxes.push_back(tk::button(tk::kAny, 120, 470, 25, 25, "..."));
}
bool erase_event(EffectDialog& d, const tk::Event& e) {
  int picked = -1;
  if (is_box(d, e)) {
    picked = tk::choose_colour(int(d.picked));
  } else if (e.object == d.left && e.subtype == tk::kLeftClick) {
    if (const Image* shown = tk::canvas_image(d.left)) picked = int(imaging::get_pixel(*shown, e.x, e.y) & 0xffffff);
  } else {
    return follow_rows(d, e);
  }
  if (picked < 0) return false;
  d.picked = imaging::Colour(picked) & 0xffffff;
  tk::set_colour(d.swatch, tk::ColourRole::Back, int(d.picked));
  return true;
}
Image erase_result(EffectDialog& d, const Image&, bool) {
  const int k = effects::luma(imaging::red(d.picked), imaging::green(d.picked), imaging::blue(d.picked));
  const int t = d.rows[0].field_value();
  return effects::map_colours(d.buffers, [=](Pixel p, int, int) { return effects::erase_color(p, k, t); });
}

// ---- the transforms ----

void shift_rows(EffectDialog& d) {
  d.rows.push_back(number_row("Horizontal", 440, -d.w, d.w, 0, d.w));
  d.boxes.push_back(tk::check_box(tk::kAny, 690, 440, 100, 25, "Wrap horizontally"));
  d.rows.push_back(number_row("Vertical", 470, -d.h, d.h, 0, d.h));
  d.boxes.push_back(tk::check_box(tk::kAny, 690, 470, 100, 25, "Wrap vertically"));
}
Image shift_result(EffectDialog& d, const Image& frame, bool) {
  return effects::shifted(frame, d.rows[0].field_value(), d.rows[1].field_value(), tk::state(d.boxes[0]),
                          tk::state(d.boxes[1]));
}

void mirror_boxes(EffectDialog& d) {
  d.boxes.push_back(tk::check_box(tk::kAny, 10, 445, 100, 25, "Mirror horizontally"));
  d.boxes.push_back(tk::check_box(tk::kAny, 10, 475, 100, 25, "Mirror vertically"));
}
Image mirror_result(EffectDialog& d, const Image&, bool) {
  return effects::mirrored(d.buffers, tk::state(d.boxes[0]), tk::state(d.boxes[1]));
}

// Options "0", "90", "180", "270", "Free", then the slider of the free angle.
void rotate_row(EffectDialog& d) {
  const char* texts[] = {"0", "90", "180", "270", "Free"};
  for (int k = 0; k < 5; ++k) d.boxes.push_back(tk::option(tk::kAny, 10 + 60 * k, 445, 50, 25, texts[k]));
  tk::set_state(d.boxes[0], 1);
  d.boxes.push_back(tk::slider(tk::kAny, 310, 440, 360, 25, 0, 359));
  tk::set_state(d.boxes[5], 0);
}
bool rotate_event(EffectDialog& d, const tk::Event& e) {
  for (int k = 0; k < 4; ++k)
    if (e.object == d.boxes[size_t(k)]) tk::set_state(d.boxes[5], 90 * k);
  if (e.object == d.boxes[5]) tk::set_state(d.boxes[4], 1);
  return is_box(d, e);
}
Image rotate_result(EffectDialog& d, const Image&, bool) {
  const int option = selected({d.boxes.begin(), d.boxes.begin() + 5});
  return effects::rotated(d.buffers, option == 4 ? std::clamp(tk::state(d.boxes[5]), 0, 359) : 90 * option);
}

// Rows "Horizontal" and "Vertical", the buttons "1/4" to "4x", then "Lock".
void scale_rows(EffectDialog& d) {
  d.rows.push_back(number_row("Horizontal", 440, 1, 400, 100, 0));
  d.rows.push_back(number_row("Vertical", 470, 1, 400, 100, 0));
  const char* texts[] = {"1/4", "1/2", "2x", "4x"};
  for (int k = 0; k < 4; ++k) d.boxes.push_back(tk::button(tk::kAny, 10 + 60 * k, 500, 50, 25, texts[k]));
  d.boxes.push_back(tk::check_box(tk::kAny, 700, 455, 100, 25, "Lock"));
  tk::set_state(d.boxes[4], 1);
}
void copy_row(const NumberRow& from, const NumberRow& to) {
  tk::set_text(to.field, tk::text(from.field));
  tk::set_state(to.slider, tk::state(from.slider));
}
bool scale_event(EffectDialog& d, const tk::Event& e) {
  const int percents[] = {25, 50, 200, 400};
  for (int k = 0; k < 4; ++k)
    if (e.object == d.boxes[size_t(k)]) {
      for (NumberRow& row : d.rows) {
        tk::set_text(row.field, std::to_string(percents[k]));
        tk::set_state(row.slider, percents[k]);
      }
      return true;
    }
  for (int k = 0; k < 2; ++k)
    if (follow_number_row(d.rows[size_t(k)], e)) {
      if (tk::state(d.boxes[4])) copy_row(d.rows[size_t(k)], d.rows[size_t(1 - k)]);
      return true;
    }
  return false;
}
Image scale_result(EffectDialog& d, const Image& frame, bool) {
  auto percent = [](const NumberRow& row) { return std::clamp(effects::typed_decimal(tk::text(row.field)), 1.0, 400.0); };
  return effects::scaled_about_centre(frame, percent(d.rows[0]), percent(d.rows[1]));
}

bool no_event(EffectDialog&, const tk::Event&) { return false; }

const EffectKind kGrayscale{"Convert to grayscale", true, nullptr, no_event, plain_rule<effects::grayscale>};
const EffectKind kColorize{"Colorize", true, colorize_row, follow_rows, colorize_result};
const EffectKind kColorBalance{"Color balance", true, balance_rows, follow_rows, balance_result};
const EffectKind kSwapChannels{"Swap RGB channels", true, swap_options, is_box, swap_result};
const EffectKind kInvert{"Invert", true, nullptr, no_event, plain_rule<effects::invert>};
const EffectKind kBrightness{"Brightness", true, [](EffectDialog& d) { one_row(d, "Level", -255, 255, 0, 255); },
                             follow_rows, with_field_value<effects::brightness>};
const EffectKind kOpacity{"Opacity", true, [](EffectDialog& d) { one_row(d, "Percent", 0, 100, 100, 0); },
                          follow_rows, with_field_value<effects::opacity>};
const EffectKind kPosterize{"Posterize", true, [](EffectDialog& d) { one_row(d, "Level", 2, 120, 50, 0); },
                            follow_rows, with_field_value<effects::posterize>};
const EffectKind kNoise{"Noise", true, [](EffectDialog& d) { one_row(d, "Level", 0, 100, 0, 0); }, follow_rows,
                        noise_result};
const EffectKind kEraseColor{"Erase a color", true, erase_row, erase_event, erase_result};
const EffectKind kMakeOpaque{"Make opaque", true, nullptr, no_event, plain_rule<effects::make_opaque>};

const EffectKind kShift{"Shift the images", false, shift_rows, follow_rows_and_boxes, shift_result};
const EffectKind kMirror{"Mirror the images", true, mirror_boxes, is_box, mirror_result};
const EffectKind kRotate{"Rotate the images", true, rotate_row, rotate_event, rotate_result};
const EffectKind kScale{"Scale the images", false, scale_rows, scale_event, scale_result};

}  // namespace

int effect_grayscale(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kGrayscale, parent, sprite, frame); }
int effect_colorize(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kColorize, parent, sprite, frame); }
int effect_color_balance(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kColorBalance, parent, sprite, frame); }
int effect_swap_channels(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kSwapChannels, parent, sprite, frame); }
int effect_invert(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kInvert, parent, sprite, frame); }
int effect_brightness(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kBrightness, parent, sprite, frame); }
int effect_opacity(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kOpacity, parent, sprite, frame); }
int effect_posterize(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kPosterize, parent, sprite, frame); }
int effect_noise(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kNoise, parent, sprite, frame); }
int effect_erase_color(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kEraseColor, parent, sprite, frame); }
int effect_make_opaque(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kMakeOpaque, parent, sprite, frame); }
int effect_shift(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kShift, parent, sprite, frame); }
int effect_mirror(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kMirror, parent, sprite, frame); }
int effect_rotate(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kRotate, parent, sprite, frame); }
int effect_scale(int parent, const std::string& sprite, int frame) { return run_effect_dialog(kScale, parent, sprite, frame); }
