#pragma once

#include "ports/network.h"

namespace tarnwick::win32 {

// WinHTTP, a new session for every request, the system's default time-outs.
class WinHttpClient final : public HttpClient {
 public:
  bool Get(TextView url, TextView userAgent, const std::vector<HttpHeader>& headers, size_t limit,
           std::string& body) override;
};

class Win32Shell final : public Shell {
 public:
  void Open(TextView target) override;
};

}  // namespace tarnwick::win32
