// Helpers of the browsing window tests: the whole program started by its entry, notes written
// into the notes folder as the program saves them, and the places a person taps.
#pragma once

#include "common/file_helpers.h"
#include "notes/note_files.h"
#include "prediction/prediction_engine.h"
#include "settings/settings_store.h"
#include "shell/edit_mode.h"
#include "shell/window_stack.h"

#include <device/driver.h>
#include <device/message_box_probe.h>

#include <functional>
#include <string>
#include <vector>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace notes_window_test {

inline constexpr WCHAR kNotesFolder[] = u"\\My Documents\\Tavrels";

inline std::u16string NotePath(const std::u16string& name) { return std::u16string(kNotesFolder) + u"\\" + name; }

// A file of raw bytes in the notes folder (made when missing).
inline void WriteNoteBytes(const std::u16string& name, const std::vector<std::uint8_t>& bytes) {
  CreateDirectory(u"\\My Documents", nullptr);
  CreateDirectory(kNotesFolder, nullptr);
  ReplaceFileContents(NotePath(name).c_str(), bytes.data(), bytes.size());
}

// A note file as the program writes it: the mark, UTF-16LE text, one zero.
inline void WriteNote(const std::u16string& name, const std::u16string& text) {
  std::vector<std::uint8_t> bytes{0xFF, 0xFE};
  for (char16_t c : text + u'\0') {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  WriteNoteBytes(name, bytes);
}

inline bool FileExists(const std::u16string& path) { return GetFileAttributes(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::u16string NoteText(const std::u16string& name) {
  std::u16string text;
  ReadNoteFile(NotePath(name).c_str(), text);
  return text;
}

// Runs the program from its entry and plays `script` once the start window is up.
inline void RunProgram(const std::function<void(device::Driver&)>& script) {
  device::RunProgramWithScript(
      [] {
        TheWindowStack = WindowStack{};
        EditMode = kEditField;
        ThePredictionEngine().tracker.SetLoadedLanguage(-1);
        ThePredictionEngine().dictionary.EmptyDictionary();
        return WinMain(reinterpret_cast<HINSTANCE>(0x00010000), nullptr, nullptr, SW_SHOW);
      },
      [&](device::Driver& d) {
        d.AdvanceTime(300);
        script(d);
      });
}

inline HWND StartWindow(const device::Driver& d) { return d.Find(u"Tavrel", u"Tavrel"); }

// The notes band opens the list; it is the dialog with the preview control.
inline HWND OpenList(device::Driver& d) {
  d.Tap(120, 180);
  d.AdvanceTime(200);
  HWND top = TopWindow();
  return GetDlgItem(top, kNotePreviewId) != nullptr ? top : nullptr;
}

inline std::u16string PreviewText(const device::Driver& d, HWND list) {
  return d.WindowText(GetDlgItem(list, kNotePreviewId));
}

// Rows: the even row of a band is reached at its left end, the odd row at its right end.
inline void TapRow(device::Driver& d, int row) { d.Tap(row % 2 == 0 ? 12 : 228, 142 + 48 * (row / 2)); }
inline void TapFolderButton(device::Driver& d) { d.Tap(60, 300); }
inline void TapSearchButton(device::Driver& d) { d.Tap(215, 300); }
// The menu bar (`Menu` on): "Delete", left, right, "Edit", "Back".
inline void TapMenu(device::Driver& d, int button) {
  d.Tap(48 * button + 24, 15);
  d.AdvanceTime(100);
}

// Whether any screen pixel in the rectangle is clearly red (text in red, smoothed at its edges).
inline bool AnyRedPixel(const device::Driver& d, RECT r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF c = d.Pixel(x, y);
      if (GetRValue(c) > 0xC0 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60) return true;
    }
  return false;
}

// Pixels in the rectangle brighter than the dark skins (text drawn there).
inline int LightPixels(const device::Driver& d, RECT r) {
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (GetRValue(d.Pixel(x, y)) > 0x90) ++count;
  return count;
}

}  // namespace notes_window_test
