#include "toolkit/requester.h"

#include <gdk/gdkkeysyms.h>

#include <cctype>

#include "toolkit/internal.h"

namespace tk {

using namespace detail;

std::vector<PatternEntry> parse_patterns(const std::string& patterns) {
  std::vector<std::string> parts(1);
  for (char c : patterns) {
    if (c == '|')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  std::vector<PatternEntry> out;
  if (patterns.empty()) return out;
  for (size_t i = 0; i < parts.size(); i += 2) {
    PatternEntry e{parts[i], {}};
    if (i + 1 < parts.size()) {
      std::string one;
      for (char c : parts[i + 1] + ";") {
        if (c != ';') {
          one += c;
        } else if (!one.empty()) {
          e.patterns.push_back(one);
          one.clear();
        }
      }
    }
    out.push_back(std::move(e));
  }
  return out;
}

namespace {

// The window a dialog should stay above: the active one of ours, if any.
GtkWindow* dialog_parent() {
  for (auto& [n, w] : windows)
    if (gtk_window_is_active(GTK_WINDOW(w.window))) return GTK_WINDOW(w.window);
  return nullptr;
}

// "*.*" means every file; letters match either case, as file names from
// other systems come in both.
std::string glob_for(const std::string& pattern) {
  if (pattern == "*.*") return "*";
  std::string out;
  for (char c : pattern) {
    if (std::isalpha(static_cast<unsigned char>(c))) {
      out += '[';
      out += char(std::tolower(static_cast<unsigned char>(c)));
      out += char(std::toupper(static_cast<unsigned char>(c)));
      out += ']';
    } else {
      out += c;
    }
  }
  return out;
}

class GtkRequesters : public Requesters {
 public:
  void message(const std::string& title, const std::string& text, MessageKind kind) override {
    GtkMessageType type = kind == MessageKind::Error     ? GTK_MESSAGE_ERROR
                          : kind == MessageKind::Warning ? GTK_MESSAGE_WARNING
                                                         : GTK_MESSAGE_INFO;
    run_message(title, text, type, GTK_BUTTONS_OK);
  }

  int yes_no(const std::string& title, const std::string& text) override {
    return run_message(title, text, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO) == GTK_RESPONSE_YES;
  }

  FileChoice open_file(const std::string& title, const std::string& default_path,
                       const std::string& patterns, int pattern) override {
    return run_chooser(GTK_FILE_CHOOSER_ACTION_OPEN, GTK_STOCK_OPEN, title, default_path, patterns,
                       pattern);
  }

  FileChoice save_file(const std::string& title, const std::string& default_path,
                       const std::string& patterns, int pattern) override {
    return run_chooser(GTK_FILE_CHOOSER_ACTION_SAVE, GTK_STOCK_SAVE, title, default_path, patterns,
                       pattern);
  }

  int colour(int initial) override {
    GtkWidget* d = gtk_color_selection_dialog_new("");
    if (GtkWindow* parent = dialog_parent()) gtk_window_set_transient_for(GTK_WINDOW(d), parent);
    GtkColorSelection* sel =
        GTK_COLOR_SELECTION(gtk_color_selection_dialog_get_color_selection(GTK_COLOR_SELECTION_DIALOG(d)));
    GdkColor c = gdk_colour(initial);
    gtk_color_selection_set_current_color(sel, &c);
    gtk_color_selection_set_previous_color(sel, &c);
    int result = -1;
    if (gtk_dialog_run(GTK_DIALOG(d)) == GTK_RESPONSE_OK) {
      gtk_color_selection_get_current_color(sel, &c);
      result = (c.red >> 8) | (c.green >> 8) << 8 | (c.blue >> 8) << 16;
    }
    gtk_widget_destroy(d);
    return result;
  }

 private:
  static int run_message(const std::string& title, const std::string& text, GtkMessageType type,
                         GtkButtonsType buttons) {
    GtkWidget* d = gtk_message_dialog_new(dialog_parent(), GTK_DIALOG_MODAL, type, buttons, "%s",
                                          text.c_str());
    gtk_window_set_title(GTK_WINDOW(d), title.c_str());
    gtk_window_set_position(GTK_WINDOW(d), GTK_WIN_POS_CENTER);
    int response = gtk_dialog_run(GTK_DIALOG(d));
    gtk_widget_destroy(d);
    return response;
  }

  // GTK's chooser takes Return in a typed path as an answer only once it has
  // read the path's folder; before that it opens the folder and waits, so a
  // path typed at speed came back as nothing. An existing file typed there
  // is the answer at once. Watched ahead of every window, as the typed
  // path's completion list takes the keys while it is shown.
  static constexpr int kTypedFile = 1;
  struct TypedPath {
    GtkWidget* dialog;
    std::string path;
  };
  static GtkEntry* entry_within(GtkWidget* widget) {
    if (GTK_IS_ENTRY(widget)) return GTK_ENTRY(widget);
    GtkEntry* found = nullptr;
    if (GTK_IS_CONTAINER(widget)) {
      GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
      for (GList* c = children; c && !found; c = c->next) found = entry_within(GTK_WIDGET(c->data));
      g_list_free(children);
    }
    return found;
  }
  // Where the chooser's typed text is: its location entry or, while the
  // file list has the focus (Ctrl+L hides a location entry already shown),
  // the list's type-ahead search, which lives in a popup window of its own.
  static GtkEntry* typed_entry(GtkWidget* dialog) {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog));
    if (GTK_IS_ENTRY(focus)) return GTK_ENTRY(focus);
    if (!GTK_IS_TREE_VIEW(focus)) return nullptr;
    GtkEntry* found = nullptr;
    GList* all = gtk_window_list_toplevels();
    for (GList* w = all; w && !found; w = w->next)
      if (gtk_window_get_window_type(GTK_WINDOW(w->data)) == GTK_WINDOW_POPUP &&
          gtk_widget_get_visible(GTK_WIDGET(w->data)))
        found = entry_within(GTK_WIDGET(w->data));
    g_list_free(all);
    return found;
  }
  static gint on_chooser_key(GtkWidget*, GdkEventKey* e, gpointer data) {
    auto* t = static_cast<TypedPath*>(data);
    if (e->type != GDK_KEY_PRESS || (e->keyval != GDK_KEY_Return && e->keyval != GDK_KEY_KP_Enter)) return FALSE;
    if (!gtk_window_is_active(GTK_WINDOW(t->dialog))) return FALSE;
    GtkEntry* entry = typed_entry(t->dialog);
    if (!entry) return FALSE;
    std::string text = gtk_entry_get_text(entry);
    if (text.empty()) return FALSE;
    gchar* folder = gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(t->dialog));
    gchar* path = g_path_is_absolute(text.c_str()) ? g_strdup(text.c_str())
                                                   : g_build_filename(folder ? folder : ".", text.c_str(), nullptr);
    bool file = g_file_test(path, G_FILE_TEST_IS_REGULAR);
    if (file) t->path = path;
    g_free(path);
    g_free(folder);
    // A response of its own: GTK would hold back an accept while it reads.
    if (file) gtk_dialog_response(GTK_DIALOG(t->dialog), kTypedFile);
    return file;
  }

