#include "platform/sim/sim_service_manager.h"

#include <algorithm>

namespace tarnwick::sim {

// The handle keeps the name, not a pointer: a service deleted while open fails its calls.
class SimServiceHandle final : public ServiceHandle {
 public:
  SimServiceHandle(SimServiceManager& manager, Text name, uint32_t access)
      : manager_(manager), name_(std::move(name)), access_(access) {
    ++manager_.openHandles_;
  }
  ~SimServiceHandle() override { --manager_.openHandles_; }

  bool QueryConfig(ServiceConfig& out) override {
    if (manager_.faults_.ShouldFail("QueryServiceConfigW", name_)) return false;
    if (!(access_ & scm::kQueryConfig)) return false;
    const SimService* service = manager_.Find(name_);
    if (!service) return false;
    out.startType = service->startType;
    out.binaryPathName = service->binaryPath;
    return true;
  }

  bool ChangeStartType(uint32_t startType) override {
    if (manager_.faults_.ShouldFail("ChangeServiceConfigW", name_)) return false;
    if (!(access_ & scm::kChangeConfig)) return false;
    SimService* service = manager_.Find(name_);
    if (!service || startType > scm::kDisabled) return false;
    service->startType = startType;
    return true;
  }

  bool QueryDelayedAutoStart(bool& delayed) override {
    if (manager_.faults_.ShouldFail("QueryServiceConfig2W", name_)) return false;
    if (!(access_ & scm::kQueryConfig)) return false;
    const SimService* service = manager_.Find(name_);
    if (!service) return false;
    delayed = service->delayedAutoStart;
    return true;
  }

  bool ChangeDelayedAutoStart(bool delayed) override {
    if (manager_.faults_.ShouldFail("ChangeServiceConfig2W", name_)) return false;
    if (!(access_ & scm::kChangeConfig)) return false;
    SimService* service = manager_.Find(name_);
    if (!service) return false;
    service->delayedAutoStart = delayed;
    return true;
  }

 private:
  SimServiceManager& manager_;
  Text name_;
  uint32_t access_;
};

class SimScmConnection final : public ScmConnection {
 public:
  SimScmConnection(SimServiceManager& manager, uint32_t access) : manager_(manager), access_(access) {
    ++manager_.openHandles_;
  }
  ~SimScmConnection() override { --manager_.openHandles_; }

  bool EnumerateWin32Services(std::vector<ServiceStatusRecord>& out) override {
    if (manager_.faults_.ShouldFail("EnumServicesStatusW")) return false;
    if (!(access_ & scm::kEnumerateService)) return false;
    out.clear();
    for (const SimService& service : manager_.services_) {
      if (service.type & service_type::kWin32) {
        out.push_back({service.name, service.displayName, service.state});
      }
    }
    return true;
  }

  std::unique_ptr<ServiceHandle> Open(const Text& name, uint32_t access) override {
    if (manager_.faults_.ShouldFail("OpenServiceW", name)) return nullptr;
    const SimService* service = manager_.Find(name);
    if (!service) return nullptr;
    return std::make_unique<SimServiceHandle>(manager_, service->name, access);
  }

 private:
  SimServiceManager& manager_;
  uint32_t access_;
};

void SimServiceManager::Add(SimService service) {
  if (SimService* existing = Find(service.name)) {
    *existing = std::move(service);
  } else {
    index_.emplace(FoldKey(service.name), services_.size());
    services_.push_back(std::move(service));
  }
}

bool SimServiceManager::Remove(TextView name) {
  auto it = std::find_if(services_.begin(), services_.end(),
                         [&](const SimService& s) { return SameTextAscii(s.name, name); });
  if (it == services_.end()) return false;
  services_.erase(it);
  index_.clear();
  for (size_t i = 0; i < services_.size(); ++i) index_.emplace(FoldKey(services_[i].name), i);
  return true;
}

SimService* SimServiceManager::Find(TextView name) {
  auto it = index_.find(FoldKey(name));
  return it == index_.end() ? nullptr : &services_[it->second];
}

std::unique_ptr<ScmConnection> SimServiceManager::Connect(uint32_t access) {
  if (faults_.ShouldFail("OpenSCManagerW")) return nullptr;
  return std::make_unique<SimScmConnection>(*this, access);
}

}  // namespace tarnwick::sim
