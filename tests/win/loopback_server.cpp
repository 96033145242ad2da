#include "tests/win/loopback_server.h"

#include <ws2tcpip.h>

namespace tarnwick::test {
namespace {

struct WinsockStartup {
  WinsockStartup() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockStartup() { WSACleanup(); }
};
WinsockStartup g_winsock;

SOCKET ListenOnLoopback(int& port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int length = sizeof(address);
  if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0 || listen(s, 8) != 0) {
    if (s != INVALID_SOCKET) closesocket(s);
    return INVALID_SOCKET;
  }
  port = ntohs(address.sin_port);
  return s;
}

}  // namespace

LoopbackServer::LoopbackServer(int status, std::string body) : status_(status), body_(std::move(body)) {
  listener_ = ListenOnLoopback(port_);
  if (listener_ != INVALID_SOCKET) thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  if (thread_.joinable()) thread_.join();
}

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::vector<std::string>> LoopbackServer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

int LoopbackServer::UnusedPort() {
  int port = 0;
  SOCKET s = ListenOnLoopback(port);
  closesocket(s);
  return port;
}

void LoopbackServer::Serve() {
  while (!stopping_) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
      const int got = recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      head.append(buffer, got);
    }
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = head.find("\r\n", start)) != std::string::npos && end != start; start = end + 2) {
      lines.push_back(head.substr(start, end - start));
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(lines);
    }
    const std::string answer = "HTTP/1.1 " + std::to_string(status_) + " Test\r\nContent-Type: text/plain\r\n" +
                               "Content-Length: " + std::to_string(body_.size()) +
                               "\r\nConnection: close\r\n\r\n" + body_;
    send(client, answer.data(), static_cast<int>(answer.size()), 0);
    shutdown(client, SD_SEND);
    closesocket(client);
  }
}

}  // namespace tarnwick::test
