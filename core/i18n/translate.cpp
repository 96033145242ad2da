#include "core/i18n/translate.h"

namespace tarnwick {
namespace {

Text ReplaceBackslashN(TextView text) {
  Text result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size() && text[i + 1] == u'n') {
      result += u'\r';
      ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

// A line is "code=text"; without "=", both parts are empty.
TextView CodePart(TextView line) {
  const size_t eq = line.find(u'=');
  return eq == TextView::npos ? TextView() : line.substr(0, eq);
}
TextView TextPart(TextView line) {
  const size_t eq = line.find(u'=');
  return eq == TextView::npos ? TextView() : line.substr(eq + 1);
}

}  // namespace

Text GetUserLanguage(Locale& locale) {
  Text name;
  if (!locale.UserIso639Name(name) || name.empty()) return u"en";
  return name;
}

std::vector<Text> SplitLines(TextView text) {
  std::vector<Text> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

Text DecodeUtf8Resource(const Bytes& data) {
  std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return FromUtf8(bytes);
}

Translator Translator::Start(ProgramResources& resources, Locale& locale) {
  Translator translator;
  Bytes data;
  if (resources.ReadRcData(u"translate", data)) {
    translator.TranslateTable = SplitLines(DecodeUtf8Resource(data));
  }
  translator.CurrentLanguage = GetUserLanguage(locale).substr(0, 2);
  return translator;
}

Text Translator::Translate(TextView text, TextView lang) const {
  Text result = ReplaceBackslashN(text);
  if (text.empty()) return result;
  if (lang.empty()) lang = CurrentLanguage;

  size_t found = TranslateTable.size();
  for (size_t i = 0; i < TranslateTable.size(); ++i) {
    if (SameTextAscii(TextPart(TranslateTable[i]), text)) {
      found = i;
      break;
    }
  }
  if (found == TranslateTable.size()) return result;

  size_t first = found;
  while (first > 0 && !TranslateTable[first - 1].empty()) --first;

  for (TextView code : {lang, TextView(u"en")}) {
    for (size_t i = first; i < TranslateTable.size() && !TranslateTable[i].empty(); ++i) {
      if (CodePart(TranslateTable[i]) == code) return ReplaceBackslashN(TextPart(TranslateTable[i]));
    }
  }
  return result;
}

void Translator::TranslateMenu(UiComponent* item) const {
  if (!item) return;
  item->SetCaption(Translate(item->GetCaption()));
  for (size_t i = 0; i < item->ItemCount(); ++i) TranslateMenu(item->Item(i));
}

void Translator::TranslateComponent(UiComponent* component, TextView lang) {
  if (!lang.empty()) CurrentLanguage = Text(lang);
  if (!component) return;
  if (component->GetKind() == UiComponent::Kind::PopupMenu) {
    for (size_t i = 0; i < component->ItemCount(); ++i) TranslateMenu(component->Item(i));
  }
  if (component->HasCaption()) {
    const bool formInEnglish = component->GetKind() == UiComponent::Kind::Form && CurrentLanguage != u"ko";
    component->SetCaption(Translate(component->GetCaption(), formInEnglish ? TextView(u"en") : lang));
  }
  for (size_t i = 0; i < component->OwnedCount(); ++i) TranslateComponent(component->Owned(i), lang);
}

}  // namespace tarnwick
