// Text: TextOut, ExtTextOut (ETO_OPAQUE, ETO_CLIPPED, per-character advances), DrawText,
// GetTextExtentPoint32, GetTextMetrics.
//
// Text is UTF-16 with surrogate pairs; a combining mark is centred over the character before
// it and takes no room; control characters take no room and draw nothing. Text is blended
// anti-aliased in the text colour; in OPAQUE mode each line's cell is first filled with the
// background colour. The reference point is always the top left of the text cell (no
// SetTextAlign).
//
// DrawText: DT_LEFT/CENTER/RIGHT, DT_TOP/VCENTER/BOTTOM (the vertical ones with DT_SINGLELINE,
// as in Win32), DT_SINGLELINE, DT_WORDBREAK (breaks at spaces; a word wider than the rectangle
// stays whole on its own line; CR LF, LF and CR always break), DT_NOCLIP, DT_CALCRECT (right =
// left + widest line, bottom = top + lines x line height, whatever the alignment; empty text
// gives an empty rectangle and returns 0) and prefix
// processing unless DT_NOPREFIX ("&x" draws x underlined, "&&" draws "&"). The ellipsis flags
// and DT_EXPANDTABS are ignored.
//
// Rotated fonts (escapement 900; any other escapement draws horizontally) behave as DrawText does on Win32: the layout is computed as if
// the text were horizontal (widths along x, line heights along y, so DT_CALCRECT reports the
// unrotated extent), and each line is then drawn rotated 90 degrees counter-clockwise about
// its computed top-left point. A line placed at (x, y) therefore reads upwards from y, and its
// cell occupies the column x .. x + line height, rows y - width .. y. To centre rotated text in
// a box, callers offset the rectangle; clipping still uses the rectangle as given.
#include "internal/gdi_state.h"
#include "internal/glyph_cache.h"

#include <algorithm>
#include <string>

namespace device::internal {

FontObject::FontObject(const LOGFONTW& lf)
    : GdiObject(GdiKind::Font), logfont(lf), vertical(lf.lfEscapement == 900),
      face(FontFace::Open(lf)) {}

FontObject::~FontObject() = default;

namespace {

// The font a DC draws with: its own, or the system font when its own could not be opened.
FontFace* FaceOf(const DeviceContext& dc) {
  if (dc.font->face) return dc.font->face.get();
  return StockSystemFont()->face.get();
}

int Utf16Length(const char16_t* text) {
  int n = 0;
  while (text[n]) ++n;
  return n;
}

// Decodes one code point at text[i] (n units in all); returns how many units it used.
int DecodeAt(const char16_t* text, int i, int n, char32_t& cp) {
  const char16_t u = text[i];
  if (u >= 0xD800 && u < 0xDC00 && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
    cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    return 2;
  }
  cp = u;
  return 1;
}

// Device rectangle of text-space box [u0, u1) x [v0, v1) drawn from reference point (rx, ry):
// u runs along the text, v down the cell. Rotated text runs upwards with v pointing right.
RECT TextBox(int rx, int ry, bool vertical, int u0, int v0, int u1, int v1) {
  if (!vertical) return RECT{rx + u0, ry + v0, rx + u1, ry + v1};
  return RECT{rx + v0, ry - u1, rx + v1, ry - u0};
}

inline std::uint32_t Blend(std::uint32_t d, std::uint32_t c, unsigned a) {
  const unsigned na = 255 - a;
  std::uint32_t rb = (c & 0xFF00FF) * a + (d & 0xFF00FF) * na + 0x800080;
  rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
  std::uint32_t g = (c & 0xFF00) * a + (d & 0xFF00) * na + 0x8000;
  g = ((g + ((g >> 8) & 0xFF00)) >> 8) & 0xFF00;
  return rb | g;
}

inline void BlendPixel(std::uint32_t& d, std::uint32_t color, unsigned a) {
  if (a == 255) {
    d = color;
  } else if (a != 0) {
    d = Blend(d, color, a);
  }
}

// How one DrawText / ExtTextOut call paints: where, in what, clipped to what.
struct Painter {
  DrawTarget target;
  RECT clip;           // device coordinates
  bool vertical;
  std::uint32_t textPixel;
  bool drew = false;

