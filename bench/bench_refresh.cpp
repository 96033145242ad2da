// bench: how long a refresh and merge of the startup list take on a large simulated system,
// and how the cost grows with its size. Prints plain "name value" lines.

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/catalogue/startup_approved.h"
#include "core/startup/autorun_model.h"
#include "core/startup/startup_list.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

constexpr char16_t kRun[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char16_t kRun32[] = u"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

Text Number(int i) { return FromUtf8(std::to_string(i)); }

// 1,000 Run values over the three keys, 300 startup files, 500 services, 200 root tasks, and
// the places beyond them, times `scale`; StartupApproved values on every other entry; files
// with versions and icons.
void Seed(sim::SimWindows& w, int scale) {
  const Bytes off = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
  const Text approvedRun(startup_approved::kRunKey.substr(1));
  const Text approvedRun32(startup_approved::kRun32Key.substr(1));
  const Text approvedFolder(startup_approved::kStartupFolderKey.substr(1));
  for (int i = 0; i < 1000 * scale; ++i) {
    const RootKey root = i % 3 == 2 ? root::kCurrentUser : root::kLocalMachine;
    const bool wow = i % 3 == 1;
    const Text name = u"Vendor App " + Number(i);
    const Text folder = u"C:\\Program Files\\Vendor" + Number(i % 250);
    const Text file = folder + u"\\app" + Number(i % 500) + u".exe";
    w.files.AddFile(folder, u"app" + Number(i % 500) + u".exe");
    w.versions.SetProductName(file, u"Vendor Product " + Number(i % 500));
    w.icons.SetIcons(file, 1);
    w.registry.SetString(root, wow ? kRun32 : kRun, name, u"\"" + file + u"\" --background");
    if (i % 2) w.registry.SetBinary(root, wow ? approvedRun32 : approvedRun, name, off);
  }
  for (int i = 0; i < 300 * scale; ++i) {
    const bool common = i % 2;
    const Text name = u"Shortcut " + Number(i) + u".lnk";
    w.files.AddFile(common ? sim::kCommonStartup : sim::kUserStartup, name);
    if (i % 2) w.registry.SetBinary(common ? root::kLocalMachine : root::kCurrentUser, approvedFolder, name, off);
  }
  for (int i = 0; i < 500 * scale; ++i) {
    const Text name = u"VendorService" + Number(i);
    w.services.Add({name, u"Vendor Service " + Number(i), u"C:\\Svc\\svc" + Number(i) + u".exe",
                    i % 2 ? scm::kAutoStart : scm::kDisabled});
  }
  for (int i = 0; i < 200 * scale; ++i) w.tasks.tasks.push_back({u"\\", u"Vendor Task " + Number(i), i % 2 == 0});
  // The places beyond the original four: tasks in 20 folders (half at logon), Store app
  // startup tasks with manifests, RunOnce and policy Run values.
  for (int i = 0; i < 200 * scale; ++i) {
    const Text trigger = i % 2 ? u"<LogonTrigger/>" : u"<CalendarTrigger/>";
    w.tasks.tasks.push_back({u"\\Vendor" + Number(i % 20), u"Task " + Number(i), true, false,
                             u"<Task><Triggers>" + trigger + u"</Triggers><Actions><Exec><Command>C:\\Svc\\t" +
                                 Number(i) + u".exe</Command></Exec></Actions></Task>"});
  }
  const Text appModel = u"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel";
  for (int i = 0; i < 20 * scale; ++i) {
    const Text folder = u"C:\\Program Files\\WindowsApps\\Bench.App" + Number(i) + u"_1.0.0.0_x64__pub";
    w.registry.SetDword(root::kCurrentUser, appModel + u"\\SystemAppData\\Bench.App" + Number(i) + u"_pub\\Startup",
                        u"State", 2);
    w.registry.SetString(root::kCurrentUser, appModel + u"\\Repository\\Packages\\Bench.App" + Number(i) +
                         u"_1.0.0.0_x64__pub", u"PackageRootFolder", folder);
    w.files.AddFolder(folder);
    Text message;
    (void)w.files.WriteWholeFile(folder + u"\\AppxManifest.xml",
                                 "<Package><Extension Category=\"windows.startupTask\" Executable=\"Tray.exe\">"
                                 "<StartupTask TaskId=\"Startup\" DisplayName=\"Bench App\"/></Extension></Package>",
                                 message);
  }
  for (int i = 0; i < 100 * scale; ++i) {
    w.registry.SetString(root::kLocalMachine, u"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                         u"Step " + Number(i), u"C:\\Setup\\step.exe /once");
    w.registry.SetString(root::kCurrentUser, u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run",
                         u"Agent " + Number(i), u"C:\\Corp\\agent.exe");
  }
}

struct Figures {
  double firstMs, repeatMs;
  double refreshMs;  // the platform reads alone; the rest of a repeat is merging and filtering
  size_t entries, rows;
  int maxExtractions, maxVersionReads;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

Figures Measure(int scale, int runs) {
  sim::SimWindows w;
  w.faults.record = false;
  Seed(w, scale);
  for (const char* list : {"name_white", "name_black", "file_white"}) {
    const std::string path = std::string(TARNWICK_SOURCE_DIR) + "/resources/" + list + ".txt";
    w.resources.LoadFile(FromUtf8(list), path);
  }
  const AppContext app = w.app();
  FilterList fileWhite(w.locale), nameWhite(w.locale), nameBlack(w.locale);
  LoadListResource(fileWhite, w.resources, u"file_white");
  LoadListResource(nameWhite, w.resources, u"name_white");
  LoadListResource(nameBlack, w.resources, u"name_black");

  std::vector<double> first, repeat, refresh;
  Figures figures{};
  for (int run = 0; run < runs; ++run) {
    sim::SimImageCollection images(w.faults);
    AutorunModel model(images, {fileWhite, nameWhite, nameBlack});
    model.allList = true;
    auto start = std::chrono::steady_clock::now();
    model.LoadAutorun(app);
    auto middle = std::chrono::steady_clock::now();
    model.LoadAutorun(app);
    auto end = std::chrono::steady_clock::now();
    TAutorunList list;
    RefreshAutorun(list, app);
    auto refreshed = std::chrono::steady_clock::now();
    refresh.push_back(std::chrono::duration<double, std::milli>(refreshed - end).count());
    first.push_back(std::chrono::duration<double, std::milli>(middle - start).count());
    repeat.push_back(std::chrono::duration<double, std::milli>(end - middle).count());
    figures.entries = model.ListAutoObj.size();
    figures.rows = model.Rows().size();
    if (run == 0) {
      // One refresh and one repeat: each path's icon once, each path's version once per new row.
      int extractions = 0, reads = 0;
      for (int i = 0; i < 500; ++i) {
        const Text file = u"C:\\Program Files\\Vendor" + Number(i % 250) + u"\\app" + Number(i) + u".exe";
        extractions = std::max(extractions, w.icons.Extractions(file));
        reads = std::max(reads, w.versions.Reads(file));
      }
      figures.maxExtractions = extractions;
      figures.maxVersionReads = reads;
    }
  }
  figures.firstMs = Median(first);
  figures.repeatMs = Median(repeat);
  figures.refreshMs = Median(refresh);
  return figures;
}

// The details the window reads after its first paint: for each row its file, version strings,
// start type and boot impact (DescribeRows), then the signatures of the files (here the
// simulated answers: what is measured is our side, the cache and its stamps), then all of it
// once more after a refresh, when no file may be verified again.
struct DetailFigures {
  size_t rows;
  double describeMs, verifyMs, secondDescribeMs;
  int verifications, secondVerifications;
};

DetailFigures MeasureDetails(int scale) {
  sim::SimWindows w;
  w.faults.record = false;
  Seed(w, scale);
  for (const char* list : {"NAME_WHITE", "NAME_BLACK", "FILE_WHITE"}) {
    std::string lower(list);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
    w.resources.LoadFile(FromUtf8(list), std::string(TARNWICK_SOURCE_DIR) + "/resources/" + lower + ".txt");
  }
  // A boot measurement naming every other program.
  Text xml = u"<StartupData>";
  for (int i = 0; i < 500; i += 2) {
    xml += u"<Process Name=\"C:\\Program Files\\Vendor" + Number(i % 250) + u"\\app" + Number(i) +
           u".exe\"><CpuUsage>" + Number(i * 1000) + u"</CpuUsage><DiskUsage>4096</DiskUsage></Process>";
  }
  xml += u"</StartupData>";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : xml) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  const Text folder = u"C:\\Windows\\System32\\WDI\\LogFiles\\StartupInfo";
  w.files.AddFolder(folder);
  Text message;
  (void)w.files.WriteWholeFile(folder + u"\\" + w.systemInfo.userSid + u"_StartupInfo1.xml", bytes, message);

  const AppContext app = w.app();
  sim::SimImageCollection images(w.faults);
  StartupList list(app, images);
  list.allList = true;
  list.LoadBuiltInLists();
  list.Load();
  DetailFigures figures{};
  figures.rows = list.Rows().size();
  auto start = std::chrono::steady_clock::now();
  (void)list.DescribeRows();
  auto described = std::chrono::steady_clock::now();
  for (const Text& image : list.UnverifiedImages()) (void)list.Signatures().Verify(image);
  (void)list.ApplyKnownSignatures();
  auto verified = std::chrono::steady_clock::now();
  figures.verifications = w.signatures.verifications();
  list.Load();
  auto again = std::chrono::steady_clock::now();
  (void)list.DescribeRows();
  for (const Text& image : list.UnverifiedImages()) (void)list.Signatures().Verify(image);
  auto secondDone = std::chrono::steady_clock::now();
  figures.secondVerifications = w.signatures.verifications() - figures.verifications;
  figures.describeMs = std::chrono::duration<double, std::milli>(described - start).count();
  figures.verifyMs = std::chrono::duration<double, std::milli>(verified - described).count();
  figures.secondDescribeMs = std::chrono::duration<double, std::milli>(secondDone - again).count();
  return figures;
}

}  // namespace
}  // namespace tarnwick

