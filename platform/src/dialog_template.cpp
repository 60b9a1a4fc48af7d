// Dialog templates as data: RegisterDialogTemplates, the lookup by MAKEINTRESOURCE(id), the
// template's font, dialog base units, MapDialogRect and GetDialogBaseUnits.
//
// Base units follow Win32: the width is the average width of the 52 Latin letters of the
// font, rounded, and the height the font's cell height; x pixels = x units * width / 4 and
// y pixels = y units * height / 8, rounded to the nearest pixel. Point sizes are converted at
// the screen's 96 dots per inch. Templates named by a string are not supported (the programs
// name theirs by number).
#include "internal/control_drawing.h"
#include "internal/dialog_state.h"

#include <cstring>
#include <map>

namespace device::internal {

namespace {

std::map<int, const DialogTemplate*>& Templates() {
  static std::map<int, const DialogTemplate*> table;
  return table;
}

}  // namespace

int MulDivRound(int value, int numerator, int denominator) {
  long long product = static_cast<long long>(value) * numerator;
  long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : -((-product + half) / denominator));
}

const DialogTemplate* FindDialogTemplate(LPCWSTR name) {
  auto value = reinterpret_cast<std::uintptr_t>(name);
  if (value >> 16) return nullptr;  // a string name
  auto it = Templates().find(static_cast<int>(value));
  return it == Templates().end() ? nullptr : it->second;
}

HFONT CreateTemplateFont(const DialogTemplate& dialog, bool* owned) {
  *owned = false;
  if (!dialog.fontFace || !*dialog.fontFace) return DefaultControlFont();
  LOGFONTW lf{};
  lf.lfHeight = -MulDivRound(dialog.pointSize ? dialog.pointSize : 8, 96, 72);
  lf.lfWeight = FW_NORMAL;
  for (int i = 0; i < LF_FACESIZE - 1 && dialog.fontFace[i]; ++i) lf.lfFaceName[i] = dialog.fontFace[i];
  HFONT font = CreateFontIndirect(&lf);
  if (!font) return DefaultControlFont();
  *owned = true;
  return font;
}

SIZE DialogBaseUnitsOf(HFONT font) {
  static const char16_t kAlphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontOrDefault(font));
  SIZE extent{0, 0};
  GetTextExtentPoint32(dc, kAlphabet, 52, &extent);
  TEXTMETRICW tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  LONG width = (extent.cx / 26 + 1) / 2;
  return SIZE{width > 0 ? width : 1, tm.tmHeight > 0 ? tm.tmHeight : 1};
}

RECT DialogUnitsToPixels(const SIZE& base, int x, int y, int cx, int cy) {
  int left = MulDivRound(x, base.cx, 4);
  int top = MulDivRound(y, base.cy, 8);
  return RECT{left, top, left + MulDivRound(cx, base.cx, 4), top + MulDivRound(cy, base.cy, 8)};
}

}  // namespace device::internal

using namespace device::internal;

void RegisterDialogTemplates(const DialogTemplate* const* table, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (table[i]) Templates()[table[i]->id] = table[i];
  }
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  DialogState* state = DialogStateOf(dialog);
  if (!state || !rect) return FALSE;
  // Each edge on its own, as Win32 maps them (a control's width is mapped on its own instead).
  SIZE b = state->baseUnits;
  *rect = RECT{MulDivRound(rect->left, b.cx, 4), MulDivRound(rect->top, b.cy, 8),
               MulDivRound(rect->right, b.cx, 4), MulDivRound(rect->bottom, b.cy, 8)};
  return TRUE;
}

LONG GetDialogBaseUnits() {
  SIZE base = DialogBaseUnitsOf(DefaultControlFont());
  return static_cast<LONG>(MAKELPARAM(static_cast<WORD>(base.cx), static_cast<WORD>(base.cy)));
}
