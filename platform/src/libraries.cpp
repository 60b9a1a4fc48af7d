// Library loading: LoadLibrary and FreeLibrary.
//
// The device's libraries are part of the platform, so loading one only checks its name: the
// built-in names succeed (with ".dll" added when the name has no extension, as Win32 does, and
// any folder ignored), every other name fails. GetProcAddress is not implemented; the programs
// load the rich-ink library only so that its window class exists, which the platform provides.
#include <device/kernel.h>

#include "internal/host_program.h"
#include "internal/kernel_objects.h"
#include "internal/wide_text.h"

#include <string_view>

using namespace device::internal;

namespace {

struct BuiltInLibrary {
  std::u16string_view name;
  std::uintptr_t handle;  // a fixed, recognisable module handle
};

constexpr BuiltInLibrary kLibraries[] = {
    {u"richink.dll", 0x7E500000},
};

}  // namespace

namespace device::internal {

std::u16string_view BuiltInLibraryName(HMODULE module) {
  for (const BuiltInLibrary& library : kLibraries) {
    if (reinterpret_cast<std::uintptr_t>(module) == library.handle) return library.name;
  }
  return {};
}

}  // namespace device::internal

HMODULE LoadLibrary(LPCWSTR fileName) {
  std::u16string_view name(fileName ? fileName : u"");
  if (std::size_t slash = name.find_last_of(u"\\/"); slash != std::u16string_view::npos) name.remove_prefix(slash + 1);
  std::u16string withExtension(name);
  if (name.find(u'.') == std::u16string_view::npos) withExtension += u".dll";
  for (const BuiltInLibrary& library : kLibraries) {
    if (EqualsIgnoreCase(withExtension, library.name)) return reinterpret_cast<HMODULE>(library.handle);
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
  return BuiltInLibraryName(module).empty() ? Fail(ERROR_INVALID_HANDLE) : TRUE;
}
