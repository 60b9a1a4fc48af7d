// The EDIT control: the device's standard text-entry window (class "EDIT"), single-line or
// multi-line, created by programs and dialogs and often subclassed through GetClassInfo.
//
// Implemented (Win32 semantics):
//   styles    ES_LEFT, ES_CENTER, ES_RIGHT, ES_MULTILINE (word wrap at the client width unless
//             ES_AUTOHSCROLL), ES_AUTOHSCROLL, ES_READONLY, ES_WANTRETURN, ES_NUMBER,
//             ES_UPPERCASE, ES_LOWERCASE, ES_NOHIDESEL, WS_VSCROLL, WS_DISABLED (grey text)
//   messages  WM_CHAR, WM_KEYDOWN (arrows, Home, End, Page Up/Down, Delete; Shift extends the
//             selection), WM_KEYUP, pen down/move/up (the pen places the caret, dragging
//             selects, capture held meanwhile), WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH,
//             WM_SETFONT, WM_GETFONT, WM_SETFOCUS, WM_KILLFOCUS (the caret lives while the
//             control has the focus), WM_ENABLE, WM_SIZE, WM_PAINT, WM_GETDLGCODE, WM_VSCROLL,
//             EM_GETSEL, EM_SETSEL, EM_REPLACESEL, EM_LINEINDEX, EM_LINELENGTH,
//             EM_LINEFROMCHAR, EM_GETLINECOUNT, EM_GETFIRSTVISIBLELINE, EM_LINESCROLL,
//             EM_SCROLL, EM_SCROLLCARET, EM_POSFROMCHAR, EM_CHARFROMPOS, EM_GETLINE,
//             EM_LIMITTEXT (EM_SETLIMITTEXT), EM_GETLIMITTEXT, EM_SETREADONLY, EM_GETMODIFY,
//             EM_SETMODIFY, EM_CANUNDO and EM_UNDO (always FALSE)
//   notices   WM_COMMAND to the parent (the owner of a pop-up): EN_SETFOCUS, EN_KILLFOCUS,
//             EN_UPDATE then EN_CHANGE after user input and EM_REPLACESEL (after WM_SETTEXT
//             only in single-line controls: Win32 documents that multi-line controls send no
//             EN_CHANGE for WM_SETTEXT), EN_MAXTEXT, EN_VSCROLL (scroll-bar input)
// Not implemented: undo, clipboard, passwords, EM_SETRECT/EM_GETRECT, EM_SETMARGINS, tab stops
// other than every 8 average character widths, WM_CTLCOLOR*, double-tap word selection,
// caret blinking. Line breaks are CR LF, and also a lone CR or LF.
// Differences from Win32: the scroll bar is drawn inside the client area (the window manager
// has no non-client scroll bars); a single-line control without ES_AUTOHSCROLL scrolls like
// one with it instead of refusing text that does not fit; EM_CHARFROMPOS answers -1 for a
// point outside the client area; the default text limit is 32767 characters for both kinds;
// EN_UPDATE and EN_CHANGE are both sent when the text changes, and the screen follows when
// the message loop repaints (Win32 repaints between the two).
#include "internal/edit_state.h"
#include "internal/system_classes.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <climits>
#include <string>

namespace device::internal {

EditState* StateOf(HWND hwnd) { return reinterpret_cast<EditState*>(GetWindowLong(hwnd, 0)); }

namespace {

// Repeats a held scroll-bar action. An unusual id, because a subclass's own timers on the
// control pass through this procedure too and must not be taken for it.
constexpr UINT_PTR kRepeatTimer = 0xED17;
constexpr UINT kRepeatFirstMs = 300;
constexpr UINT kRepeatNextMs = 100;

int SignedParam(WPARAM v) { return static_cast<int>(static_cast<LONG_PTR>(v)); }
int SignedParam(LPARAM v) { return static_cast<int>(v); }

// Sends a notification; answers whether the control survived the parent's reaction.
bool Notify(EditState& s, WORD code) {
  HWND hwnd = s.hwnd;
  if (s.notify) {
    SendMessage(s.notify, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd)), code),
                reinterpret_cast<LPARAM>(hwnd));
  }
  return IsWindow(hwnd) && StateOf(hwnd) == &s;
}

