#include "platform/sim/sim_task_scheduler.h"

namespace tarnwick::sim {

// Base of every simulated COM object: counts itself while alive.
class SimObject {
 public:
  explicit SimObject(SimTaskScheduler& scheduler) : scheduler_(scheduler) { ++scheduler_.liveObjects_; }
  ~SimObject() { --scheduler_.liveObjects_; }
  SimObject(const SimObject&) = delete;
  SimObject& operator=(const SimObject&) = delete;

 protected:
  bool Fails(const char* call, TextView subject = {}) { return scheduler_.faults_.ShouldFail(call, subject); }
  SimTaskScheduler& scheduler_;
};

namespace {

class Task final : public ScheduledTask, SimObject {
 public:
  Task(SimTaskScheduler& s, Text folder, Text name) : SimObject(s), folder_(std::move(folder)), name_(std::move(name)) {}

  HResult get_Name(Text& name) override {
    if (Fails("IRegisteredTask::get_Name", name_)) return hresult::kFail;
    name = name_;
    return hresult::kOk;
  }
  HResult get_Enabled(int16_t& enabled) override {
    const SimTask* task = scheduler_.Find(folder_, name_);
    if (Fails("IRegisteredTask::get_Enabled", name_) || !task) return hresult::kFail;
    enabled = task->enabled ? kVariantTrue : kVariantFalse;
    return hresult::kOk;
  }
  HResult put_Enabled(int16_t enabled) override {
    SimTask* task = scheduler_.Find(folder_, name_);
    if (Fails("IRegisteredTask::put_Enabled", name_) || !task) return hresult::kFail;
    task->enabled = enabled != kVariantFalse;
    return hresult::kOk;
  }
  HResult get_Xml(Text& xml) override {
    const SimTask* task = scheduler_.Find(folder_, name_);
    if (Fails("IRegisteredTask::get_Xml", name_) || !task) return hresult::kFail;
    xml = task->xml;
    return hresult::kOk;
  }

 private:
  Text folder_, name_;
};

class Collection final : public ScheduledTaskCollection, SimObject {
 public:
  Collection(SimTaskScheduler& s, Text folder, std::vector<Text> names)
      : SimObject(s), folder_(std::move(folder)), names_(std::move(names)) {}

  HResult get_Count(int32_t& count) override {
    if (Fails("IRegisteredTaskCollection::get_Count")) return hresult::kFail;
    count = static_cast<int32_t>(names_.size());
    return hresult::kOk;
  }
  HResult get_Item(int32_t index, std::unique_ptr<ScheduledTask>& task) override {
    if (Fails("IRegisteredTaskCollection::get_Item")) return hresult::kFail;
    if (index < 1 || index > static_cast<int32_t>(names_.size())) return hresult::kFail;
    task = std::make_unique<Task>(scheduler_, folder_, names_[index - 1]);
    return hresult::kOk;
  }

 private:
  Text folder_;
  std::vector<Text> names_;
};

class Folder final : public ScheduledTaskFolder, SimObject {
 public:
  Folder(SimTaskScheduler& s, Text path) : SimObject(s), path_(std::move(path)) {}

  HResult GetTasks(int32_t flags, std::unique_ptr<ScheduledTaskCollection>& tasks) override {
    if (Fails("ITaskFolder::GetTasks")) return hresult::kFail;
    constexpr int32_t kIncludeHidden = 1;  // TASK_ENUM_HIDDEN
    std::vector<Text> names;
    for (const SimTask& task : scheduler_.tasks) {
      if (SameTextAscii(task.folder, path_) && (!task.hidden || (flags & kIncludeHidden))) {
        names.push_back(task.name);
      }
    }
    tasks = std::make_unique<Collection>(scheduler_, path_, std::move(names));
    return hresult::kOk;
  }

