#pragma once
// Test support: scripted requesters and drivers that act on widgets as a
// user would, through the real GTK signals and events, so that the toolkit's
// own handlers queue the events.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/events.h"
#include "toolkit/requester.h"

namespace tk::test {

// ---- scripted requesters ----
enum class Asked { Message, YesNo, OpenFile, SaveFile, Colour };

// One question the program asked.
struct Question {
  Asked what = Asked::Message;
  std::string title, text;                // text: the message or question
  MessageKind kind = MessageKind::Info;   // messages
  std::string default_path, patterns;     // file choosers
  int pattern = 0;                        // file choosers: entry selected at first
  int colour = 0;                         // colour chooser: initial colour
};

// Answers questions in order from a queue and records every question. A
// message needs no answer. A question with no answer queued, or with an
// answer of another kind, is reported with report_failure().
// Constructing installs it; destroying restores the previous requesters.
class ScriptedRequesters : public Requesters {
 public:
  ScriptedRequesters();
  ~ScriptedRequesters() override;
  ScriptedRequesters(const ScriptedRequesters&) = delete;
  ScriptedRequesters& operator=(const ScriptedRequesters&) = delete;

  void answer_yes_no(int yes);
  void answer_file(const std::string& path, int pattern = 0);  // "" cancels
  void answer_colour(int colour);                              // -1 cancels
  int unanswered() const { return int(answers_.size()); }

  std::vector<Question> asked;
  // The texts of the messages shown, in order (a shorthand over `asked`).
  std::vector<std::string> messages() const;

  void message(const std::string& title, const std::string& text, MessageKind kind) override;
  int yes_no(const std::string& title, const std::string& text) override;
  FileChoice open_file(const std::string& title, const std::string& default_path,
                       const std::string& patterns, int pattern) override;
  FileChoice save_file(const std::string& title, const std::string& default_path,
                       const std::string& patterns, int pattern) override;
  int colour(int initial) override;

 private:
  struct Answer {
    Asked what;
    int number = 0;
    FileChoice file;
  };
  Answer next(Asked what, const Question& question);
  std::deque<Answer> answers_;
  Requesters* previous_;
};

// ---- drivers ----
// In test mode, when wait_event() finds the queue empty it first runs the
// next of these actions (which usually drives a widget or posts an event),
// before it waits for a timer or fails. set_test_mode() drops those left.
void when_idle(std::function<void()> action);
int idle_actions_left();
// Handles GTK's pending work and returns every queued event, in order.
std::vector<Event> take_events();
// Runs GTK's loop for up to ms (in real time) or until an event is queued.
bool wait_for_event(int ms);
// Test mode leaves the X server's own pointer out; a test that moves it
// (with xdotool) lets it through until test mode is set again.
void take_real_pointer();
// Runs GTK's loop until `done` holds, for what the window manager or another
// program answers in its own time; false when ms pass first. The bound only
// ends a test that would otherwise hang, so it is generous.
bool wait_until(const std::function<bool()>& done, int ms = 30000);
// Proves that nothing more is on its way for what was asked of the window
// so far: a round trip through the X server and the window manager, which
// answers in order, then GTK's pending work. False when the window is not
// shown or the window manager does not answer.
bool settle(int window);

// Button, image button, check box, option: a click (the "clicked" signal).
// Image view, list, canvas: a press and release of the left button at the
// widget's centre, or at (x, y) inside it for the second form.
void click(int widget);
void click_at(int widget, int x, int y, int button = 1);
void double_click_at(int widget, int x, int y, int button = 1);
void right_click(int widget);
// A double click on a row of a list (on its cells, as the user does it).
void double_click_item(int list, int row);
// Typing and pasting into an input or text area at the end of its text.
void type_text(int widget, const std::string& text);
void paste_text(int widget, const std::string& text);
void focus(int widget);  // gives the keyboard focus (kFocus / kLostFocus follow)
// Picking an item of a drop-down, a row of a list, a tab of a panel, a value
// of a slider, a row check box of a list: as the user does it.
void choose_item(int widget, int item);
void toggle_item_check(int list, int row);
void move_slider(int slider, int value);

// Canvas input at canvas pixel coordinates.
void mouse_enter(int canvas, int x, int y);
void mouse_leave(int canvas, int x, int y);
void mouse_move(int canvas, int x, int y, int buttons = 0, int modifiers = 0);
void mouse_button(int canvas, int x, int y, int button, bool press, int modifiers = 0);
// A key press sent to the window; it reaches the focused widget when no
// shortcut takes it. key: a key code of toolkit/menu.h.
void press_key(int window, int key, int modifiers = 0);

// The close box of a window (a delete event from the window manager).
void request_close(int window);
// A menu item as if chosen with the mouse.
void choose_menu_item(int item);

// The first widget of the window (in creation order) whose kind shows text
// and whose text equals `text`; -1 when none.
int find_widget(int window, const std::string& text);
std::vector<int> widgets_of_window(int window);

// ---- texts shown whole ----
// A text that its widget cuts: the width of its laid-out text (the Pango
// layout of the text in the font it is drawn with) and the width the widget
// gives it, in pixels.
struct ClippedText {
  std::string text;
  int needed = 0, room = 0;
  bool operator==(const ClippedText&) const = default;
};
// The shown texts of a window that do not fit, on every tab of its panels:
// those of labels, buttons, check boxes, options, list headers and tabs, and
// every item of its drop-downs.
std::vector<ClippedText> clipped_texts(int window);
// The same, one line per text naming the window ("" when every text fits);
// without a window, for every open window.
std::string describe_clipped_texts(int window);
std::string describe_clipped_texts();
std::vector<int> open_windows();  // in number order
// Leaves a dialog as a user does: clicks the first of `buttons` found in the
// newest window holding one, or else the close box of the newest window.
void leave_window(const std::vector<std::string>& buttons);
// Queues an idle action that adds the cut texts of every open window to
// `clipped` and then leaves the newest window so.
void look_then_leave(std::string& clipped, const std::vector<std::string>& buttons);

}  // namespace tk::test
