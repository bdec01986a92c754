#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "maker/project/extensions.h"
#include "working_dir_fixture.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(SplitTextLines, EndsAtLfCrOrCrLf) {
  struct Case {
    std::string text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\nb", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\n\r\nb", {"a", "", "b"}},
      {"\n\n", {"", ""}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR: two ends
      {"a\r\r\n", {"a", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(split_text_lines(c.text), c.lines) << c.text;
}

TEST(ParseExtensionPackage, SectionsAsTheMakerReadsThem) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string title, author, description, help, code;
  } cases[] = {
      {"as the extension maker writes it",
       "[EXTENSION]\nMyTool\n\n[AUTHOR]\nAnn\n\n[DESCRIPTION]\nd1\nd2\n\n[HELP]\nh\n\n"
       "[CODE]\na();\nb();\n\n",
       "MyTool", "Ann", "\rd1\rd2\r\r", "\rh\r\r", "\ra();\rb();\r\r"},
      {"name over two lines is joined", "[EXTENSION]\nMy\nTool\n", "MyTool", "", "", "", ""},
      {"code lines get single CRs", "[CODE]\na();\nb();", "", "", "", "", "\ra();\rb();\r"},
      {"empty lines stay in code", "[CODE]\r\na();\r\n\r\nb();\r\n", "", "", "", "",
       "\ra();\r\rb();\r"},
      {"lines before the first header are ignored", "junk\n[AUTHOR]\nBo\n", "", "Bo", "", "", ""},
      {"a section met again continues", "[CODE]\nx\n[AUTHOR]\nA\n[CODE]\ny\n", "", "A", "", "",
       "\rx\r\ry\r"},
      {"a lower-case header is content", "[CODE]\n[help]\n", "", "", "", "", "\r[help]\r"},
      {"a header with a blank is content", "[HELP]\n[CODE] \n", "", "", "", "\r[CODE] \r", ""},
      {"no header at all", "just\ntext\n", "", "", "", "", ""},
      {"empty file", "", "", "", "", "", ""},
      {"CR line ends", "[EXTENSION]\rA\rB\r[CODE]\rc\r", "AB", "", "", "", "\rc\r"},
      {"invalid UTF-8 becomes U+FFFD", "[EXTENSION]\n\xff" "a\xC3\n", "\xEF\xBF\xBD" "a\xEF\xBF\xBD",
       "", "", "", ""},
      {"overlong and surrogate forms are invalid", "[AUTHOR]\n\xC0\xAF\xED\xA0\x80", "",
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", "", "", ""},
      {"valid UTF-8 is kept", "[AUTHOR]\nJos\xC3\xA9 \xF0\x9F\x99\x82\n", "", "Jos\xC3\xA9 \xF0\x9F\x99\x82",
       "", "", ""},
      {"NUL bytes are plain characters", std::string("[CODE]\na\0b\n", 10), "", "", "", "",
       std::string("\ra\0b\r", 5)},
  };
  for (const Case& c : cases) {
    ExtensionInfo e = parse_extension_package(c.bytes);
    EXPECT_EQ(e.title, c.title) << c.what;
    EXPECT_EQ(e.author, c.author) << c.what;
    EXPECT_EQ(e.description, c.description) << c.what;
    EXPECT_EQ(e.help, c.help) << c.what;
    EXPECT_EQ(e.code, c.code) << c.what;
    EXPECT_EQ(e.base_name, "") << c.what;
    EXPECT_EQ(e.enabled, 0) << c.what;
  }
}

TEST(ParseExtensionPackage, BinaryBytesGiveValidText) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += char((i * 131 + 7) & 0xff);
  ExtensionInfo e = parse_extension_package("[CODE]\n" + bytes);
  // Every byte of the result decodes: no lone continuation or lead byte left.
  for (size_t i = 0; i < e.code.size();) {
    unsigned char c = e.code[i];
    size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ASSERT_GE(c < 0x80 ? 0xC2 : c, 0xC2) << i;
    for (size_t k = 1; k < n; ++k) ASSERT_EQ(static_cast<unsigned char>(e.code[i + k]) >> 6, 2) << i;
    i += n;
  }
}

class Extensions : public WorkingDirTest {
 protected:
  std::vector<std::string> base_names() const {
    std::vector<std::string> out;
    for (const ExtensionInfo& e : g_installed_extensions) out.push_back(e.base_name);
    return out;
  }
  static Lines project_list() {
    return Lines(g_project_extension_names.begin(), g_project_extension_names.end());
  }
};

TEST_F(Extensions, ProjectListReadsEveryLineIncludingEmptyOnes) {
  g_project_name = "game";
  struct Case {
    const char* what;
    std::string bytes;
    bool present;
    Lines names;
  } cases[] = {
      {"missing file", "", false, {}},
      {"empty file", "", true, {}},
      {"LF lines", "a\nb\n", true, {"a", "b"}},
      {"empty line kept", "a\n\nb\n", true, {"a", "", "b"}},
      {"CR and CR LF ends", "a\rb\r\nc", true, {"a", "b", "c"}},
  };
  for (const Case& c : cases) {
    fs::remove_all("Projects");
    if (c.present) write("Projects/game/extensions.dat", c.bytes);
    g_project_extension_names.append("stale");
    EXPECT_EQ(load_project_extension_list(), 0);
    EXPECT_EQ(project_list(), c.names) << c.what;
  }
}

