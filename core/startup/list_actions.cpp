#include "core/startup/list_actions.h"

#include "core/paths/path.h"
#include "core/web/web_address.h"

namespace tarnwick {

std::string BuildSavedList(const TAutorunList& list) {
  std::string text = "\xEF\xBB\xBF";
  for (const TAutorunInfo& entry : list) {
    text += ToUtf8(OneLine(entry.From + u"|" + entry.Caption + u"|" + entry.Target));
    text += "\r\n";
  }
  return text;
}

Text LookupAddress(TextView prefix, TextView from, TextView target) {
  return Text(prefix) + EncodeAddressPart(LowerAscii(Text(from) + u"/" + Text(FileNamePart(target))));
}

ToggleButtonLook ButtonLookFor(bool entryEnabled) {
  return entryEnabled ? ToggleButtonLook{kDisableKey, false} : ToggleButtonLook{kEnableKey, true};
}

TextView SwitchBlockKey(SwitchBlock block) {
  switch (block) {
    case SwitchBlock::NoReversibleSwitch: return u"Windows에는 이 항목을 되돌릴 수 있게 끄는 방법이 없습니다";
    case SwitchBlock::SetByPolicy: return u"관리자 정책이 이 앱의 시작을 정합니다";
    case SwitchBlock::None: break;
  }
  return {};
}

}  // namespace tarnwick
