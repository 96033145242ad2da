#include "launcher/win32_launcher_system.h"

#include <windows.h>
#include <wininet.h>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"

namespace tarnwick::launcher {
namespace {

constexpr DWORD kTimeoutMs = 60000;  // each of connecting, sending, receiving
constexpr ULONGLONG kAttemptLimitMs = 120000;

struct InternetTraits {
  using Pointer = HINTERNET;
  static void Close(HINTERNET h) noexcept { InternetCloseHandle(h); }
};
using UniqueInternet = win32::UniqueAny<InternetTraits>;

class WinInetSession final : public InternetSession {
 public:
  explicit WinInetSession(HINTERNET session) : session_(session) {}
  bool Get(TextView url, TextView headerBlock, size_t limit, std::string& body) override {
    const std::wstring headers = win32::Wide(headerBlock);
    UniqueInternet request(InternetOpenUrlW(session_.get(), win32::Wide(url).c_str(), headers.c_str(),
                                            static_cast<DWORD>(headers.size()),
                                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE, 0));
    if (!request) return false;
    // A server that drips its answer resets each time-out with every byte: the attempt as a
    // whole ends after kAttemptLimitMs (plus at most one receive time-out).
    const ULONGLONG started = GetTickCount64();
    char buffer[1025];
    while (GetTickCount64() - started < kAttemptLimitMs) {
      DWORD read = 0;
      InternetReadFile(request.get(), buffer, sizeof buffer, &read);
      if (read == 0) break;
      body.append(buffer, std::min<size_t>(read, limit - body.size()));
      if (body.size() >= limit) break;
    }
    return true;  // the request handle closes before the session, by declaration order
  }

 private:
  UniqueInternet session_;
};

}  // namespace

bool Win32LauncherSystem::CreateSingleInstanceMutex(TextView name) {
  // Deliberately never closed: the mutex marks this process until it ends.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, win32::Wide(name).c_str());
  return !(mutex && GetLastError() == ERROR_ALREADY_EXISTS);
}

Text Win32LauncherSystem::ModulePath() { return win32::Win32SystemInfo().ProgramPath(); }

Text Win32LauncherSystem::CommandLine() { return win32::FromWide(GetCommandLineW()); }

uint32_t Win32LauncherSystem::UserDefaultLcid() { return GetUserDefaultLCID(); }

int Win32LauncherSystem::ShowMessage(TextView text, TextView title, uint32_t style) {
  return MessageBoxW(nullptr, win32::Wide(text).c_str(), win32::Wide(title).c_str(), style);
}

std::unique_ptr<InternetSession> Win32LauncherSystem::OpenInternet(TextView userAgent) {
  const std::string agent = ToUtf8(userAgent);  // ASCII
  HINTERNET session = InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (!session) return nullptr;
  // Without them a silent server would keep the launcher, and its mutex, alive for good.
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    DWORD timeout = kTimeoutMs;
    InternetSetOptionW(session, option, &timeout, sizeof(timeout));
  }
  return std::make_unique<WinInetSession>(session);
}

char16_t Win32LauncherSystem::AnsiToWide(uint8_t byte) {
  const char in = static_cast<char>(byte);
  wchar_t out = L'?';
  MultiByteToWideChar(CP_ACP, 0, &in, 1, &out, 1);
  return static_cast<char16_t>(out);
}

}  // namespace tarnwick::launcher
