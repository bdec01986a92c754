#include "bench/large_project.h"

#include <cstring>

#include "imaging/image.h"
#include "maker/project/records.h"

namespace {

constexpr int kSprites = 1000, kFramesPerSprite = 4, kFrameSide = 64;
constexpr int kSounds = 200, kMusics = 100, kFonts = 50;
constexpr int kBackgrounds = 100, kBackgroundSide = 512, kTileSide = 32;
constexpr int kObjects = 500, kScriptsPerEvent = 2;
constexpr int kScenes = 50, kInstancesPerScene = 200, kTilesPerScene = 2000;
constexpr int kLayersPerScene = 4, kBackgroundsPerScene = 5;
const char* const kEvents[] = {"Creation", "Destroy",  "Step",          "End step", "Collision",
                               "Room start", "Room end", "Animation end", "Draw"};

// Fills an image with a pattern that differs per seed, so that picture
// encoders meet something other than one flat colour.
void fill_pattern(int image, int seed) {
  imaging::Image* p = imaging::image_ptr(image);
  for (int y = 0; y < p->height; ++y)
    for (int x = 0; x < p->width; ++x) {
      uint8_t* px = p->at(x, y);
      px[0] = uint8_t(x * 4 + seed);
      px[1] = uint8_t(y * 4 + seed * 7);
      px[2] = uint8_t((x ^ y) + seed * 13);
      px[3] = ((x / 8 + y / 8) & 1) ? 255 : 128;
    }
}

std::string script_code(const std::string& owner, int k) {
  std::string code;
  for (int line = 0; line < 10; ++line)
    code += "this.v" + std::to_string(line) + " = " + std::to_string(k * 10 + line) +
            "; // " + owner + "\r\n";
  return code;
}

}  // namespace

int make_large_background_image(int i) {
  int image = imaging::create_image(imaging::kAnyImage, kBackgroundSide, kBackgroundSide);
  fill_pattern(image, i);
  return image;
}

LargeProject build_large_project(const LargeProjectOptions& options) {
  clear_resource_lists();
  g_project_uid = 1;
  LargeProject project;

  for (int s = 0; s < kSprites; ++s) {
    std::string name = new_sprite();
    for (int f = 0; f < kFramesPerSprite; ++f) {
      int image = -1;
      if (options.frame_images) {
        image = imaging::create_image(imaging::kAnyImage, kFrameSide, kFrameSide);
        fill_pattern(image, s * kFramesPerSprite + f);
      }
      g_frames.append({std::to_string(f), name, image});
    }
  }

  for (int i = 0; i < kSounds; ++i) new_sound();
  for (Sound& s : g_sounds) {
    s.wav_file = s.name + ".wav";
    s.mp3_file = s.name + ".mp3";
    s.ogg_file = s.name + ".ogg";
  }
  for (int i = 0; i < kMusics; ++i) new_music();
  for (Music& m : g_musics) {
    m.wav_file = m.name + ".wav";
    m.mp3_file = m.name + ".mp3";
    m.ogg_file = m.name + ".ogg";
  }
  for (int i = 0; i < kFonts; ++i) new_font();

  for (int i = 0; i < kBackgrounds; ++i) {
    new_background();
    Background& b = g_backgrounds[i];
    b.image_file = b.name + ".png";
    b.use_as_tileset = 1;
    project.background_images.push_back(make_large_background_image(i));
  }

  for (int i = 0; i < kObjects; ++i) {
    new_object();
    GameObject& o = g_objects[i];
    o.sprite_name = g_sprites[i % kSprites].name;
    o.sprite_image = sprite_first_frame_image(o.sprite_name);
    o.image_width = o.image_height = kFrameSide;
    o.depth = i % 10;
  }
  for (int i = 0; i < kObjects; ++i) {
    const std::string owner = g_objects[i].name;
    for (const char* event : kEvents)
      for (int k = 0; k < kScriptsPerEvent; ++k) {
        bool collision = std::strcmp(event, "Collision") == 0;
        int n = add_event_script(owner, event,
                                 collision ? g_objects[(i + k + 1) % kObjects].name : "");
        g_scripts[n].code = script_code(owner, k);
      }
  }

  for (int sc = 0; sc < kScenes; ++sc) {
    std::string scene = new_scene();
    int depths[kLayersPerScene] = {1000000, 1000100, 1000200, 1000300};
    g_layers[g_layers.count() - 1].depth = depths[0];
    for (int l = 1; l < kLayersPerScene; ++l) {
      new_layer(scene);
      g_layers[g_layers.count() - 1].depth = depths[l];
    }
    g_scenes[sc].background_name = g_backgrounds[sc % kBackgrounds].name;

    for (int k = 0; k < kInstancesPerScene; ++k) {
      const GameObject& def = g_objects[(sc * kInstancesPerScene + k) % kObjects];
      GameObject o = def;
      o.is_prototype = 0;
      o.template_name = def.name;
      o.name = "SceneObject" + std::to_string(next_resource_uid());
      o.scene_name = scene;
      o.x = (k % 20) * 32;
      o.y = (k / 20) * 32;
      g_objects.append(o);
    }

    for (int k = 0; k < kTilesPerScene; ++k) {
      int bg = (sc * kBackgroundsPerScene + k % kBackgroundsPerScene) % kBackgrounds;
      int cells = kBackgroundSide / kTileSide;
      Tile t;
      t.name = "tile_" + std::to_string(next_resource_uid());
      t.background_name = g_backgrounds[bg].name;
      t.source_left = (k % cells) * kTileSide;
      t.source_top = (k / cells % cells) * kTileSide;
      t.width = t.height = kTileSide;
      t.x = (k % 40) * kTileSide;
      t.y = (k / 40) * kTileSide;
      t.depth = depths[k % kLayersPerScene];
      t.scene_name = scene;
      t.image = -1;
      if (options.tile_images) {
        t.image = imaging::create_image(imaging::kAnyImage, kTileSide, kTileSide);
        const imaging::Image* from = imaging::image_ptr(project.background_images[size_t(bg)]);
        imaging::Image* to = imaging::image_ptr(t.image);
        for (int y = 0; y < kTileSide; ++y)
          std::memcpy(to->at(0, y), from->at(t.source_left, t.source_top + y), kTileSide * 4);
      }
      g_tiles.append(std::move(t));
    }
  }
  set_project_modified(0);
  return project;
}

