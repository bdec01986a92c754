#pragma once
// A fresh temporary working directory with no extensions known yet.
#include "temp_dir_fixture.h"

class WorkingDirTest : public InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    g_installed_extensions.clear();
    g_project_extension_names.clear();
  }
  static void write(const std::filesystem::path& path, const std::string& bytes) {
    write_file(path, bytes);
  }
  static std::string read(const std::filesystem::path& path) { return read_file(path); }
};
