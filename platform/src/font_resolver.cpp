// Face-name resolution for CreateFontIndirect: device face names to installed font files.
//
// The device's faces are not installed on the host; each is replaced by a face of close width
// so that labels still fit their keys. Results are cached per (name, bold, italic) because
// fontconfig matching takes milliseconds. Character-set and pitch hints are not used.
#include "internal/font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <cctype>
#include <map>
#include <tuple>

namespace device::internal {
namespace {

struct Substitute {
  const char* deviceName;  // upper case
  const char* family;
  bool forceBold;
};

constexpr Substitute kSubstitutes[] = {
    {"MS SANS SERIF", "Liberation Sans", false},
    {"ARIAL", "Liberation Sans", false},
    {"ARIAL BOLD", "Liberation Sans", true},
    {"TAHOMA", "DejaVu Sans Condensed", false},
    {"", "Liberation Sans", false},
};

// Face names are ASCII in practice; other characters are kept as UTF-8 for fontconfig.
std::string ToUtf8(const char16_t* name) {
  std::string out;
  for (int i = 0; i < 32 && name && name[i]; ++i) {
    char32_t c = name[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string UpperAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

ResolvedFont Match(const std::string& family, bool bold, bool italic) {
  ResolvedFont result;
  if (!FcInit()) return result;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult status = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &status);
  if (match) {
    FcChar8* file = nullptr;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      result.path = reinterpret_cast<const char*>(file);
    }
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) result.index = index;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    result.needsEmbolden = bold && weight < FC_WEIGHT_DEMIBOLD;
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return result;
}

}  // namespace

ResolvedFont ResolveFont(const char16_t* faceName, bool bold, bool italic) {
  static std::map<std::tuple<std::string, bool, bool>, ResolvedFont> cache;
  const std::string name = ToUtf8(faceName);
  const auto key = std::make_tuple(UpperAscii(name), bold, italic);
  if (auto it = cache.find(key); it != cache.end()) return it->second;

  std::string family = name;
  for (const Substitute& s : kSubstitutes) {
    if (std::get<0>(key) == s.deviceName) {
      family = s.family;
      bold = bold || s.forceBold;
      break;
    }
  }
  ResolvedFont result = Match(family, bold, italic);
  cache.emplace(key, result);
  return result;
}

}  // namespace device::internal
