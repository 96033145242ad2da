#include "bench/more_places.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "platform/win32/task_sched_api.h"
#include "platform/win32/unique_handle.h"

namespace tarnwick::bench {
namespace {

using win32::ComPtr;
using win32::UniqueFindHandle;
using win32::UniqueHandle;
using win32::UniqueHkey;
namespace tsa = win32::task_sched_api;

constexpr wchar_t kAppModel[] =
    L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel";
constexpr wchar_t kRunOnce[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr wchar_t kPolicyRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
constexpr wchar_t kWinlogon[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr wchar_t kPrefix[] = L"TarnwickBench";
constexpr int kApps = 20, kTaskFolders = 20, kTasksPerFolder = 10, kOnceValues = 100;

std::wstring Folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}
std::wstring TasksFolder() { return Folder(CSIDL_WINDOWS) + L"\\System32\\Tasks"; }
std::wstring AppsFolder() { return Folder(CSIDL_COMMON_APPDATA) + L"\\" + kPrefix; }
std::wstring Family(int i) { return std::wstring(kPrefix) + L".App" + std::to_wstring(i) + L"_8wekyb3d8bbwe"; }
std::wstring Package(int i) {
  return std::wstring(kPrefix) + L".App" + std::to_wstring(i) + L"_1.0.0.0_x64__8wekyb3d8bbwe";
}

UniqueHkey Key(HKEY root, const std::wstring& path, REGSAM access, bool create) {
  HKEY key = nullptr;
  const LONG result = create ? RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, access | KEY_WOW64_64KEY, nullptr,
                                               &key, nullptr)
                             : RegOpenKeyExW(root, path.c_str(), 0, access | KEY_WOW64_64KEY, &key);
  return result == ERROR_SUCCESS ? UniqueHkey(key) : UniqueHkey();
}

bool SetString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& data) {
  UniqueHkey key = Key(root, path, KEY_SET_VALUE, true);
  return key && RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::string Utf16(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF)};
  return bytes;
}

// Every value of a key with its data, one open: the floor of a registry source.
void ReadValues(HKEY root, const std::wstring& path) {
  UniqueHkey key = Key(root, path, KEY_READ, false);
  if (!key) return;
  DWORD count = 0, maxName = 0, maxData = 0;
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, &maxData,
                       nullptr, nullptr) != ERROR_SUCCESS) {
    return;
  }
  std::wstring name(maxName + 1, L'\0');
  std::vector<BYTE> data(maxData + 2);
  for (DWORD i = 0; i < count; ++i) {
    DWORD nameLength = maxName + 1, dataLength = maxData;
    RegEnumValueW(key.get(), i, name.data(), &nameLength, nullptr, nullptr, data.data(), &dataLength);
  }
}

std::vector<std::wstring> Subkeys(HKEY root, const std::wstring& path) {
  std::vector<std::wstring> names;
  UniqueHkey key = Key(root, path, KEY_READ, false);
  wchar_t name[256];
  for (DWORD i = 0; key; ++i) {
    DWORD length = std::size(name);
    if (RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

std::string ReadWholeFile(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string content;
  if (!file) return content;
  char buffer[16384];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
  return content;
}

bool Mentions(const std::string& utf16, const wchar_t* text) {
  std::string bytes;
  for (const wchar_t* c = text; *c; ++c) bytes += {static_cast<char>(*c & 0xFF), static_cast<char>((*c >> 8) & 0xFF)};
  return utf16.find(bytes) != std::string::npos;
}

// The definition files, and the state of each task that counts (every one in the root, those
// that run at logon or boot below it) from the scheduler.
void ReadTaskFiles(tsa::ITaskFolder* root, const std::wstring& folder, const std::wstring& taskFolder, int depth) {
  WIN32_FIND_DATAW found;
  UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find || depth > 16) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ReadTaskFiles(root, folder + L"\\" + name, taskFolder + name + L"\\", depth + 1);
      continue;
    }
    const std::string definition = ReadWholeFile(folder + L"\\" + name);
    if (!root || (depth > 0 && !Mentions(definition, L"<LogonTrigger") && !Mentions(definition, L"<BootTrigger"))) {
      continue;
    }
    BSTR path = SysAllocString((taskFolder + name).c_str());
    ComPtr<tsa::IRegisteredTask> task;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    if (SUCCEEDED(root->GetTask(path, task.put())) && task) task->get_Enabled(&enabled);
    SysFreeString(path);
  } while (FindNextFileW(find.get(), &found));
}

void DeleteTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  {
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (find) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          DeleteTree(folder + L"\\" + name);
        } else {
          DeleteFileW((folder + L"\\" + name).c_str());
        }
      } while (FindNextFileW(find.get(), &found));
    }
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

void DeleteValuesStartingWith(HKEY root, const wchar_t* path, const wchar_t* prefix) {
  UniqueHkey key = Key(root, path, KEY_READ | KEY_SET_VALUE, false);
  if (!key) return;
  std::vector<std::wstring> ours;
  wchar_t name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD length = std::size(name);
    if (RegEnumValueW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (std::wstring_view(name, length).starts_with(prefix)) ours.emplace_back(name, length);
  }
  for (const std::wstring& value : ours) RegDeleteValueW(key.get(), value.c_str());
}

