#pragma once
// The Task Scheduler port's contract, for the simulated scheduler (natively) and the COM
// adapter over our own declarations (under Wine). The environment gives a ComRuntime, says
// whether the platform can count a folder's tasks (Wine 8 answers E_NOTIMPL), and registers
// the task "\TarnwickContract\Probe" with a definition of its own (Register, for the test);
// Wine 8 stores a registered definition without its triggers and actions (keepsActions).
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, TaskSchedulerContract, Environment);

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/catalogue/task_session.h"
#include "ports/task_scheduler.h"

namespace tarnwick::contract {

template <typename Environment>
class TaskSchedulerContract : public ::testing::Test {
 protected:
  Environment environment_;
};

TYPED_TEST_SUITE_P(TaskSchedulerContract);

TYPED_TEST_P(TaskSchedulerContract, TheRootFolderIsThereAndAMissingTaskIsNotFound) {
  TaskSession session(this->environment_.com());
  ASSERT_NE(session.Service(), nullptr) << "CoCreateInstance or Connect failed";
  std::unique_ptr<ScheduledTaskFolder> root;
  ASSERT_EQ(session.Service()->GetFolder(u"\\", root), hresult::kOk);
  ASSERT_NE(root, nullptr) << "success always hands out the object";
  std::unique_ptr<ScheduledTask> task;
  EXPECT_EQ(root->GetTask(u"\\Tarnwick No Such Task", task), hresult::kFileNotFound);
  EXPECT_EQ(task, nullptr);
}

TYPED_TEST_P(TaskSchedulerContract, TheRootFoldersTasksAreCountedWhereThePlatformCan) {
  TaskSession session(this->environment_.com());
  ASSERT_NE(session.Service(), nullptr);
  std::unique_ptr<ScheduledTaskFolder> root;
  ASSERT_EQ(session.Service()->GetFolder(u"\\", root), hresult::kOk);
  std::unique_ptr<ScheduledTaskCollection> tasks;
  ASSERT_EQ(root->GetTasks(0, tasks), hresult::kOk);
  ASSERT_NE(tasks, nullptr);
  int32_t count = -1;
  const HResult counted = tasks->get_Count(count);
  if (!this->environment_.countsTasks()) {
    EXPECT_EQ(counted, hresult::kNotImpl) << "the platform counts tasks now: test them for real";
    return;
  }
  ASSERT_EQ(counted, hresult::kOk);
  EXPECT_GE(count, 0);
}

TYPED_TEST_P(TaskSchedulerContract, ATaskGivesItsDefinitionAndItsFolderIsListed) {
  const Text definition =
      u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Task version=\"1.2\" "
      u"xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\"><Settings><Enabled>true</Enabled></Settings>"
      u"<Actions Context=\"Author\"><Exec><Command>C:\\Probe\\probe.exe</Command></Exec></Actions></Task>";
  this->environment_.Register(definition);
  TaskSession session(this->environment_.com());
  ASSERT_NE(session.Service(), nullptr);
  std::unique_ptr<ScheduledTaskFolder> root;
  ASSERT_EQ(session.Service()->GetFolder(u"\\", root), hresult::kOk);
  std::unique_ptr<ScheduledTask> task;
  ASSERT_EQ(root->GetTask(u"\\TarnwickContract\\Probe", task), hresult::kOk);
  Text xml;
  ASSERT_EQ(task->get_Xml(xml), hresult::kOk);
  EXPECT_NE(xml.find(u"<Task"), Text::npos) << ToUtf8(xml);
  if (this->environment_.keepsActions()) EXPECT_NE(xml.find(u"C:\\Probe\\probe.exe"), Text::npos) << ToUtf8(xml);
  std::vector<Text> folders;
  ASSERT_EQ(root->GetFolderPaths(folders), hresult::kOk);
  EXPECT_NE(std::find(folders.begin(), folders.end(), u"\\TarnwickContract"), folders.end())
      << "folders are named by their full path";
}

REGISTER_TYPED_TEST_SUITE_P(TaskSchedulerContract, TheRootFolderIsThereAndAMissingTaskIsNotFound,
                            TheRootFoldersTasksAreCountedWhereThePlatformCan,
                            ATaskGivesItsDefinitionAndItsFolderIsListed);

}  // namespace tarnwick::contract
