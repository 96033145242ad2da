#pragma once
// Verifies files off the user-interface thread, one after another, so that the list is never
// kept waiting for a hash; each answer lands in the signature cache and is announced.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "core/details/signature_cache.h"

namespace tarnwick {

class SignatureWorker {
 public:
  // `announce` runs on the worker's thread after each answer; it must not block (the window
  // posts itself a message).
  SignatureWorker(SignatureCache& cache, std::function<void()> announce);
  // Stops after the file in hand and waits for the thread.
  ~SignatureWorker();
  SignatureWorker(const SignatureWorker&) = delete;
  SignatureWorker& operator=(const SignatureWorker&) = delete;

  // These files are verified next, in this order, in place of any still waiting.
  void Verify(std::vector<Text> paths);
  // Nothing waits and nothing is in hand.
  bool Idle();

 private:
  void Run();

  SignatureCache& cache_;
  std::function<void()> announce_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Text> waiting_;
  bool busy_ = false;
  bool stop_ = false;
  std::thread thread_;  // last: starts once everything above exists
};

}  // namespace tarnwick
