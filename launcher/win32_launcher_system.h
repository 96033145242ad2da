#pragma once

#include "launcher/launcher_system.h"

namespace tarnwick::launcher {

class Win32LauncherSystem final : public LauncherSystem {
 public:
  bool CreateSingleInstanceMutex(TextView name) override;
  Text ModulePath() override;
  Text CommandLine() override;
  uint32_t UserDefaultLcid() override;
  int ShowMessage(TextView text, TextView title, uint32_t style) override;
  std::unique_ptr<InternetSession> OpenInternet(TextView userAgent) override;
  char16_t AnsiToWide(uint8_t byte) override;
};

}  // namespace tarnwick::launcher
