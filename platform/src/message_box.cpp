// MessageBox: a modal dialog made at run time (dialog.cpp does the modal work), and the probe
// that tests and demo scripts use to read and answer an open box (message_box_probe.h).
//
// The box is centred on the screen, with the caption, an icon at the left (a disc with "!",
// "?", "i" or "x"), the text wrapped to at most 200 pixels, and a row of buttons under it
// whose control ids are the results they give. MB_DEFBUTTONn picks the default button, which
// also has the focus, so Enter chooses it. Escape (WM_COMMAND IDCANCEL) gives IDCANCEL when
// there is a Cancel button, IDOK when OK is the only button, and is ignored otherwise.
// MB_TOPMOST and MB_SETFOREGROUND raise and activate the box (it is always the topmost window
// while open). Not implemented: MB_ABORTRETRYIGNORE, MB_RETRYCANCEL, MB_HELP, MB_USERICON,
// MB_SYSTEMMODAL / MB_TASKMODAL (the owner alone is disabled).
#include "internal/control_drawing.h"
#include "internal/dialog_state.h"

#include <device/message_box_probe.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace device::internal {

struct MessageBoxRequest {
  std::u16string text;
  std::u16string caption;
  UINT type;
};

namespace {

constexpr int kMargin = 8;
constexpr int kIconSize = 24;
constexpr int kMaxTextWidth = 200;
constexpr int kButtonWidth = 56;
constexpr int kButtonGap = 8;

struct ButtonSpec {
  int id;
  LPCWSTR label;
};

std::vector<ButtonSpec> ButtonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNOCANCEL: return {{IDYES, u"Yes"}, {IDNO, u"No"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNO: return {{IDYES, u"Yes"}, {IDNO, u"No"}};
    default: return {{IDOK, u"OK"}};
  }
}

struct IconLook {
  COLORREF disc;
  COLORREF glyphColor;
  LPCWSTR glyph;
};

bool IconFor(UINT type, IconLook* look) {
  switch (type & MB_ICONMASK) {
    case MB_ICONEXCLAMATION: *look = {RGB(255, 204, 0), RGB(0, 0, 0), u"!"}; return true;
    case MB_ICONQUESTION: *look = {RGB(0, 0, 160), RGB(255, 255, 255), u"?"}; return true;
    case MB_ICONINFORMATION: *look = {RGB(0, 0, 160), RGB(255, 255, 255), u"i"}; return true;
    case MB_ICONERROR: *look = {RGB(200, 0, 0), RGB(255, 255, 255), u"x"}; return true;
    default: return false;
  }
}

const MessageBoxRequest* RequestOf(HWND box) {
  DialogState* state = DialogStateOf(box);
  return state ? state->messageBox : nullptr;
}

SIZE MeasureText(const std::u16string& text, int width) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, DefaultControlFont());
  RECT r{0, 0, width, 0};
  DrawText(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteDC(dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

HWND AddControl(HWND box, LPCWSTR cls, LPCWSTR text, DWORD style, const RECT& r, int id) {
  HWND control = CreateWindowEx(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, box, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)),
                                nullptr, nullptr);
  SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultControlFont()), FALSE);
  return control;
}

