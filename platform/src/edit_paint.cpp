// The EDIT control's measuring, geometry and drawing: character widths of its font, where
// lines and the scroll bar go, and WM_PAINT's drawing of text, selection and scroll bar.
//
// Colours: black text on white; grey text when the window is disabled; the selection in
// white on navy while the control has the focus (always with ES_NOHIDESEL). The scroll bar
// is a 13-pixel column at the right with two arrow buttons and a thumb sized to the share of
// lines shown; with nothing to scroll its arrows are grey and it has no thumb.
#include "internal/edit_state.h"

#include <algorithm>

namespace device::internal {

namespace {

constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kGreyTextColour = RGB(128, 128, 128);
constexpr COLORREF kBackColour = RGB(255, 255, 255);
constexpr COLORREF kHighlightColour = RGB(0, 0, 128);
constexpr COLORREF kHighlightTextColour = RGB(255, 255, 255);
constexpr COLORREF kBarTrackColour = RGB(224, 224, 224);
constexpr COLORREF kBarFaceColour = RGB(192, 192, 192);
constexpr int kMinThumb = 8;
constexpr char32_t kCommonLimit = 0x3000;

HFONT FontOrSystem(HFONT font) {
  return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// A small filled triangle pointing up or down, centred in `box`.
void DrawArrow(HDC dc, const RECT& box, bool up, COLORREF colour) {
  const int cx = (box.left + box.right) / 2;
  const int rows = 4;
  const int top = (box.top + box.bottom - rows) / 2;
  for (int r = 0; r < rows; ++r) {
    const int half = up ? r : rows - 1 - r;
    RECT line{cx - half, top + r, cx + half + 1, top + r + 1};
    Fill(dc, line, colour);
  }
}

void DrawButtonBox(HDC dc, const RECT& r) {
  Fill(dc, r, kTextColour);
  RECT face{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  if (!IsRectEmpty(&face)) Fill(dc, face, kBarFaceColour);
}

void PaintScrollBar(const EditState& s, HDC dc) {
  const EditScrollBar parts = EditScrollBarParts(s);
  Fill(dc, parts.bar, kBarTrackColour);
  const COLORREF arrow = EditMaxFirstLine(s) > 0 ? kTextColour : kGreyTextColour;
  DrawButtonBox(dc, parts.up);
  DrawArrow(dc, parts.up, true, arrow);
  DrawButtonBox(dc, parts.down);
  DrawArrow(dc, parts.down, false, arrow);
  if (!IsRectEmpty(&parts.thumb)) DrawButtonBox(dc, parts.thumb);
}

// Draws text[from, to) of `line` whose first character starts at x; `adv` holds the advance
// of each code unit of the line from its start.
void DrawRun(EditState& s, HDC dc, int line, int from, int to, int x, int top, const RECT& clip,
             bool selected) {
  if (from >= to) return;
  const int start = s.buffer.LineStart(line);
  int width = 0;
  for (int i = from; i < to; ++i) width += s.advances[static_cast<size_t>(i - start)];
  RECT cell{x, top, x + width, top + s.measure.LineHeight()};
  RECT box;
  if (!IntersectRect(&box, &cell, &clip)) return;
  SetTextColor(dc, selected ? kHighlightTextColour
                            : (IsWindowEnabled(s.hwnd) ? kTextColour : kGreyTextColour));
  SetBkColor(dc, kHighlightColour);
  ExtTextOut(dc, x, top, ETO_CLIPPED | (selected ? ETO_OPAQUE : 0), &box,
             s.buffer.Text().data() + from, static_cast<UINT>(to - from),
             s.advances.data() + (from - start));
}

void PaintLine(EditState& s, HDC dc, int line, const RECT& text, bool showSelection) {
  const EditBuffer& b = s.buffer;
  const int start = b.LineStart(line);
  const int end = b.LineEnd(line);
  s.advances.assign(static_cast<size_t>(end - start), 0);
  int x = 0;
  for (int i = start; i < end;) {
    int units = 1;
    const int w = b.Advance(i, x, units);
    s.advances[static_cast<size_t>(i - start)] = w;
    x += w;
    i += units;
  }
  const int top = EditLineTop(s, line);
  RECT clip{text.left, std::max(text.top, static_cast<LONG>(top)), text.right,
            std::min(text.bottom, static_cast<LONG>(top + s.measure.LineHeight()))};
  const int origin = EditLineOriginX(s, line);
  int selFrom = end;
  int selTo = end;
  if (showSelection) {
    selFrom = std::clamp(s.SelStart(), start, end);
    selTo = std::clamp(s.SelEnd(), start, end);
  }
  const int xFrom = origin + b.XOfChar(line, selFrom);
  const int xTo = origin + b.XOfChar(line, selTo);
  DrawRun(s, dc, line, start, selFrom, origin, top, clip, false);
  DrawRun(s, dc, line, selFrom, selTo, xFrom, top, clip, true);
  DrawRun(s, dc, line, selTo, end, xTo, top, clip, false);
}

}  // namespace

FontMeasure::FontMeasure() : dc_(CreateCompatibleDC(nullptr)) { SetFont(nullptr); }

FontMeasure::~FontMeasure() {
  if (dc_) DeleteDC(dc_);
}

void FontMeasure::SetFont(HFONT font) {
  font_ = FontOrSystem(font);
  common_.assign(kCommonLimit, -1);
  rare_.clear();
  HGDIOBJ old = SelectObject(dc_, font_);
  TEXTMETRICW tm{};
  GetTextMetrics(dc_, &tm);
  SelectObject(dc_, old);
  lineHeight_ = std::max<LONG>(1, tm.tmHeight);
  aveCharWidth_ = std::max<LONG>(1, tm.tmAveCharWidth);
}

int FontMeasure::Measure(char32_t cp) {
  char16_t units[2];
  int n = 1;
  if (cp >= 0x10000) {
    units[0] = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    n = 2;
  } else {
    units[0] = static_cast<char16_t>(cp);
  }
  HGDIOBJ old = SelectObject(dc_, font_);
  SIZE size{0, 0};
  GetTextExtentPoint32(dc_, units, n, &size);
  SelectObject(dc_, old);
  return size.cx;
}

int FontMeasure::Width(char32_t cp) {
  if (cp < kCommonLimit) {
    short& w = common_[cp];
    if (w < 0) w = static_cast<short>(Measure(cp));
    return w;
  }
  auto it = rare_.find(cp);
  if (it != rare_.end()) return it->second;
  return rare_[cp] = Measure(cp);
}

RECT EditTextRect(const EditState& s) {
  RECT r;
  GetClientRect(s.hwnd, &r);
  if (s.HasScrollBar()) r.right -= kEditScrollBarWidth;
  r.left += kEditMargin;
  r.right -= kEditMargin;
  if (r.right < r.left) r.right = r.left;
  return r;
}

int EditVisibleLines(const EditState& s) {
  const RECT r = EditTextRect(s);
  return std::max<int>(1, (r.bottom - r.top) / s.measure.LineHeight());
}

int EditMaxFirstLine(const EditState& s) {
  if (!s.Multiline()) return 0;
  return std::max(0, s.buffer.LineCount() - EditVisibleLines(s));
}

int EditLineOriginX(const EditState& s, int line) {
  const RECT r = EditTextRect(s);
  const int room = (r.right - r.left) - s.buffer.LineWidth(line);
  int shift = 0;
  // Alignment applies while the line fits; a wider line starts at the left and scrolls.
  if (room > 0 && (s.style & ES_RIGHT)) shift = room;
  else if (room > 0 && (s.style & ES_CENTER)) shift = room / 2;
  return r.left - s.xOffset + shift;
}

int EditLineTop(const EditState& s, int line) {
  return EditTextRect(s).top + (line - s.firstLine) * s.measure.LineHeight();
}

EditScrollBar EditScrollBarParts(const EditState& s) {
  EditScrollBar p{};
  RECT client;
  GetClientRect(s.hwnd, &client);
  p.bar = RECT{std::max(client.left, client.right - kEditScrollBarWidth), client.top, client.right,
               client.bottom};
  const int height = p.bar.bottom - p.bar.top;
  const int arrow = std::min(kEditScrollBarWidth, height / 2);
  p.up = RECT{p.bar.left, p.bar.top, p.bar.right, p.bar.top + arrow};
  p.down = RECT{p.bar.left, p.bar.bottom - arrow, p.bar.right, p.bar.bottom};
  p.track = RECT{p.bar.left, p.up.bottom, p.bar.right, p.down.top};
  const int maxFirst = EditMaxFirstLine(s);
  const int span = p.track.bottom - p.track.top;
  if (maxFirst > 0 && span > kMinThumb) {
    const int lines = s.buffer.LineCount();
    const int thumb = std::clamp(span * EditVisibleLines(s) / lines, kMinThumb, span);
    const int top = p.track.top + (span - thumb) * s.firstLine / maxFirst;
    p.thumb = RECT{p.bar.left, top, p.bar.right, top + thumb};
  }
  return p;
}

void PaintEdit(EditState& s, HDC dc, const RECT& update) {
  RECT client;
  GetClientRect(s.hwnd, &client);
  RECT page = client;
  if (s.HasScrollBar()) page.right -= kEditScrollBarWidth;
  Fill(dc, page, kBackColour);
  const RECT text = EditTextRect(s);
  HGDIOBJ oldFont = SelectObject(dc, FontOrSystem(s.font));
  SetBkMode(dc, TRANSPARENT);
  const bool showSelection = s.anchor != s.caret && (s.focused || (s.style & ES_NOHIDESEL));
  const int height = s.measure.LineHeight();
  const int first = s.Multiline() ? s.firstLine : 0;
  for (int line = first; line < s.buffer.LineCount(); ++line) {
    const int top = EditLineTop(s, line);
    if (top >= text.bottom || top >= update.bottom) break;
    if (top + height <= update.top) continue;
    PaintLine(s, dc, line, text, showSelection);
  }
  SelectObject(dc, oldFont);
  if (s.HasScrollBar()) PaintScrollBar(s, dc);
}

}  // namespace device::internal
