#pragma once
// Requesters: the modal questions the program asks. All go through one
// interface; the GTK one shows real dialogs, tests install a scripted one
// (toolkit/testing.h).
#include <string>
#include <vector>

namespace tk {

enum class MessageKind { Info, Warning, Error };

// A file choice: the path ("" when cancelled) and the index of the pattern
// entry selected in the chooser.
struct FileChoice {
  std::string path;
  int pattern = 0;
};

class Requesters {
 public:
  virtual ~Requesters() = default;
  virtual void message(const std::string& title, const std::string& text, MessageKind kind) = 0;
  virtual int yes_no(const std::string& title, const std::string& text) = 0;
  virtual FileChoice open_file(const std::string& title, const std::string& default_path,
                               const std::string& patterns, int pattern) = 0;
  virtual FileChoice save_file(const std::string& title, const std::string& default_path,
                               const std::string& patterns, int pattern) = 0;
  virtual int colour(int initial) = 0;
};

// Installs the implementation used from now on; nullptr restores the GTK one.
// The caller keeps ownership.
void set_requesters(Requesters* requesters);
Requesters& requesters();

// Message box with one OK button.
void message_box(const std::string& title, const std::string& text,
                 MessageKind kind = MessageKind::Info);
// Question with Yes and No: 1 for Yes, 0 for No or a closed box.
int yes_no(const std::string& title, const std::string& text);
// File choosers. patterns: "label|pattern|label|pattern...", several patterns
// of one entry separated by ';', as "WAV files(*.wav)|*.wav|All(*.*)|*.*".
// pattern is the index of the entry selected at first.
FileChoice open_file(const std::string& title, const std::string& default_path,
                     const std::string& patterns, int pattern = 0);
FileChoice save_file(const std::string& title, const std::string& default_path,
                     const std::string& patterns, int pattern = 0);
// Colour chooser started at `initial` (red + 256 * green + 65536 * blue):
// the chosen colour, or -1 when cancelled.
int choose_colour(int initial);

// The entries of a pattern list as (label, patterns split at ';').
struct PatternEntry {
  std::string label;
  std::vector<std::string> patterns;
};
std::vector<PatternEntry> parse_patterns(const std::string& patterns);

}  // namespace tk
