// vCard files for import: any bytes give cards and problems, never a crash; every card can be
// written back out.
#include "contacts/vcard.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const VCardFile file = ParseVCards(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const VCardCard& card : file.cards) (void)FormatVCard(card.record, card.uid, card.note);
  return 0;
}
