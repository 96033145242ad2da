#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/gdi.h"
#include "ports/file_info.h"

namespace tarnwick::win32 {

class Win32VersionResources final : public VersionResources {
 public:
  std::unique_ptr<VersionBlock> Read(TextView path) override;
};

class Win32IconSource final : public IconSource {
 public:
  std::unique_ptr<Icon> ExtractAssociated(TextView file, uint16_t index) override;
};

// An image list of 16 x 16 images scaled by `scale`; it owns the HIMAGELIST.
class Win32ImageList final : public ImageCollection {
 public:
  explicit Win32ImageList(int size = 16);
  Win32ImageList(const Win32ImageList&) = delete;
  Win32ImageList& operator=(const Win32ImageList&) = delete;

  int Count() const override;
  bool AddIcon(const Icon& icon, TextView name) override;
  HIMAGELIST get() const { return list_.get(); }
  // An empty list of images `size` pixels square in place of this one (a move to another DPI).
  void Reset(int size);

 private:
  UniqueImageList list_;
};

}  // namespace tarnwick::win32
