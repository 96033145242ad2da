#pragma once
// Port: handing work over to the user-interface thread.

#include <functional>

namespace tarnwick {

class UiThread {
 public:
  virtual ~UiThread() = default;
  // From a worker: runs `work` on the user-interface thread and returns once it has run.
  // Returns false without running it when the user-interface thread is shutting down.
  virtual bool RunSync(const std::function<void()>& work) = 0;
  // On the user-interface thread: serves hand-overs until `done` turns true.
  virtual void ServeUntil(const std::function<bool()>& done) = 0;
};

}  // namespace tarnwick
