// The project file reader on any bytes: the check, then the reading that
// follows it (value by value and on every core), and the reading of an
// unchecked file (as after a count changed in the service window), which
// must keep every list valid and bounded.
#include <cstdint>
#include <cstdlib>

#include "maker/project/project_file.h"
#include "maker/project/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ProjectFileIndex index;
  bool intact = project_file_intact(data, size, &index);
  clear_resource_lists();
  ProjectFile file(data, size);
  read_project_records(file);
  if (file.pos > size) std::abort();
  if (!intact && size_t(g_sprites.count() + g_frames.count() + g_tiles.count()) > size)
    std::abort();
  if (intact) {
    // Read on every core with the check's index, the file gives the same
    // project as read value by value.
    const std::vector<uint8_t> one_by_one = project_file_bytes();
    const size_t end = file.pos;
    clear_resource_lists();
    ProjectFile again(data, size);
    read_project_records(again, {}, &index);
    if (again.pos != end || project_file_bytes() != one_by_one) std::abort();
  }
  clear_resource_lists();
  return 0;
}
