#include "platform/win32/locale_win32.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace tarnwick::win32 {

bool Win32Locale::UserIso639Name(Text& name) {
  const LCID locale = GetUserDefaultLCID();
  const int size = GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, nullptr, 0);
  if (size < 1) return false;
  std::wstring buffer(size, L'\0');
  const int read = GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, buffer.data(), size);
  if (read < 1) return false;
  name = FromWide(buffer.c_str());
  return true;
}

int Win32Locale::CompareIgnoreCase(TextView a, TextView b) {
  const std::wstring x = Wide(a), y = Wide(b);
  const int result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x.data(),
                                    static_cast<int>(x.size()), y.data(), static_cast<int>(y.size()));
  // Should the locale refuse, fall back to an ordinal comparison rather than call them equal.
  if (result == 0) return x < y ? -1 : (x == y ? 0 : 1);
  return result - CSTR_EQUAL;
}

Text Win32Locale::Upper(TextView text) {
  std::wstring wide = Wide(text);
  if (!wide.empty()) CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return FromWide(wide.data(), wide.size());
}

bool Win32Resources::ReadRcData(TextView name, Bytes& data) {
  const std::wstring wide = Wide(name);
  HRSRC found = FindResourceW(nullptr, wide.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return false;
  HGLOBAL loaded = LoadResource(nullptr, found);  // module memory: nothing to free
  const DWORD size = SizeofResource(nullptr, found);
  const auto* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  if (!bytes && size != 0) return false;
  data.assign(bytes, bytes + size);
  return true;
}

}  // namespace tarnwick::win32
