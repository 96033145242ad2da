#pragma once
// The simulated locale and program resources.
//
// Fault calls: "GetLocaleInfoW"; "FindResourceW" [resource name].

#include <fstream>
#include <map>
#include <sstream>

#include "platform/sim/fault_plan.h"
#include "ports/locale.h"
#include "ports/program_resources.h"

namespace tarnwick::sim {

// Case rules close enough to Windows' for tests: ASCII, Latin-1, Greek and Cyrillic letters.
char16_t SimUpper(char16_t c);

class SimLocale final : public Locale {
 public:
  explicit SimLocale(FaultPlan& faults) : faults_(faults) {}
  Text iso639 = u"ko";

  bool UserIso639Name(Text& name) override {
    if (faults_.ShouldFail("GetLocaleInfoW") || iso639.empty()) return false;
    name = iso639;
    return true;
  }
  int CompareIgnoreCase(TextView a, TextView b) override;
  Text Upper(TextView text) override;

 private:
  FaultPlan& faults_;
};

class SimResources final : public ProgramResources {
 public:
  explicit SimResources(FaultPlan& faults) : faults_(faults) {}

  void Set(TextView name, Bytes data) { resources_[Key(name)] = std::move(data); }
  // Loads a resource from a file of the source tree; false when it cannot be read.
  bool LoadFile(TextView name, const std::string& path);
  bool ReadRcData(TextView name, Bytes& data) override;

 private:
  static Text Key(TextView name);
  FaultPlan& faults_;
  std::map<Text, Bytes> resources_;
};

}  // namespace tarnwick::sim
