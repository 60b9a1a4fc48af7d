// The EDIT control as programs use it: typing, line breaks, selection, line and position
// queries after word wrap, scrolling, the text limit, read-only controls, subclassing, and the
// notifications its parent receives.
#include "internal/system_classes.h"

#include <device/driver.h>
#include <device/edit.h>
#include <device/gdi.h>
#include <device/user.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kEditId = 100;

struct Notice {
  int id;
  WORD code;
  bool operator==(const Notice&) const = default;
};

std::vector<Notice>* notices = nullptr;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && notices) notices->push_back(Notice{LOWORD(wParam), HIWORD(wParam)});
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class EditTest : public ::testing::Test {
 protected:
  device::Driver driver;
  std::vector<Notice> received;
  HWND parent = nullptr;

  EditTest() {
    device::internal::RegisterEditClass();
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = u"EditTestParent";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClass(&wc);
    notices = &received;
    parent = CreateWindowEx(0, u"EditTestParent", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320,
                            nullptr, nullptr, nullptr, nullptr);
  }
  ~EditTest() override { notices = nullptr; }

  // A focused edit control at (0, 0) of the parent.
  HWND Create(DWORD style, int width = 240, int height = 150, LPCWSTR text = u"") {
    HWND edit = CreateWindowEx(0, u"EDIT", text, WS_CHILD | WS_VISIBLE | style, 0, 0, width,
                               height, parent, reinterpret_cast<HMENU>(kEditId), nullptr, nullptr);
    SetFocus(edit);
    driver.RunUntilIdle();
    received.clear();
    return edit;
  }

  std::u16string Text(HWND edit) { return driver.WindowText(edit); }

  std::pair<int, int> Selection(HWND edit) {
    DWORD start = 99, end = 99;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
  }

  static int Send(HWND edit, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return static_cast<int>(SendMessage(edit, msg, wParam, lParam));
  }

  static int LineHeight() {
    HDC dc = GetDC(nullptr);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm{};
    GetTextMetrics(dc, &tm);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
  }
};

constexpr DWORD kNoteStyle = ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL;

std::u16string Words(int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) text += i % 3 == 0 ? u"pocket " : (i % 3 == 1 ? u"note " : u"taking ");
  return text;
}

}  // namespace

TEST_F(EditTest, TypingInsertsAtTheCaretAndBackspaceDeletes) {
  HWND edit = Create(kNoteStyle);
  driver.TypeText(u"helo");
  Send(edit, EM_SETSEL, 3, 3);
  driver.TypeChar(u'l');
  EXPECT_EQ(Text(edit), u"hello");
  EXPECT_EQ(Selection(edit), std::make_pair(4, 4));
  driver.TypeChar(8);
  driver.TypeChar(8);
  EXPECT_EQ(Text(edit), u"heo");
  // Control characters other than backspace, tab and line breaks insert nothing.
  driver.TypeChar(0x03);
  driver.TypeChar(0x1B);
  EXPECT_EQ(Text(edit), u"heo");
  EXPECT_EQ(Send(edit, WM_GETTEXTLENGTH), 3);
  EXPECT_TRUE(Send(edit, EM_GETMODIFY));
}

TEST_F(EditTest, ReturnInsertsCrLfAndBackspaceRemovesThePair) {
  HWND edit = Create(kNoteStyle);
  driver.TypeText(u"ab");
  driver.TypeChar(u'\r');
  driver.TypeChar(u'c');
  driver.TypeChar(u'\n');  // a line feed breaks the line as well
  EXPECT_EQ(Text(edit), u"ab\r\nc\r\n");
  EXPECT_EQ(Send(edit, EM_GETLINECOUNT), 3);
  driver.TypeChar(8);
  EXPECT_EQ(Text(edit), u"ab\r\nc");
  Send(edit, EM_SETSEL, 4, 4);
  driver.TypeChar(8);
  EXPECT_EQ(Text(edit), u"abc");
  // The arrow keys step over a pair at once; Delete removes it whole.
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"x\r\ny"));
  Send(edit, EM_SETSEL, 1, 1);
  driver.PressKey(VK_RIGHT);
  EXPECT_EQ(Selection(edit), std::make_pair(3, 3));
  driver.PressKey(VK_LEFT);
  driver.PressKey(VK_DELETE);
  EXPECT_EQ(Text(edit), u"xy");
}

