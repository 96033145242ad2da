#pragma once

#include <windows.h>

#include "ports/ui_thread.h"

namespace tarnwick::win32 {

// Hand-overs through a message-only window of the thread that creates this object.
class Win32UiThread final : public UiThread {
 public:
  Win32UiThread();
  // Refuses further hand-overs and releases any worker waiting in one.
  ~Win32UiThread() override;
  Win32UiThread(const Win32UiThread&) = delete;
  Win32UiThread& operator=(const Win32UiThread&) = delete;

  // From now on hand-overs are refused and waiting workers released.
  void Shutdown();

  bool RunSync(const std::function<void()>& work) override;
  void ServeUntil(const std::function<bool()>& done) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  DWORD threadId_;
  HWND window_ = nullptr;
  HANDLE closing_ = nullptr;
};

}  // namespace tarnwick::win32
