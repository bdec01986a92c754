#include "toolkit/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace tk {

namespace {

std::string folder_of(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

FileRead read_small_file(const std::string& path, size_t limit, std::string& bytes) {
  bytes.clear();
  // Non-blocking, so that a pipe of that name cannot stall the open.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileRead::Missing : FileRead::Unreadable;
  struct stat st{};
  FileRead result = FileRead::Read;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || size_t(st.st_size) > limit) {
    result = S_ISREG(st.st_mode) ? FileRead::TooLarge : FileRead::Unreadable;
  } else {
    bytes.reserve(size_t(st.st_size));
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

bool write_all(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= size_t(n);
  }
  return true;
}

bool replace_file_with(const std::string& path, bool flush,
                       const std::function<bool(int fd)>& fill) {
  const std::string part = path + ".part";
  int fd = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return false;
  bool ok = fill(fd) && (!flush || fsync(fd) == 0);
  ok = close(fd) == 0 && ok;
  if (ok) ok = rename(part.c_str(), path.c_str()) == 0;
  if (!ok) {
    unlink(part.c_str());
    return false;
  }
  if (flush) {
    int dir = open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
  }
  return true;
}

bool replace_file(const std::string& path, const void* data, size_t size, bool flush) {
  return replace_file_with(path, flush, [&](int fd) { return write_all(fd, data, size); });
}

namespace {

// Copies what is left of `in` to `out`.
bool copy_all(int in, int out) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    ssize_t n = read(in, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!write_all(out, buffer.data(), size_t(n))) return false;
  }
}

// Opens `from` as a regular file and hands it to `copy`. Non-blocking, so
// that a pipe of that name cannot stall the copy.
template <class Copy>
bool copy_from(const std::string& from, Copy copy) {
  int in = open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st;
  bool ok = fstat(in, &st) == 0 && S_ISREG(st.st_mode) && copy(in);
  close(in);
  return ok;
}

}  // namespace

bool copy_file_over(const std::string& from, const std::string& to) {
  return copy_from(from, [&](int in) {
    return replace_file_with(to, false, [&](int out) { return copy_all(in, out); });
  });
}

bool copy_file_new(const std::string& from, const std::string& to) {
  return copy_from(from, [&](int in) {
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (out < 0) return false;
    bool ok = copy_all(in, out);
    ok = close(out) == 0 && ok;
    if (!ok) unlink(to.c_str());
    return ok;
  });
}

}  // namespace tk
