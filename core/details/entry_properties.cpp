#include "core/details/entry_properties.h"

#include <string>

#include "core/startup/entry_class.h"

namespace tarnwick {
namespace {

// The texts, as Korean keys of the translation table.
namespace key {
constexpr TextView kName = u"이름";
constexpr TextView kFrom = u"출처";
constexpr TextView kRegistryKey = u"레지스트리 키";
constexpr TextView kValueName = u"값 이름";
constexpr TextView kFolder = u"폴더";
constexpr TextView kFile = u"파일";
constexpr TextView kTaskPath = u"작업 경로";
constexpr TextView kServiceName = u"서비스 이름";
constexpr TextView kCommandLine = u"명령줄";
constexpr TextView kImage = u"실행 파일";
constexpr TextView kMissing = u"파일이 없습니다";
constexpr TextView kProduct = u"제품";
constexpr TextView kPublisher = u"게시자";
constexpr TextView kDescription = u"설명";
constexpr TextView kSignature = u"서명";
constexpr TextView kStartType = u"시작 유형";
constexpr TextView kImpact = u"시작 영향";
constexpr TextView kRecommendedOff = u"끄는 것을 권장합니다";
constexpr TextView kCheckThis = u"확인 필요";
}  // namespace key

struct Named {
  int value;
  TextView key;
};

constexpr Named kSignatureKeys[] = {
    {static_cast<int>(SignatureState::NotChecked), u"확인 중"},
    {static_cast<int>(SignatureState::Valid), u"유효함"},
    {static_cast<int>(SignatureState::Unsigned), u"서명 없음"},
    {static_cast<int>(SignatureState::Invalid), u"유효하지 않음"},
    {static_cast<int>(SignatureState::Untrusted), u"신뢰할 수 없음"},
    {static_cast<int>(SignatureState::Unknown), u"알 수 없음"},
};
constexpr Named kImpactKeys[] = {
    {static_cast<int>(ImpactLevel::NotMeasured), u"측정 안 됨"},
    {static_cast<int>(ImpactLevel::Low), u"낮음"},
    {static_cast<int>(ImpactLevel::Medium), u"보통"},
    {static_cast<int>(ImpactLevel::High), u"높음"},
};
constexpr Named kStartKeys[] = {
    {static_cast<int>(ServiceStart::Automatic), u"자동"},
    {static_cast<int>(ServiceStart::AutomaticDelayed), u"자동(지연된 시작)"},
    {static_cast<int>(ServiceStart::Manual), u"수동"},
    {static_cast<int>(ServiceStart::Disabled), u"사용 안 함"},
    {static_cast<int>(ServiceStart::Other), u"부팅 또는 시스템"},
};
constexpr Named kCheckKeys[] = {
    {static_cast<int>(CheckReason::OutsideSystemFolders),
     u"Windows 구성 요소의 이름이지만 파일이 Windows 및 프로그램 폴더 밖에 있습니다"},
    {static_cast<int>(CheckReason::NotSigned), u"Windows 구성 요소의 이름이지만 파일에 유효한 서명이 없습니다"},
    {static_cast<int>(CheckReason::ReplacesWindowsDefault), u"Windows가 로그온할 때 시작하는 프로그램을 바꿉니다"},
};

template <size_t N>
Text NameOf(const Named (&table)[N], int value, const Translator& t) {
  for (const Named& named : table) {
    if (named.value == value) return t.Translate(named.key);
  }
  return {};
}

Text Number(uint64_t value) { return FromUtf8(std::to_string(value)); }

Text ImpactText(const StartupImpact& impact, const Translator& t) {
  Text text = NameOf(kImpactKeys, static_cast<int>(impact.level), t);
  if (impact.level != ImpactLevel::NotMeasured) {
    text += u" (CPU " + Number(impact.cpuMs) + u" ms, " + Number((impact.diskBytes + 1023) / 1024) + u" KB)";
  }
  return text;
}

// Where the entry is recorded.
void AddLocation(std::vector<PropertyLine>& lines, const TAutorunInfo& entry, const Translator& t) {
  const size_t slash = entry.Target.rfind(u'\\');
  const Text before = slash == Text::npos ? Text() : entry.Target.substr(0, slash);
  const Text after = slash == Text::npos ? entry.Target : entry.Target.substr(slash + 1);
  switch (ClassOf(entry.From)) {
    case EntryClass::Registry:
      lines.push_back({t.Translate(key::kRegistryKey), before});
      lines.push_back({t.Translate(key::kValueName), entry.Caption});
      break;
    case EntryClass::File:
      lines.push_back({t.Translate(key::kFolder), before});
      lines.push_back({t.Translate(key::kFile), after});
      break;
    case EntryClass::Task: lines.push_back({t.Translate(key::kTaskPath), entry.Target}); break;
    case EntryClass::Service: lines.push_back({t.Translate(key::kServiceName), entry.Target}); break;
  }
}

}  // namespace

RowMarks MarksOf(const EntryDetails& details) {
  return {!details.image.path.empty() && !details.fileExists, details.recommendedOff, details.check};
}

Text CommandLineOf(const TAutorunInfo& entry, const EntryDetails& details) {
  if (!entry.RawData.empty()) return entry.RawData;
  if (details.image.path.empty()) return entry.FileName;
  Text line = details.image.path.find(u' ') == Text::npos ? details.image.path : u"\"" + details.image.path + u"\"";
  if (!details.image.arguments.empty()) line += u" " + details.image.arguments;
  return line;
}

Text CameBackText(const CameBack& back, const Translator& t) {
  Text text = t.Translate(back.sameEntry ? u"다시 켜짐" : u"다른 항목으로 다시 켜짐");
  text += u" (" + t.Translate(u"사용자가 끈 날짜") + u" " + ChoiceTimeText(back.earlier.switchedOff);
  if (!back.sameEntry) text += u": " + back.earlier.id.from + u" " + back.earlier.id.target;
  return text + u")";
}

Text RowTooltip(const TAutorunInfo& entry, const EntryDetails& details, const Translator& t, const CameBack* cameBack) {
  Text tip = CommandLineOf(entry, details);
  if (tip.empty()) tip = entry.Target;
  if (!details.publisher.empty()) tip += u"\r\n" + t.Translate(key::kPublisher) + u": " + details.publisher;
  const RowMarks marks = MarksOf(details);
  if (marks.missing) tip += u"\r\n" + t.Translate(key::kMissing);
  if (marks.recommendedOff) tip += u"\r\n" + t.Translate(key::kRecommendedOff);
  if (marks.check != CheckReason::None) {
    tip += u"\r\n" + t.Translate(key::kCheckThis) + u": " + NameOf(kCheckKeys, static_cast<int>(marks.check), t);
  }
  if (cameBack) tip += u"\r\n" + CameBackText(*cameBack, t);
  return tip;
}

std::vector<PropertyLine> PropertiesOf(const TAutorunInfo& entry, TextView displayName, const EntryDetails& details,
                                       const Translator& t, const CameBack* cameBack) {
  std::vector<PropertyLine> lines;
  lines.push_back({t.Translate(key::kName), Text(displayName)});
  lines.push_back({t.Translate(key::kFrom), entry.From});
  AddLocation(lines, entry, t);
  lines.push_back({t.Translate(key::kCommandLine), CommandLineOf(entry, details)});
  Text image = details.image.path;
  if (!image.empty() && !details.fileExists) image += u" (" + t.Translate(key::kMissing) + u")";
  lines.push_back({t.Translate(key::kImage), image});
  lines.push_back({t.Translate(key::kProduct), details.product});
  lines.push_back({t.Translate(key::kPublisher), details.publisher});
  lines.push_back({t.Translate(key::kDescription), details.description});
  if (details.fileExists) {
    Text signature = NameOf(kSignatureKeys, static_cast<int>(details.signature.state), t);
    if (!details.signature.signer.empty()) signature += u" (" + details.signature.signer + u")";
    lines.push_back({t.Translate(key::kSignature), signature});
  }
  if (details.startType) {
    lines.push_back({t.Translate(key::kStartType), NameOf(kStartKeys, static_cast<int>(*details.startType), t)});
  }
  lines.push_back({t.Translate(key::kImpact), ImpactText(details.impact, t)});
  if (details.recommendedOff) lines.push_back({t.Translate(key::kRecommendedOff), t.Translate(u"예")});
  if (details.check != CheckReason::None) {
    lines.push_back({t.Translate(key::kCheckThis), NameOf(kCheckKeys, static_cast<int>(details.check), t)});
  }
  if (cameBack) lines.push_back({t.Translate(u"다시 켜짐"), CameBackText(*cameBack, t)});
  std::erase_if(lines, [](const PropertyLine& line) { return line.value.empty(); });
  return lines;
}

}  // namespace tarnwick
