// The LISTBOX class (single selection) and "ComboLBox", the same list dropped down by a
// combo box (combobox.cpp).
//
// Messages: LB_ADDSTRING (sorted with LBS_SORT, case-insensitively), LB_INSERTSTRING,
// LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT, LB_GETCURSEL, LB_SETCURSEL, LB_GETTEXT,
// LB_GETTEXTLEN, LB_SETITEMDATA, LB_GETITEMDATA, LB_FINDSTRING, LB_FINDSTRINGEXACT,
// LB_GETTOPINDEX, LB_SETTOPINDEX, LB_GETITEMHEIGHT, WM_SETFONT / WM_GETFONT, WM_GETDLGCODE.
// With LBS_NOTIFY the parent hears LBN_SELCHANGE when the pen or a key changed the selection
// (never for LB_SETCURSEL), LBN_DBLCLK for a second tap on the same item within 500 ms (the
// device has no double click), LBN_SETFOCUS and LBN_KILLFOCUS. The pen selects the item under
// it and drags the selection; the arrow keys, Home, End, Page Up and Page Down move it.
// WS_VSCROLL draws a scroll bar at the right of the client area (the window manager has no
// non-client scroll bars) when not every row fits: its arrows move one row, the track one
// page, and the thumb follows the pen.
// As a combo box's list it takes the pen while dropped: a tap on an item chooses it, a tap
// outside the list cancels; both are reported to the combo box, which closes the list.
// Without LBS_NOINTEGRALHEIGHT the box shrinks to a whole number of rows.
// Not implemented: multiple selection, owner drawing, LBS_DISABLENOSCROLL, type-ahead search,
// LB_ERRSPACE (memory is not limited), auto-scrolling while the pen is dragged past the ends.
#include "internal/control_drawing.h"
#include "internal/system_classes.h"
#include "internal/wide_text.h"

#include <device/controls.h>
#include <device/kernel.h>

#include <algorithm>
#include <string>
#include <vector>

namespace device::internal {

namespace {

constexpr DWORD kDoubleTapMs = 500;

struct ListItem {
  std::u16string text;
  LPARAM data = 0;
};

// What the pen is doing between pen-down and pen-up.
enum class PenPart { None, Items, LineUp, LineDown, PageUp, PageDown, Thumb };

struct ListBoxState {
  std::vector<ListItem> items;
  int selected = -1;
  int top = 0;                 // first row shown
  HFONT font = nullptr;        // null: the default control font
  int itemHeight = 0;          // of the font, measured when the font is set
  bool focused = false;
  HWND combo = nullptr;        // the combo box this list drops down for, or null
  PenPart pen = PenPart::None;
  int thumbGrab = 0;           // pen y minus the thumb's top while the thumb is dragged
  int selectedAtPenDown = -1;  // tells whether the pen changed the selection
  int lastTapItem = -1;        // with lastTapTime: a second tap soon after is a double tap
  DWORD lastTapTime = 0;
  bool openingTap = false;     // combo list: the pen-up of the tap that dropped it is to come
};

// The state hangs off the class's extra bytes; GWL_USERDATA stays the program's.
ListBoxState* StateOf(HWND hwnd) { return reinterpret_cast<ListBoxState*>(GetWindowLong(hwnd, 0)); }

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)); }

int Count(const ListBoxState* s) { return static_cast<int>(s->items.size()); }

int ItemHeight(const ListBoxState* s) { return s->itemHeight; }

int MeasureItemHeight(HFONT font) { return FontLineHeight(font) + 2; }

RECT Client(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return r;
}

int FullRows(HWND hwnd, const ListBoxState* s) {
  RECT r = Client(hwnd);
  return std::max(1, static_cast<int>(r.bottom - r.top) / ItemHeight(s));
}

bool ScrollBarShown(HWND hwnd, const ListBoxState* s) {
  return (StyleOf(hwnd) & WS_VSCROLL) && Count(s) > FullRows(hwnd, s);
}

RECT ItemsArea(HWND hwnd, const ListBoxState* s) {
  RECT r = Client(hwnd);
  if (ScrollBarShown(hwnd, s)) r.right = std::max(r.left, r.right - kScrollBarWidth);
  return r;
}

ScrollBarParts ScrollBar(HWND hwnd, const ListBoxState* s) {
  RECT r = Client(hwnd);
  return LayoutScrollBar(RECT{r.right - kScrollBarWidth, r.top, r.right, r.bottom}, s->top, FullRows(hwnd, s), Count(s));
}

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

