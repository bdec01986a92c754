#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "codeeditor/code_editor.h"
#include "extmaker/extmaker.h"
#include "toolkit/toolkit.h"

namespace {

long long file_size(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? (long long)st.st_size : -1;
}

// The package name becomes a file name in "Extensions", so it may not lead
// into another folder.
bool usable_package_name(const std::string& name) { return name.find('/') == std::string::npos; }

void report_unread(const std::string& chosen, PackageRead result) {
  const std::string path = valid_utf8_text(chosen);
  const std::string text = result == PackageRead::TooLarge
                               ? "The file '" + path + "' is too large for an extension package."
                               : "The file '" + path + "' cannot be read.";
  tk::message_box("Error", text, tk::MessageKind::Error);
}

}  // namespace

ExtensionFields window_fields() {
  return {tk::text(kNameField), tk::text(kAuthorField), tk::text(kDescriptionField),
          tk::text(kHelpField), codeeditor::editor_get_text(kCodeEditor)};
}

void show_fields(const ExtensionFields& fields, int empty_undo) {
  tk::set_text(kNameField, fields.name);
  tk::set_text(kAuthorField, fields.author);
  tk::set_text(kDescriptionField, fields.description);
  tk::set_text(kHelpField, fields.help);
  codeeditor::editor_set_text(kCodeEditor, fields.code, empty_undo);
}

void clear_extension() {
  g_package_name = "";
  show_fields({}, 0);
}

void open_extension_package() {
  const std::string path = tk::open_file("Select a Quillop Game Maker Extension...", "",
                                         "Quillop Extensions (*.qex)|*.qex").path;
  if (path.empty()) return;
  g_package_name = package_name_of_path(path);
  // Undo after Open must not bring back the code of the package shown before.
  show_fields({}, 1);
  std::string bytes;
  PackageRead result = read_package_file(path, bytes);
  if (result == PackageRead::Missing) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) close(fd);
    return;  // an empty package
  }
  if (result != PackageRead::Read) {
    // The fields are empty now: a Save under that name would overwrite the
    // package that could not be shown with nothing.
    g_package_name = "";
    report_unread(path, result);
    return;
  }
  show_fields(read_extension_package(bytes), 1);
}

void save_extension_package() {
  const std::string path = package_path(g_package_name);
  if (replace_package_file(path, extension_package_bytes(window_fields())) && file_size(path) > 0)
    tk::message_box(kExtmakerTitle, "Extension: " + g_package_name + " successfully saved.");
  else
    tk::message_box("Error", "Failed. Please try again.", tk::MessageKind::Error);
}

void save_extension() {
  if (g_package_name.empty())
    save_extension_as();
  else
    save_extension_package();
}

void save_extension_as() {
  int window = tk::open_window(tk::kAny, 0, 0, 400, 100, "Enter the extension name", tk::kWindowCentred);
  tk::disable_window(kExtmakerWindow, true);
  tk::keep_window_above(window, true);
  int cancel = tk::button(tk::kAny, 10, 65, 100, 25, "Cancel");
  int ok = tk::button(tk::kAny, 290, 65, 100, 25, "OK");
  int input = tk::input(tk::kAny, 10, 10, 380, 25, g_package_name);
  for (;;) {
    tk::Event e = tk::wait_event();
    if (e.type != tk::kEventWidget || e.subtype != tk::kLeftClick) continue;
    if (e.object == cancel) break;
    if (e.object != ok) continue;
    const std::string name = tk::text(input);
    if (usable_package_name(name)) {
      g_package_name = name;
      save_extension_package();
      break;
    }
    tk::message_box("Error", "An extension name cannot contain \"/\".", tk::MessageKind::Error);
  }
  tk::keep_window_above(window, false);
  tk::disable_window(kExtmakerWindow, false);
  tk::close_window(window);
  tk::activate_window(kExtmakerWindow);
}
