#pragma once
// Port: what the launcher asks of Windows beyond the shared ports.

#include <cstdint>
#include <memory>
#include <string>

#include "core/text/text.h"

namespace tarnwick::launcher {

namespace box {
inline constexpr uint32_t kOk = 0x0;
inline constexpr uint32_t kYesNo = 0x4;
inline constexpr uint32_t kIconError = 0x10;
inline constexpr uint32_t kIconInformation = 0x40;
inline constexpr uint32_t kTopMost = 0x40000;
inline constexpr uint32_t kSetForeground = 0x10000;
inline constexpr int kIdYes = 6;
}  // namespace box

// A WinINet session (InternetOpenA, direct connection); destroying it closes the handle.
class InternetSession {
 public:
  virtual ~InternetSession() = default;
  // InternetOpenUrlW with the header block, forced reload and no-cache; false when no request
  // handle came back. `body` gets what was read, up to `limit` bytes.
  virtual bool Get(TextView url, TextView headerBlock, size_t limit, std::string& body) = 0;
};

class LauncherSystem {
 public:
  virtual ~LauncherSystem() = default;
  // Creates the named mutex, owned and held until the process ends. False when it existed
  // already: another copy runs. One call, so two copies starting together cannot both win.
  virtual bool CreateSingleInstanceMutex(TextView name) = 0;
  virtual Text ModulePath() = 0;
  virtual Text CommandLine() = 0;
  virtual uint32_t UserDefaultLcid() = 0;
  // A message box without owner; returns the button id.
  virtual int ShowMessage(TextView text, TextView title, uint32_t style) = 0;
  // nullptr when no internet handle comes back.
  virtual std::unique_ptr<InternetSession> OpenInternet(TextView userAgent) = 0;
  // One byte of 128 or more through the ANSI code page.
  virtual char16_t AnsiToWide(uint8_t byte) = 0;
};

}  // namespace tarnwick::launcher
