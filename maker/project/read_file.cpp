#include "maker/project/read_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileRead read_small_file(const std::string& path, size_t limit, std::string& bytes) {
  bytes.clear();
  // Non-blocking, so that a pipe of that name cannot stall the open.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileRead::Missing : FileRead::Unreadable;
  struct stat st;
  FileRead result = FileRead::Read;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || size_t(st.st_size) > limit) {
    result = FileRead::Unreadable;
  } else {
    char buffer[65536];
    for (;;) {
      ssize_t n = read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 || bytes.size() + size_t(n) > limit) {
        result = FileRead::Unreadable;
        break;
      }
      if (n == 0) break;
      bytes.append(buffer, size_t(n));
    }
  }
  close(fd);
  if (result != FileRead::Read) bytes.clear();
  return result;
}
