#include "core/catalogue/catalogue.h"

namespace tarnwick {

void RefreshAutorun(TAutorunList& list, const Ports& ports) {
  RefreshAutorun(list, ports, kCatalogueSources);
}

void RefreshAutorun(TAutorunList& list, const Ports& ports, std::span<const CatalogueSource> sources) {
  list.clear();
  for (CatalogueSource source : sources) source(list, ports);
}

}  // namespace tarnwick
