// The program as a person meets it: start-up, the start window's bands, closing, the first-run
// button assignment and the grid menu that Enter opens when the menu bar is not shown always.
#include "shell_test_support.h"

#include "common/messages.h"
#include "contacts/contact_exchange.h"
#include "drawing/skin_images.h"
#include "prediction/dictionary_file.h"
#include "settings/registry_settings.h"
#include "settings/settings_store.h"
#include "shell/main_window.h"
#include "shell/menu_bar.h"
#include "shell/program_folder.h"

#include <device/files.h>
#include <device/kernel.h>
#include <device/gdi.h>
#include <device/message_box_probe.h>
#include <device/script.h>
#include <device/shell.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

using shell_test::Pixels;
using shell_test::RunTavrel;

HWND StartWindow(const device::Driver& d) { return d.Find(kMainWindowClass, kMainWindowTitle); }
HWND GridMenu(const device::Driver& d) { return d.Find(kMenuClassName, kMenuTitle); }

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

void SetMenuOff() {
  DWORD off = 0;
  WriteSetting(u"Menu", REG_DWORD, &off, sizeof off);
}

// The lines the stand-in `assign` wrote; waits up to 10 s of host time for at least
// `expected` lines, since the tool runs as its own process.
std::vector<std::string> AssignStarts(const device::Driver& d, size_t expected) {
  const std::filesystem::path out = std::filesystem::path(d.DeviceFolder()) / "assign.out";
  std::vector<std::string> lines;
  for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);;) {
    lines.clear();
    std::ifstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    if (lines.size() >= expected || std::chrono::steady_clock::now() > deadline) return lines;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string OwnDevicePathUtf8() {
  WCHAR self[MAX_PATH] = {};
  GetModuleFileName(nullptr, self, MAX_PATH);
  std::string utf8;
  for (const WCHAR* c = self; *c; ++c) utf8 += static_cast<char>(*c);  // the path is ASCII
  return utf8;
}

// Each band shows frame 0 of its skin image: band k at its top, every pixel.
TEST(StartWindow, StartUpShowsTheFiveBandsAndGoesFullScreenAfter100ms) {
  EXPECT_EQ(RunTavrel([](device::Driver& d) {
              HWND main = StartWindow(d);
              ASSERT_NE(main, nullptr);
              RECT r = WindowRect(main);
              EXPECT_EQ(r.right - r.left, 240);
              EXPECT_EQ(r.bottom - r.top, 360);
              EXPECT_TRUE(device::GetShellState().gameInputOpen);
              EXPECT_EQ(ThePredictionEngine().tracker.GetLoadedLanguage(), 0);

              struct Band { int top, bottom, image; };
              const Band bands[] = {{0, 105, 35}, {105, 155, 36}, {155, 209, 37}, {209, 258, 38}, {258, 320, 39}};
              HDC probe = CreateCompatibleDC(nullptr);
              for (const Band& band : bands) {
                HGDIOBJ old = SelectObject(probe, SkinImage(band.image));
                int differing = 0;
                for (int y = band.top; y < band.bottom; y += 3) {
                  for (int x = 0; x < 240; x += 3) differing += d.Pixel(x, y) != GetPixel(probe, x, y - band.top);
                }
                SelectObject(probe, old);
                EXPECT_EQ(differing, 0) << "band at " << band.top;
              }
              DeleteDC(probe);

              d.AdvanceTime(99);
              EXPECT_EQ(device::GetShellState().fullScreenCalls, 0);
              d.AdvanceTime(1);
              device::ShellState shell = device::GetShellState();
              EXPECT_EQ(shell.fullScreenWindow, main);
              EXPECT_EQ(shell.lastFullScreenFlags, 0x2Au);
              EXPECT_FALSE(shell.taskBarShown);
              EXPECT_FALSE(shell.startIconShown);
              EXPECT_FALSE(shell.sipButtonShown);
            }),
            0);
}

// A keyboard file that lost most of its keys and a registry file that is not a database are
// each said in a box over the start window (and on standard error) instead of running blank.
TEST(StartWindow, ADamagedKeyboardFileAndAnUnusableRegistryAreSaidInBoxes) {
  RunTavrel(
      [](device::Driver& d) {
        HWND box = device::FindMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(device::MessageBoxText(box),
                  u"\\Program Files\\Tavrel\\keyboard.txt is damaged: language 1 (xx) lacks some of its keys, "
                  u"which stay empty.");
        device::PressMessageBoxButton(box, IDOK);
        d.RunUntilIdle();
        box = device::FindMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_NE(device::MessageBoxText(box).find(u"Tavrel runs with its default settings"), std::u16string::npos);
        device::PressMessageBoxButton(box, IDOK);
        d.RunUntilIdle();
        EXPECT_EQ(device::FindMessageBox(), nullptr);
        EXPECT_TRUE(IsWindowVisible(StartWindow(d)));
      },
      [] {
        const std::u16string damaged = u"\uFEFFCHARSET=START\r\nLONG=xx\r\nNAME=xx\r\n";
        std::ofstream(device::HostPathOf(u"\\Program Files\\Tavrel\\keyboard.txt"), std::ios::binary)
            .write(reinterpret_cast<const char*>(damaged.data()), damaged.size() * 2);
        const std::filesystem::path registry = device::DeviceImageRoot() / "registry.sqlite";
        for (const char* tail : {"-wal", "-shm"}) std::filesystem::remove(registry.string() + tail);
        std::ofstream(registry.string() + ".new") << std::string(4096, 'x');
        std::filesystem::rename(registry.string() + ".new", registry);
      });
}

TEST(StartWindow, RichInkWindowExistsExactlyWhenItsClassDoes) {
  RunTavrel([](device::Driver& d) {
    WNDCLASSW info;
    const bool classExists = GetClassInfo(nullptr, u"richink", &info) != FALSE;
    EXPECT_EQ(d.Find(u"richink", u"rec") != nullptr, classExists);
  });
}

// The tap left of x = 50 is the setup part of band 0: it opens the setup dialog, which closed
// without "OK" stores nothing; from x = 50 on the band closes the program, which saves the
// settings and the current language's dictionary on the way out.
TEST(StartWindow, Band0ClosesFromX50AndTheDictionaryIsSaved) {
  bool ended = false;
  int result = RunTavrel([&](device::Driver& d) {
    WCHAR word[] = u"qzxheliotrope";
    ThePredictionEngine().dictionary.LearnWord(word);

    d.Tap(49, 50);
    HWND setup = d.Find(u"#32770", u"Tavrel 1.0 - setup");
    ASSERT_NE(setup, nullptr);
    PostMessage(setup, WM_COMMAND, IDCANCEL, 0);
    d.RunUntilIdle();
    EXPECT_EQ(d.Find(u"#32770", u"Tavrel 1.0 - setup"), nullptr);
    EXPECT_NE(StartWindow(d), nullptr);
    DWORD menu = 7;
    EXPECT_FALSE(ReadDwordSetting(u"Menu", &menu)) << "settings saved: the window was destroyed";

    d.Tap(50, 50);
    ended = StartWindow(d) == nullptr;
    EXPECT_TRUE(ReadDwordSetting(u"Menu", &menu));
    EXPECT_EQ(menu, 1u);
    WordDictionary saved;
    ASSERT_TRUE(LoadWordDictionary(u"\\Program Files\\Tavrel\\english\\db.dat", saved));
    EXPECT_EQ(saved.CountOf(u"qzxheliotrope"), 1);
  });
  EXPECT_TRUE(ended);
  EXPECT_EQ(result, 0);
}

// The new-note band opens the main screen (a modal dialog) for a new note; the start window is
// the top again when it ends.
TEST(StartWindow, NewNoteBandOpensTheMainScreenForANewNote) {
  RunTavrel([](device::Driver& d) {
    HWND main = StartWindow(d);
    d.Tap(120, 130);
    HWND screen = d.Find(u"#32770");
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(TopWindow(), screen);
    EXPECT_EQ(EditMode, kEditNewNote);
    d.Tap(216, 15);  // "Back" on the main screen's menu bar
    EXPECT_EQ(d.Find(u"#32770"), nullptr);
    EXPECT_EQ(TopWindow(), main);
  });
}

// The bands whose windows are not part of the program yet set EditMode and open nothing; the
// tapped band is drawn focused and keeps the focus for the arrow keys.
TEST(StartWindow, TappedBandSetsEditModeAndKeepsTheFocusForTheArrowKeys) {
  RunTavrel([](device::Driver& d) {
    HWND main = StartWindow(d);
    const RECT band2{0, 155, 240, 209}, band3{0, 209, 240, 258};
    const std::vector<COLORREF> normal2 = Pixels(d, band2), normal3 = Pixels(d, band3);
    d.Tap(120, 290);
    EXPECT_EQ(EditMode, kEditContactList);
    HWND contacts = TopWindow();
    EXPECT_NE(contacts, main) << "the contacts band opens the contact list";
    PostMessage(contacts, MenuCommandMessage, 4, 0);  // its "Back"
    d.AdvanceTime(200);
    d.Tap(120, 180);
    EXPECT_EQ(EditMode, kEditNotesList);
    HWND notes = TopWindow();
    EXPECT_NE(notes, main) << "the notes band opens the notes list";
    PostMessage(notes, MenuCommandMessage, 4, 0);  // its "Back"
    d.AdvanceTime(200);
    EXPECT_EQ(TopWindow(), main);
    d.Tap(120, 230);
    EXPECT_EQ(EditMode, kEditField);
    HWND contactMenu = TopWindow();
    EXPECT_NE(contactMenu, main) << "the new-contact band opens the contact menu";
    PostMessage(contactMenu, MenuCommandMessage, 4, 0);  // its "Back"
    d.AdvanceTime(200);
    EXPECT_EQ(TopWindow(), main);
    d.PressKey(VK_UP);  // from band 3, the band tapped last
    EXPECT_EQ(Pixels(d, band3), normal3);
    EXPECT_NE(Pixels(d, band2), normal2);
    EXPECT_EQ(EditMode, kEditField) << "arrows only move the focus";
    EXPECT_EQ(TopWindow(), main);
  });
}

// The stand-in `assign` beside the test program records each start. Two starts on one
// device: the first starts the tool 200 ms after the window with the program's own path and
// writes `Assign` = 1; the second finds `Assign` and starts nothing.
TEST(StartWindow, FirstStartLaunchesAssignOnceAndLaterStartsDoNot) {
  int starts = 0;
  device::RunProgramWithScript(
      [&] {
        shell_test::ResetProcessState();
        for (; starts < 2; ++starts) WinMain(shell_test::TestInstance(), nullptr, nullptr, SW_SHOW);
        return 0;
      },
      [&](device::Driver& d) {
        DWORD assign = 7;
        d.AdvanceTime(199);
        EXPECT_FALSE(ReadDwordSetting(u"Assign", &assign));
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(d.DeviceFolder()) / "assign.out"));
        d.AdvanceTime(1);
        EXPECT_TRUE(ReadDwordSetting(u"Assign", &assign));
        EXPECT_EQ(assign, 1u);
        std::vector<std::string> lines = AssignStarts(d, 1);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], OwnDevicePathUtf8());
        const int programsStarted = device::ProcessStartCount();

        d.Tap(200, 50);  // close; the second start follows
        EXPECT_EQ(starts, 1);
        ASSERT_NE(StartWindow(d), nullptr);
        d.AdvanceTime(1000);
        EXPECT_EQ(device::ProcessStartCount(), programsStarted) << "the second start started a program";
        d.Tap(200, 50);
      });
  EXPECT_EQ(starts, 2);
}