void NotifyChanged(EditState& s) {
  if (Notify(s, EN_UPDATE)) Notify(s, EN_CHANGE);
}

int LineHeight(const EditState& s) { return s.measure.LineHeight(); }
int CaretLine(const EditState& s) { return s.buffer.LineFromChar(s.caret); }

void PlaceCaret(EditState& s) {
  if (!s.focused) return;
  const int line = CaretLine(s);
  int x = EditLineOriginX(s, line) + s.buffer.XOfChar(line, s.caret);
  // Blanks at the end of a wrapped line hang past the edge; the caret stays at the edge
  // rather than over the scroll bar.
  if (s.Wraps()) x = std::min(x, static_cast<int>(EditTextRect(s).right));
  SetCaretPos(x, EditLineTop(s, line));
}

void InvalidateAll(EditState& s) { InvalidateRect(s.hwnd, nullptr, FALSE); }

// Lines first..last (last < 0: to the bottom), across the whole text width.
void InvalidateLines(EditState& s, int first, int last) {
  RECT text = EditTextRect(s);
  RECT r{0, std::max<LONG>(0, EditLineTop(s, first)), text.right + kEditMargin, 0};
  r.bottom = last < 0 ? SHRT_MAX : EditLineTop(s, last) + LineHeight(s);
  if (r.bottom > r.top) InvalidateRect(s.hwnd, &r, FALSE);
}

void InvalidateScrollBar(EditState& s) {
  if (!s.HasScrollBar()) return;
  RECT bar = EditScrollBarParts(s).bar;
  InvalidateRect(s.hwnd, &bar, FALSE);
}

void InvalidateSelection(EditState& s) {
  if (s.anchor == s.caret) return;
  InvalidateLines(s, s.buffer.LineFromChar(s.SelStart()), s.buffer.LineFromChar(s.SelEnd()));
}

// Scrolls to the given first line and sideways offset (clamped); answers lines moved.
int ScrollTo(EditState& s, int firstLine, int xOffset) {
  firstLine = s.Multiline() ? std::clamp(firstLine, 0, EditMaxFirstLine(s)) : 0;
  xOffset = s.Wraps() ? 0 : std::max(0, xOffset);
  const int moved = firstLine - s.firstLine;
  if (moved == 0 && xOffset == s.xOffset) return 0;
  s.firstLine = firstLine;
  s.xOffset = xOffset;
  InvalidateAll(s);
  PlaceCaret(s);
  return moved;
}

void ScrollCaretIntoView(EditState& s) {
  const int line = CaretLine(s);
  int first = s.firstLine;
  if (line < first) first = line;
  if (line >= first + EditVisibleLines(s)) first = line - EditVisibleLines(s) + 1;
  int xOffset = s.xOffset;
  if (!s.Wraps()) {
    // Sideways, jump a quarter of the width at a time as Win32 does, not a pixel per key.
    const RECT text = EditTextRect(s);
    const int width = std::max<int>(1, text.right - text.left);
    const int x = EditLineOriginX(s, line) + s.buffer.XOfChar(line, s.caret);
    if (x < text.left) xOffset = std::max(0, xOffset - (text.left - x) - width / 4);
    if (x >= text.right) xOffset += x - text.right + 1 + width / 4;
  }
  ScrollTo(s, first, xOffset);
}

void SetSelection(EditState& s, int anchor, int caret) {
  const int length = s.buffer.Length();
  anchor = std::clamp(anchor, 0, length);
  caret = std::clamp(caret, 0, length);
  if (anchor == s.anchor && caret == s.caret) return;
  const bool shown = s.focused || (s.style & ES_NOHIDESEL);
  if (shown) InvalidateSelection(s);
  s.anchor = anchor;
  s.caret = caret;
  if (shown) InvalidateSelection(s);
  PlaceCaret(s);
}

