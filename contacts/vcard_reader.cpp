// Reading vCard files into contact records: lines, unfolding, content lines, values, and the
// properties' places in the record.
#include "contacts/vcard.h"

#include "contacts/vcard_text.h"

#include <algorithm>
#include <array>
#include <optional>

using vcard_text::AsciiLower;
using vcard_text::EqualsNoCase;

namespace {

constexpr std::size_t kMaxProblems = 1000;  // further problems are counted in one last line

// A logical line: one content line after unfolding, with the number of its first physical line.
struct Line {
  int number;
  std::string text;
};

// One content line taken apart.
struct Property {
  std::string name;                 // lower case, group removed
  std::vector<std::string> types;   // lower case, from TYPE= and 2.1 bare parameters
  std::string encoding;             // lower case
  std::string charset;              // lower case
  std::string valueKind;            // VALUE= parameter, lower case
  std::string value;                // raw bytes after the colon
};

// Where each phone type goes, in order of preference, and the fields an untyped phone takes.
constexpr int kUntypedPhoneFields[] = {kHomeTelephoneNumberId,  kBusinessTelephoneNumberId, kMobileTelephoneNumberId,
                                       kHome2TelephoneNumberId, kBusiness2TelephoneNumberId, kRadioTelephoneNumberId,
                                       kCarTelephoneNumberId};
constexpr int kEmailFields[] = {kEmail1AddressId, kEmail2AddressId, kEmail3AddressId};

// The five address fields of home, business and other addresses: street, city, state, code, country.
constexpr int kHomeAddress = kHomeAddressStreetId;
constexpr int kBusinessAddress = kBusinessAddressStreetId;
constexpr int kOtherAddress = kOtherAddressStreetId;

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  VCardFile Run() {
    bool sawCard = false;
    while (std::optional<Line> line = NextLogicalLine()) {
      if (line->text.empty()) continue;
      std::optional<Property> property = Split(line->text);
      if (!property) {
        Problem(line->number, "not a vCard line (no ':')");
        continue;
      }
      if (property->name == "begin" && EqualsNoCase(Trimmed(property->value), "vcard")) {
        if (card_) Problem(card_->line, "card not ended before the next BEGIN");
        card_.emplace();
        card_->line = line->number;
        sawCard = true;
        continue;
      }
      if (property->name == "end" && EqualsNoCase(Trimmed(property->value), "vcard")) {
        FinishCard(line->number);
        continue;
      }
      if (!card_) {
        Problem(line->number, "outside a card");
        continue;
      }
      Apply(*property, line->number);
    }
    if (card_) Problem(card_->line, "card not ended (the file ends first)");
    if (!sawCard && file_.problems.empty()) Problem(1, "no vCard in the file");
    if (extraProblems_ > 0)
      file_.problems.push_back({lastLine_, "and " + std::to_string(extraProblems_) + " more problems"});
    return std::move(file_);
  }

 private:
  // ---- Lines ------------------------------------------------------------------------------------
  // The next physical line without its end, or none at the end of the text.
  std::optional<std::string_view> NextPhysicalLine() {
    if (pos_ >= text_.size()) return std::nullopt;
    std::size_t end = text_.find_first_of("\r\n", pos_);
    std::string_view line = text_.substr(pos_, end == std::string_view::npos ? std::string_view::npos : end - pos_);
    pos_ = end == std::string_view::npos ? text_.size() : end + 1;
    if (end != std::string_view::npos && text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    ++physical_;
    return line;
  }

  std::optional<std::string_view> PeekPhysicalLine() {
    std::size_t savedPos = pos_;
    int savedLine = physical_;
    std::optional<std::string_view> line = NextPhysicalLine();
    pos_ = savedPos;
    physical_ = savedLine;
    return line;
  }

  static bool IsQuotedPrintable(std::string_view line) {
    std::size_t colon = line.find(':');
    std::string head = AsciiLower(line.substr(0, colon));
    return head.find("quoted-printable") != std::string::npos;
  }

  std::optional<Line> NextLogicalLine() {
    std::optional<std::string_view> first = NextPhysicalLine();
    if (!first) return std::nullopt;
    Line line{physical_, std::string(*first)};
    lastLine_ = physical_;
    bool quotedPrintable = IsQuotedPrintable(line.text);
    for (;;) {
      std::optional<std::string_view> next = PeekPhysicalLine();
      if (!next) break;
      bool folded = !next->empty() && ((*next)[0] == ' ' || (*next)[0] == '\t');
      bool softBreak = quotedPrintable && !line.text.empty() && line.text.back() == '=';
      if (!folded && !softBreak) break;
      NextPhysicalLine();
      if (softBreak) {
        line.text.pop_back();
        line.text.append(*next);
      } else {
        line.text.append(next->substr(1));
      }
    }
    if (line.text.find('\0') != std::string::npos) {
      Problem(line.number, "binary data");
      line.text.clear();
    }
    return line;
  }

  // ---- Content lines ------------------------------------------------------------------------------
  static std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
  }

