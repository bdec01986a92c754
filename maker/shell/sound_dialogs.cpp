#include "maker/shell/sound_dialogs.h"

#include <sys/stat.h>

#include "maker/project/confirm.h"
#include "maker/project/records.h"
#include "maker/project/save_project.h"
#include "maker/shell/main_window.h"
#include "maker/shell/resource_browser.h"
#include "maker/shell/small_windows.h"
#include "maker/shell/working_files.h"
#include "toolkit/files.h"
#include "toolkit/toolkit.h"

namespace {

constexpr int kDoneButton = 65;
constexpr int W = 480, H = 220;
constexpr int kFormats = 3;
const char* const kFormatNames[kFormats] = {"WAV", "MP3", "OGG"};

// What the two dialogs do not share.
struct AudioKind {
  const char* noun;  // "sound": in the title, the questions and the messages
  const char* title;
  const char* chooser_titles[kFormats];
  const char* patterns[kFormats];
  int (*name_is_free)(const std::string& name, int skip_index);
  int (*remove)(const std::string& name);
};

const AudioKind kSoundKind = {
    "sound",
    "Sound properties - ",
    {"Select a sound", "Select a sound", "Select a sound"},
    {"WAV files(*.wav)|*.wav", "MP3 files(*.mp3)|*.mp3", "OGG files(*.ogg)|*.ogg"},
    sound_name_is_free,
    delete_sound,
};
const AudioKind kMusicKind = {
    "music",
    "Music properties - ",
    {"Select a music (WAV)", "Select a music (MP3)", "Select a music (OGG)"},
    {"Music files(*.wav)|*.wav", "Music files(*.mp3)|*.mp3", "Music files(*.ogg)|*.ogg"},
    music_name_is_free,
    delete_music,
};

std::string file_part(const std::string& path) { return path.substr(path.rfind('/') + 1); }

bool has_content(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}


// Sound and Music have the same fields; the dialog is one over both lists.
template <class Record>
void audio_dialog(RecordList<Record>& list, const AudioKind& kind, const std::string& opened_name) {
  // A copy: the caller's text may live in a list this dialog changes.
  const std::string name = opened_name;
  int index = -1;
  for (int i = 0; i < list.count() && index < 0; ++i)
    if (list[i].name == name) index = i;
  if (index < 0) {
    rebuild_resource_panel();
    return;
  }
  std::string Record::*const files[kFormats] = {&Record::wav_file, &Record::mp3_file,
                                                &Record::ogg_file};
  const std::string noun = kind.noun;

  tk::disable_window(kMainWindow, true);
  tk::open_window(kDialogWindow, 0, 0, W, H, kind.title + name, tk::kWindowCentred);
  tk::button(kDoneButton, W - 75, H - 35, 65, 25, "Done");
  const int remove = tk::button(tk::kAny, 10, H - 35, 65, 25, "Delete");
  const int name_input = tk::input(tk::kAny, 10, 10, 230, 25, list[index].name);
  std::string sources[kFormats];
  bool chosen[kFormats] = {};
  int set_buttons[kFormats], labels[kFormats], unset_buttons[kFormats];
  for (int f = 0; f < kFormats; ++f) {
    const int y = 40 + 30 * f;
    sources[f] = list[index].*files[f];
    set_buttons[f] = tk::button(tk::kAny, 10, y, 150, 25,
                                std::string("Set ") + kFormatNames[f] + " file...");
    labels[f] = tk::label(tk::kAny, 170, y + 5, 230, 25, "File: " + sources[f]);
    unset_buttons[f] = tk::button(tk::kAny, 420, y, 50, 25, "<< Unset");
  }

  for (bool done = false; !done;) {
    tk::Event e = tk::wait_event();
    if (e.type != tk::kEventWidget) continue;
    for (int f = 0; f < kFormats; ++f) {
      if (e.object == set_buttons[f]) {
        tk::FileChoice choice = tk::open_file(kind.chooser_titles[f], "", kind.patterns[f], 0);
        if (choice.path.empty() || !working_file_name_usable(file_part(choice.path))) continue;
        sources[f] = choice.path;
        chosen[f] = true;
        tk::set_text(labels[f], "File: " + file_part(choice.path));
      } else if (e.object == unset_buttons[f]) {
        if (!confirm_yes_no("Confirm", std::string("Remove ") + kFormatNames[f] + " source?")) continue;
        sources[f] = "";
        chosen[f] = false;
        tk::set_text(labels[f], "File: ");
      }
    }
    if (e.object == remove) {
      if (!confirm_yes_no("Confirm", "Do you really want to delete this " + noun + "?")) continue;
      kind.remove(name);
      done = true;
    } else if (e.object == kDoneButton) {
      set_project_modified(1);
      const std::string typed = tk::text(name_input);
      if (typed.empty()) {
        show_error("The " + noun + " name is missing");
        continue;
      }
      if (!kind.name_is_free(typed, index)) {
        show_error("The " + noun + " name '" + typed + "' already exists");
        continue;
      }
      Record& record = list[index];
      // Only a plain name keeps the copy inside the working folder.
      bool copies[kFormats], declined = false;
      for (int f = 0; f < kFormats && !declined; ++f) {
        const std::string file = file_part(sources[f]);
        copies[f] = chosen[f] && plain_file_name(file) && has_content(sources[f]);
        declined = copies[f] && !may_replace_working_file(sources[f], file, &record);
      }
      if (declined) continue;
      record.name = typed;
      for (int f = 0; f < kFormats; ++f) record.*files[f] = file_part(sources[f]);
      for (int f = 0; f < kFormats; ++f)
        if (copies[f]) tk::copy_file_over(sources[f], g_project_folder + "/" + file_part(sources[f]));
      done = true;
    }
  }
  tk::disable_window(kMainWindow, false);
  tk::close_window(kDialogWindow);
  rebuild_resource_panel();
}

}  // namespace

void edit_sound(const std::string& name) { audio_dialog(g_sounds, kSoundKind, name); }

void music_properties_dialog(const std::string& name) {
  audio_dialog(g_musics, kMusicKind, name);
}
