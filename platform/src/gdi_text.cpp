// Text drawing and measuring: TextOut, ExtTextOut, DrawText, GetTextExtentPoint32,
// GetTextMetrics. (First cut: measuring and drawing are stubs until the glyph cache lands.)
#include "internal/gdi_state.h"

namespace device::internal {
struct FontFace {};
FontObject::FontObject(const LOGFONTW& lf)
    : GdiObject(GdiKind::Font), logfont(lf), vertical(lf.lfEscapement == 900) {}
FontObject::~FontObject() = default;
}  // namespace device::internal

using namespace device::internal;

BOOL TextOut(HDC dc, int x, int y, LPCWSTR text, int length) { return LookupDC(dc) ? TRUE : FALSE; }
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT length,
                const INT* dx) { return LookupDC(dc) ? TRUE : FALSE; }
int DrawText(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format) { return 0; }
BOOL GetTextExtentPoint32(HDC dc, LPCWSTR text, int length, SIZE* size) {
  if (!size) return FALSE;
  *size = SIZE{0, 15};
  return TRUE;
}
BOOL GetTextMetrics(HDC dc, TEXTMETRICW* metrics) {
  if (!metrics) return FALSE;
  *metrics = TEXTMETRICW{};
  metrics->tmHeight = 15;
  return TRUE;
}
