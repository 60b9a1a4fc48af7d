// MyEditWindowClass: the portrait note editor. The main screen creates a platform EDIT control
// and replaces its window procedure by this one; the editor keeps no state of its own, the text
// lives in the EDIT control.
//
// Messages the EDIT control would act on in a way the main screen must know about:
//   WM_CHAR      a character typed on the keyboard goes to the parent as the on-screen
//                keyboards send theirs (KeyboardInputMessage: a character, Backspace, Tab,
//                Enter), so that the word tracker sees it and prediction follows; of the
//                characters the parent sends, LF becomes CR for the EDIT control (a line
//                break) and a CR is not inserted but handed to the parent after
//                CaretMovedMessage
//   WM_KEYDOWN,  CaretMovedMessage to the parent first; Enter and the application keys
//   WM_KEYUP     0xC1-0xC4 go to the parent instead of the EDIT control
//   WM_LBUTTONUP CaretMovedMessage to the parent first
#include "editor/note_editor.h"

#include "common/messages.h"

#include <device/edit.h>

namespace {

constexpr WCHAR kEditClass[] = u"EDIT";
constexpr WPARAM kLineFeed = 10;
constexpr WPARAM kCarriageReturn = 13;

// The EDIT class's procedure, looked up by name on every message so that the editor never
// holds a stale procedure.
LRESULT CallEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDCLASSW edit{};
  if (!GetClassInfo(nullptr, kEditClass, &edit) || edit.lpfnWndProc == nullptr) {
    return DefWindowProc(hwnd, msg, wParam, lParam);
  }
  return CallWindowProc(edit.lpfnWndProc, hwnd, msg, wParam, lParam);
}

void ReportCaretMoved(HWND hwnd) { SendMessage(GetParent(hwnd), CaretMovedMessage, 0, 0); }

bool IsParentsKey(WPARAM key) { return key == VK_RETURN || (key >= VK_APP1 && key <= VK_APP4); }

// The keyboard input code of a character typed on the keyboard; -1 for a control character
// the on-screen keyboards do not type.
int KeyboardInputCode(WPARAM ch) {
  switch (ch) {
    case 8: return static_cast<int>(kInputBackspace);
    case 9: return static_cast<int>(kInputTab);
    case kCarriageReturn: return static_cast<int>(kInputEnter);
    default: return ch >= 0x20 ? static_cast<int>(kInputCharacter) : -1;
  }
}

}  // namespace

bool ForwardTypedCharacter(HWND editor, WPARAM ch, LPARAM lParam, LRESULT* result) {
  const int code = IsKeyboardCharacter(lParam) ? KeyboardInputCode(ch) : -1;
  if (code < 0) return false;
  const WCHAR text[2] = {static_cast<WCHAR>(ch), 0};
  *result = SendMessage(GetParent(editor), KeyboardInputMessage, static_cast<WPARAM>(code), reinterpret_cast<LPARAM>(text));
  return true;
}

namespace {

LRESULT OnChar(HWND hwnd, WPARAM ch, LPARAM lParam) {
  LRESULT result = 0;
  if (ForwardTypedCharacter(hwnd, ch, lParam, &result)) return result;
  if (ch == kLineFeed) return CallEditProc(hwnd, WM_CHAR, kCarriageReturn, lParam);
  if (ch != kCarriageReturn) return CallEditProc(hwnd, WM_CHAR, ch, lParam);
  ReportCaretMoved(hwnd);
  return SendMessage(GetParent(hwnd), WM_CHAR, ch, lParam);
}

LRESULT OnKey(HWND hwnd, UINT msg, WPARAM key, LPARAM lParam) {
  ReportCaretMoved(hwnd);
  if (IsParentsKey(key)) return SendMessage(GetParent(hwnd), msg, key, lParam);
  return CallEditProc(hwnd, msg, key, lParam);
}

LRESULT OnPenUp(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  ReportCaretMoved(hwnd);
  return CallEditProc(hwnd, WM_LBUTTONUP, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK NoteEditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CHAR: return OnChar(hwnd, wParam, lParam);
    case WM_KEYDOWN: return OnKey(hwnd, msg, wParam, lParam);
    case WM_KEYUP: return OnKey(hwnd, msg, wParam, lParam);
    case WM_LBUTTONUP: return OnPenUp(hwnd, wParam, lParam);
    default: return CallEditProc(hwnd, msg, wParam, lParam);
  }
}

void MakeNoteEditor(HWND edit) {
  WNDCLASSW editor{};
  WNDPROC proc = GetClassInfo(nullptr, kNoteEditorClass, &editor) ? editor.lpfnWndProc : NoteEditorProc;
  SetWindowLong(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  SendMessage(edit, EM_LIMITTEXT, kNoteTextLimit, 0);
}
