// build_resource_thumbnails on the large project: 1,000 sprite thumbnails,
// 100 background thumbnails from 512 x 512 PNG files and the first-frame
// images of 10,500 objects.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "bench/large_project.h"
#include "imaging/codec.h"
#include "imaging/draw.h"
#include "imaging/image.h"
#include "maker/project/records.h"
#include "maker/project/thumbnails.h"

// As after opening a project (no background has a thumbnail yet) or, with
// `after_frame_edit`, as when the frame editor closes: the background files
// are those of the thumbnails already made.
static void build_thumbnails(benchmark::State& state, bool after_frame_edit) {
  char old[PATH_MAX];
  if (!getcwd(old, sizeof old)) return state.SkipWithError("no working directory");
  char dir[] = "/tmp/quillop-bench-XXXXXX";
  if (!mkdtemp(dir) || chdir(dir) != 0) return state.SkipWithError("no temporary folder");

  LargeProject project = build_large_project({.frame_images = true, .tile_images = false});
  imaging::create_image(91, 150, 100);
  imaging::Canvas(91).box(0, 0, 150, 100);
  imaging::create_image(92, 150, 100);
  g_project_folder = "_temp_000000";
  mkdir(g_project_folder.c_str(), 0700);
  for (int i = 0; i < g_backgrounds.count(); ++i) {
    imaging::save_image_png(project.background_images[size_t(i)],
                            g_project_folder + "/" + g_backgrounds[i].image_file);
    imaging::free_image(project.background_images[size_t(i)]);
  }

  build_resource_thumbnails();
  for (auto _ : state) {
    if (!after_frame_edit) {
      state.PauseTiming();
      for (Background& b : g_backgrounds) imaging::free_image(std::exchange(b.thumbnail_image, -1));
      state.ResumeTiming();
    }
    build_resource_thumbnails();
  }

  clear_resource_lists();
  imaging::free_all_images();
  if (chdir(old) != 0) state.SkipWithError("cannot go back");
  std::filesystem::remove_all(dir);
}

static void BM_BuildResourceThumbnails(benchmark::State& state) { build_thumbnails(state, false); }
BENCHMARK(BM_BuildResourceThumbnails)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_ThumbnailsAfterFrameEdit(benchmark::State& state) { build_thumbnails(state, true); }
BENCHMARK(BM_ThumbnailsAfterFrameEdit)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
