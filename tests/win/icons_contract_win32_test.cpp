// The icon ports' contract against Wine: our own program's icon into a real image list.

#include <windows.h>

#include "platform/win32/file_info_win32.h"
#include "platform/win32/wide.h"
#include "tests/contract/icons_contract.h"

namespace tarnwick::contract {
namespace {

class Win32Environment {
 public:
  IconSource& icons() { return icons_; }
  ImageCollection& images() { return images_; }
  Text withIcon() const {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return win32::FromWide((path.substr(0, path.find_last_of(L'\\') + 1) + L"Tarnwick.exe").c_str());
  }

 private:
  win32::Win32IconSource icons_;
  win32::Win32ImageList images_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, IconsContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
