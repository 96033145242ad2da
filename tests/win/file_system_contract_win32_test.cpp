// The file system contract against Wine's file system, in a scratch folder of the prefix.

#include <windows.h>

#include "platform/win32/system_win32.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "tests/contract/file_system_contract.h"

namespace tarnwick::contract {
namespace {

class Win32Environment {
 public:
  Win32Environment() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"TarnwickContract";
    Remove();
    CreateDirectoryW(folder_.c_str(), nullptr);
  }
  ~Win32Environment() { Remove(); }
  FileSystem& files() { return files_; }
  Text folder() const { return win32::FromWide(folder_.c_str()); }
  void MakeSubfolder(TextView name) { CreateDirectoryW((folder_ + L"\\" + win32::Wide(name)).c_str(), nullptr); }
  std::string Content(TextView name) {
    const win32::UniqueHandle file(CreateFileW((folder_ + L"\\" + win32::Wide(name)).c_str(), GENERIC_READ,
                                               FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string content(4096, '\0');
    DWORD read = 0;
    ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    content.resize(read);
    return content;
  }

 private:
  // One level deep is all the suite makes.
  void Remove() {
    WIN32_FIND_DATAW data;
    const win32::UniqueFindHandle find(FindFirstFileW((folder_ + L"\\*").c_str(), &data));
    if (find) {
      do {
        const std::wstring path = folder_ + L"\\" + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          if (lstrcmpW(data.cFileName, L".") != 0 && lstrcmpW(data.cFileName, L"..") != 0) {
            RemoveDirectoryW(path.c_str());
          }
        } else {
          DeleteFileW(path.c_str());
        }
      } while (FindNextFileW(find.get(), &data));
    }
    RemoveDirectoryW(folder_.c_str());
  }
  std::wstring folder_;
  win32::Win32FileSystem files_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileSystemContract, Win32Environment);

}  // namespace
}  // namespace tarnwick::contract