TEST(StartWindow, EnterDoesNothingWhileTheMenuBarIsShownAlways) {
  RunTavrel([](device::Driver& d) {
    d.AdvanceTime(400);
    d.PressKey(VK_RETURN);
    EXPECT_EQ(GridMenu(d), nullptr);
  });
}

// Re-labelling a button with its own text leaves its pixels as they are; another text
// changes them. So a grid cell reads exactly the text whose re-labelling changes nothing.
bool CellReads(device::Driver& d, HWND grid, int button, const RECT& cell, const WCHAR* text) {
  const std::vector<COLORREF> before = Pixels(d, cell);
  SendMessage(grid, MenuLabelMessage, static_cast<WPARAM>(button), reinterpret_cast<LPARAM>(text));
  d.RunUntilIdle();
  return Pixels(d, cell) == before;
}

TEST(StartWindow, WithMenuOffEnterOpensTheGridWithSetupAndExit) {
  RunTavrel(
      [](device::Driver& d) {
        d.AdvanceTime(400);
        d.PressKey(VK_RETURN);
        HWND grid = GridMenu(d);
        ASSERT_NE(grid, nullptr);
        RECT r = WindowRect(grid);
        EXPECT_EQ(r.left, 48);
        EXPECT_EQ(r.top, 200);
        EXPECT_EQ(r.right - r.left, 144);
        EXPECT_EQ(r.bottom - r.top, 90);
        EXPECT_EQ(TopWindow(), grid);
        EXPECT_EQ(GetFocus(), grid);
        // Client cells (the border is one pixel): Setup bottom-centre, Exit centre.
        const RECT setupCell{49 + 48 + 4, 201 + 60 + 4, 49 + 96 - 4, 201 + 90 - 6};
        const RECT exitCell{49 + 48 + 4, 201 + 30 + 4, 49 + 96 - 4, 201 + 60 - 4};
        EXPECT_TRUE(CellReads(d, grid, 3, setupCell, u"Setup"));
        EXPECT_TRUE(CellReads(d, grid, 4, exitCell, u"Exit"));
        EXPECT_FALSE(CellReads(d, grid, 4, exitCell, u"Exot"));
      },
      SetMenuOff);
}

