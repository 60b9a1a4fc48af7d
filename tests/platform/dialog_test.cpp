// Dialogs from templates: dialog units, WM_INITDIALOG and the first focus, the modal loop
// (owner disabled and given back, nested dialogs, Enter and Escape, the quit message), the
// keyboard interface and the Done button.
#include "dialog_test_support.h"

#include <device/shell.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

using namespace dlgtest;

namespace {

constexpr DWORD kChild = WS_VISIBLE;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

// A setup-like dialog: a radio group, check boxes, a drop-down list, two push buttons.
constexpr DialogItem kSetupItems[] = {
    {IDC_STATIC, u"STATIC", u"Gesture:", kChild | SS_LEFT, 8, 8, 83, 8},
    {1066, u"BUTTON", u"low", kChild | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 8, 20, 27, 10},
    {1065, u"BUTTON", u"medium", kChild | BS_AUTORADIOBUTTON, 58, 20, 42, 10},
    {1064, u"BUTTON", u"high", kChild | BS_AUTORADIOBUTTON, 112, 20, 30, 10},
    {1070, u"COMBOBOX", nullptr, kChild | CBS_DROPDOWNLIST | WS_TABSTOP | WS_GROUP, 79, 65, 66, 94},
    {1005, u"BUTTON", u"Add space", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 8, 90, 144, 10},
    {1069, u"BUTTON", u"Auto repeat", kChild | BS_AUTOCHECKBOX | WS_TABSTOP | WS_DISABLED, 8, 106, 140, 10},
    {1014, u"BUTTON", u"Assign..", kChild | BS_PUSHBUTTON | WS_TABSTOP, 8, 160, 93, 14},
    {IDOK, u"BUTTON", u"OK", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 105, 160, 41, 14},
};
constexpr DialogTemplate kSetup{901, u"Setup", kDialogStyle, 0, 0, 150, 178, u"MS Sans Serif", 8, kSetupItems};

constexpr DialogItem kInnerItems[] = {
    {5, u"BUTTON", u"Five", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 10, 40, 14},
    {IDCANCEL, u"BUTTON", u"Cancel", kChild | BS_PUSHBUTTON | WS_TABSTOP, 60, 10, 40, 14},
};
constexpr DialogTemplate kInner{902, u"Inner", kDialogStyle | DS_CENTER, 0, 0, 110, 40, nullptr, 0, kInnerItems};

constexpr DialogItem kOuterItems[] = {
    {10, u"BUTTON", u"Open", kChild | BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 60, 14},
};
constexpr DialogTemplate kOuter{903, u"Outer", kDialogStyle, 10, 10, 120, 60, nullptr, 0, kOuterItems};

constexpr DialogTemplate kEmpty{904, u"Empty", WS_POPUP, 0, 0, 100, 100, nullptr, 0, {}};

const DialogTemplate* const kTemplates[] = {&kSetup, &kInner, &kOuter, &kEmpty};

void RegisterTemplates() {
  RegisterClasses();
  RegisterDialogTemplates(kTemplates, std::size(kTemplates));
}

// What the test dialog procedures saw.
struct Seen {
  std::vector<UINT> messages;  // WM_INITDIALOG and WM_COMMAND, in order
  LPARAM initParam = 0;
  HWND initFocus = nullptr;
  bool initSawControls = false;
  std::vector<int> commands;
  std::vector<INT_PTR> innerResults;
  bool ownerEnabledAtDestroy = false;
  HWND host = nullptr;
  BOOL initResult = TRUE;
};
Seen* seen = nullptr;

// Ends on IDOK, IDCANCEL and 5 with that id as the result.
BOOL CALLBACK EndingProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!seen) return msg == WM_INITDIALOG;
  switch (msg) {
    case WM_INITDIALOG:
      seen->messages.push_back(msg);
      seen->initParam = lParam;
      seen->initFocus = reinterpret_cast<HWND>(wParam);
      seen->initSawControls = GetDlgItem(dlg, IDOK) != nullptr || GetDlgItem(dlg, 5) != nullptr;
      return seen->initResult;
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      seen->messages.push_back(msg);
      seen->commands.push_back(id);
      if (id == IDOK || id == IDCANCEL || id == 5) EndDialog(dlg, id);
      return TRUE;
    }
    case WM_DESTROY:
      seen->ownerEnabledAtDestroy = seen->host && IsWindowEnabled(seen->host);
      return FALSE;
    default:
      return FALSE;
  }
}

