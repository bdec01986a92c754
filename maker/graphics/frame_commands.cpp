#include "maker/graphics/frame_commands.h"

#include <unistd.h>

#include <climits>
#include <functional>
#include <optional>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/graphics/frame_strip.h"
#include "maker/project/confirm.h"
#include "maker/project/owned_images.h"
#include "maker/project/project_file.h"
#include "maker/project/records.h"
#include "toolkit/files.h"
#include "toolkit/toolkit.h"

namespace {

const char* const kImagePatterns =
    "Images(jpg, bmp, png)|*.jpg;*.bmp;*.png|JPG files(*.jpg)|*.jpg|BMP files(*.bmp)|*.bmp|"
    "PNG files(*.png)|*.png";

bool is_frame_of(int index, const std::string& sprite_name) {
  return index >= 0 && index < g_frames.count() && g_frames[index].sprite_name == sprite_name;
}

int counter_number(const std::string& counter) { return parse_typed_integer(counter); }

// A window of its own over the parent, which is disabled while it is open.
int open_child_window(int parent, int width, int height, const std::string& title) {
  tk::disable_window(parent, true);
  const int window = tk::open_window(tk::kAny, 0, 0, width, height, title, tk::kWindowCentred);
  tk::keep_window_above(window, true);
  return window;
}

void close_child_window(int parent, int window) {
  tk::disable_window(parent, false);
  tk::close_window(window);
}

// Runs the window's loop until "OK" (when accept agrees) or "Cancel"; every
// other event, the close box included, is dropped. True for "OK".
bool ok_or_cancel(int window, const std::function<bool()>& accept) {
  const int ok = tk::button(tk::kAny, tk::window_width(window) - 75, tk::window_height(window) - 35, 65, 25, "OK");
  const int cancel = tk::button(tk::kAny, 10, tk::window_height(window) - 35, 65, 25, "Cancel");
  for (;;) {
    tk::Event e = tk::wait_event();
    if (e.type != tk::kEventWidget) continue;
    if (e.object == cancel) return false;
    if (e.object == ok && accept()) return true;
  }
}

imaging::Image transparent_with(const imaging::Image& picture, int w, int h, int x, int y) {
  imaging::Image out(w, h);
  imaging::Canvas canvas(out);
  canvas.set_mode(imaging::Mode::Alpha);
  canvas.draw_image(picture, x, y);
  return out;
}

enum class Placement { LeftTop, Centre, Stretch };

// Reconciles a picture of another size than the sprite's frames (old_w x
// old_h) as the user chooses; false when cancelled.
bool reconcile_sizes(int parent, const std::string& sprite_name, imaging::Image& loaded, int old_w, int old_h) {
  const int new_w = loaded.width, new_h = loaded.height;
  const int window = open_child_window(parent, 300, 300, "Adding new frame");
  tk::label(tk::kAny, 10, 10, 390, 25, "The dimensions of the new image is different.");
  tk::label(tk::kAny, 10, 30, 390, 25, "Please specify an action.");
  const int keep = tk::option(tk::kAny, 10, 60, 380, 25,
                              "Keep the original image size (" + std::to_string(old_w) + " x " +
                                  std::to_string(old_h) + ")");
  const int resize = tk::option(tk::kAny, 10, 90, 380, 25,
                                "Resize all frames to the new image size (" + std::to_string(new_w) + " x " +
                                    std::to_string(new_h) + ")");
  tk::set_state(resize, 1);
  tk::label(tk::kAny, 10, 130, 390, 25, "Specify the placement of the images.");
  const int left_top = tk::option(tk::kAny, 10, 160, 380, 25, "Place images at left-top (0, 0)");
  const int centre = tk::option(tk::kAny, 10, 190, 380, 25, "Place images in center");
  const int stretch = tk::option(tk::kAny, 10, 220, 380, 25, "Stretch images");
  tk::set_state(stretch, 1);
  const bool accepted = ok_or_cancel(window, [] { return true; });
  if (accepted) {
    const Placement placement = tk::state(left_top)  ? Placement::LeftTop
                                : tk::state(centre) ? Placement::Centre
                                                    : Placement::Stretch;
    if (tk::state(keep)) {
      if (placement == Placement::Stretch) {
        loaded = imaging::scaled(loaded, old_w, old_h, imaging::Filter::Nearest);
      } else {
        const bool middle = placement == Placement::Centre;
        loaded = transparent_with(loaded, old_w, old_h, middle ? old_w / 2 - new_w / 2 : 0,
                                  middle ? old_h / 2 - new_h / 2 : 0);
      }
    } else {
      for (Frame& f : g_frames) {
        if (f.sprite_name != sprite_name || !imaging::image_exists(f.image)) continue;
        if (placement == Placement::Stretch) {
          imaging::resize_image(f.image, new_w, new_h, imaging::Filter::Nearest);
        } else {
          const bool middle = placement == Placement::Centre;
          imaging::Image placed = transparent_with(*imaging::image_ptr(f.image), new_w, new_h,
                                                   middle ? new_w / 2 - old_w / 2 : 0,
                                                   middle ? new_h / 2 - old_h / 2 : 0);
          imaging::adopt_image(f.image, std::move(placed));
        }
      }
    }
  }
  close_child_window(parent, window);
  return accepted;
}

std::string file_part(const std::string& path) { return path.substr(path.rfind('/') + 1); }

}  // namespace


