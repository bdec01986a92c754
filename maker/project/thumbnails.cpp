#include "maker/project/thumbnails.h"

#include <sys/stat.h>

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/project/jobs.h"
#include "maker/project/owned_images.h"
#include "maker/project/state.h"

namespace {

constexpr int kCard = 91;
constexpr int kNoImageCard = 92;
constexpr int kWidth = 150, kHeight = 100;
constexpr int kAreaX = 45, kAreaY = 20, kAreaSide = 60;

// The bare card drawn on a transparent picture, as every thumbnail starts.
imaging::Image blank_card() {
  imaging::Image work(kWidth, kHeight);
  imaging::Canvas canvas(work);
  canvas.set_mode(imaging::Mode::Alpha);
  if (const imaging::Image* card = imaging::image_ptr(kCard)) canvas.draw_image(*card, 0, 0);
  return work;
}

// `blank` with, on it, either `source` fitted into the picture area or, when
// there is no source, the `fallback` picture.
imaging::Image thumbnail(const imaging::Image& blank, const imaging::Image* source,
                         const imaging::Image* fallback) {
  imaging::Image work = blank;
  imaging::Canvas canvas(work);
  canvas.set_mode(imaging::Mode::Alpha);
  if (source) {
    auto [w, h] = imaging::fit_size(source->width, source->height, kAreaSide);
    canvas.draw_image_scaled(*source, kAreaX, kAreaY, w, h, imaging::Filter::Bilinear);
  } else if (fallback) {
    canvas.draw_image(*fallback, 0, 0);
  }
  return work;
}

// A background's file changes only through its dialog or from outside the
// program, yet every frame edit renews all thumbnails: a card made from a
// file that is still the same file, unchanged since, is copied instead of
// decoding the file again.
struct FileStamp {
  dev_t device;
  ino_t inode;
  off_t size;
  long long modified_ns, changed_ns;
  bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> stamp_of(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  auto ns = [](const timespec& t) { return t.tv_sec * 1000000000LL + t.tv_nsec; };
  return FileStamp{st.st_dev, st.st_ino, st.st_size, ns(st.st_mtim), ns(st.st_ctim)};
}

struct MadeCard {
  FileStamp stamp;
  int thumbnail;
};
// By file path, the cards of the last build.
std::unordered_map<std::string, MadeCard> g_background_cards;

void replace_thumbnail(int& field, int image) {
  free_owned_image(field);
  field = image;
}

}  // namespace

imaging::Image thumbnail_of(const imaging::Image* picture) {
  return thumbnail(blank_card(), picture, nullptr);
}

int make_thumbnail(int source) {
  return imaging::adopt_image(imaging::kAnyImage, thumbnail_of(imaging::image_ptr(source)));
}

int build_resource_thumbnails() { return build_resource_thumbnails({}); }

int build_resource_thumbnails(std::vector<std::optional<imaging::Image>> made) {
  // First frame of each sprite: the first frame of that name in list order.
  std::unordered_map<std::string, int> first_frame;
  for (const Frame& f : g_frames) first_frame.emplace(f.sprite_name, f.image);

  // The thumbnails are drawn (and the background files decoded) on every
  // core, reading the image table only; it changes afterwards, here, in list
  // order, so the new thumbnails take the same numbers as one by one.
  const imaging::Image blank = blank_card();
  const imaging::Image* no_image = imaging::image_ptr(kNoImageCard);
  std::vector<imaging::Image> sprite_cards(size_t(g_sprites.count()));
  std::vector<std::function<void()>> jobs;
  for (int i = 0; i < g_sprites.count(); ++i) {
    auto frame = first_frame.find(g_sprites[i].name);
    const imaging::Image* image = frame == first_frame.end() ? nullptr : imaging::image_ptr(frame->second);
    jobs.push_back([&, image, &card = sprite_cards[size_t(i)]] { card = thumbnail(blank, image, no_image); });
  }
  std::vector<imaging::Image> background_cards(size_t(g_backgrounds.count()));
  std::vector<std::optional<FileStamp>> stamps(size_t(g_backgrounds.count()));
  for (int i = 0; i < g_backgrounds.count(); ++i) {
    const Background& b = g_backgrounds[i];
    if (b.image_file.empty()) continue;
    if (size_t(i) < made.size() && made[size_t(i)]) {
      background_cards[size_t(i)] = std::move(*made[size_t(i)]);
      continue;
    }
    std::string path = g_project_folder + "/" + b.image_file;
    // Taken before the file is read: a change while reading shows next time.
    std::optional<FileStamp>& stamp = stamps[size_t(i)] = stamp_of(path);
    imaging::Image& card = background_cards[size_t(i)];
    auto cached = g_background_cards.find(path);
    const imaging::Image* old = imaging::image_ptr(b.thumbnail_image);
    if (stamp && old && cached != g_background_cards.end() && cached->second.stamp == *stamp &&
        cached->second.thumbnail == b.thumbnail_image) {
      jobs.push_back([old, &card] { card = *old; });
      continue;
    }
    jobs.push_back([&, path = std::move(path)] {
      auto picture = imaging::decode_image_file(path);
      card = thumbnail(blank, picture ? &*picture : nullptr, nullptr);
    });
  }
  run_jobs(jobs.size(), [&](size_t i) { jobs[i](); });

  for (int i = 0; i < g_sprites.count(); ++i)
    replace_thumbnail(g_sprites[i].thumbnail_image,
                      imaging::adopt_image(imaging::kAnyImage, std::move(sprite_cards[size_t(i)])));
  g_background_cards.clear();
  for (int i = 0; i < g_backgrounds.count(); ++i) {
    Background& b = g_backgrounds[i];
    if (b.image_file.empty()) continue;
    replace_thumbnail(b.thumbnail_image,
                      imaging::adopt_image(imaging::kAnyImage, std::move(background_cards[size_t(i)])));
    if (stamps[size_t(i)])
      g_background_cards[g_project_folder + "/" + b.image_file] = {*stamps[size_t(i)], b.thumbnail_image};
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
