// EditLSClass: the landscape note editor. The note lives in a hidden EDIT control laid out
// for the strip turned on its side (as wide as the strip is high less the buttons, as high as
// the strip is wide), so its lines are the strip's columns: the EDIT control's x axis runs up
// the strip from its bottom and each of its lines is a column 14 pixels wide. Every change
// renders the three lines from the first visible one into an off-screen square and copies it
// under the two scroll buttons; the caret is a horizontal bar.
//
// Messages:
//   WM_CHAR            a character typed on the desktop keyboard goes to the parent as
//                      keyboard input (as the portrait editor does); the main screen's own
//                      characters go to the hidden EDIT control
//   WM_KEYDOWN/UP      Enter and the application keys 0xC1-0xC4 go to the parent; the arrows
//                      are turned with the device (left is up, up is right, ...)
//   text, EM_*         answered by the hidden EDIT control; what changes the text, the
//                      selection or the scrolling renders the strip again
//   pen                on a scroll button: one line, repeated after 300 ms every 100 ms while
//                      held; elsewhere: the caret goes to the character under the pen
//   WM_COMMAND         the hidden control's notifications go to the parent as the editor's
//   WM_GETDLGCODE      the hidden control's answer: the dialog leaves it the arrows and Enter
//
// Choices where the plain behaviour would lose text or leave the screen behind:
// - The hidden control takes the same text limit as the portrait editor, so a note carried
//   over from portrait is never cut at the EDIT control's default limit.
// - The hidden control is a pop-up that is never shown (rather than a visible one placed off
//   the screen), so it never takes the activation from the main screen.
// - Notifications reach the parent as the editor's (its id, its handle), so the main screen
//   recognises a refused character (EN_MAXTEXT) as coming from its editor.
// - The arrow keys report the caret move to the parent, as the pen does, so the prediction
//   follows the caret.
// - A caret at the very start of the text stands at the bottom of the first line's column.
// - Query messages (EM_GETSEL, EM_LINEINDEX, ...) do not render; the main screen asks them on
//   every keystroke.
#include "editor/landscape_editor.h"

#include "common/messages.h"
#include "drawing/button_panel.h"
#include "drawing/font_table.h"
#include "drawing/skin_images.h"
#include "drawing/text_drawing.h"
#include "editor/note_editor.h"

#include <device/edit.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <string>

