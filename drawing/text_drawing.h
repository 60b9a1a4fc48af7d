// Text and fill operations of the drawing toolkit. Each takes a drawing context and a font
// handle (none = the default font); rectangles are in the context's coordinates.
#pragma once

#include <device/windows.h>

// Shortening flags of DrawFittedText (combined with the platform's DT_* alignment bits).
constexpr UINT kCutEndWithEllipsis = 0x40000;    // "long tex..."
constexpr UINT kCutStartWithEllipsis = 0x8000;   // "...ng text" (file paths)

// One line, centred both ways; or left and bottom aligned.
void DrawLabelText(HDC dc, const RECT& rect, const WCHAR* text, HFONT font, COLORREF colour,
                   bool bottomAligned);

// Replaces `rect` by the extent of `text` drawn on one line (default font: bold, id 0).
void MeasureText(HDC dc, RECT& rect, const WCHAR* text, HFONT font);

// One line with the caller's alignment, shortened with "..." as `format` asks.
void DrawFittedText(HDC dc, const RECT& rect, const WCHAR* text, HFONT font, COLORREF colour, UINT format);

// The caller's format plus no prefix processing.
void DrawPlainText(HDC dc, const RECT& rect, const WCHAR* text, HFONT font, COLORREF colour, UINT format);

// A word in three runs: [0, split1) and [split2, end) in font A / colour A, the middle in
// font B / colour B; the whole is centred in the rectangle by its width in font A.
void DrawSplitWord(HDC dc, int left, int top, int right, int bottom, const WCHAR* text, int fontA,
                   int fontB, int split1, int split2, COLORREF colourA, COLORREF colourB);

void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour);
