// The contact details window (template 121): the details lines of the contact drawn page by page
// into the back buffer, and the kind-4 menu.
#include "contacts/contact_details_window.h"

#include "common/full_screen.h"
#include "common/messages.h"
#include "contacts/contact_details_lines.h"
#include "contacts/contact_list_window.h"
#include "contacts/contact_menu_window.h"
#include "drawing/back_buffer.h"
#include "drawing/font_table.h"
#include "drawing/text_drawing.h"
#include "resources/tavrel_dialogs.h"
#include "settings/settings_store.h"

#include <device/dialogs.h>
#include <device/shell.h>

#include <string>

namespace {

constexpr COLORREF kPageGrey = 0xB3B3B3;
constexpr COLORREF kLabelBand = 0xDCDCDC;
constexpr COLORREF kLabelRed = 0x0000FF;
constexpr COLORREF kBlack = 0x000000;
constexpr int kTextLeft = 30;

constexpr WCHAR kFontFace[] = u"MS SANS SERIF";
constexpr WCHAR kDeleteQuestion[] = u"Are you sure you want to permanently remove this contact?";

constexpr UINT_PTR kFullScreenTimer = 1;
constexpr UINT kFullScreenDelayMs = 100;
constexpr UINT kAfterEditDelayMs = 10;

enum MenuCommand { kEditCommand = 0, kPreviousCommand = 1, kNextCommand = 2, kDeleteCommand = 3 };

struct DetailsState {
  const ContactWindowsHost* host;
  ContactRecord* record;  // the contact list's; not owned
  int page;               // the page shown, 0-based
  int lastPage;
  int labelFont;          // 13 normal
  int valueFont;          // 16 bold
  HWND menu;              // the bar (Menu on) or the pop-up grid, while it exists
};

DetailsState* State(HWND dialog) { return reinterpret_cast<DetailsState*>(GetWindowLong(dialog, GWL_USERDATA)); }

bool MenuAlwaysShown() { return TheSettings().Menu != 0; }

// ---- drawing ----

void DrawValueLines(HDC back, const std::u16string& value, int top, HFONT font) {
  std::size_t start = 0;
  for (int line = 0;; ++line) {
    const std::size_t end = value.find(u'\n', start);
    const std::u16string part = value.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
    const int y = top + line * kDetailsValueLineHeight;
    DrawPlainText(back, RECT{kTextLeft, y, kScreenWidth, y + kDetailsValueLineHeight}, part.c_str(), font, kBlack,
                  DT_LEFT | DT_SINGLELINE);
    if (end == std::u16string::npos) return;
    start = end + 1;
  }
}

void DrawDetailsPage(HWND dialog, DetailsState& s) {
  const std::vector<DetailsLine> lines = ContactDetailsLines(*s.record);
  const std::vector<DetailsLinePlace> places = LayOutDetailsLines(lines, &s.lastPage);
  HDC back = BackBufferDC();
  FillSolidRect(back, RECT{0, 0, kScreenWidth, kScreenHeight}, kPageGrey);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const DetailsLinePlace& place = places[i];
    if (place.page != s.page) continue;
    const RECT band{0, place.labelTop, kScreenWidth, place.labelTop + kDetailsLabelHeight};
    FillSolidRect(back, band, kLabelBand);
    DrawFittedText(back, RECT{kTextLeft, band.top, kScreenWidth, band.bottom}, lines[i].label,
                   GetAppFont(s.labelFont), kLabelRed, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    DrawValueLines(back, lines[i].value, place.valueTop, GetAppFont(s.valueFont));
  }
  CopyBackBufferToWindow(dialog, RECT{0, 0, kScreenWidth, kScreenHeight});
}

void Repaint(HWND dialog) { InvalidateRect(dialog, nullptr, TRUE); }

// ---- commands ----

void DestroyGridMenu(DetailsState& s) {
  if (MenuAlwaysShown() || !IsWindow(s.menu)) return;
  DestroyWindow(s.menu);
  s.menu = nullptr;
}

void EditContact(HWND dialog, DetailsState& s) {
  DestroyGridMenu(s);
  const ContactWindowParams params{s.host, s.record};
  RunContactMenuWindow(reinterpret_cast<HINSTANCE>(GetWindowLong(dialog, GWL_HINSTANCE)), dialog, &params);
  if (!IsWindow(dialog)) return;
  Repaint(dialog);
  SetTimer(dialog, kFullScreenTimer, kAfterEditDelayMs, nullptr);
}

void ChangePage(HWND dialog, DetailsState& s, int step) {
  const int page = s.page + step;
  if (page < 0 || page > s.lastPage) return;
  s.page = page;
  Repaint(dialog);
}

// A store failure is reported by the store's own box; the contact leaves the list all the same.
void DeleteContact(HWND dialog, DetailsState& s) {
  DestroyGridMenu(s);
  if (MessageBox(dialog, kDeleteQuestion, u"", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  const LONG oid = s.record->Oid;
  PoomDeleteContactById(oid);
  ContactListRemove(oid);
  PostMessage(dialog, WM_CLOSE, 0, 0);
}

BOOL OnMenuCommand(HWND dialog, int command) {
  DetailsState& s = *State(dialog);
  switch (command) {
    case kEditCommand: EditContact(dialog, s); break;
    case kPreviousCommand: ChangePage(dialog, s, -1); break;
    case kNextCommand: ChangePage(dialog, s, +1); break;
    case kDeleteCommand: DeleteContact(dialog, s); break;
    // The menu is inside its own handler: the window closes once it has returned.
    default: PostMessage(dialog, WM_CLOSE, 0, 0); break;
  }
  return TRUE;
}

BOOL OnKeyDown(HWND dialog, UINT key) {
  DetailsState& s = *State(dialog);
  const bool shown = IsWindow(s.menu);
  if (shown && MenuAlwaysShown()) SendMessage(s.menu, WM_KEYDOWN, key, 0);
  else if (key == VK_RETURN && !shown && !MenuAlwaysShown()) s.menu = s.host->createMenu(dialog, kContactDetailsMenuKind, true);
  return TRUE;
}

BOOL OnPenUp(HWND dialog) {
  DestroyWindow(dialog);
  return TRUE;
}

BOOL OnActivate(HWND dialog) {
  SetTimer(dialog, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return TRUE;
}

BOOL OnTimer(HWND dialog, UINT_PTR id) {
  KillTimer(dialog, id);
  if (id != kFullScreenTimer || State(dialog)->host->topWindow() != dialog) return TRUE;
  SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SHFullScreen(dialog, kFullScreenFlags);
  SetFocus(dialog);
  return TRUE;
}

BOOL OnEraseBackground(HWND dialog) {
  DrawDetailsPage(dialog, *State(dialog));
  SetWindowLong(dialog, DWL_MSGRESULT, 1);
  return TRUE;
}

// ---- life ----

BOOL OnInitDialog(HWND dialog, const ContactWindowParams* params) {
  auto* s = new DetailsState{};
  s->host = params->host;
  s->record = params->record;
  SetWindowLong(dialog, GWL_USERDATA, reinterpret_cast<LONG_PTR>(s));
  s->host->pushWindow(dialog);
  SetWindowPos(dialog, nullptr, 0, 0, kScreenWidth, kScreenHeight, SWP_NOZORDER);
  const WCHAR* fileAs = ContactString(*s->record, kFileAsId);
  SetWindowText(dialog, fileAs != nullptr ? fileAs : u"");
  s->labelFont = CreateAppFont(kFontFace, 13, false, false);
  s->valueFont = CreateAppFont(kFontFace, 16, false, true);
  if (MenuAlwaysShown()) s->menu = s->host->createMenu(dialog, kContactDetailsMenuKind, false);
  SetTimer(dialog, kFullScreenTimer, kFullScreenDelayMs, nullptr);
  return TRUE;
}

BOOL OnClose(HWND dialog) {
  DestroyWindow(dialog);
  return TRUE;
}

BOOL OnDestroy(HWND dialog) {
  DetailsState* s = State(dialog);
  s->host->popWindow(dialog);
  DeleteAppFont(s->labelFont);
  DeleteAppFont(s->valueFont);
  SetWindowLong(dialog, GWL_USERDATA, 0);
  delete s;
  HWND parent = GetWindow(dialog, GW_OWNER);
  if (parent != nullptr) SendMessage(parent, kDetailsClosedMessage, 0, 0);
  RaiseOwnerFullScreen(dialog);
  return FALSE;
}

}  // namespace

BOOL CALLBACK ContactDetailsWindowProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Messages before WM_INITDIALOG or after WM_DESTROY find no state.
  if (msg != WM_INITDIALOG && State(dialog) == nullptr) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, reinterpret_cast<const ContactWindowParams*>(lParam));
    case WM_ERASEBKGND: return OnEraseBackground(dialog);
    case WM_ACTIVATE: return OnActivate(dialog);
    case WM_TIMER: return OnTimer(dialog, wParam);
    case WM_KEYDOWN: return OnKeyDown(dialog, static_cast<UINT>(wParam));
    case WM_LBUTTONUP: return OnPenUp(dialog);
    case MenuCommandMessage: return OnMenuCommand(dialog, static_cast<int>(static_cast<LONG_PTR>(wParam)));
    case WM_CLOSE: return OnClose(dialog);
    case WM_DESTROY: return OnDestroy(dialog);
    default: return FALSE;
  }
}

HWND OpenContactDetailsWindow(HINSTANCE instance, HWND owner, const ContactWindowParams* params) {
  return CreateDialogParam(instance, MAKEINTRESOURCE(kContactDetailsDialog), owner, ContactDetailsWindowProc,
                           reinterpret_cast<LPARAM>(params));
}
