#pragma once

#include <span>

#include "core/catalogue/autorun_info.h"
#include "core/catalogue/sources.h"
#include "core/app_context.h"

namespace tarnwick {

// Clears the list and fills it again from the four sources in their fixed order.
// An error a source lets through ends the refresh there: the entries appended before it
// stay in the list, later sources are not read, and the error reaches the caller.
void RefreshAutorun(TAutorunList& list, const AppContext& app);

// The same driver over a given sequence of sources.
void RefreshAutorun(TAutorunList& list, const AppContext& app, std::span<const CatalogueSource> sources);

}  // namespace tarnwick
