// The main window in-process on the run's X server, over the simulated Windows.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "app/properties_dialog.h"
#include "core/details/entry_properties.h"
#include "core/update/update_layout.h"
#include "platform/sim/sim_windows.h"
#include "platform/win32/dpi.h"
#include "platform/win32/ui_thread_win32.h"
#include "platform/win32/wide.h"

namespace tarnwick::app {
namespace {

Text TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return win32::FromWide(text);
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(windows.resources.LoadFile(u"TRANSLATE", TARNWICK_SOURCE_DIR "/resources/translate.txt"));
    ASSERT_TRUE(windows.resources.LoadFile(u"NAME_WHITE", TARNWICK_SOURCE_DIR "/resources/name_white.txt"));
    windows.services.Add({u"Spooler", u"Print Spooler", u"spoolsv.exe", scm::kAutoStart});  // filtered
    windows.services.Add({u"Vendor", u"Vendor Agent", u"v.exe", scm::kAutoStart});
    windows.services.Add({u"Off", u"Switched Off", u"o.exe", scm::kDisabled});
    windows.http.Answer("{\"name_white\":[\"Vendor\"]}");
  }
  std::unique_ptr<TFrmTarnwick> Open(const char16_t* language) {
    translator = Translator::Start(windows.resources, windows.locale);
    translator.CurrentLanguage = language;
    auto window = std::make_unique<TFrmTarnwick>(TFrmTarnwick::Context{
        app, translator, uiThread, u"http://127.0.0.1:1/api.init.php", u"https://x.test/entry/", u"https://x.test/t"});
    EXPECT_TRUE(window->Create(SW_SHOWNORMAL));
    return window;
  }
  // Serves the update check's hand-over, as the message loop would.
  void WaitForUpdate(TFrmTarnwick& window) {
    uiThread.ServeUntil([&] { return window.Updates().Finished(); });
  }
  int RowCount(TFrmTarnwick& window) { return ListView_GetItemCount(window.FrmAutorun()->ListAutorun()); }

  sim::SimWindows windows;
  AppContext app = windows.app();
  Translator translator;
  win32::Win32UiThread uiThread;
};

TEST_F(MainWindowTest, LayoutAndCaptionsInTheUsersLanguage) {
  auto window = Open(u"ja");
  const int dpi = win32::WindowDpi(window->Window());
  RECT client;
  GetClientRect(window->Window(), &client);
  EXPECT_EQ(client.right, ScaleForDpi(412, dpi));
  EXPECT_EQ(client.bottom, ScaleForDpi(432, dpi));
  EXPECT_EQ(TextOf(window->Window()), u"Tarnwick");
  TFrmAutorun& frame = *window->FrmAutorun();
  EXPECT_EQ(TextOf(frame.ChkAllList()), u"全プログラム");
  EXPECT_EQ(TextOf(frame.BtnAutorun()), u"無効化");
  std::vector<Text> items;
  for (int i = 0; i < GetMenuItemCount(frame.Menu()); ++i) {
    wchar_t item[64] = {};
    GetMenuStringW(frame.Menu(), i, item, 64, MF_BYPOSITION);
    items.push_back(win32::FromWide(item));
  }
  EXPECT_EQ(items, (std::vector<Text>{u"無効化", u"無視", u"", u"ファイルの場所を開く", u"オンラインで検索", u"プロパティ",
                                      u"", u"リスト保存"}))
      << "the pop-up menu speaks the user's language";
  RECT button;
  GetWindowRect(frame.BtnAutorun(), &button);
  EXPECT_EQ(button.right - button.left, ScaleForDpi(84, dpi));
  wchar_t header[64] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = header;
  column.cchTextMax = 64;
  ListView_GetColumn(frame.ListAutorun(), 0, &column);
  EXPECT_EQ(win32::FromWide(header), u"プログラム");
  EXPECT_EQ(ListView_GetColumnWidth(frame.ListAutorun(), 1), ScaleForDpi(50, dpi));
}