// Lays the buffer out for the current size, style and font.
void Configure(EditState& s) {
  const RECT text = EditTextRect(s);
  s.buffer.Configure(s.Multiline(), s.Wraps(), text.right - text.left);
}

// Replaces the selection, cut to the text limit when `limited`; the caret ends after the new
// text. Answers whether anything changed; the caller sends EN_UPDATE / EN_CHANGE.
bool ReplaceSelection(EditState& s, std::u16string_view text, bool limited, bool* truncated) {
  const int from = s.SelStart();
  const int to = s.SelEnd();
  *truncated = false;
  if (limited) {
    const long long room = static_cast<long long>(s.limit) - (s.buffer.Length() - (to - from));
    if (static_cast<long long>(text.size()) > room) {
      size_t keep = static_cast<size_t>(std::max(0LL, room));
      // Never keep half of a CR LF pair or of a surrogate pair.
      if (keep > 0 && keep < text.size() &&
          ((text[keep - 1] == u'\r' && text[keep] == u'\n') ||
           (text[keep - 1] >= 0xD800 && text[keep - 1] < 0xDC00))) {
        --keep;
      }
      text = text.substr(0, keep);
      *truncated = true;
    }
  }
  if (text.empty() && from == to) return false;
  const int oldCount = s.buffer.LineCount();
  const EditBuffer::Change change = s.buffer.Replace(from, to, text);
  s.anchor = s.caret = from + static_cast<int>(text.size());
  s.columnX = -1;
  s.modified = true;
  if (!s.Wraps() || (s.style & (ES_CENTER | ES_RIGHT))) {
    InvalidateAll(s);  // the line may have moved sideways
  } else {
    InvalidateLines(s, change.firstLine, change.countChanged ? -1 : change.lastLine);
  }
  if (s.buffer.LineCount() != oldCount) {
    InvalidateScrollBar(s);
    ScrollTo(s, s.firstLine, s.xOffset);  // clamps when lines went away
  }
  ScrollCaretIntoView(s);
  PlaceCaret(s);
  return true;
}

// Replaces the selection by what the user typed and tells the parent.
void TypeText(EditState& s, std::u16string_view text) {
  bool truncated = false;
  const bool changed = ReplaceSelection(s, text, true, &truncated);
  if (truncated && !Notify(s, EN_MAXTEXT)) return;
  if (changed) NotifyChanged(s);
}

int CharFromPoint(const EditState& s, int x, int y, int* lineOut) {
  int line = 0;
  if (s.Multiline()) {
    const int top = EditTextRect(s).top;
    const int offset = y >= top ? (y - top) / LineHeight(s) : -((top - y - 1) / LineHeight(s) + 1);
    line = std::clamp(s.firstLine + offset, 0, s.buffer.LineCount() - 1);
  }
  if (lineOut) *lineOut = line;
  return s.buffer.CharFromX(line, x - EditLineOriginX(s, line));
}

// Moves the caret by a key: extends the selection while Shift is down.
void MoveCaret(EditState& s, int index) {
  SetSelection(s, s.shiftDown ? s.anchor : index, index);
  ScrollCaretIntoView(s);
}

// The caret index on `line` under the remembered column.
int IndexInColumn(EditState& s, int line) {
  if (s.columnX < 0) {
    const int caretLine = CaretLine(s);
    s.columnX = EditLineOriginX(s, caretLine) + s.buffer.XOfChar(caretLine, s.caret);
  }
  return s.buffer.CharFromX(line, s.columnX - EditLineOriginX(s, line));
}

void MoveLines(EditState& s, int lines) {
  const int target = std::clamp(CaretLine(s) + lines, 0, s.buffer.LineCount() - 1);
  MoveCaret(s, IndexInColumn(s, target));
}

void DeleteAtCaret(EditState& s, bool forward) {
  if (s.ReadOnly()) return;
  if (s.anchor == s.caret) {
    const int other = forward ? s.buffer.NextBoundary(s.caret) : s.buffer.PreviousBoundary(s.caret);
    if (other == s.caret) return;
    s.anchor = other;
  }
  TypeText(s, u"");
}

