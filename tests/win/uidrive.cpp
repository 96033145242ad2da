// uidrive.exe COMMAND: drives the running Tarnwick window from outside, for the end-to-end
// tier and the bench. "rows" prints the number of rows, "notice" exits 0 when the notice bar
// is there, "toggle-first" selects the first row with the keyboard and clicks the button,
// "first-rows [SECONDS]" waits for the first filled list and prints the milliseconds since the
// process was created and the Unix time in milliseconds (exit 1 when none came within
// SECONDS, default 8), "dialog" exits 0 when the update
// dialog is open, "hold-no" ticks the dialog's check box and answers No.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kListId = 200, kButtonId = 201, kStatusBarId = 0x5342;

ULONGLONG Now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// Milliseconds since the process that owns `window` was created.
long long MsSinceStart(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return -1;
  FILETIME created, exited, kernel, user;
  const BOOL ok = GetProcessTimes(process, &created, &exited, &kernel, &user);
  CloseHandle(process);
  if (!ok) return -1;
  const ULONGLONG start = (ULONGLONG(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  return static_cast<long long>((Now() - start) / 10000);
}

int WaitForFirstRows(HWND main, int seconds) {
  for (int i = 0; i < seconds * 200; ++i) {
    // Asked anew each time: the window exists a moment before its list does.
    HWND list = GetDlgItem(main, kListId);
    if (list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0) {
      // Also the wall clock in Unix milliseconds, for a caller that timed the start itself.
      std::printf("%lld %llu\n", MsSinceStart(main), (Now() - 116444736000000000ULL) / 10000);
      return 0;
    }
    Sleep(5);
  }
  return 1;
}

// The check box and the No button of the update dialog.
HWND CheckBoxOf(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, L"Button") == 0 && (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
      return child;
    }
  }
  return nullptr;
}

int HoldAndSayNo() {
  // The dialog exists before its controls: wait until it is shown, with its check box.
  for (int i = 0; i < 300; ++i) {
    HWND dialog = FindWindowW(L"TarnwickUpdateDialog", nullptr);
    HWND box = dialog && IsWindowVisible(dialog) ? CheckBoxOf(dialog) : nullptr;
    if (box) {
      SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
      PostMessageW(dialog, WM_COMMAND, IDNO, 0);
      return 0;
    }
    Sleep(100);
  }
  return 1;
}

HWND MainWindow() {
  for (int i = 0; i < 300; ++i) {
    if (HWND window = FindWindowW(L"TarnwickMainWindow", nullptr)) return window;
    Sleep(100);
  }
  return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  HWND main = MainWindow();
  if (!main) return 3;
  HWND list = GetDlgItem(main, kListId);
  if (command == L"rows") {
    std::printf("%d\n", static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    return 0;
  }
  if (command == L"notice") return GetDlgItem(main, kStatusBarId) ? 0 : 1;
  if (command == L"first-rows") return WaitForFirstRows(main, argc > 2 ? _wtoi(argv[2]) : 8);
  if (command == L"dialog") return FindWindowW(L"TarnwickUpdateDialog", nullptr) ? 0 : 1;
  if (command == L"hold-no") return HoldAndSayNo();
  if (command == L"toggle-first") {
    PostMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    PostMessageW(list, WM_KEYUP, VK_HOME, 0xC0000001);
    Sleep(500);
    SendMessageW(GetDlgItem(main, kButtonId), BM_CLICK, 0, 0);
    return 0;
  }
  return 2;
}
