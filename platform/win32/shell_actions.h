#pragma once
// Small shell actions the windows offer on an entry's file.

#include <windows.h>

#include "core/text/text.h"

namespace tarnwick::win32 {

// Opens the file's folder in the shell with the file selected; the folder alone when the file
// is gone. False when the shell could not be asked.
bool ShowFileInFolder(TextView path);

// Puts the text on the clipboard as Unicode text. False when the clipboard is held by another
// program or memory runs out.
bool CopyTextToClipboard(HWND owner, TextView text);

}  // namespace tarnwick::win32