TEST_F(EditTest, SingleLineControlsIgnoreReturn) {
  HWND edit = Create(ES_AUTOHSCROLL);
  driver.TypeText(u"a\rb\tc");
  EXPECT_EQ(Text(edit), u"abc");
  EXPECT_EQ(Send(edit, WM_GETDLGCODE), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
  HWND note = Create(kNoteStyle);
  EXPECT_TRUE(Send(note, WM_GETDLGCODE) & DLGC_WANTALLKEYS);
}

TEST_F(EditTest, SingleLineControlsScrollSidewaysToFollowTheCaret) {
  HWND edit = Create(ES_AUTOHSCROLL, 60, 20);
  driver.TypeText(u"a rather long line of text");
  const int last = Send(edit, WM_GETTEXTLENGTH) - 1;
  const int x = GET_X_LPARAM(Send(edit, EM_POSFROMCHAR, static_cast<WPARAM>(last)));
  EXPECT_GT(x, 0);
  EXPECT_LT(x, 60);
  EXPECT_GT(Send(edit, EM_GETFIRSTVISIBLELINE), 0);  // single-line: the first character shown
  driver.PressKey(VK_HOME);
  EXPECT_EQ(GET_X_LPARAM(Send(edit, EM_POSFROMCHAR, 0)), 1);
}

TEST_F(EditTest, NumberAndCaseStylesFilterTypedCharacters) {
  HWND number = Create(ES_NUMBER);
  driver.TypeText(u"4x2-");
  EXPECT_EQ(Text(number), u"42");
  HWND upper = Create(ES_UPPERCASE);
  driver.TypeText(u"\u00e9t\u00e9");
  EXPECT_EQ(Text(upper), u"\u00c9T\u00c9");
}

TEST_F(EditTest, TypingReplacesTheSelection) {
  HWND edit = Create(kNoteStyle);
  driver.TypeText(u"one two three");
  Send(edit, EM_SETSEL, 4, 7);
  driver.TypeChar(u'2');
  EXPECT_EQ(Text(edit), u"one 2 three");
  // Selection ends may come in either order; the caret is at the second.
  Send(edit, EM_SETSEL, 5, 0);
  EXPECT_EQ(Selection(edit), std::make_pair(0, 5));
  Send(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"ONE\r\n2"));
  EXPECT_EQ(Text(edit), u"ONE\r\n2 three");
  EXPECT_EQ(Selection(edit), std::make_pair(6, 6));
  // 0, -1 selects everything; -1 drops the selection and keeps the caret.
  Send(edit, EM_SETSEL, 0, static_cast<LPARAM>(-1));
  EXPECT_EQ(Selection(edit), std::make_pair(0, 12));
  Send(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Selection(edit), std::make_pair(12, 12));
  driver.TypeChar(8);
  EXPECT_EQ(Text(edit), u"ONE\r\n2 thre");
}

TEST_F(EditTest, ShiftArrowsExtendTheSelection) {
  HWND edit = Create(kNoteStyle);
  driver.TypeText(u"abcd");
  driver.KeyDown(VK_SHIFT);
  driver.PressKey(VK_LEFT);
  driver.PressKey(VK_LEFT);
  driver.KeyUp(VK_SHIFT);
  EXPECT_EQ(Selection(edit), std::make_pair(2, 4));
  driver.TypeChar(u'X');
  EXPECT_EQ(Text(edit), u"abX");
  driver.PressKey(VK_HOME);
  driver.TypeChar(u'>');
  driver.PressKey(VK_END);
  driver.TypeChar(u'<');
  EXPECT_EQ(Text(edit), u">abX<");
}

