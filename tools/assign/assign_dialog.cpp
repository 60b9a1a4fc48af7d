#include "tools/assign/assign_dialog.h"

#include "resources/setup_templates.h"
#include "tools/assign/button_registry.h"

#include <device/kernel.h>

namespace {

constexpr WCHAR kRestartText[] = u"You must restart your device before new settings take effect.";
constexpr WCHAR kRestartCaption[] = u"System Reboot";

struct AssignState {
  const AssignRequest* request;
  int assigned;                  // the bound button 1..5, or 0
  bool hasFactoryCommand;        // the bound button's ResetCmd was read
  std::u16string factoryCommand;
};

AssignState* State(HWND dialog) { return reinterpret_cast<AssignState*>(GetWindowLong(dialog, DWL_USER)); }

LRESULT List(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  return SendDlgItemMessage(dialog, kAssignButtons, msg, wParam, lParam);
}

// Offers every button that has a name, selecting each as it is added; the bound button's
// entry is selected last.
void FillButtons(HWND dialog, AssignState& state) {
  for (int button = 1; button <= kButtonCount; ++button) {
    std::u16string name;
    if (!ReadButtonValue(button, u"Name", name)) continue;
    const LRESULT index = List(dialog, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    List(dialog, CB_SETITEMDATA, index, button - 1);
    List(dialog, CB_SETCURSEL, index, 0);
    if (button == state.assigned) state.hasFactoryCommand = ReadButtonValue(button, u"ResetCmd", state.factoryCommand);
  }
  const int count = static_cast<int>(List(dialog, CB_GETCOUNT, 0, 0));
  for (int i = 0; state.assigned != 0 && i < count; ++i)
    if (List(dialog, CB_GETITEMDATA, i, 0) == state.assigned - 1) List(dialog, CB_SETCURSEL, i, 0);
}

void RestoreAssignedButton(const AssignState& state) {
  if (state.assigned != 0 && state.hasFactoryCommand) WriteButtonCommand(state.assigned, state.factoryCommand);
}

void RequestReboot() {
  MessageBox(nullptr, kRestartText, kRestartCaption, MB_OK | MB_ICONEXCLAMATION);
  KernelIoControl(IOCTL_HAL_REBOOT, nullptr, 0, nullptr, 0, nullptr);
}

// Binds the chosen button; false when it is the bound one already (nothing changes).
bool AssignChosenButton(HWND dialog, const AssignState& state) {
  const LRESULT selected = List(dialog, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR) return false;
  const int button = static_cast<int>(List(dialog, CB_GETITEMDATA, selected, 0)) + 1;
  if (button == state.assigned) return false;
  RestoreAssignedButton(state);
  WriteAssignedButton(state.request->assignedKey, button);
  WriteButtonCommand(button, state.request->buttonCommand);
  return true;
}

void ReleaseButton(const AssignState& state) {
  RestoreAssignedButton(state);
  WriteAssignedButton(state.request->assignedKey, 0);
}

void OnOk(HWND dialog) {
  const AssignState& state = *State(dialog);
  const bool bind = IsDlgButtonChecked(dialog, kAssignCheck) == BST_CHECKED;
  if (!state.request->programPath.empty()) {
    if (!bind) ReleaseButton(state);
    if (!bind || AssignChosenButton(dialog, state)) RequestReboot();
  }
  EndDialog(dialog, 1);
}

void OnCheckClicked(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, kAssignButtons), IsDlgButtonChecked(dialog, kAssignCheck) == BST_CHECKED);
}

BOOL OnInitDialog(HWND dialog, LPARAM request) {
  auto* state = new AssignState{reinterpret_cast<const AssignRequest*>(request), 0, false, {}};
  SetWindowLong(dialog, DWL_USER, reinterpret_cast<LONG_PTR>(state));
  state->assigned = state->request->programPath.empty() ? 0 : ReadAssignedButton(state->request->assignedKey);
  CheckDlgButton(dialog, kAssignCheck, BST_CHECKED);
  FillButtons(dialog, *state);
  return TRUE;
}

BOOL OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDOK: OnOk(dialog); return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case kAssignCheck: OnCheckClicked(dialog); return TRUE;
    default: return FALSE;
  }
}

BOOL OnDestroy(HWND dialog) {
  delete State(dialog);
  SetWindowLong(dialog, DWL_USER, 0);
  return TRUE;
}

}  // namespace

AssignRequest MakeAssignRequest(const WCHAR* commandLine) {
  AssignRequest request;
  request.programPath = commandLine != nullptr ? commandLine : u"";
  if (request.programPath.empty()) return request;
  request.buttonCommand = ButtonCommand(request.programPath);
  request.assignedKey = AssignedButtonKey(request.programPath);
  return request;
}

int RunAssignDialog(HWND owner, const AssignRequest* request) {
  return static_cast<int>(DialogBoxParam(nullptr, MAKEINTRESOURCE(kAssignDialog), owner, AssignDialogProc,
                                         reinterpret_cast<LPARAM>(request)));
}

BOOL CALLBACK AssignDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_INITDIALOG && State(dialog) == nullptr) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, lParam);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_DESTROY: return OnDestroy(dialog);
    default: return FALSE;
  }
}
