// The program entry of tavrel and its headless demo: a person writes a note. The start window,
// the new-note band, a sentence on the predictive keypad with one word taken from the
// prediction bar, a few letters by multi-tap on the phone keypad, "Save", and then the grid
// menu that opens on Enter when the menu bar is not shown always.
#include "keyboards/keyboard_common.h"
#include "keyboards/phone_keypad.h"
#include "keyboards/predict_keypad.h"
#include "prediction/prediction_engine.h"
#include "settings/settings_store.h"
#include "shell/startup.h"

#include <device/driver.h>
#include <device/files.h>

#include <cstdio>
#include <cwctype>
#include <string>
#include <string_view>

int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
  return RunTavrel(instance);
}

namespace {

// Where a person taps, in screen coordinates, with the menu bar shown always (`Menu` on, as on
// a fresh device). The keyboards keep their key tables private, so their geometry is repeated
// here from kPredictKeyLayout (keyboards/predict_keypad.cpp) and kPhoneKeyLayout
// (keyboards/phone_keypad.cpp); which key carries a character is looked up at run time in the
// language's key strings, as the keyboards themselves do.
constexpr POINT kNewNoteBand{120, 130};  // the start window's second band
constexpr int kMenuButtonWidth = 48;     // the menu bar: five buttons along the top, 30 px high
constexpr int kMenuBarMiddle = 15;
enum DemoMenuButton { kKeysButton = 2, kSaveButton = 3 };
constexpr int kKeyboardTop = 122;   // both keypads are children of the main screen at (0, 122)
constexpr int kPredictKeySize = 34;  // the predictive keypad's 7 x 5 grid of square keys
constexpr int kPhoneKeyWidth = 80;   // the phone keypad's twelve letter keys, in rows of three
constexpr int kPhoneKeyHeight = 42;
constexpr int kPhoneKeyTop = 1;
constexpr POINT kSpaceKey{120, kKeyboardTop + 185};  // Space, in the same place on both keypads
constexpr int kSuggestionY = 93 + 13;  // the prediction bar's three 80 px buttons, likeliest left
constexpr int kUpStroke = 45;          // longer than the stroke threshold (35 px by default)
constexpr UINT kMultiTapStepMs = 300;  // the multi-tap period is `phonetimer` steps
constexpr UINT kPastTimeoutMs = 50;

// What the demo writes: the first part on the predictive keypad up to a word that the
// prediction bar completes, the rest by multi-tap on the phone keypad.
constexpr std::u16string_view kPredictiveText = u"Meet Anna tomo";
constexpr std::u16string_view kSuggestedWord = u"tomorrow";
constexpr std::u16string_view kMultiTapText = u"at noon";

constexpr WCHAR kNotePattern[] = u"\\My Documents\\Tavrels\\*.pwi";

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

class NoteWritingDemo {
 public:
  explicit NoteWritingDemo(device::Driver& driver) : d_(driver) {}

  // Screenshots are numbered in the order they are taken: tavrel-01-start.png, ...
  void Screenshot(const char* name) {
    char file[64];
    std::snprintf(file, sizeof file, "tavrel-%02d-%s", ++shots_, name);
    d_.Screenshot(file);
  }

  void TapMenu(int button) { d_.Tap(kMenuButtonWidth * button + kMenuButtonWidth / 2, kMenuBarMiddle); }

  bool MainScreenOpen() const { return d_.Find(u"#32770") != nullptr; }
  std::u16string EditorText() const {
    HWND editor = d_.Find(u"EDIT");
    return editor != nullptr ? d_.WindowText(editor) : std::u16string{};
  }

  // A character on the predictive keypad: a tap on its key, or an up stroke on the key of its
  // lower case for a capital (the stroke gives the other case). A space is the Space key.
  bool TapPredictiveKey(char16_t c) {
    if (c == u' ') {
      d_.Tap(kSpaceKey.x, kSpaceKey.y);
      return true;
    }
    const char16_t lower = static_cast<char16_t>(std::towlower(c));
    const int key = PredictiveKeyOf(lower);
    if (key < 0) return Missing(c);
    const int x = kPredictKeySize * (key % kPredictColumns) + kPredictKeySize / 2;
    const int y = kKeyboardTop + kPredictKeySize * (key / kPredictColumns) + kPredictKeySize / 2;
    if (lower == c) d_.Tap(x, y);
    else d_.Stroke(x, y, x, y - kUpStroke);
    return true;
  }

  void TypeOnPredictiveKeypad(std::u16string_view text) {
    for (char16_t c : text) TapPredictiveKey(c);
  }

  // Taps the prediction bar's button that shows `word`, or the likeliest suggestion when none
  // does; then a space unless the bar added one. Returns the word taken, empty for none.
  std::u16string TakeSuggestion(std::u16string_view word) {
    int chosen = -1;
    for (int k = 0; k < 3 && chosen < 0; ++k) {
      if (Suggestion(k) == word) chosen = k;
    }
    if (chosen < 0 && !Suggestion(0).empty()) chosen = 0;
    if (chosen < 0) return {};
    const std::u16string taken = Suggestion(chosen);
    d_.Tap(80 * chosen + 40, kSuggestionY);
    const std::u16string text = EditorText();
    if (!text.empty() && text.back() != u' ') TapPredictiveKey(u' ');
    return taken;
  }

