// vCard exchange as people use it: a file from a desktop address book (folded lines, escaped
// commas, several phone types, non-ASCII names), 2.1 files with quoted-printable, export then
// import giving the same records, no duplicates on a second import, bad and hostile files
// reported by line without harming the store, and the command-line tool's exit codes.
#include "contacts/contact_exchange.h"

#include "contacts_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/wait.h>

using contacts_test::ContactsTest;

namespace fs = std::filesystem;

namespace {

// As a desktop address book writes it: CR LF, folding inside a UTF-8 name and a long note,
// grouped properties, TYPE lists in both spellings, escapes.
constexpr std::string_view kDesktopBook =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "PRODID:-//Desktop Address Book//EN\r\n"
    "N:Kov\xC3\xA1""cs;Zolt\xC3\xA1n;P\xC3\xA9ter,J\xC3\xA1nos;Dr.;\r\n"
    "FN:Dr. Zolt\xC3\xA1n Kov\xC3\xA1""cs\r\n"
    "ORG:Acme\\, Ltd.;R&D\r\n"
    "TITLE:Head of research\\; acting\r\n"
    "item1.TEL;type=CELL;type=pref:+36 30 111 2222\r\n"
    "TEL;TYPE=WORK,VOICE:+36 1 333 4444\r\n"
    "TEL;TYPE=HOME:+36 62 555 666\r\n"
    "TEL;TYPE=\"work,fax\":+36 1 333 4445\r\n"
    "TEL;TYPE=PAGER:tel:+36 20 999\r\n"
    "EMAIL;TYPE=INTERNET,WORK:zoltan@acme.example\r\n"
    "EMAIL;TYPE=INTERNET,HOME:zoli@home.example\r\n"
    "ADR;TYPE=WORK:;Building 7;Kossuth Lajos sug\xC3\xA1r\r\n"
    " \xC3\xBAt 12;Szeged;Csongr\xC3\xA1""d;6720;Hungary\r\n"
    "BDAY:19651103\r\n"
    "X-ANNIVERSARY:1990-06-30\r\n"
    "CATEGORIES:Work,Research\r\n"
    "URL:https://acme.example/~zk\r\n"
    "NOTE:Met at the conference\\, 2019.\\nPrefers e-mail over phone calls; rar\r\n"
    "\tely answers before ten.\r\n"
    "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAP\r\n"
    " //////////////////////////////////////////////\r\n"
    "X-UNKNOWN-THING;FOO=bar:whatever\r\n"
    "UID:2f1c-44aa-kovacs\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\n"
    "VERSION:4.0\r\n"
    "FN:\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E\r\n"
    "N:\xE7\x8E\x8B;\xE5\xB0\x8F\xE6\x98\x8E;;;\r\n"
    "TEL;VALUE=uri;TYPE=\"voice,home\":tel:+86-10-1234-5678\r\n"
    "ANNIVERSARY:20100808\r\n"
    "END:VCARD\r\n";

// A vCard 2.1 card with quoted-printable and a Windows-1252 charset.
constexpr std::string_view kOldPhoneBook =
    "BEGIN:VCARD\n"
    "VERSION:2.1\n"
    "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCr=\n"
    "gen\n"
    "TEL;CELL;VOICE:0170 1234567\n"
    "TEL;WORK;FAX:030 999\n"
    "ADR;HOME;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:;;Stra=DFe 1;K=F6ln;;50667;Deutschland\n"
    "NOTE;ENCODING=QUOTED-PRINTABLE:line one=0D=0Aline two\n"
    "END:VCARD\n";

class VCardTest : public ContactsTest {
 protected:
  void SetUp() override { Connect(); }

