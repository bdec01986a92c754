// The project file reader on any bytes: the check, then the reading that
// follows it, and the reading of an unchecked file (as after a count changed
// in the service window), which must keep every list valid and bounded.
#include <cstdint>
#include <cstdlib>

#include "maker/project/project_file.h"
#include "maker/project/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bool intact = project_file_intact(data, size);
  clear_resource_lists();
  ProjectFile file(data, size);
  read_project_records(file);
  if (file.pos > size) std::abort();
  if (!intact && size_t(g_sprites.count() + g_frames.count() + g_tiles.count()) > size)
    std::abort();
  clear_resource_lists();
  return 0;
}
