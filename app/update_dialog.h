#pragma once
// The update offer: a warning, the question in the user's language, Yes and No, and the
// answer's optional notice line (a "hold" check box or a "note" link).

#include <windows.h>

#include "core/update/update.h"
#include "core/update/update_layout.h"
#include "platform/win32/gdi.h"
#include "platform/win32/window_thunk.h"

namespace tarnwick::app {

struct UpdateDialogContext {
  const Translator& translator;
  UpdateClient& client;  // NoticeOffset, the hold request
  Shell& shell;
  HWND owner;            // the main window, or nullptr when there is none
  HICON appIcon;
};

class UpdateDialog {
 public:
  UpdateDialog(const UpdateDialogContext& context, const Text& answer);
  ~UpdateDialog();
  UpdateDialog(const UpdateDialog&) = delete;
  UpdateDialog& operator=(const UpdateDialog&) = delete;

  // Shows the dialog modally; true when it was closed with Yes. A ticked box starts the
  // hold request afterwards.
  bool RunModal();

  HWND Window() const { return window_; }
  HWND YesButton() const { return yes_; }
  HWND NoButton() const { return no_; }
  HWND CheckBox() const { return checkBox_; }  // nullptr unless style "hold"
  HWND Link() const { return link_; }          // nullptr unless style "note"
  const NoticeLayout& Layout() const { return layout_; }
  const UpdateInfo& Info() const { return info_; }

 private:
  template <typename T>
  friend LRESULT CALLBACK win32::WindowThunk(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Build(const Text& answer);
  void Close(bool yes);

  UpdateDialogContext context_;
  UpdateInfo info_;
  NoticeLayout layout_;
  HWND window_ = nullptr;
  HWND yes_ = nullptr, no_ = nullptr, checkBox_ = nullptr, link_ = nullptr;
  win32::UniqueFont font_, linkFont_;
  win32::UniqueBrush white_;
  bool done_ = false;
  bool result_ = false;
};

// The dialog for one answer, shown and destroyed.
bool ShowUpdateDialog(const UpdateDialogContext& context, const Text& answer);

}  // namespace tarnwick::app
