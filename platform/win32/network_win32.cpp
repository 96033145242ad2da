#include "platform/win32/network_win32.h"

#include <windows.h>
#include <shellapi.h>
#include <winhttp.h>

#include <algorithm>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace tarnwick::win32 {
namespace {

struct WinHttpTraits {
  using Pointer = HINTERNET;
  static void Close(HINTERNET h) noexcept { WinHttpCloseHandle(h); }
};
using UniqueWinHttp = UniqueAny<WinHttpTraits>;

}  // namespace

namespace {

constexpr int kTimeoutMs = 60000;  // each of resolving, connecting, sending, receiving

// The system's automatic proxy where it offers one (Windows 8.1 on), else the default proxy.
UniqueWinHttp OpenSession() {
  UniqueWinHttp session(WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) {
    session.reset(WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                              WINHTTP_NO_PROXY_BYPASS, 0));
  }
  if (session) WinHttpSetTimeouts(session.get(), kTimeoutMs, kTimeoutMs, kTimeoutMs, kTimeoutMs);
  return session;
}

}  // namespace

bool WinHttpClient::Get(TextView url, TextView userAgent, const std::vector<HttpHeader>& headers, size_t limit,
                        std::string& body) {
  const std::wstring address = Wide(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = DWORD(-1);
  if (!WinHttpCrackUrl(address.c_str(), 0, 0, &parts)) return false;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  const std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                            std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);

  // The user agent goes first as an ordinary header: the stack would put its own after ours.
  UniqueWinHttp session = OpenSession();
  if (!session) return false;
  UniqueWinHttp connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
  if (!connection) return false;
  const DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  UniqueWinHttp request(WinHttpOpenRequest(connection.get(), L"GET", path.empty() ? L"/" : path.c_str(), nullptr,
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!request) return false;
  // One call per header keeps them on the wire in list order; empty values go too.
  std::vector<HttpHeader> all = {{u"User-Agent", Text(userAgent)}};
  all.insert(all.end(), headers.begin(), headers.end());
  for (const HttpHeader& header : all) {
    const std::wstring line = Wide(header.name) + L": " + Wide(header.value);
    if (!WinHttpAddRequestHeaders(request.get(), line.c_str(), static_cast<DWORD>(line.size()),
                                  WINHTTP_ADDREQ_FLAG_ADD)) {
      return false;
    }
  }
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return false;
  }
  // Any status is an answer; its body is read up to the limit.
  body.clear();
  while (body.size() < limit) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request.get(), &available)) return false;
    if (available == 0) return true;
    const size_t at = body.size();
    body.resize(at + std::min<size_t>(available, limit - at));
    DWORD read = 0;
    if (!WinHttpReadData(request.get(), body.data() + at, static_cast<DWORD>(body.size() - at), &read)) return false;
    body.resize(at + read);
    if (read == 0) return true;
  }
  return true;
}

void Win32Shell::Open(TextView target) {
  ShellExecuteW(nullptr, L"open", Wide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tarnwick::win32
