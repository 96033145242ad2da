// Prints the language the program picks from the user's locale, and the home button's
// caption in it: the end-to-end tier starts it under different locales.

#include <cstdio>

#include "core/i18n/translate.h"
#include "platform/win32/console.h"
#include "platform/win32/locale_win32.h"

int main() {
  using namespace tarnwick;
  win32::Win32Resources resources;
  win32::Win32Locale locale;
  const Translator translator = Translator::Start(resources, locale);
  const std::string line = ToUtf8(translator.CurrentLanguage) + " " +
                           ToUtf8(translator.Translate(u"\uCC98\uC74C\uD654\uBA74")) + "\n";
  return win32::WriteStd(win32::StdStream::Out, line) ? 0 : 1;
}