TEST_F(MainWindowTest, ListFillsAtOnceAndTheAnswersRowsHideWhatTheyName) {
  auto window = Open(u"en");
  ASSERT_EQ(RowCount(*window), 1) << "filled at once from the built-in lists, Spooler hidden";
  EXPECT_EQ(window->FrmAutorun()->Model().Rows()[0].DisplayName, u"Vendor Agent");
  WaitForUpdate(*window);
  EXPECT_EQ(RowCount(*window), 0) << "Vendor hidden by the server's row once the answer came";

  windows.services.Add({u"Other", u"Other Agent", u"x.exe", scm::kAutoStart});
  window->FrmAutorun()->Rebuild();  // F5
  ASSERT_EQ(RowCount(*window), 1);
  EXPECT_EQ(window->FrmAutorun()->Model().Rows()[0].DisplayName, u"Other Agent");

  SendMessageW(window->FrmAutorun()->ChkAllList(), BM_SETCHECK, BST_CHECKED, 0);
  window->FrmAutorun()->ChkAllListClick();
  ASSERT_EQ(RowCount(*window), 2) << "the disabled service shows with All Programs";
  const auto& rows = window->FrmAutorun()->Model().Rows();
  EXPECT_EQ(rows[0].DisplayName, u"Switched Off") << "rebuilt in catalogue order";
  EXPECT_FALSE(rows[0].Enabled);
}

