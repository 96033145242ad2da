// bench_floor (Windows): a repeated refresh on the real registry, file system, service
// manager and Task Scheduler, beside the floor: a bare loop making only the API calls needed
// to read the same data. Seeds 1,000 Run values (StartupApproved on every other one) and the
// places beyond the original four (more_places.h), and removes them again. Prints plain
// "name value" lines.

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/more_places.h"
#include "core/catalogue/catalogue.h"
#include "core/catalogue/startup_approved.h"
#include "core/startup/autorun_model.h"
#include "platform/sim/sim_file_info.h"
#include "platform/sim/fault_plan.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/task_sched_api.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_platform.h"

namespace tarnwick {
namespace {

using win32::UniqueFindHandle;
using win32::UniqueHkey;
using win32::UniqueScHandle;

constexpr wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRun32[] = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kApprovedRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr wchar_t kApprovedRun32[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32";
constexpr wchar_t kApprovedFolder[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";
constexpr wchar_t kBenchPrefix[] = L"TarnwickBench ";
constexpr int kValues = 1000;

struct RunKey {
  HKEY root;
  const wchar_t* key;
  const wchar_t* approved;
};
const RunKey kRunKeys[] = {
    {HKEY_LOCAL_MACHINE, kRun, kApprovedRun},
    {HKEY_LOCAL_MACHINE, kRun32, kApprovedRun32},
    {HKEY_CURRENT_USER, kRun, kApprovedRun},
};

UniqueHkey OpenKey(HKEY root, const wchar_t* path, REGSAM access) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path, 0, nullptr, 0, access | KEY_WOW64_64KEY, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return {};
  }
  return UniqueHkey(key);
}

// Removes every value this bench wrote, from an earlier run too.
void Unseed() {
  for (const RunKey& run : kRunKeys) {
    for (const wchar_t* path : {run.key, run.approved}) bench::DeleteValuesStartingWith(run.root, path, kBenchPrefix);
  }
}

bool Seed() {
  const BYTE off[12] = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
  for (int i = 0; i < kValues; ++i) {
    const RunKey& run = kRunKeys[i % 3];
    const std::wstring name = kBenchPrefix + std::to_wstring(i);
    const std::wstring data = L"\"C:\\Program Files\\Vendor" + std::to_wstring(i % 250) + L"\\app" +
                              std::to_wstring(i % 500) + L".exe\" --background";
    UniqueHkey key = OpenKey(run.root, run.key, KEY_SET_VALUE);
    if (!key || RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
      return false;
    }
    if (i % 2 == 0) continue;
    UniqueHkey approved = OpenKey(run.root, run.approved, KEY_SET_VALUE);
    if (!approved || RegSetValueExW(approved.get(), name.c_str(), 0, REG_BINARY, off, sizeof off) != ERROR_SUCCESS) {
      return false;
    }
  }
  return true;
}

// Every value of a key with its data, one open.
size_t ReadAllValues(HKEY root, const wchar_t* path) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ | KEY_WOW64_64KEY, &raw) != ERROR_SUCCESS) return 0;
  UniqueHkey key(raw);
  DWORD count = 0, maxName = 0, maxData = 0;
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, &maxData,
                       nullptr, nullptr) != ERROR_SUCCESS) {
    return 0;
  }
  std::wstring name(maxName + 1, L'\0');
  std::vector<BYTE> data(maxData + 2);
  size_t bytes = 0;
  for (DWORD i = 0; i < count; ++i) {
    DWORD nameLength = maxName + 1, dataLength = maxData, type = 0;
    if (RegEnumValueW(key.get(), i, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength) ==
        ERROR_SUCCESS) {
      bytes += dataLength;
    }
  }
  return bytes;
}

size_t ListFolder(int csidl) {
  wchar_t folder[MAX_PATH];
  if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) return 0;
  WIN32_FIND_DATAW found;
  UniqueFindHandle find(FindFirstFileW((std::wstring(folder) + L"\\*").c_str(), &found));
  size_t files = 0;
  if (!find) return 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
  } while (FindNextFileW(find.get(), &found));
  return files;
}

size_t ReadServices() {
  UniqueScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE));
  if (!manager) return 0;
  DWORD needed = 0, count = 0, resume = 0;
  EnumServicesStatusExW(manager.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed,
                        &count, &resume, nullptr);
  std::vector<BYTE> buffer(needed);
  resume = 0;
  if (!EnumServicesStatusExW(manager.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, buffer.data(),
                             needed, &needed, &count, &resume, nullptr)) {
    return 0;
  }
  const auto* services = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
  std::vector<BYTE> config;
  size_t read = 0;
  for (DWORD i = 0; i < count; ++i) {
    UniqueScHandle service(OpenServiceW(manager.get(), services[i].lpServiceName, SERVICE_QUERY_CONFIG));
    if (!service) continue;
    QueryServiceConfigW(service.get(), nullptr, 0, &needed);
    config.resize(needed);
    if (QueryServiceConfigW(service.get(), reinterpret_cast<QUERY_SERVICE_CONFIGW*>(config.data()), needed, &needed)) {
      ++read;
    }
  }
  return read;
}

