#pragma once
// Writing UTF-8 text to a standard stream: a console gets UTF-16 through WriteConsoleW
// (so any code page shows it), a file or pipe gets the UTF-8 bytes unchanged.

#include <string_view>

namespace tarnwick::win32 {

enum class StdStream { Out, Err };

// False when the stream could not be written.
[[nodiscard]] bool WriteStd(StdStream stream, std::string_view utf8) noexcept;

}  // namespace tarnwick::win32