// The outer dialog: "Open" runs the inner one; Escape ends with 11.
BOOL CALLBACK OuterProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_COMMAND) return msg == WM_INITDIALOG;
  switch (LOWORD(wParam)) {
    case 10: seen->innerResults.push_back(DialogBoxParam(nullptr, MAKEINTRESOURCE(902), dlg, EndingProc, 0)); return TRUE;
    case IDCANCEL: EndDialog(dlg, 11); return TRUE;
    default: return TRUE;
  }
}

TEST(Dialog, DialogUnitsComeFromTheTemplateFont) {
  device::Driver driver;
  RegisterTemplates();
  Seen s;
  seen = &s;
  HWND dlg = CreateDialogParam(nullptr, MAKEINTRESOURCE(901), nullptr, EndingProc, 0);
  ASSERT_NE(dlg, nullptr);

  // The base units by hand: 8 points is 11 pixels at 96 dots per inch.
  LOGFONTW lf{};
  lf.lfHeight = -11;
  std::memcpy(lf.lfFaceName, u"MS Sans Serif", sizeof(u"MS Sans Serif"));
  HFONT font = CreateFontIndirect(&lf);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent;
  GetTextExtentPoint32(dc, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &extent);
  TEXTMETRICW tm;
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  int bx = (extent.cx / 26 + 1) / 2, by = tm.tmHeight;
  auto px = [](int units, int base, int per) { return (units * base + per / 2) / per; };

  RECT r{8, 160, 101, 174};
  ASSERT_TRUE(MapDialogRect(dlg, &r));
  EXPECT_EQ(r.left, px(8, bx, 4));
  EXPECT_EQ(r.top, px(160, by, 8));
  EXPECT_EQ(r.right, px(101, bx, 4));
  EXPECT_EQ(r.bottom, px(174, by, 8));

  RECT client;
  GetClientRect(dlg, &client);
  EXPECT_EQ(client.right, px(150, bx, 4));
  EXPECT_EQ(client.bottom, px(178, by, 8));
  RECT ok = ScreenRect(GetDlgItem(dlg, IDOK));
  POINT origin{0, 0};
  ClientToScreen(dlg, &origin);
  EXPECT_EQ(ok.left - origin.x, px(105, bx, 4));
  EXPECT_EQ(ok.top - origin.y, px(160, by, 8));
  EXPECT_EQ(ok.right - ok.left, px(41, bx, 4));
  EXPECT_EQ(ok.bottom - ok.top, px(14, by, 8));
  EXPECT_NE(SendMessage(GetDlgItem(dlg, IDOK), WM_GETFONT, 0, 0), 0) << "controls get the dialog's font";
  EXPECT_FALSE(IsWindowVisible(dlg)) << "a modeless template without WS_VISIBLE stays hidden";
  seen = nullptr;
}

TEST(Dialog, AFullScreenTemplateUnderACaptionIsKeptOnTheScreen) {
  device::Driver driver;
  RegisterTemplates();
  constexpr DialogTemplate kFull{905, u"Full", kDialogStyle, 0, 0, 160, 213, u"MS Sans Serif", 8, {}};
  constexpr DialogTemplate kOut{906, u"Out", kDialogStyle, 150, 250, 60, 40, u"MS Sans Serif", 8, {}};
  for (const DialogTemplate* t : {&kFull, &kOut}) {
    HWND dlg = CreateDialogIndirectParam(nullptr, t, nullptr, EndingProc, 0);
    ASSERT_NE(dlg, nullptr);
    const RECT r = ScreenRect(dlg);
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 240 && r.bottom <= 320)
        << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    DestroyWindow(dlg);
  }
  const RECT full = ScreenRect(CreateDialogIndirectParam(nullptr, &kFull, nullptr, EndingProc, 0));
  EXPECT_EQ(full.right - full.left, 240);
  EXPECT_EQ(full.bottom - full.top, 320);
}

