// keywords.dat of any bytes: every record taken has a word and a known kind.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "maker/project/keywords.h"
#include "maker/project/state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  g_keywords.clear();
  add_keywords_from(std::string(reinterpret_cast<const char*>(data), size));
  for (const Keyword& k : g_keywords)
    if (k.word.empty() || (k.kind != "Var" && k.kind != "Fn" && k.kind != "Cons")) std::abort();
  if (size_t(g_keywords.count()) > size / 2) std::abort();
  return 0;
}
