// The registry contract against Wine's real registry, in a scratch key of the test prefix.

#include <windows.h>

#include "platform/win32/registry_win32.h"
#include "tests/contract/registry_contract.h"

namespace tarnwick::contract {
namespace {

class Win32Environment {
 public:
  Win32Environment() { RegDeleteTreeW(HKEY_CURRENT_USER, kScratch); }
  ~Win32Environment() { RegDeleteTreeW(HKEY_CURRENT_USER, kScratch); }
  Registry& registry() { return registry_; }
  Text scratch() const { return u"Software\\TarnwickTests\\Contract"; }

 private:
  static constexpr wchar_t kScratch[] = L"Software\\TarnwickTests\\Contract";
  win32::Win32Registry registry_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RegistryContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
