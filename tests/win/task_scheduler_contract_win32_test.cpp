// The Task Scheduler contract against Wine's Task Scheduler, through our own declarations.

#include <windows.h>

#include "platform/win32/system_win32.h"
#include "platform/win32/task_scheduler_win32.h"
#include "platform/win32/wide.h"
#include "tests/contract/task_scheduler_contract.h"
#include "tests/win/test_support.h"

namespace tarnwick::contract {
namespace {

class Win32Environment {
 public:
  ComRuntime& com() { return com_; }
  // Windows counts them; Wine 8 answers E_NOTIMPL.
  bool countsTasks() const { return !test::RunningUnderWine(); }
  // Wine writes "<Exec/>" and "<Triggers/>" for what it was given.
  bool keepsActions() const { return !test::RunningUnderWine(); }
  // Through the scheduler's own registration (ITaskFolder::RegisterTask is not in our
  // declarations): schtasks, which both Windows and Wine carry.
  void Register(const Text& definition) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    file_ = std::wstring(temp) + L"tarnwick-contract-task.xml";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : definition) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    Text message;
    ASSERT_TRUE(win32::Win32FileSystem().WriteWholeFile(win32::FromWide(file_.c_str()), bytes, message));
    ASSERT_EQ(Run(L"schtasks /create /f /tn \\TarnwickContract\\Probe /xml \"" + file_ + L"\""), 0u);
    registered_ = true;
  }
  ~Win32Environment() {
    if (registered_) Run(L"schtasks /delete /f /tn \\TarnwickContract\\Probe");
    if (!file_.empty()) DeleteFileW(file_.c_str());
  }

 private:
  static DWORD Run(std::wstring command) {
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process)) {
      return GetLastError() | 0x80000000u;
    }
    win32::UniqueHandle owner(process.hProcess), thread(process.hThread);
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
  }
  std::wstring file_;
  bool registered_ = false;
  win32::Win32ComRuntime com_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, TaskSchedulerContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
