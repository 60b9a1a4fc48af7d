// The details lines of a contact and their page layout.
#include "contacts/contact_details_lines.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace {

enum class Join { kSingle, kBlank, kLineFeed, kDate };

// One details line: its label, how its fields are joined, and up to four field ids.
struct DetailsLineRow {
  const WCHAR* label;
  Join join;
  int fields[4];
  int fieldCount;
};

constexpr DetailsLineRow kDetailsLineTable[] = {
    // label              join            fields                                                                  n
    {u"Name:",           Join::kBlank,    {kSuffixId, kFirstNameId, kMiddleNameId, kLastNameId},                 4},
    {u"Job title:",      Join::kSingle,   {kJobTitleId},                                                         1},
    {u"Department:",     Join::kSingle,   {kDepartmentId},                                                       1},
    {u"Company:",        Join::kSingle,   {kCompanyNameId},                                                      1},
    {u"Work tel:",       Join::kSingle,   {kBusinessTelephoneNumberId},                                          1},
    {u"Work fax:",       Join::kSingle,   {kBusinessFaxNumberId},                                                1},
    {u"Work addr:",      Join::kLineFeed, {kBusinessAddressCityId, kBusinessAddressCountryId,
                                           kBusinessAddressPostalCodeId, kBusinessAddressStreetId},              4},
    {u"E-mail:",         Join::kSingle,   {kEmail1AddressId},                                                    1},
    {u"Mobile tel:",     Join::kSingle,   {kMobileTelephoneNumberId},                                            1},
    {u"Web page:",       Join::kSingle,   {kWebPageId},                                                          1},
    {u"Office loc:",     Join::kSingle,   {kOfficeLocationId},                                                   1},
    {u"Home tel:",       Join::kSingle,   {kHomeTelephoneNumberId},                                              1},
    {u"Home addr:",      Join::kLineFeed, {kHomeAddressCityId, kHomeAddressCountryId, kHomeAddressPostalCodeId,
                                           kHomeAddressStreetId},                                                4},
    {u"Categories:",     Join::kSingle,   {kCategoriesId},                                                       1},
    {u"Other addr:",     Join::kLineFeed, {kOtherAddressCityId, kOtherAddressCountryId, kOtherAddressPostalCodeId,
                                           kOtherAddressStreetId},                                               4},
    {u"Pager:",          Join::kSingle,   {kPagerNumberId},                                                      1},
    {u"Car tel:",        Join::kSingle,   {kCarTelephoneNumberId},                                               1},
    {u"Home fax:",       Join::kSingle,   {kHomeFaxNumberId},                                                    1},
    {u"Work2 tel:",      Join::kSingle,   {kBusiness2TelephoneNumberId},                                         1},
    {u"Home2 tel:",      Join::kSingle,   {kHome2TelephoneNumberId},                                             1},
    {u"Radio tel:",      Join::kSingle,   {kRadioTelephoneNumberId},                                             1},
    {u"E-mail2:",        Join::kSingle,   {kEmail2AddressId},                                                    1},
    {u"E-mail3:",        Join::kSingle,   {kEmail3AddressId},                                                    1},
    {u"Assistant:",      Join::kSingle,   {kAssistantNameId},                                                    1},
    {u"Assistant tel:",  Join::kSingle,   {kAssistantTelephoneNumberId},                                         1},
    {u"Birthday:",       Join::kDate,     {kBirthdayId},                                                         1},
    {u"Anniversary:",    Join::kDate,     {kAnniversaryId},                                                      1},
    {u"Spouse:",         Join::kSingle,   {kSpouseId},                                                           1},
    {u"Children:",       Join::kSingle,   {kChildrenId},                                                         1},
};

// "day/month/year" of an OLE date, or empty for no date.
std::u16string DateText(DATE date) {
  SYSTEMTIME time{};
  if (IsNoDate(date) || !VariantTimeToSystemTime(date, &time)) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d/%d", time.wDay, time.wMonth, time.wYear);
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

std::u16string LineValue(const ContactRecord& record, const DetailsLineRow& row) {
  if (row.join == Join::kDate) return DateText(ContactDate(record, row.fields[0]));
  std::u16string value;
  for (int i = 0; i < row.fieldCount; ++i) {
    const WCHAR* part = ContactString(record, row.fields[i]);
    if (part == nullptr) continue;
    if (!value.empty()) value += row.join == Join::kBlank ? u' ' : u'\n';
    value += part;
  }
  return value;
}

int LineFeeds(const std::u16string& text) { return static_cast<int>(std::count(text.begin(), text.end(), u'\n')); }

}  // namespace

std::vector<DetailsLine> ContactDetailsLines(const ContactRecord& record) {
  std::vector<DetailsLine> lines;
  for (const DetailsLineRow& row : kDetailsLineTable) {
    std::u16string value = LineValue(record, row);
    if (!value.empty()) lines.push_back({row.label, std::move(value)});
  }
  return lines;
}

std::vector<DetailsLinePlace> LayOutDetailsLines(const std::vector<DetailsLine>& lines, int* lastPage) {
  std::vector<DetailsLinePlace> places;
  int bottom = kDetailsFirstTop;  // of the previous line, in window coordinates over all pages
  for (const DetailsLine& line : lines) {
    const int extra = kDetailsValueLineHeight * LineFeeds(line.value);
    int labelTop = bottom;
    int valueTop = labelTop + kDetailsLabelHeight + kDetailsValueGap;
    int page = (labelTop + kDetailsValueGap) / kDetailsPageHeight;
    if ((valueTop + kDetailsValueLineHeight + extra) / kDetailsPageHeight > page) {
      // A line that would cross a page boundary starts the next page, its value right under
      // the label band.
      page = (valueTop + kDetailsValueLineHeight + extra) / kDetailsPageHeight;
      labelTop = page * kDetailsPageHeight + kDetailsFirstTop;
      valueTop = labelTop + kDetailsLabelHeight;
    }
    const int valueBottom = valueTop + kDetailsValueLineHeight + extra;
    const int origin = page * kDetailsPageHeight;
    places.push_back({page, labelTop - origin, valueTop - origin, valueBottom - origin});
    bottom = valueBottom;
  }
  if (lastPage != nullptr) *lastPage = places.empty() ? 0 : bottom / kDetailsPageHeight;
  return places;
}
