// The turned device on the main screen: the landscape editor's three rotated lines, its
// scroll buttons and pen caret, typing on the landscape keyboard, turning between portrait
// and landscape with the text and the caret, and the QWERTY keyboard of the fourth button.
#include "main_screen_fixture.h"

#include "editor/landscape_editor.h"
#include "keyboards/landscape_keyboard.h"
#include "keyboards/qwerty_keyboard.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mainscreen_test;

namespace {

// The landscape editor with `Menu` on: x 0..45, y 30..319; its text from y 70 down.
constexpr int kEditorTop = 30;
constexpr int kEditorHeight = 289;
constexpr int kTextTop = kEditorTop + kLandscapeButtonsHeight;

Opening OnInputMethod(int method) {
  Opening opening;
  opening.beforeOpening = [method](SettingsBlock& settings) { settings.inputmethod = method; };
  return opening;
}

COLORREF ImagePixel(int skinIndex, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, SkinImage(skinIndex));
  const COLORREF pixel = GetPixel(dc, x, y);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return pixel;
}

HWND LandscapeEditor(const device::Driver& d) { return d.Find(kLandscapeEditorClass, nullptr); }

std::u16string HiddenText(const device::Driver& d) { return d.WindowText(LandscapeHiddenEdit(LandscapeEditor(d))); }

int FirstVisibleLine(const device::Driver& d) {
  return static_cast<int>(SendMessage(LandscapeHiddenEdit(LandscapeEditor(d)), EM_GETFIRSTVISIBLELINE, 0, 0));
}

