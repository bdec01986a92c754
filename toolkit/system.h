#pragma once
// Waiting, the clock and starting other programs, each through a seam that
// tests replace so that they run without waits.
#include <functional>
#include <string>

namespace tk {

// Waits ms milliseconds while windows keep repainting; events raised in the
// meantime stay queued. With instant pauses on it returns at once.
void pause(int ms);
void set_instant_pause(bool on);
long long total_paused_ms();  // sum of every pause asked for, for tests

struct TimeOfDay {
  int hour = 0, minute = 0, second = 0;
};
TimeOfDay time_of_day();
// Replaces the clock; nullptr restores the system clock.
void set_clock(std::function<TimeOfDay()> clock);

// Starts program (looked up on PATH) with one argument as a detached process
// that is not waited for. False when it could not be started.
bool run_detached(const std::string& program, const std::string& argument);

// Hands a file (a path relative to the working directory or absolute) to
// the desktop's program for its type. False, with the desktop's reason in
// `why`, when the file is missing or nothing on the desktop can show it.
bool show_file(const std::string& path, std::string& why);

}  // namespace tk