  static std::vector<ContactRecord> StoredByFileAs() {
    std::vector<ContactRecord> records;
    EXPECT_TRUE(ReadAllContacts(records));
    std::sort(records.begin(), records.end(), [](const ContactRecord& a, const ContactRecord& b) {
      return Field(a, kFileAsId) < Field(b, kFileAsId);
    });
    return records;
  }
};

TEST_F(VCardTest, DesktopBook_EveryPropertyLandsInItsField) {
  ImportSummary summary = ImportVCardText(kDesktopBook);
  EXPECT_TRUE(summary.stored);
  EXPECT_EQ(summary.imported, 2);
  EXPECT_TRUE(summary.problems.empty());
  std::vector<ContactRecord> stored = StoredByFileAs();
  ASSERT_EQ(stored.size(), 2u);
  const ContactRecord& k = stored[0];
  EXPECT_EQ(Field(k, kFileAsId), u"Dr. Zoltán Kovács");
  EXPECT_EQ(Field(k, kLastNameId), u"Kovács");
  EXPECT_EQ(Field(k, kFirstNameId), u"Zoltán");
  EXPECT_EQ(Field(k, kMiddleNameId), u"Péter János");
  EXPECT_EQ(Field(k, kTitleId), u"Dr.");
  EXPECT_EQ(Field(k, kCompanyNameId), u"Acme, Ltd.");
  EXPECT_EQ(Field(k, kDepartmentId), u"R&D");
  EXPECT_EQ(Field(k, kJobTitleId), u"Head of research; acting");
  EXPECT_EQ(Field(k, kMobileTelephoneNumberId), u"+36 30 111 2222");
  EXPECT_EQ(Field(k, kBusinessTelephoneNumberId), u"+36 1 333 4444");
  EXPECT_EQ(Field(k, kHomeTelephoneNumberId), u"+36 62 555 666");
  EXPECT_EQ(Field(k, kBusinessFaxNumberId), u"+36 1 333 4445");
  EXPECT_EQ(Field(k, kPagerNumberId), u"+36 20 999");
  EXPECT_EQ(Field(k, kEmail1AddressId), u"zoltan@acme.example");
  EXPECT_EQ(Field(k, kEmail2AddressId), u"zoli@home.example");
  EXPECT_EQ(Field(k, kBusinessAddressStreetId), u"Building 7, Kossuth Lajos sugárút 12");
  EXPECT_EQ(Field(k, kBusinessAddressCityId), u"Szeged");
  EXPECT_EQ(Field(k, kBusinessAddressStateId), u"Csongrád");
  EXPECT_EQ(Field(k, kBusinessAddressPostalCodeId), u"6720");
  EXPECT_EQ(Field(k, kBusinessAddressCountryId), u"Hungary");
  EXPECT_EQ(Field(k, kCategoriesId), u"Work, Research");
  EXPECT_EQ(Field(k, kWebPageId), u"https://acme.example/~zk");
  SYSTEMTIME birthday{};
  VariantTimeToSystemTime(k.Birthday, &birthday);
  EXPECT_EQ(std::vector<int>({birthday.wYear, birthday.wMonth, birthday.wDay}), std::vector<int>({1965, 11, 3}));
  SYSTEMTIME anniversary{};
  VariantTimeToSystemTime(k.Anniversary, &anniversary);
  EXPECT_EQ(anniversary.wYear, 1990);
  std::u16string uid, note;
  ASSERT_TRUE(PoomReadContactExtras(k.Oid, &uid, &note));
  EXPECT_EQ(uid, u"2f1c-44aa-kovacs");
  EXPECT_EQ(note, u"Met at the conference, 2019.\r\nPrefers e-mail over phone calls; rarely answers before ten.");
  const ContactRecord& w = stored[1];
  EXPECT_EQ(Field(w, kFileAsId), u"王小明");
  EXPECT_EQ(Field(w, kHomeTelephoneNumberId), u"+86-10-1234-5678");
  EXPECT_FALSE(IsNoDate(w.Anniversary));
}

TEST_F(VCardTest, Version21_QuotedPrintableSoftBreaksAndCharsets) {
  ImportSummary summary = ImportVCardText(kOldPhoneBook);
  ASSERT_EQ(summary.imported, 1);
  EXPECT_TRUE(summary.problems.empty());
  std::vector<ContactRecord> stored = StoredByFileAs();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(Field(stored[0], kFileAsId), u"Müller, Jürgen");
  EXPECT_EQ(Field(stored[0], kMobileTelephoneNumberId), u"0170 1234567");
  EXPECT_EQ(Field(stored[0], kBusinessFaxNumberId), u"030 999");
  EXPECT_EQ(Field(stored[0], kHomeAddressStreetId), u"Straße 1");
  EXPECT_EQ(Field(stored[0], kHomeAddressCityId), u"Köln");
  std::u16string uid, note;
  PoomReadContactExtras(stored[0].Oid, &uid, &note);
  EXPECT_EQ(note, u"line one\r\nline two");
}

TEST_F(VCardTest, ExportThenImportIntoAnEmptyStoreGivesTheSameRecords) {
  ContactRecord full;
  for (int id = kFirstStringFieldId; id < kContactFieldCount; ++id) {
    std::u16string text = u"ß;,\\ ";
    for (const char* p = ContactFieldName(id); *p; ++p) text += static_cast<char16_t>(*p);
    SetContactString(full, id, text + u" 電話 with a long enough tail to be folded at seventy-five octets");
  }
  SetContactString(full, kCategoriesId, u"Family, Friends");
  SYSTEMTIME day{1999, 12, 0, 31, 0, 0, 0, 0};
  SystemTimeToVariantTime(&day, &full.Birthday);
  day.wYear = 2004;
  SystemTimeToVariantTime(&day, &full.Anniversary);
  ASSERT_GT(PoomCreateContactWithExtras(full, u"uid-1", u"note\r\nwith; two lines"), 0);
  ASSERT_GT(PoomCreateContact(Person(u"Ann", u"Lee", u"555")), 0);
  std::string text;
  int count = 0;
  ASSERT_TRUE(ExportVCardText(text, &count));
  EXPECT_EQ(count, 2);
  for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    EXPECT_LE(end - start, 75u);
  std::vector<ContactRecord> before = StoredByFileAs();
  std::vector<ContactRecord> all;
  PoomLoadContacts(all);
  for (const ContactRecord& record : all) PoomDeleteContactById(record.Oid);
  ImportSummary summary = ImportVCardText(text);
  EXPECT_EQ(summary.imported, 2);
  EXPECT_TRUE(summary.problems.empty());
  std::vector<ContactRecord> after = StoredByFileAs();
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    for (int id = kFirstStringFieldId; id < kContactFieldCount; ++id)
      EXPECT_EQ(Field(after[i], id), Field(before[i], id)) << ContactFieldName(id);
    EXPECT_EQ(after[i].Birthday, before[i].Birthday);
    EXPECT_EQ(after[i].Anniversary, before[i].Anniversary);
  }
  std::u16string uid, note;
  PoomReadContactExtras(after[1].Oid, &uid, &note);
  EXPECT_EQ(uid, u"uid-1");
  EXPECT_EQ(note, u"note\r\nwith; two lines");
}

