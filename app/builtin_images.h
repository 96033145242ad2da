#pragma once
// The four built-in images of the startup list: a blank page, the registry, a clock, gears.

#include <windows.h>
#include <commctrl.h>

namespace tarnwick::app {

// Appends the four images, drawn at the list's image size, to `list`.
void AddBuiltinImages(HIMAGELIST list, int size);

}  // namespace tarnwick::app
