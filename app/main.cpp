// Tarnwick.exe. The main window is still a placeholder that lists nothing; it already asks the
// update endpoint at start and shows the offer and the notice bar the answer calls for.

#include <windows.h>

#include "app/build_config.h"
#include "app/update_dialog.h"
#include "app/update_status.h"
#include "core/app_context.h"
#include "core/mor/update.h"
#include "platform/win32/ui_thread_win32.h"
#include "platform/win32/win32_platform.h"

namespace tarnwick::app {
namespace {

constexpr wchar_t kClassName[] = L"TarnwickMainWindow";
constexpr wchar_t kPlaceholderText[] =
    L"The startup list is not part of this build yet. Use tarnwickc list to see the catalogue.";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      InflateRect(&client, -16, -16);
      SetBkMode(dc, TRANSPARENT);
      DrawTextW(dc, kPlaceholderText, -1, &client, DT_WORDBREAK | DT_NOPREFIX);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// What the update answer shows, on this window.
class MainWindowUpdateUi final : public UpdateUi {
 public:
  MainWindowUpdateUi(const Translator& translator, Shell& shell) : translator_(translator), shell_(shell) {}
  void Attach(HWND main, UpdateClient& client) {
    main_ = main;
    client_ = &client;
  }
  bool UpdateDialog(const Text& answer) override {
    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    return ShowUpdateDialog({translator_, *client_, shell_, main_, icon}, answer);
  }
  void ShowUpdateStatus(const Text& url) override {
    app::ShowUpdateStatus(main_, UpdateText(1, translator_.CurrentLanguage), url, shell_);
  }

 private:
  const Translator& translator_;
  Shell& shell_;
  HWND main_ = nullptr;
  UpdateClient* client_ = nullptr;
};

int Run(HINSTANCE instance, int show) {
  win32::Win32Platform platform;
  const Ports ports = platform.ports();
  const Translator translator = Translator::Start(ports.resources, ports.locale);
  win32::Win32UiThread uiThread;

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, L"MAINICON");
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) return 1;

  HWND window = CreateWindowExW(0, kClassName, L"Tarnwick", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                640, 480, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);

  MainWindowUpdateUi updateUi(translator, ports.shell);
  UpdateClient client(ports, uiThread, updateUi, translator);
  updateUi.Attach(window, client);
  client.CheckUpdate(build::kUpdateUrl,
                     [window](bool accepted, const Text&) {
                       // An accepted update replaces this program: close it.
                       if (accepted) DestroyWindow(window);
                     },
                     10);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  uiThread.Shutdown();
  client.RequestStop();
  const int code = static_cast<int>(message.wParam);
  // A request still on the wire may take a minute to time out; nothing is left to save, so
  // the process ends now instead of waiting for it.
  if (!client.Finished()) ExitProcess(static_cast<UINT>(code));
  return code;
}

}  // namespace
}  // namespace tarnwick::app

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) { return tarnwick::app::Run(instance, show); }
