// The styling engine: restyling runs of lines, the token styler driven by the
// word table, and the JavaScript line styler with its block-comment state.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "codeeditor/code_editor.h"
#include "codeeditor/internal.h"

namespace codeeditor {

using namespace detail;

namespace {

constexpr int kStyleComment = 3;

bool is_blank(unsigned char c) { return c == ' ' || c == '\t'; }
bool is_line_end(unsigned char c) { return c == '\r' || c == '\n'; }

// Styles the next n bytes; with colouring off everything is the default style.
void style_bytes(CodeEditor& e, int n, int style) {
  if (n <= 0) return;
  if (!(e.options & kOptionColouring)) style = kStyleDefault;
  send(e, SCI_SETSTYLING, uptr_t(n), style);
}

int length_without_line_end(const char* bytes, int length) {
  while (length > 0 && is_line_end(static_cast<unsigned char>(bytes[length - 1]))) --length;
  return length;
}

unsigned last_code_point(std::string_view word) {
  size_t start = word.size() - 1;
  while (start > 0 && (static_cast<unsigned char>(word[start]) & 0xC0) == 0x80 &&
         word.size() - start < 4)
    --start;
  return first_code_point(word.substr(start));
}

void count_fold_flags(CodeEditor& e, const EditorWord& w) {
  if ((w.flags & kWordFoldOpen) || ((w.flags & kWordFoldOpenFirst) && e.fold_delta == 0))
    ++e.fold_delta;
  if ((w.flags & kWordFoldClose) && (e.fold_level > kFoldBase || e.fold_delta != 0))
    --e.fold_delta;
}

// A delimited range from its opening byte: the token length; sets *closed
// when the closing character ended it.
int delimited_length(const EditorWord& w, const char* p, int length, bool* closed) {
  const unsigned char open = static_cast<unsigned char>(p[0]);
  int depth = 1, n = 1;
  while (n < length) {
    unsigned char b = static_cast<unsigned char>(p[n]);
    if (b == w.close_char) {
      ++n;
      if (--depth == 0) {
        *closed = true;
        break;
      }
    } else if (b == open) {
      ++n;
      ++depth;
    } else if (is_line_end(b)) {
      break;
    } else {
      ++n;
    }
  }
  return n;
}

}  // namespace

int editor_is_separator(CodeEditor* e, unsigned char byte, EditorWord** word_out) {
  if (word_out) *word_out = nullptr;
  if (!e) return 0;
  EditorWord* w = single_char_word(*e, byte);
  bool word_separates =
      w && (w->flags & kWordSeparatorBits) && !(w->flags & kWordNotSeparator);
  if (!is_line_end(byte) && !e->separator_char[byte] && !word_separates) return 0;
  if (word_out) *word_out = w;
  return 1;
}

int editor_scan_number(CodeEditor* e, const char* bytes, int length, int* digits_out) {
  if (!e) return 0;
  int digits = 0, points = 0, n = 0;
  for (; n < length; ++n) {
    unsigned char b = static_cast<unsigned char>(bytes[n]);
    if (b == '.') {
      if (points++) return 0;
    } else if (b >= '0' && b <= '9') {
      ++digits;
    } else if (is_blank(b) || editor_is_separator(e, b, nullptr)) {
      break;
    } else {
      return 0;
    }
  }
  if (n == 0) return 0;
  if (digits_out) *digits_out = digits;
  return n;
}

int editor_style_text(CodeEditor* e, const char* p, int length, int measure_only,
                      EditorWord** word_out, int* flags_out) {
  if (word_out) *word_out = nullptr;
  if (flags_out) *flags_out = 0;
  if (!e || length <= 0) return 0;
  const bool measure = measure_only != 0;
  const unsigned char c = static_cast<unsigned char>(p[0]);
  int style = e->pending_style;
  int out_flags = 0;
  EditorWord* w = nullptr;
  int n = 0;
  int digits = 0;

  if (is_blank(c)) {
    n = 1;
    while (n < length && is_blank(static_cast<unsigned char>(p[n]))) ++n;
    out_flags |= 1;
  } else if (editor_is_separator(e, c, &w)) {
    if (!measure) e->pending_style = kStyleDefault;
    n = 1;
    style = w ? w->style : kStyleDefault;
    int number = c == '.' ? editor_scan_number(e, p, length, &digits) : 0;
    if (number > 0 && digits > 0) {
      n = number;
      style = e->number_style;
      w = nullptr;
    } else if (length > 1 && w) {
      if (w->flags & kWordDelimited) {
        bool closed = false;
        n = delimited_length(*w, p, length, &closed);
        if (closed) out_flags |= 2;
      } else if (w->flags & kWordToLineEnd) {
        n = std::max(1, length_without_line_end(p, length));
      }
      if (((w->flags & kWordPrefix) ||
           ((w->flags & kWordPrefixAdjacent) && !is_blank(static_cast<unsigned char>(p[1])))) &&
          !measure)
        e->pending_style = style;
    }
  } else if (int number = editor_scan_number(e, p, length, &digits); number > 0 && digits > 0) {
    if (!measure) e->pending_style = kStyleDefault;
    n = number;
    style = e->number_style;
  } else {
    EditorWord* follower = nullptr;
    while (n < length) {
      unsigned char b = static_cast<unsigned char>(p[n]);
      if (is_blank(b) || editor_is_separator(e, b, &follower)) break;
      ++n;
    }
    static thread_local std::string key;
    std::string_view word(p, size_t(n));
    word_key_into(*e, word, key);
    w = find_word(*e, key);
    EditorWord* first = single_char_word(*e, first_code_point(word));
    EditorWord* last = single_char_word(*e, last_code_point(word));
    if (e->pending_style != kStyleDefault) {
      if (!measure) e->pending_style = kStyleDefault;
    } else if (w) {
      style = w->style;
    } else if (first && (first->flags & (kWordPrefix | kWordPrefixAdjacent))) {
      style = first->style;
    } else if (last && (last->flags & (kWordSuffix | kWordSuffixAdjacent))) {
      style = last->style;
    } else {
      int blanks = 0;
      if (!follower) {
        while (n + blanks < length && is_blank(static_cast<unsigned char>(p[n + blanks]))) ++blanks;
        if (n + blanks < length)
          editor_is_separator(e, static_cast<unsigned char>(p[n + blanks]), &follower);
      }
      if (follower && ((follower->flags & kWordSuffix) ||
                       ((follower->flags & kWordSuffixAdjacent) && blanks == 0))) {
        style = follower->style;
        n += blanks;
      }
    }
  }

  if (!measure) {
    style_bytes(*e, n, style);
    if (w) count_fold_flags(*e, *w);
  }
  if (word_out) *word_out = w;
  if (flags_out) *flags_out = out_flags;
  return n;
}

int editor_style_range(int widget, const char* bytes, int length) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return 0;
  while (length > 0) {
    int n = editor_style_text(e, bytes, length, 0, nullptr, nullptr);
    if (n <= 0) break;
    bytes += n;
    length -= n;
  }
  return 0;
}

