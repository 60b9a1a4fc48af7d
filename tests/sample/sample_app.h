// The sample program's entry points, for its test.
#pragma once

#include <device/driver.h>
#include <device/user.h>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace sample {
constexpr const char16_t* kFrameClass = u"SampleFrame";
constexpr const char16_t* kCardClass = u"SampleCard";
constexpr RECT kCardRect{20, 60, 220, 260};  // screen rectangle of the card
// The card's background after 0, 1, 2, ... taps (the list repeats).
constexpr COLORREF kCardColours[] = {RGB(200, 230, 255), RGB(200, 255, 200), RGB(255, 220, 180)};
constexpr UINT kTickMs = 500;
}  // namespace sample
