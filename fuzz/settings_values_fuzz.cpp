// The registry values the program reads at start: NumOfLangs, UsedLangs, FxTexts and the
// contact field selection, each with any type and bytes (as another program, an old version or
// a damaged registry could leave them). Loading must give a block within its bounds.
#include "contacts/contact_fields.h"
#include "settings/registry_settings.h"
#include "settings/settings_store.h"

#include "fuzz_device.h"
#include "fuzz_input.h"

#include <device/registry.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr DWORD kTypes[] = {REG_NONE, REG_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ};

void Store(HKEY key, const WCHAR* name, FuzzInput& input) {
  const std::uint8_t choice = input.Byte();
  const std::vector<std::uint8_t> bytes = input.Chunk();
  if (choice == 0xFF) {
    RegDeleteValue(key, name);
    return;
  }
  RegSetValueEx(key, name, 0, kTypes[choice % std::size(kTypes)], bytes.data(), static_cast<DWORD>(bytes.size()));
}

HKEY OptionsKey() {
  static HKEY key = [] {
    FuzzDevice();
    HKEY opened = nullptr;
    RegCreateKeyEx(HKEY_LOCAL_MACHINE, kOptionsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr);
    return opened;
  }();
  return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  HKEY key = OptionsKey();
  if (!key) std::abort();
  FuzzInput input(data, size);
  const int languageCount = input.Byte() % 12;
  for (const WCHAR* name : {u"NumOfLangs", u"UsedLangs", u"FxTexts", u"CurrentLang", u"directory"}) Store(key, name, input);
  Store(key, u"contactdata", input);  // the contact field selection
  static SettingsBlock settings;
  LoadSettings(settings, languageCount);
  if (settings.NumOfLangs() > 10 || settings.PredefinedTextCount < 1 || settings.PredefinedTextCount > kMaxPredefinedTexts)
    std::abort();
  for (std::int32_t language : settings.UsedLangs)
    if (language < 0 || language >= languageCount) std::abort();
  for (const auto& text : settings.PredefinedTexts)
    if (std::char_traits<char16_t>::length(text) >= kPredefinedTextRoom) std::abort();
  if (std::char_traits<char16_t>::length(settings.directory) >= kDirectoryRoom) std::abort();
  FieldEntryList selection;
  LoadFieldSelection(selection);
  return 0;
}
