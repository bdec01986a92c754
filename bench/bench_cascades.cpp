// Deleting a scene of the large project: one ordinary scene (200 instances,
// 2,000 tiles, 4 layers), and one that holds all 10,000 instances.
#include <benchmark/benchmark.h>

#include "bench/large_project.h"
#include "imaging/image.h"
#include "maker/project/records.h"

namespace {

// The lists a scene delete changes, restored between iterations.
struct Snapshot {
  RecordList<Scene> scenes;
  RecordList<GameObject> objects;
  RecordList<Script> scripts;
  RecordList<Layer> layers;
  RecordList<Tile> tiles;
  RecordList<Sprite> sprites;
  RecordList<Frame> frames;

  void take() {
    scenes = g_scenes, objects = g_objects, scripts = g_scripts, layers = g_layers;
    tiles = g_tiles, sprites = g_sprites, frames = g_frames;
  }
  // Gives back the images the delete freed, so that it frees as many again.
  void restore() {
    g_scenes = scenes, g_objects = objects, g_scripts = scripts, g_layers = layers;
    g_tiles = tiles, g_sprites = sprites, g_frames = frames;
    for (Tile& t : g_tiles)
      if (!imaging::image_exists(t.image))
        t.image = imaging::create_image(imaging::kAnyImage, t.width, t.height);
    for (Frame& f : g_frames)
      if (!imaging::image_exists(f.image))
        f.image = imaging::create_image(imaging::kAnyImage, 64, 64);
    tiles = g_tiles, frames = g_frames;
  }
};

Snapshot& large_project() {
  static Snapshot* snapshot = [] {
    build_large_project();
    auto* s = new Snapshot;
    s->take();
    return s;
  }();
  return *snapshot;
}

template <class Delete>
void run(benchmark::State& state, Delete del) {
  Snapshot& project = large_project();
  for (auto _ : state) {
    state.PauseTiming();
    project.restore();
    state.ResumeTiming();
    del();
  }
  project.restore();
}

void BM_DeleteScene(benchmark::State& state) {
  run(state, [] { delete_scene(g_scenes[25].name); });
}

void BM_DeleteSceneOf10000Instances(benchmark::State& state) {
  Snapshot& project = large_project();
  const std::string scene = g_scenes[0].name;
  const RecordList<GameObject> ordinary = project.objects;
  for (GameObject& o : project.objects)
    if (!o.is_prototype) o.scene_name = scene;
  run(state, [&] { delete_scene(scene); });
  project.objects = ordinary;  // for the benchmarks that follow
  project.restore();
}

void BM_DeleteSprite(benchmark::State& state) {
  run(state, [] { delete_sprite(g_sprites[500].name); });
}

void BM_DeleteObject(benchmark::State& state) {
  run(state, [] { delete_object(g_objects[250].name); });
}

}  // namespace

BENCHMARK(BM_DeleteScene)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5);
BENCHMARK(BM_DeleteSceneOf10000Instances)
    ->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5);
BENCHMARK(BM_DeleteSprite)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5);
BENCHMARK(BM_DeleteObject)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5);
BENCHMARK_MAIN();
