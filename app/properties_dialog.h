#pragma once
// An entry's Properties: every fact the list knows about it, where it is recorded, and
// buttons to open the file's location and to copy the command line.

#include <windows.h>

#include <vector>

#include "core/details/entry_properties.h"
#include "core/i18n/translate.h"
#include "platform/win32/gdi.h"
#include "platform/win32/window_thunk.h"

namespace tarnwick::app {

struct PropertiesContent {
  Text title;  // the row's name
  std::vector<PropertyLine> lines;
  Text imagePath;    // empty: nothing to open
  Text commandLine;  // empty: nothing to copy
};

class PropertiesDialog {
 public:
  PropertiesDialog(const Translator& translator, HWND owner, PropertiesContent content);
  ~PropertiesDialog();
  PropertiesDialog(const PropertiesDialog&) = delete;
  PropertiesDialog& operator=(const PropertiesDialog&) = delete;

  // Shows the dialog until Close, Escape or the window's close box.
  void RunModal();

  HWND Window() const { return window_; }
  HWND Facts() const { return facts_; }
  HWND OpenButton() const { return open_; }
  HWND CopyButton() const { return copy_; }

 private:
  template <typename T>
  friend LRESULT CALLBACK win32::WindowThunk(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Build();

  const Translator& translator_;
  HWND owner_;
  PropertiesContent content_;
  HWND window_ = nullptr;
  HWND facts_ = nullptr, open_ = nullptr, copy_ = nullptr, close_ = nullptr;
  win32::UniqueFont font_;
  bool done_ = false;
};

}  // namespace tarnwick::app
