#include <sys/stat.h>
#include <unistd.h>

#include "imaging/image.h"
#include "maker/project/new_project.h"
#include "maker/project/preferences.h"
#include "maker/project/records.h"
#include "temp_dir_fixture.h"
#include "toolkit/system.h"
#include "toolkit/testing.h"

namespace {

namespace fs = std::filesystem;

class NewProject : public InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    tk::set_clock([this] { return clock_; });
  }
  void TearDown() override {
    tk::set_clock(nullptr);
    InTempDir::TearDown();
  }

  // A project with something in every kind of list and images owned by it.
  void fill_project() {
    std::string sprite = new_sprite();
    frame_image_ = imaging::create_image(imaging::kAnyImage, 8, 8);
    g_frames.append({"0", sprite, frame_image_});
    g_sprites[0].thumbnail_image = imaging::create_image(imaging::kAnyImage, 150, 100);
    new_background();
    new_sound();
    new_object();
    new_scene();
    g_scenes[0].thumbnail_image = 91;  // the shared blank card
    imaging::create_image(91, 150, 100);
    g_game_settings[0].title = "My game";
    g_resource_entries.append({"Sprites", sprite, 5000, -1, 0});
    g_project_name = "game";
  }

  tk::TimeOfDay clock_{9, 5, 3};
  int frame_image_ = -1;
};

