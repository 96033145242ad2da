#include "platform/win32/native_path.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace tarnwick::win32 {
namespace {

bool IsWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::wstring WindowsFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return {};
  std::wstring text(folder, length);
  if (!text.empty() && text.back() == L'\\') text.pop_back();
  return text;
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
  return text.size() >= prefix.size() &&
         CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                              static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::wstring NativeFilePath(TextView path) {
  static const bool wow64 = IsWow64();
  std::wstring wide = Wide(path);
  if (!wow64) return wide;
  static const std::wstring windows = WindowsFolder();
  if (windows.empty()) return wide;
  static const std::wstring system32 = windows + L"\\System32\\";
  if (!StartsWithNoCase(wide, system32)) return wide;
  return windows + L"\\Sysnative\\" + wide.substr(system32.size());
}

}  // namespace tarnwick::win32
