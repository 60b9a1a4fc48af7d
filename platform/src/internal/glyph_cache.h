// A sized FreeType face with its metrics and rendered glyphs, one per GDI font object.
#pragma once

#include <device/gdi.h>

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace device::internal {

// An anti-aliased glyph, upright. Offsets are from the pen position on the top of the text
// cell (not the baseline), so a glyph drawn at cell top y lands at y + top.
struct Glyph {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int advance = 0;        // pixels; 0 for combining marks and control characters
  bool isMark = false;    // combining mark: placed over the previous base character
  std::vector<std::uint8_t> coverage;  // width * height, 0 transparent .. 255 full ink
};

struct FontMetrics {
  int height = 0;  // ascent + descent: the line height
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
};

class FontFace {
 public:
  // Resolves the face name and sizes the face; null when no font file can be opened.
  static std::unique_ptr<FontFace> Open(const LOGFONTW& logfont);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const FontMetrics& Metrics() const { return metrics_; }
  // Rendered on first use and kept for the life of the font.
  const Glyph& GlyphFor(char32_t codePoint);

 private:
  FontFace() = default;
  Glyph Render(char32_t codePoint);

  void* face_ = nullptr;  // FT_Face; kept opaque so that FreeType stays out of this header
  bool embolden_ = false;
  FontMetrics metrics_;
  std::array<std::unique_ptr<Glyph>, 0x180> latin_;  // direct slots for the common range
  std::unordered_map<char32_t, std::unique_ptr<Glyph>> others_;
};

}  // namespace device::internal
