#pragma once
// Small helpers shared by the benchmarks that need a display or files.
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

inline bool have_display() { return std::getenv("DISPLAY") && *std::getenv("DISPLAY"); }

// Runs the body in a scratch working directory.
struct ScratchDirectory {
  std::string old, dir;
  ScratchDirectory() {
    char buffer[PATH_MAX];
    old = getcwd(buffer, sizeof buffer) ? buffer : ".";
    char tmpl[] = "/tmp/quillop-bench-XXXXXX";
    dir = mkdtemp(tmpl) ? tmpl : ".";
    if (chdir(dir.c_str()) != 0) dir = ".";
  }
  ~ScratchDirectory() {
    if (chdir(old.c_str()) != 0) return;
    std::error_code ignored;
    if (dir != ".") std::filesystem::remove_all(dir, ignored);
  }
};