void SetTop(HWND hwnd, ListBoxState* s, int top) {
  top = std::clamp(top, 0, std::max(0, Count(s) - FullRows(hwnd, s)));
  if (top == s->top) return;
  s->top = top;
  Redraw(hwnd);
}

// Without LBS_NOINTEGRALHEIGHT a list box is as tall as a whole number of rows (at least
// one), as Win32 makes it, so no row is ever cut.
void FitIntegralHeight(HWND hwnd, const ListBoxState* s) {
  if (StyleOf(hwnd) & LBS_NOINTEGRALHEIGHT) return;
  RECT client = Client(hwnd);
  int height = static_cast<int>(client.bottom - client.top);
  int rows = std::max(1, height / ItemHeight(s));
  int extra = rows * ItemHeight(s) - height;
  if (extra == 0) return;
  RECT window;
  GetWindowRect(hwnd, &window);
  SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + extra,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowItem(HWND hwnd, ListBoxState* s, int index) {
  if (index < 0) return;
  int rows = FullRows(hwnd, s);
  if (index < s->top) SetTop(hwnd, s, index);
  else if (index >= s->top + rows) SetTop(hwnd, s, index - rows + 1);
}

void Select(HWND hwnd, ListBoxState* s, int index) {
  if (index != s->selected) {
    s->selected = index;
    Redraw(hwnd);
  }
  ShowItem(hwnd, s, index);
}

bool Notifies(HWND hwnd, const ListBoxState* s) { return !s->combo && (StyleOf(hwnd) & LBS_NOTIFY); }

void Notify(HWND hwnd, const ListBoxState* s, WORD code) {
  if (Notifies(hwnd, s)) NotifyParent(hwnd, code);
}

// The item row under a client y, clamped to the rows shown; -1 for an empty list.
int ItemAt(HWND hwnd, const ListBoxState* s, int y) {
  if (s->items.empty()) return -1;
  int row = std::max(0, y) / ItemHeight(s);
  row = std::min(row, FullRows(hwnd, s));
  return std::min(s->top + row, Count(s) - 1);
}

std::u16string Folded(LPCWSTR text) { return FoldCase(text ? std::u16string_view(text) : std::u16string_view()); }

bool InRange(const ListBoxState* s, WPARAM index) { return index < s->items.size(); }

int InsertAt(HWND hwnd, ListBoxState* s, int index, LPCWSTR text) {
  s->items.insert(s->items.begin() + index, ListItem{text ? text : u"", 0});
  if (s->selected >= index) ++s->selected;
  Redraw(hwnd);
  return index;
}

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW* cs) {
  auto* s = new ListBoxState;
  char16_t name[16] = {};
  GetClassName(hwnd, name, 16);
  if (EqualsIgnoreCase(name, u"ComboLBox")) s->combo = static_cast<HWND>(cs->lpCreateParams);
  s->itemHeight = MeasureItemHeight(nullptr);
  SetWindowLong(hwnd, 0, reinterpret_cast<LONG_PTR>(s));
  FitIntegralHeight(hwnd, s);
  return 0;
}

LRESULT OnNcDestroy(HWND hwnd) {
  delete StateOf(hwnd);
  SetWindowLong(hwnd, 0, 0);
  return 0;
}

LRESULT OnPaint(HWND hwnd, ListBoxState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client = Client(hwnd);
  FillColor(dc, client, kControlFace);
  RECT area = ItemsArea(hwnd, s);
  int height = ItemHeight(s);
  bool enabled = IsWindowEnabled(hwnd) != FALSE;
  for (int i = s->top, y = area.top; i < Count(s) && y < area.bottom; ++i, y += height) {
    RECT row{area.left, y, area.right, y + height};
    bool selected = i == s->selected;
    if (selected) FillColor(dc, row, kSelectionFace);
    RECT text{row.left + 2, row.top, row.right - 2, row.bottom};
    COLORREF color = !enabled ? kDisabledText : selected ? kSelectionText : kControlText;
    DrawLabel(dc, s->font, s->items[static_cast<size_t>(i)].text.c_str(), text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE, color);
    if (selected && s->focused && !s->combo) DrawFocusFrame(dc, row, kSelectionText);
  }
  if (ScrollBarShown(hwnd, s)) DrawScrollBar(dc, ScrollBar(hwnd, s));
  EndPaint(hwnd, &ps);
  return 0;
}