int main(int argc, char** argv) {
  using namespace tarnwick;
  // "bench SCALE" measures one size once, for instruction counts under callgrind.
  if (argc > 1) {
    const Figures f = Measure(std::atoi(argv[1]), 1);
    std::printf("scale %s: entries %zu first_load_ms %.2f repeat_load_ms %.2f\n", argv[1], f.entries, f.firstMs,
                f.repeatMs);
    return 0;
  }
  constexpr int kRuns = 7;
  (void)Measure(1, 2);  // the allocator and caches warm up here, not in the 1x figures
  std::vector<Figures> all;
  for (int scale : {1, 2, 4}) {
    const Figures f = Measure(scale, kRuns);
    all.push_back(f);
    std::printf("scale %dx: entries %zu rows %zu\n", scale, f.entries, f.rows);
    std::printf("  first_load_ms %.2f  per_entry_us %.2f\n", f.firstMs, 1000.0 * f.firstMs / f.entries);
    std::printf("  repeat_load_ms %.2f  per_entry_us %.2f\n", f.repeatMs, 1000.0 * f.repeatMs / f.entries);
    std::printf("    of which refresh_ms %.2f, merge_and_filter_ms %.2f\n", f.refreshMs, f.repeatMs - f.refreshMs);
    if (scale == 1) {
      std::printf("  icon_extractions_max_per_path %d\n", f.maxExtractions);
      std::printf("  version_reads_max_per_path %d (first load and repeat, %d runs)\n", f.maxVersionReads, kRuns);
    }
  }
  std::vector<DetailFigures> details;
  for (int scale : {1, 4}) {
    const DetailFigures d = MeasureDetails(scale);
    details.push_back(d);
    std::printf("details %dx: rows %zu (read after the first paint, not part of first_load_ms)\n", scale, d.rows);
    std::printf("  describe_ms %.2f  per_row_us %.2f (file, version strings, start type, boot impact)\n",
                d.describeMs, 1000.0 * d.describeMs / d.rows);
    std::printf("  signatures_ms %.2f  per_row_us %.2f  files_verified %d\n", d.verifyMs, 1000.0 * d.verifyMs / d.rows,
                d.verifications);
    std::printf("  second_refresh_describe_ms %.2f  files_verified_again %d\n", d.secondDescribeMs,
                d.secondVerifications);
  }
  std::printf("growth_describe_per_row_4x_over_1x %.2f\n",
              (details[1].describeMs / details[1].rows) / (details[0].describeMs / details[0].rows));
  std::printf("growth_first_4x_over_1x %.2f\n", all[2].firstMs / all[0].firstMs);
  std::printf("growth_repeat_4x_over_1x %.2f\n", all[2].repeatMs / all[0].repeatMs);
  std::printf("growth_repeat_refresh_4x_over_1x %.2f\n", all[2].refreshMs / all[0].refreshMs);
  std::printf("growth_repeat_merge_and_filter_4x_over_1x %.2f\n",
              (all[2].repeatMs - all[2].refreshMs) / (all[0].repeatMs - all[0].refreshMs));
  return 0;
}
