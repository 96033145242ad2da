#include "core/common/list_actions.h"

namespace tarnwick {

std::string BuildSavedList(const TAutorunList& list) {
  std::string text = "\xEF\xBB\xBF";
  for (const TAutorunInfo& entry : list) {
    text += ToUtf8(entry.From + u"|" + entry.Caption + u"|" + entry.Target);
    text += "\r\n";
  }
  return text;
}

Text LookupAddress(TextView prefix, TextView from, TextView target) {
  const size_t cut = target.find_last_of(u"\\:");
  Text tail = Text(from) + u"/" + Text(cut == TextView::npos ? target : target.substr(cut + 1));
  for (char16_t& c : tail) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return Text(prefix) + tail;
}

ToggleButtonLook ButtonLookFor(bool entryEnabled) {
  return entryEnabled ? ToggleButtonLook{kDisableKey, false} : ToggleButtonLook{kEnableKey, true};
}

}  // namespace tarnwick
