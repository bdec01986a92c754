#include <sys/stat.h>
#include <sys/types.h>

#include <climits>
#include <functional>

#include "maker/project/preferences.h"
#include "maker/project/state.h"
#include "temp_dir_fixture.h"

namespace {

class Preferences : public InTempDir {};

const std::string kBom = "\xEF\xBB\xBF";

// The file written from scratch with the start-up values.
const std::string kFreshFile = kBom + "\n" +
                               "[Code editor]\n"
                               "sci_color_fore = 0\n"
                               "sci_color_selection_back = 4194304\n"
                               "sci_color_selection_fore = 16777215\n"
                               "sci_color_command = 14888246\n"
                               "sci_color_comment = 10526880\n"
                               "sci_color_function = 2335523\n"
                               "sci_color_number = 4210896\n"
                               "sci_color_resource = 12298801\n"
                               "sci_color_string = 12976326\n"
                               "sci_color_qp_constant = 3947580\n"
                               "sci_color_qp_function = 2255392\n"
                               "sci_color_qp_variable = 1265745\n"
                               "sci_color_caret = 15790335\n"
                               "sci_font_family = Consolas\n"
                               "sci_font_size = 11\n"
                               "x = -1\n"
                               "y = -1\n"
                               "width = -1\n"
                               "height = -1\n"
                               "maximized = -1\n"
                               "[Browser]\n"
                               "add_file_protocol = 0\n"
                               "[Misc]\n"
                               "CheckProgramVersion = 1\n"
                               "GenerateIndexHTML = 1\n"
                               "ConfirmExit = 1\n";

// Every value the file holds, as text, to compare all of them at once.
std::string all_values() {
  std::string s;
  for (int v : {pref_color_text, pref_color_selection_back, pref_color_selection_fore,
                pref_color_command, pref_color_comment, pref_color_function, pref_color_number,
                pref_color_resource, pref_color_string, pref_color_constant,
                pref_color_engine_function, pref_color_engine_variable, pref_color_caret})
    s += std::to_string(v) + " ";
  s += pref_font_family + " ";
  for (int v : {pref_font_size, pref_code_window_x, pref_code_window_y, pref_code_window_width,
                pref_code_window_height, pref_code_window_maximized, pref_add_file_protocol,
                pref_check_version_at_startup, pref_generate_index_html, pref_confirm_exit})
    s += std::to_string(v) + " ";
  return s;
}

// What a file without any of the keys gives: the start-up values except
// white text and grey user functions.
const std::string kReaderDefaults =
    "16777215 4194304 16777215 14888246 10526880 10526880 4210896 12298801 12976326 3947580 "
    "2255392 1265745 15790335 Consolas 11 -1 -1 -1 -1 -1 0 1 1 1 ";

void scramble_values() {
  pref_color_text = pref_color_function = pref_font_size = pref_confirm_exit = 77;
  pref_code_window_x = pref_add_file_protocol = 77;
  pref_font_family = "junk";
}

TEST_F(Preferences, FreshFileIsWrittenWithMarkGroupsAndKeysInOrder) {
  save_preferences();
  EXPECT_EQ(read_file(kPreferencesFile), kFreshFile);
  EXPECT_EQ(listing(), "preferences.dat");  // no temporary file left behind

  // Read back, the fresh file gives the start-up values, black text included.
  std::string start = all_values();
  scramble_values();
  read_preferences();
  EXPECT_EQ(all_values(), start);
}

TEST_F(Preferences, SavingAgainReplacesValuesInPlace) {
  save_preferences();
  pref_font_size = 14;
  pref_color_text = rgb(1, 2, 3);
  pref_font_family = "DejaVu Sans Mono";
  pref_confirm_exit = 0;
  save_preferences();
  std::string expected = kFreshFile;
  const std::pair<std::string, std::string> changes[] = {
      {"sci_font_size = 11", "sci_font_size = 14"},
      {"sci_color_fore = 0", "sci_color_fore = 197121"},
      {"sci_font_family = Consolas", "sci_font_family = DejaVu Sans Mono"},
      {"ConfirmExit = 1", "ConfirmExit = 0"}};
  for (const auto& [from, to] : changes)
    expected.replace(expected.find(from), from.size(), to);
  EXPECT_EQ(read_file(kPreferencesFile), expected);
}

TEST_F(Preferences, RewritingKeepsEveryLineAndAddsWhatIsMissing) {
  // Misc comes first and in lower case, Browser is missing, Code editor has
  // two of its keys (one in capitals), comments, CR LF ends and no final LF.
  const std::string file =
      "; my settings\r\n"
      "[misc]\r\n"
      "ConfirmExit = 1\r\n"
      "unknown = keep me\r\n"
      "\r\n"
      "[Code editor]\n"
      "SCI_FONT_SIZE = 14\n"
      "; colours below\n"
      "sci_color_fore=255";
  pref_font_size = 9;
  pref_confirm_exit = 0;
  std::string code_editor_rest;
  {
    // The fresh file's Code editor keys other than the two present, in order.
    size_t from = kFreshFile.find("sci_color_selection_back");
    size_t to = kFreshFile.find("[Browser]");
    code_editor_rest = kFreshFile.substr(from, to - from);
    code_editor_rest.erase(code_editor_rest.find("sci_font_size = 11\n"), 19);
  }
  EXPECT_EQ(rewrite_preferences(file),
            kBom + "\n" +
                "; my settings\n"
                "[misc]\n"
                "ConfirmExit = 0\n"
                "unknown = keep me\n"
                "\n"
                "CheckProgramVersion = 1\n"
                "GenerateIndexHTML = 1\n"
                "[Code editor]\n"
                "SCI_FONT_SIZE = 9\n"
                "; colours below\n"
                "sci_color_fore = 0\n" +
                code_editor_rest +
                "[Browser]\n"
                "add_file_protocol = 0\n");

  // A rewritten file rewrites to itself, the mark not doubled.
  std::string once = rewrite_preferences(file);
  EXPECT_EQ(rewrite_preferences(once), once);
}

TEST_F(Preferences, ValuesAreReadAsTheFileGivesThem) {
  struct Case {
    const char* name;
    std::string file;
    std::function<int()> value;
    int expected;
  };
  auto font_size = [] { return pref_font_size; };
  const Case cases[] = {
      {"capital key and group", "[CODE EDITOR]\nSCI_FONT_SIZE = 14\n", font_size, 14},
      {"not a number reads 0", "[Code editor]\nsci_font_size = big\n", font_size, 0},
      {"empty value reads 0", "[Code editor]\nsci_font_size =\n", font_size, 0},
      {"digits up to the first other", "[Code editor]\nsci_font_size = 12pt\n", font_size, 12},
      {"blanks, tabs and CR around", "[Code editor]\n\t sci_font_size \t=  -3 \t\r\n", font_size, -3},
      {"several CRs before LF", "[Code editor]\r\r\nsci_font_family = 1\r\r\nsci_font_size = 7\r\r\n",
       font_size, 7},
      {"plus sign", "[Code editor]\nsci_font_size = +8\n", font_size, 8},
      {"beyond int stops at its end", "[Code editor]\nsci_font_size = 99999999999999999999\n",
       font_size, INT_MAX},
      {"far below int", "[Code editor]\nsci_font_size = -99999999999999999999\n", font_size,
       INT_MIN},
      {"key of another group is missing", "[Misc]\nsci_font_size = 14\n", font_size, 11},
      {"key before any group is missing", "sci_font_size = 14\n[Code editor]\n", font_size, 11},
      {"commented group is no group", ";[Code editor]\nsci_font_size = 14\n", font_size, 11},
      {"first of a repeated key", "[Code editor]\nsci_font_size = 5\nsci_font_size = 6\n",
       font_size, 5},
      {"mark and no final line end", kBom + "[Code editor]\nsci_font_size = 13", font_size, 13},
      {"group name trimmed", "[ Code editor ]\nsci_font_size = 15\n", font_size, 15},
      {"missing sci_color_fore is white", "[Code editor]\n", [] { return pref_color_text; },
       rgb(255, 255, 255)},
      {"missing sci_color_function is grey", "[Code editor]\n",
       [] { return pref_color_function; }, rgb(160, 160, 160)},
      {"geometry of -1", "[Code editor]\nx = -1\n", [] { return pref_code_window_x; }, -1},
      {"Misc key", "[Misc]\nconfirmexit = 0\n", [] { return pref_confirm_exit; }, 0},
      {"Browser key", "[browser]\nadd_file_protocol = 1\n",
       [] { return pref_add_file_protocol; }, 1},
  };
  for (const Case& c : cases) {
    scramble_values();
    read_preferences_from(c.file);
    EXPECT_EQ(c.value(), c.expected) << c.name;
  }
}

TEST_F(Preferences, TextValueIsTrimmed) {
  read_preferences_from("[Code editor]\nsci_font_family =  Courier New \t\n");
  EXPECT_EQ(pref_font_family, "Courier New");
}

TEST_F(Preferences, HostileFilesGiveTheReaderDefaults) {
  const std::string garbage("\x00\xff\xfe[\x01=\x80\r\r\x00;\xc3", 13);
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"binary garbage", garbage},
      {"no line ends", "[Code editor] sci_font_size = 14 sci_color_fore = 3"},
      {"lone bracket", "["},
      {"only line ends", "\n\n\r\n\n"},
  };
  for (const auto& [name, bytes] : cases) {
    write_file(kPreferencesFile, bytes);
    scramble_values();
    read_preferences();
    EXPECT_EQ(all_values(), kReaderDefaults) << name;
  }
}