TEST(Dialog, InitDialogGetsTheParameterAfterTheControlsAndTheFirstTabStopGetsTheFocus) {
  device::Driver driver;
  RegisterTemplates();
  Seen s;
  seen = &s;
  HWND dlg = CreateDialogParam(nullptr, MAKEINTRESOURCE(901), nullptr, EndingProc, 1234);
  ShowWindow(dlg, SW_SHOW);
  driver.RunUntilIdle();
  EXPECT_EQ(s.initParam, 1234);
  EXPECT_TRUE(s.initSawControls);
  EXPECT_EQ(s.initFocus, GetDlgItem(dlg, 1066));
  EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 1066));
  EXPECT_EQ(GetDlgCtrlID(GetFocus()), 1066);
  DestroyWindow(dlg);

  s.initResult = FALSE;  // the procedure keeps the focus to itself
  dlg = CreateDialogParam(nullptr, MAKEINTRESOURCE(901), nullptr, EndingProc, 0);
  SetFocus(GetDlgItem(dlg, IDOK));
  ShowWindow(dlg, SW_SHOW);
  EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDOK));
  seen = nullptr;
}

TEST(Dialog, RadioButtonsInsideAGroupBoxTakeThePen) {
  static constexpr DialogItem kItems[] = {
      {20, u"BUTTON", u"Hand", kChild | BS_GROUPBOX, 4, 4, 120, 50},
      {21, u"BUTTON", u"left", kChild | BS_AUTORADIOBUTTON | WS_GROUP, 10, 16, 50, 10},
      {22, u"BUTTON", u"right", kChild | BS_AUTORADIOBUTTON, 10, 32, 50, 10},
  };
  static constexpr DialogTemplate kGroup{906, u"Group", kDialogStyle | WS_VISIBLE, 0, 0, 130, 60, nullptr, 0, kItems};
  device::Driver driver;
  RegisterTemplates();
  HWND dlg = CreateDialogIndirectParam(nullptr, &kGroup, nullptr, EndingProc, 0);
  ASSERT_NE(dlg, nullptr);
  driver.RunUntilIdle();
  TapCentre(driver, GetDlgItem(dlg, 22));
  EXPECT_EQ(IsDlgButtonChecked(dlg, 22), BST_CHECKED);
  TapCentre(driver, GetDlgItem(dlg, 21));
  EXPECT_EQ(IsDlgButtonChecked(dlg, 21), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dlg, 22), BST_UNCHECKED);
}

