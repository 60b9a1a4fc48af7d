// The predefined-text dialog: moving, removing, adding and editing texts, and what is stored.
#include "setup_dialog_support.h"

#include "resources/setup_templates.h"
#include "settings/predefined_text_dialog.h"

#include <deque>

using namespace setup_test;

namespace {

// What the stand-in main screen answers, one per edit: accepted (with the typed text) or not.
struct Answer {
  bool accepted;
  std::u16string text;
};
std::deque<Answer> answers;
std::vector<std::u16string> edited;  // the text each edit started from
std::vector<HWND> stack;

bool AnswerEdit(HWND, const WCHAR* title, WCHAR* text, int room) {
  EXPECT_EQ(std::u16string(title), u"Predefined text:");
  edited.emplace_back(text);
  if (answers.empty()) return false;
  const Answer answer = answers.front();
  answers.pop_front();
  if (!answer.accepted) return false;
  const std::u16string typed = answer.text.substr(0, room - 1);
  std::copy(typed.begin(), typed.end(), text);
  text[typed.size()] = 0;
  return true;
}
void Push(HWND window) { stack.push_back(window); }
void Pop(HWND window) {
  EXPECT_FALSE(stack.empty());
  if (stack.empty()) return;
  EXPECT_EQ(stack.back(), window);
  stack.pop_back();
}
constexpr SetupServices kServices{AnswerEdit, nullptr, Push, Pop};

void StoreTexts(const std::vector<std::u16string>& texts) {
  std::u16string joined;
  for (const auto& text : texts) joined += text + u'\0';
  joined += u'\0';
  WriteSetting(u"FxTexts", REG_MULTI_SZ, joined.data(), 0);
}

// Runs the dialog over the stored `texts`; the script gets the dialog and its list.
void RunTexts(const std::vector<std::u16string>& texts, const std::function<void(device::Driver&, HWND, HWND)>& script) {
  answers.clear();
  edited.clear();
  stack.clear();
  RunDialog([] { EXPECT_EQ(RunPredefinedTextDialog(nullptr, &kServices), 1); },
            [&](device::Driver& d) {
              HWND dialog = d.Find(u"#32770");
              ASSERT_NE(dialog, nullptr);
              ASSERT_EQ(stack, std::vector<HWND>{dialog}) << "the dialog joins the window stack";
              script(d, dialog, GetDlgItem(dialog, kTextsList));
              EXPECT_TRUE(stack.empty()) << "and leaves it";
            },
            [&] { StoreTexts(texts); });
}

void Select(device::Driver& d, HWND list, int index) {
  SendMessage(list, LB_SETCURSEL, index, 0);
  d.RunUntilIdle();
}

using Texts = std::vector<std::u16string>;

}  // namespace

TEST(PredefinedTextDialog, UpAndDownMoveTheSelectedTextWithinTheList) {
  RunTexts({u"a", u"b", u"c"}, [](device::Driver& d, HWND dialog, HWND list) {
    EXPECT_EQ(ListSelection(list), 0) << "the first entry is selected on opening";
    TapControl(d, dialog, kTextsUp);  // on the first: nothing
    EXPECT_EQ(ListTexts(list), (Texts{u"a", u"b", u"c"}));
    Select(d, list, 2);
    TapControl(d, dialog, kTextsDown);  // on the last: nothing
    EXPECT_EQ(ListTexts(list), (Texts{u"a", u"b", u"c"}));
    EXPECT_EQ(ListSelection(list), 2);
    TapControl(d, dialog, kTextsUp);
    EXPECT_EQ(ListTexts(list), (Texts{u"a", u"c", u"b"}));
    EXPECT_EQ(ListSelection(list), 1) << "the moved text stays selected";
    Select(d, list, 0);
    TapControl(d, dialog, kTextsDown);
    EXPECT_EQ(ListTexts(list), (Texts{u"c", u"a", u"b"}));
    EXPECT_EQ(ListSelection(list), 1);
    TapControl(d, dialog, IDOK);
    EXPECT_EQ(StoredTexts(), (Texts{u"c", u"a", u"b"})) << "saved on closing";
  });
}

