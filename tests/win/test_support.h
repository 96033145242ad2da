#pragma once
// What several Windows test binaries' tests need: files beside the test program, whether it
// runs under Wine, and a service of the test's own.

#include <windows.h>

#include <string>

#include "core/text/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace tarnwick::test {

// A file in the folder of the running test program (the build's bin folder).
inline Text BesideThisProgram(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring path(self, length);
  return win32::FromWide((path.substr(0, path.find_last_of(L'\\') + 1) + name).c_str());
}

// Wine's ntdll exports its version; Windows' does not.
inline bool RunningUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// A Win32 service in its own process, set to start on demand, for one test: created (after
// removing one left by a run that died) and deleted on every path out.
class ScratchService {
 public:
  ScratchService(const wchar_t* name, const wchar_t* displayName, const wchar_t* binaryPath) {
    manager_.reset(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager_) return;
    if (win32::UniqueScHandle old{OpenServiceW(manager_.get(), name, DELETE)}) DeleteService(old.get());
    service_.reset(CreateServiceW(manager_.get(), name, displayName, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                  SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, binaryPath, nullptr, nullptr, nullptr,
                                  nullptr, nullptr));
  }
  ~ScratchService() {
    if (service_) DeleteService(service_.get());
  }
  ScratchService(const ScratchService&) = delete;
  ScratchService& operator=(const ScratchService&) = delete;
  explicit operator bool() const { return static_cast<bool>(service_); }

 private:
  win32::UniqueScHandle manager_;
  win32::UniqueScHandle service_;
};

}  // namespace tarnwick::test
