#include "platform/win32/shortcuts_win32.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "platform/win32/com_ptr.h"
#include "platform/win32/wide.h"

namespace tarnwick::win32 {
namespace {

// A target stored with environment forms ("%ProgramFiles%\...") as the running user sees it.
std::wstring Expanded(const wchar_t* text) {
  const DWORD size = ExpandEnvironmentStringsW(text, nullptr, 0);
  if (size == 0) return text;
  std::wstring out(size, L'\0');
  if (ExpandEnvironmentStringsW(text, out.data(), size) == 0) return text;
  out.resize(wcslen(out.c_str()));
  return out;
}

}  // namespace

bool Win32ShortcutReader::Read(TextView linkPath, ShortcutTarget& target) {
  const ScopedCoInitialize com(COINIT_APARTMENTTHREADED);
  if (!com.usable()) return false;
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.put())))) {
    return false;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())))) return false;
  if (FAILED(file->Load(Wide(linkPath).c_str(), STGM_READ))) return false;

  // SLGP_RAWPATH keeps environment forms, which we expand ourselves: without it the shell
  // may hand out a path it resolved for a different user or architecture.
  wchar_t path[MAX_PATH * 2] = {};
  if (link->GetPath(path, static_cast<int>(std::size(path)), nullptr, SLGP_RAWPATH) != S_OK || path[0] == L'\0') {
    return false;  // S_FALSE: the link has no file-system target
  }
  wchar_t arguments[INFOTIPSIZE + 1] = {};
  if (FAILED(link->GetArguments(arguments, static_cast<int>(std::size(arguments))))) arguments[0] = L'\0';
  target.path = FromWide(Expanded(path).c_str());
  target.arguments = FromWide(arguments);
  return true;
}

}  // namespace tarnwick::win32
