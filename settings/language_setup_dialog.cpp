#include "settings/language_setup_dialog.h"

#include "prediction/prediction_engine.h"
#include "resources/setup_templates.h"
#include "settings/dialog_lists.h"
#include "settings/settings_store.h"

#include <algorithm>

namespace {

const LanguageTable& Languages() { return ThePredictionEngine().languages; }

// Moves the selected entry of list `from` to list `to`; returns its language, or -1 when
// nothing is selected. The entry above the removed one (or the first) stays selected in
// `from`, the moved entry is selected in `to`.
int MoveSelectedEntry(HWND dialog, int from, int to) {
  const int selected = SelectedEntry(dialog, from);
  if (selected < 0) return -1;
  const int language = EntryData(dialog, from, selected);
  SendDlgItemMessage(dialog, from, LB_DELETESTRING, selected, 0);
  SelectEntry(dialog, from, std::max(selected - 1, 0));
  SelectEntry(dialog, to, AddListEntry(dialog, to, Languages().Language(language).LONG, language));
  return language;
}

void OnUse(HWND dialog) {
  std::vector<std::int32_t>& used = TheSettings().UsedLangs;
  if (static_cast<int>(used.size()) >= Languages().count) return;
  const int language = MoveSelectedEntry(dialog, kLanguagesUnused, kLanguagesUsed);
  if (language >= 0) used.push_back(language);
}

void OnDrop(HWND dialog) {
  std::vector<std::int32_t>& used = TheSettings().UsedLangs;
  if (used.size() < 2) return;
  const int language = MoveSelectedEntry(dialog, kLanguagesUsed, kLanguagesUnused);
  if (language >= 0) used.erase(std::remove(used.begin(), used.end(), language), used.end());
}

BOOL OnInitDialog(HWND dialog) {
  SendDlgItemMessage(dialog, kLanguagesUsed, LB_RESETCONTENT, 0, 0);
  SendDlgItemMessage(dialog, kLanguagesUnused, LB_RESETCONTENT, 0, 0);
  for (int language = 0; language < Languages().count; ++language) {
    const int list = IsUsedLanguage(TheSettings(), language) ? kLanguagesUsed : kLanguagesUnused;
    AddListEntry(dialog, list, Languages().Language(language).LONG, language);
  }
  SelectEntry(dialog, kLanguagesUsed, 0);
  SelectEntry(dialog, kLanguagesUnused, 0);
  return TRUE;
}

void OnOk(HWND dialog) {
  SaveSettings();
  EndDialog(dialog, 1);
}

BOOL OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK: OnOk(dialog); return TRUE;
    case IDCANCEL: EndDialog(dialog, 1); return TRUE;
    case kLanguagesUse: OnUse(dialog); return TRUE;
    case kLanguagesDrop: OnDrop(dialog); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

int RunLanguageSetupDialog(HWND owner) {
  return static_cast<int>(
      DialogBoxParam(nullptr, MAKEINTRESOURCE(kLanguageSetupDialog), owner, LanguageSetupDialogProc, 0));
}

BOOL CALLBACK LanguageSetupDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
  }
}
