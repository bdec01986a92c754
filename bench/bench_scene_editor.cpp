// A whole redraw of the scene canvas, as the editor's timer did it every 33 ms:
// a scene of the large project (2,000 tiles of 32 x 32 over 4 layers and 200
// instances of 64 x 64, among 100,000 tiles and 10,500 objects in the lists),
// its 512 x 512 background tiled over the whole scene, and the grid.
#include <benchmark/benchmark.h>

#include "bench/large_project.h"
#include "imaging/draw.h"
#include "imaging/image.h"
#include "maker/graphics/scene_canvas.h"
#include "maker/project/records.h"

static void BM_RedrawSceneCanvas(benchmark::State& state) {
  LargeProject project = build_large_project({.frame_images = true, .tile_images = false});
  Scene& scene = g_scenes[0];
  // Only this scene's tiles need their pictures.
  for (Tile& t : g_tiles) {
    if (t.scene_name != scene.name) continue;
    int b = 0;
    while (g_backgrounds[b].name != t.background_name) ++b;
    t.image = imaging::grab_image(project.background_images[size_t(b)], t.source_left, t.source_top, t.width,
                                  t.height);
  }
  SceneCanvasState st;
  st.scene = 0;
  st.background_picture = project.background_images[0];
  scene.tile_horizontal = scene.tile_vertical = 1;
  g_scene_show_grid = 1;
  imaging::Image target(scene.width, scene.height);

  for (auto _ : state) {
    draw_scene(st, target);
    benchmark::DoNotOptimize(target.pixels.data());
  }
  state.counters["items"] = double(g_scene_draw_list.size());

  clear_resource_lists();
  imaging::free_all_images();
}
BENCHMARK(BM_RedrawSceneCanvas)->Unit(benchmark::kMillisecond)->Iterations(60)->Repetitions(5);

// The large scene (4000 x 3000, 10,000 instances and 10,000 tiles of 32 x 32
// over 4 layers, its background tiled over it): a tick after a change sets
// the status and has the part in sight of the editor's scroll area painted,
// here at places across the scene; BM_RedrawLargeSceneWhole draws all of it,
// as every tick did before.
struct LargeScene {
  LargeProject project = build_large_project({.frame_images = true, .tile_images = false});
  SceneCanvasState st;
  imaging::Image target;
  LargeScene() {
    build_large_scene(project);
    st.scene = 0;
    st.background_picture = project.background_images[0];
    g_scene_show_grid = 1;
    target = imaging::Image(g_scenes[0].width, g_scenes[0].height);
  }
  ~LargeScene() {
    clear_resource_lists();
    imaging::free_all_images();
  }
};

static void BM_RedrawLargeSceneInSight(benchmark::State& state) {
  LargeScene scene;
  constexpr int kSightW = 678, kSightH = 524;  // the scroll area less its scroll bars
  int place = 0;
  for (auto _ : state) {
    const int x = (place * 997) % (scene.target.width - kSightW), y = (place * 641) % (scene.target.height - kSightH);
    ++place;
    update_scene_status(scene.st);
    draw_scene(scene.st, scene.target, x, y, kSightW, kSightH);
    benchmark::DoNotOptimize(scene.target.pixels.data());
  }
  state.counters["items"] = double(g_scene_draw_list.size());
}
BENCHMARK(BM_RedrawLargeSceneInSight)->Unit(benchmark::kMillisecond)->Iterations(60)->Repetitions(5);

static void BM_RedrawLargeSceneWhole(benchmark::State& state) {
  LargeScene scene;
  for (auto _ : state) {
    draw_scene(scene.st, scene.target);
    benchmark::DoNotOptimize(scene.target.pixels.data());
  }
  state.counters["items"] = double(g_scene_draw_list.size());
}
BENCHMARK(BM_RedrawLargeSceneWhole)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5);

BENCHMARK_MAIN();