// Exit has the focus; keys count only 300 ms after the grid opened.
TEST(StartWindow, GridIgnoresKeysFor300msThenTwoEntersCloseTheProgram) {
  bool ended = false;
  RunTavrel(
      [&](device::Driver& d) {
        d.AdvanceTime(400);
        d.PressKey(VK_RETURN);
        ASSERT_NE(GridMenu(d), nullptr);
        d.PressKey(VK_RETURN);
        d.AdvanceTime(299);
        d.PressKey(VK_RETURN);
        EXPECT_NE(StartWindow(d), nullptr);
        d.AdvanceTime(1);
        d.PressKey(VK_RETURN);
        ended = StartWindow(d) == nullptr;
      },
      SetMenuOff);
  EXPECT_TRUE(ended);
}

// "Setup" closes the grid and opens the setup dialog over the start window.
TEST(StartWindow, GridSetupClosesTheGridAndOpensTheSetupDialog) {
  RunTavrel(
      [](device::Driver& d) {
        d.AdvanceTime(400);
        d.PressKey(VK_RETURN);
        d.AdvanceTime(300);
        d.PressKey(VK_DOWN);  // from Exit (centre) to Setup (bottom)
        d.PressKey(VK_RETURN);
        EXPECT_EQ(GridMenu(d), nullptr);
        HWND setup = d.Find(u"#32770", u"Tavrel 1.0 - setup");
        ASSERT_NE(setup, nullptr);
        EXPECT_EQ(TopWindow(), StartWindow(d)) << "the setup dialog does not join the window stack";
        PostMessage(setup, WM_COMMAND, IDOK, 0);
        d.RunUntilIdle();
        EXPECT_NE(StartWindow(d), nullptr);
        DWORD menu = 7;
        EXPECT_TRUE(ReadDwordSetting(u"Menu", &menu)) << "OK saved the settings";
        EXPECT_EQ(menu, 0u);
      },
      SetMenuOff);
}

