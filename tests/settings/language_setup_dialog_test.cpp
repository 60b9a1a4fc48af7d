// The language setup dialog: the two sorted lists, "<<" and ">>", and what "OK" stores.
#include "setup_dialog_support.h"

#include "prediction/prediction_engine.h"
#include "resources/setup_templates.h"
#include "settings/language_setup_dialog.h"

using namespace setup_test;

namespace {

using Texts = std::vector<std::u16string>;

// Three languages: 0 "English", 1 "Deutsch", 2 "Suomi".
void SetLanguages() {
  constexpr const char16_t* kNames[] = {u"English", u"Deutsch", u"Suomi"};
  LanguageTable& table = ThePredictionEngine().languages;
  table = LanguageTable{};
  for (int i = 0; i < 3; ++i) {
    std::char_traits<char16_t>::copy(table.records[i].LONG, kNames[i], std::char_traits<char16_t>::length(kNames[i]) + 1);
  }
  table.count = 3;
}

void StoreUsed(const std::vector<BYTE>& languages) {
  SetDword(u"NumOfLangs", static_cast<DWORD>(languages.size()));
  std::vector<BYTE> bytes;
  for (BYTE language : languages) bytes.insert(bytes.end(), {language, 0, 0, 0});
  WriteSetting(u"UsedLangs", REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::vector<BYTE> StoredUsed() {
  std::vector<BYTE> bytes;
  ReadBinarySetting(u"UsedLangs", bytes);
  return bytes;
}

void RunLanguages(const std::vector<BYTE>& used, const std::function<void(device::Driver&, HWND, HWND, HWND)>& script) {
  SetLanguages();
  RunDialog([] { EXPECT_EQ(RunLanguageSetupDialog(nullptr), 1); },
            [&](device::Driver& d) {
              HWND dialog = d.Find(u"#32770", u"Languages");
              ASSERT_NE(dialog, nullptr);
              script(d, dialog, GetDlgItem(dialog, kLanguagesUsed), GetDlgItem(dialog, kLanguagesUnused));
            },
            [&] { StoreUsed(used); }, 3);
}

}  // namespace

// "<<" appends the language at the end of the cycle, whatever its place in the sorted list.
TEST(LanguageSetupDialog, UseAppendsTheLanguageAtTheEndOfTheCycle) {
  RunLanguages({2, 0}, [](device::Driver& d, HWND dialog, HWND used, HWND unused) {
    EXPECT_EQ(ListTexts(used), (Texts{u"English", u"Suomi"})) << "sorted by name";
    EXPECT_EQ(ListTexts(unused), (Texts{u"Deutsch"}));
    TapControl(d, dialog, kLanguagesUse);
    EXPECT_EQ(ListTexts(used), (Texts{u"Deutsch", u"English", u"Suomi"}));
    EXPECT_TRUE(ListTexts(unused).empty());
    EXPECT_EQ(ListSelection(used), 0) << "the added entry is selected";
    TapControl(d, dialog, kLanguagesUse);  // every language is used: nothing
    EXPECT_EQ(TheSettings().UsedLangs, (std::vector<std::int32_t>{2, 0, 1}));
    TapControl(d, dialog, IDOK);
    EXPECT_EQ(StoredUsed(), (std::vector<BYTE>{2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(StoredDword(u"NumOfLangs"), 3);
  });
}

// ">>" closes the gap in the cycle and never takes the last used language.
TEST(LanguageSetupDialog, DropKeepsTheOrderAndNeverTheLastLanguage) {
  RunLanguages({2, 1, 0}, [](device::Driver& d, HWND dialog, HWND used, HWND unused) {
    SendMessage(used, LB_SETCURSEL, 1, 0);  // "English"
    TapControl(d, dialog, kLanguagesDrop);
    EXPECT_EQ(ListTexts(used), (Texts{u"Deutsch", u"Suomi"}));
    EXPECT_EQ(ListTexts(unused), (Texts{u"English"}));
    EXPECT_EQ(ListSelection(used), 0) << "the entry above the removed one";
    EXPECT_EQ(TheSettings().UsedLangs, (std::vector<std::int32_t>{2, 1}));
    TapControl(d, dialog, kLanguagesDrop);  // "Deutsch"
    EXPECT_EQ(TheSettings().UsedLangs, (std::vector<std::int32_t>{2}));
    TapControl(d, dialog, kLanguagesDrop);  // only "Suomi" left: nothing
    EXPECT_EQ(ListTexts(used), (Texts{u"Suomi"}));
    EXPECT_EQ(TheSettings().UsedLangs, (std::vector<std::int32_t>{2}));
    TapControl(d, dialog, IDOK);
    EXPECT_EQ(StoredUsed(), (std::vector<BYTE>{2, 0, 0, 0}));
    EXPECT_EQ(StoredDword(u"NumOfLangs"), 1);
  });
}

// Closing without "OK" keeps the change in memory only.
TEST(LanguageSetupDialog, ClosingOtherwiseDoesNotSave) {
  RunLanguages({0, 1}, [](device::Driver& d, HWND dialog, HWND, HWND) {
    TapControl(d, dialog, kLanguagesUse);
    PostMessage(dialog, WM_COMMAND, IDCANCEL, 0);
    d.RunUntilIdle();
    EXPECT_EQ(TheSettings().UsedLangs, (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(StoredUsed(), (std::vector<BYTE>{0, 0, 0, 0, 1, 0, 0, 0}));
  });
}