// Removing the only text leaves an empty list, stored as such; with nothing selected the
// buttons that act on the selection do nothing.
TEST(PredefinedTextDialog, RemovingTheOnlyTextLeavesAnEmptyList) {
  RunTexts({u"only"}, [](device::Driver& d, HWND dialog, HWND list) {
    TapControl(d, dialog, kTextsRemove);
    EXPECT_TRUE(ListTexts(list).empty());
    for (int id : {kTextsRemove, kTextsUp, kTextsDown, kTextsEdit}) TapControl(d, dialog, id);
    EXPECT_TRUE(edited.empty());
    TapControl(d, dialog, IDOK);
    EXPECT_TRUE(StoredTexts().empty());
    LoadSettings(TheSettings(), 0);
    EXPECT_EQ(TheSettings().PredefinedTextCount, 0) << "the removed text does not come back";
  });
}

TEST(PredefinedTextDialog, RemoveSelectsTheEntryAtTheSameIndex) {
  RunTexts({u"a", u"b", u"c"}, [](device::Driver& d, HWND dialog, HWND list) {
    Select(d, list, 1);
    TapControl(d, dialog, kTextsRemove);
    EXPECT_EQ(ListTexts(list), (Texts{u"a", u"c"}));
    EXPECT_EQ(ListSelection(list), 1);
    TapControl(d, dialog, kTextsRemove);
    EXPECT_EQ(ListTexts(list), (Texts{u"a"}));
    EXPECT_EQ(ListSelection(list), 0) << "past the end: the last entry";
    TapControl(d, dialog, IDOK);
  });
}

// An added text goes last and is saved at once, cut to 99 characters; a cancelled "Add.."
// adds nothing (an empty text would end the stored list early).
TEST(PredefinedTextDialog, AddAppendsAndSavesAndACancelAddsNothing) {
  RunTexts({u"a", u"b"}, [](device::Driver& d, HWND dialog, HWND list) {
    Select(d, list, 1);
    answers = {{true, std::u16string(150, u'x')}, {false, u""}};
    TapControl(d, dialog, kTextsAdd);
    EXPECT_EQ(edited, (Texts{u""})) << "the edit starts empty";
    EXPECT_EQ(ListTexts(list), (Texts{u"a", u"b", std::u16string(99, u'x')}));
    EXPECT_EQ(ListSelection(list), 0);
    EXPECT_EQ(StoredTexts(), (Texts{u"a", u"b", std::u16string(99, u'x')})) << "saved before closing";
    TapControl(d, dialog, kTextsAdd);
    Select(d, list, 2);
    TapControl(d, dialog, kTextsUp);
    TapControl(d, dialog, IDOK);
    EXPECT_EQ(StoredTexts(), (Texts{u"a", std::u16string(99, u'x'), u"b"}));
  });
}

TEST(PredefinedTextDialog, AddDoesNothingWithTwentyTexts) {
  Texts twenty;
  for (int i = 0; i < 20; ++i) twenty.push_back(u"t" + std::u16string(1, char16_t(u'a' + i)));
  RunTexts(twenty, [&](device::Driver& d, HWND dialog, HWND list) {
    answers = {{true, u"new"}};
    TapControl(d, dialog, kTextsAdd);
    EXPECT_TRUE(edited.empty()) << "the main screen is not opened";
    EXPECT_EQ(ListTexts(list), twenty);
    TapControl(d, dialog, IDOK);
    EXPECT_EQ(StoredTexts(), twenty);
  });
}

// "Edit.." replaces the selected text; a cancel keeps it; an edit to empty removes the text
// and keeps every text after it.
TEST(PredefinedTextDialog, EditReplacesKeepsOrRemovesTheText) {
  RunTexts({u"a", u"b", u"c"}, [](device::Driver& d, HWND dialog, HWND list) {
    Select(d, list, 1);
    answers = {{true, u"bee"}, {false, u"ignored"}, {true, u""}};
    TapControl(d, dialog, kTextsEdit);
    EXPECT_EQ(ListTexts(list), (Texts{u"a", u"bee", u"c"}));
    EXPECT_EQ(ListSelection(list), 1);
    TapControl(d, dialog, kTextsEdit);
    EXPECT_EQ(ListTexts(list), (Texts{u"a", u"bee", u"c"}));
    TapControl(d, dialog, kTextsEdit);
    EXPECT_EQ(edited, (Texts{u"b", u"bee", u"bee"}));
    EXPECT_EQ(ListTexts(list), (Texts{u"a", u"c"}));
    TapControl(d, dialog, IDOK);
    EXPECT_EQ(StoredTexts(), (Texts{u"a", u"c"}));
  });
}
