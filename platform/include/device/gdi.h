// The device's drawing API: device contexts, bitmaps, brushes, pens, fonts, text, image copies.
//
// Implemented (Win32 semantics, only the subset the programs use):
//   DCs       CreateCompatibleDC, DeleteDC, SelectObject, GetCurrentObject, GetDeviceCaps,
//             WindowFromDC, SetTextColor, SetBkColor, SetBkMode (screen DCs come from the window
//             manager: GetDC / BeginPaint)
//   objects   CreateCompatibleBitmap, CreateBitmap (32 bpp only), CreateSolidBrush, CreatePen
//             (PS_SOLID / PS_NULL), CreateFontIndirect, GetStockObject, GetObject, DeleteObject
//   pixels    BitBlt (SRCCOPY, PATCOPY, BLACKNESS, WHITENESS, DSTINVERT), TransparentImage,
//             TransparentBlt, GetPixel, SetPixel, GetNearestColor, FillRect, Rectangle,
//             MoveToEx, LineTo (horizontal and vertical lines of width 1)
//   text      TextOut, ExtTextOut (ETO_OPAQUE, ETO_CLIPPED), DrawText, GetTextExtentPoint32,
//             GetTextMetrics
// The screen is 240 x 320 at 32 bits per pixel, so every COLORREF is shown exactly and
// GetNearestColor returns its argument. Not implemented: palettes, regions, mapping modes,
// raster operations other than those above, stretching, pen widths above 1, diagonal lines.
// The image decompression entry is declared in <device/imgdecmp.h>, included below.
#pragma once

#include <device/win_types.h>

// --- stock objects (GetStockObject) ---
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;

// --- GetCurrentObject kinds ---
constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;

// --- GetDeviceCaps indices ---
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// --- raster operations (BitBlt) ---
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// --- pens ---
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// --- background modes ---
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// --- ExtTextOut options ---
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// --- DrawText formats ---
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
// Accepted and ignored by DrawText: callers that want shortened text shorten it themselves.
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;

// --- fonts ---
constexpr int LF_FACESIZE = 32;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;

struct LOGFONTW {
  LONG lfHeight;       // > 0: cell height in pixels; < 0: character (em) height; 0: default
  LONG lfWidth;        // ignored: glyphs keep their natural proportions
  LONG lfEscapement;   // tenths of a degree; 900 draws text upwards (see DrawText)
  LONG lfOrientation;  // the escapement decides; orientation is kept only for GetObject
  LONG lfWeight;       // >= 600 selects the bold face
  BYTE lfItalic;
  BYTE lfUnderline;    // kept, not drawn
  BYTE lfStrikeOut;    // kept, not drawn
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;      // ignored: text is always anti-aliased
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
};
using LOGFONT = LOGFONTW;

struct TEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
using TEXTMETRIC = TEXTMETRICW;

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;  // always null: pixels are reached through a DC
};

// --- device contexts ---
HDC CreateCompatibleDC(HDC dc);  // dc may be null (the screen)
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT kind);
int GetDeviceCaps(HDC dc, int index);
HWND WindowFromDC(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);

// --- objects ---
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// Only 32 bits per pixel and one plane; `bits` (may be null) holds rows of 0x00RRGGBB words.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBRUSH CreateSolidBrush(COLORREF color);
HPEN CreatePen(int style, int width, COLORREF color);
HFONT CreateFontIndirect(const LOGFONTW* font);
HGDIOBJ GetStockObject(int index);
// Bitmaps fill a BITMAP, fonts a LOGFONTW; returns the bytes written, 0 on failure.
int GetObject(HGDIOBJ object, int size, LPVOID buffer);
// Stock objects and objects still selected into a DC are not deleted (FALSE).
BOOL DeleteObject(HGDIOBJ object);

// --- pixels ---
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
// `src` is a DC or a bitmap. Pixels of `transparent` colour are left out. The destination and
// source sizes should be equal; when they differ the smaller of each is copied unscaled.
BOOL TransparentImage(HDC dst, LONG x, LONG y, LONG width, LONG height, HANDLE src, LONG srcX,
                      LONG srcY, LONG srcWidth, LONG srcHeight, COLORREF transparent);
BOOL TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                    int srcWidth, int srcHeight, UINT transparent);
COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetNearestColor(HDC dc, COLORREF color);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// Outline in the selected pen, inside filled with the selected brush; right/bottom exclusive.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL LineTo(HDC dc, int x, int y);

// --- text ---
BOOL TextOut(HDC dc, int x, int y, LPCWSTR text, int length);
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT length,
                const INT* dx);
// length -1: up to the terminating zero. Returns the height of the drawn text, 0 on failure.
// With a font of escapement 900 the layout is computed as for horizontal text and each line
// is drawn rotated counter-clockwise about its top-left point, as Win32 does: a line placed at
// (x, y) reads upwards from y and fills the column x .. x + line height. DT_CALCRECT reports
// the unrotated extent (width along the text).
int DrawText(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format);
BOOL GetTextExtentPoint32(HDC dc, LPCWSTR text, int length, SIZE* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRICW* metrics);

#include <device/imgdecmp.h>
