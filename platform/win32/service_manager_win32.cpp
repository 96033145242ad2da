#include "platform/win32/service_manager_win32.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace tarnwick::win32 {

static_assert(scm::kConnect == SC_MANAGER_CONNECT);
static_assert(scm::kEnumerateService == SC_MANAGER_ENUMERATE_SERVICE);
static_assert(scm::kQueryConfig == SERVICE_QUERY_CONFIG);
static_assert(scm::kChangeConfig == SERVICE_CHANGE_CONFIG);
static_assert(scm::kStop == SERVICE_STOP);
static_assert(scm::kAutoStart == SERVICE_AUTO_START);
static_assert(scm::kDemandStart == SERVICE_DEMAND_START);
static_assert(scm::kDisabled == SERVICE_DISABLED);

namespace {

// A byte buffer aligned for the records the API writes into it.
class RecordBuffer {
 public:
  explicit RecordBuffer(DWORD bytes) : words_((bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t)) {}
  BYTE* data() { return reinterpret_cast<BYTE*>(words_.data()); }

 private:
  std::vector<uint64_t> words_;
};

class Win32ServiceHandle final : public ServiceHandle {
 public:
  explicit Win32ServiceHandle(UniqueScHandle handle) : handle_(std::move(handle)) {}

  bool QueryConfig(ServiceConfig& out) override {
    DWORD needed = 0;
    if (QueryServiceConfigW(handle_.get(), nullptr, 0, &needed) || needed == 0) return false;
    RecordBuffer buffer(needed);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (!QueryServiceConfigW(handle_.get(), config, needed, &needed)) return false;
    out.startType = config->dwStartType;
    out.binaryPathName = FromWide(config->lpBinaryPathName);
    return true;
  }

  bool ChangeStartType(uint32_t startType) override {
    return ChangeServiceConfigW(handle_.get(), SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr) != FALSE;
  }

  bool QueryDelayedAutoStart(bool& delayed) override {
    SERVICE_DELAYED_AUTO_START_INFO info{};
    DWORD needed = 0;
    if (!QueryServiceConfig2W(handle_.get(), SERVICE_CONFIG_DELAYED_AUTO_START_INFO,
                              reinterpret_cast<BYTE*>(&info), sizeof(info), &needed)) {
      return false;
    }
    delayed = info.fDelayedAutostart != FALSE;
    return true;
  }

  bool ChangeDelayedAutoStart(bool delayed) override {
    SERVICE_DELAYED_AUTO_START_INFO info{delayed ? TRUE : FALSE};
    return ChangeServiceConfig2W(handle_.get(), SERVICE_CONFIG_DELAYED_AUTO_START_INFO, &info) != FALSE;
  }

 private:
  UniqueScHandle handle_;
};

class Win32ScmConnection final : public ScmConnection {
 public:
  explicit Win32ScmConnection(UniqueScHandle handle) : handle_(std::move(handle)) {}

  bool EnumerateWin32Services(std::vector<ServiceStatusRecord>& out) override {
    DWORD needed = 0, count = 0, resume = 0;
    out.clear();
    if (EnumServicesStatusW(handle_.get(), SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed,
                            &count, &resume)) {
      return true;  // nothing to list
    }
    const DWORD error = GetLastError();
    if (error != ERROR_MORE_DATA && error != ERROR_INSUFFICIENT_BUFFER) return false;

    // One sized call; the resume position is not used for further batches.
    RecordBuffer buffer(needed);
    auto* records = reinterpret_cast<ENUM_SERVICE_STATUSW*>(buffer.data());
    if (!EnumServicesStatusW(handle_.get(), SERVICE_WIN32, SERVICE_STATE_ALL, records, needed,
                             &needed, &count, &resume)) {
      return false;
    }
    out.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
      out.push_back({FromWide(records[i].lpServiceName), FromWide(records[i].lpDisplayName),
                     records[i].ServiceStatus.dwCurrentState});
    }
    return true;
  }

  std::unique_ptr<ServiceHandle> Open(const Text& name, uint32_t access) override {
    UniqueScHandle service(OpenServiceW(handle_.get(), Wide(name).c_str(), access));
    if (!service) return nullptr;
    return std::make_unique<Win32ServiceHandle>(std::move(service));
  }

 private:
  UniqueScHandle handle_;
};

}  // namespace

std::unique_ptr<ScmConnection> Win32ServiceManager::Connect(uint32_t access) {
  UniqueScHandle manager(OpenSCManagerW(nullptr, nullptr, access));
  if (!manager) return nullptr;
  return std::make_unique<Win32ScmConnection>(std::move(manager));
}

}  // namespace tarnwick::win32
