// The contact store's speed goals: loading 5,000 contacts into the ContactList (<= 100 ms), a
// name search over them per keystroke (<= 1 ms), importing 5,000 vCards (<= 2 s).
#include "contacts/contact_exchange.h"

#include <device/files.h>

#include <benchmark/benchmark.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kContacts = 5000;

const char16_t* const kFirstNames[] = {u"Anna", u"Béla", u"Chen", u"Dóra", u"Erik", u"Fanni", u"Gábor", u"Hugo"};
const char16_t* const kLastNames[] = {u"Kovács", u"Smith", u"Müller", u"Wang", u"Nagy", u"García", u"Tóth", u"Lee"};

// A fresh device image whose store holds nothing; the interface connected to it.
class BenchImage {
 public:
  BenchImage() {
    char pattern[] = "/tmp/contacts-bench-XXXXXX";
    folder_ = ::mkdtemp(pattern);
    ::setenv("TAVREL_DEVICE", folder_.c_str(), 1);
    ::setenv("TAVREL_DATA", (folder_ / "no-data").c_str(), 1);
    device::EnsureDeviceImage();
    PoomConnect();
    std::vector<ContactRecord> none;
    PoomLoadContacts(none);
  }
  ~BenchImage() {
    PoomLogoff();
    PoomRelease();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

 private:
  fs::path folder_;
};

std::string Cards(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    ContactRecord record;
    std::u16string number = u"+36 30 " + std::u16string(1, u'0' + i % 10) + std::u16string(1, u'0' + i / 10 % 10) +
                            u" " + std::u16string(1, u'0' + i / 100 % 10) + std::u16string(1, u'0' + i / 1000 % 10);
    SetContactString(record, kFirstNameId, kFirstNames[i % 8]);
    SetContactString(record, kLastNameId, std::u16string(kLastNames[i / 8 % 8]) + std::u16string(1, u'a' + i % 26));
    SetContactString(record, kFileAsId, std::u16string(kLastNames[i / 8 % 8]) + u", " + kFirstNames[i % 8]);
    SetContactString(record, kMobileTelephoneNumberId, number);
    SetContactString(record, kEmail1AddressId, u"person" + std::u16string(1, u'a' + i % 26) + u"@example.org");
    SetContactString(record, kHomeAddressCityId, u"Szeged");
    text += FormatVCard(record, u"bench-" + std::u16string(1, u'a' + i % 26) + number, {});
  }
  return text;
}

void BM_LoadContactList(benchmark::State& state) {
  BenchImage image;
  ImportVCardText(Cards(kContacts));
  for (auto _ : state) {
    std::vector<ContactRecord> records;
    PoomLoadContacts(records);
    std::sort(records.begin(), records.end(),
              [](const ContactRecord& a, const ContactRecord& b) { return CompareContacts(a, b) < 0; });
    benchmark::DoNotOptimize(records.data());
    if (records.size() != kContacts) state.SkipWithError("wrong count");
  }
}
BENCHMARK(BM_LoadContactList)->Unit(benchmark::kMillisecond);

// The list window's search: each contact whose folded FileAs holds the folded search text at
// the start of the text or after a blank or comma.
int CountMatches(const std::vector<ContactRecord>& records, std::u16string_view search) {
  std::u16string folded;
  for (char16_t c : search) folded += static_cast<char16_t>(u_tolower(c));
  int matches = 0;
  std::u16string name;
  for (const ContactRecord& record : records) {
    LPCWSTR fileAs = ContactString(record, kFileAsId);
    if (!fileAs) continue;
    name.clear();
    for (const WCHAR* p = fileAs; *p; ++p) name += static_cast<char16_t>(u_tolower(*p));
    std::size_t at = name.find(folded);
    if (at != std::u16string::npos && (at == 0 || name[at - 1] == u' ' || name[at - 1] == u',')) ++matches;
  }
  return matches;
}

void BM_NameSearchPerKeystroke(benchmark::State& state) {
  BenchImage image;
  ImportVCardText(Cards(kContacts));
  std::vector<ContactRecord> records;
  PoomLoadContacts(records);
  const std::u16string typed = u"müllerq";
  std::size_t keystroke = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(CountMatches(records, std::u16string_view(typed).substr(0, 1 + keystroke % typed.size())));
    ++keystroke;
  }
}
BENCHMARK(BM_NameSearchPerKeystroke)->Unit(benchmark::kMicrosecond);

void BM_Import5000VCards(benchmark::State& state) {
  const std::string cards = Cards(kContacts);
  for (auto _ : state) {
    state.PauseTiming();
    {
      BenchImage image;
      state.ResumeTiming();
      ImportSummary summary = ImportVCardText(cards);
      state.PauseTiming();
      if (summary.imported != kContacts) state.SkipWithError("not every card imported");
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Import5000VCards)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
