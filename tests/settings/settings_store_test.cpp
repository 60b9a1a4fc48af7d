#include "settings/registry_settings.h"
#include "settings/settings_store.h"

#include "prediction/prediction_engine.h"

#include "../prediction/device_image.h"

#include <device/files.h>
#include <device/registry.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class SettingsTest : public DeviceImageTest {
 protected:
  static void SetDword(const WCHAR* name, DWORD value) { ASSERT_TRUE(WriteSetting(name, REG_DWORD, &value, 4)); }
  static void SetRaw(const WCHAR* name, DWORD type, std::vector<BYTE> bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kOptionsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueEx(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
  }
  // The stored type and bytes of a value; type REG_NONE with no bytes when missing.
  static std::pair<DWORD, std::vector<BYTE>> Raw(const WCHAR* name) {
    HKEY key = nullptr;
    RegCreateKeyEx(HKEY_LOCAL_MACHINE, kOptionsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    DWORD type = REG_NONE, size = 0;
    std::vector<BYTE> bytes;
    if (RegQueryValueEx(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
      bytes.resize(size);
      RegQueryValueEx(key, name, nullptr, &type, bytes.data(), &size);
    } else {
      type = REG_NONE;
    }
    RegCloseKey(key);
    return {type, bytes};
  }
  static std::vector<std::u16string> ValueNames() {
    HKEY key = nullptr;
    RegCreateKeyEx(HKEY_LOCAL_MACHINE, kOptionsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    std::vector<std::u16string> names;
    for (DWORD i = 0;; ++i) {
      WCHAR name[64];
      DWORD length = 64;
      if (RegEnumValue(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
  }

  static std::vector<std::u16string> Texts(const SettingsBlock& s) {
    std::vector<std::u16string> texts;
    for (int i = 0; i < s.PredefinedTextCount; ++i) texts.emplace_back(s.PredefinedTexts[i]);
    return texts;
  }

  SettingsBlock settings{};
};

}  // namespace

TEST_F(SettingsTest, EmptyRegistryGivesEveryDefault) {
  LoadSettings(settings, 3);
  EXPECT_EQ(settings.CurrentLang, 0);
  EXPECT_EQ(settings.UsedLangs, (std::vector<std::int32_t>{0, 1, 2}));
  EXPECT_EQ(settings.NumOfLangs(), 3);
  EXPECT_EQ(settings.FontStyle, 0);
  EXPECT_EQ(settings.FontSize, 12);
  EXPECT_EQ(settings.autorepeat, 1);
  EXPECT_EQ(settings.QuickSave, 1);
  EXPECT_EQ(settings.Qwerty, 0);
  EXPECT_EQ(settings.Menu, 1);
  EXPECT_EQ(settings.lefthanded, 0);
  EXPECT_EQ(settings.AddSpace, 0);
  EXPECT_EQ(settings.showPredict, 1);
  EXPECT_EQ(settings.strikelength, 2);
  EXPECT_EQ(settings.phonetimer, 2);
  EXPECT_EQ(std::u16string(settings.directory), u"\\My Documents\\Tavrels");
  EXPECT_EQ(settings.inputmethod, 1);
  EXPECT_EQ(settings.inputmethod2, 1);
  EXPECT_EQ(settings.numericmethod, 0);
  EXPECT_EQ(settings.LearnPairs, 1);
  EXPECT_EQ(Texts(settings), (std::vector<std::u16string>{u"www.tavrel.example", u"Best Regards", u"Hello Darling",
                                                         u"Don't forget to", u"Gave money to ", u"Meeting notes:"}));
  // Loading created the key but wrote nothing.
  EXPECT_TRUE(ValueNames().empty());
}

TEST_F(SettingsTest, NoLanguagesGiveAnEmptyList) {
  LoadSettings(settings, 0);
  EXPECT_TRUE(settings.UsedLangs.empty());
}

TEST_F(SettingsTest, ForcedValues) {
  SetDword(u"inputmethod", 0);
  SetDword(u"inputmethod2", 0);
  SetDword(u"Quick save", 0);
  SetDword(u"FontSize", 0);
  SetDword(u"Menu", 0);
  SetDword(u"showPredict", 0);
  SetDword(u"autorepeat", 0);
  LoadSettings(settings, 2);
  EXPECT_EQ(settings.inputmethod, 1);
  EXPECT_EQ(settings.inputmethod2, 1);
  EXPECT_EQ(settings.QuickSave, 1);
  EXPECT_EQ(settings.FontSize, 12);
  EXPECT_EQ(settings.Menu, 0);  // a stored 0 is kept where nothing forces it
  EXPECT_EQ(settings.showPredict, 0);
  EXPECT_EQ(settings.autorepeat, 0);
  SetDword(u"inputmethod", 3);
  LoadSettings(settings, 2);
  EXPECT_EQ(settings.inputmethod, 3);
}

TEST_F(SettingsTest, WrongTypesCountAsMissing) {
  SetRaw(u"Menu", REG_SZ, {'0', 0, 0, 0});
  SetRaw(u"strikelength", REG_BINARY, {3, 0, 0, 0});
  SetRaw(u"directory", REG_DWORD, {1, 0, 0, 0});
  SetRaw(u"FxTexts", REG_BINARY, {'a', 0, 0, 0});
  SetDword(u"NumOfLangs", 3);
  SetRaw(u"UsedLangs", REG_MULTI_SZ, {2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0});
  LoadSettings(settings, 5);
  EXPECT_EQ(settings.Menu, 1);
  EXPECT_EQ(settings.strikelength, 2);
  EXPECT_EQ(std::u16string(settings.directory), u"\\My Documents\\Tavrels");
  EXPECT_EQ(settings.PredefinedTextCount, kDefaultPredefinedTextCount);
  EXPECT_EQ(settings.UsedLangs, (std::vector<std::int32_t>{0, 1, 2}));
}

TEST_F(SettingsTest, UsedLanguagesFollowNumOfLangs) {
  SetDword(u"NumOfLangs", 2);
  SetRaw(u"UsedLangs", REG_BINARY, {5, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0});
  SetDword(u"CurrentLang", 5);
  LoadSettings(settings, 6);
  EXPECT_EQ(settings.UsedLangs, (std::vector<std::int32_t>{5, 1}));
  EXPECT_EQ(settings.CurrentLang, 5);
  SetRaw(u"UsedLangs", REG_BINARY, {5, 0, 0, 0});  // shorter than NumOfLangs entries
  LoadSettings(settings, 6);
  EXPECT_EQ(settings.UsedLangs, (std::vector<std::int32_t>{0, 1}));
  SetDword(u"NumOfLangs", 0);
  LoadSettings(settings, 6);
  EXPECT_TRUE(settings.UsedLangs.empty());
  SetDword(u"NumOfLangs", 4000000000u);  // corrupt: never more than the languages there are
  LoadSettings(settings, 6);
  EXPECT_EQ(settings.NumOfLangs(), 6);
}

TEST_F(SettingsTest, UsedLanguagesThatNameNoLanguageAreDropped) {
  // Languages 7 and 12 are not in a keyboard.txt of three; 1 is stored twice.
  SetDword(u"NumOfLangs", 5);
  SetRaw(u"UsedLangs", REG_BINARY, {7, 0, 0, 0, 2, 0, 0, 0, 12, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0});
  LoadSettings(settings, 3);
  EXPECT_EQ(settings.UsedLangs, (std::vector<std::int32_t>{2, 1}));
  EXPECT_EQ(settings.NumOfLangs(), 2);
  SaveSettings(settings);
  EXPECT_EQ(Raw(u"NumOfLangs"), (std::pair<DWORD, std::vector<BYTE>>{REG_DWORD, {2, 0, 0, 0}}));
  EXPECT_EQ(Raw(u"UsedLangs"), (std::pair<DWORD, std::vector<BYTE>>{REG_BINARY, {2, 0, 0, 0, 1, 0, 0, 0}}));

  // Nothing left (a negative index among them): every language of the file, in order.
  SetDword(u"NumOfLangs", 2);
  SetRaw(u"UsedLangs", REG_BINARY, {9, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
  LoadSettings(settings, 3);
  EXPECT_EQ(settings.UsedLangs, (std::vector<std::int32_t>{0, 1, 2}));
  EXPECT_EQ(settings.NumOfLangs(), 3);
}

TEST_F(SettingsTest, OutOfRangeTimersTakeTheirDefaults) {
  SetDword(u"phonetimer", 0);
  SetDword(u"strikelength", 9);
  LoadSettings(settings, 1);
  EXPECT_EQ(settings.phonetimer, 2);
  EXPECT_EQ(settings.strikelength, 2);
  SetDword(u"phonetimer", 5);
  SetDword(u"strikelength", 3);
  LoadSettings(settings, 1);
  EXPECT_EQ(settings.phonetimer, 5);
  EXPECT_EQ(settings.strikelength, 3);
}

TEST_F(SettingsTest, SaveWritesEveryValueInOrderWithTypes) {
  LoadSettings(settings, 2);
  settings.FontSize = 0;
  settings.AddSpace = 1;
  settings.CurrentLang = 1;
  SaveSettings(settings);
  EXPECT_EQ(ValueNames(), (std::vector<std::u16string>{
                              u"CurrentLang", u"FontStyle", u"FontSize", u"autorepeat", u"Quick save", u"Qwerty",
                              u"inputmethod", u"inputmethod2", u"numericmethod", u"lefthanded", u"strikelength",
                              u"phonetimer", u"showPredict", u"AddSpace", u"LearnPairs", u"directory", u"Menu", u"NumOfLangs",
                              u"UsedLangs", u"FxTexts"}));
  EXPECT_EQ(Raw(u"FontSize"), (std::pair<DWORD, std::vector<BYTE>>{REG_DWORD, {12, 0, 0, 0}}));
  EXPECT_EQ(Raw(u"AddSpace"), (std::pair<DWORD, std::vector<BYTE>>{REG_DWORD, {1, 0, 0, 0}}));
  EXPECT_EQ(Raw(u"UsedLangs"), (std::pair<DWORD, std::vector<BYTE>>{REG_BINARY, {0, 0, 0, 0, 1, 0, 0, 0}}));
  const auto directory = Raw(u"directory");
  EXPECT_EQ(directory.first, REG_SZ);
  EXPECT_EQ(directory.second.size(), (21u + 1) * 2);  // "\My Documents\Tavrels" and its terminator
  EXPECT_EQ(Raw(u"FxTexts").first, REG_MULTI_SZ);

  SettingsBlock reloaded{};
  LoadSettings(reloaded, 2);
  EXPECT_EQ(reloaded.AddSpace, 1);
  EXPECT_EQ(reloaded.CurrentLang, 1);
  EXPECT_EQ(Texts(reloaded), Texts(settings));
}

TEST_F(SettingsTest, LearnPairsOffLeavesTheTrackerWithoutLearnedPairs) {
  PredictionEngine engine;
  engine.nextWords.AddNextWordPair(u"the", u"way");
  const auto typeAndOffer = [&](const std::u16string& text) {
    for (char16_t c : text) engine.tracker.TypeCharacter(c);
    WCHAR first[kWordBufferSize];
    engine.tracker.GetCompletion(0, first);
    return std::u16string(first);
  };

  SetDword(u"LearnPairs", 0);
  LoadSettings(settings, 1);
  EXPECT_EQ(settings.LearnPairs, 0);
  ApplyLearnPairs(settings, engine);
  EXPECT_EQ(typeAndOffer(u"the office the office the "), u"way");
  EXPECT_EQ(engine.learnedPairs.PairCount(), 0);

  SetDword(u"LearnPairs", 1);
  LoadSettings(settings, 1);
  ApplyLearnPairs(settings, engine);
  EXPECT_EQ(typeAndOffer(u"the office the office the "), u"office");
  SaveSettings(settings);
  EXPECT_EQ(Raw(u"LearnPairs"), (std::pair<DWORD, std::vector<BYTE>>{REG_DWORD, {1, 0, 0, 0}}));
}

TEST_F(SettingsTest, TwoOneCharacterTextsTakeEightBytes) {
  LoadSettings(settings, 1);
  settings.PredefinedTextCount = 2;
  std::char_traits<char16_t>::copy(settings.PredefinedTexts[0], u"a", 2);
  std::char_traits<char16_t>::copy(settings.PredefinedTexts[1], u"b", 2);
  SaveSettings(settings);
  EXPECT_EQ(Raw(u"FxTexts"), (std::pair<DWORD, std::vector<BYTE>>{REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0}}));
  LoadSettings(settings, 1);
  EXPECT_EQ(Texts(settings), (std::vector<std::u16string>{u"a", u"b"}));
}

// Removed texts stay removed: an empty list is stored as an empty value and loads as no text.
TEST_F(SettingsTest, AnEmptyListIsStoredAndLoadsEmpty) {
  SetRaw(u"FxTexts", REG_MULTI_SZ, {'x', 0, 0, 0});
  LoadSettings(settings, 1);
  settings.PredefinedTextCount = 0;
  SaveSettings(settings);
  EXPECT_EQ(Raw(u"FxTexts"), (std::pair<DWORD, std::vector<BYTE>>{REG_MULTI_SZ, {}}));
  LoadSettings(settings, 1);
  EXPECT_EQ(settings.PredefinedTextCount, 0);
}

// An empty text in the list must not end the stored value early: the texts after it survive.
TEST_F(SettingsTest, AnEmptyTextDoesNotCutTheStoredList) {
  settings.PredefinedTextCount = 3;
  std::char_traits<char16_t>::copy(settings.PredefinedTexts[0], u"a", 2);
  settings.PredefinedTexts[1][0] = 0;
  std::char_traits<char16_t>::copy(settings.PredefinedTexts[2], u"c", 2);
  SaveSettings(settings);
  EXPECT_EQ(Raw(u"FxTexts").second, (std::vector<BYTE>{'a', 0, 0, 0, 'c', 0, 0, 0}));
  LoadSettings(settings, 1);
  EXPECT_EQ(Texts(settings), (std::vector<std::u16string>{u"a", u"c"}));
}

TEST_F(SettingsTest, StoredTextsAreSplitCutAndBounded) {
  SetRaw(u"FxTexts", REG_MULTI_SZ, {});
  LoadSettings(settings, 1);
  EXPECT_TRUE(Texts(settings).empty());  // an empty value: no text

  SetRaw(u"FxTexts", REG_SZ, {'h', 0, 'i', 0});  // no terminator stored
  LoadSettings(settings, 1);
  EXPECT_EQ(Texts(settings), (std::vector<std::u16string>{u"hi"}));

  std::vector<BYTE> many;
  for (int i = 0; i < 25; ++i) {
    const std::u16string text = i == 0 ? std::u16string(300, u'L') : u"t" + std::u16string(1, char16_t(u'a' + i));
    for (char16_t c : text) many.insert(many.end(), {BYTE(c), BYTE(c >> 8)});
    many.insert(many.end(), {0, 0});
  }
  many.insert(many.end(), {0, 0});
  SetRaw(u"FxTexts", REG_MULTI_SZ, many);
  LoadSettings(settings, 1);
  EXPECT_EQ(settings.PredefinedTextCount, kMaxPredefinedTexts);
  EXPECT_EQ(std::u16string(settings.PredefinedTexts[0]), std::u16string(199, u'L'));
  EXPECT_EQ(std::u16string(settings.PredefinedTexts[19]), u"tt");
}

TEST_F(SettingsTest, RegistryHelpers) {
  DWORD value = 7;
  EXPECT_FALSE(ReadDwordSetting(u"missing", &value));
  EXPECT_EQ(value, 0u);
  SetRaw(u"short", REG_DWORD, {1, 2});
  EXPECT_FALSE(ReadDwordSetting(u"short", &value));

  const BYTE blob[] = {1, 2, 3};
  EXPECT_TRUE(WriteSetting(u"blob", REG_BINARY, blob, 3));
  std::vector<BYTE> data;
  EXPECT_TRUE(ReadBinarySetting(u"blob", data));
  EXPECT_EQ(data, (std::vector<BYTE>{1, 2, 3}));
  std::vector<WCHAR> notText;
  EXPECT_FALSE(ReadStringSetting(u"blob", notText));

  EXPECT_TRUE(WriteSetting(u"text", REG_SZ, u"abc", 999));  // the size comes from the text
  EXPECT_EQ(Raw(u"text").second.size(), 8u);
  std::vector<WCHAR> text;
  EXPECT_TRUE(ReadStringSetting(u"text", text));
  EXPECT_EQ(std::u16string(text.data()), u"abc");
  EXPECT_FALSE(ReadBinarySetting(u"text", data));

  // Other keys and roots work the same way; the key is created on first use.
  const DWORD stored = 0x12345678;
  EXPECT_TRUE(WriteSetting(HKEY_CURRENT_USER, u"Software\\Other", u"n", REG_DWORD, &stored, 0));
  EXPECT_TRUE(ReadDwordSetting(HKEY_CURRENT_USER, u"Software\\Other", u"n", &value));
  EXPECT_EQ(value, 0x12345678u);
  EXPECT_FALSE(ReadDwordSetting(u"n", &value));
}

TEST_F(SettingsTest, AssignFlag) {
  EXPECT_FALSE(AssignToolStarted());
  MarkAssignToolStarted();
  EXPECT_TRUE(AssignToolStarted());
  // Only 0 or missing (a value of another type counts as missing) make the tool due again.
  SetDword(u"Assign", 0);
  EXPECT_FALSE(AssignToolStarted());
  SetDword(u"Assign", 2);
  EXPECT_TRUE(AssignToolStarted());
  SetRaw(u"Assign", REG_BINARY, {1, 0, 0, 0});
  EXPECT_FALSE(AssignToolStarted());
  MarkAssignToolStarted();
  LoadSettings(settings, 1);
  SaveSettings(settings);  // the block neither reads nor writes it
  EXPECT_TRUE(AssignToolStarted());
}
