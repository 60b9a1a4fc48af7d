// What the contact details window shows: the set fields of a contact under fixed labels, in a
// fixed order, and where each line lies on the window's pages of 320 pixels. An engine: the
// window draws what it returns.
#pragma once

#include "contacts/poom/poom_interface.h"

#include <string>
#include <vector>

struct DetailsLine {
  const WCHAR* label;    // "Name:", "Work addr:", ...
  std::u16string value;  // parts of a composite line joined by a blank (name) or a line feed
};

// The lines of every set field (a non-empty string, a date that is neither 0.0 nor the store's
// no-date). Title, FileAs, the Yomi fields and the address states are never shown.
std::vector<DetailsLine> ContactDetailsLines(const ContactRecord& record);

constexpr int kDetailsPageHeight = 320;
constexpr int kDetailsFirstTop = 30;     // where the content of a page starts
constexpr int kDetailsLabelHeight = 16;
constexpr int kDetailsValueGap = 5;      // between the label band and the value
constexpr int kDetailsValueLineHeight = 16;

// Where a line lies, in page coordinates (0..319) of its page.
struct DetailsLinePlace {
  int page;
  int labelTop;    // the label band spans labelTop .. labelTop + 16
  int valueTop;    // the value spans valueTop .. valueBottom, one 16-pixel line per line
  int valueBottom;
};

// Lays the lines out top-down: a line whose value would end on a later page than its label
// starts that page at y = 30. The last page is the page of the last line's bottom.
std::vector<DetailsLinePlace> LayOutDetailsLines(const std::vector<DetailsLine>& lines, int* lastPage);
