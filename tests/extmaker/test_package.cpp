// The package file as written, read back, named, and read and replaced on
// disk, including damaged and hostile input.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <glib.h>

#include <filesystem>

#include "extmaker/package.h"
#include "extmaker_test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(PackageBytes, FifteenLfEndedLinesWithTextsAsTheyAre) {
  EXPECT_EQ(extension_package_bytes({}),
            "[EXTENSION]\n\n\n[AUTHOR]\n\n\n[DESCRIPTION]\n\n\n[HELP]\n\n\n[CODE]\n\n\n");
  EXPECT_EQ(extension_package_bytes({}).size(), 59u);

  ExtensionFields f{"Stars", "Ann \xC3\x89vora", "Twinkling\nstars", "Call stars();\r\n",
                    "function stars() {\r\n\treturn 1;\r\n}"};
  EXPECT_EQ(extension_package_bytes(f),
            "[EXTENSION]\nStars\n\n"
            "[AUTHOR]\nAnn \xC3\x89vora\n\n"
            "[DESCRIPTION]\nTwinkling\nstars\n\n"
            "[HELP]\nCall stars();\r\n\n\n"
            "[CODE]\nfunction stars() {\r\n\treturn 1;\r\n}\n\n");
}

struct ReadCase {
  const char* what;
  std::string bytes;
  ExtensionFields expected;
};

TEST(ReadPackage, SectionsLinesAndDamage) {
  const ReadCase cases[] = {
      {"empty file", "", {}},
      {"all-empty package", extension_package_bytes({}), {}},
      {"lines of description, help and code end in CR LF",
       "[EXTENSION]\nN\n\n[AUTHOR]\nA\n\n[DESCRIPTION]\nd1\nd2\n\n[HELP]\nh\n\n[CODE]\nc1\nc2\n\n",
       {"N", "A", "d1\r\nd2\r\n", "h\r\n", "c1\r\nc2\r\n"}},
      {"empty lines inside code are lost", "[CODE]\na\n\nb\n", {"", "", "", "", "a\r\nb\r\n"}},
      {"name and author lines are joined", "[EXTENSION]\nab\ncd\n[AUTHOR]\nx\ny\n",
       {"abcd", "xy", "", "", ""}},
      {"lines before the first header are dropped", "junk\nmore\n[AUTHOR]\nme\n", {"", "me", "", "", ""}},
      {"no header at all", "function f() {}\nvar x;\n", {}},
      {"a lower-case header is content", "[CODE]\n[help]\nx\n", {"", "", "", "", "[help]\r\nx\r\n"}},
      {"a header with a blank around it is content", "[HELP]\n [CODE]\n[CODE] \n",
       {"", "", "", " [CODE]\r\n[CODE] \r\n", ""}},
      {"an empty name line leaves the name empty", "[EXTENSION]\n\n[AUTHOR]\nme\n", {"", "me", "", "", ""}},
      {"CR, CR LF and LF all end lines", "[HELP]\ra\r\nb\nc", {"", "", "", "a\r\nb\r\nc\r\n", ""}},
      {"LF CR is two line ends", "[HELP]\na\n\rb\n", {"", "", "", "a\r\nb\r\n", ""}},
      {"a section met again goes on", "[HELP]\na\n[CODE]\nx\n[HELP]\nb\n",
       {"", "", "", "a\r\nb\r\n", "x\r\n"}},
      {"a header line ending the file", "[EXTENSION]\nN\n[CODE]", {"N", "", "", "", ""}},
      {"a byte-order mark spoils the first header", "\xEF\xBB\xBF[EXTENSION]\nN\n[AUTHOR]\nA\n",
       {"", "A", "", "", ""}},
      {"invalid UTF-8 and NUL become U+FFFD", with_nuls("[EXTENSION]\na\xFF" "b\0c\xC3\n"),
       {"a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD", "", "", "", ""}},
  };
  for (const ReadCase& c : cases) EXPECT_EQ(read_extension_package(c.bytes), c.expected) << c.what;
}

bool valid_utf8(const std::string& s) { return g_utf8_validate(s.data(), gssize(s.size()), nullptr); }

