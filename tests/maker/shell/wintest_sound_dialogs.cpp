// The sound and music properties dialogs driven while their own loops run.
#include <filesystem>

#include "maker/shell/background_dialog.h"
#include "maker/shell/small_windows.h"
#include "maker/shell/sound_dialogs.h"
#include "shell_fixture.h"

namespace {

namespace fs = std::filesystem;

void press(const char* button, int n = 0) {
  for (int w : tk::test::widgets_of_window(kDialogWindow))
    if (tk::text(w) == button && n-- == 0) return tk::test::click(w);
  ADD_FAILURE() << "no button " << button;
}

int name_input() {
  for (int w : tk::test::widgets_of_window(kDialogWindow))
    if (tk::widget_kind(w) == tk::WidgetKind::Input) return w;
  return -1;
}

void retype_name(const std::string& text) {
  tk::set_text(name_input(), "");
  tk::test::type_text(name_input(), text);
}

void write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST_F(ShellTest, SoundDoneStoresFileNamesAndCopiesChosenFilesIntoTheWorkingFolder) {
  const std::string name = new_sound();
  const std::string folder = g_project_folder + "/";
  g_sounds[0].ogg_file = "old.ogg";
  fs::create_directories("elsewhere");
  write("elsewhere/boom.wav", "RIFF new");
  write("elsewhere/empty.mp3", "");
  write(folder + "boom.wav", "RIFF old");
  set_project_modified(0);
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::window_title(kDialogWindow), "Sound properties - " + name);
    EXPECT_EQ(tk::window_width(kDialogWindow), 480);
    EXPECT_EQ(tk::window_height(kDialogWindow), 220);
    EXPECT_TRUE(tk::window_disabled(kMainWindow));
    EXPECT_EQ(std::make_pair(tk::widget_x(65), tk::widget_y(65)), std::make_pair(405, 185));
    EXPECT_NE(tk::test::find_widget(kDialogWindow, "File: old.ogg"), -1);
    press("Set WAV file...");
  });
  tk::test::when_idle([&] {
    EXPECT_NE(tk::test::find_widget(kDialogWindow, "File: boom.wav"), -1);
    press("Set MP3 file...");  // cancelled
  });
  tk::test::when_idle([&] {
    EXPECT_NE(tk::test::find_widget(kDialogWindow, "File: "), -1);
    press("Set MP3 file...");
  });
  tk::test::when_idle([&] {
    tk::test::request_close(kDialogWindow);  // no cancel
    press("Set OGG file...");
  });
  tk::test::when_idle([&] {
    // Nothing reaches the working folder before "Done".
    EXPECT_EQ(read_file(folder + "boom.wav"), "RIFF old");
    press("Done");
  });
  ask_->answer_file(dir_ + "/elsewhere/boom.wav");
  ask_->answer_file("");
  ask_->answer_file(dir_ + "/elsewhere/empty.mp3");
  ask_->answer_file(dir_ + "/elsewhere/missing.ogg");
  edit_sound(name);

  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  ASSERT_EQ(ask_->asked.size(), 4u);
  EXPECT_EQ(ask_->asked[0].title, "Select a sound");
  EXPECT_EQ(ask_->asked[0].default_path, "");
  EXPECT_EQ(ask_->asked[0].patterns, "WAV files(*.wav)|*.wav");
  EXPECT_EQ(ask_->asked[1].patterns, "MP3 files(*.mp3)|*.mp3");
  EXPECT_EQ(ask_->asked[3].patterns, "OGG files(*.ogg)|*.ogg");
  EXPECT_EQ(ask_->asked[3].title, "Select a sound");
  EXPECT_EQ(g_sounds[0].name, name);  // its own name is free
  EXPECT_EQ(g_sounds[0].wav_file, "boom.wav");
  EXPECT_EQ(g_sounds[0].mp3_file, "empty.mp3");
  EXPECT_EQ(g_sounds[0].ogg_file, "missing.ogg");
  EXPECT_EQ(read_file(folder + "boom.wav"), "RIFF new");
  EXPECT_FALSE(fs::exists(folder + "empty.mp3"));  // 0 bytes: not copied
  EXPECT_FALSE(fs::exists(folder + "missing.ogg"));
  EXPECT_EQ(g_project_modified, 1);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_FALSE(tk::window_disabled(kMainWindow));
  EXPECT_NE(card_of(name), -1);
}

