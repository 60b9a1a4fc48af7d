// The device's rich-ink control ("richink.dll", built in): a window class "richink" that holds
// a document and converts it through Win32's stream messages, EM_STREAMIN and EM_STREAMOUT.
//
// Stream-in reads a document (SF_PWI, the control's own format) in one of three encodings:
//   UTF-16LE       the bytes start with FF FE (the byte-order mark is not part of the text),
//                  or, without a mark, each of the first characters (up to eight, or up to a
//                  zero character) has a zero high byte and a non-zero low byte
//   UTF-8          the bytes start with EF BB BF, or, without a byte-order mark, every byte
//                  sequence is valid UTF-8 (pure ASCII is both UTF-8 and 8-bit text: same text)
//   8-bit text     anything else, read as Windows-1252
// The document ends at its first zero character (a note file's closing 16-bit zero is not
// text). Stream-out gives the text as plain UTF-16LE (SF_TEXT | SF_UNICODE): no byte-order
// mark, no terminator. Line breaks pass through unchanged.
//
// The programs stream in with SF_PWI | SF_RTF (0x10802) and out with SF_TEXT | SF_UNICODE
// (0x11); those are the only formats implemented. Other formats, selection streaming
// (SFF_SELECTION), drawing and ink are not implemented.
#pragma once

#include <device/user.h>

constexpr UINT EM_STREAMIN = WM_USER + 73;
constexpr UINT EM_STREAMOUT = WM_USER + 74;

// Stream formats (wParam of EM_STREAMIN / EM_STREAMOUT).
constexpr WPARAM SF_TEXT = 0x00000001;
constexpr WPARAM SF_RTF = 0x00000002;
constexpr WPARAM SF_UNICODE = 0x00000010;
constexpr WPARAM SF_PWI = 0x00010800;  // the rich-ink control's own document format

// Moves up to `cb` bytes between the control's `buffer` and the caller: on stream-in the
// callback fills the buffer, on stream-out it takes the bytes. It stores in `*pcb` how many
// bytes it moved (0 on stream-in ends the document) and returns 0, or an error code that
// stops the stream and lands in EDITSTREAM::dwError.
using EDITSTREAMCALLBACK = DWORD(CALLBACK*)(DWORD_PTR dwCookie, BYTE* pbBuff, LONG cb, LONG* pcb);

// lParam of EM_STREAMIN and EM_STREAMOUT.
struct EDITSTREAM {
  DWORD_PTR dwCookie;               // passed to the callback unchanged
  DWORD dwError;                    // 0, or the callback's error code (set by the control)
  EDITSTREAMCALLBACK pfnCallback;
};

// EM_STREAMIN (wParam format, lParam EDITSTREAM*): replaces the document with the streamed
// bytes and returns the number of characters read. When the callback fails, the document is
// left as it was and the result is 0.
// EM_STREAMOUT (wParam format, lParam EDITSTREAM*): hands the document to the callback in
// pieces of at most 4096 bytes and returns the number of characters written. A callback that
// fails, or takes fewer bytes than offered, ends the stream.