TEST_F(Extensions, UnnamedProjectHasNoList) {
  write("Projects/extensions.dat", "a\n");  // what an empty folder name would reach
  g_project_extension_names.append("stale");
  load_project_extension_list();
  EXPECT_EQ(project_list(), Lines{});
}

TEST_F(Extensions, SavedListHasOneLfPerNameAndReadsBack) {
  g_project_name = "game";
  fs::create_directories("Projects/game");
  write("Projects/game/extensions.dat", "old\nlonger text\n");
  save_project_extension_list({"b", "a"});
  EXPECT_EQ(read("Projects/game/extensions.dat"), "b\na\n");
  load_project_extension_list();
  EXPECT_EQ(project_list(), (Lines{"b", "a"}));

  save_project_extension_list({});
  EXPECT_TRUE(fs::exists("Projects/game/extensions.dat"));
  EXPECT_EQ(read("Projects/game/extensions.dat"), "");
}

TEST_F(Extensions, ScanWithoutFolderGivesEmptyList) {
  g_installed_extensions.append(ExtensionInfo{"stale", "", "", "", "", "", 0});
  EXPECT_EQ(scan_installed_extensions(), 0);
  EXPECT_EQ(g_installed_extensions.count(), 0);
}

TEST_F(Extensions, ScanListsPackagesInNameOrderAndMarksTheEnabledOnes) {
  g_project_name = "game";
  write("Extensions/zeta.qex", "[EXTENSION]\nZeta\n[CODE]\nz();\n");
  write("Extensions/alpha.qex", "[EXTENSION]\nAlpha\n[AUTHOR]\nAnn\n");
  write("Extensions/tool.qex", "[EXTENSION]\nlower tool\n");
  write("Extensions/notes.txt", "[EXTENSION]\nNot a package\n");
  write("Extensions/plain.qex", "no headers at all\n");
  fs::create_directories("Extensions/folder.qex");
  write("Projects/game/extensions.dat", "zeta\nTool\n\nalpha\n");

  scan_installed_extensions();
  EXPECT_EQ(base_names(), (Lines{"alpha", "plain", "tool", "zeta"}));
  EXPECT_EQ(project_list(), (Lines{"zeta", "Tool", "", "alpha"}));
  struct Want {
    std::string title, author, code;
    int enabled;
  } want[] = {{"Alpha", "Ann", "", 1}, {"", "", "", 0}, {"lower tool", "", "", 0},
              {"Zeta", "", "\rz();\r", 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(g_installed_extensions[i].title, want[i].title) << i;
    EXPECT_EQ(g_installed_extensions[i].author, want[i].author) << i;
    EXPECT_EQ(g_installed_extensions[i].code, want[i].code) << i;
    EXPECT_EQ(g_installed_extensions[i].enabled, want[i].enabled) << i;
  }

  // Every scan starts afresh and re-reads the project's list.
  write("Projects/game/extensions.dat", "plain\n");
  fs::remove("Extensions/zeta.qex");
  scan_installed_extensions();
  EXPECT_EQ(base_names(), (Lines{"alpha", "plain", "tool"}));
  EXPECT_EQ(g_installed_extensions[0].enabled, 0);
  EXPECT_EQ(g_installed_extensions[1].enabled, 1);
}

TEST_F(Extensions, BaseNameDropsEveryQexButTheListedFileIsRead) {
  write("Extensions/a.qexb.qex", "[EXTENSION]\nmine\n");
  write("Extensions/ab.qex", "[EXTENSION]\nother\n");
  scan_installed_extensions();
  ASSERT_EQ(base_names(), (Lines{"ab", "ab"}));
  EXPECT_EQ(g_installed_extensions[0].title, "mine");
  EXPECT_EQ(g_installed_extensions[1].title, "other");
}

TEST_F(Extensions, OversizedPackageIsListedEmptyWithoutBeingRead) {
  write("Extensions/huge.qex", "[EXTENSION]\nHuge\n");
  // Sparse, so the test costs no disk; reading it whole would cost 64 MiB.
  ASSERT_EQ(truncate("Extensions/huge.qex", 64 << 20), 0);
  write("Extensions/limit.qex", "[EXTENSION]\nAt limit\n");
  ASSERT_EQ(truncate("Extensions/limit.qex", kMaxExtensionFileBytes), 0);
  scan_installed_extensions();
  ASSERT_EQ(base_names(), (Lines{"huge", "limit"}));
  EXPECT_EQ(g_installed_extensions[0].title, "");
  EXPECT_EQ(g_installed_extensions[0].code, "");
  EXPECT_EQ(g_installed_extensions[1].title.substr(0, 8), "At limit");
}

}  // namespace
