#pragma once
// What the modules set up when the program starts: the platform's ports and the tables
// built once from them. Passed to everything that needs either; nothing here changes
// after Start.

#include "core/paths/path.h"
#include "ports/ports.h"

namespace tarnwick {

struct AppContext {
  Ports ports;
  FolderVars folderVars;

  static AppContext Start(const Ports& ports) {
    return AppContext{ports, FolderVars::Build(ports.shellFolders, ports.systemInfo)};
  }
};

}  // namespace tarnwick