  void Fill(const RECT& box, std::uint32_t pixel) {
    ForEachClipped(target, IntersectBox(box, clip), [&](const RECT& r) {
      for (int y = r.top; y < r.bottom; ++y) {
        std::uint32_t* row = target.pixels + static_cast<std::size_t>(y) * target.width;
        std::fill(row + r.left, row + r.right, pixel);
      }
      drew = true;
    });
  }

  // Blends glyph g with its pen at text offset u from reference point (rx, ry).
  void DrawGlyph(const Glyph& g, int rx, int ry, int u) {
    if (g.width == 0 || g.height == 0) return;
    const int gu = u + g.left;
    const RECT box = TextBox(rx, ry, vertical, gu, g.top, gu + g.width, g.top + g.height);
    ForEachClipped(target, IntersectBox(box, clip), [&](const RECT& r) {
      if (vertical) {
        BlendRotated(g, box, r);
      } else {
        BlendUpright(g, box, r);
      }
      drew = true;
    });
  }

  void BlendUpright(const Glyph& g, const RECT& box, const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y) {
      std::uint32_t* row = target.pixels + static_cast<std::size_t>(y) * target.width;
      const std::uint8_t* cov = g.coverage.data() + static_cast<std::size_t>(y - box.top) * g.width - box.left;
      for (int x = r.left; x < r.right; ++x) BlendPixel(row[x], textPixel, cov[x]);
    }
  }

  // Glyph column gx lands on screen row box.bottom - 1 - gx; glyph row gy on column box.left + gy.
  void BlendRotated(const Glyph& g, const RECT& box, const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y) {
      std::uint32_t* row = target.pixels + static_cast<std::size_t>(y) * target.width;
      const int gx = box.bottom - 1 - y;
      for (int x = r.left; x < r.right; ++x) {
        BlendPixel(row[x], textPixel, g.coverage[static_cast<std::size_t>(x - box.left) * g.width + gx]);
      }
    }
  }
};

// Lays out text[0, n) from pen 0, calling place(glyph, u, unit index) for each glyph and returning the
// advance. Marks are centred over the previous base character. `dx`, when given, replaces
// the advance of each code unit (ExtTextOut).
template <typename Place>
int LayOut(FontFace& face, const char16_t* text, int n, const INT* dx, Place place) {
  int pen = 0;
  int baseU = 0;
  int baseAdvance = 0;
  for (int i = 0; i < n;) {
    char32_t cp;
    const int units = DecodeAt(text, i, n, cp);
    const Glyph& g = face.GlyphFor(cp);
    if (g.isMark) {
      place(g, baseU + (baseAdvance - g.width) / 2 - g.left, i);
    } else {
      place(g, pen, i);
      baseU = pen;
      baseAdvance = dx ? dx[i] : g.advance;
      pen += baseAdvance;
    }
    i += units;
  }
  return pen;
}

int MeasureWidth(FontFace& face, const char16_t* text, int n) {
  return LayOut(face, text, n, nullptr, [](const Glyph&, int, int) {});
}

// Draws one line from reference point (rx, ry) in device coordinates; underlines the code
// unit at `underline` (-1 for none).
void DrawLine(Painter& p, FontFace& face, const DeviceContext& dc, int rx, int ry,
              const char16_t* text, int n, const INT* dx, int underline) {
  const FontMetrics& m = face.Metrics();
  if (dc.bkMode == OPAQUE) {
    const int width = LayOut(face, text, n, dx, [](const Glyph&, int, int) {});
    p.Fill(TextBox(rx, ry, p.vertical, 0, 0, width, m.height), PixelOf(dc.bkColor));
  }
  int underlineU = -1;
  int underlineWidth = 0;
  LayOut(face, text, n, dx, [&](const Glyph& g, int u, int index) {
    p.DrawGlyph(g, rx, ry, u);
    if (index == underline) {
      underlineU = u;
      underlineWidth = g.advance;
    }
  });
  if (underlineU >= 0) {
    const int v = std::min(m.ascent + 1, m.height - 1);
    p.Fill(TextBox(rx, ry, p.vertical, underlineU, v, underlineU + underlineWidth, v + 1),
           p.textPixel);
  }
}

