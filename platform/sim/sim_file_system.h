#pragma once
// Simulated folders and files: paths compared without regard to case, entries listed in
// the order they were added.
//
// Fault calls: "FindFirstFileW" [folder path]: the folder exists but cannot be listed;
// "DeleteFileW" [file path]; "WriteFile" [file path]: the write fails part-way;
// "ReadFile" [file path]: the file exists but cannot be read.
// Every write gives the file a later last-write time than any before it.

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
  ListResult ListSubfolders(TextView folder, std::vector<Text>& names) override;
  bool RemoveFile(TextView path, Text& message) override;
  bool WriteWholeFile(TextView path, const std::string& bytes, Text& message) override;
  // The content written through WriteWholeFile; empty for files without content.
  std::string Content(TextView path);
  bool FileExists(TextView path) override;
  bool Stamp(TextView path, FileStamp& stamp) override;
  bool ReadWholeFile(TextView path, size_t limit, std::string& bytes, Text& message) override;
  // Sets an existing file's last write time (FILETIME); false when there is no such file.
  bool SetLastWrite(TextView path, uint64_t fileTime);

 private:
  struct Entry {
    Text name;
    bool directory;
    std::string content;
    uint64_t lastWrite = 0;
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
  uint64_t writeClock_ = 0x01DB000000000000;  // a moment in 2024, one tick per write
};

}  // namespace tarnwick::sim
