#include "platform/sim/sim_file_system.h"

#include <algorithm>

namespace tarnwick::sim {

SimFileSystem::Folder* SimFileSystem::Find(TextView path) {
  auto it = folderIndex_.find(FoldKey(path));
  return it == folderIndex_.end() ? nullptr : &folders_[it->second];
}

void SimFileSystem::AddFolder(TextView path) {
  if (Find(path)) return;
  folderIndex_.emplace(FoldKey(path), folders_.size());
  folders_.push_back({Text(path), {}, {}});
}

void SimFileSystem::RemoveFolder(TextView path) {
  std::erase_if(folders_, [&](const Folder& f) { return SameTextAscii(f.path, path); });
  folderIndex_.clear();
  for (size_t i = 0; i < folders_.size(); ++i) folderIndex_.emplace(FoldKey(folders_[i].path), i);
}

void SimFileSystem::AddFile(TextView folder, TextView name) {
  AddFolder(folder);
  Folder* target = Find(folder);
  target->index.emplace(FoldKey(name), target->entries.size());
  target->entries.push_back({Text(name), false, {}, ++writeClock_});
}

void SimFileSystem::AddSubfolder(TextView folder, TextView name) {
  AddFolder(folder);
  Folder* target = Find(folder);
  target->index.emplace(FoldKey(name), target->entries.size());
  target->entries.push_back({Text(name), true, {}, ++writeClock_});
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

ListResult SimFileSystem::ListSubfolders(TextView path, std::vector<Text>& names) {
  names.clear();
  if (faults_.ShouldFail("FindFirstFileW", path)) return {ListStatus::Failed, u"Access is denied."};
  Folder* folder = Find(path);
  if (!folder) return {ListStatus::NotFound, u"The system cannot find the path specified."};
  for (const Entry& entry : folder->entries) {
    if (entry.directory) names.push_back(entry.name);
  }
  return {};
}

std::pair<SimFileSystem::Folder*, std::vector<SimFileSystem::Entry>::iterator> SimFileSystem::FindFile(
    TextView path) {
  const size_t slash = path.rfind(u'\\');
  Folder* folder = slash == TextView::npos ? nullptr : Find(path.substr(0, slash));
  if (!folder) return {nullptr, {}};
  const auto found = folder->index.find(FoldKey(path.substr(slash + 1)));
  if (found == folder->index.end() || folder->entries[found->second].directory) return {nullptr, {}};
  return {folder, folder->entries.begin() + static_cast<std::ptrdiff_t>(found->second)};
}

bool SimFileSystem::FileExists(TextView path) { return FindFile(path).first != nullptr; }

bool SimFileSystem::RemoveFile(TextView path, Text& message) {
  if (faults_.ShouldFail("DeleteFileW", path)) {
    message = u"Access is denied.";
    return false;
  }
  auto [folder, entry] = FindFile(path);
  if (!folder) {
    message = u"The system cannot find the file specified.";
    return false;
  }
  folder->entries.erase(entry);
  folder->Reindex();
  return true;
}

bool SimFileSystem::WriteWholeFile(TextView path, const std::string& bytes, Text& message) {
  const size_t slash = path.rfind(u'\\');
  Folder* folder = slash == TextView::npos ? nullptr : Find(path.substr(0, slash));
  if (!folder) {
    message = u"The system cannot find the path specified.";
    return false;
  }
  if (faults_.ShouldFail("WriteFile", path)) {
    message = u"There is not enough space on the disk.";
    return false;  // the temporary file is gone; the old file is untouched
  }
  auto [existing, entry] = FindFile(path);
  if (existing) {
    entry->content = bytes;
    entry->lastWrite = ++writeClock_;
  } else {
    folder->index.emplace(FoldKey(path.substr(slash + 1)), folder->entries.size());
    folder->entries.push_back({Text(path.substr(slash + 1)), false, bytes, ++writeClock_});
  }
  return true;
}

bool SimFileSystem::Stamp(TextView path, FileStamp& stamp) {
  auto [folder, entry] = FindFile(path);
  if (!folder) return false;
  stamp = {entry->content.size(), entry->lastWrite};
  return true;
}

bool SimFileSystem::ReadWholeFile(TextView path, size_t limit, std::string& bytes, Text& message) {
  auto [folder, entry] = FindFile(path);
  if (!folder) {
    message = u"The system cannot find the file specified.";
    return false;
  }
  if (faults_.ShouldFail("ReadFile", path)) {
    message = u"The process cannot access the file because it is being used by another process.";
    return false;
  }
  if (entry->content.size() > limit) {
    message = u"The file is larger than " + FromUtf8(std::to_string(limit)) + u" bytes.";
    return false;
  }
  bytes = entry->content;
  return true;
}

bool SimFileSystem::SetLastWrite(TextView path, uint64_t fileTime) {
  auto [folder, entry] = FindFile(path);
  if (!folder) return false;
  entry->lastWrite = fileTime;
  return true;
}

std::string SimFileSystem::Content(TextView path) {
  auto [folder, entry] = FindFile(path);
  return folder ? entry->content : std::string();
}

}  // namespace tarnwick::sim