void DoBarAction(EditState& s, PenAction action) {
  const int page = EditVisibleLines(s);
  int lines = 0;
  switch (action) {
    case PenAction::BarLineUp: lines = -1; break;
    case PenAction::BarLineDown: lines = 1; break;
    case PenAction::BarPageUp: lines = -page; break;
    case PenAction::BarPageDown: lines = page; break;
    default: return;
  }
  if (Notify(s, EN_VSCROLL)) ScrollTo(s, s.firstLine + lines, s.xOffset);
}

void DragThumb(EditState& s, int y) {
  const EditScrollBar parts = EditScrollBarParts(s);
  const int span = (parts.track.bottom - parts.track.top) - (parts.thumb.bottom - parts.thumb.top);
  if (span <= 0) return;
  const int offset = std::clamp(y - s.thumbGrab - static_cast<int>(parts.track.top), 0, span);
  const int first = (offset * EditMaxFirstLine(s) + span / 2) / span;
  if (first != s.firstLine && Notify(s, EN_VSCROLL)) ScrollTo(s, first, s.xOffset);
}

void PenDownOnScrollBar(EditState& s, POINT pt) {
  const EditScrollBar parts = EditScrollBarParts(s);
  PenAction action;
  if (PtInRect(&parts.up, pt)) {
    action = PenAction::BarLineUp;
  } else if (PtInRect(&parts.down, pt)) {
    action = PenAction::BarLineDown;
  } else if (PtInRect(&parts.thumb, pt)) {
    action = PenAction::BarThumb;
  } else if (IsRectEmpty(&parts.thumb)) {
    return;  // nothing to scroll
  } else {
    action = pt.y < parts.thumb.top ? PenAction::BarPageUp : PenAction::BarPageDown;
  }
  s.pen = action;
  s.thumbGrab = pt.y - parts.thumb.top;
  SetCapture(s.hwnd);
  if (action == PenAction::BarThumb) return;
  SetTimer(s.hwnd, kRepeatTimer, kRepeatFirstMs, nullptr);
  DoBarAction(s, action);
}

// --- message handlers ---

LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  SetWindowLong(hwnd, 0, reinterpret_cast<LONG_PTR>(new EditState(hwnd)));
  return DefWindowProc(hwnd, WM_NCCREATE, wParam, lParam);
}

LRESULT OnCreate(EditState& s, const CREATESTRUCTW* cs) {
  s.notify = cs->hwndParent;
  s.style = static_cast<DWORD>(cs->style);
  Configure(s);
  if (cs->lpszName) s.buffer.SetText(cs->lpszName);
  return 0;
}

LRESULT OnNcDestroy(HWND hwnd, EditState* s) {
  SetWindowLong(hwnd, 0, 0);
  delete s;
  return DefWindowProc(hwnd, WM_NCDESTROY, 0, 0);
}

LRESULT OnSize(EditState& s) {
  Configure(s);
  ScrollTo(s, s.firstLine, s.xOffset);
  InvalidateAll(s);
  PlaceCaret(s);
  return 0;
}

LRESULT OnPaint(EditState& s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(s.hwnd, &ps);
  if (dc) PaintEdit(s, dc, ps.rcPaint);
  EndPaint(s.hwnd, &ps);
  return 0;
}

LRESULT OnSetFocus(EditState& s) {
  s.focused = true;
  CreateCaret(s.hwnd, nullptr, 1, LineHeight(s));
  PlaceCaret(s);
  ShowCaret(s.hwnd);
  if (!(s.style & ES_NOHIDESEL)) InvalidateSelection(s);
  Notify(s, EN_SETFOCUS);
  return 0;
}

LRESULT OnKillFocus(EditState& s) {
  s.focused = false;
  s.shiftDown = false;
  DestroyCaret();
  if (!(s.style & ES_NOHIDESEL)) InvalidateSelection(s);
  Notify(s, EN_KILLFOCUS);
  return 0;
}

