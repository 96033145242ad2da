#pragma once
// The four sources of the catalogue. Each appends its entries to the end of the list and
// absorbs its own failures, except where it is said to let an error through.

#include <array>

#include "core/catalogue/autorun_info.h"
#include "ports/ports.h"

namespace tarnwick {

void ReadStartupFolders(TAutorunList& list, const Ports& ports);
void ReadRunKeys(TAutorunList& list, const Ports& ports);
void ReadScheduledTasks(TAutorunList& list, const Ports& ports);
void ReadServices(TAutorunList& list, const Ports& ports);

using CatalogueSource = void (*)(TAutorunList&, const Ports&);

// The order of a refresh: folders, Run keys, tasks, services.
inline constexpr std::array<CatalogueSource, 4> kCatalogueSources = {
    ReadStartupFolders, ReadRunKeys, ReadScheduledTasks, ReadServices};

}  // namespace tarnwick