int editor_style_token(int widget, const char* bytes, int length) {
  CodeEditor* e = code_editor_of(widget);
  if (!e || length <= 0) return 0;
  if (bytes != e->token_end) e->pending_style = kStyleDefault;
  int n = editor_style_text(e, bytes, length, 0, nullptr, nullptr);
  e->token_end = bytes + n;
  return n;
}

int editor_restyle(int widget, int from_line, int to_line, sptr_t end_position) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return 0;
  const int line_count = int(send(*e, SCI_GETLINECOUNT));
  const int last_line = line_count - 1;
  if (to_line == -1 || to_line >= line_count) to_line = last_line;
  if (from_line < 0) from_line = 0;
  if (from_line == 0) {
    e->fold_level = kFoldBase;
  } else {
    --from_line;
    e->fold_level = std::max(kFoldBase, int(send(*e, SCI_GETFOLDLEVEL, from_line)) & 0xFFF);
  }
  const int fixed_to_line = to_line;
  sptr_t start = send(*e, SCI_POSITIONFROMLINE, from_line);
  sptr_t remaining = end_position - start;
  send(*e, SCI_STARTSTYLING, start, kStyleMask);
  int previous_result = 0;
  std::vector<char> buffer;
  for (int line = from_line; line <= to_line; ++line) {
    e->token_end = nullptr;
    e->pending_style = kStyleDefault;
    e->fold_delta = 0;
    const sptr_t full_length = send(*e, SCI_LINELENGTH, line);
    sptr_t length = full_length;
    bool cut = false;
    if (previous_result == 0 && end_position != -1 && length > remaining) {
      length = remaining;
      cut = true;
    }
    remaining -= length;
    previous_result = 0;
    if (length > 0) {
      buffer.assign(size_t(full_length) + 1, '\0');
      send_text(*e, SCI_GETLINE, line, buffer.data());
      if (e->line_styler) {
        int result = e->line_styler(widget, buffer.data(), int(length), line, from_line, to_line);
        // A line cut at the end position ends the run: its state is only
        // provisional, and the next request restyles it whole.
        previous_result = cut ? 0 : result;
        to_line = previous_result == 1 ? last_line : fixed_to_line;
      } else {
        editor_style_range(widget, buffer.data(), int(length));
      }
    }
    if (e->options & kOptionFolding) {
      int level = e->fold_level | (e->fold_delta >= 1 ? kFoldHeader : 0);
      send(*e, SCI_SETFOLDLEVEL, line, level);
      e->fold_level = std::max(kFoldBase, e->fold_level + e->fold_delta);
    } else {
      send(*e, SCI_SETFOLDLEVEL, line, 0);
    }
  }
  return 0;
}

