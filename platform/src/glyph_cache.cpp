// Sized faces and their glyph caches for the GDI text calls.
//
// Height follows Win32: a positive lfHeight is the cell height (ascent + descent), a negative
// one the character (em) height, 0 the system font's 15-pixel cell. Weights of 600 and more
// use the bold face, or an emboldened regular face when the family has none. Glyphs are
// rendered upright with light hinting and 8-bit anti-aliasing; rotation is applied when they
// are drawn. Not provided: lfWidth scaling, underline and strike-out decorations, kerning,
// font fallback for characters the face lacks (they show the face's missing-glyph box).
#include "internal/glyph_cache.h"

#include "internal/font_resolver.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>

namespace device::internal {
namespace {

constexpr int kDefaultCellHeight = 15;

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0) l = nullptr;
    return l;
  }();
  return library;
}

FT_Face Face(void* face) { return static_cast<FT_Face>(face); }

// Font units to pixels at the face's current vertical scale.
double UnitsToPixels(FT_Face face, long units) {
  return static_cast<double>(units) * face->size->metrics.y_ppem / face->units_per_EM;
}

bool SizeFace(FT_Face face, LONG lfHeight) {
  FT_Size_RequestRec request{};
  const bool cell = lfHeight >= 0;
  request.type = cell ? FT_SIZE_REQUEST_TYPE_CELL : FT_SIZE_REQUEST_TYPE_NOMINAL;
  const long pixels = lfHeight == 0 ? kDefaultCellHeight : std::labs(lfHeight);
  request.height = pixels * 64;
  return FT_Request_Size(face, &request) == 0;
}

FontMetrics MeasureFace(FT_Face face, LONG lfHeight) {
  FontMetrics m;
  const double ascent = UnitsToPixels(face, face->ascender);
  const double descent = UnitsToPixels(face, -face->descender);
  m.ascent = static_cast<int>(std::lround(ascent));
  if (lfHeight >= 0) {
    // The cell height is exactly what was asked for, as on the device.
    m.height = lfHeight == 0 ? kDefaultCellHeight : lfHeight;
    m.descent = m.height - m.ascent;
  } else {
    m.descent = static_cast<int>(std::lround(descent));
    m.height = m.ascent + m.descent;
  }
  m.internalLeading = std::max(0, m.height - static_cast<int>(face->size->metrics.y_ppem));
  m.externalLeading = std::max(0, static_cast<int>(std::lround(
      UnitsToPixels(face, face->height - face->ascender + face->descender))));
  m.maxCharWidth = static_cast<int>(std::lround(face->size->metrics.max_advance / 64.0));
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      os2 && os2->xAvgCharWidth > 0) {
    m.aveCharWidth = static_cast<int>(std::lround(UnitsToPixels(face, os2->xAvgCharWidth)));
  } else if (FT_Load_Char(face, 'x', FT_LOAD_DEFAULT) == 0) {
    m.aveCharWidth = static_cast<int>((face->glyph->advance.x + 32) >> 6);
  }
  return m;
}

bool IsCombiningMark(char32_t c) {
  return u_getCombiningClass(static_cast<UChar32>(c)) != 0 ||
         u_charType(static_cast<UChar32>(c)) == U_NON_SPACING_MARK;
}

}  // namespace

std::unique_ptr<FontFace> FontFace::Open(const LOGFONTW& logfont) {
  const bool bold = logfont.lfWeight >= 600;
  ResolvedFont file = ResolveFont(logfont.lfFaceName, bold, logfont.lfItalic != 0);
  if (file.path.empty() || !Library()) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(Library(), file.path.c_str(), file.index, &face) != 0) return nullptr;
  if (!SizeFace(face, logfont.lfHeight)) {
    FT_Done_Face(face);
    return nullptr;
  }
  std::unique_ptr<FontFace> result(new FontFace);
  result->face_ = face;
  result->embolden_ = file.needsEmbolden;
  result->metrics_ = MeasureFace(face, logfont.lfHeight);
  return result;
}

FontFace::~FontFace() {
  if (face_) FT_Done_Face(Face(face_));
}

const Glyph& FontFace::GlyphFor(char32_t codePoint) {
  if (codePoint < latin_.size()) {
    auto& slot = latin_[codePoint];
    if (!slot) slot = std::make_unique<Glyph>(Render(codePoint));
    return *slot;
  }
  auto& slot = others_[codePoint];
  if (!slot) slot = std::make_unique<Glyph>(Render(codePoint));
  return *slot;
}

Glyph FontFace::Render(char32_t codePoint) {
  Glyph glyph;
  // Control characters (tabs, line breaks drawn on a single line) take no room and no ink.
  if (codePoint < 0x20 || codePoint == 0x7F) return glyph;
  FT_Face face = Face(face_);
  if (FT_Load_Char(face, codePoint, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0) return glyph;
  FT_GlyphSlot slot = face->glyph;
  if (embolden_) FT_GlyphSlot_Embolden(slot);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph.left = slot->bitmap_left;
  glyph.top = metrics_.ascent - slot->bitmap_top;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.height = static_cast<int>(bitmap.rows);
  glyph.isMark = IsCombiningMark(codePoint);
  glyph.advance = glyph.isMark ? 0 : static_cast<int>((slot->advance.x + 32) >> 6);
  glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
  for (int row = 0; row < glyph.height; ++row) {
    const unsigned char* src = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    std::copy(src, src + glyph.width, glyph.coverage.begin() + static_cast<std::ptrdiff_t>(row) * glyph.width);
  }
  return glyph;
}

}  // namespace device::internal
