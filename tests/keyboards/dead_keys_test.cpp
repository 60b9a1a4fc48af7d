// Dead-key accents without windows: the accent cycle over a language's modifier list and the
// composition table.
#include "keyboards/dead_keys.h"

#include <gtest/gtest.h>

#include <string>

namespace {

LanguageRecord WithModifiers(const std::u16string& modifiers) {
  LanguageRecord language{};
  std::copy(modifiers.begin(), modifiers.end(), language.QWERTYFULL_MODIFIERS);
  return language;
}

class DeadKeysTest : public ::testing::Test {
 protected:
  void SetUp() override { AccentIndex() = kAccentStartIndex; }
};

TEST_F(DeadKeysTest, CycleStartsWithoutAccentAndWrapsThroughTheAppendedSpace) {
  const LanguageRecord french = WithModifiers(u"\u0300\u02C6\u00A8 ");
  EXPECT_EQ(ActiveAccent(french), 0) << "index 10 lies outside the list";
  AdvanceAccent(french);
  EXPECT_EQ(ActiveAccent(french), u'\u0300') << "from outside the list the cycle starts at the first entry";
  AdvanceAccent(french);
  AdvanceAccent(french);
  EXPECT_EQ(ActiveAccent(french), u'\u00A8');
  AdvanceAccent(french);
  EXPECT_EQ(ActiveAccent(french), 0) << "the appended space is no accent";
  AdvanceAccent(french);
  EXPECT_EQ(ActiveAccent(french), u'\u0300');
  ResetAccent(french);
  EXPECT_EQ(AccentIndex(), 3);
  EXPECT_EQ(ActiveAccent(french), 0);
}

TEST_F(DeadKeysTest, AnEmptyListNeverActivatesAnAccent) {
  const LanguageRecord english = WithModifiers(u" ");
  for (int i = 0; i < 3; ++i) {
    AdvanceAccent(english);
    EXPECT_EQ(ActiveAccent(english), 0);
    EXPECT_EQ(ComposeAccent(u'e', english), u'e');
  }
  const LanguageRecord none = WithModifiers(u"");
  ResetAccent(none);
  AdvanceAccent(none);
  EXPECT_EQ(ActiveAccent(none), 0) << "no language loaded: nothing to read outside the list";
}

TEST_F(DeadKeysTest, ComposesOnlyThePairsOfTheTable) {
  const LanguageRecord all = WithModifiers(u"\u02C6\u00A8\u02DD\u0300\u0301\u0385 ");
  struct Case {
    int advances;
    char16_t from, to;
  };
  const Case cases[] = {
      {1, u'o', u'ô'}, {1, u'y', u'y'},  // circumflex
      {2, u'y', u'ÿ'}, {2, u'Υ', u'Ϋ'},  // diaeresis
      {3, u'u', u'ű'}, {3, u'a', u'a'},  // double acute
      {4, u'E', u'È'}, {4, u'y', u'y'},  // grave
      {5, u'ω', u'ώ'}, {5, u'Η', u'Ή'}, {5, u'b', u'b'},  // acute
      {6, u'υ', u'ΰ'}, {6, u'ο', u'ο'},  // dialytika tonos
      {7, u'e', u'e'},                   // the appended space: none
  };
  for (const Case& c : cases) {
    AccentIndex() = kAccentStartIndex;
    for (int i = 0; i < c.advances; ++i) AdvanceAccent(all);
    EXPECT_EQ(ComposeAccent(c.from, all), c.to) << "accent " << c.advances << " on " << static_cast<int>(c.from);
  }
}

}  // namespace