TEST_F(Preferences, GarbageIsKeptWhenTheFileIsRewritten) {
  const std::string garbage("\x00\xff\xfe\x01\x80", 5);
  write_file(kPreferencesFile, garbage);
  save_preferences();
  EXPECT_EQ(read_file(kPreferencesFile), kBom + "\n" + garbage + "\n" + kFreshFile.substr(4));
}

TEST_F(Preferences, FilesThatCannotBeReadAreLeftAlone) {
  // Tests run as root, for whom no permission keeps a file from being read;
  // a folder, a pipe and an oversized file stand for the unreadable file.
  ASSERT_EQ(mkdir(kPreferencesFile, 0755), 0);
  write_file(std::string(kPreferencesFile) + "/inside", "x");
  scramble_values();
  read_preferences();
  EXPECT_EQ(all_values(), kReaderDefaults);
  save_preferences();
  EXPECT_EQ(listing(), "preferences.dat/");
  EXPECT_EQ(read_file(std::string(kPreferencesFile) + "/inside"), "x");
  std::filesystem::remove_all(kPreferencesFile);

  ASSERT_EQ(mkfifo(kPreferencesFile, 0644), 0);
  scramble_values();
  read_preferences();  // returns at once: nobody writes into the pipe
  EXPECT_EQ(all_values(), kReaderDefaults);
  save_preferences();
  EXPECT_TRUE(std::filesystem::is_fifo(kPreferencesFile));
  std::filesystem::remove(kPreferencesFile);

  const std::string big = "[Code editor]\nsci_font_size = 14\n" + std::string(2 << 20, ';');
  write_file(kPreferencesFile, big);
  scramble_values();
  read_preferences();
  EXPECT_EQ(all_values(), kReaderDefaults);
  save_preferences();
  EXPECT_EQ(read_file(kPreferencesFile), big);
  EXPECT_EQ(listing(), "preferences.dat");
}

TEST_F(Preferences, SavingKeepsTheFilePermissions) {
  write_file(kPreferencesFile, "");
  ASSERT_EQ(chmod(kPreferencesFile, 0600), 0);
  save_preferences();
  struct stat st;
  ASSERT_EQ(stat(kPreferencesFile, &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(read_file(kPreferencesFile), kFreshFile);
}

}  // namespace
