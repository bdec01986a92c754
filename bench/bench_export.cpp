// Exporting the large project (pauses off), beside the floor of writing a
// file of the same size as its game.js, and the two largest sections alone.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/large_project.h"
#include "maker/export/export.h"
#include "maker/export/generators.h"
#include "maker/project/state.h"
#include "toolkit/system.h"

namespace {

namespace fs = std::filesystem;

// A working directory holding the large project, named and with an engine
// template of about 100 KB around the eleven markers.
void prepare() {
  static bool done = [] {
    std::string dir = (fs::temp_directory_path() / "quillop-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) std::abort();
    fs::current_path(dir);
    fs::create_directories("Projects/large");
    fs::create_directories("Extensions");
    LargeProjectOptions options;
    options.tile_images = false;
    build_large_project(options);
    g_project_name = "large";
    std::string filler;
    for (int i = 0; i < 2000; ++i) filler += "function engine_" + std::to_string(i) + "() { return 0; }\r\n";
    g_engine_template = filler;
    for (const std::string& marker : kSectionMarkers) g_engine_template += marker + "\r\n" + filler.substr(0, 4000);
    tk::set_instant_pause(true);
    return true;
  }();
  (void)done;
}

void BM_ExportGame(benchmark::State& state) {
  prepare();
  for (auto _ : state) export_game();
  state.counters["game.js bytes"] = double(fs::file_size("Projects/large/game.js"));
}
BENCHMARK(BM_ExportGame)->Unit(benchmark::kMillisecond);

// The floor: one file of game.js's size written and closed.
void BM_WriteFileOfGameJsSize(benchmark::State& state) {
  prepare();
  export_game();
  const std::string bytes(fs::file_size("Projects/large/game.js"), 'x');
  for (auto _ : state) {
    fs::remove("Projects/large/floor.js");
    FILE* f = std::fopen("Projects/large/floor.js", "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}
BENCHMARK(BM_WriteFileOfGameJsSize)->Unit(benchmark::kMillisecond);

void BM_GenerateObjects(benchmark::State& state) {
  prepare();
  for (auto _ : state) benchmark::DoNotOptimize(gen_objects_js());
}
BENCHMARK(BM_GenerateObjects)->Unit(benchmark::kMillisecond);

void BM_GenerateScenes(benchmark::State& state) {
  prepare();
  for (auto _ : state) benchmark::DoNotOptimize(gen_scenes_js());
}
BENCHMARK(BM_GenerateScenes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
