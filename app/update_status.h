#pragma once
// The red notice bar at the bottom of the main window: the status text in the user's
// language, the notice address as its hint, a click anywhere opens it.

#include <windows.h>

#include "ports/network.h"

namespace tarnwick::app {

// The bar's control id: the main window owns at most one.
inline constexpr int kStatusBarId = 0x5342;

// Creates the bar on `main` (growing the window by its height) or, when it is there,
// replaces its text and address.
void ShowUpdateStatus(HWND main, const Text& text, const Text& url, Shell& shell);

// A move to a monitor of another DPI: the bar's font and height follow.
void RescaleUpdateStatus(HWND main, int dpi);

// What the bar shows and opens; empty when `main` has no bar.
Text UpdateStatusText(HWND main);
Text UpdateStatusUrl(HWND main);

}  // namespace tarnwick::app
