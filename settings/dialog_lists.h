// Small helpers the setup dialogs share for their list controls.
#pragma once

#include <device/dialogs.h>

// Adds `text` to a list box carrying `data`; returns the entry's index, or LB_ERR.
inline int AddListEntry(HWND dialog, int list, const WCHAR* text, int data) {
  const int index = static_cast<int>(SendDlgItemMessage(dialog, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
  if (index >= 0) SendDlgItemMessage(dialog, list, LB_SETITEMDATA, index, data);
  return index;
}

inline int SelectedEntry(HWND dialog, int list) {
  return static_cast<int>(SendDlgItemMessage(dialog, list, LB_GETCURSEL, 0, 0));
}

inline int EntryCount(HWND dialog, int list) {
  return static_cast<int>(SendDlgItemMessage(dialog, list, LB_GETCOUNT, 0, 0));
}

inline int EntryData(HWND dialog, int list, int index) {
  return static_cast<int>(SendDlgItemMessage(dialog, list, LB_GETITEMDATA, index, 0));
}

inline void SelectEntry(HWND dialog, int list, int index) {
  SendDlgItemMessage(dialog, list, LB_SETCURSEL, index, 0);
}
