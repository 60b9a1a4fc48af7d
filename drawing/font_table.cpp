// The font table keeps creation order; ids come from a counter that starts at 0 and is never
// reused, so a deleted id is never found again.
#include "drawing/font_table.h"

#include <device/dialogs.h>

#include <algorithm>
#include <vector>

namespace {

struct FontEntry {
  HFONT font;
  int id;
};

std::vector<FontEntry> fontTable;
int nextFontId = 0;

constexpr int kCreateAttempts = 3;

LOGFONTW DescribeFont(const WCHAR* faceName, int height, bool vertical, bool bold) {
  LOGFONTW description{};
  description.lfHeight = height;
  description.lfWidth = 0;
  description.lfEscapement = vertical ? 900 : 0;
  description.lfOrientation = vertical ? 900 : 0;
  description.lfWeight = bold ? 700 : 400;
  description.lfCharSet = 0;
  description.lfQuality = 1;  // draft
  description.lfPitchAndFamily = 4;
  for (int i = 0; i < LF_FACESIZE - 1 && faceName[i] != 0; ++i) description.lfFaceName[i] = faceName[i];
  return description;
}

}  // namespace

int CreateAppFont(const WCHAR* faceName, int height, bool vertical, bool bold) {
  const LOGFONTW description = DescribeFont(faceName, height, vertical, bold);
  HFONT font = nullptr;
  for (int attempt = 0; attempt < kCreateAttempts && font == nullptr; ++attempt) {
    font = CreateFontIndirect(&description);
  }
  fontTable.push_back({font, nextFontId});
  return nextFontId++;
}

HFONT GetAppFont(int fontId) {
  for (const FontEntry& entry : fontTable) {
    if (entry.id == fontId) return entry.font;
  }
  return nullptr;
}

void DeleteAppFont(int fontId) {
  if (fontTable.empty()) return;
  auto found = std::find_if(fontTable.begin(), fontTable.end(),
                            [fontId](const FontEntry& entry) { return entry.id == fontId; });
  if (found == fontTable.end()) {
    MessageBox(nullptr, u"kakuKK!!", u"kaak", MB_OK);
    return;
  }
  if (found->font != nullptr) DeleteObject(found->font);
  fontTable.erase(found);
}

void DeleteAllAppFonts() {
  for (const FontEntry& entry : fontTable) {
    if (entry.font != nullptr) DeleteObject(entry.font);
  }
  fontTable.clear();
  fontTable.shrink_to_fit();
}

HFONT DefaultAppFont(bool bold) {
  if (fontTable.empty()) CreateAppFont(u"MS SANS SERIF", 15, false, bold);
  return fontTable.front().font;
}
