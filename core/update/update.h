#pragma once
// The update client: the client identity, the request with its retries on a worker thread,
// and the handling of the answer on the user-interface thread.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/i18n/translate.h"
#include "core/web/web_address.h"
#include "ports/ports.h"
#include "ports/ui_thread.h"

namespace tarnwick {

inline constexpr TextView kUserAgent = u"Mozilla/5.0 (Windows NT 10.0; Win64; x64)";

// The update texts the program carries, by language (English for every other code).
enum class UpdateTextKind { Question, Status, Yes, No };
Text UpdateText(UpdateTextKind kind, TextView language);

// The program's own file version as four decimal fields ("%d.%d.%d.%d"), or "0.0.0.0".
Text GetVersionText(SystemInfo& system, VersionResources& versions);

// 8 hex digits, yymmdd, 4 hex digits, hhnnss, 8 hex digits; `random(n)` draws below n.
Text GenerateUID(Clock& clock, const std::function<uint32_t(uint32_t)>& random);

// HKCU\Software\Morvessa\MorUID, created when missing and never replaced; empty when the
// registry cannot be used.
Text GetUID(Registry& registry, Clock& clock, const std::function<uint32_t(uint32_t)>& random);

// An answer is read up to 1 MiB: an endless one must not grow the process without bound.
inline constexpr size_t kMaxAnswerBytes = size_t(1) << 20;

// One GET with the user agent and the headers; any HTTP answer succeeds, its body (at most
// kMaxAnswerBytes) as UTF-8.
bool RequestAnswer(HttpClient& http, TextView url, const std::vector<HttpHeader>& headers, Text& answer);


// The "info" block of an answer.
struct UpdateInfo {
  Text style, text, flag, url;
};
UpdateInfo ParseUpdateInfo(TextView answer);

// What the answer handling shows; the main window implements it.
class UpdateUi {
 public:
  virtual ~UpdateUi() = default;
  // The modal update dialog for this answer; true when the user chose Yes.
  virtual bool UpdateDialog(const Text& answer) = 0;
  // Shows (or refreshes) the red notice bar of the main window for `url`.
  virtual void ShowUpdateStatus(const Text& url) = 0;
};

using UpdateCallback = std::function<void(bool updateAccepted, const Text& data)>;

// Six attempts, each failure followed by 1000 pauses of 10 ms; tests shorten them.
struct UpdateTiming {
  int attempts = 6;
  int pausesPerWait = 1000;
  std::chrono::milliseconds pause{10};
};

class UpdateClient {
 public:

  UpdateClient(const Ports& ports, UiThread& uiThread, UpdateUi& ui, const Translator& translator,
               UpdateTiming timing = UpdateTiming());
  // Asks a running worker to stop and waits for it and for hold requests.
  ~UpdateClient();
  UpdateClient(const UpdateClient&) = delete;
  UpdateClient& operator=(const UpdateClient&) = delete;

  // Starts the request in the background. Without a callback it returns only when the
  // answer has been handled, serving hand-overs meanwhile.
  void CheckUpdate(const Text& url, UpdateCallback proc, int noticeOffset);
  // The worker ends at its next pause without handing an answer over.
  void RequestStop() { stop_ = true; }
  // The worker of the last CheckUpdate has ended.
  bool Finished() const { return finished_; }
  // A request is still under way: the worker's or a "hold" request.
  bool Busy();

  // On the user-interface thread: dialog, shell, notice bar, then the callback.
  void HandleAnswer(const Text& data, const UpdateCallback& proc);
  // The "hold" request on a thread of its own; nobody waits for it.
  void StartHoldRequest();
  void WaitForHoldRequests();

  std::vector<HttpHeader> RequestHeaders();
  const Text& UpdateURL() const { return updateUrl_; }
  int NoticeOffset() const { return noticeOffset_; }

 private:
  void Run(UpdateCallback proc);
  uint32_t Random(uint32_t below);

  Ports ports_;
  UiThread& uiThread_;
  UpdateUi& ui_;
  const Translator& translator_;
  UpdateTiming timing_;
  Text updateUrl_;
  int noticeOffset_ = 0;
  std::mt19937 random_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  std::thread worker_;
  std::mutex holdMutex_;
  std::condition_variable holdDone_;
  int holdRequests_ = 0;
};

}  // namespace tarnwick
