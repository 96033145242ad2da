// The update dialog and the notice bar, created in-process on the run's X server.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/update_dialog.h"
#include "app/update_status.h"
#include "core/update/update_layout.h"
#include "platform/win32/dpi.h"
#include "platform/win32/ui_thread_win32.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_platform.h"
#include "tests/win/loopback_server.h"

namespace tarnwick::app {
namespace {

class RecordingShell final : public Shell {
 public:
  void Open(TextView target) override { opened.emplace_back(target); }
  std::vector<Text> opened;
};

class NoUi final : public UpdateUi {
 public:
  bool UpdateDialog(const Text&) override { return false; }
  void ShowUpdateStatus(const Text&) override {}
};

Text TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return win32::FromWide(text);
}

// Top of a control in its dialog's client coordinates.
int ClientTop(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  POINT corner{rect.left, rect.top};
  ScreenToClient(GetParent(control), &corner);
  return corner.y;
}

class UpdateUiWin32Test : public ::testing::Test {
 protected:
  UpdateDialogContext Context() { return {translator, client, shell, nullptr, nullptr}; }
  int OuterHeight(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
  }

  test::LoopbackServer server{200, "{}"};
  win32::Win32Platform platform;
  win32::Win32UiThread uiThread;
  NoUi ui;
  Translator translator{{}, u"ja"};
  UpdateClient client{platform.ports(), uiThread, ui, translator, {1, 1, std::chrono::milliseconds(1)}};
  RecordingShell shell;

