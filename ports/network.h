#pragma once
// Ports: HTTP requests and the shell's "open".

#include <string>
#include <vector>

#include "core/text/text.h"

namespace tarnwick {

struct HttpHeader {
  Text name;
  Text value;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // One GET on a session of its own, with the user agent and then the headers in list order.
  // True when any HTTP answer arrived, whatever its status; `body` holds its first `limit`
  // bytes, the rest is not read. False for no connection, name, TLS or time-out errors (60 s
  // for each of resolving, connecting, sending and receiving). May be called from any thread.
  virtual bool Get(TextView url, TextView userAgent, const std::vector<HttpHeader>& headers, size_t limit,
                   std::string& body) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteW with "open" in a normal window; the result is ignored.
  virtual void Open(TextView target) = 0;
};

}  // namespace tarnwick
