#include "core/catalogue/catalogue.h"

namespace tarnwick {

void RefreshAutorun(TAutorunList& list, const AppContext& app) {
  RefreshAutorun(list, app, kCatalogueSources);
}

void RefreshAutorun(TAutorunList& list, const AppContext& app, std::span<const CatalogueSource> sources) {
  list.clear();
  for (CatalogueSource source : sources) source(list, app);
}

}  // namespace tarnwick
