#include "launcher/launcher_flow.h"

#include "core/files/file_info.h"
#include "core/registry/registry.h"
#include "core/update/update.h"
#include "launcher/launcher_text.h"
#include "launcher/messages.h"

namespace tarnwick::launcher {

Text MainProgramPath(TextView ownPath) {
  const size_t cut = ownPath.find_last_of(u":\\/");
  const TextView folder = cut == TextView::npos ? TextView() : ownPath.substr(0, cut + 1);
  return Text(folder) + u"Tarnwick.exe";
}

Text DecodeAnswer(const std::string& body, LauncherSystem& system) {
  Text answer;
  answer.reserve(body.size());
  for (unsigned char byte : body) answer += byte < 128 ? char16_t(byte) : system.AnsiToWide(byte);
  return answer;
}

Text Launcher::ReadClientIdentity() {
  // Opened, never created: until the main program has run once, the identity is empty.
  auto key = ports.registry.Open(root::kCurrentUser, u"Software\\Morvessa", KeyAccess::ReadWrite);
  if (!key) return {};
  RegistryValue value;
  if (!key->QueryValue(u"MorUID", value)) {
    const Text uid = GenerateUID(ports.clock, random);
    return key->SetValue(u"MorUID", {reg_type::kSz, RegDataFromText(uid)}) ? uid : Text();
  }
  if (value.type != reg_type::kSz && value.type != reg_type::kExpandSz) return {};
  return TextFromRegData(value.data);
}

bool Launcher::CheckForUpdate(TextView mainProgramPath, TextView siteUrl, TextView updateUrl) {
  if (!ports.fileSystem.FileExists(mainProgramPath)) {
    system.ShowMessage(Localize(u"The application configuration file is invalid.", LauncherLanguage) + u"\r\r" +
                          Localize(u"Please reinstall and run.", LauncherLanguage),
                      kTitle, box::kOk | box::kIconError | box::kSetForeground | box::kTopMost);
    OpenWebAddress(ports.shell, siteUrl);
    return true;
  }

  Text answer;
  if (auto session = system.OpenInternet(kBrowserAgent)) {
    const Text headers = u"User-Version: " + FileVersionText(ports.versions, mainProgramPath) +
                         u"\rUser-Debug: false\rUser-Union: " + ReadClientIdentity();
    std::string body;
    if (session->Get(updateUrl, headers, kAnswerLimit, body)) answer = DecodeAnswer(body, system);
  }

  // A link that is no web address counts as absent: an offer whose Yes opens nothing would
  // end the launcher without starting the main program.
  const Text link = UnescapeJsonText(RawUpdateLink(answer));
  if (!IsWebAddress(link)) return false;
  const int choice = system.ShowMessage(Localize(u"This program has been updated.", LauncherLanguage) + u"\r\r" +
                                           Localize(u"It is recommended to download and execute new for stable use.",
                                                    LauncherLanguage) +
                                           u"\r\r" + Localize(u"Do you want to download it?", LauncherLanguage),
                                       kTitle, box::kYesNo | box::kIconInformation | box::kSetForeground | box::kTopMost);
  if (choice != box::kIdYes) return false;
  ports.shell.Open(link);
  return true;
}

int Launcher::Run(TextView siteUrl, TextView updateUrl) {
  if (!system.CreateSingleInstanceMutex(kMutexName)) return 0;
  const Text mainProgram = MainProgramPath(system.ModulePath());
  if (CheckForUpdate(mainProgram, siteUrl, updateUrl)) return 0;
  if (Argument(system.CommandLine(), 1) == u"/inst") ports.shell.Open(mainProgram);
  return 0;
}

}  // namespace tarnwick::launcher
