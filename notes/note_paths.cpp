// Helpers shared by the note-file sources (see note_paths.h).
#include "notes/note_paths.h"

#include "prediction/lower_case.h"
#include "settings/settings_store.h"

#include <algorithm>

namespace notes_internal {

namespace {

bool IsSeparator(WCHAR c) { return c == u'\\' || c == u'/'; }

std::u16string ComparablePath(std::u16string_view path) {
  std::u16string out;
  for (WCHAR c : path) {
    if (IsSeparator(c)) {
      if (!out.empty() && out.back() == u'\\') continue;
      c = u'\\';
    }
    out += LowerChar(c);
  }
  while (out.size() > 1 && out.back() == u'\\') out.pop_back();
  return out;
}

}  // namespace

std::u16string_view View(LPCWSTR text) { return text ? std::u16string_view(text) : std::u16string_view(); }

std::u16string NotesFolder() { return std::u16string(View(TheSettings().directory)); }

std::u16string InFolder(std::u16string_view folder, std::u16string_view name) {
  std::u16string path(folder);
  if (path.empty() || !IsSeparator(path.back())) path += u'\\';
  path += name;
  return path;
}

std::u16string Folded(std::u16string_view text) {
  std::u16string out(text);
  for (WCHAR& c : out) c = LowerChar(c);
  return out;
}

bool SamePath(std::u16string_view a, std::u16string_view b) { return ComparablePath(a) == ComparablePath(b); }

void CopyBounded(WCHAR* field, std::size_t room, std::u16string_view text) {
  std::size_t n = std::min(text.size(), room - 1);
  std::copy_n(text.data(), n, field);
  field[n] = 0;
}

}  // namespace notes_internal