TEST(StartWindow, ClosingTheGridShrinksTheStartWindowTo240x320After100ms) {
  RunTavrel(
      [](device::Driver& d) {
        HWND main = StartWindow(d);
        d.AdvanceTime(400);
        d.PressKey(VK_RETURN);
        d.AdvanceTime(300);
        d.Tap(49 + 24, 201 + 15);  // the top-left "x"
        EXPECT_EQ(GridMenu(d), nullptr);
        EXPECT_EQ(WindowRect(main).bottom, 360);
        d.AdvanceTime(99);
        EXPECT_EQ(WindowRect(main).bottom, 360);
        d.AdvanceTime(1);
        RECT r = WindowRect(main);
        EXPECT_EQ(r.right - r.left, 240);
        EXPECT_EQ(r.bottom - r.top, 320);
        d.PressKey(VK_RETURN);  // the grid opens again
        EXPECT_NE(GridMenu(d), nullptr);
      },
      SetMenuOff);
}

// The text of the one note in the notes folder (a byte-order mark, then UTF-16LE up to a zero),
// with its file name; empty when there is none.
struct SavedNote {
  std::u16string name;
  std::u16string text;
};
SavedNote ReadTheSavedNote() {
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFile(u"\\My Documents\\Tavrels\\*.pwi", &found);
  if (find == INVALID_HANDLE_VALUE) return {};
  FindClose(find);
  SavedNote note{found.cFileName, u""};
  const std::u16string path = std::u16string(u"\\My Documents\\Tavrels\\") + found.cFileName;
  HANDLE file = CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  if (file == INVALID_HANDLE_VALUE) return note;
  char16_t buffer[256] = {};
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer - sizeof buffer[0], &read, nullptr);
  CloseHandle(file);
  note.text = buffer[0] == 0xFEFF ? buffer + 1 : buffer;
  return note;
}

