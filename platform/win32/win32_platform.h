#pragma once
// The real platform: owns one adapter per port and hands out the ports view.

#include "platform/win32/file_info_win32.h"
#include "platform/win32/locale_win32.h"
#include "platform/win32/network_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/service_manager_win32.h"
#include "platform/win32/shortcuts_win32.h"
#include "platform/win32/signatures_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/task_scheduler_win32.h"
#include "ports/ports.h"

namespace tarnwick::win32 {

class Win32Platform {
 public:
  Ports ports() {
    return Ports{services_, registry_, shellFolders_, systemInfo_, fileSystem_, clock_, com_, locale_, resources_, versions_, icons_, http_, shell_,
                 shortcuts_, signatures_};
  }

 private:
  Win32ServiceManager services_;
  Win32Registry registry_;
  Win32ShellFolders shellFolders_;
  Win32SystemInfo systemInfo_;
  Win32FileSystem fileSystem_;
  Win32Clock clock_;
  Win32ComRuntime com_;
  Win32Locale locale_;
  Win32Resources resources_;
  Win32VersionResources versions_;
  Win32IconSource icons_;
  WinHttpClient http_;
  Win32Shell shell_;
  Win32ShortcutReader shortcuts_;
  Win32SignatureVerifier signatures_;
};

}  // namespace tarnwick::win32
