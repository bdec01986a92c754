#pragma once
// Runs each test in a fresh, empty working directory of its own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "records_fixture.h"

class InTempDir : public EmptyProject {
 protected:
  void SetUp() override {
    EmptyProject::SetUp();
    char old[PATH_MAX];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    old_dir_ = old;
    char tmpl[] = "/tmp/quillop-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    EXPECT_EQ(chdir(old_dir_.c_str()), 0);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
    EmptyProject::TearDown();
  }

  static void write_file(const std::filesystem::path& path, const std::string& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Names in the working directory, sorted, "/" after folders.
  static std::string listing(const std::string& folder = ".") {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
      names.insert(e.path().filename().string() + (e.is_directory() ? "/" : ""));
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : " ") + n;
    return out;
  }

  std::filesystem::path dir_;
  std::string old_dir_;
};
