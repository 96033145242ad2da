#include "core/files/file_info.h"

#include <cstdio>

#include "core/paths/path.h"
#include "core/registry/registry.h"

namespace tarnwick {
namespace {

// "%.4x%.4x" with upper-case digits: language id, then code page.
Text TranslationKey(const Bytes& translation) {
  const unsigned language = translation[0] | (translation[1] << 8);
  const unsigned codePage = translation[2] | (translation[3] << 8);
  char key[16];
  std::snprintf(key, sizeof key, "%.4X%.4X", language, codePage);
  return FromUtf8(key);
}

// A decimal integer, or nothing.
bool ParseDecimal(TextView text, int& value) {
  if (text.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (text[0] == u'-' || text[0] == u'+') {
    negative = text[0] == u'-';
    i = 1;
  }
  if (i == text.size()) return false;
  long long result = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    result = result * 10 + (text[i] - u'0');
    if (result > 0x7FFFFFFF) return false;
  }
  value = static_cast<int>(negative ? -result : result);
  return true;
}

}  // namespace

int GetVersionStrings(FileSystem& files, VersionResources& versions, TextView fileName,
                      const std::vector<Text>& names, std::map<Text, Text>& values) {
  if (!files.FileExists(fileName)) return 0;
  auto block = versions.Read(fileName);
  if (!block) return 0;
  Bytes translation;
  if (!block->Query(u"\\VarFileInfo\\Translation\\", translation) || translation.size() < 4) return 0;
  const Text prefix = u"\\StringFileInfo\\" + TranslationKey(translation) + u"\\";
  for (const Text& name : names) {
    Bytes value;
    if (block->Query(prefix + name, value)) values[name] = TextFromRegData(value);
  }
  return static_cast<int>(values.size());
}

Text FileVersionText(VersionResources& versions, TextView path) {
  auto block = versions.Read(path);
  Bytes fixed;
  // VS_FIXEDFILEINFO: signature, structure version, then the file version's two DWORDs.
  if (!block || !block->Query(u"\\", fixed) || fixed.size() < 16) return u"0.0.0.0";
  auto dword = [&](size_t at) {
    return static_cast<uint32_t>(fixed[at] | (fixed[at + 1] << 8) | (fixed[at + 2] << 16) |
                                 (static_cast<uint32_t>(fixed[at + 3]) << 24));
  };
  const uint32_t ms = dword(8), ls = dword(12);
  char text[64];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>(ms >> 16), static_cast<int>(ms & 0xFFFF),
                static_cast<int>(ls >> 16), static_cast<int>(ls & 0xFFFF));
  return FromUtf8(text);
}

int GetIconIndex(IconCache& cache, ImageCollection& collection, FileSystem& files, IconSource& icons,
                 TextView iconPath, int fallback) {
  Text unquoted;
  for (char16_t c : iconPath) {
    if (c != u'"') unquoted += c;
  }
  const Text key(Trim(unquoted));
  if (key.empty()) return fallback;

  Text file = key;
  uint16_t number = 0;
  if (const size_t comma = key.find(u','); comma != Text::npos) {
    file = Text(Trim(TextView(key).substr(0, comma)));
    int parsed = fallback;
    if (!ParseDecimal(Trim(TextView(key).substr(comma + 1)), parsed)) parsed = fallback;
    number = static_cast<uint16_t>(parsed);
  }

  if (auto cached = cache.find(key); cached != cache.end()) return cached->second;
  if (!files.FileExists(file)) return 0;  // not cached: tried again next time

  auto icon = icons.ExtractAssociated(file, number);
  if (!icon) return 0;
  if (!collection.AddIcon(*icon, key)) return fallback;
  const int index = collection.Count() - 1;
  cache.emplace(key, index);
  return index;
}

}  // namespace tarnwick
