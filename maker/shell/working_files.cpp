#include "maker/shell/working_files.h"

#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "maker/project/confirm.h"
#include "maker/project/records.h"
#include "maker/project/save_project.h"
#include "toolkit/files.h"

namespace {

bool regular_file(const std::string& path, struct stat& st) {
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool same_bytes(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (!regular_file(a, sa) || !regular_file(b, sb) || sa.st_size != sb.st_size) return false;
  std::ifstream in_a(a, std::ios::binary), in_b(b, std::ios::binary);
  std::vector<char> buf_a(1 << 16), buf_b(1 << 16);
  while (in_a && in_b) {
    in_a.read(buf_a.data(), std::streamsize(buf_a.size()));
    in_b.read(buf_b.data(), std::streamsize(buf_b.size()));
    if (in_a.gcount() != in_b.gcount() ||
        std::memcmp(buf_a.data(), buf_b.data(), size_t(in_a.gcount())) != 0)
      return false;
  }
  return in_a.eof() && in_b.eof();
}

bool named_by_another_record(const std::string& file, const void* self) {
  auto audio_names = [&](const auto& list) {
    for (const auto& r : list)
      if (&r != self && (r.wav_file == file || r.mp3_file == file || r.ogg_file == file)) return true;
    return false;
  };
  if (audio_names(g_sounds) || audio_names(g_musics)) return true;
  for (const Background& b : g_backgrounds)
    if (&b != self && b.image_file == file) return true;
  return false;
}

}  // namespace

bool may_replace_working_file(const std::string& source, const std::string& file, const void* self) {
  const std::string target = g_project_folder + "/" + file;
  struct stat st;
  if (!regular_file(target, st) || !named_by_another_record(file, self) || same_bytes(source, target))
    return true;
  return confirm_yes_no("Confirm", "Another resource uses a different file named '" + file +
                                       "'. Replace it?") == 1;
}

bool working_file_name_usable(const std::string& file) {
  // A chosen file is never "." or ".." and holds no "/".
  if (!plain_file_name(file)) {
    show_error("A file name cannot contain a line break.");
    return false;
  }
  if (file.size() > tk::kLongestFileName) {
    show_error("The file name is too long");
    return false;
  }
  return true;
}