  static FileChoice run_chooser(GtkFileChooserAction action, const char* stock,
                                const std::string& title, const std::string& default_path,
                                const std::string& patterns, int pattern) {
    GtkWidget* d = gtk_file_chooser_dialog_new(title.c_str(), dialog_parent(), action,
                                               GTK_STOCK_CANCEL, GTK_RESPONSE_CANCEL, stock,
                                               GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* fc = GTK_FILE_CHOOSER(d);
    std::vector<GtkFileFilter*> filters;
    for (const PatternEntry& e : parse_patterns(patterns)) {
      GtkFileFilter* f = gtk_file_filter_new();
      gtk_file_filter_set_name(f, e.label.c_str());
      for (const std::string& p : e.patterns) gtk_file_filter_add_pattern(f, glob_for(p).c_str());
      gtk_file_chooser_add_filter(fc, f);
      filters.push_back(f);
    }
    if (pattern >= 0 && pattern < int(filters.size()))
      gtk_file_chooser_set_filter(fc, filters[size_t(pattern)]);
    if (default_path.empty()) {
      // Without a folder GTK opens on "Recently Used", whose selection is
      // all it answers: a path typed there comes back as no file at all.
      gchar* here = g_get_current_dir();
      gtk_file_chooser_set_current_folder(fc, here);
      g_free(here);
    } else if (default_path.back() == '/' || g_file_test(default_path.c_str(), G_FILE_TEST_IS_DIR)) {
      gtk_file_chooser_set_current_folder(fc, default_path.c_str());
    } else if (action == GTK_FILE_CHOOSER_ACTION_SAVE) {
      gchar* dir = g_path_get_dirname(default_path.c_str());
      gchar* base = g_path_get_basename(default_path.c_str());
      gtk_file_chooser_set_current_folder(fc, dir);
      gtk_file_chooser_set_current_name(fc, base);
      g_free(dir);
      g_free(base);
    } else {
      gtk_file_chooser_set_filename(fc, default_path.c_str());
    }
    TypedPath typed{d, {}};
    guint snooper = action == GTK_FILE_CHOOSER_ACTION_OPEN ? gtk_key_snooper_install(on_chooser_key, &typed) : 0;
    int response = gtk_dialog_run(GTK_DIALOG(d));
    if (snooper) gtk_key_snooper_remove(snooper);
    FileChoice choice;
    choice.pattern = pattern;
    if (response == GTK_RESPONSE_ACCEPT || response == kTypedFile) {
      if (response == kTypedFile) {
        choice.path = typed.path;
      } else if (gchar* name = gtk_file_chooser_get_filename(fc)) {
        choice.path = name;
        g_free(name);
      }
      GtkFileFilter* chosen = gtk_file_chooser_get_filter(fc);
      for (size_t i = 0; i < filters.size(); ++i)
        if (filters[i] == chosen) choice.pattern = int(i);
    }
    gtk_widget_destroy(d);
    return choice;
  }
};

GtkRequesters gtk_requesters;
Requesters* installed = nullptr;

}  // namespace

void set_requesters(Requesters* requesters) { installed = requesters; }
Requesters& requesters() { return installed ? *installed : gtk_requesters; }

void message_box(const std::string& title, const std::string& text, MessageKind kind) {
  requesters().message(title, text, kind);
}

int yes_no(const std::string& title, const std::string& text) {
  return requesters().yes_no(title, text) ? 1 : 0;
}

FileChoice open_file(const std::string& title, const std::string& default_path,
                     const std::string& patterns, int pattern) {
  return requesters().open_file(title, default_path, patterns, pattern);
}

FileChoice save_file(const std::string& title, const std::string& default_path,
                     const std::string& patterns, int pattern) {
  return requesters().save_file(title, default_path, patterns, pattern);
}

int choose_colour(int initial) { return requesters().colour(initial); }

}  // namespace tk
