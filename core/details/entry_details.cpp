#include "core/details/entry_details.h"

#include <map>

#include "core/catalogue/location_codes.h"
#include "core/files/file_info.h"
#include "core/paths/path.h"
#include "core/startup/entry_class.h"

namespace tarnwick {
namespace {

// The Windows folder and both program folders (the native one and the 32-bit one).
constexpr TextView kSystemFolderForms[] = {u"%SystemRoot%", u"%ProgramFiles%", u"%ProgramFiles(x86)%"};

bool StartsWithFolder(TextView path, TextView folder) {
  return path.size() > folder.size() && SameTextAscii(path.substr(0, folder.size()), folder);
}

}  // namespace

const char* ServiceStartName(ServiceStart start) {
  switch (start) {
    case ServiceStart::Automatic: return "Automatic";
    case ServiceStart::AutomaticDelayed: return "Automatic (delayed start)";
    case ServiceStart::Manual: return "Manual";
    case ServiceStart::Disabled: return "Disabled";
    case ServiceStart::Other: break;
  }
  return "Boot or system";
}

const char* CheckReasonText(CheckReason reason) {
  switch (reason) {
    case CheckReason::OutsideSystemFolders:
      return "named like a part of Windows, but its file lies outside the Windows and program folders";
    case CheckReason::NotSigned: return "named like a part of Windows, but its file is not validly signed";
    case CheckReason::ReplacesWindowsDefault: return "replaces the program Windows starts at logon";
    case CheckReason::None: break;
  }
  return "";
}

DetailsReader::DetailsReader(const AppContext& app, const FilterList& nameWhite, const FilterList& nameBlack)
    : app_(app), nameWhite_(nameWhite), nameBlack_(nameBlack) {
  // Taken from the folder table built at start: a reader is made per refresh and per check.
  for (TextView form : kSystemFolderForms) {
    const Text folder = app.folderVars.Path(form);
    if (!folder.empty()) systemFolders_.push_back(folder + u"\\");
  }
}

DetailsReader::~DetailsReader() = default;

bool DetailsReader::InsideSystemFolders(TextView image) const {
  // A bare name is found through the search path, which starts in the Windows folders: no place
  // to hold against it.
  const bool absolute = (image.size() > 2 && image[1] == u':' && image[2] == u'\\') || image.starts_with(u"\\\\");
  if (!absolute) return true;
  for (const Text& folder : systemFolders_) {
    if (StartsWithFolder(image, folder)) return true;
  }
  return false;
}

std::optional<ServiceStart> DetailsReader::StartOf(const Text& serviceName) {
  if (!servicesTried_) {
    servicesTried_ = true;
    services_ = app_.ports.services.Connect(scm::kConnect);
  }
  if (!services_) return std::nullopt;
  auto service = services_->Open(serviceName, scm::kQueryConfig);
  ServiceConfig config;
  if (!service || !service->QueryConfig(config)) return std::nullopt;
  switch (config.startType) {
    case scm::kAutoStart: {
      bool delayed = false;
      // Systems that cannot say (older ones, Wine) start it without delay.
      if (!service->QueryDelayedAutoStart(delayed)) delayed = false;
      return delayed ? ServiceStart::AutomaticDelayed : ServiceStart::Automatic;
    }
    case scm::kDemandStart: return ServiceStart::Manual;
    case scm::kDisabled: return ServiceStart::Disabled;
    default: return ServiceStart::Other;
  }
}

CheckReason DetailsReader::CheckOf(const EntryDetails& details, bool inside) {
  if (details.replacesDefault) return CheckReason::ReplacesWindowsDefault;
  // A file that is not there starts nothing: it is marked missing, not suspected.
  if (!details.hiddenByName || !details.fileExists) return CheckReason::None;
  switch (details.signature.state) {
    case SignatureState::Valid: return CheckReason::None;  // a signed file may live anywhere
    case SignatureState::Unsigned:
    case SignatureState::Invalid:
    case SignatureState::Untrusted: return CheckReason::NotSigned;
    case SignatureState::NotChecked:
    case SignatureState::Unknown: break;
  }
  return inside ? CheckReason::None : CheckReason::OutsideSystemFolders;
}

EntryDetails DetailsReader::Describe(const TAutorunInfo& entry) {
  EntryDetails details;
  details.image = ImageOf(entry, app_);
  const Text& image = details.image.path;
  details.fileExists = !image.empty() && app_.ports.fileSystem.FileExists(image);
  if (details.fileExists) {
    std::map<Text, Text> values;
    GetVersionStrings(app_.ports.fileSystem, app_.ports.versions, image,
                      {u"ProductName", u"CompanyName", u"FileDescription"}, values);
    details.product = values[u"ProductName"];
    details.publisher = values[u"CompanyName"];
    details.description = values[u"FileDescription"];
  }
  if (ClassOf(entry.From) == EntryClass::Service) details.startType = StartOf(entry.Target);
  details.replacesDefault = SameTextAscii(entry.From, location::kWinlogon);
  if (!boot_) boot_ = BootMeasurements::ReadNewest(app_);
  details.impact = boot_->ImpactOf(image);

  details.recommendedOff = MatchList(nameBlack_, entry.Caption, false, app_.folderVars) ||
                           (!details.product.empty() && MatchList(nameBlack_, details.product, false, app_.folderVars));
  // Only the name list's verdict counts here; a startup file never gets it.
  details.hiddenByName = HiddenByLists(entry, nameWhite_, nameWhite_, app_.folderVars) == HiddenBy::NameList;
  details.check = CheckOf(details, InsideSystemFolders(image));
  return details;
}

void DetailsReader::Verify(EntryDetails& details, SignatureCache& signatures) const {
  if (!details.fileExists) return;
  Apply(details, signatures.Verify(details.image.path));
}

CheckReason DetailsReader::QuickCheck(const TAutorunInfo& entry, SignatureCache& signatures) const {
  EntryDetails details;
  details.hiddenByName = true;
  // Only Run values, tasks and services are matched by name; none of them is a shortcut.
  details.image = ImageOf(entry, app_);
  details.fileExists = !details.image.path.empty() && app_.ports.fileSystem.FileExists(details.image.path);
  if (!details.fileExists) return CheckReason::None;
  if (auto known = signatures.Cached(details.image.path)) details.signature = *known;
  return CheckOf(details, InsideSystemFolders(details.image.path));
}

void DetailsReader::Apply(EntryDetails& details, const Signature& signature) const {
  details.signature = signature;
  details.check = CheckOf(details, InsideSystemFolders(details.image.path));
}

}  // namespace tarnwick
