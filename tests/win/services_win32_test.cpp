// The service source against Wine's real service control manager.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "core/catalogue/catalogue.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "tests/win/test_support.h"

namespace tarnwick::win32 {
namespace {

constexpr wchar_t kName[] = L"TarnwickTestSvc";
// Quoted, with arguments and non-ASCII text: nothing may be resolved or re-encoded.
constexpr wchar_t kBinaryPath[] = L"\"C:\\Program Files\\타른윅 Test\\svc.exe\" -k group /x";
constexpr wchar_t kDisplayName[] = L"Tarnwick Test Service \u00E9\uD55C";

// The service of one test.
class TestService : public test::ScratchService {
 public:
  TestService() : ScratchService(kName, kDisplayName, kBinaryPath) {}
};

const TAutorunInfo* FindService(const TAutorunList& list, TextView name) {
  auto it = std::find_if(list.begin(), list.end(), [&](const TAutorunInfo& e) {
    return e.From == u"SERV" && SameTextAscii(e.Target, name);
  });
  return it == list.end() ? nullptr : &*it;
}

class ServicesWin32Test : public ::testing::Test {
 protected:
  TAutorunList Refresh() {
    TAutorunList list;
    RefreshAutorun(list, AppContext::Start(platform.ports()));
    return list;
  }
  void SetStartType(uint32_t startType) {
    auto manager = platform.ports().services.Connect(scm::kConnect);
    ASSERT_TRUE(manager);
    auto service = manager->Open(FromWide(kName), scm::kChangeConfig | scm::kStop);
    ASSERT_TRUE(service);
    ASSERT_TRUE(service->ChangeStartType(startType));
  }
  Win32Platform platform;
};

TEST_F(ServicesWin32Test, CreatedServiceIsListedWithEveryField) {
  TestService created;
  ASSERT_TRUE(created) << "CreateServiceW failed: " << GetLastError();

  const TAutorunList list = Refresh();
  const TAutorunInfo* entry = FindService(list, FromWide(kName));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Target, FromWide(kName));
  EXPECT_EQ(entry->Caption, FromWide(kDisplayName));
  EXPECT_EQ(entry->FileName, FromWide(kBinaryPath));
  EXPECT_EQ(entry->RawData, FromWide(kBinaryPath));
  EXPECT_FALSE(entry->Enabled);  // on demand
}

TEST_F(ServicesWin32Test, EnabledFollowsTheStartType) {
  TestService created;
  ASSERT_TRUE(created);
  const struct {
    uint32_t startType;
    bool enabled;
  } steps[] = {{scm::kAutoStart, true}, {scm::kDisabled, false}, {scm::kDemandStart, false},
               {scm::kAutoStart, true}};
  for (const auto& step : steps) {
    SetStartType(step.startType);
    const TAutorunList list = Refresh();
    const TAutorunInfo* entry = FindService(list, FromWide(kName));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Enabled, step.enabled) << "start type " << step.startType;
  }
}

TEST_F(ServicesWin32Test, WinesOwnServicesAreListedAndDriversAreNot) {
  const TAutorunList list = Refresh();
  EXPECT_NE(FindService(list, u"Spooler"), nullptr);
  EXPECT_NE(FindService(list, u"RpcSs"), nullptr);
  // Wine registers these as kernel drivers.
  for (const char16_t* driver : {u"mountmgr", u"winebus", u"nsiproxy"}) {
    EXPECT_EQ(FindService(list, driver), nullptr) << ToUtf8(driver);
  }
}

TEST_F(ServicesWin32Test, MissingServiceCannotBeOpened) {
  auto manager = platform.ports().services.Connect(scm::kConnect);
  ASSERT_TRUE(manager);
  EXPECT_EQ(manager->Open(u"NoSuchServiceHere", scm::kQueryConfig), nullptr);
}

}  // namespace
}  // namespace tarnwick::win32
