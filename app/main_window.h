#pragma once
// TFrmTarnwick: the header with the Home tab and the logo, the startup list below it, the
// accent line of the frame look, and the update check started at creation.

#include <windows.h>

#include <memory>

#include "app/autorun_frame.h"
#include "app/theme_helper.h"
#include "core/update/update.h"
#include "platform/win32/gdi.h"
#include "platform/win32/ui_thread_win32.h"
#include "platform/win32/window_thunk.h"

namespace tarnwick::app {

class TFrmTarnwick final : public UpdateUi {
 public:
  struct Context {
    const AppContext& app;
    Translator& translator;
    UiThread& uiThread;
    Text updateUrl, lookupUrl, logoUrl;
  };

  explicit TFrmTarnwick(Context context);
  ~TFrmTarnwick() override;
  // Creates and shows the window and starts the update check; false when it cannot be made.
  bool Create(int show);
  HWND Window() const { return window_; }
  TFrmAutorun* FrmAutorun() const { return frame_.get(); }
  UpdateClient& Updates() { return *client_; }

  // The completion callback of the update check.
  void UpdateDone(bool updateAccepted, const Text& data);

  // UpdateUi
  bool UpdateDialog(const Text& answer) override;
  void ShowUpdateStatus(const Text& url) override;

  // The program's general error handler: a message box, then the program goes on.
  void ReportError(const std::exception& error);

 private:
  template <typename T>
  friend LRESULT CALLBACK win32::WindowThunk(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void FormCreate();
  void LayoutChildren();
  void CreateFonts();
  void Paint(HDC dc);
  RECT LogoRect() const;

  Context context_;
  HWND window_ = nullptr;
  int dpi_ = 96;
  win32::UniqueFont font_, logoFont_;
  std::unique_ptr<TThemeHelper> theme_;
  std::unique_ptr<TFrmAutorun> frame_;
  std::unique_ptr<UpdateClient> client_;
  Text homeCaption_;
};

}  // namespace tarnwick::app
