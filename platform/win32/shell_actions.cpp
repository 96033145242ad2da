#include "platform/win32/shell_actions.h"

#include <shellapi.h>

#include <cstring>
#include <string>
#include <utility>

#include "platform/win32/native_path.h"
#include "platform/win32/wide.h"

namespace tarnwick::win32 {
namespace {

// Global memory handed to the clipboard, freed on every path where the clipboard did not take it.
class GlobalText {
 public:
  explicit GlobalText(const std::wstring& text) : memory_(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
    if (!memory_) return;
    if (void* locked = GlobalLock(memory_)) {
      std::memcpy(locked, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
      GlobalUnlock(memory_);
    } else {
      GlobalFree(std::exchange(memory_, nullptr));
    }
  }
  GlobalText(const GlobalText&) = delete;
  GlobalText& operator=(const GlobalText&) = delete;
  ~GlobalText() {
    if (memory_) GlobalFree(memory_);
  }
  HGLOBAL get() const { return memory_; }
  void release() { memory_ = nullptr; }

 private:
  HGLOBAL memory_;
};

class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  bool open() const { return open_; }

 private:
  bool open_;
};

}  // namespace

bool ShowFileInFolder(TextView path) {
  const std::wstring file = Wide(path);
  const size_t slash = file.find_last_of(L'\\');
  if (slash == std::wstring::npos) return false;
  // The file is tested as a 64-bit process sees it; the shell gets the path as the entry names it.
  const bool exists = GetFileAttributesW(NativeFilePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  const std::wstring parameters = exists ? L"/select,\"" + file + L"\"" : L"\"" + file.substr(0, slash) + L"\"";
  return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", L"explorer.exe", parameters.c_str(), nullptr,
                                                 SW_SHOWNORMAL)) > 32;
}

bool CopyTextToClipboard(HWND owner, TextView text) {
  GlobalText memory(Wide(text));
  if (!memory.get()) return false;
  const OpenClipboardScope clipboard(owner);
  if (!clipboard.open() || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
  memory.release();  // the clipboard owns it now
  return true;
}

}  // namespace tarnwick::win32
