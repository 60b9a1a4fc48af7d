// The BUTTON class: push buttons (BS_PUSHBUTTON, BS_DEFPUSHBUTTON), check boxes (BS_CHECKBOX,
// BS_AUTOCHECKBOX), radio buttons (BS_RADIOBUTTON, BS_AUTORADIOBUTTON) and BS_GROUPBOX.
//
// Messages: BM_GETCHECK, BM_SETCHECK, BM_GETSTATE, BM_SETSTATE, BM_SETSTYLE, BM_CLICK,
// WM_SETTEXT (repaints), WM_SETFONT / WM_GETFONT, WM_GETDLGCODE, WM_ENABLE, focus changes.
// The pen pushes a button down (the pushed look: inverted colours) and takes the focus; the
// button follows the pen in and out while it is down, and a pen-up inside clicks it. Space
// does the same from the keyboard. A click toggles an auto check box, checks an auto radio
// button and unchecks the other auto radio buttons of its group (WS_GROUP to WS_GROUP), and
// then sends BN_CLICKED to the parent. Checking a radio button gives it WS_TABSTOP and
// unchecking takes it away, so Tab enters a group at its checked button. A group box takes
// no input.
// Not implemented: BS_3STATE, BS_OWNERDRAW, BS_BITMAP/BS_ICON, BS_NOTIFY notifications other
// than BN_CLICKED, BS_MULTILINE (push buttons wrap nothing), text alignment styles.
#include "internal/control_drawing.h"
#include "internal/dialog_state.h"
#include "internal/system_classes.h"

#include <string>
#include <string_view>

