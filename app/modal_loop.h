#pragma once
// The loop of the program's own modal windows.

#include <windows.h>

namespace tarnwick::app {

// Shows `window` with `owner` disabled and serves messages (dialog keys included) until `done`
// turns true; a quit request is handed back to the program's own loop. The owner is enabled
// and active again afterwards.
inline void RunModalLoop(HWND window, HWND owner, HWND focus, const bool& done) {
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(focus);
  MSG message;
  while (!done) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
}

}  // namespace tarnwick::app