TEST_F(ShellTest, SoundCopyReplacesALinkInTheWorkingFolderInsteadOfFollowingIt) {
  const std::string name = new_sound();
  const std::string folder = g_project_folder + "/";
  write("outside.wav", "keep");
  fs::create_symlink(dir_ + "/outside.wav", folder + "boom.wav");
  fs::create_directories("elsewhere");
  write("elsewhere/boom.wav", "RIFF new");
  tk::test::when_idle([] { press("Set WAV file..."); });
  tk::test::when_idle([] { press("Done"); });
  ask_->answer_file(dir_ + "/elsewhere/boom.wav");
  edit_sound(name);
  EXPECT_EQ(read_file("outside.wav"), "keep");
  EXPECT_FALSE(fs::is_symlink(folder + "boom.wav"));
  EXPECT_EQ(read_file(folder + "boom.wav"), "RIFF new");
}

// The sound "Beep" names beep.wav in the working folder. A music, or another
// sound, given a different beep.wav asks before replacing it; the same bytes,
// or a file only the edited record names, are copied without a question.
TEST_F(ShellTest, DoneAsksBeforeReplacingAnotherResourcesFileOfTheSameName) {
  struct Case {
    const char* kind;
    std::string (*create)();
    void (*open)(const std::string&);
    const char* chosen_bytes;
    bool asked;
  } cases[] = {
      {"music", new_music, music_properties_dialog, "RIFF music", true},
      {"other sound", new_sound, edit_sound, "RIFF other", true},
      {"same bytes", new_music, music_properties_dialog, "RIFF beep", false},
  };
  const std::string working = g_project_folder + "/beep.wav";
  fs::create_directories("elsewhere");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    clear_resource_lists();
    Sound beep;
    beep.name = "Beep";
    beep.wav_file = "beep.wav";
    g_sounds.append(beep);
    write(working, "RIFF beep");
    write("elsewhere/beep.wav", c.chosen_bytes);
    const std::string name = c.create();
    // The edited record's name and WAV file.
    auto edited = [&] {
      return c.open == edit_sound ? g_sounds[1].name + " " + g_sounds[1].wav_file
                                  : g_musics[0].name + " " + g_musics[0].wav_file;
    };
    tk::test::when_idle([] {
      press("Set WAV file...");
      retype_name("Renamed");
      press("Done");
    });
    ask_->answer_file(dir_ + "/elsewhere/beep.wav");
    if (c.asked) {
      ask_->answer_yes_no(0);
      tk::test::when_idle([&] {
        // Declined: nothing stored, the dialog stays.
        EXPECT_TRUE(tk::window_exists(kDialogWindow));
        EXPECT_EQ(edited(), name + " ");
        EXPECT_EQ(read_file(working), "RIFF beep");
        press("Done");
      });
      ask_->answer_yes_no(1);
    }
    ask_->asked.clear();
    c.open(name);
    EXPECT_EQ(tk::test::idle_actions_left(), 0);
    std::vector<std::string> questions;
    for (const tk::test::Question& q : ask_->asked)
      if (q.what == tk::test::Asked::YesNo) questions.push_back(q.title + ": " + q.text);
    EXPECT_EQ(questions, c.asked ? std::vector<std::string>(2, "Confirm: Another resource uses a different "
                                                              "file named 'beep.wav'. Replace it?")
                                 : std::vector<std::string>{});
    EXPECT_EQ(edited(), "Renamed beep.wav");
    EXPECT_EQ(read_file(working), c.chosen_bytes);
  }

  // Named by the edited sound alone: replaced without a question.
  g_musics.clear();
  write("elsewhere/beep.wav", "RIFF newer");
  tk::test::when_idle([] {
    press("Set WAV file...");
    press("Done");
  });
  ask_->answer_file(dir_ + "/elsewhere/beep.wav");
  ask_->asked.clear();
  edit_sound("Beep");
  EXPECT_EQ(ask_->asked.size(), 1u);
  EXPECT_EQ(read_file(working), "RIFF newer");
}