TEST(Dialog, ItemIntegersRoundTripAndJunkIsNotTranslated) {
  device::Driver driver;
  RegisterTemplates();
  HWND dlg = CreateDialogParam(nullptr, MAKEINTRESOURCE(901), nullptr, EndingProc, 0);
  BOOL ok = FALSE;
  SetDlgItemInt(dlg, 1014, static_cast<UINT>(-250), TRUE);
  EXPECT_EQ(driver.WindowText(GetDlgItem(dlg, 1014)), u"-250");
  EXPECT_EQ(static_cast<int>(GetDlgItemInt(dlg, 1014, &ok, TRUE)), -250);
  EXPECT_TRUE(ok);
  GetDlgItemInt(dlg, 1014, &ok, FALSE);  // unsigned: the minus is junk
  EXPECT_FALSE(ok);
  SetDlgItemText(dlg, 1014, u" 1500 ");
  EXPECT_EQ(GetDlgItemInt(dlg, 1014, &ok, FALSE), 1500u);
  EXPECT_TRUE(ok);
  SetDlgItemText(dlg, 1014, u"15x");
  EXPECT_EQ(GetDlgItemInt(dlg, 1014, &ok, FALSE), 0u);
  EXPECT_FALSE(ok);
  char16_t buffer[4];
  SetDlgItemText(dlg, 1014, u"Assign");
  EXPECT_EQ(GetDlgItemText(dlg, 1014, buffer, 4), 3u);
  EXPECT_EQ(std::u16string(buffer), u"Ass");
  EXPECT_EQ(SendDlgItemMessage(dlg, 1005, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(GetDlgItem(dlg, 4242), nullptr);
}

// A setup dialog as a person uses it: the drop-down list of a modal dialog opens on a tap,
// an item is chosen with the pen, and OK reads the item's data.
BOOL CALLBACK TimerSetupProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  static constexpr const char16_t* kTimes[] = {u"300 ms", u"600 ms", u"900 ms", u"1200 ms", u"1500 ms"};
  if (msg == WM_INITDIALOG) {
    for (int i = 0; i < 5; ++i) {
      SendDlgItemMessage(dlg, 1070, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kTimes[i]));
      SendDlgItemMessage(dlg, 1070, CB_SETITEMDATA, static_cast<WPARAM>(i), i + 1);
    }
    SendDlgItemMessage(dlg, 1070, CB_SETCURSEL, static_cast<WPARAM>(lParam - 1), 0);
    return TRUE;
  }
  if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) {
    LRESULT at = SendDlgItemMessage(dlg, 1070, CB_GETCURSEL, 0, 0);
    EndDialog(dlg, SendDlgItemMessage(dlg, 1070, CB_GETITEMDATA, static_cast<WPARAM>(at), 0));
  }
  return msg == WM_COMMAND;
}

TEST(Dialog, DropDownListInAModalDialogIsChosenWithThePen) {
  INT_PTR result = 0;
  device::RunProgramWithScript(
      [&] {
        RegisterTemplates();
        HWND host = CreateHost();
        result = DialogBoxParam(nullptr, MAKEINTRESOURCE(901), host, TimerSetupProc, 5);
        return 0;
      },
      [&](device::Driver& d) {
        HWND dlg = d.Find(u"#32770", u"Setup");
        HWND combo = GetDlgItem(dlg, 1070);
        EXPECT_EQ(d.WindowText(combo), u"1500 ms");
        TapCentre(d, combo);
        HWND list = d.Find(u"ComboLBox");
        ASSERT_NE(list, nullptr);
        ASSERT_TRUE(IsWindowVisible(list));
        EXPECT_EQ(GetActiveWindow(), dlg) << "the open list does not take the activation";
        int item = static_cast<int>(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
        int top = static_cast<int>(SendMessage(list, LB_GETTOPINDEX, 0, 0));
        POINT p{10, (0 - top) * item + item / 2};
        ClientToScreen(list, &p);
        d.Tap(p.x, p.y);
        EXPECT_FALSE(IsWindowVisible(list));
        EXPECT_EQ(d.WindowText(combo), u"300 ms");
        TapCentre(d, GetDlgItem(dlg, IDOK));
      });
  EXPECT_EQ(result, 1);
}

// The dialog manager and the EDIT control: the focus selects an edit's whole text, a one-line
// edit leaves Enter to the dialog, a multi-line edit that wants Return keeps Tab and Enter.
TEST(Dialog, EditControlsTakeTheKeysTheyAskFor) {
  static constexpr DialogItem kItems[] = {
      {30, u"EDIT", u"folder", kChild | WS_BORDER | WS_TABSTOP, 4, 4, 100, 12},
      {31, u"EDIT", u"", kChild | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN, 4, 20, 100, 40},
      {IDOK, u"BUTTON", u"OK", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 4, 64, 40, 14},
  };
  static constexpr DialogTemplate kEdits{907, u"Edits", kDialogStyle, 0, 0, 110, 82, nullptr, 0, kItems};
  Seen s;
  seen = &s;
  INT_PTR result = 0;
  device::RunProgramWithScript(
      [&] {
        RegisterTemplates();
        s.host = CreateHost();
        result = DialogBoxIndirectParam(nullptr, &kEdits, s.host, EndingProc, 0);
        return 0;
      },
      [&](device::Driver& d) {
        HWND dlg = d.Find(u"#32770", u"Edits");
        ASSERT_NE(dlg, nullptr);
        HWND line = GetDlgItem(dlg, 30), lines = GetDlgItem(dlg, 31);
        EXPECT_EQ(GetFocus(), line);
        DWORD start = 1, end = 0;
        SendMessage(line, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 6u) << "the dialog's focus selects the whole text";
        d.PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), lines);
        d.PressKey(VK_TAB);  // a multi-line edit keeps Tab, as in Win32
        EXPECT_EQ(GetFocus(), lines);
        d.PressKey(VK_RETURN);  // and Enter
        EXPECT_EQ(std::count(s.commands.begin(), s.commands.end(), IDOK), 0);
        EXPECT_TRUE(IsWindowVisible(dlg));
        SetFocus(line);
        d.PressKey(VK_RETURN);  // the one-line edit does not
      });
  EXPECT_EQ(result, IDOK);
  seen = nullptr;
}

