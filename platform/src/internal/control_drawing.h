// What the standard controls share: the pocket device's control look (white faces, black
// text, thin black borders, dark blue selection), the default control font, small glyphs
// drawn from rows of pixels (discs, check marks, arrows), the list scroll bar, and the
// WM_COMMAND notification a control sends its parent.
#pragma once

#include <device/gdi.h>
#include <device/user.h>

namespace device::internal {

constexpr COLORREF kControlFace = RGB(255, 255, 255);
constexpr COLORREF kControlText = RGB(0, 0, 0);
constexpr COLORREF kDisabledText = RGB(128, 128, 128);
constexpr COLORREF kSelectionFace = RGB(0, 0, 128);
constexpr COLORREF kSelectionText = RGB(255, 255, 255);
constexpr COLORREF kScrollTrack = RGB(224, 224, 224);
constexpr int kScrollBarWidth = 13;

// Tahoma 8 point, the device's control and dialog font; made once, never deleted (as a
// stock object).
HFONT DefaultControlFont();
inline HFONT FontOrDefault(HFONT font) { return font ? font : DefaultControlFont(); }
int FontLineHeight(HFONT font);  // tmHeight of the font

void FillColor(HDC dc, const RECT& rect, COLORREF color);
// A frame `thickness` pixels wide inside `rect`.
void FrameColor(HDC dc, const RECT& rect, COLORREF color, int thickness = 1);
// A dotted frame inside `rect`: the keyboard focus.
void DrawFocusFrame(HDC dc, const RECT& rect, COLORREF color = kControlText);
// Text in `font` and `color` on whatever is behind it, with DrawText's `format`.
void DrawLabel(HDC dc, HFONT font, LPCWSTR text, RECT rect, UINT format, COLORREF color);
// A filled disc centred at (cx, cy); radio buttons and message-box icons are made of them.
void FillDisc(HDC dc, int cx, int cy, int radius, COLORREF color);
// A tick filling most of `box`, two pixels thick.
void DrawCheckMark(HDC dc, const RECT& box, COLORREF color);
// A small triangle centred in `area`, pointing down or up.
void DrawArrow(HDC dc, const RECT& area, bool down, COLORREF color);

// A vertical scroll bar: arrow boxes at both ends and a thumb in the track between, sized
// to the visible share of the rows.
struct ScrollBarParts {
  RECT up;
  RECT down;
  RECT track;
  RECT thumb;
};
ScrollBarParts LayoutScrollBar(const RECT& bar, int first, int visible, int total);
void DrawScrollBar(HDC dc, const ScrollBarParts& parts);
// The first row that puts the thumb's top at `y` within the track.
int ScrollRowAt(const ScrollBarParts& parts, int y, int visible, int total);

// WM_COMMAND(id, code) to the control's parent.
void NotifyParent(HWND control, WORD code);

// A combo box's drop-down list ("ComboLBox", made with the combo box as its creation
// parameter) reports to the combo box, not to a parent, with these private messages.
constexpr UINT kComboListChosen = 0x03E0;     // wParam the chosen item
constexpr UINT kComboListCancelled = 0x03E1;  // the pen went down outside the list
constexpr UINT kComboListDropped = 0x03E2;    // combo box to list: you are being dropped down

}  // namespace device::internal
