#include "toolkit/events.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "toolkit/internal.h"
#include "toolkit/testing.h"

namespace tk {
namespace detail {

int quiet_depth = 0;

namespace {
std::deque<Event> queue;
Event current;
bool testing = false;
int timer_budget = 100;
int timers_in_a_row = 0;
std::function<void(const std::string&)> failure_handler;
std::deque<std::function<void()>> idle_actions;

// Test mode runs timers on a clock of its own, in milliseconds: GLib's ticks
// are dropped, and a wait on an empty queue moves this clock on to the next
// timer due and queues its tick. A test then sees the same ticks, in the same
// places, however fast or loaded the machine is.
struct TestTimer {
  int window, timer, interval;
  long long due;
};
std::vector<TestTimer> test_timers;
long long test_clock = 0;
}  // namespace

void push(const Event& event) {
  if (quiet_depth > 0) return;
  if (event.type != kEventTimer) {
    WindowRec* w = find_window(event.window);
    if (w && w->disabled) return;
  }
  queue.push_back(event);
}

void push_widget_event(int widget, int subtype) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  push(Event{kEventWidget, rec->window, widget, subtype});
}

void process_pending_now() {
  if (!testing) {
    // A timer that is always due would keep gtk_events_pending() true for
    // ever, so the draining is bounded in time.
    gint64 end = g_get_monotonic_time() + 250000;
    gdk_flush();
    while (gtk_events_pending() && g_get_monotonic_time() < end) gtk_main_iteration_do(FALSE);
    return;
  }
  // Test mode adds no GLib timers, so everything pending ends: drain it all,
  // with a round trip so that the X server's answers to what was drawn or
  // resized are in too. A test's next step then never overtakes the
  // program's own events, however loaded the machine. The cap is only a
  // safety net against a source that is always due.
  gint64 end = g_get_monotonic_time() + 20000000;
  do {
    gdk_display_sync(gdk_display_get_default());
    while (gtk_events_pending() && g_get_monotonic_time() < end) gtk_main_iteration_do(FALSE);
  } while (gtk_events_pending() && g_get_monotonic_time() < end);
}

int modifiers_of(guint state) {
  int m = 0;
  if (state & GDK_SHIFT_MASK) m |= kShift;
  if (state & GDK_MOD1_MASK) m |= kAlt;
  if (state & GDK_CONTROL_MASK) m |= kControl;
  return m;
}

int buttons_of(guint state) {
  int b = 0;
  if (state & GDK_BUTTON1_MASK) b |= kLeftButton;
  if (state & GDK_BUTTON3_MASK) b |= kRightButton;
  if (state & GDK_BUTTON2_MASK) b |= kMiddleButton;
  return b;
}

namespace {

gboolean wake(gpointer flag) {
  *static_cast<bool*>(flag) = true;
  return FALSE;
}

// Queues the tick of the test timer due first (the earliest added among
// equals) and moves the test clock to it; false when no timer runs.
bool tick_next_test_timer() {
  std::erase_if(test_timers, [](const TestTimer& t) { return !timer_exists(t.window, t.timer); });
  auto next = std::min_element(test_timers.begin(), test_timers.end(),
                               [](const TestTimer& a, const TestTimer& b) { return a.due < b.due; });
  if (next == test_timers.end()) return false;
  test_clock = next->due;
  next->due += next->interval;
  queue.push_back(Event{kEventTimer, next->window, next->timer, 0});
  return true;
}

// Test mode: a loop that only ever sees timer ticks is stuck. Checked before
// each tick, as ticks of several timers may wait together.
bool over_timer_budget() {
  if (timers_in_a_row < timer_budget) return false;
  report_failure("wait_event() got only timer events (" + std::to_string(timers_in_a_row) +
                 " in a row)");
  return true;
}

// Test mode, empty queue: run a scripted idle action, or tick the next timer
// due, or fail.
void wait_in_test_mode() {
  if (!idle_actions.empty()) {
    auto action = std::move(idle_actions.front());
    idle_actions.pop_front();
    action();
    return;
  }
  if (over_timer_budget()) return;
  if (!tick_next_test_timer()) report_failure("wait_event() on an empty event queue");
}

}  // namespace

// Canvas attributes read while handling an event are those of that event.
void note_popped(const Event& e) {
  if (e.type != kEventWidget) return;
  if (WidgetRec* rec = find_widget(e.object, WidgetKind::Canvas)) rec->last_canvas_event = e;
}

}  // namespace detail

