// Small helpers the note-file sources share: the notes folder, paths in it, and case folding
// as the note search and the device's case-blind file names need it.
#pragma once

#include <device/win_types.h>

#include <string>
#include <string_view>

namespace notes_internal {

inline constexpr WCHAR kNoteExtension[] = u".pwi";

// A null text reads as empty.
std::u16string_view View(LPCWSTR text);

// The `NotesFolder`: the setting `directory`.
std::u16string NotesFolder();

// `folder` + "\" + `name`, without doubling a separator the folder already ends with.
std::u16string InFolder(std::u16string_view folder, std::u16string_view name);

// The text with every code unit lower-cased, as the dictionary folds its words.
std::u16string Folded(std::u16string_view text);

// Whether two device paths name the same file: equal but for case, '/' for '\' and
// repeated or trailing separators.
bool SamePath(std::u16string_view a, std::u16string_view b);

// Copies at most room - 1 units into a fixed field and always terminates it.
void CopyBounded(WCHAR* field, std::size_t room, std::u16string_view text);

}  // namespace notes_internal
