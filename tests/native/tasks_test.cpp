#include <gtest/gtest.h>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/toggles.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

using sim::Apartment;

class TasksTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(windows.tasks.LiveObjects(), 0) << "a COM reference was not released";
  }
  TAutorunList Tasks() {
    TAutorunList list;
    RefreshAutorun(list, windows.app());
    std::erase_if(list, [](const TAutorunInfo& e) { return e.From != u"SCHE"; });
    return list;
  }
  sim::SimWindows windows;
  sim::SimTaskScheduler& scheduler = windows.tasks;
};

TEST_F(TasksTest, RootFolderTasksBecomeEntries) {
  scheduler.tasks = {{u"\\", u"My Task", true, false},
                     {u"\\", u"Off", false, false},
                     {u"\\", u"Secret", true, true},
                     {u"\\Microsoft", u"Deep", true, false}};
  const TAutorunList list = Tasks();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Caption, u"My Task");
  EXPECT_EQ(list[0].Target, u"\\My Task");
  EXPECT_EQ(list[0].FileName, u"");
  EXPECT_EQ(list[0].RawData, u"");
  EXPECT_TRUE(list[0].Enabled);
  EXPECT_EQ(list[1].Target, u"\\Off");
  EXPECT_FALSE(list[1].Enabled);
}

TEST_F(TasksTest, ErrorOnTheThirdTaskKeepsTheFirstTwoAndTheServices) {
  scheduler.tasks = {{u"\\", u"One"}, {u"\\", u"Two"}, {u"\\", u"Three"}, {u"\\", u"Four"}};
  windows.services.Add({u"Svc", u"Svc", u"s.exe", scm::kAutoStart});
  windows.faults.Fail("IRegisteredTask::get_Name", u"Three");
  TAutorunList list;
  RefreshAutorun(list, windows.app());
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].Caption, u"One");
  EXPECT_EQ(list[1].Caption, u"Two");
  EXPECT_EQ(list[2].From, u"SERV");
}

TEST_F(TasksTest, UnavailableSchedulerGivesNoTaskEntries) {
  scheduler.tasks = {{u"\\", u"One"}};
  windows.services.Add({u"Svc", u"Svc", u"s.exe", scm::kAutoStart});
  for (const char* call : {"CoInitializeEx", "CoInitializeSecurity", "CoCreateInstance",
                           "ITaskService::Connect", "ITaskService::GetFolder", "ITaskFolder::GetTasks",
                           "IRegisteredTaskCollection::get_Count"}) {
    windows.faults.Clear();
    windows.faults.Fail(call);
    TAutorunList list;
    RefreshAutorun(list, windows.app());
    ASSERT_EQ(list.size(), 1u) << call;
    EXPECT_EQ(list[0].From, u"SERV") << call;
    EXPECT_EQ(scheduler.initCount, 0) << call;
  }
  windows.faults.Clear();
  scheduler.serviceRunning = false;
  EXPECT_TRUE(Tasks().empty());
}

TEST_F(TasksTest, ComIsLeftAsTheThreadHadIt) {
  scheduler.tasks = {{u"\\", u"One"}};
  struct Case {
    Apartment apartment;
    int initCount;
  };
  for (const Case& start : {Case{Apartment::None, 0}, Case{Apartment::Multithreaded, 1},
                            Case{Apartment::SingleThreaded, 1}}) {
    scheduler.apartment = start.apartment;
    scheduler.initCount = start.initCount;
    for (int refresh = 0; refresh < 2; ++refresh) {
      EXPECT_EQ(Tasks().size(), 1u);
      EXPECT_EQ(scheduler.apartment, start.apartment);
      EXPECT_EQ(scheduler.initCount, start.initCount);
    }
  }
  EXPECT_GE(windows.faults.CallCount("CoInitializeSecurity"), 2) << "a fresh connection per refresh";
}

TEST_F(TasksTest, SecurityAlreadySetIsFine) {
  scheduler.tasks = {{u"\\", u"One"}};
  scheduler.securitySet = true;  // RPC_E_TOO_LATE
  EXPECT_EQ(Tasks().size(), 1u);
}

TEST_F(TasksTest, ToggleSetsTheFlagAndToleratesMissingTasks) {
  scheduler.tasks = {{u"\\", u"My Task", true, false}};
  (void)SetAutorunEnabled({u"sche", u"\\My Task"}, false, windows.app());
  EXPECT_FALSE(scheduler.Find(u"\\", u"My Task")->enabled);
  ASSERT_EQ(Tasks().size(), 1u);
  EXPECT_FALSE(Tasks()[0].Enabled);
  (void)SetAutorunEnabled({u"SCHE", u"\\My Task"}, true, windows.app());
  EXPECT_TRUE(scheduler.Find(u"\\", u"My Task")->enabled);

  EXPECT_EQ(SetAutorunEnabled({u"SCHE", u"\\Deleted Meanwhile"}, false, windows.app()), SwitchStatus::NotFound);
  windows.faults.Fail("IRegisteredTask::put_Enabled");
  EXPECT_EQ(SetAutorunEnabled({u"SCHE", u"\\My Task"}, false, windows.app()), SwitchStatus::Refused);
  EXPECT_TRUE(scheduler.Find(u"\\", u"My Task")->enabled);
  scheduler.serviceRunning = false;
  (void)SetAutorunEnabled({u"SCHE", u"\\My Task"}, false, windows.app());
  EXPECT_TRUE(scheduler.Find(u"\\", u"My Task")->enabled);
}

}  // namespace
}  // namespace tarnwick
