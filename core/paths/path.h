#pragma once
// Shell folders, folder-variable forms such as "%ProgramFiles%", and the purely textual
// resolution of a command line to the file it starts (no file system access).

#include <utility>
#include <vector>

#include "core/text/text.h"
#include "ports/shell_folders.h"
#include "ports/system_info.h"

namespace tarnwick {

namespace csidl {
inline constexpr int kStartup = 0x07;
inline constexpr int kAppData = 0x1A;
inline constexpr int kCommonStartup = 0x18;
inline constexpr int kCommonAppData = 0x23;
inline constexpr int kWindows = 0x24;
inline constexpr int kProgramFiles = 0x26;
inline constexpr int kProgramFilesX86 = 0x2A;
inline constexpr int kProgramFilesCommon = 0x2B;
inline constexpr int kProgramFilesCommonX86 = 0x2C;
inline constexpr int kCommonDocuments = 0x2E;
}  // namespace csidl

// Form -> folder path, in the order the forms are entered. Built once at start.
class FolderVars {
 public:
  FolderVars() = default;
  static FolderVars Build(ShellFolders& shell, SystemInfo& system);

  const std::vector<std::pair<Text, Text>>& Entries() const { return entries_; }
  void Add(Text form, Text path) { entries_.emplace_back(std::move(form), std::move(path)); }
  // The folder of a form ("%SystemRoot%"), compared without regard to ASCII case; empty when
  // there is no such form or the shell could not name its folder.
  Text Path(TextView form) const;

 private:
  std::vector<std::pair<Text, Text>> entries_;
};

// The folder's path without one trailing "\"; empty when the shell cannot name it.
Text GetFolderPath(ShellFolders& shell, int csidl);

// Removes the first " (x86)", compared without regard to ASCII case.
Text RemoveX86Suffix(TextView text);

// Replaces a leading form directly followed by "\" with its folder; otherwise unchanged.
Text ExpandFolderVars(const FolderVars& vars, TextView text);

struct SplitLine {
  Text program;
  Text arguments;
};
SplitLine SplitCommandLine(TextView line);

// The path of the file a command line starts: quotes, arguments and rundll32 handled,
// a leading folder form expanded, doubled "\" collapsed.
Text CommandLineToPath(const FolderVars& vars, TextView line);

// The text after the last "\" or ":" (all of it when there is none).
TextView FileNamePart(TextView path);

// Characters up to 0x20 removed from both ends.
TextView Trim(TextView text);

}  // namespace tarnwick