TEST_F(EditTest, WordWrapBreaksAtBlanksAndLineQueriesAgree) {
  HWND edit = Create(kNoteStyle);
  const std::u16string text = Words(30);
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  const int lines = Send(edit, EM_GETLINECOUNT);
  ASSERT_GT(lines, 3);
  RECT client;
  GetClientRect(edit, &client);
  for (int line = 1; line < lines; ++line) {
    const int start = Send(edit, EM_LINEINDEX, static_cast<WPARAM>(line));
    ASSERT_GT(start, 0);
    EXPECT_EQ(text[static_cast<size_t>(start) - 1], u' ') << "line " << line;
    EXPECT_EQ(Send(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(start)), line);
    EXPECT_EQ(Send(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(start - 1)), line - 1);
    // The last visible character of the line before fits beside the scroll bar.
    const int previous = Send(edit, EM_LINEINDEX, static_cast<WPARAM>(line - 1));
    const int length = Send(edit, EM_LINELENGTH, static_cast<WPARAM>(previous));
    EXPECT_EQ(previous + length, start);
    const LPARAM pos = Send(edit, EM_POSFROMCHAR, static_cast<WPARAM>(start - 2));
    EXPECT_LT(GET_X_LPARAM(pos), client.right - 13);
    // Wrapping is greedy: the next line's first word would not have fitted.
    int wordEnd = start;
    while (wordEnd < static_cast<int>(text.size()) && text[static_cast<size_t>(wordEnd)] != u' ') ++wordEnd;
    SIZE size{};
    HDC dc = GetDC(edit);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    GetTextExtentPoint32(dc, text.c_str() + previous, wordEnd - previous, &size);
    ReleaseDC(edit, dc);
    EXPECT_GT(size.cx, client.right - 13 - 2) << "line " << line;
  }
  EXPECT_EQ(Send(edit, EM_LINEINDEX, static_cast<WPARAM>(lines)), -1);
  // -1 means the caret's line.
  Send(edit, EM_SETSEL, static_cast<WPARAM>(text.size()), static_cast<LPARAM>(text.size()));
  EXPECT_EQ(Send(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1)), lines - 1);
  EXPECT_EQ(Send(edit, EM_LINEINDEX, static_cast<WPARAM>(-1)),
            Send(edit, EM_LINEINDEX, static_cast<WPARAM>(lines - 1)));
}

TEST_F(EditTest, PositionAndCharacterQueriesAreInverse) {
  HWND edit = Create(kNoteStyle);
  const std::u16string text = Words(20) + u"\r\nend";
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  const int height = LineHeight();
  for (int index = 0; index < static_cast<int>(text.size()); ++index) {
    if (text[static_cast<size_t>(index)] == u'\n') continue;  // shares its place with the CR
    const LPARAM pos = Send(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index));
    ASSERT_NE(pos, -1);
    const int x = GET_X_LPARAM(pos), y = GET_Y_LPARAM(pos);
    EXPECT_EQ(y % height, 0);
    // A point just inside the character's left half finds it again, with its line.
    const LRESULT hit = SendMessage(edit, EM_CHARFROMPOS, 0, MAKELPARAM(x + 1, y + height / 2));
    const int line = Send(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(index));
    const bool lastOfSoftLine = index + 1 == Send(edit, EM_LINEINDEX, static_cast<WPARAM>(line + 1)) &&
                                text[static_cast<size_t>(index)] == u' ';
    if (lastOfSoftLine) continue;
    EXPECT_EQ(LOWORD(hit), index) << "index " << index;
    EXPECT_EQ(HIWORD(hit), line) << "index " << index;
  }
  EXPECT_EQ(Send(edit, EM_POSFROMCHAR, static_cast<WPARAM>(text.size())), -1);
  EXPECT_EQ(SendMessage(edit, EM_CHARFROMPOS, 0, MAKELPARAM(static_cast<WORD>(-5), 3)), -1);
  // Below the last line: the end of the text, on the last line.
  const LRESULT below = SendMessage(edit, EM_CHARFROMPOS, 0, MAKELPARAM(200, 140));
  EXPECT_EQ(LOWORD(below), text.size());
  EXPECT_EQ(HIWORD(below), Send(edit, EM_GETLINECOUNT) - 1);
}

