#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "maker/export/export.h"
#include "maker/export/generators.h"
#include "maker/export/run_game.h"
#include "tests/maker/project/working_dir_fixture.h"
#include "toolkit/system.h"
#include "toolkit/testing.h"

namespace {

namespace fs = std::filesystem;
using tk::test::Asked;
using tk::test::ScriptedRequesters;

const std::string kPage =
    "<!DOCTYPE html>\n<meta charset=\"UTF-8\">\n<html>\n<head></head>\n"
    "<body style=\"background-color:RGB(0,0,0);margin:0;padding:0;overflow:hidden;\">\n"
    "<div id=\"quillopgame\"></div>\n"
    "<script type=\"text/javascript\" src=\"game.js\"></script>\n</body>\n</html>\n";

const std::string kMissingPage =
    "The INDEX.HTML file is missing. You can allow Quillop to create it (enable it in the "
    "Preferences) or you can copy your file in the project folder.";

std::array<std::string, 11> numbered_sections() {
  std::array<std::string, 11> s;
  for (size_t i = 0; i < s.size(); ++i) s[i] = "<" + std::to_string(i) + ">";
  return s;
}

TEST(ReplaceSectionMarkers, MarkerByMarkerOnTheTextSoFar) {
  const auto& m = kSectionMarkers;
  auto numbered = numbered_sections();
  struct Case {
    const char* what;
    std::string text;
    std::array<std::string, 11> sections;
    std::string expected;
  } cases[] = {
      {"every marker once, in reverse order in the text",
       m[10] + m[9] + m[8] + m[7] + m[6] + m[5] + m[4] + m[3] + m[2] + m[1] + m[0], numbered,
       "<10><9><8><7><6><5><4><3><2><1><0>"},
      {"a marker twice is replaced at both places", "a" + m[4] + "b" + m[4] + "c", numbered,
       "a<4>b<4>c"},
      {"missing markers drop their sections; text outside stays byte for byte",
       "var x = 1;\r\n\t// " + m[2] + "\n", numbered, "var x = 1;\r\n\t// <2>\n"},
      {"empty template", "", numbered, ""},
      {"a later marker brought in by an earlier section is replaced",
       m[3],
       [&] {
         auto s = numbered;
         s[3] = "f();" + m[10] + m[3];  // its own marker is not replaced again
         return s;
       }(),
       "f();<10>" + m[3]},
      {"an earlier marker brought in by a later section stays",
       m[5],
       [&] {
         auto s = numbered;
         s[5] = m[0];
         return s;
       }(),
       m[0]},
      {"a marker formed across a replacement is found by the later pass",
       "//QUILLOP_" + m[2],
       [&] {
         auto s = numbered;
         s[2] = "SCENES";
         return s;
       }(),
       "<10>"},
      {"a marker completed by two short sections in a row",
       "//QUI" + m[2] + m[3],
       [&] {
         auto s = numbered;
         s[2] = "LLOP_";
         s[3] = "FONTS";
         return s;
       }(),
       "<8>"},
      {"empty sections remove the markers", m[2] + "x" + m[3], {}, "x"},
      {"markers are case-sensitive", "//quillop_sprites //QUILLOP_SPRITE", numbered,
       "//quillop_sprites //QUILLOP_SPRITE"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(replace_section_markers(c.text, c.sections), c.expected) << c.what;
}

// The replacement written the plain way: one whole-text pass per marker.
std::string replaced_the_plain_way(std::string text, const std::array<std::string, 11>& sections) {
  for (size_t m = 0; m < kSectionMarkers.size(); ++m) {
    std::string out;
    size_t from = 0;
    for (size_t at; (at = text.find(kSectionMarkers[m], from)) != std::string::npos;
         from = at + kSectionMarkers[m].size())
      out.append(text, from, at - from).append(sections[m]);
    text = out.append(text, from);
  }
  return text;
}

TEST(ReplaceSectionMarkers, AgreesWithWholeTextPassesOnMarkerFragments) {
  // Texts made of markers, their beginnings and ends, and a little else, so
  // that markers are cut and completed across sections in every way.
  std::vector<std::string> fragments = {"x", "/", "//", "//QUILLOP_", "_", "S"};
  for (const std::string& marker : kSectionMarkers)
    for (size_t cut : {size_t(0), size_t(3), size_t(10), marker.size() - 2}) {
      fragments.push_back(marker.substr(0, cut));
      fragments.push_back(marker.substr(cut));
    }
  unsigned seed = 12345;
  auto next = [&](size_t n) { return (seed = seed * 1103515245u + 12345u) / 65536 % n; };
  auto random_text = [&](size_t parts) {
    std::string t;
    for (size_t k = next(parts); k > 0; --k) t += fragments[next(fragments.size())];
    return t;
  };
  for (int trial = 0; trial < 3000; ++trial) {
    std::string text = random_text(12);
    std::array<std::string, 11> sections;
    for (std::string& section : sections) section = random_text(4);
    ASSERT_EQ(replace_section_markers(text, sections), replaced_the_plain_way(text, sections))
        << "trial " << trial << ": " << text;
  }
}

// Large sections are searched in slices: a marker one brings in is found
// wherever it lies, across any slice boundary.
TEST(ReplaceSectionMarkers, FindsAMarkerAnywhereInALargeSection) {
  std::array<std::string, 11> sections;
  sections[10] = "<scenes>";
  for (size_t k = 1; k <= 8; ++k)
    for (size_t back : {9, 5, 1, 0}) {
      const size_t at = k * 65536 - back;
      sections[4] = std::string(at, 'x') + kSectionMarkers[10] + std::string(70000, 'y');
      const std::string out = replace_section_markers(kSectionMarkers[4], sections);
      EXPECT_TRUE(out == std::string(at, 'x') + "<scenes>" + std::string(70000, 'y')) << "marker at " << at;
    }
}

class Export : public WorkingDirTest {
 protected:
  void SetUp() override {
    WorkingDirTest::SetUp();
    tk::set_instant_pause(true);
    fs::create_directories("Projects/game");
    fs::create_directories("Extensions");
    g_project_name = "game";
  }
  void TearDown() override {
    tk::set_instant_pause(false);
    WorkingDirTest::TearDown();
  }
  static void add_scene() {
    Scene s;
    s.name = "room";
    g_scenes.append(s);
  }
  ScriptedRequesters asked_;
};

TEST_F(Export, MissingTemplateIsCreatedEmpty) {
  EXPECT_EQ(load_engine_template(), "");
  EXPECT_TRUE(fs::is_regular_file("export.js"));
  EXPECT_EQ(fs::file_size("export.js"), 0u);
}

TEST_F(Export, TemplateIsReadOneBytePerCharacter) {
  std::string ascii;
  for (int c = 1; c < 128; ++c) ascii += char(c);
  write("export.js", ascii + "\x80\xA9\xC3\xA9\xFF");
  // Bytes above 127 are the code points U+0080..U+00FF, held as UTF-8.
  EXPECT_EQ(load_engine_template(), ascii + "\xC2\x80\xC2\xA9\xC3\x83\xC2\xA9\xC3\xBF");
  fs::remove("export.js");
  fs::create_directory("export.js");
  EXPECT_EQ(load_engine_template(), "");
}

TEST_F(Export, WritesTheFilledTemplateAndThePage) {
  g_engine_template = "// engine \xC3\xA9\r\n" + kSectionMarkers[0] + "\n" + kSectionMarkers[3] +
                      "\n" + kSectionMarkers[5] + "\nend";
  g_game_settings[0].global_functions = "function f() {}";
  g_sounds.append({"snd", "a.wav", "", ""});
  add_scene();
  write("Projects/game/game.js", "old game that is much longer than the new one");
  write("Projects/game/index.html", "hand-written");

  EXPECT_EQ(export_game(), 0);
  EXPECT_EQ(read("Projects/game/game.js"), "// engine \xC3\xA9\r\nv1.2.7\nfunction f() {}\n" +
                                               gen_sounds_js() + "\nend");
  EXPECT_EQ(read("Projects/game/index.html"), kPage);
  EXPECT_EQ(std::count(kPage.begin(), kPage.end(), '\n'), 9);
  EXPECT_TRUE(asked_.asked.empty());
}

// Enough tiles that the scenes are generated in slices, each written as a
// piece of its own: game.js is still the template filled with the sections.
TEST_F(Export, LargeGameIsTheTemplateFilledWithEverySection) {
  g_engine_template = "start\r\n";
  for (const std::string& marker : kSectionMarkers) g_engine_template += marker + "\r\n";
  for (int s = 0; s < 6; ++s) {
    Scene scene;
    scene.name = "room" + std::to_string(s);
    g_scenes.append(scene);
  }
  for (int i = 0; i < 30000; ++i) {
    Tile t;
    t.scene_name = "room" + std::to_string(i % 6);
    t.background_name = "bg";
    t.x = i;
    g_tiles.append(t);
  }
  g_game_settings[0].global_variables = "var lives = 3;";
  export_game();
  const std::array<std::string, 11> sections = {
      gen_version_js(),     gen_extensions_js(),  gen_global_variables_js(),
      gen_global_functions_js(), gen_sprites_js(), gen_sounds_js(),
      gen_musics_js(),      gen_backgrounds_js(), gen_fonts_js(),
      gen_objects_js(),     gen_scenes_js()};
  EXPECT_TRUE(read("Projects/game/game.js") == replace_section_markers(g_engine_template, sections));
  EXPECT_GT(fs::file_size("Projects/game/game.js"), 30000u * 10);
}

TEST_F(Export, WaitWindowsPauseOneSecondEach) {
  add_scene();
  long long before = tk::total_paused_ms();
  export_game();
  EXPECT_EQ(tk::total_paused_ms() - before, 2000);
}

TEST_F(Export, EmptyTemplateWritesAnEmptyFile) {
  add_scene();
  export_game();
  ASSERT_TRUE(fs::is_regular_file("Projects/game/game.js"));
  EXPECT_EQ(fs::file_size("Projects/game/game.js"), 0u);
}

TEST_F(Export, HandWrittenPageSurvivesWhenThePageIsNotGenerated) {
  pref_generate_index_html = 0;
  add_scene();
  write("Projects/game/index.html", "hand-written");
  export_game();
  EXPECT_EQ(read("Projects/game/index.html"), "hand-written");
  fs::remove("Projects/game/index.html");
  export_game();
  EXPECT_FALSE(fs::exists("Projects/game/index.html"));
  EXPECT_TRUE(fs::exists("Projects/game/game.js"));
}

TEST_F(Export, ProjectWithoutSceneIsExportedThenWarned) {
  g_engine_template = kSectionMarkers[10] + "x";
  export_game();
  EXPECT_EQ(read("Projects/game/game.js"), "x");
  ASSERT_EQ(asked_.asked.size(), 1u);
  EXPECT_EQ(asked_.asked[0].title, "Warning");
  EXPECT_EQ(asked_.asked[0].text, "There is no scene added.");
}

TEST_F(Export, UnnamedProjectWritesNothing) {
  g_project_name = "";
  g_engine_template = "x";
  EXPECT_EQ(export_game(), 0);
  EXPECT_FALSE(fs::exists("Projects/game.js"));
  EXPECT_FALSE(fs::exists("Projects/index.html"));
  EXPECT_TRUE(asked_.asked.empty());
}

TEST_F(Export, RescansExtensionsAndBuildsInOnlyTheEnabledOnes) {
  add_scene();
  g_engine_template = "[" + kSectionMarkers[1] + "]";
  write("Extensions/a.qex", "[EXTENSION]\nA\n[AUTHOR]\nAnn\n[CODE]\na();\n");
  write("Extensions/b.qex", "[EXTENSION]\nB\n[CODE]\nb();\n");
  export_game();
  EXPECT_EQ(read("Projects/game/game.js"), "[\r\n\r\n]");

  write("Projects/game/extensions.dat", "b\n");
  write("Extensions/b.qex", "[EXTENSION]\nB2\n[AUTHOR]\nBo\n[CODE]\nb2();\n");
  export_game();
  EXPECT_EQ(read("Projects/game/game.js"), "[\r\n/* B2 by Bo */\r\n\rb2();\r\r\n]");

  write("Projects/game/extensions.dat", "");
  export_game();
  EXPECT_EQ(read("Projects/game/game.js"), "[\r\n\r\n]");
}

class RunGame : public Export {
 protected:
  void SetUp() override {
    Export::SetUp();
    add_scene();
    // A browser that records its arguments, one a line.
    fs::create_directories("bin");
    write("bin/x-www-browser",
          "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
              (dir_ / "args.part").string() + "\"\nmv \"" + (dir_ / "args.part").string() +
              "\" \"" + (dir_ / "args").string() + "\"\n");
    fs::permissions("bin/x-www-browser", fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    old_path_ = path ? path : "";
    setenv("PATH", ((dir_ / "bin").string() + ":" + old_path_).c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", old_path_.c_str(), 1);
    Export::TearDown();
  }
  // The browser's arguments, waiting up to 10 s for it to run; "" when not.
  std::string browser_arguments(int wait_ms = 10000) {
    for (int waited = 0; waited < wait_ms && !fs::exists(dir_ / "args"); waited += 10)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return read(dir_ / "args");
  }
  std::function<void()> counting_save() {
    return [this] { ++saves_; };
  }
  std::string old_path_;
  int saves_ = 0;
};

TEST_F(RunGame, OpensTheFullPathOfThePage) {
  struct Case {
    int file_protocol;
    std::string prefix;
  } cases[] = {{0, ""}, {1, "file://"}};
  for (const Case& c : cases) {
    fs::remove(dir_ / "args");
    pref_add_file_protocol = c.file_protocol;
    EXPECT_EQ(run_game_in_browser(counting_save()), 0);
    EXPECT_EQ(browser_arguments(), c.prefix + (fs::current_path() / "Projects/game/index.html").string() + "\n")
        << c.file_protocol;
  }
  EXPECT_EQ(saves_, 2);
  EXPECT_TRUE(asked_.asked.empty());
  EXPECT_EQ(read("Projects/game/index.html"), kPage);
}

TEST_F(RunGame, PathWithBlanksStaysOneArgument) {
  fs::create_directories("with blank/Projects/game");
  fs::current_path("with blank");
  run_game_in_browser(counting_save());
  EXPECT_EQ(browser_arguments(), (dir_ / "with blank/Projects/game/index.html").string() + "\n");
}

TEST_F(RunGame, UnnamedProjectIsNeitherSavedNorRun) {
  g_project_name = "";
  run_game_in_browser(counting_save());
  EXPECT_EQ(saves_, 0);
  ASSERT_EQ(asked_.asked.size(), 1u);
  EXPECT_EQ(asked_.asked[0].title, "Message");
  EXPECT_EQ(asked_.asked[0].text, "Please save your game.");
  EXPECT_FALSE(fs::exists("Projects/game/game.js"));
  EXPECT_EQ(browser_arguments(300), "");
}

TEST_F(RunGame, MissingPageIsReportedAfterSaveAndExport) {
  pref_generate_index_html = 0;
  struct Case {
    const char* what;
    std::function<void()> page;
  } cases[] = {
      {"no page", [] {}},
      {"empty page", [] { write("Projects/game/index.html", ""); }},
      {"folder named like the page", [] { fs::create_directory("Projects/game/index.html"); }},
  };
  for (const Case& c : cases) {
    fs::remove_all("Projects/game");
    fs::create_directories("Projects/game");
    c.page();
    asked_.asked.clear();
    saves_ = 0;
    run_game_in_browser(counting_save());
    EXPECT_EQ(saves_, 1) << c.what;
    EXPECT_TRUE(fs::exists("Projects/game/game.js")) << c.what;
    ASSERT_EQ(asked_.asked.size(), 1u) << c.what;
    EXPECT_EQ(asked_.asked[0].title, "Message") << c.what;
    EXPECT_EQ(asked_.asked[0].text, kMissingPage) << c.what;
  }
  EXPECT_EQ(browser_arguments(300), "");
}

}  // namespace
