// The COMBOBOX class as a drop-down list (CBS_DROPDOWNLIST, with CBS_SORT): a field showing
// the selected item and an arrow; a tap opens the list below the field (above it when the
// screen ends first), as tall as the template's height allows.
//
// Messages: CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
// CB_GETCURSEL, CB_SETCURSEL, CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_SETITEMDATA,
// CB_GETITEMDATA, CB_FINDSTRINGEXACT, CB_SHOWDROPDOWN, CB_GETDROPPEDSTATE; WM_GETTEXT gives
// the selected item's text; WM_SETFONT / WM_GETFONT; WM_GETDLGCODE.
// The items live in the drop-down list, a "ComboLBox" pop-up (listbox.cpp) owned by the
// dialog, which holds the pen while it is shown. The parent hears CBN_DROPDOWN when the list
// opens, CBN_CLOSEUP when it closes, and CBN_SELCHANGE when the user chose another item (a
// tap in the list, or the up and down keys on the closed field) — never for CB_SETCURSEL.
// While the list is open the keys move its highlight, Enter chooses and Escape cancels; a
// tap outside the list or the loss of the focus cancels.
// Not implemented: CBS_SIMPLE, CBS_DROPDOWN (an edit field), owner drawing, CB_SETEDITSEL,
// CBN_SELENDOK / CBN_SELENDCANCEL, type-ahead search.
#include "internal/control_drawing.h"
#include "internal/system_classes.h"

#include <device/controls.h>

#include <algorithm>
#include <string>