// The same data a refresh reads, with as few calls as the API allows.
void Floor() {
  for (const RunKey& run : kRunKeys) {
    ReadAllValues(run.root, run.key);
    ReadAllValues(run.root, run.approved);
  }
  ListFolder(CSIDL_COMMON_STARTUP);
  ListFolder(CSIDL_STARTUP);
  ReadAllValues(HKEY_LOCAL_MACHINE, kApprovedFolder);
  ReadAllValues(HKEY_CURRENT_USER, kApprovedFolder);
  bench::FloorTasks();
  ReadServices();
  bench::FloorStoreApps();
  bench::FloorMoreKeys();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double TimeMs(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct Comparison {
  double ours, floor, ratio;
};

// Our code and the floor in turns, so that a slower or faster moment of the wineserver
// falls on both; the ratio is the median of the ratios of each turn.
Comparison Compare(int runs, const std::function<void()>& ours, const std::function<void()>& floor) {
  std::vector<double> oursMs, floorMs, ratios;
  for (int i = 0; i < runs; ++i) {
    oursMs.push_back(TimeMs(ours));
    floorMs.push_back(TimeMs(floor));
    ratios.push_back(oursMs.back() / floorMs.back());
  }
  return {Median(oursMs), Median(floorMs), Median(ratios)};
}

}  // namespace
}  // namespace tarnwick

int main() {
  using namespace tarnwick;
  Unseed();
  bench::UnseedMorePlaces();
  if (!Seed() || !bench::SeedMorePlaces()) {
    std::fprintf(stderr, "bench_floor: cannot seed the system\n");
    Unseed();
    bench::UnseedMorePlaces();
    return 1;
  }
  win32::Win32Platform platform;
  const AppContext app = AppContext::Start(platform.ports());

  TAutorunList list;
  RefreshAutorun(list, app);  // warms the caches both sides use
  Floor();
  constexpr int kRuns = 15;
  const Comparison refresh = Compare(
      kRuns,
      [&] {
        TAutorunList fresh;
        RefreshAutorun(fresh, app);
      },
      Floor);

  // The refresh and merge the window does, nothing changed since the last one.
  sim::FaultPlan faults;
  sim::SimImageCollection images(faults);
  FilterList fileWhite(app.ports.locale), nameWhite(app.ports.locale), nameBlack(app.ports.locale);
  AutorunModel model(images, {fileWhite, nameWhite, nameBlack});
  model.allList = true;
  model.LoadAutorun(app);
  const Comparison load = Compare(kRuns, [&] { model.LoadAutorun(app); }, Floor);

  // Where a difference lies: each source beside its part of the floor.
  const char* names[] = {"startup_folders", "run_keys", "tasks", "services", "store_apps", "more_keys"};
  const std::function<void()> floors[] = {
      [] {
        ListFolder(CSIDL_COMMON_STARTUP);
        ListFolder(CSIDL_STARTUP);
        ReadAllValues(HKEY_LOCAL_MACHINE, kApprovedFolder);
        ReadAllValues(HKEY_CURRENT_USER, kApprovedFolder);
      },
      [] {
        for (const RunKey& run : kRunKeys) {
          ReadAllValues(run.root, run.key);
          ReadAllValues(run.root, run.approved);
        }
      },
      bench::FloorTasks, [] { ReadServices(); }, bench::FloorStoreApps, bench::FloorMoreKeys};
  static_assert(std::size(names) == kCatalogueSources.size(), "a floor for every source");
  std::vector<Comparison> parts;
  for (size_t i = 0; i < kCatalogueSources.size(); ++i) {
    const CatalogueSource source = kCatalogueSources[i];
    parts.push_back(Compare(
        kRuns,
        [&] {
          TAutorunList part;
          source(part, app);
        },
        floors[i]));
  }
  Unseed();
  bench::UnseedMorePlaces();

  std::printf("wine_real_system: entries %zu (Run values seeded %d), medians of %d turns\n", list.size(), kValues,
              kRuns);
  std::printf("  repeat_refresh_ms %.2f  floor_ms %.2f  ratio_to_floor %.2f\n", refresh.ours, refresh.floor,
              refresh.ratio);
  std::printf("  repeat_load_ms %.2f  floor_ms %.2f  ratio_to_floor %.2f\n", load.ours, load.floor, load.ratio);
  for (size_t i = 0; i < parts.size(); ++i) {
    std::printf("  %s_ms %.2f  floor_ms %.2f  ratio %.2f\n", names[i], parts[i].ours, parts[i].floor, parts[i].ratio);
  }
  return 0;
}
