#pragma once
// Product names and icons of the files entries start.

#include <map>
#include <unordered_map>
#include <vector>

#include "core/text/text.h"
#include "ports/file_info.h"
#include "ports/file_system.h"

namespace tarnwick {

// Adds to `values` each of `names` that the first translation's string table of the file's
// version resource holds; returns the number of entries in `values`.
int GetVersionStrings(FileSystem& files, VersionResources& versions, TextView fileName,
                      const std::vector<Text>& names, std::map<Text, Text>& values);

// The file's fixed version as "%d.%d.%d.%d", or "0.0.0.0" without a readable one.
Text FileVersionText(VersionResources& versions, TextView path);

// Icon-path text (quotes removed, trimmed) -> image index; lives as long as the list.
using IconCache = std::unordered_map<Text, int>;

// The image for an icon path: cached when extracted once; 0 (blank document) for a missing
// file or one without an icon, tried again next time; `fallback` for an empty path or an
// extraction that fails.
int GetIconIndex(IconCache& cache, ImageCollection& collection, FileSystem& files, IconSource& icons,
                 TextView iconPath, int fallback);

}  // namespace tarnwick
