// What the keyboards' input does to the note and to the word tracker on the main screen: a
// stroke ends a word exactly as the key it stands for, a pending multi-tap character is typed
// before anything that follows it, and the tracker learns only what the editor took.
#include "main_screen_fixture.h"

#include <device/files.h>

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace mainscreen_test;

namespace {

constexpr int kStroke = 45;  // longer than the default stroke threshold of 35 pixels

std::u16string Completion(int k) {
  WCHAR word[kWordBufferSize] = {};
  ThePredictionEngine().tracker.GetCompletion(k, word);
  return word;
}

std::u16string CurrentWord() { return ThePredictionEngine().tracker.CurrentWord(); }

POINT PredictiveKey(WCHAR c) { return PredictiveKeyPoint(c); }
POINT PhoneKey(int k) { return PhoneKeyPoint(k); }
void TapKey(device::Driver& d, int predictKey) {
  const POINT p = KeyCentre(PredictKeyPlace(predictKey).rect);
  d.Tap(p.x, p.y);
}
constexpr int kGhiKey = 3;
constexpr int kAbcKey = 1;

void StrokeFrom(device::Driver& d, POINT p, int dx, int dy) { d.Stroke(p.x, p.y, p.x + dx, p.y + dy); }

// What a person sees and what the tracker holds after a word was ended one way or another.
struct WordEnded {
  std::u16string text;
  std::array<std::u16string, 3> completions;
  std::u16string nextKeys;
  std::vector<COLORREF> barAndKeypad;  // every pixel from the prediction bar down
  std::u16string afterSuggestion;      // the note after tapping the likeliest suggestion
};

Opening PredictiveKeypadOpening() {
  Opening opening;
  opening.beforeOpening = [](SettingsBlock& settings) { settings.inputmethod = 1; };
  return opening;
}

WordEnded TypeTheAndEnd(const std::function<void(device::Driver&)>& endWord) {
  WordEnded seen;
  RunMainScreen(PredictiveKeypadOpening(), [&](device::Driver& d) {
    for (WCHAR c : std::u16string(u"the")) d.Tap(PredictiveKey(c).x, PredictiveKey(c).y);
    endWord(d);
    seen.text = EditorText(d);
    for (int k = 0; k < 3; ++k) seen.completions[k] = Completion(k);
    seen.nextKeys = ThePredictionEngine().tracker.GetNextKeys();
    for (int y = 93; y < 320; ++y)
      for (int x = 0; x < 240; ++x) seen.barAndKeypad.push_back(d.Pixel(x, y));
    Tap(d, Bar(d), 40, 13);
    seen.afterSuggestion = EditorText(d);
  });
  return seen;
}

void ExpectSameEnd(const WordEnded& stroke, const WordEnded& key) {
  ASSERT_FALSE(key.completions[0].empty()) << "the shipped next-word list follows \"the\" with words";
  EXPECT_EQ(stroke.text, key.text);
  EXPECT_EQ(stroke.completions, key.completions);
  EXPECT_EQ(stroke.nextKeys, key.nextKeys);
  EXPECT_TRUE(stroke.barAndKeypad == key.barAndKeypad) << "the bar's words and the keypad's marks differ";
  EXPECT_EQ(stroke.afterSuggestion.substr(0, key.text.size() + key.completions[0].size()),
            key.text + key.completions[0]);
  EXPECT_EQ(stroke.afterSuggestion, key.afterSuggestion);
}

// A phone keypad note (input method 2). The settings are saved when the screen closes, so a
// phone test puts the input method back first (RestoreInputMethod) for the tests after it.
void RestoreInputMethod() { TheSettings().inputmethod = 1; }

Opening PhoneKeypadOpening() {
  Opening opening;
  opening.beforeOpening = [](SettingsBlock& settings) { settings.inputmethod = 2; };
  return opening;
}

UINT MultiTapPeriod() { return static_cast<UINT>(TheSettings().phonetimer) * 300; }

// "h" typed, "i" pending on the phone keypad.
void TypeHWithIPending(device::Driver& d) {
  ASSERT_EQ(ClassOf(Keyboard(d)), u"PhoneKeyClass");
  for (int i = 0; i < 2; ++i) d.Tap(PhoneKey(kGhiKey).x, PhoneKey(kGhiKey).y);
  d.AdvanceTime(MultiTapPeriod());
  for (int i = 0; i < 3; ++i) d.Tap(PhoneKey(kGhiKey).x, PhoneKey(kGhiKey).y);
  ASSERT_EQ(EditorText(d), u"h");
}

std::u16string NoteFileText(const WCHAR* path) {
  HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return u"<missing>";
  std::vector<BYTE> bytes(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) text.push_back(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
  if (!text.empty() && text.back() == 0) text.pop_back();
  return text;
}

std::u16string OnlyNoteName() {
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFile(u"\\My Documents\\Tavrels\\*.pwi", &found);
  if (find == INVALID_HANDLE_VALUE) return u"";
  FindClose(find);
  return found.cFileName;
}

}  // namespace

TEST(KeyboardInput, ARightStrokeEndsTheWordAsTheSpaceKeyDoes) {
  const WordEnded key = TypeTheAndEnd([](device::Driver& d) { TapKey(d, kPredictSpaceKey); });
  const WordEnded stroke = TypeTheAndEnd([](device::Driver& d) { StrokeFrom(d, PredictiveKey(u'a'), kStroke, 0); });
  EXPECT_EQ(key.text, u"the ");
  ExpectSameEnd(stroke, key);
}

TEST(KeyboardInput, ADownStrokeEndsTheWordAsTheEnterKeyDoes) {
  const WordEnded key = TypeTheAndEnd([](device::Driver& d) { TapKey(d, kPredictEnterKey); });
  const WordEnded stroke = TypeTheAndEnd([](device::Driver& d) { StrokeFrom(d, PredictiveKey(u'a'), 0, kStroke); });
  EXPECT_EQ(key.text, u"the\r\n");
  ExpectSameEnd(stroke, key);
}

TEST(KeyboardInput, PhoneStrokesTypeThePendingCharacterFirst) {
  std::int32_t learnedHi = 0, learnedH = 0;
  RunMainScreen(PhoneKeypadOpening(), [&](device::Driver& d) {
    const std::int32_t hiBefore = ThePredictionEngine().dictionary.CountOf(u"hi");
    const std::int32_t hBefore = ThePredictionEngine().dictionary.CountOf(u"h");
    TypeHWithIPending(d);
    StrokeFrom(d, PhoneKey(0), kStroke, 0);
    EXPECT_EQ(EditorText(d), u"hi ");
    learnedHi = ThePredictionEngine().dictionary.CountOf(u"hi") - hiBefore;
    learnedH = ThePredictionEngine().dictionary.CountOf(u"h") - hBefore;
    d.AdvanceTime(MultiTapPeriod() * 2);
    EXPECT_EQ(EditorText(d), u"hi ") << "nothing follows the stroke";

    for (int i = 0; i < 2; ++i) d.Tap(PhoneKey(kAbcKey).x, PhoneKey(kAbcKey).y);
    StrokeFrom(d, PhoneKey(0), 0, kStroke);
    EXPECT_EQ(EditorText(d), u"hi b\r\n");
    d.Tap(PhoneKey(kAbcKey).x, PhoneKey(kAbcKey).y);
    StrokeFrom(d, PhoneKey(0), -kStroke, 0);
    EXPECT_EQ(EditorText(d), u"hi b\r\n") << "the pending 'a' is typed, then erased";
    d.AdvanceTime(MultiTapPeriod() * 2);
    EXPECT_EQ(EditorText(d), u"hi b\r\n");
    RestoreInputMethod();
  });
  EXPECT_EQ(learnedHi, 1);
  EXPECT_EQ(learnedH, 0);
}

TEST(KeyboardInput, SaveTypesThePendingCharacterFirst) {
  std::u16string name, text;
  const int result = RunMainScreen(PhoneKeypadOpening(), [&](device::Driver& d) {
    TypeHWithIPending(d);
    RestoreInputMethod();
    TapMenu(d, 3);  // "Save"
    name = OnlyNoteName();
    text = NoteFileText((u"\\My Documents\\Tavrels\\" + name).c_str());
    DeleteFile((u"\\My Documents\\Tavrels\\" + name).c_str());
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(name, u"hi.pwi");
  EXPECT_EQ(text, u"hi");
}

TEST(KeyboardInput, ChangingKeyboardsOrLanguagesTypesThePendingCharacterFirst) {
  RunMainScreen(PhoneKeypadOpening(), [&](device::Driver& d) {
    TypeHWithIPending(d);
    TapMenu(d, 2);  // "Keys": the predictive keypad
    EXPECT_EQ(EditorText(d), u"hi");
    TapMenu(d, 2);
    TapKeys(d);  // the phone keypad again
    ASSERT_EQ(ClassOf(Keyboard(d)), u"PhoneKeyClass");
    d.Tap(PhoneKey(kAbcKey).x, PhoneKey(kAbcKey).y);
    d.PressKey(VK_APP3);  // next language
    EXPECT_EQ(EditorText(d), u"hia");
    d.Tap(PhoneKey(kAbcKey).x, PhoneKey(kAbcKey).y);
    d.PressKey(VK_APP1);  // numeric mode
    EXPECT_EQ(EditorText(d), u"hiaa");
    d.PressKey(VK_APP1);  // numeric mode is kept between openings: back to text
    RestoreInputMethod();
  });
}

TEST(KeyboardInput, CharactersTheEditorRefusesNeverReachTheWordTracker) {
  RunMainScreen({}, [](device::Driver& d) {
    TypeWord(d, u"ab");
    SendMessage(Editor(d), EM_LIMITTEXT, 3, 0);
    TypeWord(d, u"cd");
    EXPECT_EQ(EditorText(d), u"abc");
    EXPECT_EQ(CurrentWord(), u"abc");
    const std::int32_t learned = ThePredictionEngine().dictionary.CountOf(u"abc");
    TypeWord(d, u" ");
    SendInput(d, kInputEnter);
    SendInput(d, kInputTab);
    EXPECT_EQ(EditorText(d), u"abc");
    EXPECT_EQ(CurrentWord(), u"abc") << "a refused separator ends no word";
    EXPECT_EQ(ThePredictionEngine().dictionary.CountOf(u"abc"), learned);
  });
}

TEST(KeyboardInput, AHundredThousandCharacterNoteCanBeTypedIntoAndSaved) {
  std::u16string start;
  for (int i = 0; i < 19999; ++i) start += u"note ";  // 99,995 characters
  std::u16string saved;
  RunMainScreen(PredictiveKeypadOpening(), [&](device::Driver& d) {
    SetWindowText(Editor(d), start.c_str());
    const int end = GetWindowTextLength(Editor(d));
    SendMessage(Editor(d), EM_SETSEL, end, end);
    for (WCHAR c : std::u16string(u"words")) d.Tap(PredictiveKey(c).x, PredictiveKey(c).y);
    EXPECT_EQ(GetWindowTextLength(Editor(d)), 100000);
    EXPECT_EQ(CurrentWord(), u"words");
    TapMenu(d, 3);
    const std::u16string path = u"\\My Documents\\Tavrels\\" + OnlyNoteName();
    saved = NoteFileText(path.c_str());
    DeleteFile(path.c_str());
  });
  EXPECT_EQ(saved.size(), 100000u);
  EXPECT_TRUE(saved == start + u"words");
}
