// Copying into names not taken yet.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "toolkit/files.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string content(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(CopyFileNew, CopiesOnlyARegularFileIntoANameNotTaken) {
  char tmpl[] = "/tmp/quillop-files-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const fs::path dir = tmpl;
  const std::string bytes = "RIFF\0\n\r"s;
  std::ofstream(dir / "from.wav", std::ios::binary) << bytes;
  std::ofstream(dir / "taken.wav") << "kept";
  fs::create_directory(dir / "folder");
  ASSERT_EQ(mkfifo((dir / "pipe.wav").c_str(), 0600), 0);
  struct Case {
    const char* from;
    const char* to;
    bool copied;
    std::optional<std::string> after;  // under `to` afterwards
  };
  const Case cases[] = {
      {"from.wav", "new.wav", true, bytes},
      {"from.wav", "taken.wav", false, "kept"},
      {"missing.wav", "none.wav", false, std::nullopt},
      {"folder", "none.wav", false, std::nullopt},
      {"pipe.wav", "none.wav", false, std::nullopt},  // and no wait for a writer
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
    EXPECT_EQ(tk::copy_file_new(dir / c.from, dir / c.to), c.copied);
    if (c.after)
      EXPECT_EQ(content(dir / c.to), *c.after);
    else
      EXPECT_FALSE(fs::exists(dir / c.to));
  }
  fs::remove_all(dir);
}

}  // namespace
