// The event queue: timers, test mode, scripted requesters, pauses and
// starting other programs.
#include "wintest_fixture.h"

#include <algorithm>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace tk;

using Events = WinTest;

TEST_F(Events, PostedEventsComeOutInOrder) {
  post_event(kEventMenu, 15, 17);
  post_event(Event{kEventWidget, 63, 65, kLeftClick});
  EXPECT_EQ(wait_event(), (Event{kEventMenu, 15, 17, 0}));
  EXPECT_EQ(current_event(), (Event{kEventMenu, 15, 17, 0}));
  Event e;
  ASSERT_TRUE(poll_event(e));
  EXPECT_EQ(e, (Event{kEventWidget, 63, 65, kLeftClick}));
  EXPECT_FALSE(poll_event(e));
}

TEST_F(Events, TestModeFailsAtOnceOnAnEmptyQueue) {
  set_failure_handler(nullptr);
  open_window(63, 0, 0, 200, 100, "Waiting");
  tk::test::take_events();  // the size event of its first showing
  gint64 start = g_get_monotonic_time();
  EXPECT_THROW(wait_event(), TestFailure);
  EXPECT_LT(g_get_monotonic_time() - start, 2000000);
  set_failure_handler([](const std::string& reason) { ADD_FAILURE() << reason; });
}

TEST_F(Events, TimersTickForTheirWindowUntilRemoved) {
  open_window(63, 0, 0, 200, 100, "Timers");
  tk::test::take_events();  // the size event of its first showing
  add_timer(63, 777, 33);
  add_timer(63, 88, 100);
  EXPECT_TRUE(timer_exists(63, 777));
  int ticks777 = 0, ticks88 = 0;
  while (ticks88 < 1) {
    Event e = wait_event();
    ASSERT_EQ(e.type, kEventTimer);
    ASSERT_EQ(e.window, 63);
    (e.object == 777 ? ticks777 : ticks88)++;
  }
  EXPECT_EQ(ticks777, 3);  // at 33, 66 and 99 ms of the test clock, then 88 at 100
  remove_timer(63, 777);
  remove_timer(63, 88);
  EXPECT_FALSE(timer_exists(63, 777));
  set_failure_handler(nullptr);
  EXPECT_THROW(wait_event(), TestFailure);
  set_failure_handler([](const std::string& reason) { ADD_FAILURE() << reason; });

  // Timers end with their window.
  open_window(64, 0, 0, 200, 100, "Short-lived");
  tk::test::take_events();  // the size event of its first showing
  add_timer(64, 999, 10);
  close_window(64);
  EXPECT_FALSE(timer_exists(64, 999));
  process_pending();
  EXPECT_TRUE(events_of_type(kEventTimer, 64).empty());
}

// While a redraw slower than the interval holds the loop (here a GLib source
// that is always due and slow, as a large expose is), the timers fire again
// and again, yet one tick of each waits, and a click queued then is next.
TEST_F(Events, ASlowRedrawLeavesAtMostOneTickOfATimerWaiting) {
  open_window(63, 0, 0, 200, 100, "Slow redraw");
  tk::test::take_events();  // the size event of its first showing
  set_test_mode(false);  // real GLib timers, as the program runs them
  add_timer(63, 777, 1);
  add_timer(63, 88, 1);
  int slow_runs = 0;
  const guint slow = g_timeout_add(
      1,
      [](gpointer runs) -> gboolean {
        ++*static_cast<int*>(runs);
        g_usleep(5000);
        return TRUE;
      },
      &slow_runs);
  while (slow_runs < 10) process_pending();
  g_source_remove(slow);
  set_test_mode(true);
  post_event(kEventWidget, 63, 65, kLeftClick);
  const std::vector<Event> queued = tk::test::take_events();
  auto ticks_of = [&](int timer) {
    return std::count(queued.begin(), queued.end(), Event{kEventTimer, 63, timer, 0});
  };
  EXPECT_EQ(ticks_of(777), 1);
  EXPECT_EQ(ticks_of(88), 1);
  ASSERT_EQ(queued.size(), 3u);
  EXPECT_EQ(queued.back(), (Event{kEventWidget, 63, 65, kLeftClick}));
}

TEST_F(Events, ALoopOnTimersAloneStopsAfterItsBudget) {
  set_failure_handler(nullptr);
  set_idle_timer_budget(5);
  open_window(63, 0, 0, 200, 100, "Busy");
  tk::test::take_events();  // the size event of its first showing
  add_timer(63, 888, 5);
  int ticks = 0;
  try {
    for (;;) {
      wait_event();
      ++ticks;
    }
  } catch (const TestFailure&) {
  }
  EXPECT_EQ(ticks, 5);
  set_idle_timer_budget(100);
  set_failure_handler([](const std::string& reason) { ADD_FAILURE() << reason; });
}

