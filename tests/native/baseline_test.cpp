#include <gtest/gtest.h>

#include "cli/baseline.h"
#include "cli/tarnwickc.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

class BaselineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windows.files.AddFolder(u"C:\\Out");
    windows.services.Add({u"Agent", u"Vendor Agent", u"C:\\Vendor\\agent.exe", scm::kAutoStart});
    windows.services.Add({u"Helper", u"Vendor Helper", u"C:\\Vendor\\helper.exe", scm::kDisabled});
  }
  CliResult Run(std::vector<Text> args) { return RunTarnwickc(args, windows.app()); }
  void Write(const std::string& bytes) {
    Text message;
    ASSERT_TRUE(windows.files.WriteWholeFile(kFile, bytes, message));
  }
  static constexpr char16_t kFile[] = u"C:\\Out\\baseline.json";
  sim::SimWindows windows;
};

TEST_F(BaselineTest, ExportChangeDiffApplyAndTheDiffIsEmpty) {
  CliResult result = Run({u"export", kFile});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "2 entries written to C:\\Out\\baseline.json\n");
  EXPECT_EQ(Run({u"diff", kFile}).exitCode, 0);

  windows.services.Find(u"Agent")->startType = scm::kDisabled;  // switched off behind our back
  windows.services.Find(u"Helper")->startType = scm::kAutoStart;
  windows.services.Add({u"Newcomer", u"New Agent", u"C:\\New\\n.exe", scm::kAutoStart});
  windows.services.Remove(u"Helper");
  windows.services.Add({u"Helper2", u"Vendor Helper 2", u"C:\\Vendor\\helper2.exe", scm::kDisabled});
  result = Run({u"diff", kFile});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out,
            "switched off  SERV Agent  (Vendor Agent)\n"
            "added  SERV Newcomer  (New Agent)\n"
            "added  SERV Helper2  (Vendor Helper 2)\n"
            "removed  SERV Helper  (Vendor Helper)\n");

  result = Run({u"apply", kFile});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "SERV Agent: enabled\n");
  EXPECT_EQ(windows.services.Find(u"Agent")->startType, scm::kAutoStart);
  EXPECT_EQ(windows.services.Find(u"Newcomer")->startType, scm::kAutoStart) << "entries the baseline lacks stay";
  result = Run({u"diff", kFile});
  EXPECT_EQ(result.out.find("switched"), std::string::npos) << result.out;
}

TEST_F(BaselineTest, ADamagedOrForeignFileIsRefusedAndNothingIsSwitched) {
  ASSERT_EQ(Run({u"export", kFile}).exitCode, 0);
  const std::string good = windows.files.Content(kFile);
  windows.services.Find(u"Agent")->startType = scm::kDisabled;
  const std::string cases[] = {
      good.substr(0, good.size() / 2),                                                   // cut short
      "{\"format\":\"tarnwick-baseline\",\"version\":2,\"entries\":[]}",                // a later version
      "{\"format\":\"something else\",\"version\":1,\"entries\":[]}",                   // foreign
      "{\"format\":\"tarnwick-baseline\",\"version\":1,\"entries\":[{\"from\":\"SERV\",\"target\":\"Agent\","
      "\"enabled\":\"yes\"}]}",                                                           // wrong type
      "[1,2,3]",
  };
  for (const std::string& bytes : cases) {
    Write(bytes);
    for (const char16_t* command : {u"diff", u"apply"}) {
      const CliResult result = Run({command, kFile});
      EXPECT_EQ(result.exitCode, 2) << bytes;
      EXPECT_NE(result.err.find("is refused"), std::string::npos) << result.err;
      EXPECT_TRUE(result.out.empty());
    }
  }
  EXPECT_EQ(windows.services.Find(u"Agent")->startType, scm::kDisabled) << "nothing switched";
  EXPECT_EQ(Run({u"apply", u"C:\\Out\\missing.json"}).exitCode, 2);
}

}  // namespace
}  // namespace tarnwick
