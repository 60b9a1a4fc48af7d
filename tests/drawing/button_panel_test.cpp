// Button panels as keyboards rely on them: the first button in table order wins, transparent
// pixels pass the pen on, focus never wraps, and panel ids are never reused.
#include "drawing/button_panel.h"

#include "drawing/back_buffer.h"
#include "skin_fixture.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

ButtonSpec MakeButton(LONG left, LONG top, LONG right, LONG bottom, int slot, int drawMode) {
  ButtonSpec button{};
  button.left = left;
  button.top = top;
  button.right = right;
  button.bottom = bottom;
  button.imageSlot = slot;
  button.drawMode = drawMode;
  button.transparentColour = kMagenta;
  button.textColour = RGB(0, 0, 0);
  return button;
}

class ButtonPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASS windowClass{};
    windowClass.lpfnWndProc = DefWindowProc;
    windowClass.lpszClassName = u"PanelHost";
    RegisterClass(&windowClass);
    window_ = CreateWindowEx(0, u"PanelHost", u"host", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr,
                             nullptr, nullptr, nullptr);
    driver_.RunUntilIdle();
  }

  device::Driver driver_;
  HWND window_ = nullptr;
};

TEST_F(ButtonPanelTest, OverlappingButtonsResolveToTheFirstInTableOrder) {
  ButtonSpec buttons[] = {MakeButton(0, 0, 100, 50, 0, 1), MakeButton(50, 0, 150, 50, 0, 1)};
  ButtonPanel panel = RegisterButtonPanel(window_, buttons, 2, nullptr, 0, 0);
  EXPECT_EQ(FindButtonAt(75, 10, buttons, 2), 0);
  EXPECT_EQ(FindButtonAt(120, 10, buttons, 2), 1);
  EXPECT_EQ(FindButtonAt(150, 10, buttons, 2), -1) << "right edge is exclusive";

  int pressed = -7;
  EXPECT_EQ(PressButtonAt(window_, buttons, 75, 10, panel, &pressed), 0);
  EXPECT_EQ(pressed, 0);

  pressed = -7;
  EXPECT_EQ(PressButtonAt(window_, buttons, 200, 200, panel, &pressed), -1);
  EXPECT_EQ(pressed, -7) << "a miss leaves the out index alone";
  UnregisterButtonPanel(panel);
}

TEST_F(ButtonPanelTest, TransparentPixelsPassThePenToALaterButton) {
  // Frame 0 of the upper button: left half transparent, right half red.
  std::vector<std::uint32_t> pixels(100 * 50);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x) pixels[y * 100 + x] = x < 50 ? 0xFF00FF : 0xFF0000;
  skin_test::WriteImage(driver_, "02.png", 100, 50, pixels);
  skin_test::WriteSolidImage(driver_, "03.png", 100, 50, 0x0000FF);
  LoadSkinImages();

  ButtonSpec buttons[] = {MakeButton(0, 0, 100, 50, 0, 0), MakeButton(0, 0, 100, 50, 1, 1)};
  const int indices[] = {3, 4};
  ButtonPanel panel = RegisterButtonPanel(window_, buttons, 2, indices, 2, 0);
  ASSERT_NE(GetPanelImage(panel, 0), nullptr);

  int pressed = -1;
  EXPECT_EQ(PressButtonAt(window_, buttons, 10, 10, panel, &pressed), 1) << "transparent pixel misses button 0";
  EXPECT_EQ(PressButtonAt(window_, buttons, 80, 10, panel, &pressed), 0);

  // Drawn transparently over the panel, button 0 lets the button below show through its hole.
  DrawPanel(window_, buttons, panel);
  DrawButton(window_, buttons[0], kButtonNormal, panel);
  driver_.RunUntilIdle();
  EXPECT_EQ(driver_.Pixel(10, 10), RGB(0, 0, 255));
  EXPECT_EQ(driver_.Pixel(80, 10), RGB(255, 0, 0));
  EXPECT_EQ(driver_.Pixel(200, 200), kPanelBackground);
  UnregisterButtonPanel(panel);
}