TEST_F(Events, IdleActionsDriveAModalLoop) {
  open_window(63, 0, 0, 200, 100, "Modal");
  tk::test::take_events();  // the size event of its first showing
  int done = button(65, 10, 10, 80, 25, "Done");
  int other = button(kAny, 10, 40, 80, 25, "Other");
  tk::test::when_idle([&] { tk::test::click(other); });
  tk::test::when_idle([&] { tk::test::request_close(63); });
  tk::test::when_idle([&] { tk::test::click(done); });
  // A modal loop: takes everything, ends on "Done".
  std::vector<Event> dropped;
  for (;;) {
    Event e = wait_event();
    if (e.type == kEventWidget && e.object == done) break;
    dropped.push_back(e);
  }
  ASSERT_EQ(dropped.size(), 2u);
  EXPECT_EQ(dropped[0].object, other);
  EXPECT_EQ(dropped[1].type, kEventCloseWindow);
  EXPECT_EQ(tk::test::idle_actions_left(), 0);
}

TEST_F(Events, ScriptedRequestersAnswerInOrderAndRecord) {
  tk::test::ScriptedRequesters script;
  script.answer_yes_no(1);
  script.answer_file("/tmp/a.wav", 1);
  script.answer_colour(-1);
  message_box("Error", "The background name is missing", MessageKind::Error);
  EXPECT_EQ(yes_no("Confirm", "Exit from Quillop Game Maker?"), 1);
  FileChoice f = open_file("Select a sound", "", "WAV files(*.wav)|*.wav|All(*.*)|*.*");
  EXPECT_EQ(f.path, "/tmp/a.wav");
  EXPECT_EQ(f.pattern, 1);
  EXPECT_EQ(choose_colour(255), -1);
  ASSERT_EQ(script.asked.size(), 4u);
  EXPECT_EQ(script.asked[0].what, tk::test::Asked::Message);
  EXPECT_EQ(script.asked[0].title, "Error");
  EXPECT_EQ(script.asked[0].kind, MessageKind::Error);
  EXPECT_EQ(script.asked[1].text, "Exit from Quillop Game Maker?");
  EXPECT_EQ(script.asked[2].patterns, "WAV files(*.wav)|*.wav|All(*.*)|*.*");
  EXPECT_EQ(script.asked[3].colour, 255);
  EXPECT_EQ(script.messages(), std::vector<std::string>{"The background name is missing"});

  // A question nobody scripted, or scripted with another kind of answer, fails.
  set_failure_handler(nullptr);
  EXPECT_THROW(yes_no("Confirm", "Again?"), TestFailure);
  script.answer_colour(0);
  EXPECT_THROW(save_file("Save sprite as PNG strip", "/tmp/", "PNG Images (*.png)|*.png"), TestFailure);
  set_failure_handler([](const std::string& reason) { ADD_FAILURE() << reason; });
}

TEST_F(Events, ScriptedRequestersRestoreThePreviousOnes) {
  Requesters* before = &requesters();
  {
    tk::test::ScriptedRequesters outer;
    {
      tk::test::ScriptedRequesters inner;
      EXPECT_EQ(&requesters(), &inner);
    }
    EXPECT_EQ(&requesters(), &outer);
  }
  EXPECT_EQ(&requesters(), before);
}

TEST_F(Events, InstantPausesAndAFixedClock) {
  set_instant_pause(true);
  long long before = total_paused_ms();
  gint64 start = g_get_monotonic_time();
  tk::pause(1000);
  EXPECT_LT(g_get_monotonic_time() - start, 200000);
  EXPECT_EQ(total_paused_ms() - before, 1000);
  set_instant_pause(false);
  start = g_get_monotonic_time();
  tk::pause(50);
  EXPECT_GE(g_get_monotonic_time() - start, 45000);

  set_clock([] { return TimeOfDay{13, 5, 9}; });
  TimeOfDay t = time_of_day();
  EXPECT_EQ(t.hour, 13);
  EXPECT_EQ(t.minute, 5);
  EXPECT_EQ(t.second, 9);
  set_clock(nullptr);
  t = time_of_day();
  EXPECT_GE(t.hour, 0);
  EXPECT_LT(t.hour, 24);
}

TEST_F(Events, DetachedProgramIsFoundOnThePath) {
  char dir_template[] = "/tmp/tk-path-XXXXXX";
  ASSERT_NE(mkdtemp(dir_template), nullptr);
  std::string dir = dir_template;
  std::string out = dir + "/called";
  {
    std::ofstream script(dir + "/x-www-browser");
    script << "#!/bin/sh\necho \"$1\" > '" << out << "'\n";
  }
  chmod((dir + "/x-www-browser").c_str(), 0755);
  std::string old_path = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (dir + ":" + old_path).c_str(), 1);
  EXPECT_TRUE(run_detached("x-www-browser", "file:///work/Projects/game/index.html"));
  setenv("PATH", old_path.c_str(), 1);
  std::string got;
  ASSERT_TRUE(eventually([&] {
    std::ifstream in(out);
    return bool(std::getline(in, got));
  }));
  EXPECT_EQ(got, "file:///work/Projects/game/index.html");
  EXPECT_FALSE(run_detached("no-such-program-anywhere", "x"));
  unlink(out.c_str());
  unlink((dir + "/x-www-browser").c_str());
  rmdir(dir.c_str());
}
