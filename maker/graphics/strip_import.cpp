#include "maker/graphics/strip_import.h"

#include <string>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/common/window_numbers.h"
#include "maker/graphics/frame_commands.h"
#include "maker/project/confirm.h"
#include "maker/project/owned_images.h"
#include "maker/project/project_file.h"
#include "maker/project/records.h"
#include "maker/project/thumbnails.h"
#include "toolkit/toolkit.h"

namespace {

const char* const kStripPatterns =
    "Image strips(jpg, bmp, png)|*.jpg;*.bmp;*.png|JPG files(*.jpg)|*.jpg|BMP files(*.bmp)|*.bmp|"
    "PNG files(*.png)|*.png";

// Every cell must hold at least one pixel, so that no frame is left without
// a picture.
bool valid_grid(int columns, int rows, const imaging::Image& picture) {
  return columns > 0 && rows > 0 && columns <= picture.width && rows <= picture.height;
}

void cut_frames(Sprite& sprite, const imaging::Image& picture, int columns, int rows) {
  remove_sprite_frames(sprite.name);
  const int cell_w = picture.width / columns, cell_h = picture.height / rows;
  int made = 0, first = -1;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      const int index = append_frame(sprite.name, std::to_string(made++),
                                     imaging::grab(picture, c * cell_w, r * cell_h, cell_w, cell_h));
      if (first < 0) first = index;
    }
  sprite.origin_x = sprite.origin_y = 0;
  sprite.collision_radius = cell_w / 2;
  sprite.collision_left = sprite.collision_top = 0;
  sprite.collision_right = cell_w;
  sprite.collision_bottom = cell_h;
  free_owned_image(sprite.thumbnail_image);
  sprite.thumbnail_image = make_thumbnail(g_frames[first].image);
}

}  // namespace

int import_image_strip(int sprite_index) {
  if (sprite_index < 0 || sprite_index >= g_sprites.count()) return 0;
  const std::string path = tk::open_file("Select an image strip", "", kStripPatterns, 0).path;
  if (path.empty()) return 0;
  if (imaging::load_image_file(kStripPicture, path) < 0) {
    show_error("The file '" + path.substr(path.rfind('/') + 1) + "' cannot be read as an image");
    return 0;
  }
  const imaging::Image& picture = *imaging::image_ptr(kStripPicture);
  tk::disable_window(kDialogWindow, true);
  const int window = tk::open_window(tk::kAny, 0, 0, 800, 600, "Importing image strips", tk::kWindowCentred);
  const int import = tk::button(tk::kAny, 800 - 75, 600 - 35, 65, 25, " Import! ");
  tk::label(tk::kAny, 480, 15, 150, 25,
            "Dimensions: " + std::to_string(picture.width) + " x " + std::to_string(picture.height) + " pixels");
  tk::scroll_area(tk::kAny, 10, 45, 780, 520, picture.width, picture.height, 32);
  tk::image_view(tk::kAny, 0, 0, picture.width, picture.height, kStripPicture);
  tk::close_container();
  tk::label(tk::kAny, 10, 15, 40, 25, "Columns");
  const int columns_input = tk::input(tk::kAny, 60, 10, 50, 25, "1", tk::kInputDigits);
  tk::label(tk::kAny, 120, 15, 40, 25, "Rows");
  const int rows_input = tk::input(tk::kAny, 160, 10, 50, 25, "1", tk::kInputDigits);
  for (;;) {
    const tk::Event e = tk::wait_event();
    if (e.type != tk::kEventWidget || e.object != import) continue;
    const int columns = parse_typed_integer(tk::text(columns_input));
    const int rows = parse_typed_integer(tk::text(rows_input));
    const long long cells = (long long)columns * rows;
    if (!valid_grid(columns, rows, picture)) {
      show_error("Invalid column or row number");
    } else if (cells > kMaxStripCells) {
      show_error(std::to_string(columns) + " x " + std::to_string(rows) + " makes " + std::to_string(cells) +
                 " frames; at most " + std::to_string(kMaxStripCells) + " frames can be imported at once");
    } else {
      cut_frames(g_sprites[sprite_index], picture, columns, rows);
      break;
    }
  }
  imaging::free_image(kStripPicture);
  tk::disable_window(kDialogWindow, false);
  tk::close_window(window);
  tk::activate_window(kDialogWindow);
  return 0;
}
