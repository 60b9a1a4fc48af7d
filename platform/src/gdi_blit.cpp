// Pixel operations: BitBlt (SRCCOPY, PATCOPY, BLACKNESS, WHITENESS, DSTINVERT),
// TransparentImage, TransparentBlt, GetPixel, SetPixel, GetNearestColor, FillRect, Rectangle,
// MoveToEx, LineTo, and the caret's InvertScreenRect.
//
// Every operation clips to the destination (its bitmap, or the screen DC's visible rectangles)
// and, for copies, to the source. Copies are row moves, so overlapping copies within one
// bitmap are safe. Not provided: other raster operations, stretching (transparent copies of
// unequal sizes copy the common part unscaled), lines that are neither horizontal nor
// vertical (drawn as their two axis-parallel legs), pen widths above 1.
#include "internal/gdi_state.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace device::internal {
namespace {

// Source pixels as a buffer plus the logical-to-buffer offset.
struct SourceView {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int dx = 0;
  int dy = 0;
};

bool ViewOf(HANDLE handle, SourceView& view) {
  if (DeviceContext* dc = LookupDC(reinterpret_cast<HDC>(handle))) {
    DrawTarget t = TargetOf(*dc);
    view = SourceView{t.pixels, t.width, t.height, t.dx, t.dy};
    return true;
  }
  if (BitmapObject* bitmap = LookupBitmap(reinterpret_cast<HGDIOBJ>(handle))) {
    view = SourceView{bitmap->pixels.data(), bitmap->width, bitmap->height, 0, 0};
    return true;
  }
  return false;
}

// Destination rectangle in device pixels for a copy of w x h from source (sx, sy): shrunk so
// that the source stays inside its buffer. `shift` receives source minus destination.
RECT CopyRect(const DrawTarget& t, int x, int y, int w, int h, const SourceView& s, int sx,
              int sy, POINT& shift) {
  RECT dst = DeviceArea(t, x, y, w, h);
  shift = POINT{Bounded(sx) + s.dx - dst.left, Bounded(sy) + s.dy - dst.top};
  RECT srcBounds{-shift.x, -shift.y, s.width - shift.x, s.height - shift.y};
  return IntersectBox(dst, srcBounds);
}

void MarkIfScreen(const DrawTarget& t, bool drew) {
  if (t.isScreen && drew) NoteScreenChanged();
}

void FillPiece(const DrawTarget& t, const RECT& r, std::uint32_t pixel) {
  for (int row = r.top; row < r.bottom; ++row) {
    std::uint32_t* p = t.pixels + static_cast<std::size_t>(row) * t.width;
    std::fill(p + r.left, p + r.right, pixel);
  }
}

void InvertPiece(const DrawTarget& t, const RECT& r) {
  for (int row = r.top; row < r.bottom; ++row) {
    std::uint32_t* p = t.pixels + static_cast<std::size_t>(row) * t.width;
    for (int col = r.left; col < r.right; ++col) p[col] ^= 0x00FFFFFF;
  }
}

// Fills device rectangle `r` (clipped) with `pixel`; returns whether anything was painted.
bool FillDevice(const DrawTarget& t, const RECT& r, std::uint32_t pixel) {
  bool drew = false;
  ForEachClipped(t, r, [&](const RECT& piece) {
    FillPiece(t, piece, pixel);
    drew = true;
  });
  MarkIfScreen(t, drew);
  return drew;
}

void CopyPiece(const DrawTarget& t, const RECT& r, const SourceView& s, POINT shift) {
  const int count = r.right - r.left;
  // Rows go bottom-up when copying downwards within one buffer, so no row is read after
  // being overwritten; memmove handles overlap within a row.
  const bool upwards = s.pixels == t.pixels && shift.y < 0;
  for (int i = 0; i < r.bottom - r.top; ++i) {
    const int row = upwards ? r.bottom - 1 - i : r.top + i;
    std::uint32_t* d = t.pixels + static_cast<std::size_t>(row) * t.width + r.left;
    const std::uint32_t* p =
        s.pixels + static_cast<std::size_t>(row + shift.y) * s.width + r.left + shift.x;
    std::memmove(d, p, count * sizeof(std::uint32_t));
  }
}

void KeyedCopyPiece(const DrawTarget& t, const RECT& r, const SourceView& s, POINT shift,
                    std::uint32_t key) {
  for (int row = r.top; row < r.bottom; ++row) {
    std::uint32_t* d = t.pixels + static_cast<std::size_t>(row) * t.width;
    const std::uint32_t* p = s.pixels + static_cast<std::size_t>(row + shift.y) * s.width + shift.x;
    for (int col = r.left; col < r.right; ++col) {
      if (p[col] != key) d[col] = p[col];
    }
  }
}

bool FillLogical(DeviceContext& dc, int left, int top, int right, int bottom, std::uint32_t pixel) {
  DrawTarget t = TargetOf(dc);
  return FillDevice(t, DeviceBox(t, RECT{left, top, right, bottom}), pixel);
}

bool ContainsPoint(const DrawTarget& t, int x, int y) {
  RECT dot{x, y, x + 1, y + 1};
  bool inside = false;
  ForEachClipped(t, dot, [&](const RECT&) { inside = true; });
  return inside;
}

bool KeyedCopy(HDC dstHandle, int x, int y, int w, int h, HANDLE src, int sx, int sy, int sw,
               int sh, COLORREF transparent) {
  DeviceContext* dc = LookupDC(dstHandle);
  SourceView s;
  if (!dc || !ViewOf(src, s) || w < 0 || h < 0 || sw < 0 || sh < 0) return false;
  DrawTarget t = TargetOf(*dc);
  POINT shift;
  RECT r = CopyRect(t, x, y, std::min(w, sw), std::min(h, sh), s, sx, sy, shift);
  const std::uint32_t key = PixelOf(transparent);
  bool drew = false;
  ForEachClipped(t, r, [&](const RECT& piece) {
    KeyedCopyPiece(t, piece, s, shift, key);
    drew = true;
  });
  MarkIfScreen(t, drew);
  return true;
}

}  // namespace

