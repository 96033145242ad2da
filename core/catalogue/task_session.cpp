#include "core/catalogue/task_session.h"

namespace tarnwick {

TaskSession::TaskSession(ComRuntime& com) : com_(com) {
  const HResult init = com_.CoInitializeEx();
  // S_FALSE adds a reference to the thread's existing initialisation, which must be given
  // back like any other; only a thread in another apartment (RPC_E_CHANGED_MODE) got none.
  if (init == hresult::kOk || init == hresult::kFalse) {
    comInitialized_ = true;
  } else if (init != hresult::kChangedMode) {
    return;
  }

  const HResult security = com_.CoInitializeSecurity();
  if (!Succeeded(security) && security != hresult::kTooLate) {
    UndoComInitialization();
    return;
  }
  std::unique_ptr<ScheduledTaskService> service;
  if (!Succeeded(com_.CreateTaskService(service)) || !service || !Succeeded(service->Connect())) {
    service.reset();
    UndoComInitialization();
    return;
  }
  service_ = std::move(service);
}

TaskSession::~TaskSession() {
  service_.reset();
  UndoComInitialization();
}

void TaskSession::UndoComInitialization() {
  if (!comInitialized_) return;
  com_.CoUninitialize();
  comInitialized_ = false;
}

}  // namespace tarnwick
