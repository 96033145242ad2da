#pragma once
// Port: the shell's known folders, by CSIDL.

#include "core/text/text.h"

namespace tarnwick {

class ShellFolders {
 public:
  virtual ~ShellFolders() = default;
  // The folder's current path as SHGetFolderPathW (SHGFP_TYPE_CURRENT) returns it,
  // possibly with a trailing "\". False when the shell cannot name the folder.
  [[nodiscard]] virtual bool FolderPath(int csidl, Text& out) = 0;
};

}  // namespace tarnwick
