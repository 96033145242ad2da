#include "core/paths/path.h"

#include <array>

namespace tarnwick {
namespace {

struct FolderForm {
  TextView form;
  int x64Id;
  bool x64RemoveSuffix;
  int otherId;
};

constexpr std::array<FolderForm, 9> kFolderForms = {{
    {u"%ProgramData%", csidl::kCommonAppData, false, csidl::kCommonAppData},
    {u"%SystemRoot%", csidl::kWindows, false, csidl::kWindows},
    {u"%Public%", csidl::kCommonDocuments, false, csidl::kCommonDocuments},
    {u"%AppData%", csidl::kAppData, false, csidl::kAppData},
    {u"%WinDir%", csidl::kWindows, false, csidl::kWindows},
    {u"%CommonProgramFiles(x86)%", csidl::kProgramFilesCommonX86, false, csidl::kProgramFilesCommon},
    {u"%CommonProgramFiles%", csidl::kProgramFilesCommon, true, csidl::kProgramFilesCommon},
    {u"%ProgramFiles(x86)%", csidl::kProgramFilesX86, false, csidl::kProgramFiles},
    {u"%ProgramFiles%", csidl::kProgramFiles, true, csidl::kProgramFiles},
}};

// Each is four characters long; the split looks for the earliest of them.
constexpr std::array<TextView, 5> kExecutableExtensions = {u".EXE", u".BAT", u".COM", u".CMD", u".MSI"};

bool StartsWithAscii(TextView text, TextView prefix) {
  return text.size() >= prefix.size() && SameTextAscii(text.substr(0, prefix.size()), prefix);
}

}  // namespace

TextView FileNamePart(TextView path) {
  const size_t cut = path.find_last_of(u"\\:");
  return cut == TextView::npos ? path : path.substr(cut + 1);
}

TextView Trim(TextView text) {
  size_t begin = 0, end = text.size();
  while (begin < end && text[begin] <= 0x20) ++begin;
  while (end > begin && text[end - 1] <= 0x20) --end;
  return text.substr(begin, end - begin);
}

Text FolderVars::Path(TextView form) const {
  for (const auto& [known, path] : entries_) {
    if (SameTextAscii(known, form)) return path;
  }
  return {};
}

FolderVars FolderVars::Build(ShellFolders& shell, SystemInfo& system) {
  const bool x64 = system.NativeProcessorArchitecture() == processor_architecture::kAmd64;
  FolderVars vars;
  for (const FolderForm& entry : kFolderForms) {
    Text path = GetFolderPath(shell, x64 ? entry.x64Id : entry.otherId);
    if (x64 && entry.x64RemoveSuffix) path = RemoveX86Suffix(path);
    vars.Add(Text(entry.form), std::move(path));
  }
  return vars;
}

Text GetFolderPath(ShellFolders& shell, int id) {
  Text path;
  if (!shell.FolderPath(id, path)) return {};
  if (!path.empty() && path.back() == u'\\') path.pop_back();
  return path;
}

Text RemoveX86Suffix(TextView text) {
  constexpr TextView kSuffix = u" (x86)";
  const Text upper = UpperAscii(text);
  const size_t at = upper.find(u" (X86)");
  Text result(text);
  if (at != Text::npos) result.erase(at, kSuffix.size());
  return result;
}

Text ExpandFolderVars(const FolderVars& vars, TextView text) {
  for (const auto& [form, path] : vars.Entries()) {
    if (text.size() > form.size() && text[form.size()] == u'\\' && StartsWithAscii(text, form)) {
      return path + Text(text.substr(form.size()));
    }
  }
  return Text(text);
}

SplitLine SplitCommandLine(TextView line) {
  SplitLine split;
  const TextView t = Trim(line);
  if (t.empty()) return split;

  if (t.front() == u'"') {
    const size_t close = t.find(u'"', 1);
    if (close == TextView::npos) {
      split.program = Text(t.substr(1));
    } else {
      split.program = Text(Trim(t.substr(1, close - 1)));
      split.arguments = Text(Trim(t.substr(close + 1)));
    }
    return split;
  }

  const Text upper = UpperAscii(t);
  size_t first = Text::npos;
  for (TextView extension : kExecutableExtensions) {
    first = std::min(first, upper.find(extension));
  }
  if (first != Text::npos) {
    const size_t end = first + 4;
    split.program = Text(Trim(t.substr(0, end)));
    split.arguments = Text(Trim(t.substr(end)));
  } else if (const size_t space = t.find(u' '); space != TextView::npos) {
    split.program = Text(Trim(t.substr(0, space)));
    split.arguments = Text(Trim(t.substr(space + 1)));
  } else {
    split.program = Text(t);
  }
  return split;
}

Text CommandLineToPath(const FolderVars& vars, TextView line) {
  if (line.substr(0, 4) == u"\\??\\") line.remove_prefix(4);
  SplitLine split = SplitCommandLine(line);
  Text program = std::move(split.program);

  if (SameTextAscii(FileNamePart(program), u"rundll32.exe") && !split.arguments.empty()) {
    TextView module = Trim(split.arguments);
    if (!module.empty() && module.front() == u'"') {
      const size_t close = module.find(u'"', 1);
      module = close == TextView::npos ? TextView() : module.substr(1, close - 1);
    }
    if (const size_t comma = module.find(u','); comma != TextView::npos) {
      module = module.substr(0, comma);
    }
    program = Text(module);
  }

  program = ExpandFolderVars(vars, program);

  // One pass, left to right: "\\" -> "\", without rescanning what was replaced.
  Text collapsed;
  collapsed.reserve(program.size());
  for (size_t i = 0; i < program.size(); ++i) {
    collapsed += program[i];
    if (program[i] == u'\\' && i + 1 < program.size() && program[i + 1] == u'\\') ++i;
  }
  return collapsed;
}

}  // namespace tarnwick
