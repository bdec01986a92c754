#include "toolkit/system.h"

#include <unistd.h>

#include <ctime>

#include "toolkit/internal.h"

namespace tk {

namespace {
bool instant = false;
long long paused = 0;
std::function<TimeOfDay()> clock_override;

gboolean wake(gpointer flag) {
  *static_cast<bool*>(flag) = true;
  return FALSE;
}

void new_session(gpointer) { setsid(); }
}  // namespace

void pause(int ms) {
  if (ms <= 0) return;
  paused += ms;
  if (instant) return;
  bool done = false;
  g_timeout_add(guint(ms), wake, &done);
  while (!done) gtk_main_iteration_do(TRUE);
}

void set_instant_pause(bool on) { instant = on; }
long long total_paused_ms() { return paused; }

TimeOfDay time_of_day() {
  if (clock_override) return clock_override();
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return TimeOfDay{local.tm_hour, local.tm_min, local.tm_sec};
}

void set_clock(std::function<TimeOfDay()> clock) { clock_override = std::move(clock); }

bool run_detached(const std::string& program, const std::string& argument) {
  if (program.empty()) return false;
  gchar* argv[] = {const_cast<gchar*>(program.c_str()), const_cast<gchar*>(argument.c_str()), nullptr};
  // Without DO_NOT_REAP_CHILD GLib reaps the child itself; the new session
  // keeps it alive when this program ends.
  return g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, new_session, nullptr, nullptr,
                       nullptr);
}

bool show_file(const std::string& path, std::string& why) {
  gchar* here = g_get_current_dir();
  gchar* absolute = g_path_is_absolute(path.c_str()) ? g_strdup(path.c_str())
                                                     : g_build_filename(here, path.c_str(), nullptr);
  GError* error = nullptr;
  gchar* uri = g_filename_to_uri(absolute, nullptr, &error);
  const bool shown = uri && gtk_show_uri(nullptr, uri, GDK_CURRENT_TIME, &error);
  if (!shown) why = error ? error->message : "";
  if (error) g_error_free(error);
  g_free(uri);
  g_free(absolute);
  g_free(here);
  return shown;
}

}  // namespace tk
