#include "platform/win32/signatures_win32.h"

#include <windows.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>
#include <mscat.h>

#include <string>
#include <vector>

#include "platform/win32/native_path.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace tarnwick::win32 {
namespace {

// Results that mean only "revocation could not be checked offline".
constexpr LONG kRevocationUnknown[] = {static_cast<LONG>(CERT_E_REVOCATION_FAILURE),
                                       static_cast<LONG>(CRYPT_E_REVOCATION_OFFLINE),
                                       static_cast<LONG>(CRYPT_E_NO_REVOCATION_CHECK)};

struct StateOf {
  LONG result;
  SignatureState state;
};
constexpr StateOf kStates[] = {
    {ERROR_SUCCESS, SignatureState::Valid},
    {static_cast<LONG>(TRUST_E_NOSIGNATURE), SignatureState::Unsigned},
    {static_cast<LONG>(TRUST_E_SUBJECT_FORM_UNKNOWN), SignatureState::Unsigned},
    {static_cast<LONG>(TRUST_E_PROVIDER_UNKNOWN), SignatureState::Unsigned},
    {static_cast<LONG>(TRUST_E_BAD_DIGEST), SignatureState::Invalid},
    {static_cast<LONG>(CRYPT_E_BAD_MSG), SignatureState::Invalid},
    {static_cast<LONG>(CRYPT_E_HASH_VALUE), SignatureState::Invalid},
    {static_cast<LONG>(TRUST_E_CERT_SIGNATURE), SignatureState::Invalid},
    {static_cast<LONG>(CERT_E_UNTRUSTEDROOT), SignatureState::Untrusted},
    {static_cast<LONG>(CERT_E_CHAINING), SignatureState::Untrusted},
    {static_cast<LONG>(CERT_E_UNTRUSTEDTESTROOT), SignatureState::Untrusted},
    {static_cast<LONG>(TRUST_E_EXPLICIT_DISTRUST), SignatureState::Untrusted},
    {static_cast<LONG>(CERT_E_REVOKED), SignatureState::Untrusted},
    {static_cast<LONG>(CERT_E_EXPIRED), SignatureState::Untrusted},
    {static_cast<LONG>(CERT_E_WRONG_USAGE), SignatureState::Untrusted},
};

SignatureState StateFor(LONG result) {
  for (const StateOf& entry : kStates) {
    if (entry.result == result) return entry.state;
  }
  return SignatureState::Unknown;
}

bool RevocationUnknown(LONG result) {
  for (LONG code : kRevocationUnknown) {
    if (code == result) return true;
  }
  return false;
}

// One WinVerifyTrust call; its state data is released on every path.
class TrustCheck {
 public:
  TrustCheck(WINTRUST_DATA& data) : data_(data) {}
  TrustCheck(const TrustCheck&) = delete;
  TrustCheck& operator=(const TrustCheck&) = delete;
  ~TrustCheck() {
    if (!ran_) return;
    data_.dwStateAction = WTD_STATEACTION_CLOSE;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data_);
  }

  LONG Run() {
    data_.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    ran_ = true;
    return WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data_);
  }

  // The leaf certificate's subject name; empty when the chain was not built.
  Text Signer() const {
    CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(data_.hWVTStateData);
    if (!provider) return {};
    CRYPT_PROVIDER_SGNR* signer = WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
    if (!signer || signer->csCertChain == 0 || !signer->pasCertChain || !signer->pasCertChain[0].pCert) return {};
    const PCCERT_CONTEXT cert = signer->pasCertChain[0].pCert;
    const DWORD size = CertGetNameStringW(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nullptr, 0);
    if (size <= 1) return {};
    std::wstring name(size, L'\0');
    CertGetNameStringW(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name.data(), size);
    return FromWide(name.c_str());
  }

 private:
  WINTRUST_DATA& data_;
  bool ran_ = false;
};

WINTRUST_DATA BaseData(DWORD revocation) {
  WINTRUST_DATA data{};
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = revocation;
  data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
  return data;
}

// Verifies with cache-only revocation first; a revocation that only the network could answer
// gives way to a check without it.
template <typename Prepare>
Signature VerifyWith(Prepare prepare) {
  for (DWORD revocation : {static_cast<DWORD>(WTD_REVOKE_WHOLECHAIN), static_cast<DWORD>(WTD_REVOKE_NONE)}) {
    WINTRUST_DATA data = BaseData(revocation);
    prepare(data);
    TrustCheck check(data);
    const LONG result = check.Run();
    if (revocation == WTD_REVOKE_WHOLECHAIN && RevocationUnknown(result)) continue;
    Signature signature{StateFor(result), {}, false};
    if (signature.state == SignatureState::Valid || signature.state == SignatureState::Untrusted) {
      signature.signer = check.Signer();
    }
    return signature;
  }
  return {SignatureState::Unknown, {}, false};
}