namespace {

constexpr UINT_PTR kScrollUpTimer = 1;
constexpr UINT_PTR kScrollDownTimer = 2;
constexpr UINT kScrollFirstMs = 300;
constexpr UINT kScrollNextMs = 100;

constexpr DWORD kHiddenEditStyle = WS_POPUP | WS_VSCROLL | ES_WANTRETURN | ES_MULTILINE;
constexpr int kHiddenEditPlace = 2000;  // off the screen, should it ever be shown
constexpr int kShownLines = 3;
constexpr int kCaretLength = kLandscapeLineWidth;
constexpr int kCaretThickness = 1;

constexpr WCHAR kTextFace[] = u"TAHOMA";
constexpr WCHAR kButtonFace[] = u"MS SANS SERIF";
constexpr int kFontHeight = 14;

constexpr COLORREF kPaper = 0xFFFFFF;
constexpr COLORREF kInk = 0x000000;

// The two scroll buttons: "<" scrolls up, ">" down; a pressed label moves up (draw mode 2).
constexpr int kScrollUpButton = 0;
constexpr int kScrollDownButton = 1;
constexpr int kButtonImages[] = {kSkinEditls};
constexpr ButtonSpec ScrollButton(LONG left, char16_t label) {
  return ButtonSpec{.left = left, .top = 0, .right = left + 22, .bottom = kLandscapeButtonsHeight, .imageSlot = 0,
                    .label = {label, 0}, .textFormat = DT_CENTER | DT_VCENTER, .drawMode = 2, .textColour = kInk};
}
constexpr std::array<ButtonSpec, 2> kScrollButtons = {ScrollButton(0, u'<'), ScrollButton(22, u'>')};

// The edit messages that only read; everything else the hidden control answers may change
// what the strip shows.
constexpr UINT kQueryMessages[] = {EM_GETSEL,       EM_GETLINECOUNT, EM_LINEINDEX,          EM_LINELENGTH,
                                   EM_GETLINE,      EM_LINEFROMCHAR, EM_GETFIRSTVISIBLELINE, EM_POSFROMCHAR,
                                   EM_CHARFROMPOS,  EM_GETLIMITTEXT, EM_GETMODIFY,          EM_CANUNDO};

struct LandscapeEditorRecord {
  HWND hiddenEdit;
  int verticalFont;  // draws the lines upwards
  int normalFont;    // the hidden control's, so its layout matches the drawn text
  int buttonFont;
  std::array<ButtonSpec, 2> buttons;
  ButtonPanel panel;
  HDC offscreen;      // a square as wide as the client is high
  HBITMAP offscreenBitmap;
  HGDIOBJ offscreenPrevious;
  POINT caret;        // where the caret stands (kept while the editor has no focus)
  bool hasCaret;      // the editor owns the thread's caret
  int pressedButton;  // -1 when none
  int forwarding;     // inside a message passed to the hidden control, which renders after it
};

LandscapeEditorRecord* Record(HWND hwnd) {
  return reinterpret_cast<LandscapeEditorRecord*>(GetWindowLong(hwnd, GWL_USERDATA));
}

int ClientHeight(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  return client.bottom - client.top;
}

LRESULT ToHidden(LandscapeEditorRecord& record, UINT msg, WPARAM wParam, LPARAM lParam) {
  ++record.forwarding;
  const LRESULT result = SendMessage(record.hiddenEdit, msg, wParam, lParam);
  --record.forwarding;
  return result;
}

LRESULT Hidden(const LandscapeEditorRecord& record, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessage(record.hiddenEdit, msg, wParam, lParam);
}

// The x and y of a character in the hidden control (y is the top of its line, negative for
// lines scrolled away); false for an index that is no character.
bool CharacterPlace(const LandscapeEditorRecord& record, int index, POINT& place) {
  if (index < 0) return false;
  const LRESULT pos = Hidden(record, EM_POSFROMCHAR, static_cast<WPARAM>(index));
  if (pos == -1) return false;
  place = POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  return true;
}

std::u16string HiddenText(const LandscapeEditorRecord& record) {
  const int length = static_cast<int>(Hidden(record, WM_GETTEXTLENGTH));
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int got = static_cast<int>(Hidden(record, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                                          reinterpret_cast<LPARAM>(text.data())));
  text.resize(static_cast<size_t>(std::clamp(got, 0, length)));
  return text;
}

// Line `line` of the text without its line break and tabs; empty past the last line.
std::u16string ShownLine(const LandscapeEditorRecord& record, const std::u16string& text, int line) {
  const int count = static_cast<int>(Hidden(record, EM_GETLINECOUNT));
  if (line < 0 || line >= count) return {};
  const int from = static_cast<int>(Hidden(record, EM_LINEINDEX, static_cast<WPARAM>(line)));
  const int to = line + 1 < count ? static_cast<int>(Hidden(record, EM_LINEINDEX, static_cast<WPARAM>(line + 1)))
                                  : static_cast<int>(text.size());
  std::u16string shown;
  for (int i = std::max(from, 0); i < to && i < static_cast<int>(text.size()); ++i) {
    const char16_t c = text[static_cast<size_t>(i)];
    if (c != u'\n' && c != u'\r' && c != u'\t') shown.push_back(c);
  }
  return shown;
}

// Where the caret stands in the strip: after the character before the selection start, read
// upwards from the bottom of that character's column; at the bottom of the next column after
// a line feed; at the bottom of the first line's column at the very start.
POINT CaretPlace(const LandscapeEditorRecord& record, const std::u16string& text, int bottom) {
  DWORD start = 0, end = 0;
  Hidden(record, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const int s = static_cast<int>(std::min<size_t>(start, text.size()));
  POINT place{0, 0};
  if (s == 0) {
    CharacterPlace(record, 0, place);
    return POINT{place.y, bottom - kLandscapeLineWidth};
  }
  if (text[static_cast<size_t>(s - 1)] == u'\n') {
    CharacterPlace(record, s >= 2 ? s - 2 : s - 1, place);
    return POINT{place.y + kLandscapeLineWidth, bottom - kLandscapeLineWidth};
  }
  CharacterPlace(record, s - 1, place);
  const WCHAR one[2] = {text[static_cast<size_t>(s - 1)], 0};
  RECT extent{0, 0, 0, 0};
  MeasureText(record.offscreen, extent, one, GetAppFont(record.verticalFont));
  return POINT{place.y, bottom - place.x - (extent.right - extent.left) - kLandscapeLineWidth};
}

void MoveCaret(LandscapeEditorRecord& record, POINT place) {
  record.caret = place;
  if (record.hasCaret) SetCaretPos(place.x, place.y);
}

// Draws the three lines from the first visible one, each upwards from the bottom of its
// column, copies them under the buttons and puts the caret after the character before it.
void Render(HWND hwnd, LandscapeEditorRecord& record) {
  if (record.offscreen == nullptr) return;
  const int bottom = ClientHeight(hwnd);
  const RECT square{0, 0, bottom, bottom};
  FillSolidRect(record.offscreen, square, kPaper);
  const std::u16string text = HiddenText(record);
  const int first = static_cast<int>(Hidden(record, EM_GETFIRSTVISIBLELINE));
  for (int k = 0; k < kShownLines; ++k) {
    const std::u16string line = ShownLine(record, text, first + k);
    if (line.empty()) continue;
    const RECT column{kLandscapeLineWidth * k, 0, bottom, bottom};
    DrawLabelText(record.offscreen, column, line.c_str(), GetAppFont(record.verticalFont), kInk, true);
  }
  const POINT caret = CaretPlace(record, text, bottom);
  if (record.hasCaret) HideCaret(hwnd);
  HDC dc = GetDC(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  BitBlt(dc, 0, kLandscapeButtonsHeight, client.right, bottom - kLandscapeButtonsHeight, record.offscreen, 0,
         kLandscapeButtonsHeight, SRCCOPY);
  ReleaseDC(hwnd, dc);
  MoveCaret(record, caret);
  if (record.hasCaret) ShowCaret(hwnd);
}

void RenderUnlessForwarding(HWND hwnd, LandscapeEditorRecord& record) {
  if (record.forwarding == 0) Render(hwnd, record);
}

void ReportCaretMoved(HWND hwnd) { SendMessage(GetParent(hwnd), CaretMovedMessage, 0, 0); }

// EM_CHARFROMPOS answers 16-bit halves; the full index is the one nearest the first visible
// line, so notes longer than 65,535 characters still place the caret right.
int FullIndex(const LandscapeEditorRecord& record, LRESULT answer) {
  const int first = static_cast<int>(Hidden(record, EM_GETFIRSTVISIBLELINE));
  const int line = first + static_cast<WORD>(HIWORD(static_cast<DWORD_PTR>(answer)) - static_cast<WORD>(first));
  const int lineStart = static_cast<int>(Hidden(record, EM_LINEINDEX, static_cast<WPARAM>(line)));
  return lineStart + static_cast<WORD>(LOWORD(static_cast<DWORD_PTR>(answer)) - static_cast<WORD>(lineStart));
}

// The character under the pen: the strip's point turned back into the hidden control's.
void PlaceCaretAt(HWND hwnd, LandscapeEditorRecord& record, POINT pen) {
  const int x = ClientHeight(hwnd) - pen.y - kLandscapeLineWidth;
  const LRESULT answer = Hidden(record, EM_CHARFROMPOS, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(pen.x)));
  if (x >= 0 && answer != -1) {
    const int index = FullIndex(record, answer);
    Hidden(record, EM_SETSEL, static_cast<WPARAM>(index), index);
    Render(hwnd, record);
  }
  ReportCaretMoved(hwnd);
}

void Scroll(HWND hwnd, LandscapeEditorRecord& record, int button) {
  Hidden(record, EM_SCROLL, button == kScrollUpButton ? SB_LINEUP : SB_LINEDOWN);
  Render(hwnd, record);
}

UINT_PTR TimerOf(int button) { return button == kScrollUpButton ? kScrollUpTimer : kScrollDownTimer; }

void MakeOffscreen(HWND hwnd, LandscapeEditorRecord& record, int side) {
  if (record.offscreen != nullptr) {
    SelectObject(record.offscreen, record.offscreenPrevious);
    DeleteObject(record.offscreenBitmap);
    DeleteDC(record.offscreen);
  }
  HDC dc = GetDC(hwnd);
  record.offscreen = CreateCompatibleDC(dc);
  record.offscreenBitmap = CreateCompatibleBitmap(dc, std::max(side, 1), std::max(side, 1));
  record.offscreenPrevious = SelectObject(record.offscreen, record.offscreenBitmap);
  ReleaseDC(hwnd, dc);
}

bool IsQuery(UINT msg) { return std::find(std::begin(kQueryMessages), std::end(kQueryMessages), msg) != std::end(kQueryMessages); }

bool IsEditMessage(UINT msg) { return msg >= EM_GETSEL && msg <= EM_CHARFROMPOS; }

// The arrows turned with the device: left is up, up is right, right is down, down is left.
WPARAM TurnedArrow(WPARAM key) {
  switch (key) {
    case VK_LEFT: return VK_UP;
    case VK_UP: return VK_RIGHT;
    case VK_RIGHT: return VK_DOWN;
    case VK_DOWN: return VK_LEFT;
    default: return key;
  }
}

bool IsArrow(WPARAM key) { return key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN; }

bool IsParentsKey(WPARAM key) { return key == VK_RETURN || (key >= VK_APP1 && key <= VK_APP4); }

LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW* create) {
  auto* record = new LandscapeEditorRecord{};
  record->pressedButton = -1;
  record->verticalFont = CreateAppFont(kTextFace, kFontHeight, true, false);
  record->normalFont = CreateAppFont(kTextFace, kFontHeight, false, false);
  record->buttonFont = CreateAppFont(kButtonFace, kFontHeight, false, false);
  record->buttons = kScrollButtons;
  record->panel = RegisterButtonPanel(hwnd, record->buttons.data(), 2, kButtonImages, 1, record->buttonFont);
  record->hiddenEdit = CreateWindowEx(0, u"edit", u"", kHiddenEditStyle, kHiddenEditPlace, kHiddenEditPlace, 200, 100,
                                      hwnd, nullptr, create->hInstance, nullptr);
  Hidden(*record, WM_SETFONT, reinterpret_cast<WPARAM>(GetAppFont(record->normalFont)), FALSE);
  Hidden(*record, EM_LIMITTEXT, kNoteTextLimit);
  SetWindowLong(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(record));
  MakeOffscreen(hwnd, *record, create->cy);
  return 0;
}

LRESULT OnDestroy(HWND hwnd) {
  LandscapeEditorRecord* record = Record(hwnd);
  if (record == nullptr) return 0;
  SetWindowLong(hwnd, GWL_USERDATA, 0);
  if (record->hasCaret) DestroyCaret();
  SelectObject(record->offscreen, record->offscreenPrevious);
  DeleteObject(record->offscreenBitmap);
  DeleteDC(record->offscreen);
  DeleteAppFont(record->verticalFont);
  DeleteAppFont(record->normalFont);
  DeleteAppFont(record->buttonFont);
  UnregisterButtonPanel(record->panel);
  DestroyWindow(record->hiddenEdit);
  delete record;
  return 0;
}

// The hidden control is laid out for the strip on its side: the strip's height less the
// buttons is its width, the strip's width its height.
LRESULT OnSize(HWND hwnd, LandscapeEditorRecord& record) {
  RECT client;
  GetClientRect(hwnd, &client);
  MakeOffscreen(hwnd, record, client.bottom);
  MoveWindow(record.hiddenEdit, kHiddenEditPlace, kHiddenEditPlace, client.bottom - kLandscapeButtonsHeight,
             client.right, FALSE);
  SetFocus(hwnd);
  return 0;
}

LRESULT OnEraseBackground(HWND hwnd, LandscapeEditorRecord& record) {
  DrawPanel(hwnd, record.buttons.data(), record.panel);
  Render(hwnd, record);
  return 1;
}

LRESULT OnPenDown(HWND hwnd, LandscapeEditorRecord& record, POINT pen) {
  record.pressedButton = -1;
  if (PressButtonAt(hwnd, record.buttons.data(), pen.x, pen.y, record.panel, &record.pressedButton) < 0) {
    PlaceCaretAt(hwnd, record, pen);
    return 0;
  }
  SetTimer(hwnd, TimerOf(record.pressedButton), kScrollFirstMs, nullptr);
  SetCapture(hwnd);
  return 0;
}

LRESULT OnPenUp(HWND hwnd, LandscapeEditorRecord& record, POINT pen) {
  const int button = record.pressedButton;
  if (button < 0) {
    PlaceCaretAt(hwnd, record, pen);
    return 0;
  }
  record.pressedButton = -1;
  if (GetCapture() == hwnd) ReleaseCapture();
  DrawButton(hwnd, record.buttons[static_cast<size_t>(button)], kButtonNormal, record.panel);
  Scroll(hwnd, record, button);
  KillTimer(hwnd, TimerOf(button));
  return 0;
}

LRESULT OnTimer(HWND hwnd, LandscapeEditorRecord& record, UINT_PTR timer) {
  if (timer != kScrollUpTimer && timer != kScrollDownTimer) return 0;
  SetTimer(hwnd, timer, kScrollNextMs, nullptr);
  Scroll(hwnd, record, timer == kScrollUpTimer ? kScrollUpButton : kScrollDownButton);
  return 0;
}

LRESULT OnKey(HWND hwnd, LandscapeEditorRecord& record, UINT msg, WPARAM key, LPARAM lParam) {
  if (IsParentsKey(key)) return SendMessage(GetParent(hwnd), msg, key, lParam);
  const LRESULT result = ToHidden(record, msg, TurnedArrow(key), lParam);
  Render(hwnd, record);
  SetFocus(hwnd);
  if (IsArrow(key) && msg == WM_KEYDOWN) ReportCaretMoved(hwnd);
  return result;
}

LRESULT OnChar(HWND hwnd, LandscapeEditorRecord& record, WPARAM ch, LPARAM lParam) {
  LRESULT result = 0;
  if (ForwardTypedCharacter(hwnd, ch, lParam, &result)) return result;
  result = ToHidden(record, WM_CHAR, ch, lParam);
  Render(hwnd, record);
  return result;
}

// Text and edit messages: the hidden control answers; a change renders the strip.
LRESULT OnEditMessage(HWND hwnd, LandscapeEditorRecord& record, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsQuery(msg) || msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH) return Hidden(record, msg, wParam, lParam);
  const LRESULT result = ToHidden(record, msg, wParam, lParam);
  Render(hwnd, record);
  return result;
}

