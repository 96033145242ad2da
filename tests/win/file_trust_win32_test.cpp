// Shell links, Authenticode and the user's SID against Wine. The signed, altered and unsigned
// programs and the test root come from tests/wine/sign_probe.py at build time.

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wincrypt.h>

#include <string>

#include "platform/win32/com_ptr.h"
#include "platform/win32/shortcuts_win32.h"
#include "platform/win32/signatures_win32.h"
#include "platform/win32/system_win32.h"
#include "tests/win/test_support.h"

namespace tarnwick::win32 {
namespace {

std::string ReadBytes(const Text& path) {
  std::string bytes;
  Text message;
  return Win32FileSystem().ReadWholeFile(path, 1 << 20, bytes, message) ? bytes : std::string();
}

// The test root in the machine's trusted roots for as long as the object lives.
class TrustedTestRoot {
 public:
  TrustedTestRoot() {
    const std::string der = ReadBytes(test::BesideThisProgram(L"signed\\root.der"));
    store_ = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!store_ || der.empty()) return;
    added_ = CertAddEncodedCertificateToStore(store_, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                              static_cast<DWORD>(der.size()),
                                              CERT_STORE_ADD_REPLACE_EXISTING, &cert_) != FALSE;
  }
  ~TrustedTestRoot() {
    if (cert_) CertDeleteCertificateFromStore(cert_);  // frees the context too
    if (store_) CertCloseStore(store_, 0);
  }
  TrustedTestRoot(const TrustedTestRoot&) = delete;
  TrustedTestRoot& operator=(const TrustedTestRoot&) = delete;
  bool added() const { return added_; }

 private:
  HCERTSTORE store_ = nullptr;
  PCCERT_CONTEXT cert_ = nullptr;
  bool added_ = false;
};

TEST(SignaturesWin32, SignedAlteredAndUnsignedProgramsReadAsSuch) {
  Win32SignatureVerifier verifier;
  // Before its root is trusted: the chain engine keeps the roots it read for the process, so
  // this comes first. Wine 8 accepts a chain to a root nobody trusts (it reports success), so
  // Untrusted is only checked on Windows; the simulated platform covers what follows from it.
  const Signature untrusted = verifier.Verify(test::BesideThisProgram(L"signed\\signed.exe"));
  if (!test::RunningUnderWine()) EXPECT_EQ(untrusted.state, SignatureState::Untrusted);
  EXPECT_EQ(untrusted.signer, u"Tarnwick Test Signer");
  {
    TrustedTestRoot root;
    ASSERT_TRUE(root.added());
    const Signature signed_ = verifier.Verify(test::BesideThisProgram(L"signed\\signed.exe"));
    EXPECT_EQ(signed_.state, SignatureState::Valid);
    EXPECT_EQ(signed_.signer, u"Tarnwick Test Signer");
    EXPECT_FALSE(signed_.fromCatalogue);
    EXPECT_EQ(verifier.Verify(test::BesideThisProgram(L"signed\\altered.exe")).state, SignatureState::Invalid);
    EXPECT_EQ(verifier.Verify(test::BesideThisProgram(L"signed\\unsigned.exe")).state, SignatureState::Unsigned);
  }
  EXPECT_EQ(verifier.Verify(test::BesideThisProgram(L"signed\\missing.exe")).state, SignatureState::Unknown);
}

// Writes a shell link through the shell's own interface.
bool SaveLink(const std::wstring& link, const wchar_t* target, const wchar_t* arguments) {
  const ScopedCoInitialize com(COINIT_APARTMENTTHREADED);
  ComPtr<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(shellLink.put())))) {
    return false;
  }
  ComPtr<IPersistFile> file;
  return SUCCEEDED(shellLink->SetPath(target)) && SUCCEEDED(shellLink->SetArguments(arguments)) &&
         SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))) &&
         SUCCEEDED(file->Save(link.c_str(), TRUE));
}

TEST(ShortcutsWin32, LinksGiveTheirTargetAndArgumentsEvenWhenTheTargetIsGone) {
  wchar_t temp[MAX_PATH];
  ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"tarnwick-links";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring present = folder + L"\\present.lnk", gone = folder + L"\\gone.lnk",
                     notALink = folder + L"\\plain.lnk";
  const std::wstring program = Wide(test::BesideThisProgram(L"signed\\unsigned.exe"));
  ASSERT_TRUE(SaveLink(present, program.c_str(), L"--tray \"a b\""));
  ASSERT_TRUE(SaveLink(gone, L"C:\\NoSuchFolder\\gone.exe", L""));
  Text message;
  ASSERT_TRUE(Win32FileSystem().WriteWholeFile(FromWide(notALink.c_str()), "not a link", message));

  Win32ShortcutReader reader;
  ShortcutTarget target;
  ASSERT_TRUE(reader.Read(FromWide(present.c_str()), target));
  EXPECT_TRUE(SameTextAscii(target.path, FromWide(program.c_str()))) << ToUtf8(target.path);
  EXPECT_EQ(target.arguments, u"--tray \"a b\"");
  ASSERT_TRUE(reader.Read(FromWide(gone.c_str()), target));
  EXPECT_TRUE(SameTextAscii(target.path, u"C:\\NoSuchFolder\\gone.exe")) << ToUtf8(target.path);
  EXPECT_TRUE(target.arguments.empty());
  EXPECT_FALSE(reader.Read(FromWide(notALink.c_str()), target));
  EXPECT_FALSE(reader.Read(FromWide((folder + L"\\missing.lnk").c_str()), target));

  for (const std::wstring& file : {present, gone, notALink}) DeleteFileW(file.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST(SystemInfoWin32, TheUserHasASecurityIdentifier) {
  Win32SystemInfo system;
  const Text sid = system.UserSid();
  EXPECT_EQ(sid.rfind(u"S-1-5-", 0), 0u) << ToUtf8(sid);
}

}  // namespace
}  // namespace tarnwick::win32
