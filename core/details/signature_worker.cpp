#include "core/details/signature_worker.h"

namespace tarnwick {

SignatureWorker::SignatureWorker(SignatureCache& cache, std::function<void()> announce)
    : cache_(cache), announce_(std::move(announce)), thread_([this] { Run(); }) {}

SignatureWorker::~SignatureWorker() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    waiting_.clear();
  }
  wake_.notify_all();
  thread_.join();
}

void SignatureWorker::Verify(std::vector<Text> paths) {
  {
    std::lock_guard lock(mutex_);
    waiting_.assign(std::make_move_iterator(paths.begin()), std::make_move_iterator(paths.end()));
  }
  wake_.notify_all();
}

bool SignatureWorker::Idle() {
  std::lock_guard lock(mutex_);
  return waiting_.empty() && !busy_;
}

void SignatureWorker::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || !waiting_.empty(); });
    if (stop_) return;
    const Text path = std::move(waiting_.front());
    waiting_.pop_front();
    busy_ = true;
    lock.unlock();
    (void)cache_.Verify(path);
    announce_();
    lock.lock();
    busy_ = false;
  }
}

}  // namespace tarnwick
