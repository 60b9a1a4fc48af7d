// The portrait editor: an EDIT control with MyEditWindowClass's procedure, in a parent of the
// test's own that records what the editor hands it.
#include "common/messages.h"
#include "editor/note_editor.h"

#include <device/driver.h>
#include <device/edit.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Handed {
  UINT msg;
  WPARAM wParam;
  bool operator==(const Handed&) const = default;
};
std::vector<Handed> handed;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == CaretMovedMessage || msg == WM_CHAR || msg == WM_KEYDOWN || msg == WM_KEYUP) {
    handed.push_back({msg, msg == CaretMovedMessage ? 0 : wParam});
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class NoteEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterWindowClass(nullptr, kNoteEditorClassRow);
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = u"EditorParent";
    RegisterClass(&wc);
    parent = CreateWindowEx(0, u"EditorParent", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    editor = CreateWindowEx(0, u"EDIT", u"", kNoteEditorStyle, 1, 30, 239, 63, parent, nullptr, nullptr, nullptr);
    MakeNoteEditor(editor);
    SetFocus(editor);
    driver.RunUntilIdle();
    handed.clear();
  }
  std::u16string Text() const { return driver.WindowText(editor); }

  device::Driver driver;
  HWND parent = nullptr;
  HWND editor = nullptr;
};

}  // namespace

TEST_F(NoteEditor, ALineFeedBreaksTheLineButACarriageReturnGoesToTheParent) {
  SendMessage(editor, WM_CHAR, u'a', 1);
  SendMessage(editor, WM_CHAR, 10, 1);
  SendMessage(editor, WM_CHAR, u'b', 1);
  EXPECT_EQ(Text(), u"a\r\nb");
  EXPECT_TRUE(handed.empty());  // ordinary characters are not reported as caret moves
  SendMessage(editor, WM_CHAR, 13, 1);
  EXPECT_EQ(Text(), u"a\r\nb");
  EXPECT_EQ(handed, (std::vector<Handed>{{CaretMovedMessage, 0}, {WM_CHAR, 13}}));
}

TEST_F(NoteEditor, HardwareEnterAndTheApplicationKeysGoToTheParentInsteadOfTheText) {
  driver.PressKey(VK_RETURN);
  EXPECT_EQ(Text(), u"");
  driver.PressKey(VK_APP1);
  driver.PressKey(VK_APP4);
  const std::vector<Handed> expected{
      {CaretMovedMessage, 0}, {WM_KEYDOWN, VK_RETURN}, {CaretMovedMessage, 0}, {WM_KEYUP, VK_RETURN},
      {CaretMovedMessage, 0}, {WM_KEYDOWN, VK_APP1},
      {CaretMovedMessage, 0}, {WM_KEYUP, VK_APP1},     {CaretMovedMessage, 0}, {WM_KEYDOWN, VK_APP4},
      {CaretMovedMessage, 0}, {WM_KEYUP, VK_APP4}};
  EXPECT_EQ(handed, expected);
}

TEST_F(NoteEditor, ArrowKeysMoveTheCaretAndAreReportedOnPressAndRelease) {
  SetWindowText(editor, u"abc");
  SendMessage(editor, EM_SETSEL, 3, 3);
  handed.clear();
  driver.PressKey(VK_LEFT);
  DWORD start = 0, end = 0;
  SendMessage(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(handed, (std::vector<Handed>{{CaretMovedMessage, 0}, {CaretMovedMessage, 0}}));
}

TEST_F(NoteEditor, APenUpIsReportedAfterThePenPlacedTheCaret) {
  SetWindowText(editor, u"abc def");
  handed.clear();
  driver.Tap(2, 35);  // the start of the first line
  DWORD start = 9, end = 9;
  SendMessage(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(handed, (std::vector<Handed>{{CaretMovedMessage, 0}}));
}
