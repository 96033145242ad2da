#pragma once
// The Task Scheduler port's contract, for the simulated scheduler (natively) and the COM
// adapter over our own declarations (under Wine). The environment gives a ComRuntime and says
// whether the platform can count a folder's tasks (Wine 8 answers E_NOTIMPL).
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, TaskSchedulerContract, Environment);

#include <gtest/gtest.h>

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

REGISTER_TYPED_TEST_SUITE_P(TaskSchedulerContract, TheRootFolderIsThereAndAMissingTaskIsNotFound,
                            TheRootFoldersTasksAreCountedWhereThePlatformCan);

}  // namespace tarnwick::contract