int javascript_block_comment(int widget, const char* bytes, int length, int* state) {
  CodeEditor* e = code_editor_of(widget);
  if (!e || length <= 0) return 0;
  for (int i = 0; i + 1 < length; ++i) {
    if (bytes[i] == '*' && bytes[i + 1] == '/') {
      if (state) *state = 0;
      style_bytes(*e, i + 2, kStyleComment);
      return i + 2;
    }
  }
  int n = length_without_line_end(bytes, length);
  style_bytes(*e, n, kStyleComment);
  return n;
}

int javascript_lexer(int widget, const char* bytes, int length, int line, int, int) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return 0;
  int state = line > 0 ? editor_get_line_state(widget, line - 1) : 0;
  int pos = 0;
  while (pos < length) {
    if (state == 1) pos += javascript_block_comment(widget, bytes + pos, length - pos, &state);
    bool comment_ok = true;
    while (pos < length) {
      const char c = bytes[pos];
      const bool two_left = length - pos > 1;
      if (c == '/' && two_left) {
        if (bytes[pos + 1] == '/' && comment_ok) {
          style_bytes(*e, length - pos, kStyleComment);
          pos = length;
          break;
        }
        if (bytes[pos + 1] == '*') {
          style_bytes(*e, 2, kStyleComment);
          pos += 2;
          state = 1;
          break;
        }
      }
      int n = editor_style_token(widget, bytes + pos, length - pos);
      if (n <= 0) {
        pos = length;
        break;
      }
      const unsigned char examined = static_cast<unsigned char>(c == '/' && two_left ? bytes[pos + 1] : c);
      comment_ok = is_blank(examined) || examined == ';';
      pos += n;
    }
  }
  if (editor_get_line_state(widget, line) != state) {
    editor_set_line_state(widget, line, state);
    return 1;
  }
  return 0;
}

}  // namespace codeeditor
