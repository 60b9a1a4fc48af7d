// Drawing helpers shared by the standard controls (button, static, list box, combo box) and
// the message box; see internal/control_drawing.h. GDI draws only horizontal and vertical
// lines, so round and slanted shapes are built from rows and pixels.
#include "internal/control_drawing.h"

#include <device/controls.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace device::internal {

HFONT DefaultControlFont() {
  static HFONT font = [] {
    LOGFONTW lf{};
    lf.lfHeight = -11;  // 8 points at 96 dots per inch
    lf.lfWeight = FW_NORMAL;
    const char16_t face[] = u"TAHOMA";
    std::memcpy(lf.lfFaceName, face, sizeof face);
    return CreateFontIndirect(&lf);
  }();
  return font;
}

int FontLineHeight(HFONT font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontOrDefault(font));
  TEXTMETRICW tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  return std::max<int>(1, tm.tmHeight);
}

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void FrameColor(HDC dc, const RECT& r, COLORREF color, int thickness) {
  HBRUSH brush = CreateSolidBrush(color);
  RECT edges[] = {{r.left, r.top, r.right, r.top + thickness},
                  {r.left, r.bottom - thickness, r.right, r.bottom},
                  {r.left, r.top, r.left + thickness, r.bottom},
                  {r.right - thickness, r.top, r.right, r.bottom}};
  for (const RECT& e : edges) FillRect(dc, &e, brush);
  DeleteObject(brush);
}

void DrawFocusFrame(HDC dc, const RECT& r, COLORREF color) {
  for (int x = r.left; x < r.right; x += 2) {
    SetPixel(dc, x, r.top, color);
    SetPixel(dc, x, r.bottom - 1, color);
  }
  for (int y = r.top; y < r.bottom; y += 2) {
    SetPixel(dc, r.left, y, color);
    SetPixel(dc, r.right - 1, y, color);
  }
}

void DrawLabel(HDC dc, HFONT font, LPCWSTR text, RECT rect, UINT format, COLORREF color) {
  if (!text || !*text) return;
  HGDIOBJ old = SelectObject(dc, FontOrDefault(font));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(dc, color);
  DrawText(dc, text, -1, &rect, format | DT_NOPREFIX);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  SelectObject(dc, old);
}

void FillDisc(HDC dc, int cx, int cy, int radius, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  // Rows through pixel centres: a row at dy is as wide as the circle at dy + 0.5.
  for (int dy = -radius; dy < radius; ++dy) {
    double y = dy + 0.5;
    int half = static_cast<int>(std::lround(std::sqrt(std::max(0.0, radius * radius - y * y))));
    RECT row{cx - half, cy + dy, cx + half, cy + dy + 1};
    FillRect(dc, &row, brush);
  }
  DeleteObject(brush);
}

void DrawCheckMark(HDC dc, const RECT& box, COLORREF color) {
  int w = box.right - box.left;
  int h = box.bottom - box.top;
  // Short stroke down to the knee at one third of the width, long stroke up to the right.
  int kneeX = box.left + w / 3;
  int kneeY = box.bottom - h / 4;
  int startY = kneeY - w / 3;
  for (int x = box.left + 1; x <= kneeX; ++x) {
    int y = startY + (x - box.left - 1);
    SetPixel(dc, x, y, color);
    SetPixel(dc, x, y + 1, color);
  }
  int run = box.right - 2 - kneeX;
  int rise = kneeY - (box.top + 2);
  for (int x = kneeX; x <= box.right - 2; ++x) {
    int y = kneeY - (run > 0 ? (x - kneeX) * rise / run : 0);
    SetPixel(dc, x, y, color);
    SetPixel(dc, x, y + 1, color);
  }
}

void DrawArrow(HDC dc, const RECT& area, bool down, COLORREF color) {
  int cx = (area.left + area.right) / 2;
  int cy = (area.top + area.bottom) / 2;
  constexpr int kRows = 4;
  HBRUSH brush = CreateSolidBrush(color);
  for (int i = 0; i < kRows; ++i) {
    int half = down ? kRows - 1 - i : i;
    int y = cy - kRows / 2 + i;
    RECT row{cx - half, y, cx + half + 1, y + 1};
    FillRect(dc, &row, brush);
  }
  DeleteObject(brush);
}

ScrollBarParts LayoutScrollBar(const RECT& bar, int first, int visible, int total) {
  int arrow = std::min<int>(kScrollBarWidth, (bar.bottom - bar.top) / 3);
  ScrollBarParts p;
  p.up = RECT{bar.left, bar.top, bar.right, bar.top + arrow};
  p.down = RECT{bar.left, bar.bottom - arrow, bar.right, bar.bottom};
  p.track = RECT{bar.left, p.up.bottom, bar.right, p.down.top};
  int trackHeight = p.track.bottom - p.track.top;
  int thumbHeight = total > 0 ? std::max(8, trackHeight * std::min(visible, total) / total) : trackHeight;
  thumbHeight = std::min(thumbHeight, trackHeight);
  int range = total - visible;
  int offset = range > 0 ? (trackHeight - thumbHeight) * std::clamp(first, 0, range) / range : 0;
  p.thumb = RECT{bar.left, p.track.top + offset, bar.right, p.track.top + offset + thumbHeight};
  return p;
}

void DrawScrollBar(HDC dc, const ScrollBarParts& p) {
  FillColor(dc, p.track, kScrollTrack);
  for (const RECT* box : {&p.up, &p.down}) {
    FillColor(dc, *box, kControlFace);
    FrameColor(dc, *box, kControlText);
  }
  DrawArrow(dc, p.up, false, kControlText);
  DrawArrow(dc, p.down, true, kControlText);
  FillColor(dc, p.thumb, kControlFace);
  FrameColor(dc, p.thumb, kControlText);
  RECT line{p.up.left, p.up.top, p.up.left + 1, p.down.bottom};
  FillColor(dc, line, kControlText);
}

int ScrollRowAt(const ScrollBarParts& p, int y, int visible, int total) {
  int range = total - visible;
  int free = (p.track.bottom - p.track.top) - (p.thumb.bottom - p.thumb.top);
  if (range <= 0 || free <= 0) return 0;
  return std::clamp(static_cast<int>(std::lround(double(y - p.track.top) * range / free)), 0, range);
}

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
              reinterpret_cast<LPARAM>(control));
}

}  // namespace device::internal
