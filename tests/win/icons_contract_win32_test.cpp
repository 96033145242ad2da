// The icon ports' contract against Wine: our own program's icon into a real image list.

#include <windows.h>

#include "platform/win32/file_info_win32.h"
#include "tests/contract/icons_contract.h"
#include "tests/win/test_support.h"

namespace tarnwick::contract {
namespace {

class Win32Environment {
 public:
  IconSource& icons() { return icons_; }
  ImageCollection& images() { return images_; }
  Text withIcon() const { return test::BesideThisProgram(L"Tarnwick.exe"); }

 private:
  win32::Win32IconSource icons_;
  win32::Win32ImageList images_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, IconsContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
