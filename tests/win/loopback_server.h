#pragma once
// An HTTP server on 127.0.0.1 only, for the tests: it records each request's request line
// and header lines in order and answers with the status and body the test chose.

#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarnwick::test {

class LoopbackServer {
 public:
  LoopbackServer(int status, std::string body);
  ~LoopbackServer();

  int Port() const { return port_; }
  std::string Url(const std::string& path = "/api.init.php") const;
  // Each request: the request line, then the header lines as sent.
  std::vector<std::vector<std::string>> Requests();

  // A port on which nothing listens.
  static int UnusedPort();

 private:
  void Serve();
  int status_;
  std::string body_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::vector<std::vector<std::string>> requests_;
  std::thread thread_;
};

}  // namespace tarnwick::test