TEST_F(VCardTest, SecondImport_SameUidOrSameNameAndPhoneIsNotDuplicated) {
  ASSERT_EQ(ImportVCardText(kDesktopBook).imported, 2);
  ImportSummary again = ImportVCardText(kDesktopBook);
  EXPECT_EQ(again.imported, 0);
  EXPECT_EQ(again.duplicates, 2);
  std::string renamedUid = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Other\r\nN:Kovács;Zoltán;;;\r\n"
                           "TEL;TYPE=HOME:+36 62 555-666\r\nUID:another\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Kovács;Zoltán;;;\r\nTEL:+36 99\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Kovács;Zoltán;;;\r\nTEL:+36 99\r\nEND:VCARD\r\n";
  ImportSummary mixed = ImportVCardText(renamedUid);
  EXPECT_EQ(mixed.duplicates, 2);  // same name and phone digits; then the file's own repeat
  EXPECT_EQ(mixed.imported, 1);    // same name, another phone: another person
  EXPECT_EQ(StoredByFileAs().size(), 3u);
}

TEST_F(VCardTest, BadCards_ReportedByLineValidOnesImported) {
  std::string text =
      "PRODID:before any card\n"                          // 1
      "BEGIN:VCARD\nVERSION:3.0\nN:Good;One;;;\n"          // 2-4
      "BDAY:--1224\n"                                      // 5: no year
      "this line has no colon\n"                           // 6
      "END:VCARD\n"                                        // 7
      "BEGIN:VCARD\nVERSION:3.0\nNOTE:only a note\nEND:VCARD\n"  // 8-11: nothing to name it
      "BEGIN:VCARD\nN:Cut;Short;;;\n"                      // 12-13: never ended
      "BEGIN:VCARD\nN:Last;Good;;;\nTEL:1\nTEL:2\nTEL:3\nTEL:4\nTEL:5\nTEL:6\nTEL:7\nTEL:8\nEND:VCARD\n"  // 14-25
      "BEGIN:VCARD\nN:Trunc";                              // 25-26
  ImportSummary summary = ImportVCardText(text);
  EXPECT_EQ(summary.imported, 2);
  std::vector<std::pair<int, std::string>> problems;
  for (const VCardProblem& p : summary.problems) problems.emplace_back(p.line, p.message);
  EXPECT_EQ(problems, (std::vector<std::pair<int, std::string>>{
                          {1, "outside a card"},
                          {5, "a date without a year"},
                          {6, "not a vCard line (no ':')"},
                          {8, "card without a name, phone or e-mail"},
                          {12, "card not ended before the next BEGIN"},
                          {23, "no free phone field for this number"},
                          {25, "card not ended (the file ends first)"},
                      }));
}