TEST_F(EditTest, RightAlignedTextEndsAtTheRightEdge) {
  HWND edit = Create(ES_MULTILINE | ES_RIGHT, 130, 14, u"0");
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"12.5"));
  const LPARAM first = Send(edit, EM_POSFROMCHAR, 0);
  const LPARAM last = Send(edit, EM_POSFROMCHAR, 3);
  EXPECT_GT(GET_X_LPARAM(first), 90);
  EXPECT_GT(GET_X_LPARAM(last), GET_X_LPARAM(first));
  EXPECT_LT(GET_X_LPARAM(last), 129);
}

TEST_F(EditTest, ScrollingMovesTheFirstVisibleLineWithinTheText) {
  HWND edit = Create(kNoteStyle);  // 150 pixels: several lines, fewer than the text has
  std::u16string text;
  for (int i = 0; i < 40; ++i) text += u"line\r\n";
  text += u"last";
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  const int visible = 150 / LineHeight();
  EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 0);
  EXPECT_TRUE(Send(edit, EM_LINESCROLL, 0, 5));
  EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 5);
  Send(edit, EM_LINESCROLL, 0, -100);
  EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 0);
  Send(edit, EM_LINESCROLL, 0, 1000);  // the last line ends up at the bottom, no further
  EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 41 - visible);
  // EM_SCROLL answers the lines moved in its low word.
  const LRESULT moved = SendMessage(edit, EM_SCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(static_cast<SHORT>(LOWORD(moved)), -visible);
  EXPECT_EQ(HIWORD(moved), TRUE);
  Send(edit, EM_SCROLL, SB_LINEDOWN);
  EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 42 - 2 * visible);
  // Scrolling the caret into view: from above, the caret's line becomes the first shown.
  Send(edit, EM_SETSEL, 6, 6);
  EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 42 - 2 * visible);  // EM_SETSEL does not scroll
  Send(edit, EM_SCROLLCARET);
  EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 1);
  // Typing at the end scrolls so that the caret's line is the last shown.
  Send(edit, EM_SETSEL, static_cast<WPARAM>(text.size()), static_cast<LPARAM>(text.size()));
  driver.TypeChar(u'!');
  EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 41 - visible);
  EXPECT_EQ(GET_Y_LPARAM(Send(edit, EM_POSFROMCHAR, static_cast<WPARAM>(text.size()))),
            (visible - 1) * LineHeight());
}

TEST_F(EditTest, ScrollBarTapsScrollAndNotify) {
  HWND edit = Create(kNoteStyle);
  std::u16string text;
  for (int i = 0; i < 40; ++i) text += u"row\r\n";
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  driver.Tap(233, 145);  // the down arrow
  EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 1);
  EXPECT_EQ(received, (std::vector<Notice>{{kEditId, EN_VSCROLL}}));
  driver.Tap(233, 120);  // the track below the thumb: a page
  EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), 1 + 150 / LineHeight());
  // Holding the up arrow repeats after 300 ms, then every 100 ms.
  const int before = Send(edit, EM_GETFIRSTVISIBLELINE);
  driver.PenDown(233, 4);
  driver.AdvanceTime(500);
  driver.PenUp(233, 4);
  EXPECT_EQ(Send(edit, EM_GETFIRSTVISIBLELINE), before - 4);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(EditTest, PenPlacesTheCaretAndDragSelects) {
  HWND edit = Create(kNoteStyle);
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"first line\r\nsecond line"));
  const int height = LineHeight();
  const LPARAM s = Send(edit, EM_POSFROMCHAR, 2);
  driver.Tap(GET_X_LPARAM(s) + 1, height / 2);
  EXPECT_EQ(Selection(edit), std::make_pair(2, 2));
  const LPARAM e = Send(edit, EM_POSFROMCHAR, 15);
  driver.Stroke(GET_X_LPARAM(s) + 1, height / 2, GET_X_LPARAM(e) + 1, height + height / 2);
  EXPECT_EQ(Selection(edit), std::make_pair(2, 15));
  EXPECT_EQ(GetCapture(), nullptr);
  // The selection is drawn highlighted while the control has the focus.
  const int y = height / 2;
  bool highlighted = false;
  for (int x = GET_X_LPARAM(s); x < 60; ++x) highlighted = highlighted || driver.Pixel(x, y) == RGB(0, 0, 128);
  EXPECT_TRUE(highlighted);
  // The caret is the focus's: it goes with the focus.
  POINT caret{};
  EXPECT_TRUE(GetCaretPos(&caret));
  EXPECT_EQ(caret.y, height);
  SetFocus(parent);
  EXPECT_FALSE(GetCaretPos(&caret));
}

