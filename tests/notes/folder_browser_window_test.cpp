// The folder browser as the notes list runs it: the grid pages through every folder once, the
// up cell and folder cells walk the tree, OK writes the path back and Cancel leaves it alone.
#include "notes_list_fixture.h"

#include "drawing/back_buffer.h"
#include "drawing/skin_images.h"
#include "notes/folder_browser.h"
#include "resources/tavrel_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace notes_window_test;

namespace {

// Pages of `count` folders: every folder on exactly one page, in order.
std::vector<int> FoldersByPage(int count, int depth, std::vector<FolderPage>& pages) {
  std::vector<int> shown;
  for (int page = 0;; ++page) {
    const FolderPage layout = LayOutFolderPage(count, depth, page);
    pages.push_back(layout);
    for (int k = 0; k < layout.shown; ++k) shown.push_back(layout.first + k);
    if (!layout.more) return shown;
  }
}

TEST(FolderBrowserPages, TwentyFoldersPageThroughOnceEachAtTheRootAndBelowIt) {
  std::vector<int> expected(20);
  for (int i = 0; i < 20; ++i) expected[i] = i;
  for (int depth : {0, 2}) {
    std::vector<FolderPage> pages;
    EXPECT_EQ(FoldersByPage(20, depth, pages), expected) << "depth " << depth;
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].special, depth > 0) << "the up cell only below the root";
    EXPECT_EQ(pages[0].shown, 7) << "cells 0-6 at the root (cell 7 empty), 1-7 below it";
    EXPECT_TRUE(pages[1].special) << "a later page starts with the previous-page cell";
    EXPECT_FALSE(pages[2].more) << "the last page has no more cell";
    EXPECT_EQ(pages[2].shown, 6);
  }
  std::vector<FolderPage> pages;
  EXPECT_EQ(FoldersByPage(8, 1, pages).size(), 8u) << "eight fit beside the up cell";
  EXPECT_EQ(pages.size(), 1u);
  pages.clear();
  EXPECT_TRUE(FoldersByPage(0, 0, pages).empty());
}

// Runs the browser as the program would, over an owner window, starting at `start`; the
// script taps, and the buffer and result are returned.
struct BrowserRun {
  std::u16string path;
  bool ok = false;
};

BrowserRun RunBrowser(const std::u16string& start, const std::function<void()>& prepare,
               const std::function<void(device::Driver&)>& script) {
  BrowserRun run;
  device::RunProgramWithScript(
      [&] {
        device::EnsureDeviceImage();
        prepare();
        RegisterTavrelDialogs();
        LoadSkinImages();
        HWND owner = CreateWindowEx(0, u"STATIC", u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                    nullptr, nullptr);
        HDC screen = GetDC(owner);
        CreateBackBuffer(screen);
        ReleaseDC(owner, screen);
        WCHAR buffer[MAX_PATH] = {};
        std::memcpy(buffer, start.c_str(), (start.size() + 1) * sizeof(WCHAR));
        run.ok = RunFolderBrowser(nullptr, owner, buffer);
        run.path = buffer;
        DestroyWindow(owner);
        return 0;
      },
      [&](device::Driver& d) {
        d.AdvanceTime(100);
        script(d);
      });
  return run;
}

POINT CellPoint(int cell) { return POINT{80 * (cell % 3) + 37, 90 * (cell / 3) + 60}; }
void TapCell(device::Driver& d, int cell) { d.Tap(CellPoint(cell).x, CellPoint(cell).y); }
void TapOk(device::Driver& d) { d.Tap(216, 15); }
void TapCancel(device::Driver& d) { d.Tap(168, 15); }

void MakeFolders(const std::u16string& base, int count) {
  CreateDirectory(base.c_str(), nullptr);
  for (int i = 0; i < count; ++i) {
    const std::u16string name = base + u"\\f" + static_cast<char16_t>(u'a' + i);
    CreateDirectory(name.c_str(), nullptr);
  }
}

std::u16string ListedName(const std::u16string& folder, int index) {
  FolderList list;
  ListSubfolders(nullptr, folder.c_str(), list);
  return index < static_cast<int>(list.size()) ? list[index].name : u"?";
}

TEST(FolderBrowser, OkAtAnEmptyRootKeepsTheRootAndEmptyCellsDoNothing) {
  const BrowserRun run = RunBrowser(u"", [] {}, [](device::Driver& d) {
    d.Screenshot("folder-browser-root");
    TapCell(d, 4);
    TapOk(d);
  });
  EXPECT_TRUE(run.ok);
  EXPECT_EQ(run.path, u"");
}