LRESULT OnSetText(EditState& s, LPCWSTR text) {
  s.buffer.SetText(text ? text : u"");
  s.anchor = s.caret = 0;
  s.firstLine = s.xOffset = 0;
  s.columnX = -1;
  s.modified = false;
  InvalidateAll(s);
  PlaceCaret(s);
  if (!s.Multiline()) NotifyChanged(s);
  return TRUE;
}

LRESULT OnGetText(EditState& s, WPARAM maxCount, LPWSTR buffer) {
  if (!buffer || maxCount == 0) return 0;
  const size_t n = std::min<size_t>(s.buffer.Text().size(), maxCount - 1);
  std::copy_n(s.buffer.Text().data(), n, buffer);
  buffer[n] = 0;
  return static_cast<LRESULT>(n);
}

LRESULT OnSetFont(EditState& s, HFONT font, BOOL redraw) {
  s.font = font;
  s.measure.SetFont(font);
  Configure(s);
  ScrollTo(s, s.firstLine, s.xOffset);
  if (s.focused) {
    // The caret's height follows the line height.
    DestroyCaret();
    CreateCaret(s.hwnd, nullptr, 1, LineHeight(s));
    PlaceCaret(s);
    ShowCaret(s.hwnd);
  }
  if (redraw) InvalidateAll(s);
  return 0;
}

LRESULT OnChar(EditState& s, WPARAM ch) {
  if (s.ReadOnly()) return 0;
  switch (ch) {
    case 8: DeleteAtCaret(s, false); return 0;
    case 10:
    case 13: if (s.Multiline()) TypeText(s, u"\r\n"); return 0;
    case 9: if (s.Multiline()) TypeText(s, u"\t"); return 0;
    default: break;
  }
  if (ch < 0x20 || ch == 0x7F || ch > 0xFFFF) return 0;
  char16_t c = static_cast<char16_t>(ch);
  if ((s.style & ES_NUMBER) && (c < u'0' || c > u'9')) return 0;
  if (s.style & ES_UPPERCASE) c = static_cast<char16_t>(u_toupper(c));
  if (s.style & ES_LOWERCASE) c = static_cast<char16_t>(u_tolower(c));
  TypeText(s, std::u16string_view(&c, 1));
  return 0;
}

LRESULT OnKeyDown(EditState& s, WPARAM key) {
  const EditBuffer& b = s.buffer;
  const bool keepColumn = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
  if (!keepColumn && key != VK_SHIFT) s.columnX = -1;
  switch (key) {
    case VK_SHIFT: s.shiftDown = true; break;
    case VK_LEFT: MoveCaret(s, b.PreviousBoundary(s.caret)); break;
    case VK_RIGHT: MoveCaret(s, b.NextBoundary(s.caret)); break;
    case VK_UP: MoveLines(s, -1); break;
    case VK_DOWN: MoveLines(s, 1); break;
    case VK_PRIOR: MoveLines(s, -EditVisibleLines(s)); break;
    case VK_NEXT: MoveLines(s, EditVisibleLines(s)); break;
    case VK_HOME: MoveCaret(s, b.LineStart(CaretLine(s))); break;
    case VK_END: MoveCaret(s, b.CharFromX(CaretLine(s), INT_MAX / 2)); break;
    case VK_DELETE: DeleteAtCaret(s, true); break;
    default: break;
  }
  return 0;
}

LRESULT OnKeyUp(EditState& s, WPARAM key) {
  if (key == VK_SHIFT) s.shiftDown = false;
  return 0;
}

