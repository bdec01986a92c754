#include "maker/graphics/frame_editor.h"

#include "maker/common/browser_refresh.h"
#include "maker/common/window_numbers.h"
#include "maker/graphics/canvas_size.h"
#include "maker/graphics/frame_commands.h"
#include "maker/graphics/frame_strip.h"
#include "maker/graphics/image_effects.h"
#include "maker/project/records.h"
#include "maker/project/thumbnails.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int W = 800, H = 600;

constexpr FrameEditorItem kItems[] = {
    {"File", 189, "New...\tCtrl + N", 142, 10, "Create new sprite", create_blank_sprite},
    {nullptr, -1, nullptr, -1, 0, nullptr, nullptr},
    {nullptr, 190, "Add new frame from file...\tCtrl + A", 166, 40, "Add new frame from file", add_frame_from_file},
    {nullptr, 191, "Save as PNG image...\tCtrl + S", 145, 70, "Save sprite as PNG strip", save_sprite_png_strip},
    {"Edit", 192, "Duplicate frame\tCtrl + D", 167, 110, "Duplicate current frame", duplicate_frame},
    {nullptr, -1, nullptr, -1, 0, nullptr, nullptr},
    {nullptr, 193, "Move frame left\tCtrl + Left", 168, 140, "Move current frame to left", move_frame_up},
    {nullptr, 194, "Move frame right\tCtrl + Right", 169, 170, "Move current frame to right", move_frame_down},
    {nullptr, -1, nullptr, -1, 0, nullptr, nullptr},
    {nullptr, 195, "Delete current frame\tDelete", 165, 200, "Delete current frame", delete_frame},
    {"Transform", 196, "Shift", 170, 240, "Shift", effect_shift},
    {nullptr, 197, "Mirror/Flip", 171, 270, "Mirror", effect_mirror},
    {nullptr, 198, "Rotate", 172, 300, "Rotate", effect_rotate},
    {nullptr, 199, "Scale", 173, 330, "Scale", effect_scale},
    {nullptr, -1, nullptr, -1, 0, nullptr, nullptr},
    {nullptr, 200, "Resize canvas", 174, 360, "Resize canvas", resize_sprite_canvas},
    {nullptr, 201, "Stretch", 175, 390, "Stretch", stretch_sprite_images},
    {"Effects", 202, "Grayscale", 176, 430, "Grayscale", effect_grayscale},
    {nullptr, 204, "Colorize", 178, 460, "Colorize", effect_colorize},
    {nullptr, 206, "Color balance", 180, 490, "Color balance", effect_color_balance},
    {nullptr, 205, "Swap RGB channel", 177, 520, "Swap RGB channels", effect_swap_channels},
    {nullptr, 203, "Invert", 179, 550, "Invert", effect_invert},
    {nullptr, 209, "Brightness", 183, 580, "Brightness", effect_brightness},
    {nullptr, 208, "Opacity", 182, 610, "Opacity", effect_opacity},
    {nullptr, 210, "Posterize", 184, 640, "Posterize", effect_posterize},
    {nullptr, 211, "Noise", 185, 670, "Noise", effect_noise},
    {nullptr, 207, "Erase a color", 181, 700, "Erase a color", effect_erase_color},
    {nullptr, 212, "Make opaque", 186, 730, "Make opaque", effect_make_opaque},
};

struct Shortcut {
  int modifiers, key, item;
};
constexpr Shortcut kShortcuts[] = {
    {tk::kControl, 'N', 189},          {tk::kControl, 'A', 190},           {tk::kControl, 'S', 191},
    {tk::kControl, 'D', 192},          {tk::kControl, tk::kKeyLeft, 193},  {tk::kControl, tk::kKeyRight, 194},
    {0, tk::kKeyDelete, 195},
};

const FrameEditorItem* item_numbered(int item) {
  for (const FrameEditorItem& i : kItems)
    if (i.item == item && item >= 0) return &i;
  return nullptr;
}

bool is_strip_canvas(int widget) {
  for (int w : g_frame_strip_widgets)
    if (w == widget) return true;
  return false;
}

}  // namespace

std::span<const FrameEditorItem> frame_editor_items() { return kItems; }

int open_sprite_frame_editor(const std::string& opened_name) {
  const std::string name = opened_name;  // the caller's text may live in a list
  g_current_frame = first_frame_of(name);
  const int window = tk::open_window(tk::kAny, 0, 0, W, H, "Edit sprite frames", tk::kWindowCentred);
  tk::disable_window(kDialogWindow, true);
  tk::menu_bar(kFrameEditorMenuBar, window);
  for (const FrameEditorItem& i : kItems) {
    if (i.menu) tk::menu_title(i.menu);
    if (i.item < 0) {
      tk::menu_separator();
      continue;
    }
    tk::menu_item(i.item, i.text, i.icon);
    const int button = tk::image_button(tk::kAny, i.toolbar_x, 10, 25, 25, i.icon);
    tk::set_tooltip(button, i.tooltip);
    tk::set_widget_data(button, i.item);
  }
  const int bar = tk::menu_bar_height(window);
  const int done_button = tk::button(tk::kAny, W - 75, H - bar - 35, 65, 25, "Done");
  tk::scroll_area(kFrameStripArea, 10, 45, 780, 490 - bar, 100, 100, 16);
  tk::close_container();
  refresh_sprite_frame_strip(name, 0);
  for (const Shortcut& s : kShortcuts) tk::add_shortcut(window, s.modifiers, s.key, s.item);

  auto run = [&](int item) {
    const FrameEditorItem* i = item_numbered(item);
    if (i && i->command) i->command(window, name, g_current_frame);
  };
  for (bool done = false; !done;) {
    const tk::Event e = tk::wait_event();
    if (e.window != window) continue;
    if (e.type == tk::kEventMenu) run(e.object);
    if (e.type != tk::kEventWidget) continue;
    if (e.object == done_button) {
      done = true;
      set_project_modified(1);
    } else if (tk::widget_kind(e.object) == tk::WidgetKind::ImageButton) {
      run(tk::widget_data(e.object));
    }
    if (is_strip_canvas(e.object) && e.subtype == tk::kLeftClick) g_current_frame = tk::widget_data(e.object);
    if (e.subtype == tk::kLeftClick && !done) refresh_sprite_frame_strip(name, 1);
  }
  build_resource_thumbnails();
  refresh_resource_browser();
  tk::disable_window(kDialogWindow, false);
  tk::close_window(window);
  return 0;
}
