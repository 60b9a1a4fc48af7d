// Replacing a window procedure (GWL_WNDPROC + CallWindowProc), reading a class's procedure
// with GetClassInfo, and the other window longs.
#include "window_test_support.h"

#include <gtest/gtest.h>

using namespace wmtest;

namespace {

WNDPROC previousProc = nullptr;
std::vector<UINT> subclassSaw;

LRESULT CALLBACK Subclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  subclassSaw.push_back(msg);
  if (msg == WM_USER + 9) return 99;  // answered here, never reaches the original
  return CallWindowProc(previousProc, hwnd, msg, wParam, lParam);
}

class Subclassing : public ::testing::Test, public Fixture {};

TEST_F(Subclassing, ReplacedProcedureSeesMessagesFirstAndCanPassThemOn) {
  HWND w = Create(0, 0, 0, 10, 10);
  WNDCLASSW wc{};
  ASSERT_TRUE(GetClassInfo(nullptr, u"recordingwindow", &wc));  // names ignore case
  EXPECT_EQ(wc.lpfnWndProc, &RecordingProc);
  EXPECT_EQ(std::u16string(wc.lpszClassName), kRecordingClass);
  EXPECT_FALSE(GetClassInfo(nullptr, u"NoSuchClass", &wc));

  subclassSaw.clear();
  previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLong(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
  EXPECT_EQ(previousProc, &RecordingProc);
  EXPECT_EQ(GetWindowLong(w, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&Subclass));
  recorder.all = true;
  recorder.Clear();
  EXPECT_EQ(SendMessage(w, WM_USER + 9, 0, 0), 99);
  SendMessage(w, WM_USER + 10, 0, 0);
  PostMessage(w, WM_USER + 11, 0, 0);
  driver.RunUntilIdle();
  EXPECT_EQ(subclassSaw, (std::vector<UINT>{WM_USER + 9, WM_USER + 10, WM_USER + 11}));
  EXPECT_EQ(recorder.Messages(), (std::vector<UINT>{WM_USER + 10, WM_USER + 11}));
}

TEST_F(Subclassing, WindowLongsHoldUserDataIdAndStyle) {
  HWND parent = Create(WS_VISIBLE, 0, 0, 100, 100);
  HWND child = Create(WS_CHILD, 0, 0, 10, 10, parent, u"", 1001);
  int state = 0;
  EXPECT_EQ(SetWindowLong(child, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&state)), 0);
  EXPECT_EQ(GetWindowLong(child, GWL_USERDATA), reinterpret_cast<LONG_PTR>(&state));
  EXPECT_EQ(GetWindowLong(child, GWL_ID), 1001);
  EXPECT_EQ(GetDlgCtrlID(child), 1001);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLong(child, GWL_STYLE)), WS_CHILD);
  SetWindowLong(child, GWL_STYLE, WS_CHILD | WS_BORDER);
  RECT client;
  GetClientRect(child, &client);
  EXPECT_EQ(client.right, 8);  // the border is part of the style now
  WCHAR name[32];
  EXPECT_EQ(GetClassName(child, name, 32), 15);
}

TEST_F(Subclassing, RegisteringAClassTwiceIsRefused) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = kRecordingClass;
  EXPECT_EQ(RegisterClass(&wc), 0);
}

}  // namespace

namespace {

TEST(Cursors, SetCursorReturnsThePreviousOneAndOnlySystemCursorsLoad) {
  HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  ASSERT_NE(wait, nullptr);
  ASSERT_NE(wait, arrow);
  EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
  SetCursor(arrow);
  EXPECT_EQ(SetCursor(wait), arrow);
  EXPECT_EQ(GetCursor(), wait);
  EXPECT_EQ(SetCursor(arrow), wait);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 320);
}

}  // namespace