LRESULT OnLButtonDown(EditState& s, LPARAM pos) {
  const POINT pt{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  if (s.HasScrollBar() && pt.x >= EditScrollBarParts(s).bar.left) {
    PenDownOnScrollBar(s, pt);
    return 0;
  }
  if (!s.focused) SetFocus(s.hwnd);
  if (!IsWindow(s.hwnd) || StateOf(s.hwnd) != &s) return 0;
  const int index = CharFromPoint(s, pt.x, pt.y, nullptr);
  s.columnX = -1;
  s.pen = PenAction::Selecting;
  SetCapture(s.hwnd);
  SetSelection(s, s.shiftDown ? s.anchor : index, index);
  ScrollCaretIntoView(s);
  return 0;
}

LRESULT OnMouseMove(EditState& s, LPARAM pos) {
  if (s.pen == PenAction::Selecting) {
    SetSelection(s, s.anchor, CharFromPoint(s, GET_X_LPARAM(pos), GET_Y_LPARAM(pos), nullptr));
    ScrollCaretIntoView(s);
  } else if (s.pen == PenAction::BarThumb) {
    DragThumb(s, GET_Y_LPARAM(pos));
  }
  return 0;
}

LRESULT OnLButtonUp(EditState& s) {
  if (s.pen == PenAction::None) return 0;
  s.pen = PenAction::None;  // before ReleaseCapture, which sends WM_CAPTURECHANGED
  KillTimer(s.hwnd, kRepeatTimer);
  ReleaseCapture();
  return 0;
}

LRESULT OnCaptureChanged(EditState& s) {
  s.pen = PenAction::None;
  KillTimer(s.hwnd, kRepeatTimer);
  return 0;
}

LRESULT OnTimer(EditState& s, WPARAM id) {
  if (id != kRepeatTimer) return 0;
  if (s.pen == PenAction::None || s.pen == PenAction::Selecting || s.pen == PenAction::BarThumb) {
    KillTimer(s.hwnd, kRepeatTimer);
    return 0;
  }
  SetTimer(s.hwnd, kRepeatTimer, kRepeatNextMs, nullptr);
  DoBarAction(s, s.pen);
  return 0;
}

LRESULT OnVScroll(EditState& s, WPARAM wParam) {
  int first = s.firstLine;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: first -= 1; break;
    case SB_LINEDOWN: first += 1; break;
    case SB_PAGEUP: first -= EditVisibleLines(s); break;
    case SB_PAGEDOWN: first += EditVisibleLines(s); break;
    case SB_TOP: first = 0; break;
    case SB_BOTTOM: first = EditMaxFirstLine(s); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: first = HIWORD(wParam); break;
    default: return 0;
  }
  if (first != s.firstLine && Notify(s, EN_VSCROLL)) ScrollTo(s, first, s.xOffset);
  return 0;
}

LRESULT OnGetDlgCode(EditState& s) {
  LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  if (s.Multiline() && (s.style & ES_WANTRETURN)) code |= DLGC_WANTALLKEYS;
  return code;
}

LRESULT OnGetSel(EditState& s, WPARAM startOut, LPARAM endOut) {
  if (startOut) *reinterpret_cast<DWORD*>(startOut) = static_cast<DWORD>(s.SelStart());
  if (endOut) *reinterpret_cast<DWORD*>(endOut) = static_cast<DWORD>(s.SelEnd());
  return MAKELRESULT(static_cast<WORD>(std::min(s.SelStart(), 0xFFFF)),
                     static_cast<WORD>(std::min(s.SelEnd(), 0xFFFF)));
}

LRESULT OnSetSel(EditState& s, int start, int end) {
  s.columnX = -1;
  if (start == -1) {
    SetSelection(s, s.caret, s.caret);  // -1 removes the selection, the caret stays
    return 0;
  }
  if (end < 0) end = s.buffer.Length();
  SetSelection(s, start < 0 ? 0 : start, end);
  return 0;
}

LRESULT OnReplaceSel(EditState& s, LPCWSTR text) {
  bool truncated = false;
  const bool changed = ReplaceSelection(s, text ? text : u"", true, &truncated);
  if (truncated && !Notify(s, EN_MAXTEXT)) return 0;
  if (changed) NotifyChanged(s);
  return 0;
}

LRESULT OnLineIndex(EditState& s, int line) {
  if (!s.Multiline()) return line <= 0 ? 0 : -1;
  if (line < 0) line = CaretLine(s);
  return line < s.buffer.LineCount() ? s.buffer.LineStart(line) : -1;
}