struct Line {
  int start;
  int length;
  int width;
};

// Removes '&' prefixes: "&x" -> "x" (remembered for underlining), "&&" -> "&".
std::u16string StripPrefixes(const char16_t* text, int n, int& underline) {
  std::u16string out;
  out.reserve(n);
  underline = -1;
  for (int i = 0; i < n; ++i) {
    if (text[i] == u'&' && i + 1 < n) {
      ++i;
      if (text[i] != u'&' && underline < 0) underline = static_cast<int>(out.size());
    }
    out += text[i];
  }
  return out;
}

// Adds the lines of one hard line [start, end), wrapped at spaces to `maxWidth` when `wrap`.
void WrapLine(FontFace& face, const std::u16string& s, int start, int end, bool wrap,
              int maxWidth, std::vector<Line>& lines) {
  if (!wrap) {
    lines.push_back({start, end - start, MeasureWidth(face, s.data() + start, end - start)});
    return;
  }
  int lineStart = start;
  int lineEnd = start;  // end of the last word that fitted
  int i = start;
  while (true) {
    while (i < end && s[i] == u' ') ++i;  // spaces between words
    int wordEnd = i;
    while (wordEnd < end && s[wordEnd] != u' ') ++wordEnd;
    if (i >= end) break;
    const int candidate = MeasureWidth(face, s.data() + lineStart, wordEnd - lineStart);
    if (candidate > maxWidth && lineEnd > lineStart) {
      lines.push_back({lineStart, lineEnd - lineStart,
                       MeasureWidth(face, s.data() + lineStart, lineEnd - lineStart)});
      lineStart = i;
    }
    lineEnd = wordEnd;
    i = wordEnd;
  }
  lines.push_back({lineStart, lineEnd - lineStart,
                   MeasureWidth(face, s.data() + lineStart, lineEnd - lineStart)});
}

std::vector<Line> BreakLines(FontFace& face, const std::u16string& s, UINT format, int maxWidth) {
  std::vector<Line> lines;
  const int n = static_cast<int>(s.size());
  if (format & DT_SINGLELINE) {
    lines.push_back({0, n, MeasureWidth(face, s.data(), n)});
    return lines;
  }
  int start = 0;
  for (int i = 0; i <= n; ++i) {
    if (i < n && s[i] != u'\r' && s[i] != u'\n') continue;
    if (i == n && start == n && n > 0) break;  // a final line break opens no further line
    WrapLine(face, s, start, i, (format & DT_WORDBREAK) != 0, maxWidth, lines);
    if (i + 1 < n && s[i] == u'\r' && s[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  return lines;
}

int AlignX(const RECT& r, int width, UINT format) {
  if (format & DT_CENTER) return r.left + (r.right - r.left - width) / 2;
  if (format & DT_RIGHT) return r.right - width;
  return r.left;
}

int AlignY(const RECT& r, int height, UINT format) {
  if (!(format & DT_SINGLELINE)) return r.top;
  if (format & DT_VCENTER) return r.top + (r.bottom - r.top - height) / 2;
  if (format & DT_BOTTOM) return r.bottom - height;
  return r.top;
}

}  // namespace
}  // namespace device::internal

using namespace device::internal;

BOOL ExtTextOut(HDC handle, int x, int y, UINT options, const RECT* rect, LPCWSTR text,
                UINT length, const INT* dx) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  FontFace* face = FaceOf(*dc);
  DrawTarget target = TargetOf(*dc);
  Painter p{target, target.whole, dc->font->vertical, PixelOf(dc->textColor)};
  if (rect) {
    const RECT box = DeviceBox(target, *rect);
    if (options & ETO_OPAQUE) p.Fill(box, PixelOf(dc->bkColor));
    if (options & ETO_CLIPPED) p.clip = box;
  }
  if (face && text && length > 0) {
    DrawLine(p, *face, *dc, Bounded(x) + target.dx, Bounded(y) + target.dy, text,
             static_cast<int>(length), dx, -1);
  }
  if (target.isScreen && p.drew) NoteScreenChanged();
  return face || !text || length == 0 ? TRUE : FALSE;
}