// A chosen file keeps its own name in the working folder and the project
// folder. The sound, music and background dialogs refuse at once a name the
// project file cannot keep (a line break) or one too long to be written
// with ".part" beside it; the dialog goes on and "Done" stores nothing.
TEST_F(ShellTest, ChosenFileNamesThatCannotBeKeptAreRefused) {
  const char* const kLineBreak = "A file name cannot contain a line break.";
  const char* const kTooLong = "The file name is too long";
  struct Case {
    std::string (*create)();
    void (*open)(const std::string&);
    const char* button;
    std::string file;
    const char* message;  // nullptr: accepted
    const std::string& (*stored)();
  } cases[] = {
      {new_sound, edit_sound, "Set WAV file...", "beep\n.wav", kLineBreak,
       []() -> const std::string& { return g_sounds[0].wav_file; }},
      {new_music, music_properties_dialog, "Set OGG file...", "song\r.ogg", kLineBreak,
       []() -> const std::string& { return g_musics[0].ogg_file; }},
      {new_background, open_background_properties, "Select image...", "tiles\r\n.png", kLineBreak,
       []() -> const std::string& { return g_backgrounds[0].image_file; }},
      {new_sound, edit_sound, "Set MP3 file...", std::string(247, 'a') + ".mp3", kTooLong,
       []() -> const std::string& { return g_sounds[0].mp3_file; }},
      {new_background, open_background_properties, "Select image...", std::string(247, 'b') + ".png",
       kTooLong, []() -> const std::string& { return g_backgrounds[0].image_file; }},
      {new_music, music_properties_dialog, "Set WAV file...", std::string(246, 'c') + ".wav", nullptr,
       []() -> const std::string& { return g_musics[0].wav_file; }},
  };
  fs::create_directories("elsewhere");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    clear_resource_lists();
    write("elsewhere/" + c.file, "RIFF");
    const std::string name = c.create();
    tk::test::when_idle([&] { press(c.button); });
    tk::test::when_idle([&] {
      EXPECT_TRUE(tk::window_exists(kDialogWindow));
      const bool shown = tk::test::find_widget(kDialogWindow, "File: " + c.file) != -1 ||
                         tk::test::find_widget(kDialogWindow, c.file) != -1;
      EXPECT_EQ(shown, !c.message);
      press("Done");
    });
    ask_->answer_file(dir_ + "/elsewhere/" + c.file);
    ask_->asked.clear();
    c.open(name);
    EXPECT_EQ(tk::test::idle_actions_left(), 0);
    EXPECT_EQ(ask_->messages(),
              c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    for (const tk::test::Question& q : ask_->asked)
      EXPECT_TRUE(q.what != tk::test::Asked::Message || q.title == "Error");
    EXPECT_EQ(c.stored(), c.message ? "" : c.file);
    EXPECT_EQ(fs::exists(g_project_folder + "/" + c.file), !c.message);
  }
}

