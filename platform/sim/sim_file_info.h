#pragma once
// Simulated version resources and icons of files, and an image collection. Files are named
// by full path (compared without regard to case); existence is the file system's business.
//
// Fault calls: "GetFileVersionInfoW" [path], "ExtractAssociatedIconW" [path],
// "ImageList_AddIcon" [image name].

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/sim/fault_plan.h"
#include "ports/file_info.h"

namespace tarnwick::sim {

struct SimVersion {
  std::vector<std::pair<uint16_t, uint16_t>> translations;  // language id, code page
  std::map<Text, Text> strings;                              // "040904B0\ProductName" -> text
  uint16_t fileVersion[4] = {0, 0, 0, 0};
  bool hasFixedInfo = false;
};

class SimVersionResources final : public VersionResources {
 public:
  explicit SimVersionResources(FaultPlan& faults) : faults_(faults) {}
  void Set(TextView path, SimVersion version);
  // A U.S. English, Unicode version resource with one ProductName.
  void SetProductName(TextView path, TextView productName);
  int Reads(TextView path) const;

  std::unique_ptr<VersionBlock> Read(TextView path) override;

 private:
  FaultPlan& faults_;
  std::map<Text, SimVersion> versions_;
  std::map<Text, int> reads_;
};

class SimIconSource final : public IconSource {
 public:
  explicit SimIconSource(FaultPlan& faults) : faults_(faults) {}
  // The file carries `count` icons of its own.
  void SetIcons(TextView path, int count);
  int Extractions(TextView path) const;

  std::unique_ptr<Icon> ExtractAssociated(TextView file, uint16_t index) override;

 private:
  FaultPlan& faults_;
  std::map<Text, int> icons_;
  std::map<Text, int> extractions_;
};

class SimIcon final : public Icon {
 public:
  SimIcon(Text file, uint16_t index) : file(std::move(file)), index(index) {}
  Text file;
  uint16_t index;
};

class SimImageCollection final : public ImageCollection {
 public:
  explicit SimImageCollection(FaultPlan& faults, int builtIn = 4) : names(builtIn), faults_(faults) {}
  int Count() const override { return static_cast<int>(names.size()); }
  bool AddIcon(const Icon& icon, TextView name) override;

  std::vector<Text> names;
  std::vector<std::pair<Text, uint16_t>> icons;  // where each added image came from

 private:
  FaultPlan& faults_;
};

}  // namespace tarnwick::sim