// The hidden control's notifications, passed on as the editor's own.
LRESULT OnCommand(HWND hwnd, LandscapeEditorRecord& record, WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != record.hiddenEdit) return 0;
  RenderUnlessForwarding(hwnd, record);
  const WORD id = static_cast<WORD>(GetDlgCtrlID(hwnd));
  return SendMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(id, HIWORD(wParam)), reinterpret_cast<LPARAM>(hwnd));
}

LRESULT OnSetFocus(HWND hwnd, LandscapeEditorRecord& record) {
  CreateCaret(hwnd, nullptr, kCaretLength, kCaretThickness);
  record.hasCaret = true;
  SetCaretPos(record.caret.x, record.caret.y);
  ShowCaret(hwnd);
  return 0;
}

LRESULT OnKillFocus(LandscapeEditorRecord& record) {
  if (!record.hasCaret) return 0;
  GetCaretPos(&record.caret);
  DestroyCaret();
  record.hasCaret = false;
  return 0;
}

// The edit messages are the hidden control's; the rest get default processing.
LRESULT OnOtherMessage(HWND hwnd, LandscapeEditorRecord& record, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsEditMessage(msg)) return OnEditMessage(hwnd, record, msg, wParam, lParam);
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

LRESULT OnActivate(HWND hwnd) {
  SetFocus(hwnd);
  return 0;
}

