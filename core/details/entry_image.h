#pragma once
// The file that actually starts for an entry, and its arguments.

#include "core/app_context.h"
#include "core/catalogue/autorun_info.h"

namespace tarnwick {

struct EntryImage {
  Text path;       // empty when the entry starts no file (a web shortcut, a task not read)
  Text arguments;
};

// A startup-folder shortcut: its target through the shell's link interface (.lnk) or its
// file address (.url); any other startup file is its own image. Run values and services:
// the file their command line names.
EntryImage ImageOf(const TAutorunInfo& entry, const AppContext& app);

// "file:///C:/Tools/a%20b.exe" -> "C:\Tools\a b.exe", "file://server/share/x" ->
// "\\server\share\x"; empty for any other address.
Text FileAddressToPath(TextView address);

// The URL= value of an Internet shortcut's [InternetShortcut] section; empty without one.
Text InternetShortcutAddress(TextView fileText);

// A service's image path as the service manager stores it: quoted or not, with arguments,
// "\SystemRoot\..." and "\??\..." forms, or relative to the Windows folder ("system32\...").
Text ServiceImagePath(const FolderVars& vars, TextView windowsFolder, TextView binaryPath);

}  // namespace tarnwick
