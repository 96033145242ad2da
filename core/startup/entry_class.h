#pragma once
// How the list treats an entry by its location code, and which filter list hides it.

#include "core/catalogue/autorun_info.h"
#include "core/filters/filter_list.h"

namespace tarnwick {

enum class EntryClass { Registry, File, Task, Service };

// "FILE", "SCHE" and "SERV" (any letter case); every other code is a registry entry.
EntryClass ClassOf(TextView from);

enum class HiddenBy { Nothing, FileList, NameList };

// A startup-folder file is matched by its path against the file list; a Run value and a task
// by their name, a service by its service name, against the name list.
HiddenBy HiddenByLists(const TAutorunInfo& entry, const FilterList& fileWhite, const FilterList& nameWhite,
                       const FolderVars& vars);

}  // namespace tarnwick
