// The notes list as a person uses it from the start window: pages of six, the preview, search
// through the main screen, editing a note, deleting after the "confirm" box, and Back.
#include "notes_list_fixture.h"

#include "common/messages.h"

#include <gtest/gtest.h>

#include <set>

using namespace notes_window_test;

namespace {

constexpr RECT kSearchCaption{207, 275, 240, 300};
constexpr RECT kSearchTextBand{184, 301, 236, 320};  // under the search button's caption
constexpr char16_t kSevenTexts[7][8] = {u"alpha", u"bravo", u"charlie", u"delta", u"echo", u"foxtrot", u"golf"};

void WriteSevenNotes() {
  for (const auto* text : kSevenTexts) WriteNote(std::u16string(text) + u".pwi", text);
}

HWND MainScreen() {
  HWND top = TopWindow();
  return GetDlgItem(top, kNotePreviewId) == nullptr ? top : nullptr;
}

void SendScreenInput(device::Driver& d, HWND screen, WPARAM code, const WCHAR* text = u"") {
  SendMessage(screen, KeyboardInputMessage, code, reinterpret_cast<LPARAM>(text));
  d.RunUntilIdle();
}

TEST(NotesList, SevenNotesShowSixThenOneAndEveryNoteOnce) {
  RunProgram([](device::Driver& d) {
    WriteSevenNotes();
    HWND list = OpenList(d);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(EditMode, kEditNotesList);
    std::set<std::u16string> seen;
    for (int row = 0; row < 6; ++row) {
      TapRow(d, row);
      seen.insert(PreviewText(d, list));
    }
    TapMenu(d, 2);  // right arrow: next page
    const std::u16string last = PreviewText(d, list);
    seen.insert(last);
    EXPECT_EQ(seen.size(), 7u) << "six different notes on page 0 and the seventh alone on page 1";
    for (int row = 1; row < 6; ++row) {
      TapRow(d, row);
      EXPECT_EQ(PreviewText(d, list), last) << "row " << row << " of the last page is empty";
    }
    TapMenu(d, 2);
    EXPECT_EQ(PreviewText(d, list), last) << "no page after the last";
    TapMenu(d, 1);
    EXPECT_NE(PreviewText(d, list), last);
    d.Screenshot("notes-list-seven");
    TapMenu(d, 4);  // "Back"
    EXPECT_EQ(TopWindow(), StartWindow(d));
    EXPECT_FALSE(IsWindow(list));
  });
}

TEST(NotesList, WithTheMenuOffTheArrowsPageAndMoveRowsAndEnterOpensTheGrid) {
  RunProgram([](device::Driver& d) {
    TheSettings().Menu = 0;
    WriteSevenNotes();
    HWND list = OpenList(d);
    ASSERT_NE(list, nullptr);
    HWND preview = GetDlgItem(list, kNotePreviewId);
    RECT r{};
    GetWindowRect(preview, &r);
    EXPECT_EQ(r.top, 0) << "no menu bar above the preview";
    std::set<std::u16string> seen{PreviewText(d, list)};
    for (int i = 0; i < 6; ++i) {
      d.PressKey(VK_DOWN);
      seen.insert(PreviewText(d, list));
    }
    EXPECT_EQ(seen.size(), 7u) << "down runs through every note, across the page";
    const std::u16string last = PreviewText(d, list);
    d.PressKey(VK_DOWN);
    EXPECT_EQ(PreviewText(d, list), last);
    d.PressKey(VK_LEFT);
    d.PressKey(VK_RIGHT);
    EXPECT_EQ(PreviewText(d, list), last) << "page 1, row 0: the seventh note";
    d.PressKey(VK_RETURN);
    d.AdvanceTime(100);
    HWND grid = d.Find(u"MenuClass");
    ASSERT_NE(grid, nullptr);
    d.Screenshot("notes-list-grid-menu");
    SendMessage(list, MenuCommandMessage, 4, 0);  // "Back"
    d.AdvanceTime(100);
    EXPECT_EQ(TopWindow(), StartWindow(d));
  });
}

TEST(NotesList, NoDeletesNothingAndDeletingTheOnlyNoteOfTheLastPageReturnsToTheFirst) {
  RunProgram([](device::Driver& d) {
    WriteSevenNotes();
    HWND list = OpenList(d);
    ASSERT_NE(list, nullptr);
    TapRow(d, 0);
    const std::u16string first = PreviewText(d, list);
    TapMenu(d, 2);  // next page
    const std::u16string name = PreviewText(d, list) + u".pwi";
    ASSERT_TRUE(FileExists(NotePath(name)));

    TapMenu(d, 0);  // "Delete"
    HWND box = device::FindMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(device::MessageBoxCaption(box), u"confirm");
    EXPECT_EQ(device::MessageBoxText(box), u"Are you sure, You want to delete:\n" + NotePath(name) + u" ?");
    device::PressMessageBoxButton(box, IDNO);
    d.RunUntilIdle();
    EXPECT_TRUE(FileExists(NotePath(name)));
    for (const auto* text : kSevenTexts) EXPECT_TRUE(FileExists(NotePath(std::u16string(text) + u".pwi")));

    TapMenu(d, 0);
    device::PressMessageBoxButton(device::FindMessageBox(), IDYES);
    d.RunUntilIdle();
    EXPECT_FALSE(FileExists(NotePath(name)));
    EXPECT_EQ(PreviewText(d, list), first) << "page 0, row 0";
    d.PressKey(VK_RIGHT);
    EXPECT_EQ(PreviewText(d, list), first) << "six notes fit one page";
  });
}

TEST(NotesList, ASearchThatMatchesNothingShowsAnEmptyListAndRedReset) {
  RunProgram([](device::Driver& d) {
    WriteSevenNotes();
    WriteNote(u"Shopping.pwi", u"Buy MILK and bread");
    HWND list = OpenList(d);
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(AnyRedPixel(d, kSearchCaption));
    EXPECT_EQ(LightPixels(d, kSearchTextBand), 0);

    TapSearchButton(d);
    d.AdvanceTime(200);
    HWND screen = MainScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(EditMode, kEditSearchText);
    for (const WCHAR* c : {u"z", u"q", u"x"}) SendScreenInput(d, screen, kInputCharacter, c);
    SendScreenInput(d, screen, kInputEnter);
    d.AdvanceTime(200);
    EXPECT_EQ(TopWindow(), list);
    EXPECT_EQ(EditMode, kEditNotesList);
    TapRow(d, 0);
    EXPECT_EQ(PreviewText(d, list), u"") << "no note matches";
    EXPECT_TRUE(AnyRedPixel(d, kSearchCaption)) << "the caption reads Reset in red";
    EXPECT_GT(LightPixels(d, kSearchTextBand), 10) << "the search text is shown";
    d.Screenshot("notes-list-search-nothing");

    TapSearchButton(d);  // "Reset": every note again
    TapRow(d, 0);
    EXPECT_NE(PreviewText(d, list), u"");
    EXPECT_FALSE(AnyRedPixel(d, kSearchCaption));
    EXPECT_EQ(LightPixels(d, kSearchTextBand), 0);

    TapSearchButton(d);
    d.AdvanceTime(200);
    screen = MainScreen();
    ASSERT_NE(screen, nullptr);
    for (const WCHAR* c : {u"m", u"i", u"l", u"k"}) SendScreenInput(d, screen, kInputCharacter, c);
    SendScreenInput(d, screen, kInputEnter);
    d.AdvanceTime(200);
    TapRow(d, 0);
    EXPECT_EQ(PreviewText(d, list), u"buy milk and bread") << "found in capitals, shown folded";
    d.PressKey(VK_DOWN);
    EXPECT_EQ(PreviewText(d, list), u"buy milk and bread") << "the only match";
  });
}

TEST(NotesList, EditOpensTheNoteAndSavingReplacesItsFile) {
  RunProgram([](device::Driver& d) {
    WriteNote(u"Shopping.pwi", u"Shopping");
    HWND list = OpenList(d);
    ASSERT_NE(list, nullptr);
    TapMenu(d, 3);  // "Edit"
    d.AdvanceTime(200);
    HWND screen = MainScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(EditMode, kEditNotesList);
    for (const WCHAR* c : {u" ", u"l", u"i", u"s", u"t"}) SendScreenInput(d, screen, kInputCharacter, c);
    TapMenu(d, 3);  // "Save"
    d.AdvanceTime(300);
    EXPECT_EQ(TopWindow(), list);
    EXPECT_FALSE(FileExists(NotePath(u"Shopping.pwi"))) << "the note moved to its new name";
    EXPECT_EQ(NoteText(u"Shopping list.pwi"), u"Shopping list");
    TapRow(d, 0);
    EXPECT_EQ(PreviewText(d, list), u"shopping list") << "the list was rebuilt";
  });
}

TEST(NotesList, AnUnreadableNoteIsNeverOpenedAndAVanishedOneOpensNothing) {
  RunProgram([](device::Driver& d) {
    // The mark, an early zero, then more bytes: reads as no text though it holds some.
    const std::vector<std::uint8_t> odd{0xFF, 0xFE, 0x00, 0x00, 0x41, 0x00, 0x42, 0x00};
    WriteNoteBytes(u"odd.pwi", odd);
    HWND list = OpenList(d);
    ASSERT_NE(list, nullptr);
    TapRow(d, 0);
    EXPECT_EQ(PreviewText(d, list), u"");
    TapMenu(d, 3);  // "Edit"
    HWND box = device::FindMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(device::MessageBoxText(box), kNoteUnreadableMessage);
    device::PressMessageBoxButton(box, IDOK);
    d.RunUntilIdle();
    EXPECT_EQ(TopWindow(), list) << "no main screen";
    std::vector<std::uint8_t> after;
    ReadWholeFile(NotePath(u"odd.pwi").c_str(), after);
    EXPECT_EQ(after, odd);

    DeleteFile(NotePath(u"odd.pwi").c_str());  // gone behind the list's back
    TapMenu(d, 3);
    d.AdvanceTime(200);
    EXPECT_EQ(TopWindow(), list);
    EXPECT_EQ(device::FindMessageBox(), nullptr);
    EXPECT_FALSE(FileExists(NotePath(u".pwi"))) << "no empty note was saved in its place";
  });
}

TEST(NotesList, TappingThePreviewGrowsAndShrinksIt) {
  RunProgram([](device::Driver& d) {
    WriteNote(u"a.pwi", u"a");
    HWND list = OpenList(d);
    ASSERT_NE(list, nullptr);
    HWND preview = GetDlgItem(list, kNotePreviewId);
    RECT r{};
    GetWindowRect(preview, &r);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.bottom, 118);
    d.Tap(120, 60);
    GetWindowRect(preview, &r);
    EXPECT_EQ(r.bottom, 320);
    d.Tap(120, 60);
    GetWindowRect(preview, &r);
    EXPECT_EQ(r.bottom, 118);
  });
}

}  // namespace

