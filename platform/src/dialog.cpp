// The dialog class "#32770" and the dialog calls: CreateDialogParam,
// CreateDialogIndirectParam, DialogBoxParam, DialogBoxIndirectParam, EndDialog, DefDlgProc.
//
// Creation follows Win32: the dialog window is made hidden from its template (the template's
// client size in dialog units of its font), the dialog procedure is installed, every control
// is created in template order and given the dialog's font (WM_SETFONT), then WM_INITDIALOG
// goes out with the first tab-stop control and the parameter; when it returns TRUE that
// control is the one to get the focus. A control that cannot be created fails the dialog.
// A dialog is kept wholly on the screen (one larger than the screen is shrunk to it).
// A modal dialog disables its owner's top-level window first, is shown after WM_INITDIALOG and
// runs its own message loop (IsDialogMessage, then dispatch) until EndDialog; EndDialog
// re-enables the owner and hides the dialog, so the owner is active again before the dialog
// is destroyed. The quit message ends the loop and is posted again for the loop outside.
// DefDlgProc calls the dialog procedure first; for messages it leaves (returns FALSE) it gives
// and restores the focus of the controls on activation, answers DM_GETDEFID / DM_SETDEFID and
// WM_NEXTDLGCTL, turns WM_CLOSE into WM_COMMAND IDCANCEL, and leaves the rest to
// DefWindowProc (the white background, the caption). The Done button that SHInitDialog asks
// for is drawn at the right of the caption and sends WM_COMMAND IDOK when tapped; taps on the
// caption never reach the dialog procedure, as they would not on the device.
// Not implemented: DS_CONTROL, DS_NOFAILCREATE, WM_CTLCOLORDLG, WM_ENTERIDLE.
#include "internal/control_drawing.h"
#include "internal/dialog_state.h"
#include "internal/screen.h"
#include "internal/system_classes.h"
#include "internal/wide_text.h"
#include "internal/window_state.h"

#include <device/gdi.h>

#include <algorithm>

