// Start-up to the first event of the main loop, and rebuilding the resource
// browser, which runs on every resize of the main window. Both need a
// display; without one they are skipped.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "imaging/image.h"
#include "maker/project/records.h"
#include "maker/shell/main_loop.h"
#include "maker/shell/main_window.h"
#include "maker/shell/resource_browser.h"
#include "maker/shell/startup.h"
#include "toolkit/testing.h"
#include "toolkit/toolkit.h"

namespace {

void BM_StartUpToFirstEvent(benchmark::State& state) {
  if (!have_display()) {
    state.SkipWithError("needs a display");
    return;
  }
  ScratchDirectory scratch;
  tk::set_instant_pause(true);
  // The start-up version check goes out to the network; not timed here.
  std::ofstream("preferences.dat") << "[Misc]\nCheckProgramVersion = 0\n";
  char name[] = "quillop-maker";
  char* args[] = {name, nullptr};
  for (auto _ : state) {
    int argc = 1;
    char** argv = args;
    if (!start_up(argc, argv)) {
      state.SkipWithError("no display");
      break;
    }
    tk::Event event = tk::wait_event();
    handle_main_event(event);
    state.PauseTiming();
    tk::close_all_windows();
    tk::clear_events();
    clear_resource_lists();
    g_keywords.clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToFirstEvent)->Unit(benchmark::kMillisecond)->Iterations(10);

// 1,000 resources over the seven tabs, half the sprites with a thumbnail and
// the objects pointing at them.
// show_work: also time the toolkit's handling of the new widgets (realising,
// sizing) that follows on the next loop iteration. cold: every widget is
// made anew, as after New or Open (which free the browser's widgets).
void rebuild_benchmark(benchmark::State& state, bool show_work, bool cold = false) {
  if (!start_toolkit(state)) return;
  reset_program_values();
  clear_resource_lists();
  load_main_fonts();
  build_main_window();
  tk::resize_window(kMainWindow, tk::kKeep, tk::kKeep, 1280, 1000);
  tk::process_pending();
  int thumbnail = imaging::create_image(imaging::kAnyImage, 150, 100);
  for (int i = 0; i < 1000; ++i) {
    switch (i % 7) {
      case 0: {
        new_sprite();
        if (i % 2) g_sprites[g_sprites.count() - 1].thumbnail_image = imaging::copy_image(thumbnail, imaging::kAnyImage);
        break;
      }
      case 1: new_sound(); break;
      case 2: new_music(); break;
      case 3: new_background(); break;
      case 4: new_font(); break;
      case 5: {
        new_object();
        g_objects[g_objects.count() - 1].sprite_name = g_sprites[g_sprites.count() - 1].name;
        break;
      }
      case 6: new_scene(); break;
    }
  }
  rebuild_resource_panel();
  tk::process_pending();
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      for (const ResourceEntry& e : g_resource_entries) tk::free_widget(e.widget);
      g_resource_entries.clear();
      tk::process_pending();
      state.ResumeTiming();
    }
    rebuild_resource_panel();
    if (!show_work) state.PauseTiming();
    tk::process_pending();
    if (!show_work) state.ResumeTiming();
  }
  state.counters["entries"] = g_resource_entries.count();
  tk::close_all_windows();
  tk::clear_events();
  clear_resource_lists();
  imaging::free_image(thumbnail);
}
void BM_RebuildResourcePanel(benchmark::State& state) { rebuild_benchmark(state, false); }
void BM_RebuildResourcePanelAndShow(benchmark::State& state) { rebuild_benchmark(state, true); }
void BM_RebuildResourcePanelColdAndShow(benchmark::State& state) {
  rebuild_benchmark(state, true, true);
}
BENCHMARK(BM_RebuildResourcePanel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildResourcePanelAndShow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildResourcePanelColdAndShow)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
