#include "core/details/startup_impact.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "core/paths/path.h"
#include "core/xml/xml_reader.h"

namespace tarnwick {
namespace {

struct Threshold {
  ImpactLevel level;
  uint64_t cpuMs;      // reached when the CPU time is at least this ...
  uint64_t diskBytes;  // ... or the disk use at least this
};
// Checked in order; "above 1,000 ms" is 1,001 ms on.
constexpr Threshold kThresholds[] = {
    {ImpactLevel::High, 1001, 3 * 1024 * 1024 + 1},
    {ImpactLevel::Medium, 300, 300 * 1024},
};

constexpr size_t kMaxFileBytes = 32 * 1024 * 1024;
constexpr TextView kFolder = u"\\System32\\WDI\\LogFiles\\StartupInfo";

// A decimal count; garbage counts as nothing and huge values saturate.
uint64_t Count(TextView text) {
  text = Trim(text);
  uint64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return 0;
    const uint64_t digit = c - u'0';
    if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) return std::numeric_limits<uint64_t>::max();
    value = value * 10 + digit;
  }
  return value;
}

uint64_t AddSaturated(uint64_t a, uint64_t b) {
  return a > std::numeric_limits<uint64_t>::max() - b ? std::numeric_limits<uint64_t>::max() : a + b;
}

Text ImageKey(TextView image) {
  image = Trim(image);
  if (image.starts_with(u"\\??\\")) image.remove_prefix(4);
  return LowerAscii(image);
}

// "<SID>_StartupInfo<N>.xml" -> N; -1 for any other name.
long FileNumber(TextView name, TextView sid) {
  const Text prefix = Text(sid) + u"_StartupInfo";
  if (name.size() <= prefix.size() + 4 || !SameTextAscii(name.substr(0, prefix.size()), prefix) ||
      !SameTextAscii(name.substr(name.size() - 4), u".xml")) {
    return -1;
  }
  const TextView digits = name.substr(prefix.size(), name.size() - prefix.size() - 4);
  if (digits.empty() || digits.size() > 9) return -1;
  long number = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return -1;
    number = number * 10 + (c - u'0');
  }
  return number;
}

}  // namespace

ImpactLevel ClassifyImpact(uint64_t cpuMs, uint64_t diskBytes) {
  for (const Threshold& threshold : kThresholds) {
    if (cpuMs >= threshold.cpuMs || diskBytes >= threshold.diskBytes) return threshold.level;
  }
  return ImpactLevel::Low;
}

const char* ImpactLevelName(ImpactLevel level) {
  switch (level) {
    case ImpactLevel::High: return "high";
    case ImpactLevel::Medium: return "medium";
    case ImpactLevel::Low: return "low";
    case ImpactLevel::NotMeasured: break;
  }
  return "not measured";
}

bool BootMeasurements::Parse(std::string_view fileBytes, Text& error) {
  XmlElement root;
  if (!ParseXml(DecodeTextFile(fileBytes), root, error)) return false;
  if (root.name != u"StartupData") {
    error = u"the root element is <" + root.name + u">, not <StartupData>";
    return false;
  }
  std::unordered_map<Text, Sample> sums;
  for (const XmlElement& process : root.children) {
    if (process.name != u"Process") continue;
    const Text* name = process.Attribute(u"Name");
    if (!name || Trim(*name).empty()) continue;
    Sample& sample = sums[ImageKey(*name)];
    if (const XmlElement* cpu = process.Child(u"CpuUsage")) sample.cpuUs = AddSaturated(sample.cpuUs, Count(cpu->text));
    if (const XmlElement* disk = process.Child(u"DiskUsage")) {
      sample.diskBytes = AddSaturated(sample.diskBytes, Count(disk->text));
    }
  }
  byImage_ = std::move(sums);
  return true;
}

StartupImpact BootMeasurements::ImpactOf(TextView image) const {
  if (Trim(image).empty()) return {};
  auto it = byImage_.find(ImageKey(image));
  if (it == byImage_.end()) return {};
  const uint64_t cpuMs = it->second.cpuUs / 1000;
  return {ClassifyImpact(cpuMs, it->second.diskBytes), cpuMs, it->second.diskBytes};
}

BootMeasurements BootMeasurements::ReadNewest(const AppContext& app) {
  BootMeasurements measurements;
  const Text sid = app.ports.systemInfo.UserSid();
  const Text windows = app.folderVars.Path(u"%SystemRoot%");
  if (sid.empty() || windows.empty()) return measurements;
  const Text folder = windows + Text(kFolder);

  std::vector<Text> names;
  if (app.ports.fileSystem.ListFiles(folder, names).status != ListStatus::Ok) return measurements;
  struct Candidate {
    Text path;
    uint64_t lastWrite;
    long number;
  };
  std::vector<Candidate> candidates;
  for (const Text& name : names) {
    const long number = FileNumber(name, sid);
    FileStamp stamp;
    const Text path = folder + u"\\" + name;
    if (number >= 0 && app.ports.fileSystem.Stamp(path, stamp)) candidates.push_back({path, stamp.lastWrite, number});
  }
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.lastWrite != b.lastWrite ? a.lastWrite > b.lastWrite : a.number > b.number;
  });
  // A file being written at this moment, or damaged, gives way to the one before it.
  for (const Candidate& candidate : candidates) {
    std::string bytes;
    Text error;
    if (app.ports.fileSystem.ReadWholeFile(candidate.path, kMaxFileBytes, bytes, error) &&
        measurements.Parse(bytes, error)) {
      break;
    }
  }
  return measurements;
}

}  // namespace tarnwick
