// The shipped data/keyboard.txt, read with the program's own language-file reader: six
// languages, every key string as long as its keyboard reads it, and every letter of each
// language typeable on each of the four letter keyboards (directly, through Caps or Fn, or
// through the dead-key accents the language lists).
#include "prediction/language_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::u16string S(const WCHAR* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }

const LanguageTable& ShippedTable() {
  static LanguageTable* table = [] {
    std::ifstream in(TAVREL_SOURCE_DIR "/data/keyboard.txt", std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto* t = new LanguageTable();
    ParseLanguageFile(bytes.data(), bytes.size(), *t);
    return t;
  }();
  return *table;
}

// The dead-key accents and what they compose: the keyboards' composition table.
struct Composition {
  char16_t accent;
  std::u16string from;
  std::u16string to;
};
const Composition kCompositions[] = {
    {u'\u02C6', u"AEIOUaeiou", u"ÂÊÎÔÛâêîôû"},
    {u'\u00A8', u"AEIOUaeiouyΙΥιυ", u"ÄËÏÖÜäëïöüÿΪΫϊϋ"},
    {u'\u02DD', u"OUou", u"ŐŰőű"},
    {u'\u0300', u"AEIOUaeiou", u"ÀÈÌÒÙàèìòù"},
    {u'\u0301', u"AEIOUaeiouΑΕΗΙΟΥΩαεηιουω", u"ÁÉÍÓÚáéíóúΆΈΉΊΌΎΏάέήίόύώ"},
    {u'\u0385', u"ιυ", u"ΐΰ"},
};
bool IsDeadKey(char16_t c) {
  for (const Composition& k : kCompositions)
    if (k.accent == c) return true;
  return false;
}

// What a keyboard with these layers can type: their characters and, when a layer holds a
// dead key, every composition of the listed accents with the layers' characters.
std::set<char16_t> Typeable(const std::vector<std::u16string>& layers, const std::u16string& modifiers) {
  std::set<char16_t> out;
  bool hasDeadKey = false;
  for (const std::u16string& layer : layers)
    for (char16_t c : layer) {
      if (IsDeadKey(c)) hasDeadKey = true;
      else out.insert(c);
    }
  if (!hasDeadKey) return out;
  const std::set<char16_t> bases = out;
  for (char16_t accent : modifiers)
    for (const Composition& k : kCompositions)
      if (k.accent == accent)
        for (std::size_t i = 0; i < k.from.size(); ++i)
          if (bases.count(k.from[i])) out.insert(k.to[i]);
  return out;
}

std::vector<std::u16string> Split(const std::u16string& s, char16_t sep) {
  std::vector<std::u16string> parts(1);
  for (char16_t c : s) {
    if (c == sep) parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

struct LanguageLetters {
  const char16_t* folder;
  std::u16string lower;  // every letter of the language
  std::u16string upper;  // their capitals (letters without one left out)
};
const LanguageLetters kLanguages[] = {
    {u"english", u"abcdefghijklmnopqrstuvwxyz", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    {u"german", u"abcdefghijklmnopqrstuvwxyzäöüß", u"ABCDEFGHIJKLMNOPQRSTUVWXYZÄÖÜ"},
    {u"french", u"abcdefghijklmnopqrstuvwxyzàâæçéèêëîïôœùûüÿ", u"ABCDEFGHIJKLMNOPQRSTUVWXYZÀÂÆÇÉÈÊËÎÏÔŒÙÛÜ"},
    {u"spanish", u"abcdefghijklmnopqrstuvwxyzáéíóúüñ", u"ABCDEFGHIJKLMNOPQRSTUVWXYZÁÉÍÓÚÜÑ"},
    {u"hungarian", u"abcdefghijklmnopqrstuvwxyzáéíóöőúüű", u"ABCDEFGHIJKLMNOPQRSTUVWXYZÁÉÍÓÖŐÚÜŰ"},
    {u"greek", u"αβγδεζηθικλμνξοπρσςτυφχψωάέήίόύώϊϋΐΰ", u"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩΆΈΉΊΌΎΏΪΫ"},
};

class ShippedLanguage : public ::testing::TestWithParam<int> {
 protected:
  const LanguageRecord& Record() const { return ShippedTable().Language(GetParam()); }
  const LanguageLetters& Letters() const { return kLanguages[GetParam()]; }
};

TEST(ShippedKeyboardFile, HoldsTheSixLanguagesInOrder) {
  ASSERT_EQ(ShippedTable().count, 6);
  EXPECT_EQ(ShippedTable().firstIncomplete, -1);  // start-up would call it damaged
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(S(ShippedTable().Language(i).PREDICTDB), std::u16string(kLanguages[i].folder) + u"\\db.dat");
    EXPECT_EQ(S(ShippedTable().Language(i).NEXTWORDDB), std::u16string(kLanguages[i].folder) + u"\\phrases.dat");
  }
}

TEST_P(ShippedLanguage, NamesFitTheirFieldsAndPathsArePlainAscii) {
  const LanguageRecord& r = Record();
  EXPECT_FALSE(S(r.NAME).empty());
  EXPECT_FALSE(S(r.LONG).empty());
  for (char16_t c : S(r.PREDICTDB) + S(r.NEXTWORDDB)) EXPECT_LT(c, 0x80);
}

TEST_P(ShippedLanguage, EveryKeyStringHasTheLengthItsKeyboardReads) {
  const LanguageRecord& r = Record();
  for (const WCHAR* s : {r.PREDICT_1, r.PREDICT_2, r.PREDICT_3}) EXPECT_EQ(S(s).size(), 35u) << "predictive";
  for (const WCHAR* s : {r.QWERTY_1, r.QWERTY_2, r.QWERTY_3}) EXPECT_EQ(S(s).size(), 48u) << "QWERTY";
  for (const WCHAR* s : {r.QWERTYFULL_1, r.QWERTYFULL_2, r.QWERTYFULL_3}) EXPECT_EQ(S(s).size(), 40u) << "landscape";
  for (const WCHAR* s : {r.PHONEKEYS_1, r.PHONEKEYS_2}) {
    const auto groups = Split(S(s), u'~');
    ASSERT_EQ(groups.size(), 12u);
    for (const auto& g : groups) {
      EXPECT_FALSE(g.empty());
      EXPECT_LE(g.size(), 19u);
    }
  }
  // The reader appends a space to the accent list; what comes before it are dead keys only.
  const std::u16string modifiers = S(r.QWERTYFULL_MODIFIERS);
  ASSERT_FALSE(modifiers.empty());
  EXPECT_EQ(modifiers.back(), u' ');
  for (std::size_t i = 0; i + 1 < modifiers.size(); ++i) EXPECT_TRUE(IsDeadKey(modifiers[i]));
}

TEST_P(ShippedLanguage, UpperCaseLayersMatchTheLowerCaseLayersKeyForKey) {
  const LanguageRecord& r = Record();
  const std::u16string lower = S(r.PREDICT_1), upper = S(r.PREDICT_2);
  for (std::size_t i = 0; i < lower.size() && i < upper.size(); ++i)
    EXPECT_EQ(lower[i] == u' ', upper[i] == u' ') << "space keys stay where they are, key " << i;
  const std::u16string fn = S(r.PREDICT_3);
  for (std::size_t i = 0; i < lower.size() && i < fn.size(); ++i)
    EXPECT_EQ(lower[i] == u' ', fn[i] == u' ') << "Fn keeps the space keys, key " << i;
  // The d-pad's Enter returns to the first space key from key 3 on.
  EXPECT_NE(lower.find(u' ', 3), std::u16string::npos);
}

TEST_P(ShippedLanguage, EveryLetterIsTypeableOnEveryKeyboard) {
  const LanguageRecord& r = Record();
  const std::u16string modifiers = S(r.QWERTYFULL_MODIFIERS);
  const std::u16string phone = S(r.PHONEKEYS_1) + S(r.PHONEKEYS_2);
  const struct {
    const char* name;
    std::set<char16_t> typeable;
  } keyboards[] = {
      {"phone keypad", Typeable({phone}, u"")},
      {"QWERTY", Typeable({S(r.QWERTY_1), S(r.QWERTY_2), S(r.QWERTY_3)}, u"")},
      {"predictive keypad", Typeable({S(r.PREDICT_1), S(r.PREDICT_2), S(r.PREDICT_3)}, modifiers)},
      {"landscape", Typeable({S(r.QWERTYFULL_1), S(r.QWERTYFULL_2), S(r.QWERTYFULL_3)}, modifiers)},
  };
  for (const auto& k : keyboards) {
    for (char16_t c : Letters().lower + Letters().upper)
      EXPECT_TRUE(k.typeable.count(c)) << k.name << " cannot type U+" << std::hex << int(c);
    for (char16_t d = u'0'; d <= u'9'; ++d) EXPECT_TRUE(k.typeable.count(d)) << k.name << " lacks digit " << char(d);
  }
}

TEST_P(ShippedLanguage, DeadKeysAppearOnlyWhereTheLanguageListsAccents) {
  const LanguageRecord& r = Record();
  const bool listsAccents = S(r.QWERTYFULL_MODIFIERS).size() > 1;
  bool hasDeadKey = false;
  for (const WCHAR* s : {r.PREDICT_1, r.PREDICT_2, r.QWERTYFULL_1, r.QWERTYFULL_2})
    for (char16_t c : S(s)) hasDeadKey |= IsDeadKey(c);
  EXPECT_EQ(hasDeadKey, listsAccents);
  // The QWERTY keyboard has no dead keys: one there would type a lone accent.
  for (const WCHAR* s : {r.QWERTY_1, r.QWERTY_2, r.QWERTY_3})
    for (char16_t c : S(s)) EXPECT_FALSE(IsDeadKey(c));
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguage, ::testing::Range(0, 6),
                         [](const ::testing::TestParamInfo<int>& info) {
                           std::string name;
                           for (const char16_t* p = kLanguages[info.param].folder; *p; ++p) name += char(*p);
                           return name;
                         });

}  // namespace
