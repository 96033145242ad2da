#pragma once
// Port: the service control manager of the local machine.
//
// Shaped after the SC_HANDLE calls: a connection and a service are objects whose
// destruction closes the handle, so every path out of a caller releases them.
// Access masks and start types carry the Win32 values; the adapter passes them through.
// All calls are made from the user-interface thread.

#include <cstdint>
#include <memory>
#include <vector>

#include "core/text/text.h"

namespace tarnwick {

namespace scm {
// Manager access.
inline constexpr uint32_t kConnect = 0x0001;
inline constexpr uint32_t kEnumerateService = 0x0004;
// Service access.
inline constexpr uint32_t kQueryConfig = 0x0001;
inline constexpr uint32_t kChangeConfig = 0x0002;
inline constexpr uint32_t kStop = 0x0020;
// Start types.
inline constexpr uint32_t kBootStart = 0;
inline constexpr uint32_t kSystemStart = 1;
inline constexpr uint32_t kAutoStart = 2;
inline constexpr uint32_t kDemandStart = 3;
inline constexpr uint32_t kDisabled = 4;
}  // namespace scm

// One record of the enumeration (ENUM_SERVICE_STATUSW).
struct ServiceStatusRecord {
  Text serviceName;
  Text displayName;
  uint32_t currentState = 0;
};

// The parts of QUERY_SERVICE_CONFIGW the system uses.
struct ServiceConfig {
  uint32_t startType = 0;
  Text binaryPathName;
};

// An open service; destroying it closes the handle.
class ServiceHandle {
 public:
  virtual ~ServiceHandle() = default;
  // Reads the configuration. False when it cannot be read (handle opened without
  // kQueryConfig, service deleted meanwhile, ...); `out` is then unspecified.
  [[nodiscard]] virtual bool QueryConfig(ServiceConfig& out) = 0;
  // Changes only the start type; everything else keeps its value. False when refused.
  [[nodiscard]] virtual bool ChangeStartType(uint32_t startType) = 0;
  // The delayed-automatic-start flag (SERVICE_CONFIG_DELAYED_AUTO_START_INFO), which
  // Windows keeps beside the start type. Query needs kQueryConfig, change kChangeConfig;
  // false when refused or not supported.
  [[nodiscard]] virtual bool QueryDelayedAutoStart(bool& delayed) = 0;
  [[nodiscard]] virtual bool ChangeDelayedAutoStart(bool delayed) = 0;
};

// An open manager; destroying it closes the handle.
class ScmConnection {
 public:
  virtual ~ScmConnection() = default;
  // Every Win32 service (own and shared process, no drivers) in every state, in the
  // manager's order, fetched with one sized call. False when the enumeration fails.
  [[nodiscard]] virtual bool EnumerateWin32Services(std::vector<ServiceStatusRecord>& out) = 0;
  // Opens one service by its name; nullptr when it cannot be opened with `access`.
  virtual std::unique_ptr<ServiceHandle> Open(const Text& name, uint32_t access) = 0;
};

class ServiceManager {
 public:
  virtual ~ServiceManager() = default;
  // Opens the local machine's manager (default database); nullptr on failure.
  virtual std::unique_ptr<ScmConnection> Connect(uint32_t access) = 0;
};

}  // namespace tarnwick
