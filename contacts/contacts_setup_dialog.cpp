// The contacts setup dialog (template 111): two list boxes over the contact menu's selection and
// the entries not in use, refilled after every change.
#include "contacts/contacts_setup_dialog.h"

#include "resources/tavrel_dialogs.h"
#include "settings/dialog_lists.h"

#include <device/dialogs.h>
#include <device/shell.h>

#include <string>

namespace {

constexpr UINT_PTR kShellTimer = 1;
constexpr UINT kShellDelayMs = 150;
constexpr UINT_PTR kStartWindowFullScreenTimer = 1;
constexpr UINT kStartWindowDelayMs = 100;
constexpr DWORD kShowBars = SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON;

struct SetupState {
  ContactSetupParams params;
};

SetupState* State(HWND dialog) { return reinterpret_cast<SetupState*>(GetWindowLong(dialog, GWL_USERDATA)); }

bool Selected(const FieldEntryList& selection, int fieldId) {
  for (int i = 0; i < selection.Count(); ++i)
    if (selection.At(i)->fieldId == fieldId) return true;
  return false;
}

void FillBox(HWND dialog, int box, const FieldEntryList& entries) {
  SendDlgItemMessage(dialog, box, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < entries.Count(); ++i) AddListEntry(dialog, box, OneLineText(entries.At(i)->label).c_str(), i);
  SelectEntry(dialog, box, 0);
}

// The entries not in use, in table order, then both boxes with their first rows selected.
void FillBoxes(HWND dialog, const ContactSetupParams& p) {
  p.unused->Clear();
  for (int position = 0; position < kContactFieldTableSize; ++position)
    if (!Selected(*p.selection, kContactFieldTable[position].fieldId)) p.unused->Append(MakeFieldEntry(position));
  FillBox(dialog, kSetupUsedList, *p.selection);
  FillBox(dialog, kSetupUnusedList, *p.unused);
}

// A copy of an entry without its value text.
ContactFieldEntry Bare(const ContactFieldEntry& entry) {
  ContactFieldEntry copy = entry;
  copy.valueText.reset();
  return copy;
}

void OnRemove(HWND dialog, const ContactSetupParams& p) {
  const int row = SelectedEntry(dialog, kSetupUsedList);
  if (row < 0 || p.selection->At(row) == nullptr) return;
  p.selection->RemoveAt(row);
  FillBoxes(dialog, p);
}

void OnAdd(HWND dialog, const ContactSetupParams& p) {
  const int row = SelectedEntry(dialog, kSetupUnusedList);
  const ContactFieldEntry* entry = row < 0 ? nullptr : p.unused->At(row);
  if (entry == nullptr) return;
  p.selection->Append(Bare(*entry));
  FillBoxes(dialog, p);
}

// Moves the selected entry of "Use these:" by `step` rows when it stays inside the list.
void OnMove(HWND dialog, const ContactSetupParams& p, int step) {
  const int row = SelectedEntry(dialog, kSetupUsedList);
  const int target = row + step;
  if (row < 0 || target < 0 || target >= p.selection->Count()) return;
  ContactFieldEntry moved = Bare(*p.selection->At(row));
  p.selection->RemoveAt(row);
  p.selection->InsertAt(target, std::move(moved));
  FillBoxes(dialog, p);
  SelectEntry(dialog, kSetupUsedList, target);
}

BOOL OnCommand(HWND dialog, int id) {
  const ContactSetupParams& p = State(dialog)->params;
  switch (id) {
    case IDOK:
    case IDCANCEL: EndDialog(dialog, id); return TRUE;
    case kSetupRemove: OnRemove(dialog, p); return TRUE;
    case kSetupAdd: OnAdd(dialog, p); return TRUE;
    case kSetupUp: OnMove(dialog, p, -1); return TRUE;
    case kSetupDown: OnMove(dialog, p, +1); return TRUE;
    default: return FALSE;
  }
}

BOOL OnInitDialog(HWND dialog, const ContactSetupParams* params) {
  auto* s = new SetupState{*params};
  SetWindowLong(dialog, GWL_USERDATA, reinterpret_cast<LONG_PTR>(s));
  s->params.host->pushWindow(dialog);
  SetTimer(dialog, kShellTimer, kShellDelayMs, nullptr);
  FillBoxes(dialog, s->params);
  SHFullScreen(s->params.host->startWindow(), kShowBars);
  SHFullScreen(GetWindow(dialog, GW_OWNER), kShowBars);
  SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR};
  SHInitDialog(&info);
  return TRUE;
}

BOOL OnActivate(HWND dialog) {
  SetTimer(dialog, kShellTimer, kShellDelayMs, nullptr);
  return TRUE;
}

BOOL OnTimer(HWND dialog, UINT_PTR id) {
  KillTimer(dialog, id);
  if (id != kShellTimer || State(dialog)->params.host->topWindow() != dialog) return TRUE;
  SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SHFullScreen(dialog, kShowBars | SHFS_HIDESTARTICON);
  return TRUE;
}

BOOL OnDestroy(HWND dialog) {
  SetupState* s = State(dialog);
  s->params.host->popWindow(dialog);
  SHSipPreference(dialog, SIP_DOWN);
  SaveFieldSelection(*s->params.selection);
  HWND start = s->params.host->startWindow();
  if (start != nullptr) SetTimer(start, kStartWindowFullScreenTimer, kStartWindowDelayMs, nullptr);
  SetWindowLong(dialog, GWL_USERDATA, 0);
  delete s;
  return FALSE;
}

}  // namespace

BOOL CALLBACK ContactSetupDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Messages before WM_INITDIALOG or after WM_DESTROY find no state.
  if (msg != WM_INITDIALOG && State(dialog) == nullptr) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, reinterpret_cast<const ContactSetupParams*>(lParam));
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_ACTIVATE: return OnActivate(dialog);
    case WM_TIMER: return OnTimer(dialog, wParam);
    case WM_DESTROY: return OnDestroy(dialog);
    default: return FALSE;
  }
}

void RunContactSetupDialog(HINSTANCE instance, HWND owner, const ContactSetupParams* params) {
  DialogBoxParam(instance, MAKEINTRESOURCE(kContactSetupDialog), owner, ContactSetupDialogProc,
                 reinterpret_cast<LPARAM>(params));
}