void build_large_scene(const LargeProject& project) {
  constexpr int kItems = 10000, kWidth = 4000, kHeight = 3000;
  Scene& scene = g_scenes[0];
  scene.width = kWidth, scene.height = kHeight;
  scene.tile_horizontal = scene.tile_vertical = 1;
  int depths[kLayersPerScene];
  int n = 0;
  for (const Layer& l : g_layers)
    if (l.scene_name == scene.name && n < kLayersPerScene) depths[n++] = l.depth;
  std::vector<int> instances, tiles;
  for (int i = 0; i < g_objects.count(); ++i)
    if (g_objects[i].is_prototype == 0 && g_objects[i].scene_name == scene.name) instances.push_back(i);
  for (int i = 0; i < g_tiles.count(); ++i)
    if (g_tiles[i].scene_name == scene.name) tiles.push_back(i);
  for (int k = int(instances.size()); k < kItems; ++k) {
    GameObject o = g_objects[instances[size_t(k) % instances.size()]];
    o.name = "SceneObject" + std::to_string(next_resource_uid());
    instances.push_back(g_objects.append(std::move(o)));
  }
  for (int k = int(tiles.size()); k < kItems; ++k) {
    Tile t = g_tiles[tiles[size_t(k) % tiles.size()]];
    t.name = "tile_" + std::to_string(next_resource_uid());
    tiles.push_back(g_tiles.append(std::move(t)));
  }
  // Spread over the scene: instances on a 100 x 100 grid, tiles in rows.
  for (int k = 0; k < kItems; ++k) {
    GameObject& o = g_objects[instances[size_t(k)]];
    o.x = (k % 100) * (kWidth / 100), o.y = (k / 100) * (kHeight / 100);
    Tile& t = g_tiles[tiles[size_t(k)]];
    t.x = (k % 125) * kTileSide, t.y = (k / 125) * (kHeight / 80);
    t.depth = depths[k % kLayersPerScene];
    int b = 0;
    while (g_backgrounds[b].name != t.background_name) ++b;
    t.image = imaging::create_image(imaging::kAnyImage, kTileSide, kTileSide);
    const imaging::Image* from = imaging::image_ptr(project.background_images[size_t(b)]);
    imaging::Image* to = imaging::image_ptr(t.image);
    for (int y = 0; y < kTileSide; ++y)
      std::memcpy(to->at(0, y), from->at(t.source_left, t.source_top + y), kTileSide * 4);
  }
}
