// Text drawing on top of the platform's DrawText: every call selects its font, draws with a
// transparent background in the given colour and restores the previous font.
#include "drawing/text_drawing.h"

#include "drawing/font_table.h"

#include <algorithm>
#include <string>

namespace {

constexpr UINT kLabelCentred = 0x825;        // DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_CENTER
constexpr UINT kLabelBottomLeft = 0x828;     // DT_SINGLELINE | DT_NOPREFIX | DT_BOTTOM | DT_LEFT
constexpr UINT kMeasureFormat = 0xC25;       // kLabelCentred | DT_CALCRECT
constexpr UINT kFittedExtraFormat = 0x820;   // DT_SINGLELINE | DT_NOPREFIX
constexpr int kMaxRunLength = 99;

void DrawWithFont(HDC dc, const RECT& rect, const WCHAR* text, int length, HFONT font, COLORREF colour,
                  UINT format) {
  HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : DefaultAppFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  RECT box = rect;
  DrawText(dc, text, length, &box, format);
  if (previous != nullptr) SelectObject(dc, previous);
}

int MeasuredWidth(HDC dc, const std::u16string& text, HFONT font) {
  RECT rect{0, 0, 0, 0};
  MeasureText(dc, rect, text.c_str(), font);
  return rect.right - rect.left;
}

// Cuts characters off the end until "<rest>..." fits (or nothing is left to cut).
std::u16string CutEnd(HDC dc, const std::u16string& text, HFONT font, int available) {
  std::u16string working = text;
  std::u16string candidate = text;
  do {
    working.pop_back();
    candidate = working + u"...";
  } while (MeasuredWidth(dc, candidate, font) > available && !working.empty());
  return candidate;
}

// Cuts characters off the start until "...<rest>" fits (or nothing is left to cut).
std::u16string CutStart(HDC dc, const std::u16string& text, HFONT font, int available) {
  std::u16string candidate = text;
  for (size_t from = 1; from <= text.size(); ++from) {
    candidate = u"..." + text.substr(from);
    if (MeasuredWidth(dc, candidate, font) <= available) break;
  }
  return candidate;
}

}  // namespace

void DrawLabelText(HDC dc, const RECT& rect, const WCHAR* text, HFONT font, COLORREF colour,
                   bool bottomAligned) {
  DrawWithFont(dc, rect, text, -1, font, colour, bottomAligned ? kLabelBottomLeft : kLabelCentred);
}

void MeasureText(HDC dc, RECT& rect, const WCHAR* text, HFONT font) {
  HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : DefaultAppFont(true));
  DrawText(dc, text, -1, &rect, kMeasureFormat);
  if (previous != nullptr) SelectObject(dc, previous);
}

void DrawFittedText(HDC dc, const RECT& rect, const WCHAR* text, HFONT font, COLORREF colour, UINT format) {
  std::u16string fitted = text;
  const int available = rect.right - rect.left;
  if ((format & kCutEndWithEllipsis) && !fitted.empty() && MeasuredWidth(dc, fitted, font) > available) {
    fitted = CutEnd(dc, fitted, font, available);
  }
  if ((format & kCutStartWithEllipsis) && !fitted.empty() && MeasuredWidth(dc, fitted, font) > available) {
    fitted = CutStart(dc, fitted, font, available);
  }
  DrawWithFont(dc, rect, fitted.c_str(), -1, font, colour, format | kFittedExtraFormat);
}

void DrawPlainText(HDC dc, const RECT& rect, const WCHAR* text, HFONT font, COLORREF colour, UINT format) {
  DrawWithFont(dc, rect, text, -1, font, colour, format | DT_NOPREFIX);
}

void DrawSplitWord(HDC dc, int left, int top, int right, int bottom, const WCHAR* text, int fontA,
                   int fontB, int split1, int split2, COLORREF colourA, COLORREF colourB) {
  const std::u16string word = text;
  const int length = static_cast<int>(word.size());
  split1 = std::clamp(split1, 0, length);
  split2 = std::clamp(split2, split1, length);
  struct Run {
    int from, to, font;
    COLORREF colour;
  };
  const Run runs[3] = {{0, split1, fontA, colourA}, {split1, split2, fontB, colourB}, {split2, length, fontA, colourA}};

  const int whole = MeasuredWidth(dc, word, GetAppFont(fontA));
  int x = std::max(left, left + (right - left - whole) / 2);
  for (const Run& run : runs) {
    const std::u16string piece = word.substr(run.from, std::min(run.to - run.from, kMaxRunLength));
    if (piece.empty()) continue;
    const HFONT font = GetAppFont(run.font);
    const int width = MeasuredWidth(dc, piece, font);
    const RECT box{x, top, std::min(x + width, right), bottom};
    DrawFittedText(dc, box, piece.c_str(), font, run.colour, 0);
    x = std::max(left, x + width);
  }
}

void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(GetNearestColor(dc, colour));
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}