TEST(ReadPackage, BinaryBytesGiveValidOneLineNamesAndStayBounded) {
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte += char(b);
  const std::string inputs[] = {
      "[EXTENSION]\n" + every_byte + "\n[AUTHOR]\n" + every_byte + "\n[CODE]\n" + every_byte,
      "[AUTHOR]\n\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80\xE0\x80",  // overlong, surrogate, too high, cut
      with_nuls("\x89PNG\r\n\x1a\n\0\0\0\rIHDR[CODE]\n\0\0"),
  };
  for (const std::string& in : inputs) {
    ExtensionFields f = read_extension_package(in);
    for (const std::string* text : {&f.name, &f.author, &f.description, &f.help, &f.code}) {
      EXPECT_TRUE(valid_utf8(*text));
      EXPECT_EQ(text->find('\0'), std::string::npos);
      EXPECT_LE(text->size(), 3 * in.size() + 2);
    }
    EXPECT_EQ(f.name.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(f.author.find_first_of("\r\n"), std::string::npos);
  }
  EXPECT_FALSE(read_extension_package(inputs[1]).author.empty());
}

TEST(ReadPackage, WhatWasReadIsWrittenAndReadBackTheSame) {
  const ExtensionFields samples[] = {
      {},
      {"Stars", "Ann", "Twinkling\nstars", "Call stars();", "function stars() {\n\n\treturn 1;\n}\n"},
      {"N", "A", "d\r\n", "h1\rh2", "x\r\n\r\ny"},
      {"[HELP] lookalike", "", "[help]\n", "", "// [CODE] in a comment\n"},
  };
  for (const ExtensionFields& f : samples) {
    // The first reading settles line ends and drops empty lines; from then
    // on a package survives any number of save-and-open rounds unchanged.
    ExtensionFields once = read_extension_package(extension_package_bytes(f));
    EXPECT_EQ(read_extension_package(extension_package_bytes(once)), once) << f.name;
    EXPECT_EQ(once.name, f.name);
    EXPECT_EQ(once.author, f.author);
  }
  ExtensionFields settled{"N", "A", "d1\r\nd2\r\n", "h\r\n", "var a;\r\nvar b;\r\n"};
  EXPECT_EQ(read_extension_package(extension_package_bytes(settled)), settled);
}

TEST(PackageName, FileNameWithoutEveryQex) {
  const std::pair<std::string, std::string> cases[] = {
      {"/home/ann/Extensions/stars.qex", "stars"},
      {"stars.qex", "stars"},
      {"stars", "stars"},
      {"a.qex.qex", "a"},
      {"my.qexfile.qex", "myfile"},
      {"a.qe.qexx", "a.qex"},  // one pass, left to right
      {"/tmp/dir.qex/inner.QEX", "inner.QEX"},
      {"/tmp/.qex", ""},
      {"/tmp/ab\xF0.qex", "ab\xEF\xBF\xBD"},  // a file name of bytes shown as text
      {"", ""},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(package_name_of_path(path), name) << path;
  EXPECT_EQ(package_path("stars"), "Extensions/stars.qex");
  EXPECT_EQ(package_path(""), "Extensions/.qex");
}

class PackageFiles : public InScratchDir {
 protected:
  const fs::path dir = ".";
  std::string at(const char* name) const { return (dir / name).string(); }
};

TEST_F(PackageFiles, ReadingRefusesWhatIsNoPlainFileOfASensibleSize) {
  spill(dir / "good.qex", "[EXTENSION]\nN\n");
  fs::create_directory(dir / "folder.qex");
  ASSERT_EQ(mkfifo(at("pipe.qex").c_str(), 0644), 0);
  fs::resize_file((spill(dir / "huge.qex", ""), dir / "huge.qex"), kMaxPackageBytes + 1);
  fs::resize_file((spill(dir / "limit.qex", ""), dir / "limit.qex"), kMaxPackageBytes);
  fs::create_symlink(dir / "good.qex", dir / "link.qex");

  const std::pair<const char*, PackageRead> cases[] = {
      {"good.qex", PackageRead::Read},         {"missing.qex", PackageRead::Missing},
      {"folder.qex", PackageRead::Unreadable}, {"pipe.qex", PackageRead::Unreadable},
      {"huge.qex", PackageRead::TooLarge},     {"limit.qex", PackageRead::Read},
      {"link.qex", PackageRead::Read},
  };
  for (const auto& [name, expected] : cases) {
    std::string bytes = "left over";
    EXPECT_EQ(read_package_file(at(name), bytes), expected) << name;
    if (expected != PackageRead::Read) {
      EXPECT_EQ(bytes, "") << name;
    }
  }
  std::string bytes;
  read_package_file(at("good.qex"), bytes);
  EXPECT_EQ(bytes, "[EXTENSION]\nN\n");
  read_package_file(at("limit.qex"), bytes);
  EXPECT_EQ(bytes.size(), kMaxPackageBytes);

  if (geteuid() != 0) {  // permissions do not bind root
    fs::permissions(dir / "good.qex", fs::perms::none);
    EXPECT_EQ(read_package_file(at("good.qex"), bytes), PackageRead::Unreadable);
  }
}

TEST_F(PackageFiles, ReplacingWritesTheNewBytesAndLeavesNoCopy) {
  spill(dir / "p.qex", "old");
  EXPECT_TRUE(replace_package_file(at("p.qex"), "new bytes"));
  EXPECT_EQ(slurp(dir / "p.qex"), "new bytes");
  EXPECT_TRUE(replace_package_file(at("q.qex"), "fresh"));
  EXPECT_EQ(slurp(dir / "q.qex"), "fresh");
  EXPECT_FALSE(fs::exists(dir / "p.qex.part"));
  EXPECT_FALSE(fs::exists(dir / "q.qex.part"));
}

TEST_F(PackageFiles, AFailedReplaceKeepsThePreviousPackage) {
  // A folder in the way of the file, a missing folder, a disk that fills up
  // half-way: each fails, and what was there before stays as it was.
  fs::create_directories(dir / "taken.qex" / "inside");
  EXPECT_FALSE(replace_package_file(at("taken.qex"), "x"));
  EXPECT_TRUE(fs::is_directory(dir / "taken.qex" / "inside"));
  EXPECT_FALSE(replace_package_file(at("no/such/folder.qex"), "x"));

  const std::string old = extension_package_bytes({"Old", "", "", "", "var kept;"});
  spill(dir / "full.qex", old);
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 100;
  auto previous = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool replaced = replace_package_file(at("full.qex"), std::string(5000, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_FALSE(replaced);
  EXPECT_EQ(slurp(dir / "full.qex"), old);
  EXPECT_FALSE(fs::exists(dir / "full.qex.part"));
}

}  // namespace