void InvertScreenRect(const RECT& screenRect, const std::vector<RECT>& visible) {
  Surface screen = ScreenSurface();
  DrawTarget t;
  t.pixels = screen.pixels;
  t.width = screen.width;
  t.height = screen.height;
  t.clips = &visible;
  t.whole = RECT{0, 0, screen.width, screen.height};
  t.isScreen = true;
  bool drew = false;
  ForEachClipped(t, screenRect, [&](const RECT& piece) {
    InvertPiece(t, piece);
    drew = true;
  });
  MarkIfScreen(t, drew);
}

}  // namespace device::internal

using namespace device::internal;

BOOL BitBlt(HDC dstHandle, int x, int y, int w, int h, HDC srcHandle, int sx, int sy, DWORD rop) {
  DeviceContext* dc = LookupDC(dstHandle);
  if (!dc || w < 0 || h < 0) return FALSE;
  DrawTarget t = TargetOf(*dc);
  RECT dst = DeviceArea(t, x, y, w, h);
  switch (rop) {
    case BLACKNESS: FillDevice(t, dst, 0); return TRUE;
    case WHITENESS: FillDevice(t, dst, 0xFFFFFF); return TRUE;
    case PATCOPY:
      if (!dc->brush->null) FillDevice(t, dst, PixelOf(dc->brush->color));
      return TRUE;
    case DSTINVERT: {
      bool drew = false;
      ForEachClipped(t, dst, [&](const RECT& piece) {
        InvertPiece(t, piece);
        drew = true;
      });
      MarkIfScreen(t, drew);
      return TRUE;
    }
    case SRCCOPY: break;
    default: return FALSE;
  }
  SourceView s;
  if (!ViewOf(srcHandle, s)) return FALSE;
  POINT shift;
  RECT r = CopyRect(t, x, y, w, h, s, sx, sy, shift);
  bool drew = false;
  ForEachClipped(t, r, [&](const RECT& piece) {
    CopyPiece(t, piece, s, shift);
    drew = true;
  });
  MarkIfScreen(t, drew);
  return TRUE;
}

BOOL TransparentImage(HDC dst, LONG x, LONG y, LONG w, LONG h, HANDLE src, LONG sx, LONG sy,
                      LONG sw, LONG sh, COLORREF transparent) {
  return KeyedCopy(dst, x, y, w, h, src, sx, sy, sw, sh, transparent) ? TRUE : FALSE;
}

BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                    UINT transparent) {
  return KeyedCopy(dst, x, y, w, h, src, sx, sy, sw, sh, transparent) ? TRUE : FALSE;
}

COLORREF GetPixel(HDC handle, int x, int y) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return CLR_INVALID;
  DrawTarget t = TargetOf(*dc);
  const int px = Bounded(x) + t.dx;
  const int py = Bounded(y) + t.dy;
  if (!ContainsPoint(t, px, py)) return CLR_INVALID;
  return ColorOf(t.pixels[static_cast<std::size_t>(py) * t.width + px]);
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return CLR_INVALID;
  if (!FillLogical(*dc, x, y, x + 1, y + 1, PixelOf(color))) return CLR_INVALID;
  return color & 0xFFFFFF;
}

COLORREF GetNearestColor(HDC handle, COLORREF color) {
  // A 32 bpp screen shows every colour exactly.
  return LookupDC(handle) ? (color & 0xFFFFFF) : CLR_INVALID;
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
  DeviceContext* dc = LookupDC(handle);
  GdiObject* object = LookupObject(brushHandle);
  if (!dc || !rect || !object || object->kind != GdiKind::Brush) return 0;
  auto* brush = static_cast<BrushObject*>(object);
  if (!brush->null) FillLogical(*dc, rect->left, rect->top, rect->right, rect->bottom, PixelOf(brush->color));
  return 1;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  const int inset = dc->pen->null ? 0 : 1;
  if (!dc->brush->null) {
    FillLogical(*dc, left + inset, top + inset, right - inset, bottom - inset,
                PixelOf(dc->brush->color));
  }
  if (!dc->pen->null) {
    const std::uint32_t pen = PixelOf(dc->pen->color);
    FillLogical(*dc, left, top, right, top + 1, pen);
    FillLogical(*dc, left, bottom - 1, right, bottom, pen);
    FillLogical(*dc, left, top, left + 1, bottom, pen);
    FillLogical(*dc, right - 1, top, right, bottom, pen);
  }
  return TRUE;
}

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->penPosition;
  dc->penPosition = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
  DeviceContext* dc = LookupDC(handle);
  if (!dc) return FALSE;
  const POINT from = dc->penPosition;
  if (!dc->pen->null) {
    // The end point is not drawn, as in Win32. A diagonal is drawn as its horizontal leg
    // followed by its vertical leg; the programs draw only axis-parallel lines.
    const std::uint32_t pen = PixelOf(dc->pen->color);
    if (x != from.x) {
      const int left = std::min(from.x, x) + (x < from.x ? 1 : 0);
      FillLogical(*dc, left, from.y, left + std::abs(x - from.x), from.y + 1, pen);
    }
    if (y != from.y) {
      const int top = std::min(from.y, y) + (y < from.y ? 1 : 0);
      FillLogical(*dc, x, top, x + 1, top + std::abs(y - from.y), pen);
    }
  }
  dc->penPosition = POINT{x, y};
  return TRUE;
}
