#pragma once
// Shared by the package and window tests: a scratch working directory per
// test, whole-file reads and writes, and readable failures for a package's
// texts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "extmaker/package.h"

inline void PrintTo(const ExtensionFields& f, std::ostream* out) {
  for (const std::string* text : {&f.name, &f.author, &f.description, &f.help, &f.code}) {
    *out << '"';
    for (unsigned char c : *text) {
      if (c == '\r') *out << "\\r";
      else if (c == '\n') *out << "\\n";
      else *out << c;
    }
    *out << "\" ";
  }
}

// A literal with the NUL bytes inside it kept.
template <size_t N>
std::string with_nuls(const char (&literal)[N]) { return std::string(literal, N - 1); }

inline std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void spill(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Each test runs in an empty folder of its own, removed afterwards.
class InScratchDir : public testing::Test {
 protected:
  void SetUp() override {
    char old[PATH_MAX];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    home_ = old;
    char tmpl[] = "/tmp/quillop-extmaker-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    scratch_ = tmpl;
    ASSERT_EQ(chdir(tmpl), 0);
  }
  void TearDown() override {
    EXPECT_EQ(chdir(home_.c_str()), 0);
    std::error_code ignored;
    std::filesystem::permissions(scratch_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(scratch_, ignored);
  }

 private:
  std::string home_, scratch_;
};
