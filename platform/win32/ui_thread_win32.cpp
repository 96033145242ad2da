#include "platform/win32/ui_thread_win32.h"

#include <atomic>
#include <memory>

#include "platform/win32/unique_handle.h"

namespace tarnwick::win32 {
namespace {

constexpr UINT kRunMessage = WM_APP + 0x54;  // "T"
constexpr wchar_t kClassName[] = L"TarnwickUiThread";

// Shared by the waiting worker and the window: whoever is last frees it.
struct Job {
  std::function<void()> work;
  UniqueHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> abandoned{false};
};

}  // namespace

Win32UiThread::Win32UiThread() : threadId_(GetCurrentThreadId()) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly when registered already
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
  closing_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

void Win32UiThread::Shutdown() { SetEvent(closing_); }

Win32UiThread::~Win32UiThread() {
  SetEvent(closing_);
  if (window_) DestroyWindow(window_);
  // Jobs still queued are freed with the queue; their workers were released by closing_.
  CloseHandle(closing_);
}

LRESULT CALLBACK Win32UiThread::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunMessage) {
    auto* holder = reinterpret_cast<std::shared_ptr<Job>*>(lParam);
    const std::shared_ptr<Job> job = std::move(*holder);
    delete holder;
    if (!job->abandoned) {
      job->work();
      SetEvent(job->done.get());
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool Win32UiThread::RunSync(const std::function<void()>& work) {
  if (GetCurrentThreadId() == threadId_) {
    work();
    return true;
  }
  if (!window_ || WaitForSingleObject(closing_, 0) == WAIT_OBJECT_0) return false;
  auto job = std::make_shared<Job>();
  job->work = work;
  auto* message = new std::shared_ptr<Job>(job);
  if (!PostMessageW(window_, kRunMessage, 0, reinterpret_cast<LPARAM>(message))) {
    delete message;
    return false;
  }
  const HANDLE waits[] = {job->done.get(), closing_};
  const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
  if (woke != WAIT_OBJECT_0) {
    job->abandoned = true;
    return false;
  }
  return true;
}

void Win32UiThread::ServeUntil(const std::function<bool()>& done) {
  while (!done()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

}  // namespace tarnwick::win32
