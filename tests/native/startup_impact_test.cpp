#include <gtest/gtest.h>

#include "core/details/startup_impact.h"
#include "core/xml/xml_reader.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

// The file as Windows writes it: UTF-16 LE with a byte-order mark.
std::string Utf16File(TextView text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

Text Process(TextView name, TextView cpuUs, TextView diskBytes) {
  return u"<Process Name=\"" + Text(name) + u"\" PID=\"4242\" StartedInTraceSec=\"3.1\">"
         u"<StartTime>2026-12-01T08:00:01Z</StartTime><CommandLine><![CDATA[\"" + Text(name) +
         u"\" --tray <min>]]></CommandLine>"
         u"<DiskUsage Units=\"bytes\">" + Text(diskBytes) + u"</DiskUsage>"
         u"<CpuUsage Units=\"us\">" + Text(cpuUs) + u"</CpuUsage>"
         u"<ParentPID>1000</ParentPID><ParentStartTime>2026-12-01T08:00:00Z</ParentStartTime>"
         u"<ParentName>explorer.exe</ParentName></Process>";
}

std::string StartupData(TextView processes) {
  return Utf16File(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
                   u"<StartupData IntervalStartMs=\"0\" IntervalEndMs=\"120000\">" + Text(processes) +
                   u"</StartupData>");
}

TEST(XmlReaderTest, ReadsElementsAttributesTextAndCdata) {
  XmlElement root;
  Text error;
  ASSERT_TRUE(ParseXml(u"<?xml version='1.0'?><!-- c --><a x='1' y=\"&lt;&amp;&#x48;&#65;\">t&gt;"
                       u"<b/><![CDATA[<raw>&amp;]]><c>&#x1F600;</c></a>",
                       root, error))
      << ToUtf8(error);
  EXPECT_EQ(root.name, u"a");
  EXPECT_EQ(*root.Attribute(u"y"), u"<&HA");
  EXPECT_EQ(root.Attribute(u"z"), nullptr);
  EXPECT_EQ(root.text, u"t><raw>&amp;");
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(root.Child(u"c")->text, u"\U0001F600");
}

TEST(XmlReaderTest, RefusesWhatIsNotWellFormed) {
  const TextView cases[] = {
      u"",           u"text",           u"<a>",       u"<a></b>",     u"<a x=1/>",  u"<a x='<'/>",
      u"<a>&bogus;</a>", u"<a>&#0;</a>", u"<a>&#xD800;</a>", u"<a/><b/>", u"<a><![CDATA[x</a>", u"<a><!-- </a>",
  };
  for (TextView document : cases) {
    XmlElement root;
    root.name = u"kept";
    Text error;
    EXPECT_FALSE(ParseXml(document, root, error)) << ToUtf8(document);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(root.name, u"kept") << "a refused document changes nothing";
  }
  Text deep;
  for (int i = 0; i < 100; ++i) deep += u"<a>";
  XmlElement root;
  Text error;
  EXPECT_FALSE(ParseXml(deep, root, error)) << "nesting is bounded";
}

TEST(StartupImpactTest, ClassesFollowTheTaskManagersThresholds) {
  struct Case {
    uint64_t cpuMs, diskBytes;
    ImpactLevel level;
  } cases[] = {
      {0, 0, ImpactLevel::Low},
      {299, 300 * 1024 - 1, ImpactLevel::Low},
      {300, 0, ImpactLevel::Medium},
      {0, 300 * 1024, ImpactLevel::Medium},
      {1000, 3 * 1024 * 1024, ImpactLevel::Medium},
      {1001, 0, ImpactLevel::High},
      {0, 3 * 1024 * 1024 + 1, ImpactLevel::High},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyImpact(c.cpuMs, c.diskBytes), c.level) << c.cpuMs << " ms, " << c.diskBytes << " bytes";
  }
}