// The catalogue administrator context, released on every path.
struct CatalogueAdmin {
  HCATADMIN admin;
  ~CatalogueAdmin() {
    if (admin) CryptCATAdminReleaseContext(admin, 0);
  }
};

struct CatalogueMember {
  std::wstring catalogue;  // empty when no catalogue lists the file
  std::wstring tag;        // the file's hash in upper-case hex, as the catalogue names it
};

std::wstring HexOf(const std::vector<BYTE>& bytes) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring hex;
  for (BYTE b : bytes) {
    hex += kHex[b >> 4];
    hex += kHex[b & 0xF];
  }
  return hex;
}

// The system catalogue that lists the file's hash. SHA-256 catalogues (Windows 8 on) first
// where the system offers them, then SHA-1.
CatalogueMember CatalogueOf(HANDLE file) {
  using Acquire2 = BOOL(WINAPI*)(HCATADMIN*, const GUID*, const WCHAR*, const CERT_STRONG_SIGN_PARA*, DWORD);
  using Hash2 = BOOL(WINAPI*)(HCATADMIN, HANDLE, DWORD*, BYTE*, DWORD);
  HMODULE wintrust = GetModuleHandleW(L"wintrust.dll");
  const auto acquire2 = wintrust ? reinterpret_cast<Acquire2>(reinterpret_cast<void*>(
                                       GetProcAddress(wintrust, "CryptCATAdminAcquireContext2")))
                                 : nullptr;
  const auto hash2 = wintrust ? reinterpret_cast<Hash2>(reinterpret_cast<void*>(
                                    GetProcAddress(wintrust, "CryptCATAdminCalcHashFromFileHandle2")))
                              : nullptr;
  GUID driverAction = DRIVER_ACTION_VERIFY;
  for (const bool sha256 : {true, false}) {
    if (sha256 && (!acquire2 || !hash2)) continue;
    CatalogueAdmin admin{nullptr};
    const BOOL acquired = sha256 ? acquire2(&admin.admin, &driverAction, BCRYPT_SHA256_ALGORITHM, nullptr, 0)
                                 : CryptCATAdminAcquireContext(&admin.admin, &driverAction, 0);
    if (!acquired) continue;
    DWORD size = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    if (sha256) {
      hash2(admin.admin, file, &size, nullptr, 0);
    } else {
      CryptCATAdminCalcHashFromFileHandle(file, &size, nullptr, 0);
    }
    if (size == 0 || size > 256) continue;
    std::vector<BYTE> hash(size);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    const BOOL hashed = sha256 ? hash2(admin.admin, file, &size, hash.data(), 0)
                               : CryptCATAdminCalcHashFromFileHandle(file, &size, hash.data(), 0);
    if (!hashed) continue;
    HCATINFO info = CryptCATAdminEnumCatalogFromHash(admin.admin, hash.data(), size, 0, nullptr);
    if (!info) continue;
    CATALOG_INFO catalogue{};
    catalogue.cbStruct = sizeof catalogue;
    CatalogueMember member;
    if (CryptCATCatalogInfoFromContext(info, &catalogue, 0)) member = {catalogue.wszCatalogFile, HexOf(hash)};
    CryptCATAdminReleaseCatalogContext(admin.admin, info, 0);
    if (!member.catalogue.empty()) return member;
  }
  return {};
}

}  // namespace

Signature Win32SignatureVerifier::Verify(TextView path) {
  const std::wstring file = NativeFilePath(path);
  UniqueHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!handle) return {SignatureState::Unknown, {}, false};

  WINTRUST_FILE_INFO fileInfo{};
  fileInfo.cbStruct = sizeof fileInfo;
  fileInfo.pcwszFilePath = file.c_str();
  fileInfo.hFile = handle.get();
  const Signature embedded = VerifyWith([&](WINTRUST_DATA& data) {
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
  });
  if (embedded.state != SignatureState::Unsigned) return embedded;

  const CatalogueMember member = CatalogueOf(handle.get());
  if (member.catalogue.empty()) return embedded;
  SetFilePointer(handle.get(), 0, nullptr, FILE_BEGIN);
  WINTRUST_CATALOG_INFO catalogueInfo{};
  catalogueInfo.cbStruct = sizeof catalogueInfo;
  catalogueInfo.pcwszCatalogFilePath = member.catalogue.c_str();
  catalogueInfo.pcwszMemberTag = member.tag.c_str();
  catalogueInfo.pcwszMemberFilePath = file.c_str();
  catalogueInfo.hMemberFile = handle.get();
  Signature fromCatalogue = VerifyWith([&](WINTRUST_DATA& data) {
    data.dwUnionChoice = WTD_CHOICE_CATALOG;
    data.pCatalog = &catalogueInfo;
  });
  fromCatalogue.fromCatalogue = true;
  // A catalogue that cannot vouch for the file leaves it unsigned.
  return fromCatalogue.state == SignatureState::Valid ? fromCatalogue : embedded;
}

}  // namespace tarnwick::win32