int append_frame(const std::string& sprite_name, const std::string& counter, imaging::Image&& picture) {
  Frame f;
  f.file_counter = counter;
  f.sprite_name = sprite_name;
  f.image = imaging::adopt_image(imaging::kAnyImage, std::move(picture));
  return g_frames.append(std::move(f));
}

void remove_sprite_frames(const std::string& sprite_name) {
  g_frames.remove_if([&](Frame& f) {
    if (f.sprite_name != sprite_name) return false;
    free_owned_image(f.image);
    return true;
  });
}

std::string next_frame_counter(const std::string& sprite_name) {
  long long last = -1, highest = -1;
  bool any = false;
  for (const Frame& f : g_frames) {
    if (f.sprite_name != sprite_name) continue;
    last = counter_number(f.file_counter);
    highest = any ? std::max(highest, last) : last;
    any = true;
  }
  long long next = last + 1;
  for (const Frame& f : g_frames)
    if (f.sprite_name == sprite_name && counter_number(f.file_counter) == next) next = highest + 1;
  return std::to_string(next);
}

int first_frame_of(const std::string& sprite_name) {
  for (int i = 0; i < g_frames.count(); ++i)
    if (g_frames[i].sprite_name == sprite_name) return i;
  return -1;
}

int create_blank_sprite(int parent, const std::string& sprite_name, int) {
  const int window = open_child_window(parent, 200, 120, "Create new sprite");
  tk::label(tk::kAny, 10, 15, 90, 25, "Width");
  const int width = tk::input(tk::kAny, 110, 10, 80, 25, "40", tk::kInputDigits);
  tk::label(tk::kAny, 10, 45, 90, 25, "Height");
  const int height = tk::input(tk::kAny, 110, 40, 80, 25, "40", tk::kInputDigits);
  int w = 0, h = 0;
  // No picture can be made of a side of 0, and a typed side has a bound.
  const bool accepted = ok_or_cancel(window, [&] {
    w = parse_typed_integer(tk::text(width));
    h = parse_typed_integer(tk::text(height));
    if (w >= 1 && h >= 1 && w <= kMaxFrameSide && h <= kMaxFrameSide) return true;
    show_error("The width and height must be from 1 to " + std::to_string(kMaxFrameSide));
    return false;
  });
  if (accepted) {
    remove_sprite_frames(sprite_name);
    g_current_frame = append_frame(sprite_name, "0", imaging::Image(w, h));
  }
  close_child_window(parent, window);
  refresh_sprite_frame_strip(sprite_name, 1);
  return 0;
}

