#include "maker/project/thumbnails.h"

#include <string>
#include <unordered_map>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/project/owned_images.h"
#include "maker/project/state.h"

namespace {

constexpr int kCard = 91;
constexpr int kNoImageCard = 92;
constexpr int kWidth = 150, kHeight = 100;
constexpr int kAreaX = 45, kAreaY = 20, kAreaSide = 60;

// The card with, on it, either `source` fitted into the picture area or,
// when there is no source, the `fallback` card.
int thumbnail(const imaging::Image* source, int fallback) {
  imaging::Image work(kWidth, kHeight);
  imaging::Canvas canvas(work);
  canvas.set_mode(imaging::Mode::Alpha);
  canvas.draw_image(kCard, 0, 0);
  if (source) {
    auto [w, h] = imaging::fit_size(source->width, source->height, kAreaSide);
    canvas.draw_image_scaled(*source, kAreaX, kAreaY, w, h, imaging::Filter::Bilinear);
  } else if (fallback >= 0) {
    canvas.draw_image(fallback, 0, 0);
  }
  return imaging::adopt_image(imaging::kAnyImage, std::move(work));
}

void replace_thumbnail(int& field, int image) {
  free_owned_image(field);
  field = image;
}

}  // namespace

int make_thumbnail(int source) { return thumbnail(imaging::image_ptr(source), -1); }

int build_resource_thumbnails() {
  // First frame of each sprite: the first frame of that name in list order.
  std::unordered_map<std::string, int> first_frame;
  for (const Frame& f : g_frames) first_frame.emplace(f.sprite_name, f.image);

  for (Sprite& s : g_sprites) {
    auto frame = first_frame.find(s.name);
    const imaging::Image* image =
        frame == first_frame.end() ? nullptr : imaging::image_ptr(frame->second);
    replace_thumbnail(s.thumbnail_image, thumbnail(image, kNoImageCard));
  }

  for (Background& b : g_backgrounds) {
    if (b.image_file.empty()) continue;
    auto picture = imaging::decode_image_file(g_project_folder + "/" + b.image_file);
    replace_thumbnail(b.thumbnail_image, thumbnail(picture ? &*picture : nullptr, -1));
  }

  for (GameObject& o : g_objects) {
    if (o.sprite_name.empty()) continue;
    auto frame = first_frame.find(o.sprite_name);
    if (frame == first_frame.end()) continue;
    o.sprite_image = frame->second;
    o.image_width = imaging::image_width(frame->second);
    o.image_height = imaging::image_height(frame->second);
  }
  return 0;
}
