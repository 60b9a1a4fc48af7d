// Helpers of the contact window tests: the whole program started by its entry over a store that
// holds the given contacts (the program's own contacts thread loads them), and the places a
// person taps.
#pragma once

#include "common/messages.h"
#include "contacts/poom/poom_interface.h"
#include "prediction/prediction_engine.h"
#include "settings/registry_settings.h"
#include "shell/edit_mode.h"
#include "shell/window_stack.h"

#include <device/driver.h>
#include <device/message_box_probe.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace contact_windows_test {

inline ContactRecord Person(std::u16string_view first, std::u16string_view last) {
  ContactRecord record;
  SetContactString(record, kFirstNameId, first);
  SetContactString(record, kLastNameId, last);
  SetContactString(record, kFileAsId, std::u16string(last) + u", " + std::u16string(first));
  return record;
}

// Stores the contacts before the program starts, through a connection of its own.
inline void StoreContacts(const std::vector<ContactRecord>& contacts) {
  PoomConnect();
  for (const ContactRecord& record : contacts) PoomCreateContact(record);
  PoomLogoff();
  PoomRelease();
}

// Runs the program from its entry over a store holding `contacts` and plays `script` once the
// start window is up.
inline void RunProgram(const std::vector<ContactRecord>& contacts, const std::function<void(device::Driver&)>& script) {
  device::RunProgramWithScript(
      [&] {
        TheWindowStack = WindowStack{};
        EditMode = kEditField;
        ThePredictionEngine().tracker.SetLoadedLanguage(-1);
        ThePredictionEngine().dictionary.EmptyDictionary();
        ContactListClear();
        StoreContacts(contacts);
        return WinMain(reinterpret_cast<HINSTANCE>(0x00010000), nullptr, nullptr, SW_SHOW);
      },
      [&](device::Driver& d) {
        d.AdvanceTime(300);
        script(d);
      });
}

inline HWND StartWindow(const device::Driver& d) { return d.Find(u"Tavrel", u"Tavrel"); }

// The contacts band waits for the contacts thread, then opens the list, which searches 10 ms
// later.
inline HWND OpenContactList(device::Driver& d) {
  d.Tap(120, 290);
  d.AdvanceTime(100);
  return TopWindow();
}

// The new-contact band opens the contact menu without a contact.
inline HWND OpenNewContact(device::Driver& d) {
  d.Tap(120, 230);
  d.AdvanceTime(100);
  return TopWindow();
}

// Typing on the list's keyboard: each character as the keyboard sends it.
inline void Type(device::Driver& d, HWND list, std::u16string_view text) {
  for (char16_t c : text) {
    const WCHAR one[2] = {c, 0};
    SendMessage(list, KeyboardInputMessage, kInputCharacter, reinterpret_cast<LPARAM>(one));
  }
  d.RunUntilIdle();
}

inline void Backspace(device::Driver& d, HWND list) {
  SendMessage(list, KeyboardInputMessage, kInputBackspace, 0);
  d.RunUntilIdle();
}

// Result rows of the list (the menu always shown).
inline void TapRow(device::Driver& d, int row) {
  d.Tap(30, 45 + 30 * row);
  d.AdvanceTime(100);
}

// The menu bar along the top: buttons 0 to 4.
inline void TapMenu(device::Driver& d, int button) {
  d.Tap(48 * button + 24, 15);
  d.AdvanceTime(100);
}

// Entry button i of the contact menu: the left one of its band at its left end, the right one
// at its right end.
inline void TapEntry(device::Driver& d, int button) {
  d.Tap(button % 2 == 0 ? 12 : 228, 40 + 48 * (button / 2));
  d.AdvanceTime(100);
}

// The main screen's editor, while the main screen is the top window.
inline std::u16string EditorText(const device::Driver& d) { return d.WindowText(d.Find(u"EDIT")); }

inline bool AnyRedPixel(const device::Driver& d, RECT r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF c = d.Pixel(x, y);
      if (GetRValue(c) > 0xC0 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60) return true;
    }
  return false;
}

inline void StoreSelection(const std::vector<std::int32_t>& positions) {
  WriteSetting(u"contactdata", REG_BINARY, positions.data(), static_cast<DWORD>(positions.size() * 4));
}

inline std::vector<std::int32_t> StoredSelection() {
  std::vector<BYTE> bytes;
  if (!ReadBinarySetting(u"contactdata", bytes)) return {-1};
  std::vector<std::int32_t> positions(bytes.size() / 4);
  for (std::size_t i = 0; i < positions.size(); ++i)
    positions[i] = bytes[4 * i] | bytes[4 * i + 1] << 8 | bytes[4 * i + 2] << 16 | bytes[4 * i + 3] << 24;
  return positions;
}

}  // namespace contact_windows_test
