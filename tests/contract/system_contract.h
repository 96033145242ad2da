#pragma once
// The contracts of the small system ports (shell folders, system facts, clock, locale and the
// program's own resources), for the simulated Windows (natively) and the Win32 adapters (under
// Wine). The environment gives each port; resources() carries the TRANSLATE table.
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, SystemContract, Environment);

#include <gtest/gtest.h>

#include "core/paths/path.h"
#include "ports/ports.h"

namespace tarnwick::contract {

template <typename Environment>
class SystemContract : public ::testing::Test {
 protected:
  // "X:\..." with no trailing "\" once GetFolderPath has taken it off.
  static bool IsAbsolute(TextView path) { return path.size() > 3 && path[1] == u':' && path[2] == u'\\'; }
  Environment environment_;
};

TYPED_TEST_SUITE_P(SystemContract);

TYPED_TEST_P(SystemContract, TheFoldersTheCatalogueUsesAreNamedAndOthersAreNot) {
  ShellFolders& shell = this->environment_.shellFolders();
  for (int id : {csidl::kStartup, csidl::kCommonStartup, csidl::kWindows, csidl::kProgramFiles}) {
    const Text path = GetFolderPath(shell, id);
    EXPECT_TRUE(this->IsAbsolute(path)) << id << ": " << ToUtf8(path);
    EXPECT_NE(path.back(), u'\\') << id;
  }
  Text out;
  EXPECT_FALSE(shell.FolderPath(0x7F, out)) << "a CSIDL the shell does not know";
}

TYPED_TEST_P(SystemContract, SystemFactsAreThoseOfAWindowsOfOurTime) {
  SystemInfo& system = this->environment_.systemInfo();
  const uint16_t architecture = system.NativeProcessorArchitecture();
  EXPECT_TRUE(architecture == processor_architecture::kAmd64 || architecture == processor_architecture::kIntel ||
              architecture == processor_architecture::kArm64)
      << architecture;
  EXPECT_GE(system.MajorVersion(), 6u);
  EXPECT_LE(system.MinorVersion(), 3u);
  const Text self = system.ProgramPath();
  EXPECT_TRUE(this->IsAbsolute(self)) << ToUtf8(self);
  EXPECT_TRUE(SameTextAscii(self.substr(self.size() - 4), u".exe")) << ToUtf8(self);
}

TYPED_TEST_P(SystemContract, TheClockTellsAPlausibleTime) {
  Clock& clock = this->environment_.clock();
  constexpr uint64_t k2020 = 132223104000000000ULL;  // 1 January 2020, as a FILETIME
  EXPECT_GT(clock.UtcNowFileTime(), k2020);
  const LocalTime now = clock.LocalNow();
  EXPECT_GE(now.year, 2020);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
  EXPECT_TRUE(now.hour >= 0 && now.hour < 24 && now.minute >= 0 && now.minute < 60 && now.second >= 0 &&
              now.second < 61);
  const uint32_t first = clock.TickCount();
  EXPECT_GE(clock.TickCount() - first, 0u);
  EXPECT_LT(clock.TickCount() - first, 60000u) << "ticks do not run backwards";
}

TYPED_TEST_P(SystemContract, TheLocaleNamesALanguageAndComparesWithoutCase) {
  Locale& locale = this->environment_.locale();
  Text language;
  ASSERT_TRUE(locale.UserIso639Name(language));
  EXPECT_TRUE(language.size() == 2 || language.size() == 3) << ToUtf8(language);
  EXPECT_EQ(locale.CompareIgnoreCase(u"spooler", u"SPOOLER"), 0);
  EXPECT_LT(locale.CompareIgnoreCase(u"alpha", u"Beta"), 0);
  EXPECT_GT(locale.CompareIgnoreCase(u"Gamma", u"beta"), 0);
  EXPECT_EQ(locale.Upper(u"tarnwick\u00E9"), u"TARNWICK\u00C9") << "all letters, not only ASCII";
}

TYPED_TEST_P(SystemContract, TheProgramsOwnResourcesAreFoundWithoutCase) {
  ProgramResources& resources = this->environment_.resources();
  Bytes table;
  ASSERT_TRUE(resources.ReadRcData(u"translate", table));
  ASSERT_GE(table.size(), 3u);
  EXPECT_EQ(table[0], 0xEF) << "UTF-8 with its byte-order mark";
  Bytes nothing;
  EXPECT_FALSE(resources.ReadRcData(u"NO_SUCH_RESOURCE", nothing));
}

REGISTER_TYPED_TEST_SUITE_P(SystemContract, TheFoldersTheCatalogueUsesAreNamedAndOthersAreNot,
                            SystemFactsAreThoseOfAWindowsOfOurTime, TheClockTellsAPlausibleTime,
                            TheLocaleNamesALanguageAndComparesWithoutCase,
                            TheProgramsOwnResourcesAreFoundWithoutCase);

}  // namespace tarnwick::contract
