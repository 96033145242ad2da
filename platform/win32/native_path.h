#pragma once
// File-system redirection: a 32-bit process on 64-bit Windows that opens
// C:\Windows\System32\x.exe gets SysWOW64's file, or nothing. Files read for an entry must
// be the ones the entry names, as a 64-bit process sees them.

#include <string>

#include "core/text/text.h"

namespace tarnwick::win32 {

// `path` as a 64-bit process would open it: under WoW64 a path inside %SystemRoot%\System32
// goes through the Sysnative alias; everything else, and every path in a 64-bit process, is
// returned as it is. Only an alias, never a change of the thread's redirection, so that no
// DLL the call loads comes from the wrong folder.
std::wstring NativeFilePath(TextView path);

}  // namespace tarnwick::win32
