// GDI's private model: the objects behind the handles and the drawing target of a DC.
//
// Handles are pointers to these records; every live record is listed in a table so that a
// stale or foreign handle is refused instead of followed. All GDI state belongs to the
// user-interface thread, as on the device.
#pragma once

#include <device/gdi.h>

#include "internal/screen.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace device::internal {

class FontFace;  // glyph_cache.h

enum class GdiKind : std::uint8_t { Bitmap, Brush, Pen, Font };

struct GdiObject {
  explicit GdiObject(GdiKind k) : kind(k) {}
  virtual ~GdiObject() = default;
  GdiKind kind;
  bool stock = false;
  int selections = 0;  // DCs that have it selected; a selected object is not deleted
};

struct BitmapObject : GdiObject {
  BitmapObject(int w, int h) : GdiObject(GdiKind::Bitmap), width(w), height(h),
                               pixels(static_cast<std::size_t>(w) * h, 0) {}
  int width;
  int height;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, stride == width
};

struct BrushObject : GdiObject {
  BrushObject(bool hollow, COLORREF c) : GdiObject(GdiKind::Brush), null(hollow), color(c) {}
  bool null;  // NULL_BRUSH paints nothing
  COLORREF color;
};

struct PenObject : GdiObject {
  PenObject(bool hollow, COLORREF c) : GdiObject(GdiKind::Pen), null(hollow), color(c) {}
  bool null;
  COLORREF color;
};

struct FontObject : GdiObject {
  explicit FontObject(const LOGFONTW& lf);
  ~FontObject() override;
  LOGFONTW logfont;
  bool vertical;                    // escapement 900: text runs upwards
  std::unique_ptr<FontFace> face;   // sized FreeType face and its glyph cache; null if none found
};

struct DeviceContext {
  bool screen = false;
  HWND window = nullptr;
  POINT origin{0, 0};          // screen DCs: the window's corner on the screen
  std::vector<RECT> visible;   // screen DCs: screen rectangles it may paint
  BitmapObject* bitmap = nullptr;  // memory DCs: the selected bitmap
  BrushObject* brush = nullptr;
  PenObject* pen = nullptr;
  FontObject* font = nullptr;
  COLORREF textColor = 0x000000;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  POINT penPosition{0, 0};
};

// Where a DC's pixels go: a pixel buffer plus the device rectangles that may be touched.
// Logical coordinate (x, y) is pixel (x + dx, y + dy) of the buffer.
struct DrawTarget {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int dx = 0;
  int dy = 0;
  const std::vector<RECT>* clips = nullptr;  // null: the whole buffer
  RECT whole{0, 0, 0, 0};
  bool isScreen = false;
};

// --- handle tables (gdi_objects.cpp, gdi_dc.cpp) ---
GdiObject* LookupObject(HGDIOBJ handle);
BitmapObject* LookupBitmap(HGDIOBJ handle);
DeviceContext* LookupDC(HDC handle);
HGDIOBJ HandleOf(GdiObject* object);
HBITMAP NewBitmap(int width, int height);  // zero (black) pixels
FontObject* StockSystemFont();
BrushObject* StockBrush(int index);
PenObject* StockPen(int index);
BitmapObject* StockBitmap();  // the 1 x 1 bitmap of a fresh memory DC

// --- drawing helpers (gdi_dc.cpp) ---
DrawTarget TargetOf(const DeviceContext& dc);
// Calls fn(RECT) for every piece of device rectangle `r` that lies inside the target's clips.
template <typename Fn>
void ForEachClipped(const DrawTarget& t, RECT r, Fn fn);
void NoteScreenChanged();

constexpr std::uint32_t PixelOf(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF ColorOf(std::uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

inline RECT IntersectBox(const RECT& a, const RECT& b) {
  RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
         a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
  return r;
}
inline bool IsEmptyBox(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// Caller coordinates are bounded before any arithmetic so that extreme values cannot
// overflow; a bounded coordinate is still far outside every bitmap.
constexpr LONG kCoordinateLimit = 1 << 24;
inline LONG Bounded(LONG v) {
  return v < -kCoordinateLimit ? -kCoordinateLimit : (v > kCoordinateLimit ? kCoordinateLimit : v);
}
inline RECT BoundedRect(const RECT& r) {
  return RECT{Bounded(r.left), Bounded(r.top), Bounded(r.right), Bounded(r.bottom)};
}
// The device rectangle of logical rectangle `r` (bounded first).
inline RECT DeviceBox(const DrawTarget& t, const RECT& r) {
  const RECT b = BoundedRect(r);
  return RECT{b.left + t.dx, b.top + t.dy, b.right + t.dx, b.bottom + t.dy};
}
// The device rectangle of a w x h area at logical (x, y).
inline RECT DeviceArea(const DrawTarget& t, LONG x, LONG y, LONG w, LONG h) {
  return DeviceBox(t, RECT{Bounded(x), Bounded(y), Bounded(x) + Bounded(w), Bounded(y) + Bounded(h)});
}

template <typename Fn>
void ForEachClipped(const DrawTarget& t, RECT r, Fn fn) {
  r = IntersectBox(r, t.whole);
  if (IsEmptyBox(r)) return;
  if (!t.clips) {
    fn(r);
    return;
  }
  for (const RECT& c : *t.clips) {
    RECT piece = IntersectBox(r, c);
    if (!IsEmptyBox(piece)) fn(piece);
  }
}

}  // namespace device::internal