TEST(Dialog, MissingTemplateGivesMinusOneAndNoWindow) {
  device::Driver driver;
  RegisterTemplates();
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(999), nullptr, EndingProc, 0), -1);
  EXPECT_EQ(CreateDialogParam(nullptr, MAKEINTRESOURCE(999), nullptr, EndingProc, 0), nullptr);
  EXPECT_EQ(FindWindow(nullptr, nullptr), nullptr);
}

TEST(Dialog, ControlThatCannotBeMadeFailsTheDialogAndGivesTheOwnerBack) {
  static constexpr DialogItem kBad[] = {{1, u"NoSuchClass", u"", kChild, 0, 0, 10, 10}};
  static constexpr DialogTemplate kBadTemplate{905, u"Bad", kDialogStyle, 0, 0, 50, 50, nullptr, 0, kBad};
  device::Driver driver;
  RegisterTemplates();
  HWND host = CreateHost();
  auto proc = [](HWND, UINT, WPARAM, LPARAM) -> BOOL { return FALSE; };
  EXPECT_EQ(DialogBoxIndirectParam(nullptr, &kBadTemplate, host, proc, 0), -1);
  EXPECT_TRUE(IsWindowEnabled(host));
  EXPECT_EQ(FindWindow(u"#32770", nullptr), nullptr);
}

TEST(Dialog, EnterGivesIdOkAndEscapeIdCancel) {
  Seen s;
  seen = &s;
  INT_PTR first = 0, second = 0;
  device::RunProgramWithScript(
      [&] {
        RegisterTemplates();
        s.host = CreateHost();
        first = DialogBoxParam(nullptr, MAKEINTRESOURCE(901), s.host, EndingProc, 0);
        second = DialogBoxParam(nullptr, MAKEINTRESOURCE(901), s.host, EndingProc, 0);
        return 0;
      },
      [&](device::Driver& d) {
        EXPECT_FALSE(IsWindowEnabled(s.host)) << "the owner is disabled while the dialog runs";
        HWND dlg = d.Find(u"#32770", u"Setup");
        ASSERT_NE(dlg, nullptr);
        EXPECT_TRUE(IsWindowVisible(dlg));
        d.PressKey(VK_RETURN);  // the focus is on a radio button: the default button answers
        d.PressKey(VK_ESCAPE);
      });
  EXPECT_EQ(first, IDOK);
  EXPECT_EQ(second, IDCANCEL);
  EXPECT_EQ(s.commands, (std::vector<int>{IDOK, IDCANCEL}));
  EXPECT_TRUE(s.ownerEnabledAtDestroy) << "EndDialog gives the owner back before the dialog goes";
  seen = nullptr;
}

