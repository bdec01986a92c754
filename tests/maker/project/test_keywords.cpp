#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "maker/project/keywords.h"
#include "maker/project/state.h"
#include "temp_dir_fixture.h"

namespace {

class Keywords : public InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    g_keywords.clear();
  }
  void TearDown() override {
    g_keywords.clear();
    InTempDir::TearDown();
  }
};

// The table as "word|kind|help1|help2" lines, for whole-table comparisons.
std::vector<std::string> table() {
  std::vector<std::string> out;
  for (const Keyword& k : g_keywords)
    out.push_back(k.word + "|" + k.kind + "|" + k.help_line1 + "|" + k.help_line2);
  return out;
}

TEST_F(Keywords, FileRecordsAreReadInThrees) {
  using Rows = std::vector<std::string>;
  const struct {
    const char* name;
    std::string file;
    Rows expected;
  } cases[] = {
      {"short last record", ".x\nhelp\nmore\n.y", {"x|Var|help|more", "y|Var||"}},
      {"blank start skips three lines", "\n!f\nh\n#c\na\nb\n", {"c|Cons|a|b"}},
      {"unknown prefix skipped", "!fn\nh1\nh2\n?q\nx\ny\n.v\n\n\n",
       {"fn|Fn|h1|h2", "v|Var||"}},
      {"CR, LF and CR LF ends", ".a\r\nh1\rh2\n#b\r\rz", {"a|Var|h1|h2", "b|Cons||z"}},
      {"nothing trimmed", ". sp \n help \n\tmore\t\n", {" sp |Var| help |\tmore\t"}},
      {"lone prefix names no word", ".\nh\nh\n!\n.z\n\n", {}},
      {"lone prefix at the very end", "#", {}},
      {"duplicates kept", ".a\n\n\n.a\n\n\n", {"a|Var||", "a|Var||"}},
      {"binary bytes", std::string("!a\0b\n\xff\xfe\n\x80", 9),
       {std::string("a\0b|Fn|\xff\xfe|\x80", 11)}},
      {"only line ends", "\n\n\n\n", {}},
      {"empty", "", {}},
  };
  for (const auto& c : cases) {
    g_keywords.clear();
    add_keywords_from(c.file);
    EXPECT_EQ(table(), c.expected) << c.name;
  }
}

TEST_F(Keywords, ConstantsFollowTheFileWordsInCharacterOrder) {
  write_file(kKeywordsFile, "#vk_a\nfrom the file\n\n");
  fill_keyword_table();
  ASSERT_EQ(g_keywords.count(), 83);
  EXPECT_EQ(table()[0], "vk_a|Cons|from the file|");
  EXPECT_EQ(g_keywords[1].word, "vk_0");
  EXPECT_EQ(g_keywords[82].word, "vk_z");
  for (int i = 1; i <= 82; ++i) {
    EXPECT_EQ(g_keywords[i].kind, "Cons");
    EXPECT_EQ(g_keywords[i].help_line1 + g_keywords[i].help_line2, "");
    if (i > 1) {
      EXPECT_LT(g_keywords[i - 1].word, g_keywords[i].word) << i;
    }
  }
  std::vector<std::string> words;
  for (int i = 1; i <= 82; ++i) words.push_back(g_keywords[i].word);
  auto position = [&](const char* w) { return std::find(words.begin(), words.end(), w) - words.begin(); };
  EXPECT_EQ(position("vk_add"), position("vk_a") + 1);
  EXPECT_EQ(position("vk_f10"), position("vk_f1") + 1);
  EXPECT_EQ(position("vk_f2"), position("vk_f12") + 1);
  for (const char* w : {"vk_backspace", "vk_ctrl", "vk_decimal", "vk_multiply", "vk_num9",
                        "vk_pagedown", "vk_pageup", "vk_pause", "vk_space", "vk_subtract"})
    EXPECT_LT(position(w), 82) << w;
}

TEST_F(Keywords, UnusableFilesAddNothing) {
  load_keywords_file();  // missing
  EXPECT_EQ(g_keywords.count(), 0);

  write_file(kKeywordsFile, "");
  load_keywords_file();
  EXPECT_EQ(g_keywords.count(), 0);
  std::filesystem::remove(kKeywordsFile);

  ASSERT_EQ(mkdir(kKeywordsFile, 0755), 0);
  fill_keyword_table();
  EXPECT_EQ(g_keywords.count(), 82);
  std::filesystem::remove_all(kKeywordsFile);

  // Far larger than any word list: refused rather than read into memory.
  std::string huge;
  for (int i = 0; i < (5 << 20) / 6; ++i) huge += ".w\n\n\n";
  write_file(kKeywordsFile, huge);
  g_keywords.clear();
  load_keywords_file();
  EXPECT_EQ(g_keywords.count(), 0);
}

TEST_F(Keywords, AddKeywordLeavesTheModifiedFlag) {
  g_project_modified = 0;
  add_keyword("score", "Var", "The score.", "");
  EXPECT_EQ(g_project_modified, 0);
  EXPECT_EQ(table(), std::vector<std::string>{"score|Var|The score.|"});
}

}  // namespace
