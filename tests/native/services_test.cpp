#include <gtest/gtest.h>

#include "core/catalogue/sources.h"
#include "core/error.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

using sim::SimService;
namespace type = sim::service_type;
namespace state = sim::service_state;

class ServicesTest : public ::testing::Test {
 protected:
  TAutorunList Read() {
    TAutorunList list;
    ReadServices(list, windows.app());
    EXPECT_EQ(windows.services.OpenHandles(), 0) << "a handle was left open";
    return list;
  }
  sim::SimWindows windows;
};

TEST_F(ServicesTest, EntryFieldsComeFromEnumerationAndConfiguration) {
  const Text path = u"C:\\Windows\\system32\\svchost.exe -k netsvcs -p";
  windows.services.Add({u"Schedule", u"Task Scheduler", path, scm::kAutoStart, type::kShareProcess,
                        state::kRunning});
  const TAutorunList list = Read();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].FileName, path);  // unresolved, arguments kept
  EXPECT_EQ(list[0].RawData, path);
  EXPECT_EQ(list[0].Caption, u"Task Scheduler");
  EXPECT_EQ(list[0].Target, u"Schedule");
  EXPECT_EQ(list[0].From, u"SERV");
  EXPECT_TRUE(list[0].Enabled);
}

TEST_F(ServicesTest, EnabledExactlyWhenStartTypeIsAutomatic) {
  struct Case {
    const char16_t* name;
    uint32_t startType;
    uint32_t state;
    bool enabled;
  };
  const Case cases[] = {
      {u"AutoStopped", scm::kAutoStart, state::kStopped, true},
      {u"DemandRunning", scm::kDemandStart, state::kRunning, false},
      {u"Disabled", scm::kDisabled, state::kStopped, false},
      {u"Boot", scm::kBootStart, state::kRunning, false},
      {u"System", scm::kSystemStart, state::kRunning, false},
  };
  for (const Case& c : cases) {
    windows.services.Add({c.name, c.name, u"x.exe", c.startType, type::kOwnProcess, c.state});
  }
  const TAutorunList list = Read();
  ASSERT_EQ(list.size(), std::size(cases));
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].Target, cases[i].name);
    EXPECT_EQ(list[i].Enabled, cases[i].enabled) << ToUtf8(cases[i].name);
  }
}

TEST_F(ServicesTest, DriversAreNeverListed) {
  windows.services.Add({u"disk", u"Disk Driver", u"disk.sys", scm::kBootStart, type::kKernelDriver});
  windows.services.Add({u"Ntfs", u"Ntfs", u"", scm::kDemandStart, type::kFileSystemDriver});
  windows.services.Add({u"Own", u"Own", u"own.exe", scm::kAutoStart, type::kOwnProcess});
  const TAutorunList list = Read();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Target, u"Own");
}

TEST_F(ServicesTest, FoundAgainByServiceNameAfterDisplayNameChanges) {
  windows.services.Add({u"Updater", u"Updater", u"u.exe", scm::kAutoStart});
  windows.services.Find(u"Updater")->displayName = u"Updater (new)";
  const TAutorunList list = Read();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Target, u"Updater");
  EXPECT_EQ(list[0].Caption, u"Updater (new)");
}

TEST_F(ServicesTest, OneEnumerationCallIsAllThatIsMade) {
  for (int i = 0; i < 50; ++i) {
    const Text name = u"svc" + FromUtf8(std::to_string(i));
    windows.services.Add({name, name, u"x.exe", scm::kDemandStart});
  }
  EXPECT_EQ(Read().size(), 50u);
  EXPECT_EQ(windows.faults.CallCount("EnumServicesStatusW"), 1);
  EXPECT_EQ(windows.faults.CallCount("OpenSCManagerW"), 1);
}

TEST_F(ServicesTest, ManagerOrEnumerationFailureLeavesTheSourceEmpty) {
  windows.services.Add({u"A", u"A", u"a.exe", scm::kAutoStart});
  for (const char* call : {"OpenSCManagerW", "EnumServicesStatusW"}) {
    windows.faults.Clear();
    windows.faults.Fail(call);
    EXPECT_TRUE(Read().empty()) << call;
  }
}

TEST_F(ServicesTest, UnreadableServiceIsLeftOutAndTheRestListed) {
  for (const char16_t* name : {u"A", u"Protected", u"Vanishing", u"D"}) {
    windows.services.Add({name, name, u"x.exe", scm::kAutoStart});
  }
  windows.faults.Fail("OpenServiceW", u"Protected");
  windows.faults.Fail("QueryServiceConfigW", u"Vanishing");
  const TAutorunList list = Read();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Target, u"A");
  EXPECT_EQ(list[1].Target, u"D");
}

TEST_F(ServicesTest, ErrorWhileFillingPassesOnWithEarlierEntriesKeptAndHandlesClosed) {
  for (const char16_t* name : {u"A", u"B", u"C"}) {
    windows.services.Add({name, name, u"x.exe", scm::kAutoStart});
  }
  windows.faults.Throw("QueryServiceConfigW", u"B");
  TAutorunList list;
  EXPECT_THROW(ReadServices(list, windows.app()), TarnwickError);
  EXPECT_EQ(windows.services.OpenHandles(), 0);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Target, u"A");
}

TEST_F(ServicesTest, AppendsAfterWhatTheListAlreadyHolds) {
  windows.services.Add({u"A", u"A", u"a.exe", scm::kAutoStart});
  TAutorunList list(1);
  list[0].From = u"FILE";
  ReadServices(list, windows.app());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].From, u"FILE");
  EXPECT_EQ(list[1].From, u"SERV");
}

}  // namespace
}  // namespace tarnwick