TEST(Dialog, NestedModalDialogsReturnInOrderAndEachOwnerComesBack) {
  Seen s;
  seen = &s;
  INT_PTR outer = 0;
  HWND activeAfter = nullptr;
  device::RunProgramWithScript(
      [&] {
        RegisterTemplates();
        s.host = CreateHost();
        outer = DialogBoxParam(nullptr, MAKEINTRESOURCE(903), s.host, OuterProc, 0);
        activeAfter = GetActiveWindow();
        return 0;
      },
      [&](device::Driver& d) {
        HWND outerDlg = d.Find(u"#32770", u"Outer");
        ASSERT_NE(outerDlg, nullptr);
        TapCentre(d, GetDlgItem(outerDlg, 10));
        HWND innerDlg = d.Find(u"#32770", u"Inner");
        ASSERT_NE(innerDlg, nullptr);
        EXPECT_FALSE(IsWindowEnabled(outerDlg));
        EXPECT_FALSE(IsWindowEnabled(s.host));
        EXPECT_EQ(GetActiveWindow(), innerDlg);
        TapCentre(d, GetDlgItem(outerDlg, 10));  // the disabled owner ignores the pen
        EXPECT_EQ(s.innerResults.size(), 0u);
        d.PressKey(VK_RETURN);  // the inner default button has id 5
        EXPECT_FALSE(IsWindow(innerDlg));
        EXPECT_EQ(s.innerResults, (std::vector<INT_PTR>{5}));
        EXPECT_TRUE(IsWindowEnabled(outerDlg));
        EXPECT_FALSE(IsWindowEnabled(s.host));
        EXPECT_EQ(GetActiveWindow(), outerDlg);
        d.PressKey(VK_ESCAPE);
      });
  EXPECT_EQ(outer, 11);
  EXPECT_EQ(s.innerResults, (std::vector<INT_PTR>{5}));
  EXPECT_EQ(activeAfter, s.host);
  seen = nullptr;
}

TEST(Dialog, QuitMessageEndsTheModalLoopAndIsPostedAgain) {
  INT_PTR result = -5;
  bool quitSeenAfter = false;
  device::RunProgramWithScript(
      [&] {
        RegisterTemplates();
        HWND host = CreateHost();
        result = DialogBoxParam(nullptr, MAKEINTRESOURCE(904), host, EndingProc, 0);
        MSG msg;
        quitSeenAfter = !GetMessage(&msg, nullptr, 0, 0);
        return 0;
      },
      [&](device::Driver& d) { PostQuitMessage(3); });
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(quitSeenAfter);
}

TEST(Dialog, TabSkipsDisabledControlsAndArrowsCheckAutoRadioButtonsInTheGroup) {
  Seen s;
  seen = &s;
  device::RunProgramWithScript(
      [&] {
        RegisterTemplates();
        s.host = CreateHost();
        DialogBoxParam(nullptr, MAKEINTRESOURCE(901), s.host, EndingProc, 0);
        return 0;
      },
      [&](device::Driver& d) {
        HWND dlg = d.Find(u"#32770", u"Setup");
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 1066));
        d.Screenshot("dialog_setup");
        d.PressKey(VK_RIGHT);
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 1065));
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1065), BST_CHECKED);
        d.PressKey(VK_RIGHT);
        d.PressKey(VK_RIGHT);  // wraps within the group
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 1066));
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1065), BST_UNCHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1066), BST_CHECKED);
        d.PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 1070));
        d.PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 1005));
        d.PressKey(VK_TAB);  // "Auto repeat" is disabled
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 1014));
        d.PressKey(VK_RETURN);  // the focused push button answers Enter, not the default one
        EXPECT_EQ(s.commands, (std::vector<int>{1065, 1064, 1066, 1014}));
        d.PressKey(VK_TAB);
        d.PressKey(VK_TAB);  // round to the radio group, at its checked button
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 1066));
        d.PressKey(VK_RIGHT);
        d.PressKey(VK_TAB);
        d.PressKey(VK_TAB);
        d.PressKey(VK_TAB);
        d.PressKey(VK_TAB);
        d.PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, 1065)) << "Tab enters the group at the checked button";
        d.PressKey(VK_ESCAPE);
      });
  seen = nullptr;
}

