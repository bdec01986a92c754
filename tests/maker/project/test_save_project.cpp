#include "maker/project/save_project.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <new>
#include <random>
#include <set>

#include "imaging/codec.h"
#include "imaging/draw.h"
#include "maker/project/jobs.h"
#include "maker/project/project_file.h"
#include "toolkit/system.h"
#include "toolkit/testing.h"
#include "working_dir_fixture.h"

namespace {

namespace fs = std::filesystem;

int frame_image(int shade) {
  int image = imaging::create_image(imaging::kAnyImage, 8, 4);
  imaging::Canvas(image).box(0, 0, 8, 4);
  imaging::set_image_pixel(image, 0, 0, imaging::rgba(shade, 0, 0));
  return image;
}

std::string bytes_text(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

class SaveProject : public WorkingDirTest {
 protected:
  void SetUp() override {
    WorkingDirTest::SetUp();
    tk::set_instant_pause(true);
    g_project_folder = "_temp_120000";
    fs::create_directories("Projects");
    fs::create_directories(g_project_folder);
  }
};

TEST_F(SaveProject, WritesFileFramePicturesAndCopies) {
  g_sprites.append({"hero", -1, "Box"});
  g_sprites.append({"enemy", -1, "Box"});
  g_frames.append({"1", "hero", frame_image(10)});
  g_frames.append({"1", "enemy", frame_image(20)});
  g_frames.append({"2", "hero", frame_image(30)});
  g_frames.append({"1", "ghost", frame_image(40)});  // its sprite does not exist
  g_sounds.append({"jump", "jump.wav", "", "jump.ogg"});
  g_sounds.append({"silent", "", "", ""});
  g_musics.append({"theme", "theme.wav", "missing.mp3", ""});
  g_backgrounds.append({"sky", "sky.png", -1});
  for (const char* f : {"jump.wav", "jump.ogg", "theme.wav", "sky.png"})
    write(g_project_folder + "/" + f, std::string("data of ") + f);

  ASSERT_TRUE(write_project("demo"));

  EXPECT_EQ(read("Projects/demo.qgp"), bytes_text(project_file_bytes()));
  const std::pair<const char*, int> pictures[] = {{"hero_1", 10}, {"hero_2", 30}, {"enemy_1", 20}};
  for (auto [file, shade] : pictures) {
    auto image = imaging::decode_image_file(std::string("Projects/demo/") + file + ".png");
    ASSERT_TRUE(image) << file;
    EXPECT_EQ(imaging::get_pixel(*image, 0, 0), imaging::rgba(shade, 0, 0)) << file;
  }
  EXPECT_FALSE(fs::exists("Projects/demo/ghost_1.png"));
  for (const char* f : {"jump.wav", "jump.ogg", "theme.wav", "sky.png"})
    EXPECT_EQ(read(std::string("Projects/demo/") + f), std::string("data of ") + f);

  std::set<std::string> files;
  for (const auto& e : fs::directory_iterator("Projects/demo")) files.insert(e.path().filename());
  EXPECT_EQ(files.size(), 7u) << "no .part files or other leftovers";
  EXPECT_EQ(fs::status("Projects/demo").permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST_F(SaveProject, RenamedSpriteKeepsOldPictures) {
  g_sprites.append({"hero", -1, "Box"});
  g_frames.append({"1", "hero", frame_image(10)});
  ASSERT_TRUE(write_project("demo"));
  g_sprites[0].name = g_frames[0].sprite_name = "player";
  ASSERT_TRUE(write_project("demo"));
  EXPECT_TRUE(fs::exists("Projects/demo/hero_1.png"));
  EXPECT_TRUE(fs::exists("Projects/demo/player_1.png"));
}

TEST_F(SaveProject, NamesWithASlashNeverLeaveTheFolders) {
  write("outside.wav", "outside");
  write("Projects/other/keep_1.png", "keep");
  g_sounds.append({"s", "../outside.wav", "", ""});
  g_sprites.append({"../other/keep", -1, "Box"});
  g_frames.append({"1", "../other/keep", frame_image(1)});
  g_backgrounds.append({"b", "..", -1});
  ASSERT_TRUE(write_project("demo"));
  EXPECT_FALSE(fs::exists("Projects/outside.wav"));
  EXPECT_EQ(read("Projects/other/keep_1.png"), "keep");
  EXPECT_EQ(read("Projects/demo.qgp"), bytes_text(project_file_bytes()));
}

TEST_F(SaveProject, FailedSaveKeepsOldFileAndModifiedFlag) {
  g_project_name = "demo";
  new_sprite();
  save_project();
  EXPECT_EQ(g_project_modified, 0);
  const std::string old = read("Projects/demo.qgp");

  new_sprite();
  fs::create_directories("Projects/demo.qgp.part/blocker");  // the new file cannot be made
  tk::test::ScriptedRequesters answers;
  save_project();
  EXPECT_EQ(read("Projects/demo.qgp"), old);
  EXPECT_EQ(g_project_modified, 1);
  ASSERT_EQ(answers.asked.size(), 1u);
  EXPECT_EQ(answers.asked[0].title, "Error");
  EXPECT_EQ(answers.asked[0].kind, tk::MessageKind::Error);
}

TEST(FileJobs, OnlyTheLastJobOfEachTargetRuns) {
  const char* targets[] = {"a", "b", "a", "c", "b", "a"};
  std::vector<std::atomic<int>> runs(std::size(targets));
  std::vector<FileJob> jobs;
  for (size_t i = 0; i < std::size(targets); ++i) jobs.push_back({targets[i], [&runs, i] { ++runs[i]; }});
  run_file_jobs(jobs);
  const int expected[] = {0, 0, 0, 1, 1, 1};
  for (size_t i = 0; i < std::size(targets); ++i) EXPECT_EQ(runs[i].load(), expected[i]) << "job " << i;
}

TEST(FileJobs, AJobRunningOutOfMemoryIsThrownAfterTheOthersStop) {
  std::atomic<int> ran{0};
  EXPECT_THROW(run_jobs(200,
                        [&](size_t i) {
                          ++ran;
                          if (i == 50) throw std::bad_alloc();
                        }),
               std::bad_alloc);
  EXPECT_GE(ran, 51);
}

TEST_F(SaveProject, FramesOfOneFileNameWriteTheLastFramesPicture) {
  // A damaged file can give two frames of a sprite one counter; the later
  // one's picture is the one written, whole.
  for (int s = 0; s < 40; ++s) {
    std::string name = "s" + std::to_string(s);
    g_sprites.append({name, -1, "Box"});
    for (int shade : {10, 20, 30}) g_frames.append({"1", name, frame_image(shade + s)});
  }
  ASSERT_TRUE(write_project("demo"));
  for (int s = 0; s < 40; ++s) {
    auto image = imaging::decode_image_file("Projects/demo/s" + std::to_string(s) + "_1.png");
    ASSERT_TRUE(image) << s;
    EXPECT_EQ(imaging::get_pixel(*image, 0, 0), imaging::rgba(30 + s, 0, 0)) << s;
  }
}

// A project whose save takes some tens of milliseconds.
void fill_large_project() {
  for (int s = 0; s < 20; ++s) {
    std::string name = new_sprite();
    for (int f = 0; f < 2; ++f) {
      int image = imaging::create_image(imaging::kAnyImage, 48, 48);
      imaging::Canvas c(image);
      c.set_colour(imaging::rgba(s, f * 60, 7));
      c.box(0, 0, 48, 48);
      c.set_colour(imaging::rgba(255, s, f));
      c.line(0, s % 48, 47, f * 11);
      g_frames.append({std::to_string(f), name, image});
    }
  }
  std::string code;
  for (int line = 0; line < 40; ++line) code += "var x" + std::to_string(line) + " = 1;\r\n";
  for (int i = 0; i < 3000; ++i) g_scripts[add_event_script("o", "Step", "")].code = code;
}

TEST_F(SaveProject, KilledSaveLeavesOldOrNewFileWhole) {
  fill_large_project();
  ASSERT_TRUE(write_project("big"));
  std::string previous = read("Projects/big.qgp");

  // A whole save in a child, as the killed ones run.
  auto started = std::chrono::steady_clock::now();
  pid_t first = fork();
  ASSERT_GE(first, 0);
  if (first == 0) _exit(write_project("big") ? 0 : 1);
  int first_status = 0;
  waitpid(first, &first_status, 0);
  ASSERT_TRUE(WIFEXITED(first_status) && WEXITSTATUS(first_status) == 0);
  int save_us = int(std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now() - started).count());

  std::mt19937 random(20240611);
  int old_seen = 0, new_seen = 0;
  for (int round = 0; round < 30; ++round) {
    g_project_uid = 1000 + round;  // each save differs from the one before
    const std::string next = bytes_text(project_file_bytes());
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(write_project("big") ? 0 : 1);
    usleep(std::uniform_int_distribution<int>(0, save_us * 3 / 2)(random));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    std::string now = read("Projects/big.qgp");
    if (now == next) {
      ++new_seen;
      previous = next;
    } else {
      ASSERT_EQ(now, previous) << "round " << round << ": neither the old nor the new file";
      ++old_seen;
    }
    for (const auto& e : fs::directory_iterator("Projects/big")) {
      if (e.path().extension() != ".png") continue;
      ASSERT_TRUE(imaging::decode_image_file(e.path())) << e.path() << " is not whole";
    }
  }
  EXPECT_GT(old_seen, 0);
  EXPECT_GT(new_seen, 0);
}

}  // namespace
