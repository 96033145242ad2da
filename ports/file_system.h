#pragma once
// Port: folders and files.

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

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Names of the files directly in `folder` (pattern "*"), hidden and system files included,
  // subfolders excluded, in the file system's order.
  virtual ListResult ListFiles(TextView folder, std::vector<Text>& names) = 0;
  // True for an existing file (symbolic links followed); false for folders.
  virtual bool FileExists(TextView path) = 0;
  // Writes `bytes` to a temporary file beside `path` and moves it over `path` only when the
  // whole write succeeded, so a failed write never destroys an existing file. False with the
  // system's message otherwise.
  [[nodiscard]] virtual bool WriteWholeFile(TextView path, const std::string& bytes, Text& message) = 0;
  // Deletes one file. False with the system's message when it cannot be deleted.
  [[nodiscard]] virtual bool RemoveFile(TextView path, Text& message) = 0;
};

}  // namespace tarnwick
