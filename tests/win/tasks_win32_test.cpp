// The task source and toggle against Wine's Task Scheduler, which connects but cannot
// enumerate tasks (get_Count is not implemented) and ignores put_Enabled.

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <mutex>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/task_session.h"
#include "core/catalogue/toggles.h"
#include "platform/win32/win32_platform.h"

namespace tarnwick::win32 {
namespace {

TEST(TasksWin32, RefreshEndsTheTaskSourceQuietlyAndListsServices) {
  Win32Platform platform;
  const AppContext app = AppContext::Start(platform.ports());
  TAutorunList list;
  RefreshAutorun(list, app);
  EXPECT_TRUE(std::any_of(list.begin(), list.end(), [](const TAutorunInfo& e) {
    return e.From == u"SERV" && e.Target == u"Spooler";
  }));

  (void)SetAutorunEnabled({u"SCHE", u"\\No Such Task"}, false, app);  // must not crash
}

TEST(TasksWin32, OurDeclarationsReachTheRealObjects) {
  Win32Platform platform;
  TaskSession session(platform.ports().com);
  ASSERT_NE(session.Service(), nullptr) << "CoCreateInstance or Connect failed";
  std::unique_ptr<ScheduledTaskFolder> root;
  ASSERT_EQ(session.Service()->GetFolder(u"\\", root), S_OK);
  std::unique_ptr<ScheduledTaskCollection> tasks;
  ASSERT_EQ(root->GetTasks(0, tasks), S_OK);
  int32_t count = -1;
  EXPECT_EQ(tasks->get_Count(count), E_NOTIMPL) << "Wine now enumerates tasks: test them for real";
  std::unique_ptr<ScheduledTask> missing;
  EXPECT_FALSE(Succeeded(root->GetTask(u"\\No Such Task", missing)));
}

TEST(TasksWin32, ConnectionGivesBackItsComInitialisation) {
  Win32Platform platform;
  const AppContext app = AppContext::Start(platform.ports());
  TAutorunList list;
  RefreshAutorun(list, app);
  RefreshAutorun(list, app);
  // The thread had no COM before: S_OK now means every initialisation was undone.
  const HRESULT fresh = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  EXPECT_EQ(fresh, S_OK);
  if (SUCCEEDED(fresh)) CoUninitialize();

  // A thread already in a single-threaded apartment is left in it.
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  RefreshAutorun(list, app);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
  CoUninitialize();
  CoUninitialize();
}

}  // namespace
}  // namespace tarnwick::win32
