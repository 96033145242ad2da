#pragma once
// TaskSchedApi: the program's own declarations of the Task Scheduler 2.0 interfaces it uses.
// Vtable order follows the published interfaces; methods the program never calls are
// declared with placeholder parameter types of the same size.

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

namespace tarnwick::win32::task_sched_api {

// {0F87369F-A4E5-4CFC-BD3E-73E6154572DD}
inline constexpr CLSID CLSID_TaskScheduler = {
    0x0F87369F, 0xA4E5, 0x4CFC, {0xBD, 0x3E, 0x73, 0xE6, 0x15, 0x45, 0x72, 0xDD}};
// {2FABA4C7-4DA9-4013-9697-20CC3FD40F85}
inline constexpr IID IID_ITaskService = {
    0x2FABA4C7, 0x4DA9, 0x4013, {0x96, 0x97, 0x20, 0xCC, 0x3F, 0xD4, 0x0F, 0x85}};

struct IRegisteredTask;
struct IRegisteredTaskCollection;
struct ITaskFolder;

struct ITaskService : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE GetFolder(BSTR path, ITaskFolder** folder) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRunningTasks(LONG flags, IDispatch** tasks) = 0;
  virtual HRESULT STDMETHODCALLTYPE NewTask(DWORD flags, IDispatch** definition) = 0;
  virtual HRESULT STDMETHODCALLTYPE Connect(VARIANT serverName, VARIANT user, VARIANT domain,
                                            VARIANT password) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Connected(VARIANT_BOOL* connected) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TargetServer(BSTR* server) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ConnectedUser(BSTR* user) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ConnectedDomain(BSTR* domain) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_HighestVersion(DWORD* version) = 0;
};

struct ITaskFolder : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Path(BSTR* path) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFolder(BSTR path, ITaskFolder** folder) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFolders(LONG flags, IDispatch** folders) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateFolder(BSTR name, VARIANT sddl, ITaskFolder** folder) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteFolder(BSTR name, LONG flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTask(BSTR path, IRegisteredTask** task) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTasks(LONG flags, IRegisteredTaskCollection** tasks) = 0;
  // DeleteTask, RegisterTask, RegisterTaskDefinition, GetSecurityDescriptor and
  // SetSecurityDescriptor follow; they are never called.
};

struct IRegisteredTaskCollection : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, IRegisteredTask** task) = 0;
  virtual HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) = 0;
};

struct ITaskFolderCollection : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, ITaskFolder** folder) = 0;
  virtual HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) = 0;
};

// {79184A66-8664-423F-97F1-637356A5D812}
inline constexpr IID IID_ITaskFolderCollection = {
    0x79184A66, 0x8664, 0x423F, {0x97, 0xF1, 0x63, 0x73, 0x56, 0xA5, 0xD8, 0x12}};

struct IRegisteredTask : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Path(BSTR* path) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_State(int* state) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* enabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL enabled) = 0;
  virtual HRESULT STDMETHODCALLTYPE Run(VARIANT params, IDispatch** running) = 0;
  virtual HRESULT STDMETHODCALLTYPE RunEx(VARIANT params, LONG flags, LONG session, BSTR user,
                                          IDispatch** running) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInstances(LONG flags, IDispatch** running) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_LastRunTime(DATE* date) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_LastTaskResult(LONG* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_NumberOfMissedRuns(LONG* runs) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_NextRunTime(DATE* date) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Definition(IDispatch** definition) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Xml(BSTR* xml) = 0;
  // GetSecurityDescriptor and the rest follow; they are never called.
};

}  // namespace tarnwick::win32::task_sched_api