TEST(StartupImpactTest, SumsEveryProcessOfAnImageWhateverItsCase) {
  BootMeasurements boot;
  Text error;
  ASSERT_TRUE(boot.Parse(StartupData(Process(u"C:\\Tools\\sync.exe", u"200000", u"1000") +
                                     Process(u"c:\\TOOLS\\Sync.exe", u"150000", u"2000") +
                                     Process(u"C:\\Tools\\big.exe", u"10", u"9999999") +
                                     Process(u"C:\\Tools\\odd.exe", u"lots", u" 12 ")),
                         error))
      << ToUtf8(error);
  const StartupImpact sync = boot.ImpactOf(u"C:\\Tools\\SYNC.exe");
  EXPECT_EQ(sync.level, ImpactLevel::Medium);
  EXPECT_EQ(sync.cpuMs, 350u);
  EXPECT_EQ(sync.diskBytes, 3000u);
  EXPECT_EQ(boot.ImpactOf(u"C:\\Tools\\big.exe").level, ImpactLevel::High);
  const StartupImpact odd = boot.ImpactOf(u"C:\\Tools\\odd.exe");
  EXPECT_EQ(odd.level, ImpactLevel::Low) << "an unreadable count counts as nothing";
  EXPECT_EQ(odd.diskBytes, 12u);
  EXPECT_EQ(boot.ImpactOf(u"C:\\Tools\\absent.exe").level, ImpactLevel::NotMeasured);
  EXPECT_EQ(boot.ImpactOf(u"").level, ImpactLevel::NotMeasured);

  EXPECT_FALSE(boot.Parse(Utf16File(u"<Other/>"), error));
  EXPECT_FALSE(boot.Parse(StartupData(u"<Process Name=\"x\">").substr(0, 40), error));
  EXPECT_EQ(boot.ImpactOf(u"C:\\Tools\\big.exe").level, ImpactLevel::High) << "a refused file changes nothing";
}

class NewestFileTest : public ::testing::Test {
 protected:
  static constexpr char16_t kFolder[] = u"C:\\Windows\\System32\\WDI\\LogFiles\\StartupInfo";
  void Add(TextView name, const std::string& bytes, uint64_t lastWrite) {
    Text message;
    windows.files.AddFolder(kFolder);
    const Text path = Text(kFolder) + u"\\" + Text(name);
    ASSERT_TRUE(windows.files.WriteWholeFile(path, bytes, message));
    ASSERT_TRUE(windows.files.SetLastWrite(path, lastWrite));
  }
  ImpactLevel LevelOfTool() {
    return BootMeasurements::ReadNewest(windows.app()).ImpactOf(u"C:\\Tools\\tool.exe").level;
  }
  Text Sid() const { return windows.systemInfo.userSid; }
  sim::SimWindows windows;
};

TEST_F(NewestFileTest, TheCurrentUsersNewestReadableFileCounts) {
  EXPECT_EQ(LevelOfTool(), ImpactLevel::NotMeasured) << "no folder";
  Add(Sid() + u"_StartupInfo1.xml", StartupData(Process(u"C:\\Tools\\tool.exe", u"1", u"1")), 100);
  Add(Sid() + u"_StartupInfo2.xml", StartupData(Process(u"C:\\Tools\\tool.exe", u"500000", u"1")), 300);
  Add(u"S-1-5-21-9-9-9-500_StartupInfo3.xml", StartupData(Process(u"C:\\Tools\\tool.exe", u"5000000", u"1")), 900);
  Add(Sid() + u"_StartupInfo3.txt", "", 999);
  EXPECT_EQ(LevelOfTool(), ImpactLevel::Medium) << "the newest of this user";

  Add(Sid() + u"_StartupInfo4.xml", StartupData(Process(u"C:\\Tools\\tool.exe", u"1", u"1")).substr(0, 30), 400);
  EXPECT_EQ(LevelOfTool(), ImpactLevel::Medium) << "a damaged newest file gives way to the one before";
  windows.faults.Fail("ReadFile", Text(kFolder) + u"\\" + Sid() + u"_StartupInfo2.xml");
  EXPECT_EQ(LevelOfTool(), ImpactLevel::Low) << "and an unreadable one too";

  windows.systemInfo.userSid.clear();
  EXPECT_EQ(LevelOfTool(), ImpactLevel::NotMeasured) << "no user, no file";
}

}  // namespace
}  // namespace tarnwick