TEST(Dialog, SetDefIdMovesTheDefaultButtonThatEnterPresses) {
  Seen s;
  seen = &s;
  device::RunProgramWithScript(
      [&] {
        RegisterTemplates();
        s.host = CreateHost();
        DialogBoxParam(nullptr, MAKEINTRESOURCE(901), s.host, EndingProc, 0);
        return 0;
      },
      [&](device::Driver& d) {
        HWND dlg = d.Find(u"#32770", u"Setup");
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(SendMessage(dlg, DM_GETDEFID, 0, 0))), IDOK);
        SendMessage(dlg, DM_SETDEFID, 1014, 0);
        EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(SendMessage(dlg, DM_GETDEFID, 0, 0))), 1014);
        EXPECT_EQ(GetWindowLong(GetDlgItem(dlg, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
        EXPECT_EQ(GetWindowLong(GetDlgItem(dlg, 1014), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        d.PressKey(VK_RETURN);  // the focus is on a radio button
        d.PressKey(VK_ESCAPE);
      });
  EXPECT_EQ(s.commands, (std::vector<int>{1014, IDCANCEL}));
  seen = nullptr;
}

TEST(Dialog, CloseBecomesCancelAndMsgResultAnswersForTheProcedure) {
  static INT_PTR result;
  static LRESULT answer;
  device::RunProgramWithScript(
      [&] {
        RegisterTemplates();
        HWND host = CreateHost();
        auto proc = [](HWND dlg, UINT msg, WPARAM wParam, LPARAM) -> BOOL {
          if (msg == WM_USER + 7) {
            SetWindowLong(dlg, DWL_MSGRESULT, 77);
            return TRUE;
          }
          if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) EndDialog(dlg, 42);
          return msg == WM_INITDIALOG || msg == WM_COMMAND;
        };
        result = DialogBoxParam(nullptr, MAKEINTRESOURCE(904), host, proc, 0);
        return 0;
      },
      [&](device::Driver& d) {
        HWND dlg = d.Find(u"#32770", u"Empty");
        answer = SendMessage(dlg, WM_USER + 7, 0, 0);
        PostMessage(dlg, WM_CLOSE, 0, 0);
        d.RunUntilIdle();
      });
  EXPECT_EQ(answer, 77);
  EXPECT_EQ(result, 42);
}

TEST(Dialog, DoneButtonInTheCaptionSendsIdOk) {
  Seen s;
  seen = &s;
  INT_PTR result = 0;
  device::RunProgramWithScript(
      [&] {
        RegisterTemplates();
        s.host = CreateHost();
        auto proc = [](HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) -> BOOL {
          if (msg == WM_INITDIALOG) {
            SHINITDLGINFO info{SHIDIM_FLAGS, dlg, SHIDIF_DONEBUTTON | SHIDIF_FULLSCREENNOMENUBAR | SHIDIF_SIPDOWN};
            SHInitDialog(&info);
          }
          return EndingProc(dlg, msg, wParam, lParam);
        };
        result = DialogBoxParam(nullptr, MAKEINTRESOURCE(904), s.host, proc, 0);
        return 0;
      },
      [&](device::Driver& d) {
        HWND dlg = d.Find(u"#32770", u"Empty");
        RECT r = ScreenRect(dlg);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, 240);
        EXPECT_EQ(r.bottom, 320);
        POINT origin{0, 0};
        ClientToScreen(dlg, &origin);
        EXPECT_GT(origin.y, 15) << "the captionless dialog got a caption for the Done button";
        d.Tap(120, 8);  // the middle of the caption is no button
        EXPECT_TRUE(s.commands.empty());
        d.PenDown(225, 10);
        d.PenUp(100, 10);  // lifted off the button: nothing
        EXPECT_TRUE(s.commands.empty());
        d.Screenshot("dialog_done_button");
        d.Tap(225, 10);
      });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(s.commands, (std::vector<int>{IDOK}));
  seen = nullptr;
}

}  // namespace
