#pragma once

#include "ports/shortcuts.h"

namespace tarnwick::win32 {

// IShellLinkW loaded through IPersistFile; COM is initialised for the call when the thread
// has none.
class Win32ShortcutReader final : public ShortcutReader {
 public:
  bool Read(TextView linkPath, ShortcutTarget& target) override;
};

}  // namespace tarnwick::win32
