// Time from a click to its action in the windows whose timers redraw large
// pictures: the background dialog with a 4096 x 4096 picture, the scene
// editor with the large scene (4000 x 3000, 10,000 instances and 10,000
// tiles) and the sprite dialog at zoom 64. Each dialog runs its own loop
// with its timer for a while first, so that any backlog of ticks builds up;
// then a check box gets a click through GTK's event dispatch (the pointer
// entering it, a press and a release) and the time runs until the dialog
// has acted on it. cpu_idle is the share of one core the process used while
// the dialog sat open before the click. Needs a display.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "bench/bench_support.h"
#include "bench/large_project.h"
#include "imaging/codec.h"
#include "imaging/image.h"
#include "maker/graphics/scene_editor.h"
#include "maker/graphics/sprite_dialog.h"
#include "maker/project/records.h"
#include "maker/resource_editors.h"
#include "maker/shell/background_dialog.h"
#include "toolkit/gtk_access.h"
#include "toolkit/testing.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kDialogWindow = 63, kDoneButton = 65;
constexpr int kIdleFromMs = 500, kClickAtMs = 2500;


double cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + 1e-6 * double(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

void put_event(GdkEvent* e, GdkWindow* window) {
  e->any.window = GDK_WINDOW(g_object_ref(window));
  gdk_event_put(e);
  gdk_event_free(e);
}

// The pointer enters the check box, presses and releases the left button.
void click_check_box(int widget) {
  GtkWidget* box = tk::gtk_widget_of(widget);
  GdkWindow* window = GTK_BUTTON(box)->event_window;
  GdkEvent* enter = gdk_event_new(GDK_ENTER_NOTIFY);
  enter->crossing.x = enter->crossing.y = 5;
  enter->crossing.mode = GDK_CROSSING_NORMAL;
  enter->crossing.detail = GDK_NOTIFY_NONLINEAR;
  put_event(enter, window);
  for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
    GdkEvent* e = gdk_event_new(type);
    e->button.x = e->button.y = 5;
    e->button.button = 1;
    e->button.device = gdk_device_get_core_pointer();
    put_event(e, window);
  }
}

// Runs inside the dialog's loop: measures the idle share, clicks, watches
// for the action, then ends the dialog with "Done".
struct Probe {
  std::string check_box;          // the text of the check box clicked
  std::function<bool()> acted;    // true once the dialog has acted on it
  double cpu0 = 0, idle_share = 0;
  gint64 wall0 = 0, clicked = 0;
  double seconds = 0;

  void schedule() {
    g_timeout_add(kIdleFromMs, [](gpointer p) -> gboolean {
      auto* self = static_cast<Probe*>(p);
      self->cpu0 = cpu_seconds(), self->wall0 = g_get_monotonic_time();
      return FALSE;
    }, this);
    g_timeout_add(kClickAtMs, [](gpointer p) -> gboolean {
      static_cast<Probe*>(p)->click();
      return FALSE;
    }, this);
  }
  void click() {
    idle_share = (cpu_seconds() - cpu0) / (1e-6 * double(g_get_monotonic_time() - wall0));
    clicked = g_get_monotonic_time();
    click_check_box(tk::test::find_widget(kDialogWindow, check_box));
    g_timeout_add_full(G_PRIORITY_HIGH, 1, [](gpointer p) -> gboolean {
      auto* self = static_cast<Probe*>(p);
      if (!self->acted()) return TRUE;
      self->seconds = 1e-6 * double(g_get_monotonic_time() - self->clicked);
      tk::post_event(tk::kEventWidget, kDialogWindow, kDoneButton, tk::kLeftClick);
      return FALSE;
    }, this, nullptr);
  }
};

bool start(benchmark::State& state) {
  if (!start_toolkit(state)) return false;
  tk::set_instant_pause(true);
  connect_resource_editors();
  reset_program_values();
  clear_resource_lists();
  return true;
}

void finish() {
  tk::close_all_windows();
  tk::clear_events();
  clear_resource_lists();
  imaging::free_all_images();
}

void report(benchmark::State& state, const Probe& probe) {
  state.SetIterationTime(probe.seconds);
  state.counters["cpu_idle"] = probe.idle_share;
}

void BM_ClickInBackgroundDialog(benchmark::State& state) {
  if (!start(state)) return;
  ScratchDirectory scratch;
  g_project_folder = scratch.dir;
  imaging::Image picture(4096, 4096);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      uint8_t* p = picture.at(x, y);
      p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = uint8_t(x ^ y), p[3] = ((x / 64 + y / 64) & 1) ? 255 : 160;
    }
  imaging::save_png(picture, scratch.dir + "/big.png");
  const std::string background = new_background();
  g_backgrounds[0].image_file = "big.png";
  for (auto _ : state) {
    // The dialog's action: the tile settings come into sight.
    Probe probe{"Use as tile set", [] {
                  for (int w : tk::test::widgets_of_window(kDialogWindow))
                    if (tk::widget_kind(w) == tk::WidgetKind::Container) return tk::widget_x(w) == 10;
                  return false;
                }};
    probe.schedule();
    open_background_properties(background);
    report(state, probe);
  }
  finish();
}
BENCHMARK(BM_ClickInBackgroundDialog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

void BM_ClickInSceneEditor(benchmark::State& state) {
  if (!start(state)) return;
  ScratchDirectory scratch;
  LargeProject project = build_large_project({.frame_images = true, .tile_images = false});
  build_large_scene(project);
  g_project_folder = scratch.dir;
  const Background* shown = nullptr;
  for (const Background& b : g_backgrounds)
    if (b.name == g_scenes[0].background_name) shown = &b;
  if (shown) imaging::save_png(*imaging::image_ptr(project.background_images[size_t(shown - &g_backgrounds[0])]),
                               scratch.dir + "/" + shown->image_file);
  g_scene_show_grid = 1;
  const std::string scene = g_scenes[0].name;
  for (auto _ : state) {
    const int before = g_scene_show_tiles;
    Probe probe{"Show tiles", [before] { return g_scene_show_tiles != before; }};
    probe.schedule();
    edit_scene(scene);
    report(state, probe);
  }
  finish();
}
BENCHMARK(BM_ClickInSceneEditor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

void BM_ClickInSpriteDialogAtZoom64(benchmark::State& state) {
  if (!start(state)) return;
  const std::string sprite = new_sprite();
  for (int k = 0; k < 2; ++k) {
    Frame f;
    f.sprite_name = sprite;
    f.file_counter = std::to_string(k);
    f.image = imaging::create_image(imaging::kAnyImage, 32, 32);
    imaging::Image* p = imaging::image_ptr(f.image);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) imaging::set_pixel(*p, x, y, imaging::rgba(x * 8, y * 8, k * 200, (x + y + k) % 2 ? 255 : 90));
    g_frames.append(f);
  }
  g_sprites[0].thumbnail_image = imaging::create_image(imaging::kAnyImage, 150, 100);
  g_sprite_preview_zoom = 64;
  g_sprite_preview_speed = 30;
  for (auto _ : state) {
    const int before = g_sprite_show_collision;
    Probe probe{"Show collision shape", [before] { return g_sprite_show_collision != before; }};
    probe.schedule();
    edit_sprite(sprite);
    report(state, probe);
  }
  finish();
}
BENCHMARK(BM_ClickInSpriteDialogAtZoom64)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
