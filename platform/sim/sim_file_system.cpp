#include "platform/sim/sim_file_system.h"

#include <algorithm>

namespace tarnwick::sim {

SimFileSystem::Folder* SimFileSystem::Find(TextView path) {
  for (Folder& folder : folders_) {
    if (SameTextAscii(folder.path, path)) return &folder;
  }
  return nullptr;
}

void SimFileSystem::AddFolder(TextView path) {
  if (!Find(path)) folders_.push_back({Text(path), {}});
}

void SimFileSystem::RemoveFolder(TextView path) {
  std::erase_if(folders_, [&](const Folder& f) { return SameTextAscii(f.path, path); });
}

void SimFileSystem::AddFile(TextView folder, TextView name) {
  AddFolder(folder);
  Find(folder)->entries.push_back({Text(name), false});
}

void SimFileSystem::AddSubfolder(TextView folder, TextView name) {
  AddFolder(folder);
  Find(folder)->entries.push_back({Text(name), true});
  AddFolder(Text(folder) + u"\\" + Text(name));
}

ListResult SimFileSystem::ListFiles(TextView path, std::vector<Text>& names) {
  names.clear();
  if (faults_.ShouldFail("FindFirstFileW", path)) {
    return {ListStatus::Failed, u"Access is denied."};
  }
  Folder* folder = Find(path);
  if (!folder) return {ListStatus::NotFound, u"The system cannot find the path specified."};
  for (const Entry& entry : folder->entries) {
    if (!entry.directory) names.push_back(entry.name);
  }
  return {};
}

}  // namespace tarnwick::sim