TEST_F(MainWindowTest, TheButtonTogglesTheSelectedRowAndShowsItsState) {
  windows.http.Answer("{}");
  auto window = Open(u"en");
  WaitForUpdate(*window);
  TFrmAutorun& frame = *window->FrmAutorun();
  ASSERT_EQ(RowCount(*window), 1);
  ListView_SetItemState(frame.ListAutorun(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  frame.BtnAutorunClick();
  EXPECT_EQ(windows.services.Find(u"Vendor")->startType, scm::kDisabled);
  ASSERT_EQ(RowCount(*window), 1) << "the row stays, now grey";
  EXPECT_FALSE(frame.Model().Rows()[0].Enabled);
  EXPECT_EQ(TextOf(frame.BtnAutorun()), u"Enable");
  EXPECT_TRUE(IsWindowEnabled(frame.BtnAutorun()));
  frame.BtnAutorunClick();
  EXPECT_EQ(windows.services.Find(u"Vendor")->startType, scm::kAutoStart);
  EXPECT_EQ(TextOf(frame.BtnAutorun()), u"Disable");
}

TEST_F(MainWindowTest, TheButtonFollowsAKeyboardSelectionAndActsOnTheFocusedRow) {
  windows.http.Answer("{}");
  auto window = Open(u"en");
  WaitForUpdate(*window);
  TFrmAutorun& frame = *window->FrmAutorun();
  SendMessageW(frame.ChkAllList(), BM_SETCHECK, BST_CHECKED, 0);
  frame.ChkAllListClick();
  const auto& rows = frame.Model().Rows();
  ASSERT_EQ(rows.size(), 2u);
  ASSERT_TRUE(rows[0].Enabled);  // Vendor Agent
  ASSERT_FALSE(rows[1].Enabled);  // Switched Off

  // Click the enabled row, then Down to the disabled one with the keyboard.
  ListView_SetItemState(frame.ListAutorun(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  frame.ListAutorunClick();
  EXPECT_EQ(TextOf(frame.BtnAutorun()), u"Disable");
  SetFocus(frame.ListAutorun());
  SendMessageW(frame.ListAutorun(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(frame.ListAutorun(), WM_KEYUP, VK_DOWN, 0xC0000001);
  ASSERT_EQ(ListView_GetNextItem(frame.ListAutorun(), -1, LVNI_FOCUSED), 1);
  EXPECT_EQ(TextOf(frame.BtnAutorun()), u"Enable") << "the caption follows the keyboard";
  SendMessageW(frame.BtnAutorun(), BM_CLICK, 0, 0);
  EXPECT_EQ(windows.services.Find(u"Off")->startType, scm::kAutoStart) << "the click enables it";
  EXPECT_EQ(windows.services.Find(u"Vendor")->startType, scm::kAutoStart) << "the other row is untouched";
  EXPECT_EQ(TextOf(frame.BtnAutorun()), u"Disable");
}

// Serves the window's own queued messages, as the message loop would.
void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

TEST_F(MainWindowTest, RowsGetTheirDetailsAfterTheyArePaintedAndTipsSayWhy) {
  ASSERT_TRUE(windows.resources.LoadFile(u"NAME_BLACK", TARNWICK_SOURCE_DIR "/resources/name_black.txt"));
  windows.http.Answer("{}");
  windows.services.Add({u"AnySign4PC", u"AnySign4PC", u"\"C:\\Gone\\anysign.exe\" -s", scm::kAutoStart});
  windows.services.Add({u"Signed", u"Signed Agent", u"C:\\Signed\\s.exe", scm::kAutoStart});
  windows.files.AddFile(u"C:\\Signed", u"s.exe");
  windows.signatures.Set(u"C:\\Signed\\s.exe", {SignatureState::Valid, u"Signed Ltd", false});
  auto window = Open(u"en");
  TFrmAutorun& frame = *window->FrmAutorun();
  ASSERT_EQ(RowCount(*window), 3);
  EXPECT_EQ(frame.Startup().DetailsOf(frame.Model().Rows()[1]), nullptr) << "the first paint waits for no file";
  WaitForUpdate(*window);
  const TAutorunItem& row = frame.Model().Rows()[1];
  ASSERT_EQ(row.Target, u"AnySign4PC");
  PumpMessages();
  const EntryDetails* details = frame.Startup().DetailsOf(row);
  ASSERT_NE(details, nullptr) << "the posted describe pass ran";
  EXPECT_TRUE(MarksOf(*details).missing);
  EXPECT_TRUE(MarksOf(*details).recommendedOff);
  for (int i = 0; i < 500 && !frame.SignaturesSettled(); ++i) {
    Sleep(5);
    PumpMessages();
  }
  PumpMessages();
  EXPECT_EQ(frame.Startup().DetailsOf(frame.Model().Rows()[2])->signature.signer, u"Signed Ltd")
      << "signatures arrive from the worker and land in the row";

  wchar_t text[512] = {};
  NMLVGETINFOTIPW tip{};
  tip.hdr = {frame.ListAutorun(), 200, static_cast<UINT>(LVN_GETINFOTIPW)};
  tip.pszText = text;
  tip.cchTextMax = 512;
  tip.iItem = 1;
  SendMessageW(window->Window(), WM_NOTIFY, 200, reinterpret_cast<LPARAM>(&tip));
  EXPECT_EQ(win32::FromWide(text), u"\"C:\\Gone\\anysign.exe\" -s\r\nFile not found\r\nRecommended to switch off");
}

TEST_F(MainWindowTest, AnEntryWithoutASwitchDisablesTheButtonAndSaysWhy) {
  windows.http.Answer("{}");
  windows.registry.SetString(root::kCurrentUser, u"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", u"Finish",
                             u"C:\\Setup\\finish.exe");
  auto window = Open(u"en");
  WaitForUpdate(*window);
  TFrmAutorun& frame = *window->FrmAutorun();
  ASSERT_EQ(RowCount(*window), 2);
  ASSERT_EQ(frame.Model().Rows()[1].From, u"ONCE");
  ListView_SetItemState(frame.ListAutorun(), 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_FALSE(IsWindowEnabled(frame.BtnAutorun()));
  EXPECT_EQ(frame.ButtonTip(), u"Windows offers no way to switch this entry off that can be undone");
  ListView_SetItemState(frame.ListAutorun(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_TRUE(IsWindowEnabled(frame.BtnAutorun())) << "the service row can be switched";
  EXPECT_EQ(frame.ButtonTip(), u"");
}

TEST_F(MainWindowTest, AnEntryThatCameBackIsMarkedUntilDismissed) {
  windows.http.Answer("{}");
  const Text target = u"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Updater";
  windows.registry.SetString(root::kCurrentUser, u"Software\\Microsoft\\Windows\\CurrentVersion\\Run", u"Updater",
                             u"C:\\Vendor\\updater.exe");
  // Switched off on 2026-12-01 at 08:00 UTC; an updater switched it on again since.
  windows.registry.SetString(root::kCurrentUser, choices::kKey, u"HKCU|" + target,
                             u"off|134405856000000000|C:\\Vendor\\updater.exe");
  auto window = Open(u"en");
  WaitForUpdate(*window);
  PumpMessages();
  TFrmAutorun& frame = *window->FrmAutorun();
  ASSERT_EQ(RowCount(*window), 2);
  const EntryId id{u"HKCU", target};
  ASSERT_NE(frame.Startup().CameBackOf(id), nullptr);

  wchar_t text[512] = {};
  NMLVGETINFOTIPW tip{};
  tip.hdr = {frame.ListAutorun(), 200, static_cast<UINT>(LVN_GETINFOTIPW)};
  tip.pszText = text;
  tip.cchTextMax = 512;
  tip.iItem = 0;  // Run values come before services
  SendMessageW(window->Window(), WM_NOTIFY, 200, reinterpret_cast<LPARAM>(&tip));
  EXPECT_NE(win32::FromWide(text).find(u"Came back (Switched off by you on 2026-12-01 08:00 UTC)"), Text::npos)
      << ToUtf8(win32::FromWide(text));

  ListView_SetItemState(frame.ListAutorun(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SendMessageW(window->Window(), WM_COMMAND, 208, 0);  // Dismiss
  EXPECT_EQ(frame.Startup().CameBackOf(id), nullptr);
  EXPECT_TRUE(ChoiceStore(windows.registry).All().empty()) << "the record goes with the mark";
}

TEST_F(MainWindowTest, PropertiesShowEveryFactWithItsButtons) {
  translator = Translator::Start(windows.resources, windows.locale);
  translator.CurrentLanguage = u"en";
  PropertiesDialog dialog(translator, nullptr,
                          {u"Vendor Agent",
                           {{u"Name", u"Vendor Agent"}, {u"Service name", u"Vendor"}, {u"Start type", u"Automatic"}},
                           u"C:\\Vendor\\v.exe",
                           {}});
  ASSERT_NE(dialog.Window(), nullptr);
  EXPECT_EQ(TextOf(dialog.Window()), u"Vendor Agent - Properties");
  ASSERT_EQ(ListView_GetItemCount(dialog.Facts()), 3);
  wchar_t value[64] = {};
  ListView_GetItemText(dialog.Facts(), 2, 1, value, 64);
  EXPECT_EQ(win32::FromWide(value), u"Automatic");
  EXPECT_EQ(TextOf(dialog.OpenButton()), u"Open file location");
  EXPECT_TRUE(IsWindowEnabled(dialog.OpenButton()));
  EXPECT_FALSE(IsWindowEnabled(dialog.CopyButton())) << "no command line to copy";
}

TEST_F(MainWindowTest, TheColumnsFillTheListWhenAScrollBarComes) {
  windows.http.Answer("{}");
  for (int i = 0; i < 40; ++i) {
    const Text name = u"Vendor" + FromUtf8(std::to_string(i));
    windows.services.Add({name, name + u" Agent", u"v.exe", scm::kAutoStart});
  }
  auto window = Open(u"fr");
  WaitForUpdate(*window);
  HWND list = window->FrmAutorun()->ListAutorun();
  ASSERT_GE(RowCount(*window), 40);
  const LONG style = GetWindowLongW(list, GWL_STYLE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_HSCROLL);
  RECT client;
  GetClientRect(list, &client);
  EXPECT_EQ(ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1), client.right);

  // The check box is as wide as its French text needs, never below 135.
  HWND check = window->FrmAutorun()->ChkAllList();
  const int dpi = win32::WindowDpi(window->Window());
  RECT box;
  GetWindowRect(check, &box);
  HDC dc = GetDC(check);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(check, WM_GETFONT, 0, 0)));
  SIZE extent{};
  const std::wstring text = win32::Wide(TextOf(check));
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(check, dc);
  EXPECT_GE(box.right - box.left, std::max<int>(ScaleForDpi(135, dpi), extent.cx + ScaleForDpi(16, dpi)))
      << ToUtf8(TextOf(check));
}

TEST_F(MainWindowTest, AMoveToAnotherDpiRescalesTheLayout) {
  auto window = Open(u"en");
  const int dpi = win32::WindowDpi(window->Window()) * 3 / 2;
  RECT suggested{0, 0, ScaleForDpi(500, dpi), ScaleForDpi(560, dpi)};
  SendMessageW(window->Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  RECT button;
  GetWindowRect(window->FrmAutorun()->BtnAutorun(), &button);
  EXPECT_EQ(button.right - button.left, ScaleForDpi(84, dpi));
  EXPECT_EQ(ListView_GetColumnWidth(window->FrmAutorun()->ListAutorun(), 1), ScaleForDpi(50, dpi));
  int width = 0, height = 0;
  ImageList_GetIconSize(ListView_GetImageList(window->FrmAutorun()->ListAutorun(), LVSIL_SMALL), &width, &height);
  EXPECT_EQ(width, ScaleForDpi(16, dpi)) << "icons follow the DPI";
  EXPECT_EQ(RowCount(*window), 1) << "the rows are there again with their icons";
}

}  // namespace
}  // namespace tarnwick::app