PenPart ScrollPartAt(HWND hwnd, const ListBoxState* s, POINT p) {
  ScrollBarParts bar = ScrollBar(hwnd, s);
  if (PtInRect(&bar.up, p)) return PenPart::LineUp;
  if (PtInRect(&bar.down, p)) return PenPart::LineDown;
  if (PtInRect(&bar.thumb, p)) return PenPart::Thumb;
  return p.y < bar.thumb.top ? PenPart::PageUp : PenPart::PageDown;
}

void StartScroll(HWND hwnd, ListBoxState* s, POINT p) {
  s->pen = ScrollPartAt(hwnd, s, p);
  int page = std::max(1, FullRows(hwnd, s) - 1);
  switch (s->pen) {
    case PenPart::LineUp: SetTop(hwnd, s, s->top - 1); break;
    case PenPart::LineDown: SetTop(hwnd, s, s->top + 1); break;
    case PenPart::PageUp: SetTop(hwnd, s, s->top - page); break;
    case PenPart::PageDown: SetTop(hwnd, s, s->top + page); break;
    default: s->thumbGrab = p.y - ScrollBar(hwnd, s).thumb.top; break;
  }
}

bool IsDoubleTap(const ListBoxState* s, int item) {
  return item == s->lastTapItem && GetTickCount() - s->lastTapTime <= kDoubleTapMs;
}

LRESULT OnPenDown(HWND hwnd, ListBoxState* s, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT client = Client(hwnd);
  if (s->combo && !PtInRect(&client, p)) {
    SendMessage(s->combo, kComboListCancelled, 0, 0);
    return 0;
  }
  if (!s->combo) SetFocus(hwnd);
  RECT area = ItemsArea(hwnd, s);
  if (ScrollBarShown(hwnd, s) && p.x >= area.right) {
    StartScroll(hwnd, s, p);
  } else {
    int item = ItemAt(hwnd, s, p.y);
    if (item < 0) return 0;
    s->pen = PenPart::Items;
    s->selectedAtPenDown = s->selected;
    Select(hwnd, s, item);
  }
  if (!s->combo) SetCapture(hwnd);
  return 0;
}

LRESULT OnPenMove(HWND hwnd, ListBoxState* s, WPARAM buttons, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT area = ItemsArea(hwnd, s);
  // A pen that went down on the combo box and slides into its list starts choosing there.
  if (s->combo && s->pen == PenPart::None && (buttons & MK_LBUTTON) && PtInRect(&area, p)) {
    s->pen = PenPart::Items;
    s->selectedAtPenDown = s->selected;
  }
  if (s->pen == PenPart::Items) {
    int item = ItemAt(hwnd, s, p.y);
    if (item >= 0) Select(hwnd, s, item);
  } else if (s->pen == PenPart::Thumb) {
    SetTop(hwnd, s, ScrollRowAt(ScrollBar(hwnd, s), p.y - s->thumbGrab, FullRows(hwnd, s), Count(s)));
  }
  return 0;
}

// Everything is decided before the parent hears of it: its handler may destroy the list.
void EndItemTap(HWND hwnd, ListBoxState* s) {
  bool changed = s->selected != s->selectedAtPenDown;
  bool doubleTap = IsDoubleTap(s, s->selected);
  s->lastTapItem = doubleTap ? -1 : s->selected;
  s->lastTapTime = GetTickCount();
  bool notifies = Notifies(hwnd, s);
  if (notifies && changed) NotifyParent(hwnd, LBN_SELCHANGE);
  if (notifies && doubleTap && IsWindow(hwnd)) NotifyParent(hwnd, LBN_DBLCLK);
}

