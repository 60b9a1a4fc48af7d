// Turns a LOGFONT face name into an installed font file, through fontconfig.
#pragma once

#include <string>

namespace device::internal {

struct ResolvedFont {
  std::string path;       // empty when fontconfig found nothing at all
  int index = 0;          // face index inside the file
  bool needsEmbolden = false;  // bold was asked for but the file has no bold face
};

// `faceName` is zero-terminated UTF-16 (at most 32 units are read). Device face names map to
// installed faces of close width: "MS SANS SERIF", "ARIAL" and "ARIAL BOLD" to Liberation Sans,
// "TAHOMA" to DejaVu Sans Condensed; any other name goes to fontconfig's best match.
ResolvedFont ResolveFont(const char16_t* faceName, bool bold, bool italic);

}  // namespace device::internal