  // Splits at `separator` outside double quotes.
  static std::vector<std::string_view> SplitOutsideQuotes(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '"') quoted = !quoted;
      if (text[i] == separator && !quoted) {
        parts.push_back(text.substr(start, i - start));
        start = i + 1;
      }
    }
    parts.push_back(text.substr(start));
    return parts;
  }

  // A type list: a,b or "a,b" (vCard 4.0 quotes lists).
  static void AddTypes(std::string_view list, std::vector<std::string>& types) {
    list = Trimmed(list);
    if (list.size() >= 2 && list.front() == '"' && list.back() == '"') list = list.substr(1, list.size() - 2);
    for (std::string_view type : SplitOutsideQuotes(list, ',')) {
      type = Trimmed(type);
      if (!type.empty()) types.push_back(AsciiLower(type));
    }
  }

  static std::optional<Property> Split(std::string_view line) {
    bool quoted = false;
    std::size_t colon = std::string_view::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '"') quoted = !quoted;
      if (line[i] == ':' && !quoted) {
        colon = i;
        break;
      }
    }
    if (colon == std::string_view::npos) return std::nullopt;
    Property property;
    property.value = std::string(line.substr(colon + 1));
    std::vector<std::string_view> head = SplitOutsideQuotes(line.substr(0, colon), ';');
    std::string_view name = Trimmed(head[0]);
    if (std::size_t dot = name.rfind('.'); dot != std::string_view::npos) name.remove_prefix(dot + 1);
    property.name = AsciiLower(name);
    for (std::size_t i = 1; i < head.size(); ++i) {
      std::string_view parameter = Trimmed(head[i]);
      std::size_t equals = parameter.find('=');
      if (equals == std::string_view::npos) {  // vCard 2.1: a bare type or encoding
        std::string bare = AsciiLower(parameter);
        if (bare == "quoted-printable" || bare == "base64" || bare == "b") property.encoding = bare;
        else AddTypes(parameter, property.types);
        continue;
      }
      std::string key = AsciiLower(Trimmed(parameter.substr(0, equals)));
      std::string_view value = Trimmed(parameter.substr(equals + 1));
      if (key == "type") AddTypes(value, property.types);
      else if (key == "encoding") property.encoding = AsciiLower(value);
      else if (key == "charset") property.charset = AsciiLower(value);
      else if (key == "value") property.valueKind = AsciiLower(value);
    }
    return property;
  }

  // ---- Values --------------------------------------------------------------------------------------
  static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  }

  static std::string DecodeQuotedPrintable(std::string_view value) {
    std::string bytes;
    for (std::size_t i = 0; i < value.size(); ++i) {
      if (value[i] == '=' && i + 2 < value.size()) {
        int high = HexValue(value[i + 1]), low = HexValue(value[i + 2]);
        if (high >= 0 && low >= 0) {
          bytes += static_cast<char>(high * 16 + low);
          i += 2;
          continue;
        }
      }
      bytes += value[i];
    }
    return bytes;
  }

  // The value's bytes as UTF-16: quoted-printable undone, the charset applied.
  static std::u16string Decode(const Property& property) {
    std::string bytes = property.encoding == "quoted-printable" ? DecodeQuotedPrintable(property.value) : property.value;
    bool eightBit = property.charset == "iso-8859-1" || property.charset == "windows-1252" || property.charset == "latin1";
    std::u16string text;
    if (eightBit || !vcard_text::DecodeUtf8(bytes, text)) text = vcard_text::DecodeWindows1252(bytes);
    return text;
  }

  // Splits at unescaped `separator` and undoes the escapes of each part.
  static std::vector<std::u16string> Components(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
      char16_t c = text[i];
      if (c == u'\\' && i + 1 < text.size()) {
        char16_t next = text[++i];
        if (next == u'n' || next == u'N') parts.back() += u"\r\n";
        else parts.back() += next;
      } else if (c == separator) {
        parts.emplace_back();
      } else {
        parts.back() += c;
      }
    }
    return parts;
  }

  static std::u16string Unescaped(std::u16string_view text) { return Components(text, 0)[0]; }

  // Components at unescaped ';', each a list of items at unescaped ','.
  static std::vector<std::vector<std::u16string>> ComponentLists(std::u16string_view text) {
    std::vector<std::vector<std::u16string>> parts(1, std::vector<std::u16string>(1));
    for (std::size_t i = 0; i < text.size(); ++i) {
      char16_t c = text[i];
      if (c == u'\\' && i + 1 < text.size()) {
        char16_t next = text[++i];
        parts.back().back() += next == u'n' || next == u'N' ? std::u16string(u"\r\n") : std::u16string(1, next);
      } else if (c == u';') {
        parts.emplace_back(1);
      } else if (c == u',') {
        parts.back().emplace_back();
      } else {
        parts.back().back() += c;
      }
    }
    return parts;
  }

  static std::u16string Joined(const std::vector<std::u16string>& items, std::u16string_view glue) {
    std::u16string joined;
    for (const std::u16string& item : items) {
      if (item.empty()) continue;
      if (!joined.empty()) joined += glue;
      joined += item;
    }
    return joined;
  }

  // The value cut to kVCardMaxValue code units, with a report when it was longer.
  std::u16string Bounded(std::u16string text, int line) {
    if (text.size() > kVCardMaxValue) {
      Problem(line, "value longer than " + std::to_string(kVCardMaxValue) + " characters, cut");
      text.resize(kVCardMaxValue);
    }
    return text;
  }

  void Set(int id, std::u16string text, int line) {
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.pop_back();
    if (!text.empty()) SetContactString(card_->record, id, Bounded(std::move(text), line));
  }

  bool Free(int id) const { return ContactString(card_->record, id) == nullptr; }

  bool HasType(const Property& property, std::string_view type) const {
    return std::find(property.types.begin(), property.types.end(), type) != property.types.end();
  }

  // ---- Properties -----------------------------------------------------------------------------------
  void Apply(const Property& property, int line) {
    const std::string& name = property.name;
    if (property.encoding == "b" || property.encoding == "base64") return;  // photos, sounds, keys
    std::u16string value = Decode(property);
    if (name == "n") return ApplyName(value, line);
    if (name == "fn") return Set(kFileAsId, Unescaped(value), line);
    if (name == "org") return ApplyOrganisation(value, line);
    if (name == "title") return Set(kJobTitleId, Unescaped(value), line);
    if (name == "tel") return ApplyPhone(property, value, line);
    if (name == "email") return ApplyEmail(value, line);
    if (name == "adr") return ApplyAddress(property, value, line);
    if (name == "bday") return ApplyDate(kBirthdayId, property, value, line);
    if (name == "anniversary" || name == "x-anniversary" || name == "x-ms-anniversary" ||
        name == "x-evolution-anniversary")
      return ApplyDate(kAnniversaryId, property, value, line);
    if (name == "categories") return ApplyCategories(value, line);
    if (name == "url") return ApplyOnce(kWebPageId, value, line);
    if (name == "note") return ApplyNote(value, line);
    if (name == "uid") {
      card_->uid = Bounded(Unescaped(value), line);
      return;
    }
    if (name == "version") return ApplyVersion(value, line);
    if (name == "x-spouse" || name == "x-ms-spouse" || name == "x-evolution-spouse" ||
        name == "x-kaddressbook-x-spousesname")
      return Set(kSpouseId, Unescaped(value), line);
    if (name == "x-assistant" || name == "x-evolution-assistant" || name == "x-ms-assistant" ||
        name == "x-kaddressbook-x-assistantsname")
      return Set(kAssistantNameId, Unescaped(value), line);
    if (name == "x-children" || name == "x-ms-children") return Set(kChildrenId, Unescaped(value), line);
    if (name == "x-office" || name == "x-ms-office" || name == "x-kaddressbook-x-office")
      return Set(kOfficeLocationId, Unescaped(value), line);
    if (name == "x-phonetic-first-name") return Set(kYomiFirstNameId, Unescaped(value), line);
    if (name == "x-phonetic-last-name") return Set(kYomiLastNameId, Unescaped(value), line);
    if (name == "x-phonetic-org") return Set(kYomiCompanyNameId, Unescaped(value), line);
  }

  void ApplyName(std::u16string_view value, int line) {
    std::vector<std::vector<std::u16string>> parts = ComponentLists(value);
    parts.resize(5);
    // A component may be a list (several middle names); its items are joined by blanks.
    constexpr int kFields[5] = {kLastNameId, kFirstNameId, kMiddleNameId, kTitleId, kSuffixId};
    for (std::size_t i = 0; i < 5; ++i) Set(kFields[i], Joined(parts[i], u" "), line);
  }

  void ApplyOrganisation(std::u16string_view value, int line) {
    std::vector<std::u16string> parts = Components(value, u';');
    Set(kCompanyNameId, parts[0], line);
    if (parts.size() > 1) Set(kDepartmentId, parts[1], line);
  }

  static std::u16string WithoutTelScheme(std::u16string text) {
    if (text.size() >= 4 && (text[0] == u't' || text[0] == u'T') && (text[1] == u'e' || text[1] == u'E') &&
        (text[2] == u'l' || text[2] == u'L') && text[3] == u':')
      text.erase(0, 4);
    return text;
  }

  // The field a phone of these types wants first.
  int PreferredPhoneField(const Property& property) const {
    bool home = HasType(property, "home");
    bool work = HasType(property, "work");
    if (HasType(property, "fax")) return home && !work ? kHomeFaxNumberId : kBusinessFaxNumberId;
    if (HasType(property, "pager")) return kPagerNumberId;
    if (HasType(property, "cell") || HasType(property, "mobile")) return kMobileTelephoneNumberId;
    if (HasType(property, "car")) return kCarTelephoneNumberId;
    if (HasType(property, "x-assistant") || HasType(property, "assistant")) return kAssistantTelephoneNumberId;
    if (HasType(property, "x-radio") || HasType(property, "radio")) return kRadioTelephoneNumberId;
    if (work) return Free(kBusinessTelephoneNumberId) ? kBusinessTelephoneNumberId : kBusiness2TelephoneNumberId;
    if (home) return Free(kHomeTelephoneNumberId) ? kHomeTelephoneNumberId : kHome2TelephoneNumberId;
    return -1;
  }

  void ApplyPhone(const Property& property, std::u16string_view value, int line) {
    std::u16string number = WithoutTelScheme(Unescaped(value));
    if (number.empty()) return;
    int field = PreferredPhoneField(property);
    if (field < 0 || !Free(field)) {
      field = -1;
      for (int candidate : kUntypedPhoneFields) {
        if (Free(candidate)) {
          field = candidate;
          break;
        }
      }
    }
    if (field < 0) return Problem(line, "no free phone field for this number");
    Set(field, std::move(number), line);
  }

  void ApplyEmail(std::u16string_view value, int line) {
    std::u16string address = Unescaped(value);
    if (address.size() >= 7 && EqualsNoCase(ToUtf8(address.substr(0, 7)), "mailto:")) address.erase(0, 7);
    if (address.empty()) return;
    for (int field : kEmailFields) {
      if (Free(field)) return Set(field, std::move(address), line);
    }
    Problem(line, "more than three e-mail addresses");
  }

  void ApplyAddress(const Property& property, std::u16string_view value, int line) {
    int first = HasType(property, "home") ? kHomeAddress : HasType(property, "work") ? kBusinessAddress : kOtherAddress;
    auto used = [&](int base) {
      for (int i = 0; i < 5; ++i) {
        if (!Free(base + i)) return true;
      }
      return false;
    };
    if (used(first)) first = used(kOtherAddress) ? -1 : kOtherAddress;
    if (first < 0) return Problem(line, "no free address for this one");
    std::vector<std::vector<std::u16string>> parts = ComponentLists(value);
    parts.resize(7);
    // Post office box, extended address and street make the street, in that order.
    std::vector<std::u16string> street;
    for (std::size_t i = 0; i < 3; ++i) street.insert(street.end(), parts[i].begin(), parts[i].end());
    Set(first, Joined(street, u", "), line);
    for (int i = 0; i < 4; ++i) Set(first + 1 + i, Joined(parts[static_cast<std::size_t>(3 + i)], u", "), line);
  }

  // 19701224, 1970-12-24, either followed by a time; --1224 has no year and cannot be stored.
  void ApplyDate(int id, const Property& property, std::u16string_view value, int line) {
    std::string text = ToUtf8(Unescaped(value));
    std::string_view date = Trimmed(text);
    date = date.substr(0, std::min(date.find('T'), date.find('t')));
    std::string digits;
    for (char c : date) {
      if (c >= '0' && c <= '9') digits += c;
      else if (c != '-') return Problem(line, "not a date");
    }
    if (date.starts_with("--")) return Problem(line, "a date without a year");
    if (digits.size() != 8) return Problem(line, "not a date");
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(std::stoi(digits.substr(0, 4)));
    time.wMonth = static_cast<WORD>(std::stoi(digits.substr(4, 2)));
    time.wDay = static_cast<WORD>(std::stoi(digits.substr(6, 2)));
    DATE oleDate = 0;
    if (!SystemTimeToVariantTime(&time, &oleDate)) return Problem(line, "not a date");
    SetContactDate(card_->record, id, oleDate);
  }

  void ApplyCategories(std::u16string_view value, int line) {
    std::u16string joined;
    LPCWSTR existing = ContactString(card_->record, kCategoriesId);
    if (existing) joined = existing;
    for (std::u16string& item : Components(value, u',')) {
      std::u16string_view trimmed = item;
      while (!trimmed.empty() && trimmed.front() == u' ') trimmed.remove_prefix(1);
      if (trimmed.empty()) continue;
      if (!joined.empty()) joined += u", ";
      joined += trimmed;
    }
    Set(kCategoriesId, std::move(joined), line);
  }

  void ApplyOnce(int id, std::u16string_view value, int line) {
    if (Free(id)) Set(id, Unescaped(value), line);
  }

  void ApplyNote(std::u16string_view value, int line) {
    std::u16string note = Unescaped(value);
    if (!card_->note.empty() && !note.empty()) note = card_->note + u"\r\n" + note;
    card_->note = Bounded(std::move(note), line);
  }

  void ApplyVersion(std::u16string_view value, int line) {
    std::string version = ToUtf8(value);
    std::string_view trimmed = Trimmed(version);
    if (trimmed != "2.1" && trimmed != "3.0" && trimmed != "4.0")
      Problem(line, "unknown vCard version " + std::string(trimmed.substr(0, 20)) + ", read as 3.0");
  }

  // ---- Cards ------------------------------------------------------------------------------------------
  void FinishCard(int line) {
    if (!card_) return Problem(line, "END without BEGIN");
    ContactRecord& record = card_->record;
    if (!ContactString(record, kFileAsId)) {
      std::u16string last = ContactString(record, kLastNameId) ? ContactString(record, kLastNameId) : u"";
      std::u16string first = ContactString(record, kFirstNameId) ? ContactString(record, kFirstNameId) : u"";
      std::u16string fileAs = !last.empty() && !first.empty() ? last + u", " + first : last + first;
      if (fileAs.empty() && ContactString(record, kCompanyNameId)) fileAs = ContactString(record, kCompanyNameId);
      SetContactString(record, kFileAsId, fileAs);
    }
    bool named = ContactString(record, kFileAsId) != nullptr;
    bool reachable = false;
    for (int id : kUntypedPhoneFields) reachable |= !Free(id);
    for (int id : kEmailFields) reachable |= !Free(id);
    if (!named && !reachable) {
      Problem(card_->line, "card without a name, phone or e-mail");
    } else {
      file_.cards.push_back(std::move(*card_));
    }
    card_.reset();
  }

  void Problem(int line, std::string message) {
    if (file_.problems.size() >= kMaxProblems) {
      ++extraProblems_;
      return;
    }
    file_.problems.push_back({line, std::move(message)});
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int physical_ = 0;
  int lastLine_ = 1;
  std::optional<VCardCard> card_;
  VCardFile file_;
  std::size_t extraProblems_ = 0;
};

}  // namespace

VCardFile ParseVCards(std::string_view text) {
  // A byte-order mark is no part of the first line.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  return Reader(text).Run();
}