TEST_F(ShellTest, UnsetAsksAndDoneStoresAnEmptyNameKeepingTheOldCopy) {
  const std::string name = new_music();
  const std::string folder = g_project_folder + "/";
  g_musics[0].wav_file = "a.wav";
  g_musics[0].mp3_file = "a.mp3";
  write(folder + "a.mp3", "ID3");
  tk::test::when_idle([] { press("<< Unset", 1); });  // answered No
  tk::test::when_idle([] {
    EXPECT_NE(tk::test::find_widget(kDialogWindow, "File: a.mp3"), -1);
    press("<< Unset", 1);
  });
  tk::test::when_idle([] {
    EXPECT_EQ(tk::test::find_widget(kDialogWindow, "File: a.mp3"), -1);
    EXPECT_EQ(g_musics[0].mp3_file, "a.mp3");  // only "Done" stores
    press("Done");
  });
  ask_->answer_yes_no(0);
  ask_->answer_yes_no(1);
  music_properties_dialog(name);
  ASSERT_EQ(ask_->asked.size(), 2u);
  EXPECT_EQ(ask_->asked[1].title, "Confirm");
  EXPECT_EQ(ask_->asked[1].text, "Remove MP3 source?");
  EXPECT_EQ(g_musics[0].wav_file, "a.wav");
  EXPECT_EQ(g_musics[0].mp3_file, "");
  EXPECT_EQ(read_file(folder + "a.mp3"), "ID3");
}

TEST_F(ShellTest, MusicNameMayEqualASoundButNotAnotherMusic) {
  const std::string sound = new_sound(), other = new_music(), name = new_music();
  tk::test::when_idle([&] {
    EXPECT_EQ(tk::window_title(kDialogWindow), "Music properties - " + name);
    press("Set OGG file...");
    retype_name(other);
    press("Done");
  });
  tk::test::when_idle([] {
    set_project_modified(0);
    tk::set_text(name_input(), "");
    press("Done");
  });
  tk::test::when_idle([&] {
    EXPECT_EQ(g_project_modified, 1);  // also when the name is refused
    EXPECT_EQ(g_musics[1].name, name);
    EXPECT_EQ(g_musics[1].ogg_file, "");
    retype_name(sound);
    press("Done");
  });
  ask_->answer_file("/nowhere/theme.ogg");
  music_properties_dialog(name);
  EXPECT_EQ(ask_->asked[0].title, "Select a music (OGG)");
  EXPECT_EQ(ask_->asked[0].patterns, "Music files(*.ogg)|*.ogg");
  EXPECT_EQ(ask_->messages(), (std::vector<std::string>{"The music name '" + other + "' already exists",
                                                        "The music name is missing"}));
  EXPECT_EQ(ask_->asked[1].title, "Error");
  EXPECT_EQ(g_musics[1].name, sound);
  EXPECT_EQ(g_musics[1].ogg_file, "theme.ogg");
}

TEST_F(ShellTest, SoundAndMusicDeleteAskAndLeaveTheModifiedFlag) {
  struct Case {
    const char* kind;
    std::string (*create)();
    void (*open)(const std::string&);
    const char* question;
    const char* missing_name;
  } cases[] = {
      {"Sounds", new_sound, edit_sound, "Do you really want to delete this sound?",
       "The sound name is missing"},
      {"Musics", new_music, music_properties_dialog, "Do you really want to delete this music?",
       "The music name is missing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    clear_resource_lists();
    const std::string kept = c.create(), name = c.create();
    ask_->asked.clear();
    tk::test::when_idle([] {
      tk::set_text(name_input(), "");
      press("Done");
    });
    tk::test::when_idle([] {
      set_project_modified(0);
      press("Delete");
    });
    tk::test::when_idle([] { press("Delete"); });
    ask_->answer_yes_no(0);
    ask_->answer_yes_no(1);
    c.open(name);
    ASSERT_EQ(ask_->asked.size(), 3u);
    EXPECT_EQ(ask_->asked[0].text, c.missing_name);
    EXPECT_EQ(ask_->asked[2].title, "Confirm");
    EXPECT_EQ(ask_->asked[2].text, c.question);
    EXPECT_EQ(g_project_modified, 0);
    EXPECT_EQ(card_of(name), -1);
    EXPECT_NE(card_of(kept), -1);
    EXPECT_FALSE(tk::window_exists(kDialogWindow));

    c.open("no such name");  // only rebuilds
    EXPECT_FALSE(tk::window_exists(kDialogWindow));
  }
}
