#include "platform/win32/console.h"

#include <windows.h>

#include <algorithm>

#include "core/text/text.h"
#include "platform/win32/wide.h"

namespace tarnwick::win32 {

bool WriteStd(StdStream stream, std::string_view utf8) noexcept {
  HANDLE handle = GetStdHandle(stream == StdStream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
  try {
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
      const std::wstring wide = Wide(FromUtf8(utf8));
      size_t done = 0;
      while (done < wide.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 16384));
        if (!WriteConsoleW(handle, wide.data() + done, chunk, &written, nullptr) || written == 0)
          return false;
        done += written;
      }
      return true;
    }
    size_t done = 0;
    while (done < utf8.size()) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(utf8.size() - done, 1 << 20));
      if (!WriteFile(handle, utf8.data() + done, chunk, &written, nullptr) || written == 0)
        return false;
      done += written;
    }
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace tarnwick::win32