TEST_F(EditTest, UpAndDownKeepTheColumn) {
  HWND edit = Create(kNoteStyle);
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"abcdef\r\nab\r\nabcdef"));
  Send(edit, EM_SETSEL, 5, 5);
  driver.PressKey(VK_DOWN);
  EXPECT_EQ(Selection(edit), std::make_pair(10, 10));  // end of the short line
  driver.PressKey(VK_DOWN);
  EXPECT_EQ(Selection(edit), std::make_pair(17, 17));  // back in the first column
  driver.PressKey(VK_UP);
  driver.PressKey(VK_UP);
  EXPECT_EQ(Selection(edit), std::make_pair(5, 5));
}

TEST_F(EditTest, TextLimitStopsTypingAndTellsTheParent) {
  HWND edit = Create(ES_MULTILINE | ES_RIGHT);
  EXPECT_EQ(Send(edit, EM_GETLIMITTEXT), 32767);
  Send(edit, EM_LIMITTEXT, 5);
  driver.TypeText(u"123456");
  EXPECT_EQ(Text(edit), u"12345");
  EXPECT_EQ(received.back(), (Notice{kEditId, EN_MAXTEXT}));
  // A replacement is cut to what fits; a line break is never cut in half.
  Send(edit, EM_SETSEL, 4, 5);
  Send(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u"a\r\nb"));
  EXPECT_EQ(Text(edit), u"1234a");
  Send(edit, EM_SETSEL, 3, 5);
  Send(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u"\r\n\r\n"));
  EXPECT_EQ(Text(edit), u"123\r\n");
  // WM_SETTEXT is not limited.
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"1234567"));
  EXPECT_EQ(Text(edit), u"1234567");
}

TEST_F(EditTest, ReadOnlyIgnoresTypingButNotTheProgram) {
  HWND edit = Create(kNoteStyle | ES_READONLY, 240, 150, u"fixed");
  driver.TypeText(u"abc");
  driver.TypeChar(8);
  driver.PressKey(VK_DELETE);
  EXPECT_EQ(Text(edit), u"fixed");
  EXPECT_TRUE(received.empty());
  Send(edit, EM_SETSEL, 5, 5);
  Send(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u"!"));
  EXPECT_EQ(Text(edit), u"fixed!");
  Send(edit, EM_SETREADONLY, FALSE);
  EXPECT_FALSE(GetWindowLong(edit, GWL_STYLE) & ES_READONLY);
  driver.TypeChar(u'?');
  EXPECT_EQ(Text(edit), u"fixed!?");
}

TEST_F(EditTest, NotificationsReachTheParent) {
  HWND edit = Create(kNoteStyle);
  driver.TypeChar(u'a');
  EXPECT_EQ(received, (std::vector<Notice>{{kEditId, EN_UPDATE}, {kEditId, EN_CHANGE}}));
  received.clear();
  // Win32 sends no EN_CHANGE for WM_SETTEXT to a multi-line control; single-line ones do.
  SetWindowText(edit, u"new");
  EXPECT_TRUE(received.empty());
  EXPECT_FALSE(Send(edit, EM_GETMODIFY));
  HWND single = Create(ES_AUTOHSCROLL);
  SetWindowText(single, u"x");
  EXPECT_EQ(received, (std::vector<Notice>{{kEditId, EN_UPDATE}, {kEditId, EN_CHANGE}}));
  received.clear();
  SetFocus(edit);
  EXPECT_EQ(received, (std::vector<Notice>{{kEditId, EN_KILLFOCUS}, {kEditId, EN_SETFOCUS}}));
  received.clear();
  // Moving the caret changes nothing.
  driver.PressKey(VK_RIGHT);
  EXPECT_TRUE(received.empty());
}