// Lays the box out in pixels, makes its controls and centres it. Returns the default button.
HWND BuildBox(HWND box, const MessageBoxRequest& request) {
  IconLook look;
  bool icon = IconFor(request.type, &look);
  std::vector<ButtonSpec> buttons = ButtonsFor(request.type);
  int buttonHeight = FontLineHeight(nullptr) + 8;
  int buttonsWidth = static_cast<int>(buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
  int textLeft = kMargin + (icon ? kIconSize + kMargin : 0);
  int widest = GetSystemMetrics(SM_CXSCREEN) - 2;  // the screen less the box's border
  SIZE text = MeasureText(request.text, std::min(kMaxTextWidth, widest - textLeft - kMargin));
  int clientWidth = std::max(textLeft + static_cast<int>(text.cx), buttonsWidth) + kMargin;
  clientWidth = std::max<int>(clientWidth, MeasureText(request.caption, 400).cx + 2 * kMargin);
  clientWidth = std::min(clientWidth, widest);
  int bodyHeight = std::max<int>(text.cy, icon ? kIconSize : 0);
  int buttonTop = kMargin + bodyHeight + kMargin;
  int clientHeight = buttonTop + buttonHeight + kMargin;

  AddControl(box, u"STATIC", request.text.c_str(), SS_LEFT,
             RECT{textLeft, kMargin, clientWidth - kMargin, kMargin + bodyHeight}, IDC_STATIC);
  int defaultIndex = std::min<int>(static_cast<int>((request.type & MB_DEFMASK) >> 8),
                                   static_cast<int>(buttons.size()) - 1);
  int x = (clientWidth - buttonsWidth) / 2;
  HWND defaultButton = nullptr;
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
    DWORD style = WS_TABSTOP | (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    HWND button = AddControl(box, u"BUTTON", buttons[static_cast<size_t>(i)].label, style,
                             RECT{x, buttonTop, x + kButtonWidth, buttonTop + buttonHeight}, buttons[static_cast<size_t>(i)].id);
    if (i == defaultIndex) defaultButton = button;
    x += kButtonWidth + kButtonGap;
  }

  RECT window, client;
  GetWindowRect(box, &window);
  GetClientRect(box, &client);
  int width = clientWidth + (window.right - window.left) - client.right;
  int height = clientHeight + (window.bottom - window.top) - client.bottom;
  SetWindowPos(box, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  return defaultButton;
}

void PaintIcon(HWND box, const MessageBoxRequest& request) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(box, &ps);
  IconLook look;
  if (IconFor(request.type, &look)) {
    int r = kIconSize / 2;
    FillDisc(dc, kMargin + r, kMargin + r, r, look.disc);
    LOGFONTW lf{};
    lf.lfHeight = -16;
    lf.lfWeight = FW_BOLD;
    const char16_t face[] = u"TAHOMA";
    std::memcpy(lf.lfFaceName, face, sizeof face);
    HFONT bold = CreateFontIndirect(&lf);
    RECT cell{kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};
    DrawLabel(dc, bold, look.glyph, cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE, look.glyphColor);
    DeleteObject(bold);
  }
  EndPaint(box, &ps);
}

BOOL OnInitDialog(HWND box, const MessageBoxRequest* request) {
  DialogState* state = DialogStateOf(box);
  state->messageBox = request;
  HWND defaultButton = BuildBox(box, *request);
  SendMessage(box, DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID(defaultButton)), 0);
  state->savedFocus = defaultButton;
  if (request->type & MB_TOPMOST) {
    SetWindowLong(box, GWL_EXSTYLE, GetWindowLong(box, GWL_EXSTYLE) | WS_EX_TOPMOST);
  }
  return FALSE;  // the focus goes to the default button when the box is shown
}

BOOL OnCommand(HWND box, const MessageBoxRequest* request, int id) {
  if (GetDlgItem(box, id)) {
    EndDialog(box, id);
  } else if (id == IDCANCEL && (request->type & MB_TYPEMASK) == MB_OK) {
    EndDialog(box, IDOK);  // Escape on a box with only OK
  }
  return TRUE;
}

BOOL CALLBACK MessageBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
  const MessageBoxRequest* request = msg == WM_INITDIALOG ? reinterpret_cast<const MessageBoxRequest*>(lParam)
                                                          : RequestOf(box);
  if (!request) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(box, request);
    case WM_PAINT: PaintIcon(box, *request); return TRUE;
    case WM_COMMAND: return OnCommand(box, request, LOWORD(wParam));
    default: return FALSE;
  }
}

}  // namespace
}  // namespace device::internal

using namespace device::internal;

int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  MessageBoxRequest request{text ? text : u"", caption ? caption : u"Error", type};
  static constexpr DialogTemplate kBox{0, nullptr, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER,
                                       0, 0, 120, 40, nullptr, 0, {}};
  DialogTemplate box = kBox;
  box.caption = request.caption.c_str();
  if (type & (MB_SETFOREGROUND | MB_TOPMOST)) box.style |= DS_SETFOREGROUND;
  if (!owner || !IsWindow(owner)) owner = nullptr;
  INT_PTR result = DialogBoxIndirectParam(nullptr, &box, owner, MessageBoxProc,
                                          reinterpret_cast<LPARAM>(&request));
  return static_cast<int>(result);
}

namespace device {

HWND FindMessageBox() {
  for (HWND w = FindWindow(nullptr, nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (IsWindowVisible(w) && RequestOf(w)) return w;
  }
  return nullptr;
}

std::u16string MessageBoxText(HWND box) {
  const MessageBoxRequest* request = RequestOf(box);
  return request ? request->text : std::u16string();
}

std::u16string MessageBoxCaption(HWND box) {
  const MessageBoxRequest* request = RequestOf(box);
  return request ? request->caption : std::u16string();
}

UINT MessageBoxType(HWND box) {
  const MessageBoxRequest* request = RequestOf(box);
  return request ? request->type : 0;
}

bool PressMessageBoxButton(HWND box, int result) {
  if (!RequestOf(box)) return false;
  HWND button = GetDlgItem(box, result);
  if (!button) return false;
  return PostMessage(box, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(result), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button)) != FALSE;
}

}  // namespace device
