#pragma once
// Simulated folders and files: paths compared without regard to case, entries listed in
// the order they were added.
//
// Fault calls: "FindFirstFileW" [folder path]: the folder exists but cannot be listed;
// "DeleteFileW" [file path]; "WriteFile" [file path]: the write fails part-way.

#include <vector>

#include "platform/sim/fault_plan.h"
#include "platform/sim/folded_index.h"
#include "ports/file_system.h"

namespace tarnwick::sim {

class SimFileSystem final : public FileSystem {
 public:
  explicit SimFileSystem(FaultPlan& faults) : faults_(faults) {}

  void AddFolder(TextView path);
  void RemoveFolder(TextView path);
  // Adds the folder as well when it is missing.
  void AddFile(TextView folder, TextView name);
  void AddSubfolder(TextView folder, TextView name);

  ListResult ListFiles(TextView folder, std::vector<Text>& names) override;
  bool RemoveFile(TextView path, Text& message) override;
  bool WriteWholeFile(TextView path, const std::string& bytes, Text& message) override;
  // The content written through WriteWholeFile; empty for files without content.
  std::string Content(TextView path);
  bool FileExists(TextView path) override;

 private:
  struct Entry {
    Text name;
    bool directory;
    std::string content;
  };
  struct Folder {
    Text path;
    std::vector<Entry> entries;
    FoldedIndex index;  // entry name -> position
    void Reindex() {
      index.clear();
      for (size_t i = 0; i < entries.size(); ++i) index.emplace(FoldKey(entries[i].name), i);
    }
  };
  Folder* Find(TextView path);
  // The folder and the entry a full path names, or nullptrs.
  std::pair<Folder*, std::vector<Entry>::iterator> FindFile(TextView path);

  FaultPlan& faults_;
  std::vector<Folder> folders_;
  FoldedIndex folderIndex_;
};

}  // namespace tarnwick::sim
