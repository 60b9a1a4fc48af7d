#include "editor/caret_word.h"

#include <device/edit.h>

#include <algorithm>

std::u16string EditorText(HWND editor) {
  if (editor == nullptr) return {};
  const int length = GetWindowTextLength(editor);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int got = GetWindowText(editor, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

DWORD SelectionStart(HWND editor) {
  DWORD start = 0, end = 0;
  SendMessage(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start;
}

bool IsCaretWordSeparator(WCHAR c) {
  for (const WCHAR* p = kCaretWordSeparators; *p != 0; ++p) {
    if (*p == c) return true;
  }
  return false;
}

void WordBeforeCaret(HWND editor, WCHAR (&word)[kCaretWordRoom]) {
  word[0] = 0;
  if (editor == nullptr) return;
  const std::u16string text = EditorText(editor);
  const size_t caret = std::min<size_t>(SelectionStart(editor), text.size());
  size_t from = caret;
  while (from > 0 && !IsCaretWordSeparator(text[from - 1])) --from;
  if (caret - from > kCaretWordRoom - 1) from = caret - (kCaretWordRoom - 1);
  size_t n = 0;
  for (size_t i = from; i < caret; ++i) word[n++] = text[i];
  word[n] = 0;
}

size_t WordEndAfterCaret(HWND editor) {
  const std::u16string text = EditorText(editor);
  size_t end = std::min<size_t>(SelectionStart(editor), text.size());
  while (end < text.size() && !IsCaretWordSeparator(text[end])) ++end;
  return end;
}
