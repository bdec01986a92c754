// Opening a project file that holds millions of empty records under an
// address-space limit: it opens, or it is refused and the open project stays.
#include <sys/resource.h>

#include "maker/shell/open_project.h"
#include "shell_fixture.h"

namespace {

std::string number(int value) {
  uint32_t v = uint32_t(value);
  return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

// About 16 MB: the header, then `record` repeated as many times as fit in
// section `section` (0 sprites, 1 frames, ... 7 scripts) and every other
// section empty.
std::string huge_project_file(int section, const std::string& record, int& count) {
  count = int((16u << 20) / record.size());
  std::string file = number(127) + number(1) + "\n\n\n" + number(0) + "\n";
  file.reserve((16u << 20) + 1024);
  for (int s = 0; s < 11; ++s) {
    file += number(s == section ? count : 0);
    if (s == section)
      for (int i = 0; i < count; ++i) file += record;
  }
  return file;
}

// The soft address-space limit of this test process for one scope.
class AddressSpaceLimit {
 public:
  explicit AddressSpaceLimit(rlim_t bytes) {
    getrlimit(RLIMIT_AS, &old_);
    rlimit limited = old_;
    limited.rlim_cur = std::min(bytes, old_.rlim_max);
    setrlimit(RLIMIT_AS, &limited);
  }
  ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &old_); }

 private:
  rlimit old_{};
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

TEST_F(ShellTest, HugeProjectFileOpensOrIsRefusedUnderAMemoryLimit) {
  if (kSanitized) GTEST_SKIP() << "the sanitizer reserves more address space than the limit";
  const std::string empty_sprite = "\n" + std::string(8, '\0') + "\n" + std::string(20, '\0');
  struct Case { const char* kind; int section; std::string record; };
  const Case cases[] = {
      {"frames", 1, "\n\n"},
      {"scripts", 7, "\n\n\n\n\n"},
      {"sprites", 0, empty_sprite},  // each with a thumbnail of its own
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    new_project();
    g_project_name = "current";
    g_sprites.append({"kept", -1, "Box"});
    set_project_modified(1);
    const std::string folder = g_project_folder;
    int count = 0;
    std::ofstream("Projects/huge.qgp", std::ios::binary) << huge_project_file(c.section, c.record, count);
    ask_->asked.clear();
    bool opened;
    {
      AddressSpaceLimit limit(rlim_t(1536) << 20);
      opened = open_project_file("huge");
    }
    if (opened) {
      EXPECT_TRUE(ask_->asked.empty());
      EXPECT_EQ(g_project_name, "huge");
      EXPECT_EQ(g_sprites.count() + g_frames.count() + g_scripts.count(), count);
    } else {
      ASSERT_EQ(ask_->asked.size(), 1u);
      EXPECT_EQ(ask_->asked[0].title, "Error");
      EXPECT_EQ(ask_->asked[0].text, "The project file Projects/huge.qgp cannot be opened.");
      EXPECT_EQ(g_project_name, "current");
      EXPECT_EQ(g_project_modified, 1);
      ASSERT_EQ(g_sprites.count(), 1);
      EXPECT_EQ(g_sprites[0].name, "kept");
      EXPECT_EQ(g_project_folder, folder);
    }
    std::cout << c.kind << ": " << count << (opened ? " opened" : " refused") << "\n";
    set_project_modified(0);
  }
}

}  // namespace