  // "Keys" cycles the input methods (1, 3, 2, ...); taps it until the phone keypad is there.
  bool SwitchToPhoneKeypad() {
    for (int i = 0; i < 3 && d_.Find(kPhoneKeyClass) == nullptr; ++i) TapMenu(kKeysButton);
    d_.RunUntilIdle();
    return d_.Find(kPhoneKeyClass) != nullptr;
  }

  // Taps the phone key of `c` as often as its place in the key's group asks. The character
  // stays pending, shown in the preview, until the multi-tap period ends.
  bool MultiTap(char16_t c) {
    if (c == u' ') {
      d_.Tap(kSpaceKey.x, kSpaceKey.y);
      return true;
    }
    const PhoneKeypadState& keypad = ThePhoneKeypad();
    for (int key = 0; key < kLetterKeyCount; ++key) {
      for (int i = 0; i < kLetterGroupRoom && keypad.letters[key][i] != 0; ++i) {
        if (keypad.letters[key][i] != c) continue;
        const int x = kPhoneKeyWidth * (key % 3) + kPhoneKeyWidth / 2;
        const int y = kKeyboardTop + kPhoneKeyTop + kPhoneKeyHeight * (key / 3) + kPhoneKeyHeight / 2;
        for (int tap = 0; tap <= i; ++tap) d_.Tap(x, y);
        return true;
      }
    }
    return Missing(c);
  }

  // Lets the pending character's period run out, so that it is typed and the next tap on the
  // same key starts a new character. (Space would arrive before a pending character, so the
  // demo waits before every key.)
  void WaitForMultiTap() { d_.AdvanceTime(static_cast<UINT>(TheSettings().phonetimer) * kMultiTapStepMs + kPastTimeoutMs); }

  // Types `text` by multi-tap, waiting out the period after every character; the screenshot
  // named `pendingShot` is taken while the character at `pendingAt` is still pending.
  void TypeByMultiTap(std::u16string_view text, size_t pendingAt, const char* pendingShot) {
    for (size_t i = 0; i < text.size(); ++i) {
      const bool tapped = MultiTap(text[i]);
      if (i == pendingAt && tapped) Screenshot(pendingShot);
      WaitForMultiTap();
    }
  }

  // The name of a saved note in the notes folder, empty when there is none.
  static std::u16string SavedNote() {
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFile(kNotePattern, &found);
    if (find == INVALID_HANDLE_VALUE) return {};
    FindClose(find);
    return found.cFileName;
  }

  void Report(const char* what, std::u16string_view text) const {
    std::printf("demo: %s \"%s\"\n", what, Narrow(text).c_str());
    std::fflush(stdout);
  }

 private:
  // The character key that types `c`, found in the language's key string as the keypad fills
  // its keys (mirrored row by row for the left hand); -1 when no key has it.
  static int PredictiveKeyOf(char16_t c) {
    const WCHAR* row = KeyboardLanguageRecord(KeyboardLanguage()).PREDICT_1;
    for (int i = 0; i < kCharacterKeyCount && row[i] != 0; ++i) {
      if (row[i] != c) continue;
      const int column = i % kPredictColumns;
      return TheSettings().lefthanded != 0 ? i - column + (kPredictColumns - 1 - column) : i;
    }
    return -1;
  }

  static std::u16string Suggestion(int k) {
    WCHAR word[kWordBufferSize] = {};
    ThePredictionEngine().tracker.GetCompletion(k, word);
    return word;
  }

  bool Missing(char16_t c) const {
    std::printf("demo: no key types '%s'; left out\n", Narrow(std::u16string(1, c)).c_str());
    return false;
  }

  device::Driver& d_;
  int shots_ = 0;
};

}  // namespace

// Played against the program when it runs without a display (scripts/run). Every step only
// acts and looks; a missing window or key leaves its step out instead of stopping the demo.
void DemoScript(device::Driver& driver) {
  NoteWritingDemo demo(driver);
  driver.RunUntilIdle();
  driver.AdvanceTime(300);  // full-screen and first-run timers
  demo.Screenshot("start");

  driver.Tap(kNewNoteBand.x, kNewNoteBand.y);
  driver.AdvanceTime(200);  // the main screen's opening timers
  demo.Screenshot("new-note");

  if (demo.MainScreenOpen()) {
    demo.TypeOnPredictiveKeypad(kPredictiveText);
    demo.Screenshot("predictive-typed");
    demo.Report("taken from the prediction bar:", demo.TakeSuggestion(kSuggestedWord));
    demo.Screenshot("suggestion-taken");

    if (demo.SwitchToPhoneKeypad()) {
      demo.Screenshot("phone-keypad");
      // "noon" puts three letters on one key in a row; the shot shows the second 'o' pending.
      demo.TypeByMultiTap(kMultiTapText, kMultiTapText.size() - 2, "multi-tap-pending");
      demo.Screenshot("multi-tap-typed");
    }
    demo.Report("typed:", demo.EditorText());
    demo.TapMenu(kSaveButton);
    driver.AdvanceTime(300);
  }
  demo.Report("saved note:", NoteWritingDemo::SavedNote());
  demo.Screenshot("saved");

  // The grid menu opens on Enter only with `Menu` off; the demo switches it off in the
  // settings block as the setup dialog would (the start window reads it when Enter comes).
  TheSettings().Menu = 0;
  driver.PressKey(VK_RETURN);
  driver.AdvanceTime(400);
  demo.Screenshot("grid-menu");
}