// The folder path under the folder button is cut at its start, so its end (the folder itself)
// stays readable: two long paths that differ only in their first folders draw the same label,
// while two short ones that differ there do not.
TEST(NotesList, ALongFolderPathIsShownByItsEnd) {
  RunProgram([](device::Driver& d) {
    const RECT label{4, 302, 173, 320};
    auto labelFor = [&](const std::u16string& folder) {
      WCHAR(&directory)[kDirectoryRoom] = TheSettings().directory;
      const std::size_t length = std::min(folder.size(), std::size(directory) - 1);
      std::copy_n(folder.begin(), length, directory);
      directory[length] = 0;
      HWND list = OpenList(d);
      EXPECT_NE(list, nullptr);
      std::vector<COLORREF> pixels;
      for (int y = label.top; y < label.bottom; ++y)
        for (int x = label.left; x < label.right; ++x) pixels.push_back(d.Pixel(x, y));
      EXPECT_GT(LightPixels(d, label), 10) << "the path is drawn";
      TapMenu(d, 4);  // Back
      EXPECT_EQ(TopWindow(), StartWindow(d));
      return pixels;
    };
    const std::u16string tail = u"\\Documents\\Notes from every meeting of the whole year\\Project reviews";
    EXPECT_EQ(labelFor(u"\\Alpha Storage Card\\Archive" + tail), labelFor(u"\\Beta Memory\\Backup copies" + tail));
    EXPECT_NE(labelFor(u"\\Alpha"), labelFor(u"\\Beta"));
  });
}

// The browser's modal loop dispatches a close that was posted to the list (its grid's Back):
// the list goes, and the folder button's handler must not touch the list's freed state after.
TEST(NotesList, ClosedWhileTheFolderBrowserRunsTheListGoesAndTheProgramGoesOn) {
  RunProgram([](device::Driver& d) {
    HWND list = OpenList(d);
    ASSERT_NE(list, nullptr);
    TapFolderButton(d);
    ASSERT_FALSE(IsWindowEnabled(list)) << "the modal browser is open";
    PostMessage(list, WM_CLOSE, 0, 0);
    d.RunUntilIdle();
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(TopWindow(), StartWindow(d));
    EXPECT_NE(OpenList(d), nullptr) << "the start window still opens the list";
  });
}
