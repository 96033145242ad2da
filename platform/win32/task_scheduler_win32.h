#pragma once

#include "ports/task_scheduler.h"

namespace tarnwick::win32 {

// COM on the calling thread and the real Task Scheduler objects.
class Win32ComRuntime final : public ComRuntime {
 public:
  HResult CoInitializeEx() override;
  HResult CoInitializeSecurity() override;
  HResult CreateTaskService(std::unique_ptr<ScheduledTaskService>& service) override;
  void CoUninitialize() override;
};

}  // namespace tarnwick::win32
