// GDI objects: bitmaps, brushes, pens and fonts, their handles, the stock objects, and
// CreateCompatibleBitmap, CreateBitmap, CreateSolidBrush, CreatePen, CreateFontIndirect,
// GetStockObject, GetObject, DeleteObject.
//
// Every bitmap is 32 bits per pixel (even one made compatible with a memory DC, where Win32
// would make a monochrome one). Pens are solid or null; their width is taken as 1.
// DeleteObject refuses stock objects and objects still selected into a DC, as Win32 does for
// bitmaps; for brushes, pens and fonts this is stricter than Win32 but never frees memory a
// DC still uses.
#include "internal/gdi_state.h"

#include <cstring>
#include <unordered_set>

namespace device::internal {
namespace {

std::unordered_set<GdiObject*>& LiveObjects() {
  static std::unordered_set<GdiObject*> live;
  return live;
}

template <typename T>
T* Register(T* object) {
  LiveObjects().insert(object);
  return object;
}

template <typename T>
T* MakeStock(T* object) {
  object->stock = true;
  return Register(object);
}

LOGFONTW SystemLogFont() {
  LOGFONTW lf{};
  lf.lfHeight = 15;
  lf.lfWeight = FW_NORMAL;
  const char16_t face[] = u"MS SANS SERIF";
  std::memcpy(lf.lfFaceName, face, sizeof face);
  return lf;
}

}  // namespace

GdiObject* LookupObject(HGDIOBJ handle) {
  auto* object = reinterpret_cast<GdiObject*>(handle);
  if (!object || !LiveObjects().count(object)) return nullptr;
  return object;
}

BitmapObject* LookupBitmap(HGDIOBJ handle) {
  GdiObject* object = LookupObject(handle);
  return object && object->kind == GdiKind::Bitmap ? static_cast<BitmapObject*>(object) : nullptr;
}

HGDIOBJ HandleOf(GdiObject* object) { return reinterpret_cast<HGDIOBJ>(object); }

HBITMAP NewBitmap(int width, int height) {
  if (width <= 0 || height <= 0 || width > 0x4000 || height > 0x4000) return nullptr;
  return HandleOf(Register(new BitmapObject(width, height)));
}

BrushObject* StockBrush(int index) {
  static BrushObject* brushes[] = {
      MakeStock(new BrushObject(false, RGB(255, 255, 255))),
      MakeStock(new BrushObject(false, RGB(192, 192, 192))),
      MakeStock(new BrushObject(false, RGB(128, 128, 128))),
      MakeStock(new BrushObject(false, RGB(64, 64, 64))),
      MakeStock(new BrushObject(false, RGB(0, 0, 0))),
      MakeStock(new BrushObject(true, 0)),
  };
  return index >= WHITE_BRUSH && index <= NULL_BRUSH ? brushes[index] : nullptr;
}

PenObject* StockPen(int index) {
  static PenObject* pens[] = {
      MakeStock(new PenObject(false, RGB(255, 255, 255))),
      MakeStock(new PenObject(false, RGB(0, 0, 0))),
      MakeStock(new PenObject(true, 0)),
  };
  return index >= WHITE_PEN && index <= NULL_PEN ? pens[index - WHITE_PEN] : nullptr;
}

FontObject* StockSystemFont() {
  static FontObject* font = MakeStock(new FontObject(SystemLogFont()));
  return font;
}

BitmapObject* StockBitmap() {
  static BitmapObject* bitmap = MakeStock(new BitmapObject(1, 1));
  return bitmap;
}

}  // namespace device::internal

using namespace device::internal;

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) { return NewBitmap(width, height); }

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes != 1 || bitsPerPixel != 32) return nullptr;
  HBITMAP handle = NewBitmap(width, height);
  if (handle && bits) {
    BitmapObject* bitmap = LookupBitmap(handle);
    std::memcpy(bitmap->pixels.data(), bits, bitmap->pixels.size() * sizeof(std::uint32_t));
  }
  return handle;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return HandleOf(Register(new BrushObject(false, color & 0xFFFFFF)));
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style != PS_SOLID && style != PS_NULL) return nullptr;
  return HandleOf(Register(new PenObject(style == PS_NULL, color & 0xFFFFFF)));
}

HFONT CreateFontIndirect(const LOGFONTW* font) {
  if (!font) return nullptr;
  auto* object = new FontObject(*font);
  return HandleOf(Register(object));
}

HGDIOBJ GetStockObject(int index) {
  if (GdiObject* brush = StockBrush(index)) return HandleOf(brush);
  if (GdiObject* pen = StockPen(index)) return HandleOf(pen);
  if (index == SYSTEM_FONT) return HandleOf(StockSystemFont());
  return nullptr;
}

int GetObject(HGDIOBJ handle, int size, LPVOID buffer) {
  GdiObject* object = LookupObject(handle);
  if (!object) return 0;
  if (object->kind == GdiKind::Bitmap) {
    if (!buffer) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    auto* bitmap = static_cast<BitmapObject*>(object);
    BITMAP info{0, bitmap->width, bitmap->height, bitmap->width * 4, 1, 32, nullptr};
    std::memcpy(buffer, &info, sizeof info);
    return sizeof(BITMAP);
  }
  if (object->kind == GdiKind::Font) {
    if (!buffer) return sizeof(LOGFONTW);
    if (size < static_cast<int>(sizeof(LOGFONTW))) return 0;
    std::memcpy(buffer, &static_cast<FontObject*>(object)->logfont, sizeof(LOGFONTW));
    return sizeof(LOGFONTW);
  }
  return 0;
}

BOOL DeleteObject(HGDIOBJ handle) {
  GdiObject* object = LookupObject(handle);
  if (!object || object->stock || object->selections > 0) return FALSE;
  LiveObjects().erase(object);
  delete object;
  return TRUE;
}