int add_frame_from_file(int parent, const std::string& sprite_name, int) {
  const std::string path = tk::open_file("Select an image", "", kImagePatterns, 0).path;
  if (path.empty()) return 0;
  std::optional<imaging::Image> loaded = imaging::decode_image_file(path);
  if (!loaded) {
    show_error("The file '" + file_part(path) + "' cannot be read as an image");
    return 0;
  }
  int old_w = 0, old_h = 0;
  bool any = false;
  for (const Frame& f : g_frames)
    if (f.sprite_name == sprite_name) {
      old_w = imaging::image_width(f.image);
      old_h = imaging::image_height(f.image);
      any = true;
    }
  // Frames without a picture give no size to keep.
  const bool same = (old_w == loaded->width && old_h == loaded->height) || old_w <= 0 || old_h <= 0;
  if (!any || same || reconcile_sizes(parent, sprite_name, *loaded, old_w, old_h))
    g_current_frame = append_frame(sprite_name, next_frame_counter(sprite_name), std::move(*loaded));
  refresh_sprite_frame_strip(sprite_name, 1);
  return 0;
}

int save_sprite_png_strip(int, const std::string& sprite_name, int) {
  int n = 0, w = 0, h = 0;
  for (const Frame& f : g_frames)
    if (f.sprite_name == sprite_name) {
      ++n;
      w = imaging::image_width(f.image);
      h = imaging::image_height(f.image);
    }
  char cwd[PATH_MAX];
  const std::string folder = getcwd(cwd, sizeof cwd) ? cwd : "";
  const std::string path = tk::save_file("Save sprite as PNG strip",
                                         folder + "/" + sprite_name + "_strip" + std::to_string(n),
                                         "PNG Images (*.png)|*.png", 0)
                               .path;
  if (path.empty() || w <= 0 || h <= 0) return 0;
  // A strip wider than any picture can be is refused, not written empty.
  if ((long long)n * w > imaging::kMaxImageSide) {
    show_error("The strip would be wider than " + std::to_string(imaging::kMaxImageSide) + " pixels");
    return 0;
  }
  imaging::Image strip(n * w, h);
  imaging::Canvas canvas(strip);
  canvas.set_mode(imaging::Mode::Alpha);
  int i = 0;
  for (const Frame& f : g_frames)
    if (f.sprite_name == sprite_name) canvas.draw_image(f.image, i++ * w, 0);
  // A strip that cannot be written whole leaves the file that was there.
  const auto png = imaging::encode_png(strip);
  if (!png || !tk::replace_file(path + ".png", png->data(), png->size(), false))
    show_error("The file '" + path + ".png' cannot be written");
  return 0;
}

int duplicate_frame(int, const std::string& sprite_name, int frame_index) {
  if (frame_index < 0) return 0;
  if (is_frame_of(frame_index, sprite_name) && imaging::image_exists(g_frames[frame_index].image)) {
    imaging::Image copy = *imaging::image_ptr(g_frames[frame_index].image);
    g_current_frame = append_frame(sprite_name, next_frame_counter(sprite_name), std::move(copy));
  }
  refresh_sprite_frame_strip(sprite_name, 1);
  return 0;
}

int move_frame_up(int, const std::string& sprite_name, int frame_index) {
  if (frame_index < 0) return 0;
  if (is_frame_of(frame_index, sprite_name) && is_frame_of(frame_index - 1, sprite_name)) {
    std::swap(g_frames[frame_index], g_frames[frame_index - 1]);
    g_current_frame = frame_index - 1;
  }
  refresh_sprite_frame_strip(sprite_name, 1);
  return 0;
}

int move_frame_down(int, const std::string& sprite_name, int frame_index) {
  if (frame_index < 0) return 0;
  if (is_frame_of(frame_index, sprite_name) && is_frame_of(frame_index + 1, sprite_name)) {
    std::swap(g_frames[frame_index], g_frames[frame_index + 1]);
    g_current_frame = frame_index + 1;
  }
  refresh_sprite_frame_strip(sprite_name, 1);
  return 0;
}

int delete_frame(int, const std::string& sprite_name, int frame_index) {
  if (frame_index < 0) return 0;
  if (is_frame_of(frame_index, sprite_name)) {
    free_owned_image(g_frames[frame_index].image);
    g_frames.erase(frame_index);
  }
  g_current_frame = first_frame_of(sprite_name);
  refresh_sprite_frame_strip(sprite_name, 1);
  return 0;
}
