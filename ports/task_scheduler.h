#pragma once
// Port: COM start-up and the Task Scheduler 2.0 objects, shaped like the COM calls the task
// code makes, so that its edge cases (COM already initialised, an error on the third task)
// can be produced. Every call returns an HRESULT; destroying an object releases it.
// A call that hands out an object either fails or sets it: success with no object is
// reported as E_POINTER. All calls are made from the user-interface thread.

#include <cstdint>
#include <memory>
#include <vector>

#include "core/text/text.h"

namespace tarnwick {

using HResult = int32_t;

namespace hresult {
inline constexpr HResult kOk = 0;
inline constexpr HResult kFalse = 1;
inline constexpr HResult kNotImpl = static_cast<HResult>(0x80004001);
inline constexpr HResult kFail = static_cast<HResult>(0x80004005);
inline constexpr HResult kNotInitialized = static_cast<HResult>(0x800401F0);  // CO_E_NOTINITIALIZED
inline constexpr HResult kChangedMode = static_cast<HResult>(0x80010106);     // RPC_E_CHANGED_MODE
inline constexpr HResult kTooLate = static_cast<HResult>(0x80010119);         // RPC_E_TOO_LATE
inline constexpr HResult kFileNotFound = static_cast<HResult>(0x80070002);
inline constexpr HResult kServiceNotRunning = static_cast<HResult>(0x80070426);
}  // namespace hresult

inline bool Succeeded(HResult result) { return result >= 0; }

inline constexpr int16_t kVariantTrue = -1;
inline constexpr int16_t kVariantFalse = 0;

class ScheduledTask {  // IRegisteredTask
 public:
  virtual ~ScheduledTask() = default;
  virtual HResult get_Name(Text& name) = 0;
  virtual HResult get_Enabled(int16_t& enabled) = 0;
  virtual HResult put_Enabled(int16_t enabled) = 0;
  // The task's definition as XML (the same text Windows keeps under System32\Tasks).
  virtual HResult get_Xml(Text& xml) = 0;
};

class ScheduledTaskCollection {  // IRegisteredTaskCollection
 public:
  virtual ~ScheduledTaskCollection() = default;
  virtual HResult get_Count(int32_t& count) = 0;
  // `index` is 1-based, passed as a VT_I4 variant.
  virtual HResult get_Item(int32_t index, std::unique_ptr<ScheduledTask>& task) = 0;
};

class ScheduledTaskFolder {  // ITaskFolder
 public:
  virtual ~ScheduledTaskFolder() = default;
  // Flags 0 leave out the tasks marked hidden.
  virtual HResult GetTasks(int32_t flags, std::unique_ptr<ScheduledTaskCollection>& tasks) = 0;
  virtual HResult GetTask(TextView path, std::unique_ptr<ScheduledTask>& task) = 0;
  // GetFolders(0), counted and walked: the full paths ("\Vendor") of the folders directly in
  // this one, in the scheduler's order.
  virtual HResult GetFolderPaths(std::vector<Text>& paths) = 0;
};

class ScheduledTaskService {  // ITaskService
 public:
  virtual ~ScheduledTaskService() = default;
  // Local computer, current user, current domain, no password.
  virtual HResult Connect() = 0;
  virtual HResult GetFolder(TextView path, std::unique_ptr<ScheduledTaskFolder>& folder) = 0;
};

// COM on the calling thread, and the Task Scheduler's class.
class ComRuntime {
 public:
  virtual ~ComRuntime() = default;
  virtual HResult CoInitializeEx() = 0;  // COINIT_MULTITHREADED
  // Default security for the process: authentication level packet, impersonate, no
  // capabilities.
  virtual HResult CoInitializeSecurity() = 0;
  // CoCreateInstance of CLSID_TaskScheduler for IID_ITaskService, in-process or local server.
  virtual HResult CreateTaskService(std::unique_ptr<ScheduledTaskService>& service) = 0;
  virtual void CoUninitialize() = 0;
};

}  // namespace tarnwick