TEST_F(VCardTest, HostileFiles_BinaryHugeLinesAndLongValuesNeverCrash) {
  std::string binary(100000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 7919) % 256);
  ImportSummary junk = ImportVCardText(binary);
  EXPECT_EQ(junk.imported, 0);
  EXPECT_FALSE(junk.problems.empty());
  std::string huge = "BEGIN:VCARD\nN:Long;Line;;;\nNOTE:" + std::string(1 << 20, 'x') + "\nX-BIG:" +
                     std::string(1 << 20, 'y') + "\nEND:VCARD\n";
  ImportSummary big = ImportVCardText(huge);
  EXPECT_EQ(big.imported, 1);
  ASSERT_EQ(big.problems.size(), 1u);
  EXPECT_EQ(big.problems[0].line, 3);
  std::vector<ContactRecord> stored = StoredByFileAs();
  std::u16string uid, note;
  PoomReadContactExtras(stored[0].Oid, &uid, &note);
  EXPECT_EQ(note.size(), kVCardMaxValue);
  EXPECT_EQ(ParseVCards("").problems.size(), 1u);
}

TEST_F(VCardTest, ManyCards_HundredThousandSmallCardsAllRead) {
  std::string text;
  for (int i = 0; i < 100000; ++i)
    text += "BEGIN:VCARD\nVERSION:4.0\nFN:Person " + std::to_string(i) + "\nTEL:" + std::to_string(i) + "\nEND:VCARD\n";
  VCardFile file = ParseVCards(text);
  EXPECT_TRUE(file.problems.empty());
  ASSERT_EQ(file.cards.size(), 100000u);
  EXPECT_EQ(Field(file.cards.back().record, kFileAsId), u"Person 99999");
  EXPECT_EQ(file.cards.back().line, 499996);
}

// Mutated copies of real cards: bytes flipped, dropped, duplicated and cut. The parser must
// finish, and every card it gives must carry a name, a phone or an e-mail.
TEST_F(VCardTest, Fuzz_TenThousandMutatedCardsNeverCrash) {
  std::mt19937 random(20261206);
  const std::string seeds[] = {std::string(kDesktopBook), std::string(kOldPhoneBook)};
  static constexpr char kInterestingBytes[] = ":;,\\=\r\n \t\"\xC3\xFF\0";
  const std::string_view kInteresting(kInterestingBytes, sizeof kInterestingBytes);  // with the NUL
  std::size_t cards = 0;
  for (int round = 0; round < 10000; ++round) {
    std::string card = seeds[round % 2];
    int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits && !card.empty(); ++e) {
      std::size_t at = random() % card.size();
      switch (random() % 5) {
        case 0: card[at] = kInteresting[random() % kInteresting.size()]; break;
        case 1: card.erase(at, 1 + random() % 16); break;
        case 2: card.insert(at, card.substr(at, random() % 64)); break;
        case 3: card.resize(at); break;
        default: card[at] = static_cast<char>(random()); break;
      }
    }
    VCardFile file = ParseVCards(card);
    for (const VCardCard& parsed : file.cards) {
      bool something = false;
      for (int id = kFirstStringFieldId; id < kContactFieldCount; ++id) {
        std::string_view name = ContactFieldName(id);
        bool phoneOrMail = name.find("Telephone") != std::string_view::npos || name.find("Email") != std::string_view::npos;
        if ((id == kFileAsId || phoneOrMail) && ContactString(parsed.record, id)) something = true;
      }
      EXPECT_TRUE(something);
      ++cards;
    }
  }
  EXPECT_GT(cards, 1000u);  // most mutations leave cards that still read
}