LRESULT Dispatch(HWND hwnd, LandscapeEditorRecord& record, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DESTROY: return OnDestroy(hwnd);
    case WM_SIZE: return OnSize(hwnd, record);
    case WM_ERASEBKGND: return OnEraseBackground(hwnd, record);
    case WM_LBUTTONDOWN: return OnPenDown(hwnd, record, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_LBUTTONUP: return OnPenUp(hwnd, record, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_TIMER: return OnTimer(hwnd, record, wParam);
    case WM_KEYDOWN: return OnKey(hwnd, record, msg, wParam, lParam);
    case WM_KEYUP: return OnKey(hwnd, record, msg, wParam, lParam);
    case WM_CHAR: return OnChar(hwnd, record, wParam, lParam);
    case WM_SETTEXT: return OnEditMessage(hwnd, record, msg, wParam, lParam);
    case WM_GETTEXT: return OnEditMessage(hwnd, record, msg, wParam, lParam);
    case WM_GETTEXTLENGTH: return OnEditMessage(hwnd, record, msg, wParam, lParam);
    case WM_COMMAND: return OnCommand(hwnd, record, wParam, lParam);
    case WM_GETDLGCODE: return Hidden(record, msg, wParam, lParam);  // the keys the EDIT control wants
    case WM_SETFOCUS: return OnSetFocus(hwnd, record);
    case WM_KILLFOCUS: return OnKillFocus(record);
    case WM_ACTIVATE: return OnActivate(hwnd);
    default: return OnOtherMessage(hwnd, record, msg, wParam, lParam);
  }
}

}  // namespace

LRESULT CALLBACK LandscapeEditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
  LandscapeEditorRecord* record = Record(hwnd);
  if (record == nullptr) return DefWindowProc(hwnd, msg, wParam, lParam);
  return Dispatch(hwnd, *record, msg, wParam, lParam);
}

HWND LandscapeHiddenEdit(HWND editor) {
  WCHAR name[32] = {};
  if (editor == nullptr || GetClassName(editor, name, 32) == 0 || std::u16string(name) != kLandscapeEditorClass) {
    return nullptr;
  }
  const LandscapeEditorRecord* record = Record(editor);
  return record != nullptr ? record->hiddenEdit : nullptr;
}
