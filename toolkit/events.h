#pragma once
// The one event queue of the program. GTK signal handlers only push events
// here; program code takes them one at a time with wait_event().
#include <functional>
#include <stdexcept>
#include <string>

namespace tk {

// Event types.
constexpr int kEventMenu = 1;          // menu item or keyboard shortcut; object = item number
constexpr int kEventCloseWindow = 2;   // close box of the window
constexpr int kEventWidget = 3;        // object = widget number, subtype below
constexpr int kEventSizeWindow = 6;    // inner size changed
constexpr int kEventMinimize = 12;
constexpr int kEventMaximize = 13;
constexpr int kEventRestore = 14;      // back from minimised or maximised
constexpr int kEventTimer = 15;        // object = timer number
constexpr int kEventMouseMove = 24;

// Widget event subtypes.
constexpr int kLeftClick = 0;
constexpr int kRightClick = 1;
constexpr int kLeftDoubleClick = 2;
constexpr int kRightDoubleClick = 3;
constexpr int kFocus = 256;
constexpr int kLostFocus = 512;
constexpr int kChange = 768;
// Canvas subtypes. A left press gives kCanvasLeftButtonDown then kLeftClick;
// a right press kCanvasRightButtonDown then kRightClick.
constexpr int kCanvasMouseEnter = 0x10001;
constexpr int kCanvasMouseLeave = 0x10002;
constexpr int kCanvasMouseMove = 0x10003;
constexpr int kCanvasLeftButtonDown = 0x10004;
constexpr int kCanvasLeftButtonUp = 0x10005;
constexpr int kCanvasRightButtonDown = 0x10006;
constexpr int kCanvasRightButtonUp = 0x10007;
constexpr int kCanvasKeyDown = 0x1000b;

// Modifier bits (canvas events and shortcuts).
constexpr int kShift = 1;
constexpr int kAlt = 2;
constexpr int kControl = 4;
// Buttons-held bits of canvas events.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

struct Event {
  int type = 0;
  int window = -1;   // window the event belongs to
  int object = -1;   // widget, menu item or timer number
  int subtype = 0;   // widget events only
  // Pointer and keyboard state at the time of a canvas event (canvas pixels).
  int x = 0, y = 0, buttons = 0, key = 0, modifiers = 0;
  bool operator==(const Event&) const = default;
};

// Runs GTK's main loop until the queue holds an event and returns it.
Event wait_event();
// Handles GTK's pending work without blocking; pops an event when there is one.
bool poll_event(Event& out);
// Appends an event as if the user had caused it.
void post_event(const Event& event);
void post_event(int type, int window, int object, int subtype = 0);
// Handles GTK's pending work without blocking and without popping.
void process_pending();
// Number of events waiting; drops them all.
int pending_event_count();
void clear_events();
// The event wait_event() or poll_event() returned last.
const Event& current_event();

// ---- timers: GLib timeouts that push kEventTimer for their window ----
// Adding a timer under a number the window already uses replaces it. At most
// one tick of a timer waits in the queue: a tick finding one waiting is dropped.
// Timers keep firing while their window is disabled; they end with the window.
void add_timer(int window, int timer, int interval_ms);
void remove_timer(int window, int timer);
bool timer_exists(int window, int timer);

// ---- test mode ----
// In test mode a wait_event() that finds the queue empty after GTK's pending
// work reports a failure instead of blocking. Timers then run on a test clock
// instead of real time: when timers are running, the empty queue gets the
// tick of the timer due next, but only up to a budget of timer events in a
// row with nothing else queued, so a loop that waits for input nobody will
// give still fails.
void set_test_mode(bool on);
bool test_mode();
void set_idle_timer_budget(int timer_events);  // default 100

// What a failure in test mode throws.
struct TestFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// Called with the reason just before TestFailure is thrown (for example to
// record a test failure); nullptr for none.
void set_failure_handler(std::function<void(const std::string& reason)> handler);
// Reports a failure through the handler and throws TestFailure; used by the
// test mode and the scripted requesters.
[[noreturn]] void report_failure(const std::string& reason);

}  // namespace tk
