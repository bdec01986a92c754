#pragma once
// The keyword table: the engine's words that the code editor knows, each
// with its kind ("Var", "Fn", "Cons") and two help lines. Filled once at
// start-up and read-only afterwards.
#include <string>

inline constexpr const char* kKeywordsFile = "keywords.dat";

// Appends one record to g_keywords; duplicates are kept.
void add_keyword(const std::string& word, const std::string& kind,
                 const std::string& help_line1, const std::string& help_line2);

// Adds the records of keywords.dat in the working directory; a missing,
// empty, oversized or non-file keywords.dat adds nothing.
void load_keywords_file();
// The same on the file's bytes. Records are three lines (ended by LF, CR or
// CR LF): a prefix ("." Var, "!" Fn, "#" Cons) directly followed by the
// word, then the two help lines. A record with another prefix, or no word,
// is skipped whole; a last record short of lines gets empty help lines.
void add_keywords_from(const std::string& bytes);

// The start-up filling: keywords.dat, then the 82 built-in key constants.
void fill_keyword_table();
