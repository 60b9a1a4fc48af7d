// The text of an editor around its caret, as the main screen reads it to follow the word being
// typed: the whole text, the caret, the word before the caret and the end of the word after it.
// Works on any window that answers the text and EM_GETSEL messages (both note editors do).
#pragma once

#include <device/windows.h>

#include <string>

// The word before the caret ends at one of these: space , . : / ( ) LF CR.
inline constexpr WCHAR kCaretWordSeparators[] = u" ,.:/()\n\r";
// The word before the caret is gathered into a buffer of this many characters, terminator
// included; a longer run keeps the characters nearest the caret.
constexpr int kCaretWordRoom = 198;

// The editor's whole text; empty for none.
std::u16string EditorText(HWND editor);

// The start of the editor's selection (the caret when nothing is selected).
DWORD SelectionStart(HWND editor);

bool IsCaretWordSeparator(WCHAR c);

// The characters before the caret back to the previous separator, in reading order.
void WordBeforeCaret(HWND editor, WCHAR (&word)[kCaretWordRoom]);

// The index where the word the caret stands in ends: from the caret forward over the
// characters that are no separator.
size_t WordEndAfterCaret(HWND editor);