namespace device::internal {

namespace {

constexpr const char16_t* kDialogClass = u"#32770";
constexpr int kDoneWidth = 26;

struct CreateInfo {
  HFONT font;
  bool ownsFont;
  SIZE baseUnits;
  bool modal;
};

bool IsDialogWindow(HWND hwnd) {
  char16_t name[16] = {};
  GetClassName(hwnd, name, 16);
  return std::u16string_view(name) == kDialogClass;
}

// The Done button's rectangle in window coordinates (the caption's right end).
RECT DoneButtonRect(HWND dialog) {
  RECT window;
  GetWindowRect(dialog, &window);
  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  int border = origin.x - window.left;
  int captionTop = border;
  int captionBottom = origin.y - window.top;
  int right = (window.right - window.left) - border - 2;
  return RECT{right - kDoneWidth, captionTop + 2, right, captionBottom - 2};
}

void PaintDoneButton(HWND dialog, const DialogState* state) {
  RECT r = DoneButtonRect(dialog);
  if (r.bottom <= r.top) return;
  HDC dc = GetWindowDC(dialog);
  bool pressed = state->donePressed;
  FillColor(dc, r, pressed ? kControlText : kControlFace);
  FrameColor(dc, r, kControlText);
  DrawLabel(dc, nullptr, u"ok", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
            pressed ? kControlFace : kControlText);
  ReleaseDC(dialog, dc);
}

// Client coordinates of a pen message to window coordinates.
POINT PenInWindow(HWND dialog, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT window;
  GetWindowRect(dialog, &window);
  ClientToScreen(dialog, &p);
  return POINT{p.x - window.left, p.y - window.top};
}

bool InClient(HWND dialog, LPARAM lParam) {
  RECT client;
  GetClientRect(dialog, &client);
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&client, p) != FALSE;
}

// Pen messages on the caption belong to the shell's Done button, not to the dialog
// procedure. Returns true when the message was taken here.
bool OnCaptionPen(HWND dialog, DialogState* state, UINT msg, LPARAM lParam) {
  RECT done = DoneButtonRect(dialog);
  bool onDone = state->doneButton && PtInRect(&done, PenInWindow(dialog, lParam)) != FALSE;
  if (msg == WM_LBUTTONDOWN) {
    if (InClient(dialog, lParam)) return false;
    if (onDone) {
      state->doneTracking = state->donePressed = true;
      SetCapture(dialog);
      PaintDoneButton(dialog, state);
    }
    return true;
  }
  if (!state->doneTracking) return false;
  if (msg == WM_MOUSEMOVE) {
    if (onDone != state->donePressed) {
      state->donePressed = onDone;
      PaintDoneButton(dialog, state);
    }
    return true;
  }
  state->doneTracking = state->donePressed = false;  // WM_LBUTTONUP
  if (GetCapture() == dialog) ReleaseCapture();
  PaintDoneButton(dialog, state);
  if (onDone) SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return true;
}

LRESULT OnNcCreate(HWND dialog, const CREATESTRUCTW* cs) {
  auto* info = static_cast<const CreateInfo*>(cs->lpCreateParams);
  auto* state = new DialogState;
  if (info) {
    state->font = info->font;
    state->ownsFont = info->ownsFont;
    state->baseUnits = info->baseUnits;
    state->modal = info->modal;
  }
  SetWindowLong(dialog, kDialogStateOffset, reinterpret_cast<LONG_PTR>(state));
  return DefWindowProc(dialog, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
}

void OnNcDestroy(HWND dialog, DialogState* state) {
  SetWindowLong(dialog, kDialogStateOffset, 0);
  if (state->ownsFont) DeleteObject(state->font);
  delete state;
}

// Gives the focus back to the control that had it, else to the first tab stop, else keeps
// it on the dialog itself.
void RestoreFocus(HWND dialog, DialogState* state) {
  HWND target = state->savedFocus;
  if (!IsWindow(target) || !IsChild(dialog, target) || !IsWindowEnabled(target)) {
    target = GetNextDlgTabItem(dialog, nullptr, FALSE);
  }
  if (target) {
    SetDialogFocus(dialog, target);
  } else if (GetFocus() != dialog) {
    SetFocus(dialog);
  }
}

LRESULT OnActivate(HWND dialog, DialogState* state, WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(dialog, focus)) state->savedFocus = focus;
    return 0;
  }
  RestoreFocus(dialog, state);
  return 0;
}

LRESULT OnSetFocus(HWND dialog, DialogState* state) {
  HWND target = state->savedFocus;
  if (!IsWindow(target) || !IsChild(dialog, target)) target = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (target) SetDialogFocus(dialog, target);
  return 0;
}