// The pixels of one line's 14-pixel column under the buttons, and whether they hold the dark
// ink of text (more than the caret's 14-pixel bar).
std::vector<COLORREF> Column(const device::Driver& d, int k) {
  std::vector<COLORREF> pixels;
  for (int y = kTextTop; y < kEditorTop + kEditorHeight; ++y) {
    for (int x = kLandscapeLineWidth * k; x < kLandscapeLineWidth * (k + 1); ++x) pixels.push_back(d.Pixel(x, y));
  }
  return pixels;
}
bool HasInk(const std::vector<COLORREF>& pixels) {
  int ink = 0;
  for (COLORREF c : pixels) ink += (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 300;
  return ink > kLandscapeLineWidth;
}

void TapLandscapeKey(device::Driver& d, int key) {
  const RECT r = LandscapeKeyPlace(key).rect;
  d.Tap(74 + (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// English QWERTYFULL_1: "qwertyuiop" from the bottom of the first column, then
// "asdfghjkl'", "zxcvbnm,.?", "-!\":;()@/&".
constexpr int kKeyE = 2;
constexpr int kKeyY = 5;
constexpr int kKeyO = 8;
constexpr int kKeyH = 15;
constexpr int kKeyI = 7;

}  // namespace

TEST(LandscapeScreen, ShowsThreeLinesAndScrollsALinePerPressRepeatingWhileHeld) {
  RunMainScreen(OnInputMethod(3), [](device::Driver& d) {
    HWND editor = LandscapeEditor(d);
    ASSERT_NE(editor, nullptr);
    SetWindowText(editor, u"one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix\r\nseven\r\neight\r\nnine\r\nten");
    SendMessage(editor, EM_SETSEL, 60, 60);  // the caret far below the lines shown
    d.RunUntilIdle();
    EXPECT_TRUE(HasInk(Column(d, 0)));
    EXPECT_TRUE(HasInk(Column(d, 1)));
    EXPECT_TRUE(HasInk(Column(d, 2)));
    const std::vector<COLORREF> two = Column(d, 1);
    EXPECT_EQ(d.Pixel(3, kEditorTop + 20), ImagePixel(kSkinEditls, 3, 20)) << "the scroll buttons";
    d.Screenshot("landscape-editor-three-lines");

    d.Tap(33, 50);  // ">"
    EXPECT_EQ(FirstVisibleLine(d), 1);
    EXPECT_EQ(Column(d, 0), two) << "the line that was second is drawn first";
    d.PenDown(33, 50);
    d.AdvanceTime(299);
    EXPECT_EQ(FirstVisibleLine(d), 1);
    d.AdvanceTime(1);
    EXPECT_EQ(FirstVisibleLine(d), 2);
    d.AdvanceTime(99);
    EXPECT_EQ(FirstVisibleLine(d), 2);
    d.AdvanceTime(1);
    EXPECT_EQ(FirstVisibleLine(d), 3);
    d.PenUp(33, 50);
    EXPECT_EQ(FirstVisibleLine(d), 4);
    d.AdvanceTime(500);
    EXPECT_EQ(FirstVisibleLine(d), 4) << "the repetition ends with the pen-up";
    d.Tap(11, 50);  // "<"
    EXPECT_EQ(FirstVisibleLine(d), 3);

    SetWindowText(editor, u"one\r\ntwo");
    d.RunUntilIdle();
    EXPECT_TRUE(HasInk(Column(d, 1)));
    EXPECT_FALSE(HasInk(Column(d, 2))) << "a line that does not exist is not drawn";
  });
}

TEST(LandscapeScreen, ThePenPlacesTheCaretInTurnedCoordinates) {
  RunMainScreen(OnInputMethod(3), [](device::Driver& d) {
    HWND editor = LandscapeEditor(d);
    HWND hidden = LandscapeHiddenEdit(editor);
    SetWindowText(editor, u"hello world\r\nsecond line");
    d.RunUntilIdle();
    const int bottom = kEditorHeight;
    // The pen a pixel past the boundary before character `index` of its line, in column `line`.
    auto tapBefore = [&](int index, int line) {
      const LRESULT pos = SendMessage(hidden, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
      const int along = GET_X_LPARAM(pos) + 1;
      d.Tap(kLandscapeLineWidth * line + 7, kEditorTop + bottom - kLandscapeLineWidth - along);
    };
    tapBefore(6, 0);
    EXPECT_EQ(Selection(editor), (std::pair<DWORD, DWORD>{6, 6}));
    POINT caret{};
    GetCaretPos(&caret);
    const int boundary = GET_X_LPARAM(SendMessage(hidden, EM_POSFROMCHAR, 6, 0));
    EXPECT_EQ(caret.x, 0);
    EXPECT_NEAR(caret.y, bottom - kLandscapeLineWidth - boundary, 1) << "the caret bar stands at the tapped boundary";

    tapBefore(17, 1);  // "seco|nd line"
    EXPECT_EQ(Selection(editor), (std::pair<DWORD, DWORD>{17, 17}));
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, kLandscapeLineWidth);

    d.Tap(7, kEditorTop + bottom - 2);  // below the start of the text: no character there
    EXPECT_EQ(Selection(editor), (std::pair<DWORD, DWORD>{17, 17}));
  });
}

TEST(LandscapeScreen, TypingOnTheLandscapeKeyboardKeepsTheDrawnTextWithTheHiddenOne) {
  RunMainScreen(OnInputMethod(3), [](device::Driver& d) {
    ASSERT_EQ(ClassOf(Keyboard(d)), u"LandscapeKeyClass");
    struct Step {
      int key;
      std::u16string text;
    };
    const Step steps[] = {{kKeyH, u"h"},          {kKeyI, u"hi"},           {kLandscapeEnterKey, u"hi\r\n"},
                          {kKeyY, u"hi\r\ny"},    {kKeyO, u"hi\r\nyo"},     {kLandscapeBackspaceKey, u"hi\r\ny"},
                          {kKeyE, u"hi\r\nye"},   {kLandscapeSpaceKey, u"hi\r\nye "}};
    for (const Step& step : steps) {
      TapLandscapeKey(d, step.key);
      EXPECT_EQ(d.WindowText(LandscapeEditor(d)), step.text);
      EXPECT_EQ(HiddenText(d), step.text);
      EXPECT_EQ(HasInk(Column(d, 1)), step.text.size() > 4) << "the second line is drawn as soon as it holds text";
    }
    d.Screenshot("landscape-typed");
  });
}

TEST(LandscapeScreen, TurningFromThePhoneKeypadAndBackKeepsTextAndSelection) {
  RunMainScreen(OnInputMethod(2), [](device::Driver& d) {
    TypeWord(d, u"abc def");
    SendMessage(Editor(d), EM_SETSEL, 2, 5);
    d.PressKey(VK_APP2);  // predictive
    d.PressKey(VK_APP2);  // landscape
    HWND editor = LandscapeEditor(d);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(d.WindowText(editor), u"abc def");
    EXPECT_EQ(Selection(editor), (std::pair<DWORD, DWORD>{2, 5}));
    EXPECT_EQ(d.Pixel(3, kEditorTop + 20), ImagePixel(kSkinEditls, 3, 20)) << "the scroll buttons";
    RECT place;
    GetWindowRect(editor, &place);
    EXPECT_EQ(place.left, 0);
    EXPECT_EQ(place.top, 30);
    EXPECT_EQ(place.right, 45);
    EXPECT_EQ(place.bottom, 319);
    GetWindowRect(d.Find(kMenuClassName, nullptr), &place);
    EXPECT_EQ(place.right - place.left, 45) << "the bar folds to its \">>\" button";
    GetWindowRect(Bar(d), &place);
    EXPECT_EQ(place.left, 45);
    EXPECT_EQ(place.bottom - place.top, 320);

    d.PressKey(VK_LEFT);  // turned: up a line, which there is not; the selection collapses
    SendMessage(editor, EM_SETSEL, 2, 5);
    d.PressKey(VK_APP2);  // the phone keypad
    ASSERT_EQ(LandscapeEditor(d), nullptr);
    EXPECT_EQ(ClassOf(Keyboard(d)), u"PhoneKeyClass");
    EXPECT_EQ(EditorText(d), u"abc def");
    EXPECT_EQ(Selection(Editor(d)), (std::pair<DWORD, DWORD>{2, 5}));
    GetWindowRect(d.Find(kMenuClassName, nullptr), &place);
    EXPECT_EQ(place.right - place.left, 240);
    TypeWord(d, u"X");
    EXPECT_EQ(EditorText(d), u"abXef");
  });
}

TEST(LandscapeScreen, ATitleNarrowsTheEditorAndWithMenuOffItTakesTheWholeHeight) {
  EditRequest request{};
  CopyBounded(request.title, kEditTitleRoom, u"Street");
  CopyBounded(request.text, kEditTextRoom, u"Main Street 1");
  Opening field = OnInputMethod(3);
  field.editMode = kEditField;
  field.request = &request;
  RunMainScreen(field, [](device::Driver& d) {
    RECT place;
    GetWindowRect(LandscapeEditor(d), &place);
    EXPECT_EQ(place.left, 12);
    EXPECT_EQ(place.right, 45);
    EXPECT_EQ(d.WindowText(LandscapeEditor(d)), u"Main Street 1");
    EXPECT_TRUE(HasInk(Column(d, 0)));
    d.Screenshot("landscape-field-with-title");
  });
  Opening menuOff = OnInputMethod(3);
  menuOff.beforeOpening = [](SettingsBlock& settings) {
    settings.inputmethod = 3;
    settings.Menu = 0;
  };
  RunMainScreen(menuOff, [](device::Driver& d) {
    RECT place;
    GetWindowRect(LandscapeEditor(d), &place);
    EXPECT_EQ(place.top, 0);
    EXPECT_EQ(place.bottom, 319);
    TypeWord(d, u"ok");
    EXPECT_EQ(HiddenText(d), u"ok");
  });
}

TEST(LandscapeScreen, ArrowKeysAreTurnedWithTheDevice) {
  RunMainScreen(OnInputMethod(3), [](device::Driver& d) {
    HWND editor = LandscapeEditor(d);
    SetWindowText(editor, u"abc\r\ndef");
    SendMessage(editor, EM_SETSEL, 8, 8);
    d.PressKey(VK_LEFT);  // up a line
    EXPECT_EQ(Selection(editor).first, 3u);
    d.PressKey(VK_DOWN);  // left a character
    EXPECT_EQ(Selection(editor).first, 2u);
    d.PressKey(VK_RIGHT);  // down a line
    EXPECT_EQ(Selection(editor).first, 7u);
    d.PressKey(VK_UP);  // right a character
    EXPECT_EQ(Selection(editor).first, 8u);
  });
}

TEST(LandscapeScreen, TheFourthButtonChoosesQwertyAndKeysGoesOnToThePhoneKeypad) {
  RunMainScreen({}, [](device::Driver& d) {
    TypeWord(d, u"ab");
    d.PressKey(VK_APP4);
    HWND keyboard = Keyboard(d);
    ASSERT_EQ(ClassOf(keyboard), u"QwertyKeyClass");
    EXPECT_EQ(TheSettings().inputmethod, 0);
    RECT place;
    GetWindowRect(keyboard, &place);
    EXPECT_EQ(place.top, 122);
    const RECT q = QwertyKeyPlace(0).rect;
    d.Tap((q.left + q.right) / 2, 122 + (q.top + q.bottom) / 2);
    EXPECT_EQ(EditorText(d), u"abq");
    d.Screenshot("mainscreen-qwerty");
    TapKeys(d);
    EXPECT_EQ(ClassOf(Keyboard(d)), u"PhoneKeyClass");
    EXPECT_EQ(TheSettings().inputmethod, 2);
  });
}