// The demo's contacts, imported into the store before the program starts (as tavrel-contacts
// does before the shipped demo is played).
void ImportDemoContacts() {
  std::ifstream file(TAVREL_DEMO_CONTACTS, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  PoomConnect();
  EXPECT_EQ(ImportVCardText(text).imported, 3);
  PoomLogoff();
  PoomRelease();
}

// The shipped demo script, played in this process: every expectation in it holds, and the note
// it saves holds what was typed on both keypads (the script itself can only see the file name).
TEST(StartWindow, TheDemoScriptWritesANoteOnBothKeypads) {
  std::string script;
  ASSERT_TRUE(device::ReadScriptFile(TAVREL_DEMO_SCRIPT, script, stderr));
  device::ScriptStatus status = device::kScriptMalformed;
  SavedNote note;
  EXPECT_EQ(RunTavrel([&](device::Driver& d) {
              status = device::PlayScript(d, TAVREL_DEMO_SCRIPT, script, nullptr, stderr);
              note = ReadTheSavedNote();
            }, ImportDemoContacts),
            0);
  EXPECT_EQ(status, device::kScriptPassed);
  // Typed on the predictive keypad (a capital by an up stroke), "tomorrow" taken from the
  // prediction bar, the rest by multi-tap with three letters of one key in a row; " tea" added
  // later through the notes list's "Edit" (the other note is deleted there).
  EXPECT_EQ(note.text, u"Meet Anna tomorrow at noon tea");
  EXPECT_EQ(note.name, u"Meet Anna tomorrow at .pwi");  // named after its first 22 characters
}

TEST(ProgramFolder, NamesFilesBesideTheProgramAndRefusesPathsThatDoNotFit) {
  device::Driver driver;
  WCHAR path[kPathRoom];
  ASSERT_TRUE(ProgramFolderPath(u"keyboard.txt", path));
  EXPECT_EQ(std::u16string(path), u"\\Program Files\\Tavrel\\keyboard.txt");
  std::u16string longName(kPathRoom, u'a');
  EXPECT_FALSE(ProgramFolderPath(longName.c_str(), path));
  EXPECT_EQ(path[0], 0);
}

}  // namespace