#ifdef TAVREL_CONTACTS_TOOL
// The command-line tool on the test's device image (TAVREL_DEVICE is the driver's), installing
// no program data there.
int RunTool(const std::string& arguments, std::string* output = nullptr) {
  fs::path out = fs::path(std::getenv("TAVREL_DEVICE")) / "tool-out.txt";
  std::string command = "TAVREL_DATA=/nonexistent " + std::string(TAVREL_CONTACTS_TOOL) + " " + arguments + " >'" +
                        out.string() + "' 2>&1";
  int status = std::system(command.c_str());
  if (output) {
    std::ifstream in(out);
    output->assign(std::istreambuf_iterator<char>(in), {});
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(VCardTest, Tool_ImportListExportAndExitCodes) {
  fs::path folder = driver.DeviceFolder();
  fs::path book = folder / "book.vcf";
  std::ofstream(book, std::ios::binary) << kDesktopBook;
  std::string output;
  EXPECT_EQ(RunTool("import " + book.string(), &output), 0) << output;
  EXPECT_NE(output.find("2 contacts imported, 0 already in the store"), std::string::npos) << output;
  EXPECT_EQ(RunTool("list", &output), 0);
  EXPECT_EQ(output,
            "Dr. Zoltán Kovács\t+36 30 111 2222\t+36 1 333 4444\t+36 62 555 666\t+36 1 333 4445\t+36 20 999"
            "\tzoltan@acme.example\tzoli@home.example\n"
            "王小明\t+86-10-1234-5678\n");
  EXPECT_EQ(RunTool("export " + (folder / "out.vcf").string()), 0);
  EXPECT_TRUE(fs::exists(folder / "out.vcf"));
  EXPECT_EQ(RunTool("import " + (folder / "missing.vcf").string(), &output), 1);
  EXPECT_NE(output.find("missing.vcf: cannot read"), std::string::npos);
  std::ofstream(folder / "bad.vcf") << "BEGIN:VCARD\nN:Only;Begun;;;\n";
  EXPECT_EQ(RunTool("import " + (folder / "bad.vcf").string(), &output), 1);
  EXPECT_NE(output.find("bad.vcf:1: card not ended"), std::string::npos) << output;
  EXPECT_EQ(RunTool("", &output), 2);
  EXPECT_EQ(RunTool("import", &output), 2);
  EXPECT_EQ(RunTool("--frobnicate", &output), 2);
  EXPECT_EQ(RunTool("--help", &output), 0);
  EXPECT_NE(output.find("usage: tavrel-contacts import FILE.vcf"), std::string::npos);
  EXPECT_EQ(RunTool("--version"), 0);
}

TEST_F(VCardTest, Tool_StoreThatIsNoDatabaseGivesAClearMessageAndStaysUntouched) {
  PoomLogoff();
  PoomRelease();
  fs::path store = fs::path(driver.DeviceFolder()) / "pim.sqlite";
  fs::remove(fs::path(driver.DeviceFolder()) / "pim.sqlite-wal");
  fs::remove(fs::path(driver.DeviceFolder()) / "pim.sqlite-shm");
  std::ofstream(store, std::ios::binary | std::ios::trunc) << "not a database at all, just text";
  std::string output;
  EXPECT_EQ(RunTool("list", &output), 1);
  EXPECT_NE(output.find("pim.sqlite: file is not a database"), std::string::npos) << output;
  std::ifstream in(store, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not a database at all, just text");
}
#endif

}  // namespace
