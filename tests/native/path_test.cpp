#include <gtest/gtest.h>

#include "core/paths/path.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

class PathTest : public ::testing::Test {
 protected:
  sim::SimWindows windows;
};

TEST_F(PathTest, CommandLineToPathTable) {
  const FolderVars vars = windows.app().folderVars;
  struct Case {
    const char16_t* line;
    const char16_t* path;
  };
  const Case cases[] = {
      {u"\"C:\\Program Files\\App\\app.exe\" /min", u"C:\\Program Files\\App\\app.exe"},
      {u"C:\\Program Files\\App\\app.exe /min", u"C:\\Program Files\\App\\app.exe"},
      {u"%ProgramFiles%\\App\\app.exe -x", u"C:\\Program Files\\App\\app.exe"},
      {u"%programfiles%\\App\\app.exe", u"C:\\Program Files\\App\\app.exe"},
      {u"%ProgramFiles%", u"%ProgramFiles%"},
      {u"x %ProgramFiles%\\a.exe", u"x %ProgramFiles%\\a.exe"},
      {u"%USERPROFILE%\\x.exe", u"%USERPROFILE%\\x.exe"},
      {u"rundll32.exe shell32.dll,Control_RunDLL", u"shell32.dll"},
      {u"C:\\Windows\\System32\\RUNDLL32.EXE \"C:\\Program Files\\Vendor\\mod.dll\",Start",
       u"C:\\Program Files\\Vendor\\mod.dll"},
      {u"rundll32.exe", u"rundll32.exe"},
      {u"\\??\\C:\\Drivers\\tool.exe", u"C:\\Drivers\\tool.exe"},
      {u"msiexec.exe /i setup.msi", u"msiexec.exe"},
      {u"C:\\my.exec\\tool.exe", u"C:\\my.exe"},
      {u"C:\\Tools\\agent --silent", u"C:\\Tools\\agent"},
      {u"\"C:\\A\\b.exe -x", u"C:\\A\\b.exe -x"},
      {u"C:\\\\App\\\\a.exe", u"C:\\App\\a.exe"},
      {u"\\\\server\\share\\a.exe", u"\\server\\share\\a.exe"},
      {u"", u""},
      {u"  \t ", u""},
      // Beyond the table: what the rules imply at their edges.
      {u"C:\\a\\\\\\b.exe", u"C:\\a\\\\b.exe"},       // three become two
      {u"C:\\a\\\\\\\\b.exe", u"C:\\a\\\\b.exe"},     // four become two
      {u"rundll32.exe \"C:\\x\\m.dll", u""},           // no closing quote: empty module
      {u"rundll32.exe  m.dll", u"m.dll"},
      {u"%SystemRoot%\\system32\\svc.exe", u"C:\\Windows\\system32\\svc.exe"},
      {u"%ProgramFiles(x86)%\\App\\a.exe", u"C:\\Program Files (x86)\\App\\a.exe"},
      {u"C:\\Tools\\Run.BAT arg", u"C:\\Tools\\Run.BAT"},
      {u"\" C:\\Q\\q.exe \" -a", u"C:\\Q\\q.exe"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandLineToPath(vars, c.line), c.path) << ToUtf8(c.line);
  }
}

TEST_F(PathTest, SplitCommandLineGivesArguments) {
  struct Case {
    const char16_t* line;
    const char16_t* program;
    const char16_t* arguments;
  };
  const Case cases[] = {
      {u"\"C:\\A B\\a.exe\"   -x  y ", u"C:\\A B\\a.exe", u"-x  y"},
      {u"C:\\A B\\a.exe -x", u"C:\\A B\\a.exe", u"-x"},
      {u"tool  --flag", u"tool", u"--flag"},
      {u"tool", u"tool", u""},
      {u"\"C:\\open", u"C:\\open", u""},
      {u"", u"", u""},
  };
  for (const Case& c : cases) {
    const SplitLine split = SplitCommandLine(c.line);
    EXPECT_EQ(split.program, c.program) << ToUtf8(c.line);
    EXPECT_EQ(split.arguments, c.arguments) << ToUtf8(c.line);
  }
}

TEST_F(PathTest, FolderVarsFollowTheNativeArchitecture) {
  // A 32-bit process on x64 is handed the (x86) folders for the native ids.
  windows.shellFolders.Set(csidl::kProgramFiles, u"C:\\Program Files (x86)\\");
  windows.shellFolders.Set(csidl::kProgramFilesCommon, u"C:\\Program Files (x86)\\Common Files");
  FolderVars x64 = windows.app().folderVars;
  ASSERT_EQ(x64.Entries().size(), 9u);
  EXPECT_EQ(x64.Entries()[0].first, u"%ProgramData%");
  EXPECT_EQ(ExpandFolderVars(x64, u"%ProgramFiles%\\a"), u"C:\\Program Files\\a");
  EXPECT_EQ(ExpandFolderVars(x64, u"%CommonProgramFiles%\\a"), u"C:\\Program Files\\Common Files\\a");
  EXPECT_EQ(ExpandFolderVars(x64, u"%ProgramFiles(x86)%\\a"), u"C:\\Program Files (x86)\\a");
  EXPECT_EQ(ExpandFolderVars(x64, u"%Public%\\a"), u"C:\\Users\\Public\\Documents\\a");
  EXPECT_EQ(ExpandFolderVars(x64, u"%WINDIR%\\a"), u"C:\\Windows\\a");

  windows.systemInfo.architecture = processor_architecture::kIntel;
  windows.shellFolders.Set(csidl::kProgramFiles, u"C:\\Program Files");
  FolderVars x86 = windows.app().folderVars;
  EXPECT_EQ(ExpandFolderVars(x86, u"%ProgramFiles(x86)%\\a"), u"C:\\Program Files\\a");
  EXPECT_EQ(ExpandFolderVars(x86, u"%CommonProgramFiles(x86)%\\a"),
            u"C:\\Program Files (x86)\\Common Files\\a");  // the 0x2B folder, as the shell gives it
}

TEST_F(PathTest, UnnamedFolderExpandsToTheRestAlone) {
  windows.faults.Fail("SHGetFolderPathW", u"36");  // CSIDL_WINDOWS
  const FolderVars vars = windows.app().folderVars;
  EXPECT_EQ(ExpandFolderVars(vars, u"%SystemRoot%\\App\\app.exe"), u"\\App\\app.exe");
  EXPECT_EQ(GetFolderPath(windows.shellFolders, csidl::kWindows), u"");
}

TEST(PathHelpers, RemoveX86SuffixAndTrim) {
  EXPECT_EQ(RemoveX86Suffix(u"C:\\Program Files (x86)"), u"C:\\Program Files");
  EXPECT_EQ(RemoveX86Suffix(u"C:\\Program Files (X86)\\Common Files (x86)"),
            u"C:\\Program Files\\Common Files (x86)");
  EXPECT_EQ(RemoveX86Suffix(u"C:\\Program Files(x86)"), u"C:\\Program Files(x86)");
  EXPECT_EQ(Trim(u"\x01 a b\x20\x1F"), u"a b");
  EXPECT_EQ(Trim(u"\u00A0a"), u"\u00A0a");
}

}  // namespace
}  // namespace tarnwick
