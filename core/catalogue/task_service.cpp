#include "core/catalogue/task_service.h"

#include <cstdio>

#include "core/error.h"

namespace tarnwick {

std::unique_ptr<ScheduledTaskService> TaskService;
bool TaskComInitialized = false;

namespace {

void UndoComInitialization(ComRuntime& com) {
  if (TaskComInitialized) {
    com.CoUninitialize();
    TaskComInitialized = false;
  }
}

}  // namespace

void OpenTaskService(ComRuntime& com) {
  if (TaskService) return;

  const HResult init = com.CoInitializeEx();
  // S_FALSE adds a reference to the thread's existing initialisation, which must be given
  // back like any other; only a thread in another apartment (RPC_E_CHANGED_MODE) got none.
  if (init == hresult::kOk || init == hresult::kFalse) {
    TaskComInitialized = true;
  } else if (init == hresult::kChangedMode) {
    TaskComInitialized = false;
  } else {
    return;
  }

  const HResult security = com.CoInitializeSecurity();
  if (!Succeeded(security) && security != hresult::kTooLate) {
    UndoComInitialization(com);
    return;
  }

  std::unique_ptr<ScheduledTaskService> service;
  if (!Succeeded(com.CreateTaskService(service)) || !service) {
    UndoComInitialization(com);
    return;
  }
  if (!Succeeded(service->Connect())) {
    service.reset();
    UndoComInitialization(com);
    return;
  }
  TaskService = std::move(service);
}

void CloseTaskService(ComRuntime& com) {
  if (!TaskService) {
    // A connection that failed has already undone its initialisation.
    return;
  }
  TaskService.reset();
  UndoComInitialization(com);
}

void CheckTaskCall(HResult result, const char* call) {
  if (Succeeded(result)) return;
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(result));
  throw TarnwickError(u"Task Scheduler: " + FromUtf8(call) + u" failed with " + FromUtf8(code));
}

}  // namespace tarnwick
