// The component library as far as the programs use it: BSTRs (SysAllocString,
// SysAllocStringLen, SysFreeString, SysStringLen), CoInitializeEx, CoUninitialize,
// CLSIDFromProgID, CoCreateInstance, and the registration of the device's one built-in class,
// the personal-information store.
//
// Classes are found the Win32 way: a programmatic identifier names a class id through
// HKEY_CLASSES_ROOT\<progid>\CLSID; the class id must be one the device builds in. Not
// implemented: apartments, marshalling, out-of-process servers, class factories, IDispatch.
#include <device/pim.h>
#include <device/registry.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

namespace device::internal {
IUnknown* CreatePimApplication();  // pim_objects.cpp
}

namespace {

std::atomic<int> initialised{0};

// A BSTR is preceded by its length in bytes, as on the device.
struct BstrHeader {
  std::uint32_t bytes;
};

std::u16string FormatGuid(const GUID& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2,
                guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return std::u16string(text, text + std::strlen(text));
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}", nothing else.
bool ParseGuid(std::u16string_view text, GUID* guid) {
  constexpr std::u16string_view kShape = u"{........-....-....-....-............}";
  if (text.size() != kShape.size()) return false;
  std::uint8_t bytes[16];
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (kShape[i] != u'.') {
      if (text[i] != kShape[i]) return false;
      continue;
    }
    int high = HexDigit(text[i]);
    int low = HexDigit(text[++i]);
    if (high < 0 || low < 0) return false;
    bytes[count++] = static_cast<std::uint8_t>(high * 16 + low);
  }
  guid->Data1 = (DWORD{bytes[0]} << 24) | (DWORD{bytes[1]} << 16) | (DWORD{bytes[2]} << 8) | bytes[3];
  guid->Data2 = static_cast<WORD>((bytes[4] << 8) | bytes[5]);
  guid->Data3 = static_cast<WORD>((bytes[6] << 8) | bytes[7]);
  std::memcpy(guid->Data4, bytes + 8, 8);
  return true;
}

}  // namespace

BSTR SysAllocStringLen(LPCWSTR text, UINT length) {
  if (length > (0x7FFFFFFFu - sizeof(BstrHeader)) / 2 - 1) return nullptr;
  auto* block = static_cast<char*>(std::malloc(sizeof(BstrHeader) + (std::size_t{length} + 1) * 2));
  if (!block) return nullptr;
  reinterpret_cast<BstrHeader*>(block)->bytes = length * 2;
  auto* chars = reinterpret_cast<WCHAR*>(block + sizeof(BstrHeader));
  if (text) std::memcpy(chars, text, std::size_t{length} * 2);
  else std::memset(chars, 0, std::size_t{length} * 2);
  chars[length] = 0;
  return chars;
}

BSTR SysAllocString(LPCWSTR text) {
  if (!text) return nullptr;
  UINT length = 0;
  while (text[length]) ++length;
  return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
  if (text) std::free(reinterpret_cast<char*>(text) - sizeof(BstrHeader));
}

UINT SysStringLen(BSTR text) {
  return text ? reinterpret_cast<const BstrHeader*>(reinterpret_cast<const char*>(text) - sizeof(BstrHeader))->bytes / 2
              : 0;
}

HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit) {
  if (reserved || coInit != COINIT_MULTITHREADED) return E_INVALIDARG;
  ++initialised;
  return S_OK;
}

void CoUninitialize() {
  if (initialised > 0) --initialised;
}

HRESULT CLSIDFromProgID(LPCWSTR progId, CLSID* clsid) {
  if (!clsid) return E_INVALIDARG;
  *clsid = CLSID{};
  if (!progId) return CO_E_CLASSSTRING;
  std::u16string path = std::u16string(progId) + u"\\CLSID";
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return CO_E_CLASSSTRING;
  WCHAR text[64] = {};
  DWORD type = 0;
  DWORD size = sizeof text - sizeof(WCHAR);  // the last character stays the terminator
  LONG result = RegQueryValueEx(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(text), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return CO_E_CLASSSTRING;
  return ParseGuid(std::u16string_view(text), clsid) ? S_OK : CO_E_CLASSSTRING;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return E_INVALIDARG;
  if (!(context & CLSCTX_INPROC_SERVER) || !(clsid == CLSID_Application)) return REGDB_E_CLASSNOTREG;
  IUnknown* created = device::internal::CreatePimApplication();
  HRESULT result = created->QueryInterface(iid, object);
  created->Release();
  return result;
}

namespace device {

bool RegisterPimStore() {
  std::u16string path = std::u16string(kPocketOutlookProgId) + u"\\CLSID";
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    RegCloseKey(key);
    return true;
  }
  DWORD disposition = 0;
  if (RegCreateKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition) !=
      ERROR_SUCCESS)
    return false;
  std::u16string clsid = FormatGuid(CLSID_Application);
  LONG result = RegSetValueEx(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid.c_str()),
                              static_cast<DWORD>((clsid.size() + 1) * sizeof(WCHAR)));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

}  // namespace device