TEST(FolderBrowser, CancelLeavesThePathAfterWalkingIntoAFolder) {
  std::u16string first;
  const BrowserRun run = RunBrowser(u"\\Many", [] { MakeFolders(u"\\Many", 3); }, [&](device::Driver& d) {
    first = ListedName(u"\\Many", 0);
    TapCell(d, 1);  // the first folder, after the up cell
    TapCancel(d);
  });
  EXPECT_FALSE(run.ok);
  EXPECT_EQ(run.path, u"\\Many");
  EXPECT_EQ(first.substr(0, 1), u"f");
}

TEST(FolderBrowser, TheLastOfTwentyFoldersIsReachedOverThreePagesAndOkWritesItsPath) {
  std::u16string last;
  const BrowserRun run = RunBrowser(u"\\Many", [] { MakeFolders(u"\\Many", 20); }, [&](device::Driver& d) {
    last = ListedName(u"\\Many", 19);
    TapCell(d, 8);  // more
    TapCell(d, 8);  // more
    d.Screenshot("folder-browser-last-page");
    TapCell(d, 8);  // the last page has no more cell: nothing
    TapCell(d, 7);  // nor a seventh folder
    TapCell(d, 6);  // the sixth folder of the last page: folder 19
    TapOk(d);
  });
  EXPECT_TRUE(run.ok);
  EXPECT_EQ(run.path, u"\\Many\\" + last);
}

TEST(FolderBrowser, ThePreviousPageCellAndTheUpCellWalkBack) {
  std::u16string first;
  const BrowserRun run = RunBrowser(u"\\Many", [] { MakeFolders(u"\\Many", 10); }, [&](device::Driver& d) {
    first = ListedName(u"\\Many", 0);
    TapCell(d, 8);  // page 1
    TapCell(d, 0);  // back to page 0
    TapCell(d, 1);  // its first folder
    TapCell(d, 0);  // up again: \Many
    TapCell(d, 0);  // up: the root
    TapOk(d);
  });
  EXPECT_EQ(run.path, u"");
  EXPECT_FALSE(first.empty());
}

TEST(FolderBrowser, AFolderWhoseSubfoldersHoldNotesShowsTheirTotal) {
  const BrowserRun run = RunBrowser(
      u"\\Tree",
      [] {
        CreateDirectory(u"\\Tree", nullptr);
        CreateDirectory(u"\\Tree\\empty", nullptr);
        CreateDirectory(u"\\Tree\\parent", nullptr);
        CreateDirectory(u"\\Tree\\parent\\child", nullptr);
        for (const WCHAR* name : {u"\\Tree\\parent\\child\\a.pwi", u"\\Tree\\parent\\child\\b.pwi"}) {
          const std::uint8_t bytes[] = {0xFF, 0xFE, 0x61, 0x00, 0x00, 0x00};
          ReplaceFileContents(name, bytes, sizeof bytes);
        }
      },
      [](device::Driver& d) {
        FolderList list;
        ListSubfolders(nullptr, u"\\Tree", list);
        ASSERT_EQ(list.size(), 2u);
        const int parent = std::u16string(list[0].name) == u"parent" ? 0 : 1;
        EXPECT_EQ(list[parent].noteCount, 2);
        EXPECT_EQ(list[1 - parent].noteCount, 0);
        d.Screenshot("folder-browser-counts");
        // Cells 1 and 2 after the up cell: a yellow icon with the count, and a grey one.
        const POINT withNotes = CellPoint(1 + parent);
        const POINT without = CellPoint(2 - parent);
        // A point of the icon body, left of the count.
        EXPECT_NE(d.Pixel(withNotes.x - 22, withNotes.y + 20), d.Pixel(without.x - 22, without.y + 20));
        EXPECT_NE(d.Pixel(without.x - 22, without.y + 20), RGB(0xB3, 0xB3, 0xB3)) << "an icon is drawn there";
        TapOk(d);
      });
  EXPECT_EQ(run.path, u"\\Tree");
}

TEST(FolderBrowser, TheNotesListsFolderButtonChangesTheNotesFolderAndRebuildsTheList) {
  RunProgram([](device::Driver& d) {
    WriteNote(u"a.pwi", u"a");
    HWND list = OpenList(d);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(PreviewText(d, list), u"a");
    TapFolderButton(d);
    d.AdvanceTime(100);
    d.Screenshot("notes-list-folder-browser");
    TapCell(d, 0);  // up: \My Documents
    TapOk(d);
    d.AdvanceTime(100);
    EXPECT_EQ(std::u16string(TheSettings().directory), u"\\My Documents");
    EXPECT_EQ(TopWindow(), list);
    TapRow(d, 0);
    EXPECT_EQ(PreviewText(d, list), u"") << "no notes directly in My Documents";
    TapFolderButton(d);
    d.AdvanceTime(100);
    TapCancel(d);
    d.AdvanceTime(100);
    EXPECT_EQ(std::u16string(TheSettings().directory), u"\\My Documents");
  });
}

}  // namespace
