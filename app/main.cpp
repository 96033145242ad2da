// Tarnwick.exe: one copy per logon session; the main window with the startup list.

#include <windows.h>
#include <objbase.h>
#include <commctrl.h>

#include "app/build_config.h"
#include "app/main_window.h"
#include "core/app_context.h"
#include "platform/win32/ui_thread_win32.h"
#include "platform/win32/win32_platform.h"

namespace tarnwick::app {
namespace {

int Run(int show) {
  win32::Win32Platform platform;
  const AppContext app = AppContext::Start(platform.ports());
  Translator translator = Translator::Start(app.ports.resources, app.ports.locale);
  win32::Win32UiThread uiThread;

  TFrmTarnwick window({app, translator, uiThread, build::kUpdateUrl, build::kLookupUrl, build::kLogoUrl});
  if (!window.Create(show)) return 1;

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(window.Window(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  uiThread.Shutdown();
  const int code = static_cast<int>(message.wParam);
  // A request still on the wire (the update check or a "hold") may take a minute to time
  // out; nothing is left to save, so the process, and its mutex, end now.
  if (window.Updates().Busy()) ExitProcess(static_cast<UINT>(code));
  return code;
}

}  // namespace
}  // namespace tarnwick::app

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  // Created, not opened first: of two copies starting together exactly one sees it new.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, L"TarnwickMutex");
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) return 0;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  return tarnwick::app::Run(show);
}
