#include "platform/sim/sim_locale.h"

namespace tarnwick::sim {

char16_t SimUpper(char16_t c) {
  if (c >= u'a' && c <= u'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 32;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  return c;
}

int SimLocale::CompareIgnoreCase(TextView a, TextView b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = SimUpper(a[i]), y = SimUpper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

Text SimLocale::Upper(TextView text) {
  Text upper(text);
  for (char16_t& c : upper) c = SimUpper(c);
  return upper;
}

Text SimResources::Key(TextView name) {
  Text key(name);
  for (char16_t& c : key) c = SimUpper(c);
  return key;
}

bool SimResources::LoadFile(TextView name, const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  const std::string content = bytes.str();
  Set(name, Bytes(content.begin(), content.end()));
  return true;
}

bool SimResources::ReadRcData(TextView name, Bytes& data) {
  if (faults_.ShouldFail("FindResourceW", name)) return false;
  auto it = resources_.find(Key(name));
  if (it == resources_.end()) return false;
  data = it->second;
  return true;
}

}  // namespace tarnwick::sim
