// The engine shipped in engine/: the template must keep every section marker
// on a line of its own, in the order they are filled, and the word list must
// only name words the engine defines.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "maker/export/export.h"

namespace {

namespace fs = std::filesystem;

std::string read_engine_file(const char* name) {
  const fs::path path = fs::path(__FILE__).parent_path() / "../../../engine" / name;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST(EngineTemplate, HoldsEachMarkerOnceOnItsOwnLineInFillingOrder) {
  const std::string engine = read_engine_file("export.js");
  ASSERT_FALSE(engine.empty());
  const std::vector<std::string> lines = lines_of(engine);
  size_t previous = 0;
  for (const std::string& marker : kSectionMarkers) {
    SCOPED_TRACE(marker);
    size_t found = 0, at = 0;
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find(marker) != std::string::npos) ++found, at = i;
    ASSERT_EQ(found, 1u);
    EXPECT_EQ(lines[at], marker);
    EXPECT_GT(at, previous);
    previous = at;
  }
  // Plain ASCII, so that the byte-wise reading of the template keeps it.
  for (unsigned char c : engine) ASSERT_LT(c, 128);
}

TEST(EngineTemplate, FilledSectionsLeaveNoMarkerBehind) {
  std::array<std::string, 11> sections;
  sections.fill("");
  sections[0] = "v1.2.7";
  const std::string game = replace_section_markers(read_engine_file("export.js"), sections);
  EXPECT_EQ(game.find("//QUILLOP_"), std::string::npos);
  EXPECT_NE(game.find("\nv1.2.7\n"), std::string::npos);
}

TEST(EngineKeywords, RecordsAreWellFormedAndNameWordsTheEngineDefines) {
  const std::string engine = read_engine_file("export.js");
  const std::vector<std::string> lines = lines_of(read_engine_file("keywords.dat"));
  ASSERT_FALSE(lines.empty());
  ASSERT_EQ(lines.size() % 3, 0u) << "a record is three lines";
  std::set<std::string> seen;
  for (size_t i = 0; i < lines.size(); i += 3) {
    const std::string& first = lines[i];
    SCOPED_TRACE(first);
    ASSERT_GE(first.size(), 2u);
    const char prefix = first[0];
    const std::string word = first.substr(1);
    ASSERT_TRUE(prefix == '.' || prefix == '!' || prefix == '#');
    EXPECT_TRUE(seen.insert(word).second) << "listed twice";
    EXPECT_FALSE(lines[i + 1].empty());
    EXPECT_FALSE(lines[i + 2].empty());
    // Key constants are added by the program itself.
    EXPECT_NE(word.rfind("vk_", 0), 0u);
    if (prefix == '!') {
      EXPECT_NE(engine.find("function " + word + "("), std::string::npos) << "no such function";
    } else {
      // Instance variables live on qp_base or its accessors, room values are globals.
      const bool defined = engine.find("var " + word + " ") != std::string::npos ||
                           engine.find(" " + word + ": ") != std::string::npos ||
                           engine.find("'" + word + "'") != std::string::npos ||
                           engine.find("self." + word + " =") != std::string::npos;
      EXPECT_TRUE(defined) << "not defined by the engine";
    }
  }
}

}  // namespace
