#include "platform/sim/sim_network.h"

#include <chrono>

namespace tarnwick::sim {

bool SimUiThread::RunSync(const std::function<void()>& work) {
  std::function<void()> task = work;
  std::unique_lock<std::mutex> lock(mutex_);
  queue_.push_back(&task);
  const int ticket = served_ + static_cast<int>(queue_.size());
  changed_.notify_all();
  changed_.wait(lock, [&] { return served_ >= ticket; });
  return true;
}

void SimUiThread::ServeUntil(const std::function<bool()>& done) {
  for (;;) {
    std::function<void()>* task = nullptr;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait_for(lock, std::chrono::milliseconds(5), [&] { return !queue_.empty(); });
      if (queue_.empty()) {
        lock.unlock();
        if (done()) return;
        continue;
      }
      task = queue_.front();
      queue_.pop_front();
    }
    (*task)();
    std::lock_guard<std::mutex> lock(mutex_);
    ++served_;
    ++handovers;
    changed_.notify_all();
  }
}

}  // namespace tarnwick::sim
