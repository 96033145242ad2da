#include "core/details/entry_image.h"

#include "core/paths/path.h"
#include "core/startup/entry_class.h"

namespace tarnwick {
namespace {

constexpr size_t kMaxShortcutBytes = 64 * 1024;

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool EndsWithAscii(TextView text, TextView end) {
  return text.size() >= end.size() && SameTextAscii(text.substr(text.size() - end.size()), end);
}

bool IsDriveStart(TextView text) {
  return text.size() >= 2 && ((text[0] >= u'A' && text[0] <= u'Z') || (text[0] >= u'a' && text[0] <= u'z')) &&
         (text[1] == u':' || text[1] == u'|');
}

}  // namespace

Text FileAddressToPath(TextView address) {
  address = Trim(address);
  if (address.size() < 5 || !SameTextAscii(address.substr(0, 5), u"file:")) return {};
  TextView rest = address.substr(5);
  Text host;
  if (rest.starts_with(u"//")) {
    rest.remove_prefix(2);
    const size_t slash = rest.find(u'/');
    host.assign(rest.substr(0, slash));
    rest = slash == TextView::npos ? TextView() : rest.substr(slash);
    if (SameTextAscii(host, u"localhost")) host.clear();
  }
  if (rest.starts_with(u"/") && IsDriveStart(rest.substr(1))) rest.remove_prefix(1);
  // Percent escapes are UTF-8 bytes.
  std::string bytes;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == u'%' && i + 2 < rest.size() && HexValue(rest[i + 1]) >= 0 && HexValue(rest[i + 2]) >= 0) {
      bytes += static_cast<char>(HexValue(rest[i + 1]) * 16 + HexValue(rest[i + 2]));
      i += 2;
    } else {
      bytes += ToUtf8(rest.substr(i, 1));
    }
  }
  Text path = FromUtf8(bytes);
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
  if (path.size() >= 2 && path[1] == u'|') path[1] = u':';
  if (!host.empty()) return u"\\\\" + host + path;
  if (!IsDriveStart(path) && !path.starts_with(u"\\\\")) return {};
  return path;
}

Text InternetShortcutAddress(TextView fileText) {
  bool inSection = false;
  size_t start = 0;
  while (start <= fileText.size()) {
    size_t end = fileText.find_first_of(u"\r\n", start);
    if (end == TextView::npos) end = fileText.size();
    const TextView line = Trim(fileText.substr(start, end - start));
    if (line.starts_with(u"[")) {
      inSection = SameTextAscii(line, u"[InternetShortcut]");
    } else if (inSection && line.size() > 4 && SameTextAscii(line.substr(0, 4), u"URL=")) {
      return Text(Trim(line.substr(4)));
    }
    start = end + 1;
  }
  return {};
}

Text ServiceImagePath(const FolderVars& vars, TextView windowsFolder, TextView binaryPath) {
  Text path = CommandLineToPath(vars, binaryPath);
  TextView view = path;
  if (view.starts_with(u"\\??\\")) return Text(view.substr(4));
  if (view.size() >= 12 && SameTextAscii(view.substr(0, 12), u"\\SystemRoot\\")) {
    return Text(windowsFolder) + Text(view.substr(11));
  }
  // The loader's relative form: "system32\drivers\x.sys" under the Windows folder.
  if (!view.empty() && !IsDriveStart(view) && view[0] != u'\\' && view.find(u'\\') != TextView::npos) {
    return Text(windowsFolder) + u"\\" + path;
  }
  return path;
}

EntryImage ImageOf(const TAutorunInfo& entry, const AppContext& app) {
  switch (ClassOf(entry.From)) {
    case EntryClass::File: {
      if (EndsWithAscii(entry.FileName, u".lnk")) {
        ShortcutTarget target;
        if (app.ports.shortcuts.Read(entry.FileName, target) && !target.path.empty()) {
          return {target.path, target.arguments};
        }
        return {entry.FileName, {}};  // an unreadable link is its own file
      }
      if (EndsWithAscii(entry.FileName, u".url")) {
        std::string bytes;
        Text message;
        if (!app.ports.fileSystem.ReadWholeFile(entry.FileName, kMaxShortcutBytes, bytes, message)) {
          return {entry.FileName, {}};
        }
        return {FileAddressToPath(InternetShortcutAddress(DecodeTextFile(bytes))), {}};
      }
      return {entry.FileName, {}};
    }
    case EntryClass::Service: {
      return {ServiceImagePath(app.folderVars, app.folderVars.Path(u"%SystemRoot%"), entry.RawData),
              SplitCommandLine(entry.RawData).arguments};
    }
    case EntryClass::Registry: return {entry.FileName, SplitCommandLine(entry.RawData).arguments};
    case EntryClass::Task: break;
  }
  return {entry.FileName, {}};
}

}  // namespace tarnwick