namespace device::internal {

namespace {

struct ComboBoxState {
  HWND list = nullptr;          // the drop-down list, a pop-up owned by the dialog
  HFONT font = nullptr;         // null: the default control font
  int droppedHeight = 0;        // the created height: field and open list together
  bool dropped = false;
  int selectionBeforeDrop = -1; // restored when the list is cancelled
  bool focused = false;
};

// The state hangs off the class's extra bytes; GWL_USERDATA stays the program's.
ComboBoxState* StateOf(HWND hwnd) { return reinterpret_cast<ComboBoxState*>(GetWindowLong(hwnd, 0)); }

int FieldHeight(const ComboBoxState* s) { return FontLineHeight(s->font) + 6; }

int Selection(const ComboBoxState* s) { return static_cast<int>(SendMessage(s->list, LB_GETCURSEL, 0, 0)); }

std::u16string ItemText(const ComboBoxState* s, int index) {
  LRESULT length = SendMessage(s->list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  SendMessage(s->list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

void FitFieldHeight(HWND hwnd, const ComboBoxState* s) {
  RECT r;
  GetWindowRect(hwnd, &r);
  SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, FieldHeight(s), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT ListPlace(HWND hwnd, const ComboBoxState* s) {
  RECT field;
  GetWindowRect(hwnd, &field);
  int itemHeight = static_cast<int>(SendMessage(s->list, LB_GETITEMHEIGHT, 0, 0));
  int count = static_cast<int>(SendMessage(s->list, LB_GETCOUNT, 0, 0));
  int room = std::max(itemHeight + 2, s->droppedHeight - FieldHeight(s));
  int height = std::clamp(count * itemHeight + 2, itemHeight + 2, room);
  int top = field.bottom;
  if (top + height > GetSystemMetrics(SM_CYSCREEN)) top = std::max(0, static_cast<int>(field.top) - height);
  return RECT{field.left, top, field.right, top + height};
}

void Drop(HWND hwnd, ComboBoxState* s) {
  if (s->dropped || !IsWindowEnabled(hwnd)) return;
  s->selectionBeforeDrop = Selection(s);
  NotifyParent(hwnd, CBN_DROPDOWN);
  RECT place = ListPlace(hwnd, s);
  SendMessage(s->list, kComboListDropped, 0, 0);
  SetWindowPos(s->list, HWND_TOP, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SendMessage(s->list, LB_SETCURSEL, static_cast<WPARAM>(s->selectionBeforeDrop), 0);  // scrolls it into view
  s->dropped = true;
  SetCapture(s->list);
}

void CloseUp(HWND hwnd, ComboBoxState* s, bool accept, int chosen) {
  if (!s->dropped) return;
  s->dropped = false;
  ShowWindow(s->list, SW_HIDE);  // hidden first, so the list does not report the lost capture
  if (GetCapture() == s->list) ReleaseCapture();
  int selection = accept ? chosen : s->selectionBeforeDrop;
  bool changed = accept && selection != s->selectionBeforeDrop;
  SendMessage(s->list, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
  Redraw(hwnd);
  // The parent's handlers may destroy the combo box: no state is read after them.
  NotifyParent(hwnd, CBN_CLOSEUP);
  if (changed && IsWindow(hwnd)) NotifyParent(hwnd, CBN_SELCHANGE);
}

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW* cs) {
  auto* s = new ComboBoxState;
  SetWindowLong(hwnd, 0, reinterpret_cast<LONG_PTR>(s));
  s->droppedHeight = cs->cy;
  DWORD sort = (static_cast<DWORD>(cs->style) & CBS_SORT) ? LBS_SORT : 0;
  s->list = CreateWindowEx(0, u"ComboLBox", u"", WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | sort, 0, 0, cs->cx,
                           FieldHeight(s), hwnd, nullptr, cs->hInstance, hwnd);
  if (!s->list) return -1;
  FitFieldHeight(hwnd, s);
  return 0;
}

LRESULT OnDestroy(ComboBoxState* s) {
  if (IsWindow(s->list)) DestroyWindow(s->list);  // the dialog may have destroyed it already
  return 0;
}

LRESULT OnNcDestroy(HWND hwnd) {
  delete StateOf(hwnd);
  SetWindowLong(hwnd, 0, 0);
  return 0;
}

LRESULT OnPaint(HWND hwnd, ComboBoxState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT r;
  GetClientRect(hwnd, &r);
  bool enabled = IsWindowEnabled(hwnd) != FALSE;
  COLORREF ink = enabled ? kControlText : kDisabledText;
  FillColor(dc, r, kControlFace);
  RECT arrow{r.right - kScrollBarWidth, r.top, r.right, r.bottom};
  RECT field{r.left + 2, r.top + 2, arrow.left - 1, r.bottom - 2};
  bool highlighted = s->focused && !s->dropped && enabled;
  if (highlighted) FillColor(dc, field, kSelectionFace);
  int selection = Selection(s);
  if (selection >= 0) {
    RECT text{field.left + 2, field.top, field.right - 1, field.bottom};
    DrawLabel(dc, s->font, ItemText(s, selection).c_str(), text, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
              highlighted ? kSelectionText : ink);
  }
  FrameColor(dc, r, kControlText);
  FrameColor(dc, arrow, kControlText);
  DrawArrow(dc, arrow, true, ink);
  EndPaint(hwnd, &ps);
  return 0;
}

LRESULT OnPenDown(HWND hwnd, ComboBoxState* s) {
  SetFocus(hwnd);
  Drop(hwnd, s);
  return 0;
}

LRESULT OnKeyDown(HWND hwnd, ComboBoxState* s, WPARAM key) {
  if (s->dropped) {
    if (key == VK_RETURN) CloseUp(hwnd, s, true, Selection(s));
    else if (key == VK_ESCAPE) CloseUp(hwnd, s, false, -1);
    else SendMessage(s->list, WM_KEYDOWN, key, 0);
    return 0;
  }
  if (key != VK_UP && key != VK_DOWN) return 0;
  int count = static_cast<int>(SendMessage(s->list, LB_GETCOUNT, 0, 0));
  int from = Selection(s);
  int to = std::clamp(key == VK_UP ? from - 1 : from + 1, 0, count - 1);
  if (count == 0 || to == from) return 0;
  SendMessage(s->list, LB_SETCURSEL, static_cast<WPARAM>(to), 0);
  Redraw(hwnd);
  NotifyParent(hwnd, CBN_SELCHANGE);
  return 0;
}

LRESULT OnGetDlgCode(const ComboBoxState* s, const MSG* msg) {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  bool endsList = msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
  return s->dropped && endsList ? code | DLGC_WANTMESSAGE : code;
}

LRESULT OnFocus(HWND hwnd, ComboBoxState* s, bool focused) {
  s->focused = focused;
  if (!focused) CloseUp(hwnd, s, false, -1);
  Redraw(hwnd);
  return 0;
}

LRESULT OnEnable(HWND hwnd, ComboBoxState* s, WPARAM enabled) {
  if (!enabled) CloseUp(hwnd, s, false, -1);
  Redraw(hwnd);
  return 0;
}

LRESULT OnSetFont(HWND hwnd, ComboBoxState* s, WPARAM font, LPARAM redraw) {
  s->font = reinterpret_cast<HFONT>(font);
  SendMessage(s->list, WM_SETFONT, font, FALSE);
  FitFieldHeight(hwnd, s);
  if (redraw) Redraw(hwnd);
  return 0;
}

LRESULT OnGetText(ComboBoxState* s, WPARAM maxCount, LPWSTR buffer) {
  if (!buffer || maxCount == 0) return 0;
  int selection = Selection(s);
  std::u16string text = selection >= 0 ? ItemText(s, selection) : std::u16string();
  size_t n = std::min<size_t>(text.size(), maxCount - 1);
  std::copy_n(text.data(), n, buffer);
  buffer[n] = 0;
  return static_cast<LRESULT>(n);
}

LRESULT OnGetTextLength(ComboBoxState* s) {
  int selection = Selection(s);
  return selection >= 0 ? static_cast<LRESULT>(ItemText(s, selection).size()) : 0;
}

// Item messages go to the list; those that change what the field shows repaint it.
LRESULT ToList(HWND hwnd, ComboBoxState* s, UINT listMsg, WPARAM wParam, LPARAM lParam, bool repaint) {
  LRESULT result = SendMessage(s->list, listMsg, wParam, lParam);
  if (repaint) Redraw(hwnd);
  return result;
}

LRESULT OnShowDropDown(HWND hwnd, ComboBoxState* s, WPARAM show) {
  if (show) Drop(hwnd, s);
  else CloseUp(hwnd, s, false, -1);
  return TRUE;
}

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
  ComboBoxState* s = StateOf(hwnd);
  if (!s || !s->list) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY: return OnDestroy(s);
    case WM_NCDESTROY: return OnNcDestroy(hwnd);
    case WM_PAINT: return OnPaint(hwnd, s);
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills every pixel
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, s);
    case WM_KEYDOWN: return OnKeyDown(hwnd, s, wParam);
    case WM_GETDLGCODE: return OnGetDlgCode(s, reinterpret_cast<const MSG*>(lParam));
    case WM_SETFOCUS: return OnFocus(hwnd, s, true);
    case WM_KILLFOCUS: return OnFocus(hwnd, s, false);
    case WM_ENABLE: return OnEnable(hwnd, s, wParam);
    case WM_SETFONT: return OnSetFont(hwnd, s, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_GETTEXT: return OnGetText(s, wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH: return OnGetTextLength(s);
    case kComboListChosen: CloseUp(hwnd, s, true, static_cast<int>(wParam)); return 0;
    case kComboListCancelled: CloseUp(hwnd, s, false, -1); return 0;
    case CB_ADDSTRING: return ToList(hwnd, s, LB_ADDSTRING, wParam, lParam, false);
    case CB_INSERTSTRING: return ToList(hwnd, s, LB_INSERTSTRING, wParam, lParam, false);
    case CB_DELETESTRING: return ToList(hwnd, s, LB_DELETESTRING, wParam, lParam, true);
    case CB_RESETCONTENT: return ToList(hwnd, s, LB_RESETCONTENT, wParam, lParam, true);
    case CB_GETCOUNT: return ToList(hwnd, s, LB_GETCOUNT, wParam, lParam, false);
    case CB_GETCURSEL: return ToList(hwnd, s, LB_GETCURSEL, wParam, lParam, false);
    case CB_SETCURSEL: return ToList(hwnd, s, LB_SETCURSEL, wParam, lParam, true);
    case CB_GETLBTEXT: return ToList(hwnd, s, LB_GETTEXT, wParam, lParam, false);
    case CB_GETLBTEXTLEN: return ToList(hwnd, s, LB_GETTEXTLEN, wParam, lParam, false);
    case CB_GETITEMDATA: return ToList(hwnd, s, LB_GETITEMDATA, wParam, lParam, false);
    case CB_SETITEMDATA: return ToList(hwnd, s, LB_SETITEMDATA, wParam, lParam, false);
    case CB_FINDSTRINGEXACT: return ToList(hwnd, s, LB_FINDSTRINGEXACT, wParam, lParam, false);
    case CB_SHOWDROPDOWN: return OnShowDropDown(hwnd, s, wParam);
    case CB_GETDROPPEDSTATE: return s->dropped ? TRUE : FALSE;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void RegisterComboBoxClass() {
  RegisterListBoxClass();  // the drop-down list
  RegisterControlClass(u"COMBOBOX", ComboBoxProc);
}

}  // namespace device::internal