HWND FindDefaultButton(HWND dialog) {
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (SendMessage(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return c;
  }
  return nullptr;
}

LRESULT OnGetDefId(HWND dialog, DialogState* state) {
  int id = state->defaultId;
  if (!id) {
    HWND button = FindDefaultButton(dialog);
    if (!button) return 0;
    id = GetDlgCtrlID(button);
  }
  return MAKELPARAM(static_cast<WORD>(id), DC_HASDEFID);
}

LRESULT OnSetDefId(HWND dialog, DialogState* state, WPARAM id) {
  HWND old = state->defaultId ? GetDlgItem(dialog, state->defaultId) : FindDefaultButton(dialog);
  HWND now = GetDlgItem(dialog, static_cast<int>(id));
  if (old && old != now && (SendMessage(old, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
    SendMessage(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  if (now && (SendMessage(now, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON)) {
    SendMessage(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
  state->defaultId = static_cast<int>(id);
  return TRUE;
}

LRESULT OnNextDlgCtl(HWND dialog, WPARAM wParam, LPARAM lParam) {
  HWND target = lParam ? reinterpret_cast<HWND>(wParam)
                       : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
  if (target) SetDialogFocus(dialog, target);
  return 0;
}

// Win32 posts the command so that WM_CLOSE returns before the dialog acts on it.
LRESULT OnClose(HWND dialog) {
  HWND cancel = GetDlgItem(dialog, IDCANCEL);
  if (cancel && !IsWindowEnabled(cancel)) return 0;
  PostMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
  return 0;
}

LRESULT OnNcPaint(HWND dialog, DialogState* state, WPARAM wParam) {
  DefWindowProc(dialog, WM_NCPAINT, wParam, 0);
  if (state->doneButton) PaintDoneButton(dialog, state);
  return 0;
}

// What DefDlgProc does with a message the dialog procedure left.
LRESULT DefaultDialogMessage(HWND dialog, DialogState* state, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ACTIVATE: return OnActivate(dialog, state, wParam);
    case WM_SETFOCUS: return OnSetFocus(dialog, state);
    case DM_GETDEFID: return OnGetDefId(dialog, state);
    case DM_SETDEFID: return OnSetDefId(dialog, state, wParam);
    case WM_NEXTDLGCTL: return OnNextDlgCtl(dialog, wParam, lParam);
    case WM_CLOSE: return OnClose(dialog);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_NCPAINT: return OnNcPaint(dialog, state, wParam);
    default: return DefWindowProc(dialog, msg, wParam, lParam);
  }
}

// Messages whose answer is the dialog procedure's return value itself, FALSE included,
// rather than DWL_MSGRESULT or the default handling (Win32's rule).
bool AnswersDirectly(UINT msg) { return msg == WM_INITDIALOG; }

POINT TemplateOrigin(const DialogTemplate& dialog, HWND owner, const RECT& client, const RECT& insets) {
  int width = client.right - client.left + insets.left + insets.right;
  int height = client.bottom - client.top + insets.top + insets.bottom;
  if (dialog.style & DS_CENTER) {
    return POINT{(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
  }
  POINT origin{client.left, client.top};
  if (owner && !(dialog.style & DS_ABSALIGN)) ClientToScreen(owner, &origin);
  return origin;
}

// A full-screen template under a caption and a frame would reach past the screen's right and
// bottom edges, where nobody can tap: the dialog is kept on the screen instead, shrunk to it
// when larger (its client loses the frame's size) and moved in when it sticks out.
void FitOnScreen(POINT& origin, int& width, int& height) {
  width = std::min(width, static_cast<int>(kScreenWidth));
  height = std::min(height, static_cast<int>(kScreenHeight));
  origin.x = std::clamp(static_cast<int>(origin.x), 0, kScreenWidth - width);
  origin.y = std::clamp(static_cast<int>(origin.y), 0, kScreenHeight - height);
}

RECT FrameInsets(DWORD style) {
  int border = (style & (WS_BORDER | WS_DLGFRAME)) ? 1 : 0;
  int caption = (style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
  return RECT{border, border + caption, border, border};
}

bool CreateControls(HWND dialog, HINSTANCE instance, const DialogTemplate& dialogTemplate,
                    const DialogState& state) {
  std::vector<HWND> groupBoxes;
  for (const DialogItem& item : dialogTemplate.items) {
    RECT r = DialogUnitsToPixels(state.baseUnits, item.x, item.y, item.cx, item.cy);
    HWND control = CreateWindowEx(item.exStyle, item.className, item.text ? item.text : u"",
                                  item.style | WS_CHILD, r.left, r.top, r.right - r.left,
                                  r.bottom - r.top, dialog,
                                  reinterpret_cast<HMENU>(static_cast<std::intptr_t>(item.id)),
                                  instance, nullptr);
    if (!control) return false;
    SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    bool groupBox = item.className && EqualsIgnoreCase(item.className, u"BUTTON") &&
                    (item.style & BS_TYPEMASK) == BS_GROUPBOX;
    if (groupBox) groupBoxes.push_back(control);
  }
  // Siblings always clip each other on the device, so a group box stacked above the
  // controls it frames would hide them: it goes to the bottom of the order.
  for (HWND box : groupBoxes) {
    SetWindowPos(box, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return true;
}

}  // namespace

DialogState* DialogStateOf(HWND hwnd) {
  if (!IsWindow(hwnd) || !IsDialogWindow(hwnd)) return nullptr;
  return reinterpret_cast<DialogState*>(GetWindowLong(hwnd, kDialogStateOffset));
}

void RegisterDialogClass() {
  WNDCLASSW wc{};
  if (GetClassInfo(nullptr, kDialogClass, &wc)) return;
  wc.lpfnWndProc = DefDlgProc;
  wc.cbWndExtra = kDialogExtraBytes;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kDialogClass;
  RegisterClass(&wc);
}

void EnsureDialogClasses() {
  RegisterDialogClass();
  RegisterEditClass();
  RegisterButtonClass();
  RegisterStaticClass();
  RegisterListBoxClass();
  RegisterComboBoxClass();
}

void EnableDoneButton(HWND dialog) {
  DialogState* state = DialogStateOf(dialog);
  if (!state) return;
  state->doneButton = true;
  DWORD style = static_cast<DWORD>(GetWindowLong(dialog, GWL_STYLE));
  if ((style & WS_CAPTION) != WS_CAPTION) {
    // The pocket shell shows Done in a title bar; a dialog without one gets one.
    SetWindowLong(dialog, GWL_STYLE, static_cast<LONG_PTR>(style | WS_CAPTION));
    RECT client;
    GetClientRect(dialog, &client);
    SendMessage(dialog, WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
  }
  // The frame changes (SWP_FRAMECHANGED has no effect on the device): repaint all of it.
  if (Window* w = FromHandle(dialog)) AddUpdate(w, LocalClientRect(w), true, true);
  InvalidateRect(dialog, nullptr, TRUE);
}

HWND CreateDialogWindow(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND owner,
                        DLGPROC proc, LPARAM param, bool modal) {
  EnsureDialogClasses();
  CreateInfo info{};
  info.font = CreateTemplateFont(dialogTemplate, &info.ownsFont);
  info.baseUnits = DialogBaseUnitsOf(info.font);
  info.modal = modal;

  DWORD style = dialogTemplate.style & ~WS_VISIBLE & ~WS_CHILD;
  if (style & DS_MODALFRAME) style |= WS_BORDER;
  RECT client = DialogUnitsToPixels(info.baseUnits, dialogTemplate.x, dialogTemplate.y,
                                    dialogTemplate.cx, dialogTemplate.cy);
  RECT insets = FrameInsets(style);
  POINT origin = TemplateOrigin(dialogTemplate, owner, client, insets);
  int width = client.right - client.left + insets.left + insets.right;
  int height = client.bottom - client.top + insets.top + insets.bottom;
  FitOnScreen(origin, width, height);

  HWND ownerTop = owner;
  while (ownerTop && (GetWindowLong(ownerTop, GWL_STYLE) & WS_CHILD)) ownerTop = GetParent(ownerTop);
  HWND disabled = nullptr;
  if (modal && ownerTop && IsWindowEnabled(ownerTop)) {
    EnableWindow(ownerTop, FALSE);
    disabled = ownerTop;
  }

  HWND dialog = CreateWindowEx(dialogTemplate.exStyle, kDialogClass,
                               dialogTemplate.caption ? dialogTemplate.caption : u"", style,
                               origin.x, origin.y, width, height, ownerTop, nullptr, instance, &info);
  if (!dialog) {
    if (info.ownsFont) DeleteObject(info.font);
    if (disabled) EnableWindow(disabled, TRUE);
    return nullptr;
  }
  DialogState* state = DialogStateOf(dialog);
  state->disabledOwner = disabled;
  SetWindowLong(dialog, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  SendMessage(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
  if (!CreateControls(dialog, instance, dialogTemplate, *state)) {
    state->disabledOwner = nullptr;
    DestroyWindow(dialog);
    if (disabled) EnableWindow(disabled, TRUE);
    return nullptr;
  }

  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  LRESULT wantsFocus = SendMessage(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
  state = DialogStateOf(dialog);
  if (!state) return nullptr;  // destroyed by its own WM_INITDIALOG
  if (wantsFocus) {
    // Controls may have been made in WM_INITDIALOG: look again.
    state->savedFocus = GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (GetActiveWindow() == dialog && state->savedFocus) SetDialogFocus(dialog, state->savedFocus);
  } else if (HWND focus = GetFocus(); focus && IsChild(dialog, focus)) {
    state->savedFocus = focus;  // the procedure chose the focus itself
  }
  bool show = modal ? !state->ended : (dialogTemplate.style & WS_VISIBLE) != 0;
  if (show && !IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOW);
  if (show && (dialogTemplate.style & DS_SETFOREGROUND) && IsWindow(dialog)) SetForegroundWindow(dialog);
  return IsWindow(dialog) ? dialog : nullptr;
}

INT_PTR RunModalDialog(HWND dialog) {
  MSG msg;
  for (;;) {
    DialogState* state = DialogStateOf(dialog);
    if (!state || state->ended) break;
    if (!GetMessage(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!IsDialogMessage(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  DialogState* state = DialogStateOf(dialog);
  if (!state) return 0;  // destroyed without EndDialog
  INT_PTR result = state->ended ? state->result : 0;
  if (HWND owner = state->disabledOwner) {
    state->disabledOwner = nullptr;
    EnableWindow(owner, TRUE);
  }
  DestroyWindow(dialog);
  return result;
}

}  // namespace device::internal

using namespace device::internal;

LRESULT DefDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) return OnNcCreate(dialog, reinterpret_cast<const CREATESTRUCTW*>(lParam));
  DialogState* state = DialogStateOf(dialog);
  if (!state) return DefWindowProc(dialog, msg, wParam, lParam);
  if ((msg == WM_LBUTTONDOWN || msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP) &&
      OnCaptionPen(dialog, state, msg, lParam)) {
    return 0;
  }
  if (msg == WM_CAPTURECHANGED && state->doneTracking) {
    state->doneTracking = state->donePressed = false;
    PaintDoneButton(dialog, state);
  }

  auto proc = reinterpret_cast<DLGPROC>(GetWindowLong(dialog, DWL_DLGPROC));
  SetWindowLong(dialog, DWL_MSGRESULT, 0);
  BOOL handled = proc ? proc(dialog, msg, wParam, lParam) : FALSE;
  state = DialogStateOf(dialog);  // the procedure may have destroyed the dialog
  LRESULT result;
  if (AnswersDirectly(msg)) {
    result = handled;
  } else if (handled) {
    result = GetWindowLong(dialog, DWL_MSGRESULT);
  } else {
    result = state ? DefaultDialogMessage(dialog, state, msg, wParam, lParam)
                   : DefWindowProc(dialog, msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY && (state = DialogStateOf(dialog)) != nullptr) OnNcDestroy(dialog, state);
  return result;
}

HWND CreateDialogIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND owner,
                               DLGPROC proc, LPARAM param) {
  if (!dialog) return nullptr;
  return CreateDialogWindow(instance, *dialog, owner, proc, param, false);
}

HWND CreateDialogParam(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                       LPARAM param) {
  return CreateDialogIndirectParam(instance, FindDialogTemplate(templateName), owner, proc, param);
}

INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND owner,
                               DLGPROC proc, LPARAM param) {
  if (!dialog) return -1;
  HWND hwnd = CreateDialogWindow(instance, *dialog, owner, proc, param, true);
  if (!hwnd) return -1;
  return RunModalDialog(hwnd);
}

INT_PTR DialogBoxParam(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                       LPARAM param) {
  return DialogBoxIndirectParam(instance, FindDialogTemplate(templateName), owner, proc, param);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  DialogState* state = DialogStateOf(dialog);
  if (!state) return FALSE;
  state->ended = true;
  state->result = result;
  if (HWND owner = state->disabledOwner) {
    state->disabledOwner = nullptr;
    EnableWindow(owner, TRUE);
  }
  ShowWindow(dialog, SW_HIDE);  // activation returns to the owner now
  return TRUE;
}