LRESULT OnLineLength(EditState& s, int index) {
  const EditBuffer& b = s.buffer;
  if (!s.Multiline()) return b.Length();
  if (index < 0) {
    // The unselected characters on the lines the selection touches.
    const int first = b.LineFromChar(s.SelStart());
    const int last = b.LineFromChar(s.SelEnd());
    return (s.SelStart() - b.LineStart(first)) + std::max(0, b.LineEnd(last) - s.SelEnd());
  }
  if (index > b.Length()) return 0;
  return b.LineLength(b.LineFromChar(index));
}

LRESULT OnLineFromChar(EditState& s, int index) {
  if (!s.Multiline()) return 0;
  if (index < 0) return s.buffer.LineFromChar(s.anchor == s.caret ? s.caret : s.SelStart());
  return s.buffer.LineFromChar(std::min(index, s.buffer.Length()));
}

LRESULT OnGetLineCount(EditState& s) { return s.Multiline() ? s.buffer.LineCount() : 1; }

LRESULT OnGetFirstVisibleLine(EditState& s) {
  // A single-line control answers the first visible character instead.
  if (!s.Multiline()) return s.buffer.CharFromX(0, s.xOffset);
  return s.firstLine;
}

LRESULT OnLineScroll(EditState& s, int chars, int lines) {
  if (!s.Multiline()) return FALSE;
  ScrollTo(s, s.firstLine + lines, s.xOffset + chars * s.measure.AveCharWidth());
  return TRUE;
}

LRESULT OnScroll(EditState& s, WPARAM code) {
  if (!s.Multiline()) return FALSE;
  const int page = EditVisibleLines(s);
  int lines = 0;
  switch (code) {
    case SB_LINEUP: lines = -1; break;
    case SB_LINEDOWN: lines = 1; break;
    case SB_PAGEUP: lines = -page; break;
    case SB_PAGEDOWN: lines = page; break;
    default: return FALSE;
  }
  const int moved = ScrollTo(s, s.firstLine + lines, s.xOffset);
  return MAKELRESULT(static_cast<WORD>(moved), TRUE);
}

LRESULT OnScrollCaret(EditState& s) {
  ScrollCaretIntoView(s);
  return TRUE;
}

LRESULT OnPosFromChar(EditState& s, int index) {
  if (index < 0 || index >= s.buffer.Length()) return -1;
  const int line = s.buffer.LineFromChar(index);
  const int x = EditLineOriginX(s, line) + s.buffer.XOfChar(line, index);
  return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(EditLineTop(s, line)));
}

