// snapshot.exe WINDOW OUT.bmp [SECONDS] [ACTION] [CAPTURE]: waits for a top-level window
// (WINDOW is its title, or "class:NAME"), optionally acts on it, and writes what the screen
// shows of it, or of the window CAPTURE (same forms) that the action opened, as a 32-bit BMP.
// ACTION: "ID" clicks the child control ID; "command:ID" posts the command ID to the window;
// "menu:ID" focuses the first row of the list ID and asks it for its pop-up menu; "-" nothing.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

HWND WaitForWindow(const std::wstring& name, int seconds) {
  const bool byClass = name.rfind(L"class:", 0) == 0;
  HWND window = nullptr;
  for (int i = 0; i < seconds * 10 && !window; ++i) {
    window = byClass ? FindWindowW(name.c_str() + 6, nullptr) : FindWindowW(nullptr, name.c_str());
    if (!window) Sleep(100);
  }
  return window;
}

void Act(HWND window, const std::wstring& action) {
  if (action == L"-") return;
  if (action.rfind(L"command:", 0) == 0) {
    PostMessageW(window, WM_COMMAND, _wtoi(action.c_str() + 8), 0);
  } else if (action.rfind(L"menu:", 0) == 0) {
    if (HWND list = GetDlgItem(window, _wtoi(action.c_str() + 5))) {
      SetForegroundWindow(window);
      SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
      SendMessageW(list, WM_KEYUP, VK_HOME, 0xC0000001);
      PostMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    }
  } else if (HWND control = GetDlgItem(window, _wtoi(action.c_str()))) {
    SendMessageW(control, BM_CLICK, 0, 0);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const int seconds = argc > 3 ? _wtoi(argv[3]) : 30;
  HWND window = WaitForWindow(argv[1], seconds);
  if (!window) return 1;
  if (argc > 4) {
    Sleep(1000);
    Act(window, argv[4]);
  }
  if (argc > 5) {
    window = WaitForWindow(argv[5], seconds);
    if (!window) return 1;
  }
  if (argc <= 4 || std::wstring(argv[4]).rfind(L"menu:", 0) != 0) SetForegroundWindow(window);  // a menu would close
  Sleep(1500);  // let it finish painting
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  // What the screen shows there: another process's window cannot be asked to print itself here.
  BitBlt(dc, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  FILE* out = _wfopen(argv[2], L"wb");
  if (!out) return 1;
  const DWORD size = width * height * 4;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + size;
  fwrite(&file, sizeof(file), 1, out);
  fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out);
  fwrite(bits, size, 1, out);
  fclose(out);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return 0;
}
