// The setup dialog: what it shows of the settings and what "OK" stores.
#include "setup_dialog_support.h"

#include "resources/setup_templates.h"
#include "settings/setup_dialog.h"

#include <device/shell.h>

using namespace setup_test;

namespace {

int assignStarts = 0;
void CountAssignStart() { ++assignStarts; }
constexpr SetupServices kServices{nullptr, CountAssignStart, nullptr, nullptr};

constexpr WCHAR kCaption[] = u"Tavrel 1.0 - setup";

void RunSetup(const std::function<void(device::Driver&, HWND)>& script, const std::function<void()>& prepare = nullptr) {
  RunDialog([] { EXPECT_EQ(RunSetupDialog(nullptr, &kServices), 1); },
            [&](device::Driver& d) {
              HWND dialog = d.Find(u"#32770", kCaption);
              ASSERT_NE(dialog, nullptr);
              script(d, dialog);
              EXPECT_EQ(d.Find(u"#32770", kCaption), nullptr) << "the dialog has ended";
            },
            prepare);
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

}  // namespace

TEST(SetupDialog, PhoneTimerFiveShows1500AndChoosing300StoresOne) {
  RunSetup(
      [](device::Driver& d, HWND dialog) {
        HWND timer = GetDlgItem(dialog, kSetupPhoneTimer);
        EXPECT_EQ(d.WindowText(timer), u"1500 ms");
        EXPECT_EQ(SendMessage(timer, CB_GETCOUNT, 0, 0), 5);
        WCHAR first[16] = {};
        SendMessage(timer, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
        EXPECT_EQ(std::u16string(first), u"300 ms") << "unsorted, in order";
        SendMessage(timer, CB_SETCURSEL, 0, 0);
        TapControl(d, dialog, IDOK);
        EXPECT_EQ(StoredDword(u"phonetimer"), 1);
      },
      [] { SetDword(u"phonetimer", 5); });
}

TEST(SetupDialog, GestureSensitivityLowStoresThreeAndHighStoresOne) {
  RunSetup([](device::Driver& d, HWND dialog) {
    EXPECT_TRUE(Checked(dialog, kSetupMedium)) << "strikelength 2 by default";
    TapControl(d, dialog, kSetupLow);
    EXPECT_FALSE(Checked(dialog, kSetupMedium));
    TapControl(d, dialog, IDOK);
    EXPECT_EQ(StoredDword(u"strikelength"), 3);
  });
  RunSetup(
      [](device::Driver& d, HWND dialog) {
        EXPECT_TRUE(Checked(dialog, kSetupLow));
        TapControl(d, dialog, kSetupHigh);
        TapControl(d, dialog, IDOK);
        EXPECT_EQ(StoredDword(u"strikelength"), 1);
      },
      [] { SetDword(u"strikelength", 3); });
}

// Every box shows its setting; "OK" stores each one, the keypad's hand and the notes folder.
TEST(SetupDialog, OkStoresEveryBoxTheHandAndTheNotesFolder) {
  RunSetup(
      [](device::Driver& d, HWND dialog) {
        EXPECT_TRUE(Checked(dialog, kSetupAutoRepeat));
        EXPECT_TRUE(Checked(dialog, kSetupShowPredict));
        EXPECT_TRUE(Checked(dialog, kSetupMenu));
        EXPECT_FALSE(Checked(dialog, kSetupAddSpace));
        EXPECT_TRUE(Checked(dialog, kSetupLearnPairs));
        EXPECT_TRUE(Checked(dialog, kSetupLeftHanded)) << "lefthanded 1 was stored";
        EXPECT_EQ(d.WindowText(GetDlgItem(dialog, kSetupDirectory)), u"\\My Documents\\Tavrels");
        for (int box : {kSetupAutoRepeat, kSetupShowPredict, kSetupMenu, kSetupAddSpace, kSetupLearnPairs})
          TapControl(d, dialog, box);
        TapControl(d, dialog, kSetupRightHanded);
        SetWindowText(GetDlgItem(dialog, kSetupDirectory), u"\\Notes");
        TapControl(d, dialog, IDOK);
        EXPECT_EQ(StoredDword(u"autorepeat"), 0);
        EXPECT_EQ(StoredDword(u"showPredict"), 0);
        EXPECT_EQ(StoredDword(u"Menu"), 0);
        EXPECT_EQ(StoredDword(u"AddSpace"), 1);
        EXPECT_EQ(StoredDword(u"LearnPairs"), 0);
        EXPECT_EQ(StoredDword(u"lefthanded"), 0);
        std::vector<WCHAR> folder;
        ASSERT_TRUE(ReadStringSetting(u"directory", folder));
        EXPECT_EQ(std::u16string(folder.data()), u"\\Notes");
      },
      [] { SetDword(u"lefthanded", 1); });
}

// Closing without "OK" reads no control and stores nothing.
TEST(SetupDialog, ClosingOtherwiseStoresNothing) {
  RunSetup([](device::Driver& d, HWND dialog) {
    TapControl(d, dialog, kSetupLow);
    TapControl(d, dialog, kSetupAutoRepeat);
    PostMessage(dialog, WM_COMMAND, IDCANCEL, 0);
    d.RunUntilIdle();
    EXPECT_EQ(StoredDword(u"strikelength"), -1);
    EXPECT_EQ(StoredDword(u"autorepeat"), -1);
    EXPECT_EQ(TheSettings().strikelength, 2);
  });
}

// "Assign to hardware key.." starts the tool and the dialog stays open; 100 ms after opening
// the task bar is asked for with the input-panel button and Start icon hidden.
TEST(SetupDialog, AssignStartsTheToolAndTheDialogStays) {
  assignStarts = 0;
  RunSetup([](device::Driver& d, HWND dialog) {
    RECT r{};
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    d.AdvanceTime(100);
    EXPECT_EQ(device::GetShellState().fullScreenWindow, dialog);
    EXPECT_EQ(device::GetShellState().lastFullScreenFlags, 0x29u);
    TapControl(d, dialog, kSetupAssign);
    EXPECT_EQ(assignStarts, 1);
    EXPECT_TRUE(IsWindowVisible(dialog));
    TapControl(d, dialog, IDOK);
  });
}
