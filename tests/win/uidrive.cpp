// uidrive.exe COMMAND: drives the running Tarnwick window from outside, for the end-to-end
// tier. "rows" prints the number of rows, "notice" exits 0 when the notice bar is there,
// "toggle-first" selects the first row with the keyboard and clicks the button.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kListId = 200, kButtonId = 201, kStatusBarId = 0x5342;

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
  if (command == L"toggle-first") {
    PostMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    PostMessageW(list, WM_KEYUP, VK_HOME, 0xC0000001);
    Sleep(500);
    SendMessageW(GetDlgItem(main, kButtonId), BM_CLICK, 0, 0);
    return 0;
  }
  return 2;
}
