#pragma once
// Port: folders and files.

#include <cstdint>
#include <string>
#include <vector>

#include "core/text/text.h"

namespace tarnwick {

enum class ListStatus {
  Ok,
  NotFound,  // the folder does not exist
  Failed     // it exists by name but cannot be listed
};

struct ListResult {
  ListStatus status = ListStatus::Ok;
  Text message;  // the system's message for a failure
};

// What identifies one version of a file: a file rewritten in place gets a new stamp.
struct FileStamp {
  uint64_t size = 0;
  uint64_t lastWrite = 0;  // FILETIME, UTC
  bool operator==(const FileStamp&) const = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Names of the files directly in `folder` (pattern "*"), hidden and system files included,
  // subfolders excluded, in the file system's order.
  virtual ListResult ListFiles(TextView folder, std::vector<Text>& names) = 0;
  // Names of the folders directly in `folder`, in the file system's order ("." and ".." left out).
  virtual ListResult ListSubfolders(TextView folder, std::vector<Text>& names) = 0;
  // True for an existing file (symbolic links followed); false for folders.
  virtual bool FileExists(TextView path) = 0;
  // Size and last write time of an existing file; false for a missing one or a folder.
  [[nodiscard]] virtual bool Stamp(TextView path, FileStamp& stamp) = 0;
  // The whole file when it has at most `limit` bytes. False with the system's message when it
  // cannot be opened or read, or is larger (nothing of it is returned then).
  [[nodiscard]] virtual bool ReadWholeFile(TextView path, size_t limit, std::string& bytes, Text& message) = 0;
  // Writes `bytes` to a temporary file beside `path` and moves it over `path` only when the
  // whole write succeeded, so a failed write never destroys an existing file. False with the
  // system's message otherwise.
  [[nodiscard]] virtual bool WriteWholeFile(TextView path, const std::string& bytes, Text& message) = 0;
  // Deletes one file. False with the system's message when it cannot be deleted.
  [[nodiscard]] virtual bool RemoveFile(TextView path, Text& message) = 0;
};

}  // namespace tarnwick
