#include <vector>

#include "core/catalogue/location_codes.h"
#include "core/catalogue/sources.h"

namespace tarnwick {

void ReadServices(TAutorunList& list, const AppContext& app) {
  auto manager = app.ports.services.Connect(scm::kConnect | scm::kEnumerateService);
  if (!manager) return;

  std::vector<ServiceStatusRecord> records;
  if (!manager->EnumerateWin32Services(records)) return;

  for (const ServiceStatusRecord& record : records) {
    auto service = manager->Open(record.serviceName, scm::kQueryConfig);
    if (!service) continue;
    ServiceConfig config;
    if (!service->QueryConfig(config)) continue;

    TAutorunInfo entry;
    entry.FileName = config.binaryPathName;
    entry.Caption = record.displayName;
    entry.RawData = config.binaryPathName;
    entry.Target = record.serviceName;
    entry.From = Text(location::kService);
    // Delayed automatic start is also SERVICE_AUTO_START.
    entry.Enabled = config.startType == scm::kAutoStart;
    list.push_back(std::move(entry));
  }
}

}  // namespace tarnwick
