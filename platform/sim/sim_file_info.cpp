#include "platform/sim/sim_file_info.h"

#include "core/registry/registry.h"
#include "platform/sim/sim_locale.h"

namespace tarnwick::sim {
namespace {

Text Key(TextView path) {
  Text key(path);
  for (char16_t& c : key) c = SimUpper(c);
  return key;
}

class SimBlock final : public VersionBlock {
 public:
  explicit SimBlock(SimVersion version) : version_(std::move(version)) {}
  bool Query(TextView subBlock, Bytes& value) override {
    if (subBlock == u"\\") {
      if (!version_.hasFixedInfo) return false;
      // VS_FIXEDFILEINFO: signature, structure version, then the file version's two DWORDs.
      const uint16_t* v = version_.fileVersion;
      const uint32_t words[] = {0xFEEF04BD, 0x00010000, uint32_t(v[0]) << 16 | v[1], uint32_t(v[2]) << 16 | v[3]};
      value.assign(52, 0);
      for (size_t w = 0; w < 4; ++w) {
        for (int b = 0; b < 4; ++b) value[w * 4 + b] = static_cast<uint8_t>(words[w] >> (8 * b));
      }
      return true;
    }
    if (subBlock == u"\\VarFileInfo\\Translation\\" || subBlock == u"\\VarFileInfo\\Translation") {
      if (version_.translations.empty()) return false;
      value.clear();
      for (auto [language, codePage] : version_.translations) {
        value.insert(value.end(), {static_cast<uint8_t>(language), static_cast<uint8_t>(language >> 8),
                                   static_cast<uint8_t>(codePage), static_cast<uint8_t>(codePage >> 8)});
      }
      return true;
    }
    constexpr TextView kStrings = u"\\StringFileInfo\\";
    if (!subBlock.starts_with(kStrings)) return false;
    auto it = version_.strings.find(Text(subBlock.substr(kStrings.size())));
    if (it == version_.strings.end()) return false;
    value = RegDataFromText(it->second);
    return true;
  }

 private:
  SimVersion version_;
};

}  // namespace

void SimVersionResources::Set(TextView path, SimVersion version) { versions_[Key(path)] = std::move(version); }

void SimVersionResources::SetProductName(TextView path, TextView productName) {
  Set(path, {{{0x0409, 0x04B0}}, {{u"040904B0\\ProductName", Text(productName)}}});
}

int SimVersionResources::Reads(TextView path) const {
  auto it = reads_.find(Key(path));
  return it == reads_.end() ? 0 : it->second;
}

std::unique_ptr<VersionBlock> SimVersionResources::Read(TextView path) {
  ++reads_[Key(path)];
  if (faults_.ShouldFail("GetFileVersionInfoW", path)) return nullptr;
  auto it = versions_.find(Key(path));
  if (it == versions_.end()) return nullptr;
  return std::make_unique<SimBlock>(it->second);
}

void SimIconSource::SetIcons(TextView path, int count) { icons_[Key(path)] = count; }

int SimIconSource::Extractions(TextView path) const {
  auto it = extractions_.find(Key(path));
  return it == extractions_.end() ? 0 : it->second;
}

std::unique_ptr<Icon> SimIconSource::ExtractAssociated(TextView file, uint16_t index) {
  ++extractions_[Key(file)];
  if (faults_.ShouldFail("ExtractAssociatedIconW", file)) return nullptr;
  auto it = icons_.find(Key(file));
  if (it == icons_.end() || index >= it->second) return nullptr;
  return std::make_unique<SimIcon>(Text(file), index);
}

bool SimImageCollection::AddIcon(const Icon& icon, TextView name) {
  if (faults_.ShouldFail("ImageList_AddIcon", name)) return false;
  const auto& simIcon = static_cast<const SimIcon&>(icon);
  names.emplace_back(name);
  icons.emplace_back(simIcon.file, simIcon.index);
  return true;
}

}  // namespace tarnwick::sim