namespace device::internal {

namespace {

constexpr int kBoxSize = 11;  // check box and radio button mark

struct ButtonState {
  HFONT font = nullptr;   // null: the default control font
  WPARAM check = BST_UNCHECKED;
  bool pushed = false;    // drawn pressed (pen or space held, or BM_SETSTATE)
  bool tracking = false;  // the pen went down on the button and is not up yet
  bool focused = false;
};

// The state hangs off the class's extra bytes; GWL_USERDATA stays the program's.
ButtonState* StateOf(HWND hwnd) { return reinterpret_cast<ButtonState*>(GetWindowLong(hwnd, 0)); }

DWORD TypeOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool IsCheckBox(DWORD type) { return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX; }
bool IsRadioButton(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

std::u16string TextOf(HWND hwnd) {
  int length = GetWindowTextLength(hwnd);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  text.resize(static_cast<size_t>(GetWindowText(hwnd, text.data(), length + 1)));
  return text;
}

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

void PaintPushButton(HDC dc, const RECT& r, const ButtonState& s, DWORD type, LPCWSTR text, bool enabled) {
  FillColor(dc, r, s.pushed ? kControlText : kControlFace);
  FrameColor(dc, r, kControlText, type == BS_DEFPUSHBUTTON ? 2 : 1);
  COLORREF color = !enabled ? kDisabledText : s.pushed ? kControlFace : kControlText;
  DrawLabel(dc, s.font, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, color);
  if (s.focused && !s.pushed) {
    RECT inner = r;
    InflateRect(&inner, -3, -3);
    DrawFocusFrame(dc, inner);
  }
}

// Check boxes and radio buttons: the mark at the left (right with BS_LEFTTEXT), the text
// beside it.
void PaintMarkButton(HWND hwnd, HDC dc, const RECT& r, const ButtonState& s, DWORD type, LPCWSTR text,
                     bool enabled) {
  FillColor(dc, r, kControlFace);
  bool leftText = (GetWindowLong(hwnd, GWL_STYLE) & BS_LEFTTEXT) != 0;
  int top = (r.top + r.bottom - kBoxSize) / 2;
  int left = leftText ? r.right - kBoxSize : r.left;
  RECT box{left, top, left + kBoxSize, top + kBoxSize};
  COLORREF ink = enabled ? kControlText : kDisabledText;
  if (IsRadioButton(type)) {
    int radius = kBoxSize / 2 + 1;  // the disc is one pixel wider than the check box
    int cx = box.left + radius, cy = box.top + radius;
    FillDisc(dc, cx, cy, radius, ink);
    FillDisc(dc, cx, cy, radius - 1, s.pushed ? kScrollTrack : kControlFace);
    if (s.check == BST_CHECKED) FillDisc(dc, cx, cy, 3, ink);
  } else {
    FillColor(dc, box, s.pushed ? kScrollTrack : kControlFace);
    FrameColor(dc, box, ink);
    if (s.check == BST_CHECKED) {
      RECT inner = box;
      InflateRect(&inner, -1, -1);
      DrawCheckMark(dc, inner, ink);
    }
  }
  RECT label = leftText ? RECT{r.left, r.top, box.left - 4, r.bottom} : RECT{box.right + 5, r.top, r.right, r.bottom};
  DrawLabel(dc, s.font, text, label, DT_LEFT | DT_VCENTER | DT_SINGLELINE, enabled ? kControlText : kDisabledText);
  if (s.focused) {
    RECT focus = label;
    InflateRect(&focus, 2, 0);
    DrawFocusFrame(dc, focus);
  }
}

// A frame with the text set into its top edge.
void PaintGroupBox(HDC dc, const RECT& r, const ButtonState& s, LPCWSTR text, bool enabled) {
  FillColor(dc, r, kControlFace);
  int line = FontLineHeight(s.font);
  RECT frame{r.left, r.top + line / 2, r.right, r.bottom};
  FrameColor(dc, frame, kControlText);
  if (!text || !*text) return;
  HGDIOBJ old = SelectObject(dc, FontOrDefault(s.font));
  SIZE extent{0, 0};
  GetTextExtentPoint32(dc, text, static_cast<int>(std::u16string_view(text).size()), &extent);
  SelectObject(dc, old);
  RECT label{r.left + 6, r.top, r.left + 10 + extent.cx, r.top + line};
  FillColor(dc, label, kControlFace);
  label.left += 2;
  DrawLabel(dc, s.font, text, label, DT_LEFT | DT_TOP | DT_SINGLELINE, enabled ? kControlText : kDisabledText);
}

void UncheckGroupSiblings(HWND hwnd) {
  for (HWND other : GroupMembers(hwnd)) {
    if (other != hwnd && TypeOf(other) == BS_AUTORADIOBUTTON) SendMessage(other, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

// What a click does: the automatic styles change their own check, then the parent hears of it.
void Click(HWND hwnd) {
  ButtonState* s = StateOf(hwnd);
  DWORD type = TypeOf(hwnd);
  if (type == BS_AUTOCHECKBOX) {
    SendMessage(hwnd, BM_SETCHECK, s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
  } else if (type == BS_AUTORADIOBUTTON) {
    SendMessage(hwnd, BM_SETCHECK, BST_CHECKED, 0);
    UncheckGroupSiblings(hwnd);
  }
  NotifyParent(hwnd, BN_CLICKED);
}

void SetPushed(HWND hwnd, ButtonState* s, bool pushed) {
  if (s->pushed == pushed) return;
  s->pushed = pushed;
  Redraw(hwnd);
  UpdateWindow(hwnd);
}

bool PenInside(HWND hwnd, LPARAM lParam) {
  RECT r;
  GetClientRect(hwnd, &r);
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&r, p) != FALSE;
}

LRESULT OnCreate(HWND hwnd) {
  SetWindowLong(hwnd, 0, reinterpret_cast<LONG_PTR>(new ButtonState));
  return 0;
}

LRESULT OnNcDestroy(HWND hwnd) {
  delete StateOf(hwnd);
  SetWindowLong(hwnd, 0, 0);
  return 0;
}

LRESULT OnPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  ButtonState* s = StateOf(hwnd);
  RECT r;
  GetClientRect(hwnd, &r);
  std::u16string text = TextOf(hwnd);
  bool enabled = IsWindowEnabled(hwnd) != FALSE;
  DWORD type = TypeOf(hwnd);
  if (type == BS_GROUPBOX) {
    PaintGroupBox(dc, r, *s, text.c_str(), enabled);
  } else if (IsCheckBox(type) || IsRadioButton(type)) {
    PaintMarkButton(hwnd, dc, r, *s, type, text.c_str(), enabled);
  } else {
    PaintPushButton(dc, r, *s, type, text.c_str(), enabled);
  }
  EndPaint(hwnd, &ps);
  return 0;
}

LRESULT OnPenDown(HWND hwnd) {
  ButtonState* s = StateOf(hwnd);
  if (TypeOf(hwnd) == BS_GROUPBOX) return 0;
  SetFocus(hwnd);
  SetCapture(hwnd);
  s->tracking = true;
  SetPushed(hwnd, s, true);
  return 0;
}

LRESULT OnPenMove(HWND hwnd, LPARAM lParam) {
  ButtonState* s = StateOf(hwnd);
  if (s->tracking) SetPushed(hwnd, s, PenInside(hwnd, lParam));
  return 0;
}

LRESULT OnPenUp(HWND hwnd, LPARAM lParam) {
  ButtonState* s = StateOf(hwnd);
  if (!s->tracking) return 0;
  s->tracking = false;
  bool inside = PenInside(hwnd, lParam);
  if (GetCapture() == hwnd) ReleaseCapture();
  SetPushed(hwnd, s, false);
  if (inside) Click(hwnd);
  return 0;
}

LRESULT OnCaptureChanged(HWND hwnd) {
  ButtonState* s = StateOf(hwnd);
  if (!s->tracking) return 0;
  s->tracking = false;
  SetPushed(hwnd, s, false);
  return 0;
}

LRESULT OnKeyDown(HWND hwnd, WPARAM key) {
  if (key == VK_SPACE && TypeOf(hwnd) != BS_GROUPBOX) SetPushed(hwnd, StateOf(hwnd), true);
  return 0;
}

LRESULT OnKeyUp(HWND hwnd, WPARAM key) {
  ButtonState* s = StateOf(hwnd);
  if (key != VK_SPACE || !s->pushed) return 0;
  SetPushed(hwnd, s, false);
  Click(hwnd);
  return 0;
}

LRESULT OnFocus(HWND hwnd, bool focused) {
  ButtonState* s = StateOf(hwnd);
  s->focused = focused;
  if (!focused && s->pushed && !s->tracking) s->pushed = false;
  Redraw(hwnd);
  return 0;
}

LRESULT OnGetDlgCode(HWND hwnd) {
  switch (TypeOf(hwnd)) {
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
  }
}

LRESULT OnGetCheck(HWND hwnd) {
  DWORD type = TypeOf(hwnd);
  return IsCheckBox(type) || IsRadioButton(type) ? static_cast<LRESULT>(StateOf(hwnd)->check) : BST_UNCHECKED;
}

LRESULT OnSetCheck(HWND hwnd, WPARAM check) {
  ButtonState* s = StateOf(hwnd);
  DWORD type = TypeOf(hwnd);
  if (!IsCheckBox(type) && !IsRadioButton(type)) return 0;
  WPARAM value = check == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
  if (IsRadioButton(type)) {
    // Win32 moves the tab stop of a radio group to its checked button, so Tab lands there.
    DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
    style = value == BST_CHECKED ? style | WS_TABSTOP : style & ~WS_TABSTOP;
    SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
  }
  if (s->check != value) {
    s->check = value;
    Redraw(hwnd);
  }
  return 0;
}

LRESULT OnGetState(HWND hwnd) {
  ButtonState* s = StateOf(hwnd);
  return OnGetCheck(hwnd) | (s->pushed ? BST_PUSHED : 0) | (s->focused ? BST_FOCUS : 0);
}

LRESULT OnSetState(HWND hwnd, WPARAM pushed) {
  SetPushed(hwnd, StateOf(hwnd), pushed != 0);
  return 0;
}

LRESULT OnSetStyle(HWND hwnd, WPARAM type, LPARAM redraw) {
  DWORD style = static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE));
  SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG_PTR>((style & ~BS_TYPEMASK) | (type & BS_TYPEMASK)));
  if (redraw) Redraw(hwnd);
  return 0;
}

LRESULT OnClick(HWND hwnd) {
  if (IsWindowEnabled(hwnd) && TypeOf(hwnd) != BS_GROUPBOX) Click(hwnd);
  return 0;
}

LRESULT OnSetText(HWND hwnd, LPARAM text) {
  LRESULT result = DefWindowProc(hwnd, WM_SETTEXT, 0, text);
  Redraw(hwnd);
  return result;
}

LRESULT OnSetFont(HWND hwnd, WPARAM font, LPARAM redraw) {
  StateOf(hwnd)->font = reinterpret_cast<HFONT>(font);
  if (redraw) Redraw(hwnd);
  return 0;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_NCCREATE && msg != WM_CREATE && !StateOf(hwnd)) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_NCDESTROY: return OnNcDestroy(hwnd);
    case WM_PAINT: return OnPaint(hwnd);
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills every pixel
    case WM_LBUTTONDOWN: return OnPenDown(hwnd);
    case WM_MOUSEMOVE: return OnPenMove(hwnd, lParam);
    case WM_LBUTTONUP: return OnPenUp(hwnd, lParam);
    case WM_CAPTURECHANGED: return OnCaptureChanged(hwnd);
    case WM_KEYDOWN: return OnKeyDown(hwnd, wParam);
    case WM_KEYUP: return OnKeyUp(hwnd, wParam);
    case WM_SETFOCUS: return OnFocus(hwnd, true);
    case WM_KILLFOCUS: return OnFocus(hwnd, false);
    case WM_ENABLE: Redraw(hwnd); return 0;
    case WM_GETDLGCODE: return OnGetDlgCode(hwnd);
    case WM_SETTEXT: return OnSetText(hwnd, lParam);
    case WM_SETFONT: return OnSetFont(hwnd, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(StateOf(hwnd)->font);
    case BM_GETCHECK: return OnGetCheck(hwnd);
    case BM_SETCHECK: return OnSetCheck(hwnd, wParam);
    case BM_GETSTATE: return OnGetState(hwnd);
    case BM_SETSTATE: return OnSetState(hwnd, wParam);
    case BM_SETSTYLE: return OnSetStyle(hwnd, wParam, lParam);
    case BM_CLICK: return OnClick(hwnd);
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void RegisterButtonClass() { RegisterControlClass(u"BUTTON", ButtonProc); }

}  // namespace device::internal
