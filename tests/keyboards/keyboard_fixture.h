// A keyboard under a stand-in main screen: the device gets the shipped data, the language
// table and skin images are loaded as at start-up, and a top-level window records every
// KeyboardInputMessage (feeding typed characters to the word tracker as the main screen does).
#pragma once

#include "common/messages.h"
#include "drawing/skin_images.h"
#include "keyboards/dead_keys.h"
#include "keyboards/landscape_keyboard.h"
#include "keyboards/phone_keypad.h"
#include "keyboards/predict_keypad.h"
#include "keyboards/qwerty_keyboard.h"
#include "prediction/prediction_engine.h"
#include "settings/settings_store.h"

#include <device/driver.h>
#include <device/files.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keyboard_test {

constexpr int kEnglish = 0;
constexpr int kGerman = 1;
constexpr int kSpanish = 3;

constexpr int kKeyboardTop = 122;

struct Input {
  WPARAM code;
  std::u16string text;
};

inline std::vector<Input>& Inputs() {
  static std::vector<Input> inputs;
  return inputs;
}

// What reached the main screen as one string: characters as sent, backspace as '\b', Enter
// as '\r'.
inline std::u16string Typed() {
  std::u16string typed;
  for (const Input& input : Inputs()) {
    if (input.code == kInputCharacter) typed += input.text;
    if (input.code == kInputBackspace) typed += u'\b';
    if (input.code == kInputEnter) typed += u'\r';
  }
  return typed;
}

inline LRESULT CALLBACK MainScreenStandIn(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != KeyboardInputMessage) return DefWindowProc(hwnd, msg, wParam, lParam);
  const auto* text = reinterpret_cast<const WCHAR*>(lParam);
  Inputs().push_back(Input{wParam, text != nullptr ? text : u""});
  if (wParam == kInputCharacter && text != nullptr) ThePredictionEngine().tracker.TypeCharacter(text[0]);
  return 0;
}

// The screen point at the centre of a key rectangle of a keyboard at the usual place.
inline POINT CentreOnScreen(const RECT& key) {
  return POINT{(key.left + key.right) / 2, kKeyboardTop + (key.top + key.bottom) / 2};
}

inline COLORREF ImagePixel(int skinIndex, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, SkinImage(skinIndex));
  const COLORREF pixel = GetPixel(dc, x, y);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return pixel;
}

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device::EnsureDeviceImage());
    PredictionEngine& engine = ThePredictionEngine();
    ASSERT_TRUE(ReadLanguageFile(u"\\Program Files\\Tavrel\\keyboard.txt", engine.languages));
    ASSERT_EQ(engine.languages.count, 6);
    LoadSkinImages();
    LoadSettings(TheSettings(), engine.languages.count);
    engine.dictionary.EmptyDictionary();
    engine.tracker.Clear();
    engine.tracker.SetLoadedLanguage(kEnglish);
    Inputs().clear();
    // A new process: every keypad state back at its start values.
    ThePhoneKeypad() = PhoneKeypadState{};
    ThePredictKeypad() = PredictKeypadState{};
    TheLandscapeKeyboard() = LandscapeKeyboardState{};
    AccentIndex() = kAccentStartIndex;

    RegisterWindowClass(nullptr, kPhoneKeyClassRow);
    RegisterWindowClass(nullptr, kPredictKeyClassRow);
    RegisterWindowClass(nullptr, kQwertyKeyClassRow);
    RegisterWindowClass(nullptr, kLandscapeKeyClassRow);
    WNDCLASSW wc{};
    wc.lpfnWndProc = MainScreenStandIn;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = u"MainScreenStandIn";
    RegisterClass(&wc);
    screen_ = CreateWindowEx(0, u"MainScreenStandIn", u"main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(screen_, nullptr);
    driver_.RunUntilIdle();
  }

  HWND CreateKeyboard(const WCHAR* className) {
    HWND keyboard = CreateWindowEx(0, className, u"keyboard", WS_CHILD | WS_VISIBLE, 0, kKeyboardTop, 240, 201,
                                   screen_, nullptr, nullptr, nullptr);
    driver_.RunUntilIdle();
    return keyboard;
  }

  // Taps a screen point `times` times; strokes from it by (dx, dy).
  void TapAt(POINT p, int times = 1) {
    for (int i = 0; i < times; ++i) driver_.Tap(p.x, p.y);
  }
  void StrokeFrom(POINT p, int dx, int dy) { driver_.Stroke(p.x, p.y, p.x + dx, p.y + dy); }

  // Holds the pen down on `p` through the first two repetitions of its key, `once` each: none
  // before 300 ms, the first at 300 ms, the second `periodMs` later and not a millisecond
  // sooner. The pen stays down.
  void HoldThroughTwoRepetitions(POINT p, const std::u16string& once, int periodMs) {
    driver_.PenDown(p.x, p.y);
    driver_.AdvanceTime(299);
    EXPECT_EQ(Typed(), u"") << "nothing before 300 ms";
    driver_.AdvanceTime(1);
    EXPECT_EQ(Typed(), once) << "the first repetition at 300 ms";
    driver_.AdvanceTime(periodMs - 1);
    EXPECT_EQ(Typed(), once) << "no second repetition before " << periodMs << " ms";
    driver_.AdvanceTime(1);
    EXPECT_EQ(Typed(), once + once) << "the second repetition " << periodMs << " ms after the first";
  }

  // Which frame of its image (0 normal, 1 focused or marked, 2 pressed) a key shows on the
  // screen, judged at the first pixel of the key's top rows where the three frames differ; -1
  // when the screen shows none of them.
  int ShownFrame(const KeyPlace& place) const {
    const RECT& key = place.rect;
    const int width = key.right - key.left;
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < width; ++x) {
        const COLORREF frames[3] = {ImagePixel(place.skinImage, x, y), ImagePixel(place.skinImage, width + x, y),
                                    ImagePixel(place.skinImage, 2 * width + x, y)};
        if (frames[0] == frames[1] || frames[1] == frames[2] || frames[0] == frames[2]) continue;
        const COLORREF shown = driver_.Pixel(key.left + x, kKeyboardTop + key.top + y);
        for (int k = 0; k < 3; ++k) {
          if (shown == frames[k]) return k;
        }
        return -1;
      }
    }
    return -1;
  }

  // How many pixels of a key at rest differ from its normal image: the ink of its label.
  int LabelInk(const KeyPlace& place) const {
    int ink = 0;
    for (int y = place.rect.top; y < place.rect.bottom && kKeyboardTop + y < 320; ++y) {
      for (int x = place.rect.left; x < place.rect.right; ++x) {
        ink += driver_.Pixel(x, kKeyboardTop + y) != ImagePixel(place.skinImage, x - place.rect.left, y - place.rect.top);
      }
    }
    return ink;
  }

  // Whether any pixel of the rectangle (screen coordinates) is a strong red.
  bool HasRedInk(const RECT& r) const {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        const COLORREF c = driver_.Pixel(x, y);
        if ((c & 0xFF) >= 200 && ((c >> 8) & 0xFF) < 100 && ((c >> 16) & 0xFF) < 100) return true;
      }
    }
    return false;
  }

  device::Driver driver_;
  HWND screen_ = nullptr;
};

}  // namespace keyboard_test
