// snapshot.exe WINDOW OUT.bmp [SECONDS] [CLICK-ID]: waits for a top-level window (WINDOW is
// its title, or "class:NAME"), optionally clicks its child control CLICK-ID, and writes what
// the screen shows of it as a 32-bit BMP.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const int seconds = argc > 3 ? _wtoi(argv[3]) : 30;
  const std::wstring name = argv[1];
  const bool byClass = name.rfind(L"class:", 0) == 0;
  HWND window = nullptr;
  for (int i = 0; i < seconds * 10 && !window; ++i) {
    window = byClass ? FindWindowW(name.c_str() + 6, nullptr) : FindWindowW(nullptr, name.c_str());
    if (!window) Sleep(100);
  }
  if (!window) return 1;
  if (argc > 4) {
    Sleep(1000);
    if (HWND control = GetDlgItem(window, _wtoi(argv[4]))) SendMessageW(control, BM_CLICK, 0, 0);
  }
  SetForegroundWindow(window);
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