  HResult GetTask(TextView path, std::unique_ptr<ScheduledTask>& task) override {
    if (Fails("ITaskFolder::GetTask", path)) return hresult::kFail;
    // "\Name" or "\Sub\Name", or a name relative to this folder.
    Text folder = path_;
    TextView name = path;
    if (const size_t slash = path.rfind(u'\\'); slash != TextView::npos) {
      folder = slash == 0 ? Text(u"\\") : Text(path.substr(0, slash));
      name = path.substr(slash + 1);
    }
    if (!scheduler_.Find(folder, name)) return hresult::kFileNotFound;
    task = std::make_unique<Task>(scheduler_, folder, Text(name));
    return hresult::kOk;
  }

  HResult GetFolderPaths(std::vector<Text>& paths) override {
    if (Fails("ITaskFolder::GetFolders", path_)) return hresult::kFail;
    const Text prefix = path_ == u"\\" ? path_ : path_ + u"\\";
    auto add = [&](TextView folder) {
      if (folder.size() <= prefix.size() || !SameTextAscii(folder.substr(0, prefix.size()), prefix)) return;
      const size_t end = folder.find(u'\\', prefix.size());
      const Text child(folder.substr(0, end));
      for (const Text& known : paths) {
        if (SameTextAscii(known, child)) return;
      }
      paths.push_back(child);
    };
    for (const Text& folder : scheduler_.folders) add(folder);
    for (const SimTask& task : scheduler_.tasks) add(task.folder);
    return hresult::kOk;
  }

 private:
  Text path_;
};

class Service final : public ScheduledTaskService, SimObject {
 public:
  explicit Service(SimTaskScheduler& s) : SimObject(s) {}

  HResult Connect() override {
    if (Fails("ITaskService::Connect") || !scheduler_.serviceRunning) return hresult::kServiceNotRunning;
    connected_ = true;
    return hresult::kOk;
  }
  HResult GetFolder(TextView path, std::unique_ptr<ScheduledTaskFolder>& folder) override {
    if (!connected_) return hresult::kFail;
    if (Fails("ITaskService::GetFolder", path)) return hresult::kFail;
    folder = std::make_unique<Folder>(scheduler_, Text(path));
    return hresult::kOk;
  }

 private:
  bool connected_ = false;
};

}  // namespace

SimTask* SimTaskScheduler::Find(TextView folder, TextView name) {
  // Tests edit `tasks` directly: the index is checked on use and rebuilt when stale.
  const Text key = FoldKey(folder) + u'\0' + FoldKey(name);
  auto matches = [&](size_t i) {
    return i < tasks.size() && SameTextAscii(tasks[i].folder, folder) && SameTextAscii(tasks[i].name, name);
  };
  if (auto it = index_.find(key); it != index_.end() && matches(it->second)) return &tasks[it->second];
  index_.clear();
  for (size_t i = 0; i < tasks.size(); ++i) index_.emplace(FoldKey(tasks[i].folder) + u'\0' + FoldKey(tasks[i].name), i);
  if (auto it = index_.find(key); it != index_.end()) return &tasks[it->second];
  return nullptr;
}

HResult SimTaskScheduler::CoInitializeEx() {
  if (faults_.ShouldFail("CoInitializeEx")) return hresult::kFail;
  if (apartment == Apartment::SingleThreaded) return hresult::kChangedMode;
  ++initCount;
  if (apartment == Apartment::Multithreaded) return hresult::kFalse;
  apartment = Apartment::Multithreaded;
  return hresult::kOk;
}

HResult SimTaskScheduler::CoInitializeSecurity() {
  if (faults_.ShouldFail("CoInitializeSecurity")) return hresult::kFail;
  if (apartment == Apartment::None) return hresult::kNotInitialized;
  if (securitySet) return hresult::kTooLate;
  securitySet = true;
  return hresult::kOk;
}

HResult SimTaskScheduler::CreateTaskService(std::unique_ptr<ScheduledTaskService>& service) {
  if (faults_.ShouldFail("CoCreateInstance")) return hresult::kFail;
  if (apartment == Apartment::None) return hresult::kNotInitialized;
  service = std::make_unique<Service>(*this);
  return hresult::kOk;
}

void SimTaskScheduler::CoUninitialize() {
  if (initCount == 0) return;  // unbalanced: Windows ignores it too
  if (--initCount == 0) apartment = Apartment::None;
}

}  // namespace tarnwick::sim