using namespace detail;

Event wait_event() {
  for (;;) {
    process_pending_now();
    if (!queue.empty()) {
      if (testing && queue.front().type == kEventTimer && over_timer_budget()) continue;
      current = queue.front();
      queue.pop_front();
      timers_in_a_row = current.type == kEventTimer ? timers_in_a_row + 1 : 0;
      note_popped(current);
      return current;
    }
    if (testing)
      wait_in_test_mode();
    else
      gtk_main_iteration_do(TRUE);
  }
}

bool poll_event(Event& out) {
  process_pending_now();
  if (queue.empty()) return false;
  current = out = queue.front();
  queue.pop_front();
  note_popped(current);
  return true;
}

void post_event(const Event& event) { queue.push_back(event); }
void post_event(int type, int window, int object, int subtype) {
  post_event(Event{type, window, object, subtype});
}
void process_pending() { process_pending_now(); }
int pending_event_count() { return int(queue.size()); }
void clear_events() { queue.clear(); }
const Event& current_event() { return current; }

void set_test_mode(bool on) {
  testing = on;
  ignore_real_pointer(on);
  timers_in_a_row = 0;
  idle_actions.clear();
}
bool test_mode() { return testing; }
void set_idle_timer_budget(int timer_events) { timer_budget = timer_events; }
void set_failure_handler(std::function<void(const std::string&)> handler) {
  failure_handler = std::move(handler);
}

void report_failure(const std::string& reason) {
  if (failure_handler) failure_handler(reason);
  throw TestFailure(reason);
}

namespace test {
void when_idle(std::function<void()> action) { idle_actions.push_back(std::move(action)); }
int idle_actions_left() { return int(idle_actions.size()); }

std::vector<Event> take_events() {
  process_pending_now();
  std::vector<Event> out(queue.begin(), queue.end());
  queue.clear();
  return out;
}

bool wait_for_event(int ms) {
  bool woke = false;
  guint guard = g_timeout_add(guint(ms), wake, &woke);
  process_pending_now();
  while (queue.empty() && !woke) gtk_main_iteration_do(TRUE);
  if (!woke) g_source_remove(guard);
  return !queue.empty();
}
}  // namespace test

// ---- timers ----
namespace {
struct TimerTick {
  int window, timer;
};

// A handler slower than its timer's interval must not leave a backlog that
// keeps the user's input waiting behind it: a tick that finds one of its
// timer still waiting is dropped.
gboolean on_timer(gpointer data) {
  auto* t = static_cast<TimerTick*>(data);
  if (testing) {
    // Added before test mode began: from now on the test clock ticks it.
    if (WindowRec* w = find_window(t->window)) w->timers[t->timer] = 0;
    return FALSE;
  }
  const Event tick{kEventTimer, t->window, t->timer, 0};
  if (std::find(queue.begin(), queue.end(), tick) == queue.end()) push(tick);
  return TRUE;
}

void forget_test_timer(int window, int timer) {
  std::erase_if(test_timers, [&](const TestTimer& t) { return t.window == window && t.timer == timer; });
}
}  // namespace

void add_timer(int window, int timer, int interval_ms) {
  WindowRec* w = find_window(window);
  if (!w) return;
  remove_timer(window, timer);
  if (interval_ms < 1) interval_ms = 1;
  test_timers.push_back({window, timer, interval_ms, test_clock + interval_ms});
  // In test mode the test clock alone ticks timers (0: no GLib source).
  w->timers[timer] = testing ? 0
                             : g_timeout_add_full(G_PRIORITY_DEFAULT, guint(interval_ms), on_timer,
                                                  new TimerTick{window, timer},
                                                  [](gpointer p) { delete static_cast<TimerTick*>(p); });
}

void remove_timer(int window, int timer) {
  WindowRec* w = find_window(window);
  if (!w) return;
  forget_test_timer(window, timer);
  auto it = w->timers.find(timer);
  if (it == w->timers.end()) return;
  if (it->second) g_source_remove(it->second);
  w->timers.erase(it);
  // A tick queued before the removal must not reach the program afterwards.
  std::erase_if(queue, [&](const Event& e) {
    return e.type == kEventTimer && e.window == window && e.object == timer;
  });
}

bool timer_exists(int window, int timer) {
  WindowRec* w = find_window(window);
  return w && w->timers.count(timer);
}

}  // namespace tk