LRESULT OnCharFromPos(EditState& s, LPARAM pos) {
  const POINT pt{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  RECT client;
  GetClientRect(s.hwnd, &client);
  if (!PtInRect(&client, pt)) return -1;
  int line = 0;
  const int index = CharFromPoint(s, pt.x, pt.y, &line);
  return MAKELRESULT(static_cast<WORD>(index), static_cast<WORD>(line));
}

LRESULT OnGetLine(EditState& s, int line, LPWSTR buffer) {
  if (!buffer) return 0;
  if (!s.Multiline()) line = 0;
  if (line < 0 || line >= s.buffer.LineCount()) return 0;
  // The first word of the buffer holds its size in characters; no terminator is written.
  const int room = *reinterpret_cast<const WORD*>(buffer);
  const int n = std::min(room, s.buffer.LineLength(line));
  std::copy_n(s.buffer.Text().data() + s.buffer.LineStart(line), n, buffer);
  return n;
}

LRESULT OnLimitText(EditState& s, WPARAM limit) {
  s.limit = limit == 0 || limit > 0x7FFFFFFE ? 0x7FFFFFFE : static_cast<int>(limit);
  return 0;
}

LRESULT OnSetReadOnly(EditState& s, WPARAM readOnly) {
  s.style = readOnly ? (s.style | ES_READONLY) : (s.style & ~ES_READONLY);
  const DWORD style = static_cast<DWORD>(GetWindowLong(s.hwnd, GWL_STYLE));
  SetWindowLong(s.hwnd, GWL_STYLE, readOnly ? (style | ES_READONLY) : (style & ~ES_READONLY));
  InvalidateAll(s);
  return TRUE;
}

LRESULT OnSetModify(EditState& s, WPARAM modified) {
  s.modified = modified != 0;
  return 0;
}

LRESULT CALLBACK EditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  EditState* state = StateOf(hwnd);
  if (!state) {
    if (msg == WM_NCCREATE) return OnNcCreate(hwnd, wParam, lParam);
    return DefWindowProc(hwnd, msg, wParam, lParam);
  }
  EditState& s = *state;
  switch (msg) {
    case WM_CREATE: return OnCreate(s, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_NCDESTROY: return OnNcDestroy(hwnd, state);
    case WM_SIZE: return OnSize(s);
    case WM_PAINT: return OnPaint(s);
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills every pixel
    case WM_ENABLE: InvalidateAll(s); return 0;
    case WM_SETFOCUS: return OnSetFocus(s);
    case WM_KILLFOCUS: return OnKillFocus(s);
    case WM_SETTEXT: return OnSetText(s, reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT: return OnGetText(s, wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH: return s.buffer.Length();
    case WM_SETFONT: return OnSetFont(s, reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_CHAR: return OnChar(s, wParam);
    case WM_KEYDOWN: return OnKeyDown(s, wParam);
    case WM_KEYUP: return OnKeyUp(s, wParam);
    case WM_LBUTTONDOWN: return OnLButtonDown(s, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(s, lParam);
    case WM_LBUTTONUP: return OnLButtonUp(s);
    case WM_CAPTURECHANGED: return OnCaptureChanged(s);
    case WM_TIMER: return OnTimer(s, wParam);
    case WM_VSCROLL: return OnVScroll(s, wParam);
    case WM_GETDLGCODE: return OnGetDlgCode(s);
    case EM_GETSEL: return OnGetSel(s, wParam, lParam);
    case EM_SETSEL: return OnSetSel(s, SignedParam(wParam), SignedParam(lParam));
    case EM_REPLACESEL: return OnReplaceSel(s, reinterpret_cast<LPCWSTR>(lParam));
    case EM_LINEINDEX: return OnLineIndex(s, SignedParam(wParam));
    case EM_LINELENGTH: return OnLineLength(s, SignedParam(wParam));
    case EM_LINEFROMCHAR: return OnLineFromChar(s, SignedParam(wParam));
    case EM_GETLINECOUNT: return OnGetLineCount(s);
    case EM_GETFIRSTVISIBLELINE: return OnGetFirstVisibleLine(s);
    case EM_LINESCROLL: return OnLineScroll(s, SignedParam(wParam), SignedParam(lParam));
    case EM_SCROLL: return OnScroll(s, wParam);
    case EM_SCROLLCARET: return OnScrollCaret(s);
    case EM_POSFROMCHAR: return OnPosFromChar(s, SignedParam(wParam));
    case EM_CHARFROMPOS: return OnCharFromPos(s, lParam);
    case EM_GETLINE: return OnGetLine(s, SignedParam(wParam), reinterpret_cast<LPWSTR>(lParam));
    case EM_LIMITTEXT: return OnLimitText(s, wParam);
    case EM_GETLIMITTEXT: return s.limit;
    case EM_SETREADONLY: return OnSetReadOnly(s, wParam);
    case EM_GETMODIFY: return s.modified ? TRUE : FALSE;
    case EM_SETMODIFY: return OnSetModify(s, wParam);
    case EM_CANUNDO: return FALSE;
    case EM_UNDO: return FALSE;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

void RegisterEditClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = EditWndProc;
  wc.cbWndExtra = sizeof(EditState*);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = u"EDIT";
  RegisterClass(&wc);  // refused, harmlessly, when already registered
}

}  // namespace device::internal
