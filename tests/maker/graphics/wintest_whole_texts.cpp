// Every window of the sprite and scene editors shows each of its texts whole
// at the desktop's own font: the sprite dialog, the frame editor, each
// effect's dialog with its options, the size dialogs, the strip import and
// each tab of the scene editor.
#include <filesystem>

#include "maker/graphics/canvas_size.h"
#include "maker/graphics/frame_commands.h"
#include "maker/graphics/frame_editor.h"
#include "maker/graphics/image_effects.h"
#include "maker/graphics/scene_editor.h"
#include "maker/graphics/sprite_dialog.h"
#include "maker/graphics/strip_import.h"
#include "graphics_fixture.h"

using namespace graphics_test;

namespace {
using Command = int (*)(int, const std::string&, int);
}  // namespace

TEST_F(GraphicsTest, EveryEditorWindowShowsItsTextsWhole) {
  std::string clipped;
  add_frame(sprite_, "0", 32, 16);
  tk::test::look_then_leave(clipped, {"Edit"});      // the sprite dialog
  tk::test::look_then_leave(clipped, {"Done"});      // the frame editor
  tk::test::look_then_leave(clipped, {" Done "});
  edit_sprite(sprite_);

  const int editor = tk::open_window(tk::kAny, 0, 0, 800, 600, "Edit sprite frames");
  tk::scroll_area(kFrameStripArea, 10, 45, 780, 490, 100, 100, 16);
  tk::close_container();
  for (Command command :
       {effect_grayscale, effect_colorize, effect_color_balance, effect_swap_channels, effect_invert,
        effect_brightness, effect_opacity, effect_posterize, effect_noise, effect_erase_color,
        effect_make_opaque, effect_shift, effect_mirror, effect_rotate, effect_scale,
        resize_sprite_canvas, stretch_sprite_images, create_blank_sprite}) {
    tk::test::look_then_leave(clipped, {"Cancel"});
    command(editor, sprite_, 0);
  }
  // A picture of another size than the frames asks how to add it.
  write_png("other.png", picture(8, 8, imaging::rgba(0, 0, 255)));
  const std::string other = (std::filesystem::current_path() / "other.png").string();
  ask_->answer_file(other);
  tk::test::look_then_leave(clipped, {"Cancel"});
  add_frame_from_file(editor, sprite_, 0);
  ask_->answer_file(other);
  tk::test::look_then_leave(clipped, {" Import! "});  // its only way out
  import_image_strip(0);
  tk::close_window(editor);

  // The scene editor (each of its tabs), and the layer dialog of its tiles tab.
  const std::string scene = new_scene();
  tk::test::look_then_leave(clipped, {"Change..."});
  tk::test::look_then_leave(clipped, {"Cancel"});
  tk::test::look_then_leave(clipped, {"Done"});
  edit_scene(scene);

  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_EQ(clipped, "");
}
