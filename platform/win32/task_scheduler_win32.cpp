#include "platform/win32/task_scheduler_win32.h"

#include "platform/win32/com_ptr.h"
#include "platform/win32/task_sched_api.h"
#include "platform/win32/wide.h"

namespace tarnwick::win32 {

namespace api = task_sched_api;

namespace {

class Task final : public ScheduledTask {
 public:
  explicit Task(ComPtr<api::IRegisteredTask> task) : task_(std::move(task)) {}
  HResult get_Name(Text& name) override {
    UniqueBstr value;
    const HRESULT result = task_->get_Name(value.put());
    if (SUCCEEDED(result)) name = value.get() ? FromWide(value.get(), SysStringLen(value.get())) : Text();
    return result;
  }
  HResult get_Enabled(int16_t& enabled) override {
    VARIANT_BOOL value = VARIANT_FALSE;
    const HRESULT result = task_->get_Enabled(&value);
    if (SUCCEEDED(result)) enabled = value;
    return result;
  }
  HResult put_Enabled(int16_t enabled) override { return task_->put_Enabled(enabled); }
  HResult get_Xml(Text& xml) override {
    UniqueBstr value;
    const HRESULT result = task_->get_Xml(value.put());
    if (SUCCEEDED(result)) xml = value.get() ? FromWide(value.get(), SysStringLen(value.get())) : Text();
    return result;
  }

 private:
  ComPtr<api::IRegisteredTask> task_;
};

class Collection final : public ScheduledTaskCollection {
 public:
  explicit Collection(ComPtr<api::IRegisteredTaskCollection> tasks) : tasks_(std::move(tasks)) {}
  HResult get_Count(int32_t& count) override {
    LONG value = 0;
    const HRESULT result = tasks_->get_Count(&value);
    if (SUCCEEDED(result)) count = value;
    return result;
  }
  HResult get_Item(int32_t index, std::unique_ptr<ScheduledTask>& task) override {
    UniqueVariant position;
    position.get().vt = VT_I4;
    position.get().lVal = index;
    ComPtr<api::IRegisteredTask> item;
    const HRESULT result = tasks_->get_Item(position.get(), item.put());
    if (SUCCEEDED(result)) task = item ? std::make_unique<Task>(std::move(item)) : nullptr;
    return SUCCEEDED(result) && !task ? E_POINTER : result;
  }

 private:
  ComPtr<api::IRegisteredTaskCollection> tasks_;
};

class Folder final : public ScheduledTaskFolder {
 public:
  explicit Folder(ComPtr<api::ITaskFolder> folder) : folder_(std::move(folder)) {}
  HResult GetTasks(int32_t flags, std::unique_ptr<ScheduledTaskCollection>& tasks) override {
    ComPtr<api::IRegisteredTaskCollection> collection;
    const HRESULT result = folder_->GetTasks(flags, collection.put());
    if (SUCCEEDED(result)) tasks = collection ? std::make_unique<Collection>(std::move(collection)) : nullptr;
    return SUCCEEDED(result) && !tasks ? E_POINTER : result;
  }
  HResult GetTask(TextView path, std::unique_ptr<ScheduledTask>& task) override {
    UniqueBstr name(Wide(path).c_str());
    ComPtr<api::IRegisteredTask> item;
    const HRESULT result = folder_->GetTask(name.get(), item.put());
    if (SUCCEEDED(result)) task = item ? std::make_unique<Task>(std::move(item)) : nullptr;
    return SUCCEEDED(result) && !task ? E_POINTER : result;
  }
  HResult GetFolderPaths(std::vector<Text>& paths) override {
    ComPtr<IDispatch> dispatch;
    HRESULT result = folder_->GetFolders(0, dispatch.put());
    if (FAILED(result)) return result;
    if (!dispatch) return E_POINTER;
    ComPtr<api::ITaskFolderCollection> folders;
    result = dispatch->QueryInterface(api::IID_ITaskFolderCollection, reinterpret_cast<void**>(folders.put()));
    if (FAILED(result)) return result;
    LONG count = 0;
    if (result = folders->get_Count(&count); FAILED(result)) return result;
    for (LONG index = 1; index <= count; ++index) {
      UniqueVariant position;
      position.get().vt = VT_I4;
      position.get().lVal = index;
      ComPtr<api::ITaskFolder> item;
      if (result = folders->get_Item(position.get(), item.put()); FAILED(result)) return result;
      if (!item) return E_POINTER;
      UniqueBstr path;
      if (result = item->get_Path(path.put()); FAILED(result)) return result;
      paths.push_back(path.get() ? FromWide(path.get(), SysStringLen(path.get())) : Text());
    }
    return S_OK;
  }

 private:
  ComPtr<api::ITaskFolder> folder_;
};

class Service final : public ScheduledTaskService {
 public:
  explicit Service(ComPtr<api::ITaskService> service) : service_(std::move(service)) {}
  HResult Connect() override {
    UniqueVariant server, user, domain, password;  // VT_EMPTY: local, current user and domain
    return service_->Connect(server.get(), user.get(), domain.get(), password.get());
  }
  HResult GetFolder(TextView path, std::unique_ptr<ScheduledTaskFolder>& folder) override {
    UniqueBstr name(Wide(path).c_str());
    ComPtr<api::ITaskFolder> item;
    const HRESULT result = service_->GetFolder(name.get(), item.put());
    if (SUCCEEDED(result)) folder = item ? std::make_unique<Folder>(std::move(item)) : nullptr;
    return SUCCEEDED(result) && !folder ? E_POINTER : result;
  }

 private:
  ComPtr<api::ITaskService> service_;
};

}  // namespace

HResult Win32ComRuntime::CoInitializeEx() { return ::CoInitializeEx(nullptr, COINIT_MULTITHREADED); }

HResult Win32ComRuntime::CoInitializeSecurity() {
  return ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT,
                                RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
}

HResult Win32ComRuntime::CreateTaskService(std::unique_ptr<ScheduledTaskService>& service) {
  ComPtr<api::ITaskService> created;
  const HRESULT result =
      CoCreateInstance(api::CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                       api::IID_ITaskService, reinterpret_cast<void**>(created.put()));
  if (SUCCEEDED(result) && created) service = std::make_unique<Service>(std::move(created));
  return SUCCEEDED(result) && !service ? E_NOINTERFACE : result;
}

void Win32ComRuntime::CoUninitialize() { ::CoUninitialize(); }

}  // namespace tarnwick::win32
