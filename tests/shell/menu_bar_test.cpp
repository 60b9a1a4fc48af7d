// The menu bar in a window of the test's own that records the commands it receives: grid
// places and starting focus by kind, corner buttons, the ignore-keys time, a bar's -1 for a
// tap beside its buttons, the landscape collapse and label changes.
#include "shell_test_support.h"

#include "common/messages.h"
#include "drawing/skin_images.h"
#include "shell/menu_bar.h"
#include "shell/startup.h"

#include <device/files.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using shell_test::Pixels;

struct OwnerRecord {
  std::vector<int> commands;  // MenuCommandMessage wParams, in order
  int menuClosedTimers = 0;   // timer 3 firings
};
OwnerRecord owner;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == MenuCommandMessage) {
    owner.commands.push_back(static_cast<int>(wParam));
    return 0;
  }
  if (msg == WM_TIMER && wParam == kMenuClosedTimer) {
    ++owner.menuClosedTimers;
    KillTimer(hwnd, wParam);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class MenuBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell_test::ResetProcessState();
    owner = OwnerRecord{};
    device::EnsureDeviceImage();
    LoadSkinImages();
    RegisterWindowClasses(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = u"MenuOwner";
    RegisterClass(&wc);
    ownerWindow_ = CreateWindowEx(0, u"MenuOwner", u"owner", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                                  nullptr);
    PushWindow(ownerWindow_);  // it owns the screen, as the program's windows that open grids do
    driver_.RunUntilIdle();
  }

  HWND OpenGrid(int kind) {
    MenuSpec menuSpec{kind, 0, 1};
    HWND grid = CreateWindowEx(0, kMenuClassName, kMenuTitle, kMenuGridStyle, 0, 150, 240, 30, ownerWindow_, nullptr,
                               nullptr, &menuSpec);
    driver_.RunUntilIdle();
    return grid;
  }

  // A bar made the way the main screen makes it: 240 x 320 until a layout message sizes it.
  HWND OpenBar(int kind, int flag, int height = 30) {
    MenuSpec menuSpec{kind, flag, 0};
    HWND bar = CreateWindowEx(0, kMenuClassName, kMenuTitle, kMenuBarStyle, 0, 0, 240, height, ownerWindow_, nullptr,
                              nullptr, &menuSpec);
    driver_.RunUntilIdle();
    return bar;
  }

  // The screen point of a grid cell's centre (the grid's client starts inside its border).
  static POINT Cell(int column, int row) { return POINT{49 + 48 * column + 24, 201 + 30 * row + 15}; }

  static int Width(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r.right - r.left;
  }

  device::Driver driver_;
  HWND ownerWindow_ = nullptr;
};

// The four middle-edge cells by kind, as (top, left, right, bottom) -> button, and the button
// that Enter chooses at start.
TEST_F(MenuBarTest, GridPlacesButtons0To3AndTheStartingFocusByKind) {
  struct Expected {
    int kind;
    int top, left, right, bottom;
    int startFocus;
  };
  const Expected table[] = {
      {0, 1, 2, 0, 3, 3}, {1, 3, 1, 2, 0, 4}, {2, 1, 2, 0, 3, 4}, {3, 0, 1, 2, 3, 3},
      {4, 3, 1, 2, 0, 4}, {5, 0, 1, 2, 3, 4}, {6, 0, 1, 2, 3, 4},
  };
  for (const Expected& e : table) {
    SCOPED_TRACE(e.kind);
    HWND grid = OpenGrid(e.kind);
    ASSERT_NE(grid, nullptr);
    owner.commands.clear();
    driver_.AdvanceTime(300);
    driver_.PressKey(VK_RETURN);
    const POINT cells[] = {Cell(1, 0), Cell(0, 1), Cell(2, 1), Cell(1, 2), Cell(1, 1)};
    for (POINT p : cells) driver_.Tap(p.x, p.y);
    EXPECT_EQ(owner.commands, (std::vector<int>{e.startFocus, e.top, e.left, e.right, e.bottom, 4}));
    DestroyWindow(grid);
    driver_.RunUntilIdle();
  }
}

TEST_F(MenuBarTest, EveryCornerXClosesTheGridWithoutACommandAndTheOwnerHearsOfIt100msLater) {
  const POINT corners[] = {Cell(0, 0), Cell(2, 0), Cell(0, 2), Cell(2, 2)};
  for (POINT corner : corners) {
    HWND grid = OpenGrid(kMenuMainWindow);
    EXPECT_EQ(TopWindow(), grid);
    driver_.Tap(corner.x, corner.y);
    EXPECT_FALSE(IsWindow(grid));
    EXPECT_EQ(TopWindow(), ownerWindow_);
  }
  EXPECT_TRUE(owner.commands.empty());
  EXPECT_EQ(owner.menuClosedTimers, 0);
  driver_.AdvanceTime(100);
  EXPECT_EQ(owner.menuClosedTimers, 1);
}