TEST_F(NewProject, UnmodifiedProjectIsReplacedWithoutAQuestion) {
  fill_project();
  set_project_modified(0);
  tk::test::ScriptedRequesters requesters;
  EXPECT_EQ(new_project(), 0);

  EXPECT_TRUE(requesters.asked.empty());
  EXPECT_EQ(g_project_folder, "_temp_090503");
  struct stat st;
  ASSERT_EQ(lstat("_temp_090503", &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(listing(), "Extensions/ Projects/ _temp_090503/ preferences.dat");

  EXPECT_EQ(g_project_name, "");
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_EQ(g_project_uid, 1);
  EXPECT_EQ(new_sprite(), "sprite_2");  // the counter starts again
  g_sprites.clear();
  EXPECT_EQ(g_frames.count() + g_backgrounds.count() + g_sounds.count() + g_objects.count() +
                g_scenes.count() + g_layers.count() + g_resource_entries.count(),
            0);
  EXPECT_EQ(g_game_settings.count(), 1);
  EXPECT_EQ(g_game_settings[0].title, "");

  // The dropped records' own images are freed; the shared card is not.
  EXPECT_FALSE(imaging::image_exists(frame_image_));
  EXPECT_TRUE(imaging::image_exists(91));
}

TEST_F(NewProject, ModifiedProjectAsksAndNoKeepsEverything) {
  g_project_folder = "_temp_080000";
  ASSERT_EQ(mkdir("_temp_080000", 0700), 0);
  write_file("_temp_080000/sound.wav", "RIFF");
  fill_project();
  ASSERT_EQ(g_project_modified, 1);
  int uid = g_project_uid;

  tk::test::ScriptedRequesters requesters;
  requesters.answer_yes_no(0);
  EXPECT_EQ(new_project(), 0);

  ASSERT_EQ(requesters.asked.size(), 1u);
  EXPECT_EQ(requesters.asked[0].what, tk::test::Asked::YesNo);
  EXPECT_EQ(requesters.asked[0].title, "Confirm");
  EXPECT_EQ(requesters.asked[0].text, "Unsaved changes will be lost. New?");
  EXPECT_EQ(g_project_folder, "_temp_080000");
  EXPECT_EQ(read_file("_temp_080000/sound.wav"), "RIFF");
  EXPECT_EQ(listing(), "_temp_080000/");  // nothing created, no preferences read
  EXPECT_EQ(g_project_modified, 1);
  EXPECT_EQ(g_project_uid, uid);
  EXPECT_EQ(g_project_name, "game");
  EXPECT_EQ(g_sprites.count(), 1);
  EXPECT_EQ(g_frames.count(), 1);
  EXPECT_TRUE(imaging::image_exists(frame_image_));

  requesters.answer_yes_no(1);
  new_project();
  EXPECT_EQ(g_sprites.count(), 0);
  EXPECT_EQ(g_project_folder, "_temp_090503");
  EXPECT_FALSE(fs::exists("_temp_080000"));
}

TEST_F(NewProject, OldWorkingFolderIsDeletedWithoutFollowingLinks) {
  // Outside the working directory: a folder the links point at.
  std::string outside = dir_.string() + "-outside";
  ASSERT_EQ(mkdir(outside.c_str(), 0755), 0);
  write_file(outside + "/precious", "keep");

  ASSERT_EQ(mkdir("Extensions", 0755), 0);
  write_file("Extensions/my.qex", "ext");
  fs::create_directories("_temp_080000/a/b");
  write_file("_temp_080000/a/b/deep.png", "png");
  fs::create_directory_symlink(outside, "_temp_080000/link_to_outside");
  fs::create_directory_symlink("../Extensions", "_temp_080000/a/link_to_extensions");
  g_project_folder = "_temp_080000";

  new_project();
  EXPECT_FALSE(fs::exists(fs::symlink_status("_temp_080000")));
  EXPECT_EQ(read_file(outside + "/precious"), "keep");
  EXPECT_EQ(read_file("Extensions/my.qex"), "ext");
  fs::remove_all(outside);
}

TEST_F(NewProject, WorkingFolderNamedOutsideTheDirectoryIsNotDeleted) {
  std::string outside = dir_.string() + "-outside";
  ASSERT_EQ(mkdir(outside.c_str(), 0755), 0);
  write_file(outside + "/precious", "keep");
  for (const std::string& name : {outside, std::string("../") + fs::path(outside).filename().string(),
                                  std::string(".."), std::string(".")}) {
    g_project_folder = name;
    new_project();
    EXPECT_EQ(read_file(outside + "/precious"), "keep") << name;
  }
  EXPECT_TRUE(fs::exists("preferences.dat"));
  fs::remove_all(outside);
}

TEST_F(NewProject, TwoNewsInOneSecondShareAnEmptiedFolder) {
  new_project();
  write_file("_temp_090503/copied.wav", "RIFF");
  new_project();
  EXPECT_EQ(g_project_folder, "_temp_090503");
  EXPECT_EQ(listing("_temp_090503"), "");

  clock_ = {23, 59, 9};
  new_project();
  EXPECT_EQ(g_project_folder, "_temp_235909");
  EXPECT_EQ(listing(), "Extensions/ Projects/ _temp_235909/ preferences.dat");
}

TEST_F(NewProject, WhatStandsInTheWayOfTheFoldersIsHandled) {
  write_file("_temp_090503", "a file of the working folder's name");
  write_file("Projects", "a plain file");
  new_project();
  EXPECT_TRUE(fs::is_directory("_temp_090503"));
  EXPECT_TRUE(fs::is_directory("Extensions"));
  EXPECT_EQ(read_file("Projects"), "a plain file");  // cannot become a folder: left as it is
}

TEST_F(NewProject, ExistingPreferencesAreReadAndNotRewritten) {
  const std::string file = "[Code editor]\nSCI_FONT_SIZE = 14\n";
  write_file(kPreferencesFile, file);
  new_project();
  EXPECT_EQ(pref_font_size, 14);
  EXPECT_EQ(pref_color_text, rgb(255, 255, 255));  // missing key: the reader's default
  EXPECT_EQ(read_file(kPreferencesFile), file);
}

TEST_F(NewProject, MissingPreferencesAreWrittenWithTheValuesInForce) {
  new_project();
  pref_font_size = 20;
  pref_color_text = rgb(1, 0, 0);
  fs::remove(kPreferencesFile);
  new_project();
  std::string file = read_file(kPreferencesFile);
  EXPECT_NE(file.find("\nsci_font_size = 20\n"), std::string::npos);
  EXPECT_NE(file.find("\nsci_color_fore = 1\n"), std::string::npos);
  EXPECT_EQ(pref_font_size, 20);
  EXPECT_EQ(pref_color_text, 1);
}

TEST_F(NewProject, PreferencesFolderLeavesTheReaderDefaults) {
  ASSERT_EQ(mkdir(kPreferencesFile, 0755), 0);
  pref_font_size = 20;
  new_project();
  EXPECT_EQ(pref_font_size, 11);
  EXPECT_TRUE(fs::is_directory(kPreferencesFile));
}

}  // namespace
