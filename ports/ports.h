#pragma once
// Everything the portable modules may ask of the platform, passed as one bundle.
// The real platform (platform/win32) and the simulated one (platform/sim) each own
// their implementations and hand out this view; it owns nothing.

#include "ports/clock.h"
#include "ports/file_info.h"
#include "ports/file_system.h"
#include "ports/locale.h"
#include "ports/network.h"
#include "ports/program_resources.h"
#include "ports/registry.h"
#include "ports/service_manager.h"
#include "ports/shell_folders.h"
#include "ports/shortcuts.h"
#include "ports/signatures.h"
#include "ports/system_info.h"
#include "ports/task_scheduler.h"

namespace tarnwick {

struct Ports {
  ServiceManager& services;
  Registry& registry;
  ShellFolders& shellFolders;
  SystemInfo& systemInfo;
  FileSystem& fileSystem;
  Clock& clock;
  ComRuntime& com;
  Locale& locale;
  ProgramResources& resources;
  VersionResources& versions;
  IconSource& icons;
  HttpClient& http;
  Shell& shell;
  ShortcutReader& shortcuts;
  SignatureVerifier& signatures;
};

}  // namespace tarnwick