TEST_F(MenuBarTest, GridIgnoresKeysFor300msAndArrowsMoveTheFocus) {
  OpenGrid(kMenuMainWindow);
  driver_.PressKey(VK_RETURN);
  driver_.AdvanceTime(299);
  driver_.PressKey(VK_RETURN);
  EXPECT_TRUE(owner.commands.empty());
  driver_.AdvanceTime(1);
  driver_.PressKey(VK_UP);    // centre -> top: button 0
  driver_.PressKey(VK_UP);    // no neighbour: stays
  driver_.PressKey(VK_RETURN);
  driver_.PressKey(VK_LEFT);  // top -> top-left corner
  driver_.PressKey(VK_RETURN);
  EXPECT_EQ(owner.commands, std::vector<int>{0});
  EXPECT_EQ(driver_.Find(kMenuClassName), nullptr) << "Enter on a corner closes the grid";
}

TEST_F(MenuBarTest, BarSendsMinusOneForATapBesideItsButtonsAndForEnterWithoutFocus) {
  HWND bar = OpenBar(kMenuMainWindow, 0, 320);
  driver_.Tap(120, 100);  // below the 30-pixel row of buttons
  driver_.Tap(130, 15);   // button 2
  driver_.Tap(239, 15);   // button 4; the corner buttons have no width in a bar
  SendMessage(bar, MenuLayoutMessage, kMenuMainWindow, 0);
  EXPECT_EQ(Width(bar), 240);
  driver_.Tap(120, 100);  // now outside the bar: the owner's, not the bar's
  EXPECT_EQ(owner.commands, (std::vector<int>{-1, 2, 4}));

  HWND second = OpenBar(kMenuNotesList, 0);
  SendMessage(second, WM_KEYDOWN, VK_RETURN, 0);  // the owner passes keys on to its bar
  EXPECT_EQ(owner.commands.back(), -1);
}

// In landscape the main screen's bar shows only ">>"; a tap widens it with "<<", another
// narrows it again with ">>". No command reaches the owner meanwhile.
TEST_F(MenuBarTest, LandscapeBarCollapsesTo45AndTogglesWithItsFirstButton) {
  HWND bar = OpenBar(kMenuMainScreen, 0, 320);
  SendMessage(bar, MenuLayoutMessage, kMenuMainScreen, 0);
  driver_.RunUntilIdle();
  EXPECT_EQ(Width(bar), 45);
  const RECT label{0, 0, 45, 30};
  const std::vector<COLORREF> collapsed = Pixels(driver_, label);

  driver_.Tap(20, 15);
  EXPECT_EQ(Width(bar), 240);
  const std::vector<COLORREF> expanded = Pixels(driver_, label);
  EXPECT_NE(expanded, collapsed);

  driver_.Tap(20, 15);
  EXPECT_EQ(Width(bar), 45);
  EXPECT_EQ(Pixels(driver_, label), collapsed);
  EXPECT_TRUE(owner.commands.empty());

  // Back to a portrait keyboard: full width, "ABC", and button 0 is a command again.
  SendMessage(bar, MenuLayoutMessage, kMenuMainScreen, 1);
  driver_.RunUntilIdle();
  EXPECT_EQ(Width(bar), 240);
  const std::vector<COLORREF> portrait = Pixels(driver_, label);
  SendMessage(bar, MenuLabelMessage, 0, reinterpret_cast<LPARAM>(u"ABC"));
  driver_.RunUntilIdle();
  EXPECT_EQ(Pixels(driver_, label), portrait);
  driver_.Tap(20, 15);
  EXPECT_EQ(owner.commands, std::vector<int>{0});
}

TEST_F(MenuBarTest, LabelMessageWritesTheButtonsLabel) {
  HWND bar = OpenBar(kMenuContactList, 0);
  const RECT button0{2, 6, 46, 24};
  // Label text is black, drawn smoothed on the light button face.
  auto blackPixels = [&] {
    int n = 0;
    for (COLORREF c : Pixels(driver_, button0)) n += GetRValue(c) < 96 && GetGValue(c) < 96 && GetBValue(c) < 96;
    return n;
  };
  EXPECT_EQ(blackPixels(), 0) << "button 0 of the contact list's bar is blank";
  SendMessage(bar, MenuLabelMessage, 0, reinterpret_cast<LPARAM>(u"Eng"));
  driver_.RunUntilIdle();
  EXPECT_GT(blackPixels(), 10);
  SendMessage(bar, MenuLabelMessage, 9, reinterpret_cast<LPARAM>(u"none"));  // no such button
  SendMessage(bar, MenuLabelMessage, 0, reinterpret_cast<LPARAM>(u""));
  driver_.RunUntilIdle();
  EXPECT_EQ(blackPixels(), 0);
}

// Kind 0 reads "Ok" / "Cancel" for a field (EditMode 0) and "Save" / "Back" otherwise.
TEST_F(MenuBarTest, MainScreenBarLabelsFollowEditMode) {
  const RECT buttons34{144, 0, 240, 30};
  EditMode = kEditField;
  HWND field = OpenBar(kMenuMainScreen, 1);
  const std::vector<COLORREF> fieldPixels = Pixels(driver_, buttons34);
  DestroyWindow(field);
  EditMode = kEditNewNote;
  HWND note = OpenBar(kMenuMainScreen, 1);
  EXPECT_NE(Pixels(driver_, buttons34), fieldPixels);
  SendMessage(note, MenuLabelMessage, 3, reinterpret_cast<LPARAM>(u"Ok"));
  SendMessage(note, MenuLabelMessage, 4, reinterpret_cast<LPARAM>(u"Cancel"));
  driver_.RunUntilIdle();
  EXPECT_EQ(Pixels(driver_, buttons34), fieldPixels);
}

}  // namespace