namespace {

WNDPROC editProc = nullptr;
std::vector<UINT>* subclassed = nullptr;

// Like the note editor: sees every message first, turns LF into CR, keeps Enter for itself.
LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (subclassed) subclassed->push_back(msg);  // the driver destroys the window after the test
  if (msg == WM_CHAR && wParam == u'\r') return 0;
  if (msg == WM_CHAR && wParam == u'\n') wParam = u'\r';
  return CallWindowProc(editProc, hwnd, msg, wParam, lParam);
}

}  // namespace

TEST_F(EditTest, ASubclassSeesEveryMessageFirst) {
  WNDCLASSW info{};
  ASSERT_TRUE(GetClassInfo(nullptr, u"edit", &info));
  editProc = info.lpfnWndProc;
  std::vector<UINT> seen;
  subclassed = &seen;
  HWND edit = Create(kNoteStyle);
  SetWindowLong(edit, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
  driver.TypeText(u"ab\r\nc");
  EXPECT_EQ(Text(edit), u"ab\r\nc");
  EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_CHAR), 5);
  EXPECT_EQ(seen.back(), WM_GETTEXT);
  EXPECT_NE(std::find(seen.begin(), seen.end(), WM_PAINT), seen.end());
  seen.clear();
  driver.Tap(20, 5);
  const std::vector<UINT> pen{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_CAPTURECHANGED};
  std::vector<UINT> penSeen;
  std::copy_if(seen.begin(), seen.end(), std::back_inserter(penSeen),
               [](UINT m) { return m != WM_PAINT && m != WM_MOUSEMOVE; });
  EXPECT_EQ(penSeen, pen);
  subclassed = nullptr;
}

TEST_F(EditTest, LinesCanBeReadOneByOne) {
  HWND edit = Create(kNoteStyle);
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"alpha\r\nbe"));
  char16_t buffer[8] = {};
  buffer[0] = 3;  // room for three characters
  EXPECT_EQ(Send(edit, EM_GETLINE, 0, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_EQ(std::u16string(buffer, 3), u"alp");
  buffer[0] = 8;
  EXPECT_EQ(Send(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 2);
  EXPECT_EQ(std::u16string(buffer, 2), u"be");
  EXPECT_EQ(Send(edit, EM_GETLINE, 2, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_EQ(Send(edit, EM_LINELENGTH, 3), 5);
  // -1: the unselected characters of the lines the selection touches.
  Send(edit, EM_SETSEL, 2, 8);
  EXPECT_EQ(Send(edit, EM_LINELENGTH, static_cast<WPARAM>(-1)), 3);
  char16_t small[3] = {};
  EXPECT_EQ(Send(edit, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(small)), 2);
  EXPECT_EQ(std::u16string(small), u"al");
}

TEST_F(EditTest, FontSetsLineHeightAndLayout) {
  HWND edit = Create(kNoteStyle);
  EXPECT_EQ(SendMessage(edit, WM_GETFONT, 0, 0), 0);
  Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"a\r\nb"));
  LOGFONTW lf{};
  lf.lfHeight = 30;
  HFONT big = CreateFontIndirect(&lf);
  SendMessage(edit, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  EXPECT_EQ(SendMessage(edit, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(big));
  EXPECT_EQ(GET_Y_LPARAM(Send(edit, EM_POSFROMCHAR, 3)), 30);
  DestroyWindow(edit);
  EXPECT_TRUE(DeleteObject(big));
}