BOOL TextOut(HDC dc, int x, int y, LPCWSTR text, int length) {
  if (length < 0) return FALSE;
  return ExtTextOut(dc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

int DrawText(HDC handle, LPCWSTR text, int length, LPRECT rect, UINT format) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !rect || !text) return 0;
  FontFace* face = FaceOf(*dc);
  if (!face) return 0;
  const int n = length < 0 ? Utf16Length(text) : length;
  if (n == 0) {
    // As Win32: empty text has no extent and draws nothing.
    if (format & DT_CALCRECT) {
      rect->right = rect->left;
      rect->bottom = rect->top;
    }
    return 0;
  }
  int underline = -1;
  const std::u16string shown = (format & DT_NOPREFIX) ? std::u16string(text, n)
                                                      : StripPrefixes(text, n, underline);
  const std::vector<Line> lines =
      BreakLines(*face, shown, format, Bounded(rect->right) - Bounded(rect->left));
  const int lineHeight = face->Metrics().height;
  const int height = lineHeight * static_cast<int>(lines.size());

  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const Line& line : lines) widest = std::max(widest, line.width);
    rect->right = rect->left + widest;
    rect->bottom = rect->top + height;
    return height;
  }

  DrawTarget target = TargetOf(*dc);
  const RECT box = BoundedRect(*rect);
  const RECT deviceRect = DeviceBox(target, box);
  Painter p{target, (format & DT_NOCLIP) ? target.whole : deviceRect, dc->font->vertical,
            PixelOf(dc->textColor)};
  int y = AlignY(box, lineHeight, format);
  const int top = y;
  for (const Line& line : lines) {
    const int x = AlignX(box, line.width, format);
    const int mark = underline >= line.start && underline < line.start + line.length
                         ? underline - line.start
                         : -1;
    DrawLine(p, *face, *dc, x + target.dx, y + target.dy, shown.data() + line.start, line.length,
             nullptr, mark);
    y += lineHeight;
  }
  if (target.isScreen && p.drew) NoteScreenChanged();
  // Win32 reports the offset from the top to the bottom of the text for vertically aligned text.
  if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return top - box.top + height;
  return height;
}

BOOL GetTextExtentPoint32(HDC handle, LPCWSTR text, int length, SIZE* size) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !size || length < 0 || (length > 0 && !text)) return FALSE;
  FontFace* face = FaceOf(*dc);
  if (!face) return FALSE;
  *size = SIZE{length > 0 ? MeasureWidth(*face, text, length) : 0, face->Metrics().height};
  return TRUE;
}

BOOL GetTextMetrics(HDC handle, TEXTMETRICW* tm) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc || !tm) return FALSE;
  FontFace* face = FaceOf(*dc);
  if (!face) return FALSE;
  const FontMetrics& m = face->Metrics();
  const LOGFONTW& lf = dc->font->logfont;
  *tm = TEXTMETRICW{};
  tm->tmHeight = m.height;
  tm->tmAscent = m.ascent;
  tm->tmDescent = m.descent;
  tm->tmInternalLeading = m.internalLeading;
  tm->tmExternalLeading = m.externalLeading;
  tm->tmAveCharWidth = m.aveCharWidth;
  tm->tmMaxCharWidth = m.maxCharWidth;
  tm->tmWeight = lf.lfWeight;
  tm->tmDigitizedAspectX = 96;
  tm->tmDigitizedAspectY = 96;
  tm->tmFirstChar = 0x20;
  tm->tmLastChar = 0xFFFC;
  tm->tmDefaultChar = u'?';
  tm->tmBreakChar = u' ';
  tm->tmItalic = lf.lfItalic;
  tm->tmUnderlined = lf.lfUnderline;
  tm->tmStruckOut = lf.lfStrikeOut;
  tm->tmPitchAndFamily = lf.lfPitchAndFamily;
  tm->tmCharSet = lf.lfCharSet;
  return TRUE;
}
