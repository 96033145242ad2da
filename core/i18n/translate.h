#pragma once
// The interface texts are Korean; this turns them into the user's language from the table
// the program carries (resource "TRANSLATE": blocks of "code=text" lines, one empty line
// between blocks, the Korean key first).

#include <vector>

#include "core/i18n/ui_component.h"
#include "core/text/text.h"
#include "ports/locale.h"
#include "ports/program_resources.h"

namespace tarnwick {

// The ISO 639 name of the user's default locale, or "en".
Text GetUserLanguage(Locale& locale);

// Splits text at CR LF, LF or a lone CR; a final line end starts no further line.
std::vector<Text> SplitLines(TextView text);

// UTF-8 bytes to text, without a leading byte-order mark.
Text DecodeUtf8Resource(const Bytes& data);

class Translator {
 public:
  // Reads the table from the program's "translate" resource and picks the language.
  static Translator Start(ProgramResources& resources, Locale& locale);
  Translator() = default;
  Translator(std::vector<Text> table, Text language)
      : TranslateTable(std::move(table)), CurrentLanguage(std::move(language)) {}

  // `text` in `lang` (empty: CurrentLanguage), found by a whole-text match of any language's
  // line, ASCII case ignored; "\n" pairs become a lone CR. Unknown texts come back as given.
  Text Translate(TextView text, TextView lang = {}) const;

  // Translates the component's caption and, recursively, everything it owns. A non-empty
  // `lang` first becomes CurrentLanguage. A form's own caption is looked up in "en" unless
  // the language is "ko"; the caller translates it again into the user's language.
  void TranslateComponent(UiComponent* component, TextView lang = {});
  // An item's caption, then its sub-items', depth first.
  void TranslateMenu(UiComponent* item) const;

  std::vector<Text> TranslateTable;  // the resource's lines, empty lines kept
  Text CurrentLanguage;              // two letters, for the whole process
};

}  // namespace tarnwick
