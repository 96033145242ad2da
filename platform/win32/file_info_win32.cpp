#include "platform/win32/file_info_win32.h"

#include <shellapi.h>

#include <vector>

#include "platform/win32/gdi.h"
#include "platform/win32/native_path.h"
#include "platform/win32/wide.h"

namespace tarnwick::win32 {
namespace {

class Block final : public VersionBlock {
 public:
  explicit Block(std::vector<uint8_t> data) : data_(std::move(data)) {}
  bool Query(TextView subBlock, Bytes& value) override {
    void* found = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data_.data(), Wide(subBlock).c_str(), &found, &length) || !found) return false;
    // Strings report their length in characters, other values in bytes.
    const bool text = subBlock.starts_with(u"\\StringFileInfo\\");
    const size_t bytes = text ? length * sizeof(wchar_t) : length;
    const auto* begin = static_cast<const uint8_t*>(found);
    value.assign(begin, begin + bytes);
    return true;
  }

 private:
  std::vector<uint8_t> data_;
};

class Win32Icon final : public Icon {
 public:
  explicit Win32Icon(HICON icon) : icon_(icon) {}
  HICON get() const { return icon_.get(); }

 private:
  UniqueIcon icon_;
};

}  // namespace

std::unique_ptr<VersionBlock> Win32VersionResources::Read(TextView path) {
  const std::wstring file = NativeFilePath(path);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
  if (size == 0) return nullptr;
  std::vector<uint8_t> data(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return nullptr;
  return std::make_unique<Block>(std::move(data));
}

std::unique_ptr<Icon> Win32IconSource::ExtractAssociated(TextView file, uint16_t index) {
  // The function may write the path of the associated program into the buffer.
  wchar_t path[MAX_PATH * 2] = {};
  const std::wstring wide = NativeFilePath(file);
  if (wide.size() >= std::size(path)) return nullptr;
  wide.copy(path, wide.size());
  WORD number = index;
  HICON icon = ExtractAssociatedIconW(nullptr, path, &number);
  if (!icon) return nullptr;
  return std::make_unique<Win32Icon>(icon);
}

Win32ImageList::Win32ImageList(int size)
    : list_(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 16, 16)) {}

void Win32ImageList::Reset(int size) { list_.reset(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 16, 16)); }

int Win32ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.get()) : 0; }

bool Win32ImageList::AddIcon(const Icon& icon, TextView) {
  return list_ && ImageList_AddIcon(list_.get(), static_cast<const Win32Icon&>(icon).get()) >= 0;
}

}  // namespace tarnwick::win32
