// TarnwickService.exe: no window, no console; an update check and, on "/inst", the main program.

#include <windows.h>

#include <random>

#include "app/build_config.h"
#include "launcher/launcher_flow.h"
#include "launcher/win32_launcher_system.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tarnwick;
  launcher::Win32LauncherSystem system;
  // The locale is taken once, before anything else.
  const uint32_t language = system.UserDefaultLcid();
  std::mt19937 generator(GetTickCount());
  win32::Win32Platform platform;
  const Ports ports = platform.ports();
  launcher::Launcher run{ports, system, language, [&generator](uint32_t below) {
                           return std::uniform_int_distribution<uint32_t>(0, below - 1)(generator);
                         }};
  return run.Run(build::kSiteUrl, build::kUpdateUrl);
}