TEST_F(ButtonPanelTest, PressedStateDrawsTheThirdFrame) {
  // Three 20-pixel frames: grey, green, yellow.
  std::vector<std::uint32_t> pixels(60 * 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) pixels[y * 60 + x] = x < 20 ? 0x808080 : x < 40 ? 0x00FF00 : 0xFFFF00;
  skin_test::WriteImage(driver_, "04.png", 60, 20, pixels);
  LoadSkinImages();
  ButtonSpec buttons[] = {MakeButton(100, 100, 120, 120, 0, 1)};
  const int indices[] = {5};
  ButtonPanel panel = RegisterButtonPanel(window_, buttons, 1, indices, 1, 0);
  int pressed = -1;
  PressButtonAt(window_, buttons, 105, 105, panel, &pressed);
  driver_.RunUntilIdle();
  EXPECT_EQ(driver_.Pixel(110, 110), RGB(255, 255, 0));
  DrawButton(window_, buttons[0], kButtonFocused, panel);
  driver_.RunUntilIdle();
  EXPECT_EQ(driver_.Pixel(110, 110), RGB(0, 255, 0));
  UnregisterButtonPanel(panel);
}

TEST_F(ButtonPanelTest, FocusMovesToNeighboursWithoutWrapping) {
  // A 2 x 2 grid of 40 x 30 buttons.
  ButtonSpec buttons[] = {MakeButton(0, 0, 40, 30, 0, 1), MakeButton(40, 0, 80, 30, 0, 1),
                          MakeButton(0, 30, 40, 60, 0, 1), MakeButton(40, 30, 80, 60, 0, 1)};
  ButtonPanel panel = RegisterButtonPanel(window_, buttons, 4, nullptr, 0, 0);
  int focus = 0;
  EXPECT_EQ(MoveButtonFocus(window_, VK_RIGHT, buttons, panel, &focus, true), 1);
  EXPECT_EQ(focus, 1);
  EXPECT_EQ(MoveButtonFocus(window_, VK_RIGHT, buttons, panel, &focus, true), -1) << "no wrap at the edge";
  EXPECT_EQ(focus, 1);
  EXPECT_EQ(MoveButtonFocus(window_, VK_DOWN, buttons, panel, &focus, false), 3);
  EXPECT_EQ(focus, 1) << "without redraw the focus index is only reported";
  EXPECT_EQ(MoveButtonFocus(window_, VK_RETURN, buttons, panel, &focus, true), -1);

  POINT moved{};
  EXPECT_EQ(FindNeighbourButton(3, FocusDirection::kUp, &moved, buttons, 4), 1);
  EXPECT_EQ(moved.x, 60);
  EXPECT_EQ(moved.y, 45 - (15 + 4));
  UnregisterButtonPanel(panel);
}

TEST_F(ButtonPanelTest, PanelIdsKeepIncreasingAndRemovedIdsAreGone) {
  ButtonSpec buttons[] = {MakeButton(0, 0, 40, 30, 0, 1)};
  ButtonPanel first = RegisterButtonPanel(window_, buttons, 1, nullptr, 0, 7);
  ButtonPanel second = RegisterButtonPanel(window_, buttons, 1, nullptr, 0, 7);
  EXPECT_EQ(buttons[0].fontId, 7) << "registration writes the font into every button";
  const int firstId = first.id;
  UnregisterButtonPanel(first);
  EXPECT_FALSE(IsButtonPanelRegistered(first));
  EXPECT_TRUE(IsButtonPanelRegistered(second));
  ButtonPanel third = RegisterButtonPanel(window_, buttons, 1, nullptr, 0, 7);
  EXPECT_GT(second.id, firstId);
  EXPECT_GT(third.id, second.id);
  int pressed = -1;
  EXPECT_EQ(PressButtonAt(window_, buttons, 5, 5, first, &pressed), -1) << "a removed panel hits nothing";
  UnregisterButtonPanel(first);  // removing it again changes nothing
  EXPECT_TRUE(IsButtonPanelRegistered(third));
  UnregisterButtonPanel(second);
  UnregisterButtonPanel(third);
}

TEST_F(ButtonPanelTest, SkinSlotsStayEmptyWhenFilesAreMissing) {
  std::filesystem::remove_all(skin_test::SkinFolder(driver_));  // the device starts with the shipped skins
  skin_test::WriteSolidImage(driver_, "display.png", 4, 4, 0x123456);
  LoadSkinImages();
  EXPECT_NE(SkinImage(kSkinDisplay), nullptr) << "display.png is loaded although no panel lists it";
  EXPECT_EQ(SkinImage(kSkinNewcontact01), nullptr);
  EXPECT_EQ(SkinImage(50), nullptr);
  EXPECT_EQ(SkinImage(-1), nullptr);
}

}  // namespace
