#include "maker/common/browser_refresh.h"

namespace {
void (*g_rebuild)() = nullptr;
}

void set_resource_browser_rebuild(void (*rebuild)()) { g_rebuild = rebuild; }

void refresh_resource_browser() {
  if (g_rebuild) g_rebuild();
}