LRESULT OnPenUp(HWND hwnd, ListBoxState* s, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  PenPart pen = s->pen;
  s->pen = PenPart::None;
  if (s->combo) {
    RECT area = ItemsArea(hwnd, s);
    bool inItems = PtInRect(&area, p) != FALSE;
    if (pen == PenPart::Items && inItems) {
      SendMessage(s->combo, kComboListChosen, static_cast<WPARAM>(s->selected), 0);
    } else if (pen == PenPart::Items || (pen == PenPart::None && !s->openingTap)) {
      SendMessage(s->combo, kComboListCancelled, 0, 0);
    }
    s->openingTap = false;
    return 0;
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  if (pen == PenPart::Items) EndItemTap(hwnd, s);
  return 0;
}

LRESULT OnCaptureChanged(HWND hwnd, ListBoxState* s) {
  s->pen = PenPart::None;
  // A dropped list that loses the pen to another window closes; hiding it releases the
  // capture too, and then the combo box is already done with it.
  if (s->combo && IsWindowVisible(hwnd)) SendMessage(s->combo, kComboListCancelled, 0, 0);
  return 0;
}

LRESULT OnKeyDown(HWND hwnd, ListBoxState* s, WPARAM key) {
  if (s->items.empty()) return 0;
  int page = std::max(1, FullRows(hwnd, s) - 1);
  int from = s->selected;
  int to = from;
  switch (key) {
    case VK_UP: to = from < 0 ? 0 : from - 1; break;
    case VK_DOWN: to = from + 1; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = Count(s) - 1; break;
    case VK_PRIOR: to = from - page; break;
    case VK_NEXT: to = from + page; break;
    default: return 0;
  }
  to = std::clamp(to, 0, Count(s) - 1);
  Select(hwnd, s, to);
  if (to != from) Notify(hwnd, s, LBN_SELCHANGE);
  return 0;
}

LRESULT OnFocus(HWND hwnd, ListBoxState* s, bool focused) {
  s->focused = focused;
  Redraw(hwnd);
  Notify(hwnd, s, focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
  return 0;
}

LRESULT OnSize(HWND hwnd, ListBoxState* s) {
  FitIntegralHeight(hwnd, s);
  SetTop(hwnd, s, s->top);
  return 0;
}

LRESULT OnSetFont(HWND hwnd, ListBoxState* s, WPARAM font, LPARAM redraw) {
  s->font = reinterpret_cast<HFONT>(font);
  s->itemHeight = MeasureItemHeight(s->font);
  FitIntegralHeight(hwnd, s);
  SetTop(hwnd, s, s->top);
  if (redraw) Redraw(hwnd);
  return 0;
}

LRESULT OnAddString(HWND hwnd, ListBoxState* s, LPCWSTR text) {
  int index = Count(s);
  if (StyleOf(hwnd) & LBS_SORT) {
    std::u16string key = Folded(text);
    auto after = std::upper_bound(s->items.begin(), s->items.end(), key,
                                  [](const std::u16string& k, const ListItem& item) {
                                    return k < FoldCase(item.text);
                                  });
    index = static_cast<int>(after - s->items.begin());
  }
  return InsertAt(hwnd, s, index, text);
}

LRESULT OnInsertString(HWND hwnd, ListBoxState* s, WPARAM index, LPCWSTR text) {
  if (index == static_cast<WPARAM>(-1)) return InsertAt(hwnd, s, Count(s), text);
  if (index > s->items.size()) return LB_ERR;
  return InsertAt(hwnd, s, static_cast<int>(index), text);
}

LRESULT OnDeleteString(HWND hwnd, ListBoxState* s, WPARAM index) {
  if (!InRange(s, index)) return LB_ERR;
  int i = static_cast<int>(index);
  s->items.erase(s->items.begin() + i);
  if (s->selected == i) s->selected = -1;
  else if (s->selected > i) --s->selected;
  if (s->lastTapItem >= i) s->lastTapItem = -1;
  SetTop(hwnd, s, s->top);
  Redraw(hwnd);
  return Count(s);
}

LRESULT OnResetContent(HWND hwnd, ListBoxState* s) {
  s->items.clear();
  s->selected = -1;
  s->top = 0;
  s->lastTapItem = -1;
  Redraw(hwnd);
  return 0;
}

// Win32 answers LB_ERR for -1 too, although the selection is then cleared as asked.
LRESULT OnSetCurSel(HWND hwnd, ListBoxState* s, WPARAM index) {
  if (index == static_cast<WPARAM>(-1)) {
    Select(hwnd, s, -1);
    return LB_ERR;
  }
  if (!InRange(s, index)) return LB_ERR;
  Select(hwnd, s, static_cast<int>(index));
  return s->selected;
}

LRESULT OnGetText(ListBoxState* s, WPARAM index, LPWSTR buffer) {
  if (!InRange(s, index) || !buffer) return LB_ERR;
  const std::u16string& text = s->items[index].text;
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return static_cast<LRESULT>(text.size());
}

LRESULT OnGetTextLength(ListBoxState* s, WPARAM index) {
  return InRange(s, index) ? static_cast<LRESULT>(s->items[index].text.size()) : LB_ERR;
}

LRESULT OnGetItemData(ListBoxState* s, WPARAM index) {
  return InRange(s, index) ? s->items[index].data : LB_ERR;
}

LRESULT OnSetItemData(ListBoxState* s, WPARAM index, LPARAM data) {
  if (!InRange(s, index)) return LB_ERR;
  s->items[index].data = data;
  return LB_OKAY;
}

// Searches from the item after `start` (-1: from the first) round to `start` itself.
LRESULT OnFindString(ListBoxState* s, WPARAM start, LPCWSTR text, bool exact) {
  if (s->items.empty()) return LB_ERR;
  std::u16string key = Folded(text);
  int count = Count(s);
  int first = start == static_cast<WPARAM>(-1) || start >= s->items.size() ? 0 : static_cast<int>(start) + 1;
  for (int step = 0; step < count; ++step) {
    int i = (first + step) % count;
    std::u16string item = FoldCase(s->items[static_cast<size_t>(i)].text);
    if (exact ? item == key : item.compare(0, key.size(), key) == 0) return i;
  }
  return LB_ERR;
}

LRESULT OnSetTopIndex(HWND hwnd, ListBoxState* s, WPARAM index) {
  if (!InRange(s, index)) return LB_ERR;
  SetTop(hwnd, s, static_cast<int>(index));
  return LB_OKAY;
}

// Called by the combo box just before it shows its list.
LRESULT OnComboDropped(ListBoxState* s) {
  s->openingTap = true;
  s->pen = PenPart::None;
  return 0;
}

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
  ListBoxState* s = StateOf(hwnd);
  if (!s) return DefWindowProc(hwnd, msg, wParam, lParam);
  auto text = reinterpret_cast<LPCWSTR>(lParam);
  switch (msg) {
    case WM_NCDESTROY: return OnNcDestroy(hwnd);
    case WM_PAINT: return OnPaint(hwnd, s);
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills every pixel
    case WM_SIZE: return OnSize(hwnd, s);
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, s, lParam);
    case WM_MOUSEMOVE: return OnPenMove(hwnd, s, wParam, lParam);
    case WM_LBUTTONUP: return OnPenUp(hwnd, s, lParam);
    case WM_CAPTURECHANGED: return OnCaptureChanged(hwnd, s);
    case WM_KEYDOWN: return OnKeyDown(hwnd, s, wParam);
    case WM_SETFOCUS: return OnFocus(hwnd, s, true);
    case WM_KILLFOCUS: return OnFocus(hwnd, s, false);
    case WM_ENABLE: Redraw(hwnd); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT: return OnSetFont(hwnd, s, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case LB_ADDSTRING: return OnAddString(hwnd, s, text);
    case LB_INSERTSTRING: return OnInsertString(hwnd, s, wParam, text);
    case LB_DELETESTRING: return OnDeleteString(hwnd, s, wParam);
    case LB_RESETCONTENT: return OnResetContent(hwnd, s);
    case LB_GETCOUNT: return Count(s);
    case LB_GETCURSEL: return s->selected >= 0 ? s->selected : LB_ERR;
    case LB_SETCURSEL: return OnSetCurSel(hwnd, s, wParam);
    case LB_GETTEXT: return OnGetText(s, wParam, reinterpret_cast<LPWSTR>(lParam));
    case LB_GETTEXTLEN: return OnGetTextLength(s, wParam);
    case LB_GETITEMDATA: return OnGetItemData(s, wParam);
    case LB_SETITEMDATA: return OnSetItemData(s, wParam, lParam);
    case LB_FINDSTRING: return OnFindString(s, wParam, text, false);
    case LB_FINDSTRINGEXACT: return OnFindString(s, wParam, text, true);
    case LB_GETTOPINDEX: return s->top;
    case LB_SETTOPINDEX: return OnSetTopIndex(hwnd, s, wParam);
    case LB_GETITEMHEIGHT: return ItemHeight(s);
    case kComboListDropped: return OnComboDropped(s);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void RegisterListBoxClass() {
  RegisterControlClass(u"LISTBOX", ListBoxProc);
  RegisterControlClass(u"ComboLBox", ListBoxProc);
}

}  // namespace device::internal
