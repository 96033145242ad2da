#pragma once
// TarnwickService: one instance per logon session, an update check, and on "/inst" the start
// of Tarnwick.exe from its own folder.

#include <functional>

#include "launcher/launcher_system.h"
#include "ports/ports.h"

namespace tarnwick::launcher {

inline constexpr TextView kMutexName = u"TarnwickServiceMutex";
inline constexpr TextView kTitle = u"Tarnwick";
inline constexpr TextView kBrowserAgent =
    u"Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/115.0.0.0 "
    u"Safari/537.36";
// No update answer comes near this; an endless body must not exhaust memory.
inline constexpr size_t kAnswerLimit = 1 << 20;

struct Launcher {
  const Ports& ports;
  LauncherSystem& system;
  uint32_t LauncherLanguage;                    // the user's locale id, taken at start
  std::function<uint32_t(uint32_t)> random;     // draws below n; seeded from the tick count

  // True when the user was sent to a web page (product site or update link).
  bool CheckForUpdate(TextView mainProgramPath, TextView siteUrl, TextView updateUrl);
  Text ReadClientIdentity();
  // Exit code; always 0.
  int Run(TextView siteUrl, TextView updateUrl);
};

// The launcher's folder (up to its last ':', '\' or '/') followed by "Tarnwick.exe".
Text MainProgramPath(TextView ownPath);

// The answer's bytes, one character each: ASCII as is, others through the ANSI code page.
Text DecodeAnswer(const std::string& body, LauncherSystem& system);

}  // namespace tarnwick::launcher
