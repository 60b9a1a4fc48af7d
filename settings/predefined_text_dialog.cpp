#include "settings/predefined_text_dialog.h"

#include "resources/setup_templates.h"
#include "settings/dialog_lists.h"
#include "settings/settings_store.h"

#include <algorithm>

namespace {

constexpr WCHAR kEditTitle[] = u"Predefined text:";
constexpr int kAddedTextRoom = 100;  // a text added with "Add.." holds up to 99 characters

const SetupServices* Services(HWND dialog) {
  return reinterpret_cast<const SetupServices*>(GetWindowLong(dialog, DWL_USER));
}

void CopyText(const WCHAR* text, WCHAR* field, int room) {
  int n = 0;
  for (; n + 1 < room && text[n] != 0; ++n) field[n] = text[n];
  field[n] = 0;
}

// Fills the list from the texts and selects `selected` (kept within the list).
void FillList(HWND dialog, int selected) {
  const SettingsBlock& s = TheSettings();
  SendDlgItemMessage(dialog, kTextsList, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < s.PredefinedTextCount; ++i) AddListEntry(dialog, kTextsList, s.PredefinedTexts[i], i);
  if (s.PredefinedTextCount > 0) SelectEntry(dialog, kTextsList, std::clamp(selected, 0, s.PredefinedTextCount - 1));
}

void SwapTexts(int a, int b) {
  SettingsBlock& s = TheSettings();
  std::swap(s.PredefinedTexts[a], s.PredefinedTexts[b]);
}

void RemoveText(int index) {
  SettingsBlock& s = TheSettings();
  for (int i = index; i + 1 < s.PredefinedTextCount; ++i) CopyText(s.PredefinedTexts[i + 1], s.PredefinedTexts[i], kPredefinedTextRoom);
  --s.PredefinedTextCount;
  s.PredefinedTexts[s.PredefinedTextCount][0] = 0;
}

// Lets the user type over `text`; true when accepted.
bool EditText(HWND dialog, WCHAR* text, int room) {
  const SetupServices* services = Services(dialog);
  if (services == nullptr || services->editText == nullptr) return false;
  return services->editText(dialog, kEditTitle, text, room);
}

void OnUp(HWND dialog, int c) {
  if (c >= 1) {
    SwapTexts(c - 1, c);
    --c;
  }
  FillList(dialog, c);
}

void OnDown(HWND dialog, int c) {
  if (c + 1 < TheSettings().PredefinedTextCount) {
    SwapTexts(c, c + 1);
    ++c;
  }
  FillList(dialog, c);
}

void OnRemove(HWND dialog, int c) {
  RemoveText(c);
  FillList(dialog, c);
}

void OnAdd(HWND dialog) {
  SettingsBlock& s = TheSettings();
  if (s.PredefinedTextCount >= kMaxPredefinedTexts) return;
  WCHAR text[kAddedTextRoom] = {};
  if (EditText(dialog, text, kAddedTextRoom) && text[0] != 0) {
    CopyText(text, s.PredefinedTexts[s.PredefinedTextCount++], kPredefinedTextRoom);
    SaveSettings();
  }
  FillList(dialog, 0);
}

void OnEdit(HWND dialog, int c) {
  SettingsBlock& s = TheSettings();
  WCHAR text[kPredefinedTextRoom];
  CopyText(s.PredefinedTexts[c], text, kPredefinedTextRoom);
  if (EditText(dialog, text, kPredefinedTextRoom)) {
    if (text[0] == 0) RemoveText(c);
    else CopyText(text, s.PredefinedTexts[c], kPredefinedTextRoom);
  }
  FillList(dialog, c);
}

// The commands that act on the selected text; without a selection they do nothing.
BOOL OnSelectionCommand(HWND dialog, int id) {
  const int selected = SelectedEntry(dialog, kTextsList);
  if (selected < 0 || selected >= TheSettings().PredefinedTextCount) return TRUE;
  switch (id) {
    case kTextsUp: OnUp(dialog, selected); break;
    case kTextsDown: OnDown(dialog, selected); break;
    case kTextsRemove: OnRemove(dialog, selected); break;
    default: OnEdit(dialog, selected); break;
  }
  return TRUE;
}

BOOL OnInitDialog(HWND dialog, LPARAM services) {
  SetWindowLong(dialog, DWL_USER, services);
  const SetupServices* s = Services(dialog);
  if (s != nullptr && s->pushWindow != nullptr) s->pushWindow(dialog);
  FillList(dialog, 0);
  return TRUE;
}

BOOL OnDestroy(HWND dialog) {
  const SetupServices* s = Services(dialog);
  if (s != nullptr && s->popWindow != nullptr) s->popWindow(dialog);
  SaveSettings();
  return TRUE;
}

BOOL OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK:
    case IDCANCEL: EndDialog(dialog, 1); return TRUE;
    case kTextsAdd: OnAdd(dialog); return TRUE;
    case kTextsUp:
    case kTextsDown:
    case kTextsRemove:
    case kTextsEdit: return OnSelectionCommand(dialog, id);
    default: return FALSE;
  }
}

}  // namespace

int RunPredefinedTextDialog(HWND owner, const SetupServices* services) {
  return static_cast<int>(DialogBoxParam(nullptr, MAKEINTRESOURCE(kPredefinedTextsDialog), owner,
                                         PredefinedTextDialogProc, reinterpret_cast<LPARAM>(services)));
}

BOOL CALLBACK PredefinedTextDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, lParam);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_DESTROY: return OnDestroy(dialog);
    default: return FALSE;
  }
}