  void SetUp() override { client.CheckUpdate(FromUtf8(server.Url()), nullptr, 10); }
};

TEST_F(UpdateUiWin32Test, NoteDialogHasRoomLineAndALinkThatOpensItsUrl) {
  const Text answer = uR"({"update":"https://example.test/Setup.exe","info":{"style":"note","text":"Read the news","url":"https://example.test/news"}})";
  UpdateDialog dialog(Context(), answer);
  ASSERT_NE(dialog.Window(), nullptr);
  EXPECT_EQ(TextOf(dialog.Window()), u"Tarnwick");
  EXPECT_EQ(TextOf(dialog.YesButton()), u"はい");
  EXPECT_EQ(TextOf(dialog.NoButton()), u"いいえ");
  EXPECT_EQ(dialog.CheckBox(), nullptr);
  ASSERT_NE(dialog.Link(), nullptr);
  EXPECT_EQ(TextOf(dialog.Link()), u"Read the news");

  const int dpi = win32::WindowDpi(dialog.Window());
  const int height = OuterHeight(dialog.Window());
  EXPECT_EQ(dialog.Layout().growBy, ScaleForDpi(30, dpi));
  EXPECT_EQ(ClientTop(dialog.Link()), height - ScaleForDpi(56, dpi));
  EXPECT_EQ(dialog.Layout().lineTop, height - ScaleForDpi(66, dpi));
  EXPECT_FALSE(GetWindowLongW(dialog.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  SendMessageW(dialog.Window(), WM_COMMAND, MAKEWPARAM(100, STN_CLICKED), reinterpret_cast<LPARAM>(dialog.Link()));
  EXPECT_EQ(shell.opened, (std::vector<Text>{u"https://example.test/news"}));
  EXPECT_TRUE(IsWindow(dialog.Window())) << "the dialog stays open";

  PostMessageW(dialog.Window(), WM_COMMAND, IDYES, 0);
  EXPECT_TRUE(dialog.RunModal());
}

TEST_F(UpdateUiWin32Test, TickedHoldBoxSendsTheHoldRequestEvenOnNo) {
  const Text answer = uR"({"update":"https://x","info":{"style":"hold","text":"Remind me later","flag":"x stayontop"}})";
  UpdateDialog dialog(Context(), answer);
  ASSERT_NE(dialog.CheckBox(), nullptr);
  EXPECT_EQ(TextOf(dialog.CheckBox()), u"Remind me later");
  EXPECT_EQ(SendMessageW(dialog.CheckBox(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  const int dpi = win32::WindowDpi(dialog.Window());
  EXPECT_EQ(ClientTop(dialog.CheckBox()), OuterHeight(dialog.Window()) - ScaleForDpi(56, dpi));
  EXPECT_TRUE(GetWindowLongW(dialog.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  SendMessageW(dialog.CheckBox(), BM_SETCHECK, BST_CHECKED, 0);
  PostMessageW(dialog.Window(), WM_COMMAND, IDNO, 0);
  EXPECT_FALSE(dialog.RunModal());
  client.WaitForHoldRequests();
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_NE(std::find(requests[1].begin(), requests[1].end(), "User-Command: hold"), requests[1].end());
  EXPECT_TRUE(shell.opened.empty());
}

TEST_F(UpdateUiWin32Test, OtherStylesOnlyMakeRoomAndCapitalsDoNotStayOnTop) {
  UpdateDialog plain(Context(), uR"({"update":"https://x"})");
  UpdateDialog other(Context(), uR"({"update":"https://x","info":{"style":"banner","flag":"STAYONTOP"}})");
  EXPECT_EQ(OuterHeight(other.Window()) - OuterHeight(plain.Window()), other.Layout().growBy);
  EXPECT_TRUE(other.Layout().line);
  EXPECT_EQ(other.CheckBox(), nullptr);
  EXPECT_EQ(other.Link(), nullptr);
  EXPECT_FALSE(GetWindowLongW(other.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  PostMessageW(plain.Window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(plain.RunModal());
}

TEST_F(UpdateUiWin32Test, NoticeBarAtTheBottomOpensItsAddress) {
  HWND main = CreateWindowExW(0, L"Static", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 500, 300, nullptr, nullptr,
                              nullptr, nullptr);
  ASSERT_NE(main, nullptr);
  RECT before;
  GetWindowRect(main, &before);
  ShowUpdateStatus(main, UpdateText(UpdateTextKind::Status, u"ja"), u"https://example.test/notice", shell);
  HWND bar = GetDlgItem(main, kStatusBarId);
  ASSERT_NE(bar, nullptr);
  RECT barRect, after;
  GetWindowRect(bar, &barRect);
  GetWindowRect(main, &after);
  const int barHeight = barRect.bottom - barRect.top;
  EXPECT_EQ(barHeight, ScaleForDpi(28, win32::WindowDpi(main)));
  EXPECT_EQ((after.bottom - after.top) - (before.bottom - before.top), barHeight);
  EXPECT_EQ(UpdateStatusText(main), u"アップデート可");
  EXPECT_EQ(UpdateStatusUrl(main), u"https://example.test/notice");

  // A right click opens nothing; a double click (click, double click, click) opens once.
  NMHDR click{bar, static_cast<UINT_PTR>(kStatusBarId), static_cast<UINT>(NM_CLICK)};
  NMHDR right{bar, static_cast<UINT_PTR>(kStatusBarId), static_cast<UINT>(NM_RCLICK)};
  NMHDR dbl{bar, static_cast<UINT_PTR>(kStatusBarId), static_cast<UINT>(NM_DBLCLK)};
  SendMessageW(main, WM_NOTIFY, kStatusBarId, reinterpret_cast<LPARAM>(&right));
  EXPECT_TRUE(shell.opened.empty());
  for (NMHDR* notice : {&click, &dbl, &click}) SendMessageW(main, WM_NOTIFY, kStatusBarId, reinterpret_cast<LPARAM>(notice));
  EXPECT_EQ(shell.opened, (std::vector<Text>{u"https://example.test/notice"}));
  Sleep(GetDoubleClickTime() + 50);
  SendMessageW(main, WM_NOTIFY, kStatusBarId, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(shell.opened.size(), 2u) << "a later click opens it again";
  shell.opened.resize(1);

  // At another DPI the bar keeps its height in pixels of that DPI.
  const int dpi = win32::WindowDpi(main) * 3 / 2;
  RescaleUpdateStatus(main, dpi);
  GetWindowRect(bar, &barRect);
  EXPECT_EQ(barRect.bottom - barRect.top, ScaleForDpi(28, dpi));

  ShowUpdateStatus(main, UpdateText(UpdateTextKind::Status, u"en"), u"file:///C:/evil.exe", shell);
  RECT again;
  GetWindowRect(main, &again);
  EXPECT_EQ(again.bottom - again.top, after.bottom - after.top) << "a second call does not grow the window";
  EXPECT_EQ(GetDlgItem(main, kStatusBarId), bar);
  EXPECT_EQ(UpdateStatusText(main), u"Update available");
  SendMessageW(main, WM_NOTIFY, kStatusBarId, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(shell.opened.size(), 1u) << "only web addresses are opened";
  DestroyWindow(main);
}

// What the dialog paints: the grey separator above a note link as above a hold box.
TEST_F(UpdateUiWin32Test, TheSeparatorLineIsPaintedAboveALinkAndAboveABox) {
  translator.CurrentLanguage = u"en";
  for (const Text& answer : {Text(uR"({"update":"https://x.test","info":{"style":"note","text":"What is new","url":"https://x.test/n"}})"),
                             Text(uR"({"update":"https://x.test","info":{"style":"hold","text":"Later"}})")}) {
    UpdateDialog dialog(Context(), answer);
    ASSERT_TRUE(dialog.Layout().line);
    ShowWindow(dialog.Window(), SW_SHOW);
    UpdateWindow(dialog.Window());
    HDC dc = GetDC(dialog.Window());
    RECT client;
    GetClientRect(dialog.Window(), &client);
    const int y = dialog.Layout().lineTop;
    for (const int x : {5, static_cast<int>(client.right / 2), static_cast<int>(client.right - 5)}) {
      EXPECT_EQ(GetPixel(dc, x, y), RGB(0xCC, 0xCC, 0xCC)) << ToUtf8(dialog.Info().style) << " x=" << x;
      EXPECT_EQ(GetPixel(dc, x, y - 1), RGB(0xFF, 0xFF, 0xFF)) << ToUtf8(dialog.Info().style) << " x=" << x;
    }
    ReleaseDC(dialog.Window(), dc);
  }
}

}  // namespace
}  // namespace tarnwick::app
