// The locale and resource adapters under Wine, and the lists and table that rest on them.

#include <gtest/gtest.h>

#include "core/app_context.h"
#include "core/filters/filter_list.h"
#include "core/i18n/translate.h"
#include "platform/win32/win32_platform.h"

namespace tarnwick::win32 {
namespace {

TEST(LocaleWin32, CaseRulesOfTheUserLocale) {
  Win32Locale locale;
  EXPECT_EQ(locale.CompareIgnoreCase(u"spooler", u"SPOOLER"), 0);
  EXPECT_LT(locale.CompareIgnoreCase(u"audiosrv", u"BFE"), 0);
  EXPECT_GT(locale.CompareIgnoreCase(u"Spooler", u"Sp"), 0);
  EXPECT_EQ(locale.CompareIgnoreCase(u"\u00E9t\u00E9", u"\u00C9T\u00C9"), 0);
  EXPECT_EQ(locale.Upper(u"\u0436\u0443\u043A \u00E9t\u00E9 abc"), u"\u0416\u0423\u041A \u00C9T\u00C9 ABC");
  Text name;
  ASSERT_TRUE(locale.UserIso639Name(name));
  EXPECT_GE(name.size(), 2u);
}

TEST(ResourcesWin32, TheProgramsOwnTextsLoad) {
  Win32Platform platform;
  Ports ports = platform.ports();
  const Translator translator = Translator::Start(ports.resources, ports.locale);
  EXPECT_EQ(translator.TranslateTable.size(), 547u);
  EXPECT_EQ(translator.Translate(u"\uCC98\uC74C\uD654\uBA74", u"fr"), u"Accueil");

  FilterList names(ports.locale);
  LoadListResource(names, ports.resources, u"Name_White");
  EXPECT_EQ(names.Rows().size(), 84u);
  const AppContext app = AppContext::Start(ports);
  EXPECT_TRUE(MatchList(names, u"WpnUserService_1a2b3", false, app.folderVars));

  Bytes missing;
  EXPECT_FALSE(ports.resources.ReadRcData(u"NO_SUCH_RESOURCE", missing));
}

}  // namespace
}  // namespace tarnwick::win32
