#pragma once
// TFrmAutorun: the startup list, the enable/disable button and the "All Programs" box. The
// rows come from the StartupList it owns; this window renders them and forwards events.

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "core/details/signature_worker.h"
#include "core/startup/startup_list.h"
#include "core/i18n/translate.h"
#include "platform/win32/file_info_win32.h"
#include "platform/win32/gdi.h"

namespace tarnwick::app {

class TFrmAutorun {
 public:
  struct Context {
    const AppContext& app;
    const Translator& translator;
    Text lookupUrl;
    // The program's general error handler: shows the error, the program goes on.
    std::function<void(const std::exception&)> reportError;
  };

  TFrmAutorun(HWND parent, Context context, int dpi);
  ~TFrmAutorun();
  TFrmAutorun(const TFrmAutorun&) = delete;
  TFrmAutorun& operator=(const TFrmAutorun&) = delete;

  void LoadAutorun();
  void Layout(const RECT& area, int dpi);
  // A move to a monitor of another DPI: fonts, row height and icons follow (the rows are
  // built again for their icons).
  void ApplyDpi(int dpi);
  // Messages the parent receives for the frame's controls; true when handled.
  bool HandleCommand(WPARAM wParam, LPARAM lParam);
  bool HandleNotify(const NMHDR* header, LRESULT& result);
  bool HandleDrawItem(const DRAWITEMSTRUCT* item);

  HWND ListAutorun() const { return list_; }
  HWND BtnAutorun() const { return button_; }
  HWND ChkAllList() const { return check_; }
  HMENU Menu() const { return menu_.get(); }
  // What the button's tooltip says (why it is disabled); empty when it has nothing to say.
  Text ButtonTip() const;
  const AutorunModel& Model() const { return startup_.Model(); }
  StartupList& Startup() { return startup_; }

  void BtnAutorunClick();
  void BtnSaveClick();
  void ListAutorunClick();
  void ListAutorunDblClick();
  void ChkAllListClick();
  void Rebuild();  // F5: all rows go, the list is built again
  // The focused row's Properties (Enter, the pop-up menu); the first row when none is focused.
  void ShowProperties();
  void OpenFileLocation();
  // The pop-up menu at `at` (screen), or below the focused row for the keyboard.
  void ShowRowMenu(const POINT* at);
  // Reads the details of rows that lack them and repaints their marks; their signatures
  // follow from a worker thread.
  void DescribeRows();
  // Waits until the signatures asked for are known and shown (tests, the screenshots).
  bool SignaturesSettled() { return worker_->Idle() && !signedPosted_; }

 private:
  void Render();
  void FitColumns();
  int CheckBoxWidth(int room) const;
  void SyncButton();
  static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
  static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data);
  void ShowButtonState(bool entryEnabled);
  int FocusedRow() const;
  const TAutorunItem* RowAt(int row) const;
  const TAutorunItem* ChosenRow() const;
  void DrawBadges(HDC dc, int row);
  void CreateFonts(int dpi);

  Context context_;
  HWND parent_;
  HWND list_ = nullptr, button_ = nullptr, check_ = nullptr, tip_ = nullptr;
  win32::UniqueMenu menu_;
  win32::Win32ImageList images_;
  win32::UniqueImageList rowHeight_;
  win32::UniqueFont font_, consolas_, bold_;
  StartupList startup_;
  // After the list it verifies for: stops before the list's cache goes.
  std::unique_ptr<SignatureWorker> worker_;
  std::atomic<bool> signedPosted_ = false;
  bool buttonPressed_ = false;
  bool buttonHot_ = false;
  bool describePosted_ = false;
  int dpi_;
};

}  // namespace tarnwick::app
