#pragma once
// What an entry is: the file that starts, who made it, whether it is signed, how it starts
// (services) and what it cost at the last boot. Read through the ports; the signature only on
// request, since it hashes the whole file.

#include <memory>
#include <optional>

#include "core/app_context.h"
#include "core/catalogue/autorun_info.h"
#include "core/details/entry_image.h"
#include "core/details/signature_cache.h"
#include "core/details/startup_impact.h"
#include "core/filters/filter_list.h"

namespace tarnwick {

enum class ServiceStart { Automatic, AutomaticDelayed, Manual, Disabled, Other };

// As the system's service manager names them: "Automatic", "Automatic (delayed start)",
// "Manual", "Disabled"; "Boot or system" for a driver's start.
const char* ServiceStartName(ServiceStart start);

// Why an entry the name list hides is shown anyway.
enum class CheckReason {
  None,
  OutsideSystemFolders,  // its file lies outside the Windows and program folders
  NotSigned,             // its file is not validly signed
  ReplacesWindowsDefault,  // a Winlogon Shell or Userinit other than Windows' own
};
const char* CheckReasonText(CheckReason reason);

struct EntryDetails {
  EntryImage image;
  bool fileExists = false;
  Text product;      // the image's version resource: ProductName,
  Text publisher;    // CompanyName,
  Text description;  // FileDescription
  std::optional<ServiceStart> startType;  // services only
  StartupImpact impact;
  bool recommendedOff = false;  // the name blacklist names it
  bool hiddenByName = false;    // the name whitelist hides it from the list
  bool replacesDefault = false; // it stands where Windows starts its own shell
  Signature signature;          // NotChecked until verified
  CheckReason check = CheckReason::None;
};

class DetailsReader {
 public:
  // The lists must outlive the reader. The boot measurements are read once, on first use.
  DetailsReader(const AppContext& app, const FilterList& nameWhite, const FilterList& nameBlack);
  ~DetailsReader();
  DetailsReader(const DetailsReader&) = delete;
  DetailsReader& operator=(const DetailsReader&) = delete;

  // Every fact but the signature.
  EntryDetails Describe(const TAutorunInfo& entry);
  // Adds the signature and the check it decides.
  void Verify(EntryDetails& details, SignatureCache& signatures) const;
  // The same with a signature known already.
  void Apply(EntryDetails& details, const Signature& signature) const;
  // For an entry the name list hides: whether it must be shown anyway, from its file's place
  // and a signature verified before, reading nothing but the entry's command.
  CheckReason QuickCheck(const TAutorunInfo& entry, SignatureCache& signatures) const;

 private:
  std::optional<ServiceStart> StartOf(const Text& serviceName);
  bool InsideSystemFolders(TextView image) const;
  static CheckReason CheckOf(const EntryDetails& details, bool inside);

  const AppContext& app_;
  const FilterList& nameWhite_;
  const FilterList& nameBlack_;
  std::vector<Text> systemFolders_;  // the Windows and program folders, each ending in "\"
  std::optional<BootMeasurements> boot_;
  std::unique_ptr<ScmConnection> services_;
  bool servicesTried_ = false;
};

}  // namespace tarnwick
