#include "platform/win32/system_win32.h"

#include <windows.h>
#include <shlobj.h>
#include <sddl.h>

#include <memory>
#include <string>

#include "platform/win32/native_path.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace tarnwick::win32 {

bool Win32ShellFolders::FolderPath(int csidl, Text& out) {
  wchar_t path[MAX_PATH + 1] = {};
  if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return false;
  out = FromWide(path);
  return true;
}

uint16_t Win32SystemInfo::NativeProcessorArchitecture() {
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture;
}

namespace {

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

struct LocalFreeDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};

// RtlGetVersion reports the true version whatever the caller's manifest says, so a
// program without one never mistakes Windows 10 for 8 and deletes entries.
OSVERSIONINFOW TrueVersion() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    if (rtlGetVersion && rtlGetVersion(&info) == 0) return info;
  }
  info.dwMajorVersion = 10;
  info.dwMinorVersion = 0;
  return info;
}

}  // namespace

uint32_t Win32SystemInfo::MajorVersion() { return TrueVersion().dwMajorVersion; }

uint32_t Win32SystemInfo::MinorVersion() { return TrueVersion().dwMinorVersion; }

Text Win32SystemInfo::ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return FromWide(path.data(), length);
    path.resize(path.size() * 2);
  }
}

Text Win32SystemInfo::UserSid() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
  UniqueHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return {};
  std::string buffer(size, '\0');
  if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return {};
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return {};
  const std::unique_ptr<wchar_t, LocalFreeDeleter> owner(text);
  return FromWide(text);
}

LocalTime Win32Clock::LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

uint32_t Win32Clock::TickCount() { return GetTickCount(); }

uint64_t Win32Clock::UtcNowFileTime() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  FILETIME stamp{};
  if (!SystemTimeToFileTime(&now, &stamp)) return 0;
  return (static_cast<uint64_t>(stamp.dwHighDateTime) << 32) | stamp.dwLowDateTime;
}

namespace {

// One listing of a folder: its files or its subfolders.
ListResult ListFolder(TextView folder, bool folders, std::vector<Text>& names) {
  names.clear();
  const std::wstring pattern = NativeFilePath(folder) + L"\\*";
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
  if (!find) {
    const DWORD error = GetLastError();
    if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) {
      return {ListStatus::NotFound, SystemMessage(error)};
    }
    return {ListStatus::Failed, SystemMessage(error)};
  }
  do {
    const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder != folders) continue;
    if (isFolder && (lstrcmpW(data.cFileName, L".") == 0 || lstrcmpW(data.cFileName, L"..") == 0)) continue;
    names.push_back(FromWide(data.cFileName));
  } while (FindNextFileW(find.get(), &data));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) return {ListStatus::Failed, SystemMessage(error)};
  return {};
}

}  // namespace

ListResult Win32FileSystem::ListFiles(TextView folder, std::vector<Text>& names) {
  return ListFolder(folder, false, names);
}

ListResult Win32FileSystem::ListSubfolders(TextView folder, std::vector<Text>& names) {
  return ListFolder(folder, true, names);
}

bool Win32FileSystem::FileExists(TextView path) {
  const std::wstring wide = NativeFilePath(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  // A link: what it points to must exist and be a file.
  UniqueHandle target(CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  return target && GetFileInformationByHandle(target.get(), &info) &&
         !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::Stamp(TextView path, FileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(NativeFilePath(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  stamp = {Join(data.nFileSizeHigh, data.nFileSizeLow),
           Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
  return true;
}

bool Win32FileSystem::ReadWholeFile(TextView path, size_t limit, std::string& bytes, Text& message) {
  // Others may be writing it (Windows' own measurement files): share everything.
  UniqueHandle file(CreateFileW(NativeFilePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    message = SystemMessage(GetLastError());
    return false;
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) {
    message = SystemMessage(GetLastError());
    return false;
  }
  if (static_cast<uint64_t>(size.QuadPart) > limit) {
    message = u"The file is larger than " + FromUtf8(std::to_string(limit)) + u" bytes.";
    return false;
  }
  std::string content(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < content.size()) {
    DWORD read = 0;
    if (!ReadFile(file.get(), content.data() + done, static_cast<DWORD>(content.size() - done), &read, nullptr)) {
      message = SystemMessage(GetLastError());
      return false;
    }
    if (read == 0) break;  // shortened meanwhile
    done += read;
  }
  content.resize(done);
  bytes = std::move(content);
  return true;
}

bool Win32FileSystem::RemoveFile(TextView path, Text& message) {
  if (DeleteFileW(Wide(path).c_str())) return true;
  message = SystemMessage(GetLastError());
  return false;
}

bool Win32FileSystem::WriteWholeFile(TextView path, const std::string& bytes, Text& message) {
  const std::wstring target = Wide(path);
  const size_t slash = target.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash);
  // Our own temporary name rather than GetTempFileNameW, whose errors (a missing folder reads
  // "directory name invalid", a full disk "file exists") say nothing true about the save.
  static unsigned attempt = 0;
  std::wstring temp;
  UniqueHandle file;
  DWORD error = ERROR_SUCCESS;
  for (int tries = 0; tries < 16 && !file; ++tries) {
    temp = folder + L"\\~twk" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++attempt) +
           L".tmp";
    file.reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    error = file ? ERROR_SUCCESS : GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  if (!file) {
    message = SystemMessage(error) + u" (" + FromWide(folder.c_str()) + u")";
    return false;
  }
  DWORD done = 0;
  bool written = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) != FALSE;
  if (!written) {
    message = SystemMessage(GetLastError());
  } else if (done != bytes.size()) {
    written = false;
    message = SystemMessage(ERROR_DISK_FULL);
  } else if (!FlushFileBuffers(file.get())) {
    written = false;
    message = SystemMessage(GetLastError());
  }
  file.reset();
  if (written && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    message = SystemMessage(GetLastError());
    written = false;
  }
  if (!written) DeleteFileW(temp.c_str());
  return written;
}

Text SystemMessage(unsigned long error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  Text message = length ? FromWide(buffer, length) : Text();
  if (buffer) LocalFree(buffer);
  while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' || message.back() == u' ')) {
    message.pop_back();
  }
  if (message.empty()) message = u"error " + FromUtf8(std::to_string(error));
  return message;
}

}  // namespace tarnwick::win32