bool SeedMorePlaces() {
  for (int i = 0; i < kOnceValues; ++i) {
    const std::wstring name = std::wstring(kPrefix) + L" " + std::to_wstring(i);
    if (!SetString(HKEY_LOCAL_MACHINE, kRunOnce, name, L"C:\\Setup\\step" + std::to_wstring(i) + L".exe /once") ||
        !SetString(HKEY_CURRENT_USER, kPolicyRun, name, L"C:\\Corp\\agent" + std::to_wstring(i) + L".exe")) {
      return false;
    }
  }
  CreateDirectoryW(AppsFolder().c_str(), nullptr);
  for (int i = 0; i < kApps; ++i) {
    const std::wstring folder = AppsFolder() + L"\\" + Package(i);
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring manifest =
        L"<?xml version=\"1.0\" encoding=\"utf-16\"?><Package xmlns:uap5=\"http://schemas.microsoft.com/appx/"
        L"manifest/uap/windows10/5\"><Applications><Application Id=\"App\"><Extensions><uap5:Extension "
        L"Category=\"windows.startupTask\" Executable=\"Tray.exe\"><uap5:StartupTask TaskId=\"Startup\" "
        L"DisplayName=\"Bench App " + std::to_wstring(i) + L"\"/></uap5:Extension></Extensions></Application>"
        L"</Applications></Package>";
    if (!WriteFileBytes(folder + L"\\AppxManifest.xml", Utf16(manifest))) return false;
    UniqueHkey task = Key(HKEY_CURRENT_USER, std::wstring(kAppModel) + L"\\SystemAppData\\" + Family(i) + L"\\Startup",
                          KEY_SET_VALUE, true);
    const DWORD state = 2;
    if (!task || RegSetValueExW(task.get(), L"State", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&state),
                                sizeof state) != ERROR_SUCCESS ||
        !SetString(HKEY_CURRENT_USER, std::wstring(kAppModel) + L"\\Repository\\Packages\\" + Package(i),
                   L"PackageRootFolder", folder)) {
      return false;
    }
  }
  const std::wstring tasks = TasksFolder() + L"\\" + kPrefix;
  CreateDirectoryW(TasksFolder().c_str(), nullptr);
  CreateDirectoryW(tasks.c_str(), nullptr);
  for (int f = 0; f < kTaskFolders; ++f) {
    const std::wstring folder = tasks + L"\\Vendor" + std::to_wstring(f);
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int t = 0; t < kTasksPerFolder; ++t) {
      const std::wstring definition =
          L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/"
          L"windows/2004/02/mit/task\"><Triggers>" +
          std::wstring(t % 2 ? L"<LogonTrigger/>" : L"<CalendarTrigger/>") +
          L"</Triggers><Settings><Enabled>true</Enabled></Settings><Actions><Exec><Command>C:\\Vendor\\update" +
          std::to_wstring(t) + L".exe</Command></Exec></Actions></Task>";
      if (!WriteFileBytes(folder + L"\\Task" + std::to_wstring(t), Utf16(definition))) return false;
    }
  }
  return true;
}

void UnseedMorePlaces() {
  DeleteValuesStartingWith(HKEY_LOCAL_MACHINE, kRunOnce, kPrefix);
  DeleteValuesStartingWith(HKEY_CURRENT_USER, kPolicyRun, kPrefix);
  for (const wchar_t* part : {L"\\SystemAppData", L"\\Repository\\Packages"}) {
    const std::wstring path = std::wstring(kAppModel) + part;
    for (const std::wstring& name : Subkeys(HKEY_CURRENT_USER, path)) {
      if (name.starts_with(kPrefix)) RegDeleteTreeW(HKEY_CURRENT_USER, (path + L"\\" + name).c_str());
    }
  }
  DeleteTree(AppsFolder());
  DeleteTree(TasksFolder() + L"\\" + kPrefix);
}

void FloorTasks() {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    bool counted = false;
    ComPtr<tsa::ITaskService> service;
    ComPtr<tsa::ITaskFolder> folder;
    ComPtr<tsa::IRegisteredTaskCollection> tasks;
    VARIANT empty;
    VariantInit(&empty);
    BSTR root = SysAllocString(L"\\");
    LONG count = 0;
    if (SUCCEEDED(CoCreateInstance(tsa::CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, tsa::IID_ITaskService,
                                   reinterpret_cast<void**>(service.put()))) &&
        SUCCEEDED(service->Connect(empty, empty, empty, empty)) && SUCCEEDED(service->GetFolder(root, folder.put())) &&
        SUCCEEDED(folder->GetTasks(0, tasks.put()))) {
      counted = SUCCEEDED(tasks->get_Count(&count));
    }
    SysFreeString(root);
    if (!counted) ReadTaskFiles(folder.get(), TasksFolder(), L"\\", 0);
  }
  if (SUCCEEDED(init)) CoUninitialize();
}

void FloorStoreApps() {
  const std::wstring data = std::wstring(kAppModel) + L"\\SystemAppData";
  for (const std::wstring& family : Subkeys(HKEY_CURRENT_USER, data)) {
    for (const std::wstring& task : Subkeys(HKEY_CURRENT_USER, data + L"\\" + family)) {
      ReadValues(HKEY_CURRENT_USER, data + L"\\" + family + L"\\" + task);
    }
  }
  const std::wstring packages = std::wstring(kAppModel) + L"\\Repository\\Packages";
  for (const std::wstring& package : Subkeys(HKEY_CURRENT_USER, packages)) {
    ReadValues(HKEY_CURRENT_USER, packages + L"\\" + package);
    if (package.starts_with(kPrefix)) (void)ReadWholeFile(AppsFolder() + L"\\" + package + L"\\AppxManifest.xml");
  }
}

void FloorMoreKeys() {
  ReadValues(HKEY_LOCAL_MACHINE, kRunOnce);
  ReadValues(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce");
  ReadValues(HKEY_CURRENT_USER, kRunOnce);
  ReadValues(HKEY_LOCAL_MACHINE, kPolicyRun);
  ReadValues(HKEY_CURRENT_USER, kPolicyRun);
  ReadValues(HKEY_LOCAL_MACHINE, kWinlogon);
}

}  // namespace tarnwick::bench
