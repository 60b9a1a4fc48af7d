#include "settings/setup_dialog.h"

#include "resources/setup_templates.h"
#include "settings/language_setup_dialog.h"
#include "settings/predefined_text_dialog.h"
#include "settings/settings_store.h"

#include <device/edit.h>
#include <device/shell.h>

#include <iterator>

namespace {

constexpr UINT_PTR kFullScreenTimer = 1;
constexpr UINT kFullScreenDelayMs = 100;
// Task bar shown, input-panel button and Start icon hidden (0x29).
constexpr DWORD kFullScreenFlags = SHFS_SHOWTASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON;

// The phone-timer entries, unsorted, carrying phonetimer 1..5.
constexpr const WCHAR* kPhoneTimerTexts[] = {u"300 ms", u"600 ms", u"900 ms", u"1200 ms", u"1500 ms"};

// Gesture radio buttons by strikelength 1..3.
constexpr int kStrikeRadios[] = {kSetupHigh, kSetupMedium, kSetupLow};

struct CheckSetting {
  int control;
  std::int32_t SettingsBlock::*field;
};
constexpr CheckSetting kCheckSettings[] = {
    {kSetupAddSpace, &SettingsBlock::AddSpace},     {kSetupAutoRepeat, &SettingsBlock::autorepeat},
    {kSetupShowPredict, &SettingsBlock::showPredict}, {kSetupMenu, &SettingsBlock::Menu},
    {kSetupLearnPairs, &SettingsBlock::LearnPairs},
};

const SetupServices* Services(HWND dialog) {
  return reinterpret_cast<const SetupServices*>(GetWindowLong(dialog, DWL_USER));
}

void FillPhoneTimer(HWND dialog, int phonetimer) {
  for (int i = 0; i < static_cast<int>(std::size(kPhoneTimerTexts)); ++i) {
    const auto index = SendDlgItemMessage(dialog, kSetupPhoneTimer, CB_ADDSTRING, 0,
                                          reinterpret_cast<LPARAM>(kPhoneTimerTexts[i]));
    SendDlgItemMessage(dialog, kSetupPhoneTimer, CB_SETITEMDATA, index, i + 1);
  }
  SendDlgItemMessage(dialog, kSetupPhoneTimer, CB_SETCURSEL, phonetimer - 1, 0);
}

void ShowSettings(HWND dialog, const SettingsBlock& s) {
  CheckRadioButton(dialog, kSetupHigh, kSetupLow, kStrikeRadios[s.strikelength - 1]);
  for (const CheckSetting& check : kCheckSettings)
    CheckDlgButton(dialog, check.control, s.*check.field != 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckRadioButton(dialog, kSetupLeftHanded, kSetupRightHanded, s.lefthanded == 1 ? kSetupLeftHanded : kSetupRightHanded);
  SendDlgItemMessage(dialog, kSetupDirectory, EM_LIMITTEXT, kDirectoryRoom - 1, 0);
  SetDlgItemText(dialog, kSetupDirectory, s.directory);
  FillPhoneTimer(dialog, s.phonetimer);
}

std::int32_t CheckedStrikeLength(HWND dialog, std::int32_t current) {
  for (int i = 0; i < static_cast<int>(std::size(kStrikeRadios)); ++i)
    if (IsDlgButtonChecked(dialog, kStrikeRadios[i]) == BST_CHECKED) return i + 1;
  return current;
}

void ReadDirectory(HWND dialog, SettingsBlock& s) {
  WCHAR folder[kDirectoryRoom] = {};
  if (GetDlgItemText(dialog, kSetupDirectory, folder, kDirectoryRoom) > 0)
    for (int i = 0; i < kDirectoryRoom; ++i) s.directory[i] = folder[i];
}

void ReadSettings(HWND dialog, SettingsBlock& s) {
  for (const CheckSetting& check : kCheckSettings)
    s.*check.field = IsDlgButtonChecked(dialog, check.control) == BST_CHECKED ? 1 : 0;
  s.strikelength = CheckedStrikeLength(dialog, s.strikelength);
  s.lefthanded = IsDlgButtonChecked(dialog, kSetupLeftHanded) == BST_CHECKED ? 1 : 0;
  const auto selected = SendDlgItemMessage(dialog, kSetupPhoneTimer, CB_GETCURSEL, 0, 0);
  if (selected != CB_ERR)
    s.phonetimer = static_cast<std::int32_t>(SendDlgItemMessage(dialog, kSetupPhoneTimer, CB_GETITEMDATA, selected, 0));
  ReadDirectory(dialog, s);
}

BOOL OnInitDialog(HWND dialog, LPARAM services) {
  SetWindowLong(dialog, DWL_USER, services);
  SetTimer(dialog, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowSettings(dialog, TheSettings());
  return TRUE;
}

BOOL OnTimer(HWND dialog, UINT_PTR id) {
  if (id != kFullScreenTimer) return FALSE;
  SHFullScreen(dialog, kFullScreenFlags);
  KillTimer(dialog, kFullScreenTimer);
  return TRUE;
}

void OnOk(HWND dialog) {
  ReadSettings(dialog, TheSettings());
  SaveSettings();
  EndDialog(dialog, 1);
}

void OnAssign(HWND dialog) {
  const SetupServices* services = Services(dialog);
  if (services != nullptr && services->startAssignTool != nullptr) services->startAssignTool();
}

BOOL OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK: OnOk(dialog); return TRUE;
    case IDCANCEL: EndDialog(dialog, 1); return TRUE;
    case kSetupPredefinedKeys: RunPredefinedTextDialog(dialog, Services(dialog)); return TRUE;
    case kSetupLanguages: RunLanguageSetupDialog(dialog); return TRUE;
    case kSetupAssign: OnAssign(dialog); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

int RunSetupDialog(HWND owner, const SetupServices* services) {
  return static_cast<int>(DialogBoxParam(nullptr, MAKEINTRESOURCE(kSetupDialog), owner, SetupDialogProc,
                                         reinterpret_cast<LPARAM>(services)));
}

BOOL CALLBACK SetupDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, lParam);
    case WM_TIMER: return OnTimer(dialog, wParam);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
  }
}
