#pragma once
// Shared by the toolkit's window tests: a fixture that leaves no window,
// event or image behind, and small helpers over the event queue.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

#include "imaging/image.h"
#include "toolkit/testing.h"
#include "toolkit/toolkit.h"

class WinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::set_test_mode(true);
    tk::process_pending();
    tk::clear_events();
  }
  void TearDown() override {
    tk::close_all_windows();
    tk::process_pending();
    tk::clear_events();
    imaging::free_all_images();
  }
};

// Removes a folder and everything in it.
inline void remove_tree(const std::string& dir) {
  const gchar* argv[] = {"rm", "-rf", dir.c_str(), nullptr};
  g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr,
               nullptr, nullptr, nullptr);
}

// Releases every key and mouse button held down on the test display.
inline bool release_real_input() {
  const gchar* argv[] = {"bash", QUILLOP_RELEASE_INPUT, nullptr};
  gint status = -1;
  return g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr,
                      nullptr, nullptr, &status, nullptr) &&
         status == 0;
}

// For tests that send input through the X server, as a user's keyboard and
// mouse: each starts with nothing held, whatever an earlier test left held
// (one stopped mid-drag or mid-keystroke).
class RealInputTest : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    ASSERT_TRUE(release_real_input());
  }
};

// The subtypes of the queued widget events of one widget, taking every event.
inline std::vector<int> subtypes_of(int widget) {
  std::vector<int> out;
  for (const tk::Event& e : tk::test::take_events())
    if (e.type == tk::kEventWidget && e.object == widget) out.push_back(e.subtype);
  return out;
}

// Runs GTK's loop until `done` holds (for window-manager round trips).
inline bool eventually(const std::function<bool()>& done) { return tk::test::wait_until(done); }

// Queued events of one type for one window, taking every event.
inline std::vector<tk::Event> events_of_type(int type, int window) {
  std::vector<tk::Event> out;
  for (const tk::Event& e : tk::test::take_events())
    if (e.type == type && e.window == window) out.push_back(e);
  return out;
}
