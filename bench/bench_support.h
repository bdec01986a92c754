#pragma once
// Small helpers shared by the benchmarks that need a display or files.
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "toolkit/toolkit.h"

inline bool have_display() { return std::getenv("DISPLAY") && *std::getenv("DISPLAY"); }

// Starts the toolkit on the display; false (the benchmark skipped) without one.
inline bool start_toolkit(benchmark::State& state) {
  int argc = 1;
  char name[] = "bench";
  char* args[] = {name, nullptr};
  char** argv = args;
  if (have_display() && tk::init(argc, argv)) return true;
  state.SkipWithError("needs a display");
  return false;
}

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

