#include "app/autorun_frame.h"

#include <commctrl.h>
#include <commdlg.h>
#include <uxtheme.h>

#include "app/builtin_images.h"
#include "app/properties_dialog.h"
#include "app/fonts.h"
#include "app/styled_button.h"
#include "core/catalogue/toggles.h"
#include "core/details/entry_properties.h"
#include "core/startup/list_actions.h"
#include "core/error.h"
#include "core/update/update.h"
#include "core/update/update_layout.h"
#include "platform/win32/shell_actions.h"
#include "platform/win32/wide.h"

namespace tarnwick::app {
namespace {

constexpr int kListId = 200, kButtonId = 201, kCheckId = 202, kSaveId = 203;
constexpr int kToggleId = 204, kOpenLocationId = 205, kSearchId = 206, kPropertiesId = 207, kDismissId = 208;
constexpr UINT_PTR kListSubclassId = 1, kButtonSubclassId = 2;
constexpr UINT kDescribeMessage = WM_APP + 0x4454;
constexpr UINT kSignedMessage = WM_APP + 0x5347;
constexpr TextView kSaveKey = u"목록 저장";

// The row's pop-up menu, in order; the toggle item's caption follows the row.
struct MenuItem {
  int id;
  TextView key;  // empty: a separator
};
constexpr MenuItem kMenuItems[] = {
    {kToggleId, kDisableKey},        {kDismissId, u"무시"},   {0, u""},
    {kOpenLocationId, u"파일 위치 열기"}, {kSearchId, u"온라인 검색"}, {kPropertiesId, u"속성"},
    {0, u""},                        {kSaveId, kSaveKey},
};

// The marks at the end of a row's name: why the row deserves a look.
struct Badge {
  COLORREF color;
  const wchar_t* glyph;
};
constexpr Badge kMissingBadge{RGB(0x8A, 0x8A, 0x8A), L"?"};
constexpr Badge kRecommendedBadge{RGB(0xD0, 0x87, 0x00), L"!"};
constexpr Badge kCheckBadge{RGB(0xC4, 0x2B, 0x1C), L"!"};
constexpr Badge kCameBackBadge{RGB(0x1A, 0x73, 0xE8), L"\u21BB"};  // came back on

}  // namespace

TFrmAutorun::TFrmAutorun(HWND parent, Context context, int dpi)
    : context_(std::move(context)), parent_(parent), images_(ScaleForDpi(16, dpi)),
      startup_(context_.app, images_), dpi_(dpi) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  CreateFonts(dpi);
  const Translator& t = context_.translator;

  list_ = CreateWindowExW(0, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                              LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,  // the frame owns its image lists
                          0, 0, 0, 0, parent, reinterpret_cast<HMENU>(kListId), instance, nullptr);
  SetWindowTheme(list_, L"Explorer", nullptr);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
  // Tooltips of several lines: command line, publisher, why a row is marked.
  if (HWND tips = ListView_GetToolTips(list_)) SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(480, dpi));
  SendMessageW(list_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  AddBuiltinImages(images_.get(), ScaleForDpi(16, dpi));
  ListView_SetImageList(list_, images_.get(), LVSIL_SMALL);
  // Rows are 24 pixels high: a state image list of that height sets it; no state is drawn.
  rowHeight_.reset(ImageList_Create(1, ScaleForDpi(24, dpi), ILC_COLOR32, 0, 0));
  ListView_SetImageList(list_, rowHeight_.get(), LVSIL_STATE);
  SetWindowSubclass(list_, ListProc, kListSubclassId, reinterpret_cast<DWORD_PTR>(this));
  // One message stands for every answer that came before it is served.
  worker_ = std::make_unique<SignatureWorker>(startup_.Signatures(), [this] {
    if (!signedPosted_.exchange(true)) PostMessageW(list_, kSignedMessage, 0, 0);
  });

  const std::wstring program = win32::Wide(t.Translate(u"프로그램 이름"));
  const std::wstring from = win32::Wide(t.Translate(u"출처"));
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(program.c_str());
  column.cx = 100;
  ListView_InsertColumn(list_, 0, &column);
  column.pszText = const_cast<wchar_t*>(from.c_str());
  column.cx = ScaleForDpi(50, dpi);
  ListView_InsertColumn(list_, 1, &column);

  check_ = CreateWindowExW(0, L"Button", L"\uC804\uCCB4\uBAA9\uB85D",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(kCheckId), instance, nullptr);
  SendMessageW(check_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  button_ = CreateWindowExW(0, L"Button", win32::Wide(kDisableKey).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(kButtonId), instance, nullptr);
  SendMessageW(button_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  SetWindowSubclass(button_, ButtonProc, kButtonSubclassId, reinterpret_cast<DWORD_PTR>(this));
  // The button's tip lives on the parent: a disabled button gets no mouse messages of its own.
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                         0, parent, nullptr, instance, nullptr);
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(320, dpi));
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = parent;
  tool.uId = kButtonId;
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip_, TTM_ACTIVATE, FALSE, 0);

  menu_.reset(CreatePopupMenu());
  for (const MenuItem& item : kMenuItems) {
    if (item.key.empty()) {
      AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu_.get(), MF_STRING, item.id, win32::Wide(item.key).c_str());
    }
  }
}

TFrmAutorun::~TFrmAutorun() {
  worker_.reset();  // no answer is announced to a list that is going
  if (list_) RemoveWindowSubclass(list_, ListProc, kListSubclassId);
  if (button_) RemoveWindowSubclass(button_, ButtonProc, kButtonSubclassId);
}

void TFrmAutorun::CreateFonts(int dpi) {
  font_ = CreateMessageFont(dpi);
  bold_ = CreateMessageFont(dpi, {.points = 7, .bold = true});
  consolas_ = CreateMessageFont(dpi, {.face = L"Consolas"});
}

void TFrmAutorun::ApplyDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  CreateFonts(dpi);
  for (HWND control : {list_, check_, button_}) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  win32::UniqueImageList rows(ImageList_Create(1, ScaleForDpi(24, dpi), ILC_COLOR32, 0, 0));
  ListView_SetImageList(list_, rows.get(), LVSIL_STATE);
  rowHeight_ = std::move(rows);
  // Icons at the new size: the list of images starts again and every row gets its icon anew.
  images_.Reset(ScaleForDpi(16, dpi));
  AddBuiltinImages(images_.get(), ScaleForDpi(16, dpi));
  ListView_SetImageList(list_, images_.get(), LVSIL_SMALL);
  startup_.ForgetIcons();
  Rebuild();
}

void TFrmAutorun::Layout(const RECT& area, int dpi) {
  dpi_ = dpi;
  auto S = [dpi](int v) { return ScaleForDpi(v, dpi); };
  const int panelHeight = S(49);
  const int width = area.right - area.left;
  const int listBottom = area.bottom - panelHeight;
  MoveWindow(list_, area.left, area.top, width, listBottom - area.top, TRUE);
  FitColumns();
  const int buttonLeft = area.right - S(84);
  MoveWindow(check_, area.left + S(2), listBottom + S(16), CheckBoxWidth(buttonLeft - area.left - S(8)), S(17), TRUE);
  MoveWindow(button_, buttonLeft, listBottom + S(8), S(84), panelHeight - S(16), TRUE);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = parent_;
  tool.uId = kButtonId;
  tool.rect = {buttonLeft, listBottom + S(8), buttonLeft + S(84), listBottom + panelHeight - S(8)};
  SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

int TFrmAutorun::CheckBoxWidth(int room) const {
  // As wide as its translated text needs (the box, a gap, the text), never below 135.
  wchar_t text[128] = {};
  GetWindowTextW(check_, text, 128);
  const win32::ScopedWindowDc dc(check_);
  win32::ScopedSelect fontIn(dc.get(), font_.get());
  SIZE extent{};
  GetTextExtentPoint32W(dc.get(), text, lstrlenW(text), &extent);
  const int needed = extent.cx + ScaleForDpi(24, dpi_);
  return std::min(std::max(ScaleForDpi(135, dpi_), needed), std::max(ScaleForDpi(135, dpi_), room));
}

void TFrmAutorun::FitColumns() {
  // Column 0 takes what column 1 leaves of the client width, which a vertical scroll bar
  // narrows when it comes: both columns always fill it exactly, with no horizontal bar.
  RECT client;
  GetClientRect(list_, &client);
  const int source = ScaleForDpi(50, dpi_);
  if (ListView_GetColumnWidth(list_, 1) != source) ListView_SetColumnWidth(list_, 1, source);
  const int program = std::max<int>(source, client.right - source);
  if (ListView_GetColumnWidth(list_, 0) != program) ListView_SetColumnWidth(list_, 0, program);
}

LRESULT CALLBACK TFrmAutorun::ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) {
  auto* self = reinterpret_cast<TFrmAutorun*>(data);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, ListProc, kListSubclassId);
  if (message == kDescribeMessage) {
    self->describePosted_ = false;
    self->DescribeRows();
    return 0;
  }
  if (message == kSignedMessage) {
    self->signedPosted_ = false;
    if (self->startup_.ApplyKnownSignatures()) InvalidateRect(window, nullptr, FALSE);
    return 0;
  }
  if (message == WM_CONTEXTMENU) {
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    self->ShowRowMenu(lParam == -1 ? nullptr : &at);
    return 0;
  }
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (message == WM_SIZE) self->FitColumns();
  return result;
}

LRESULT CALLBACK TFrmAutorun::ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
  auto* self = reinterpret_cast<TFrmAutorun*>(data);
  switch (message) {
    case WM_MOUSEMOVE:
      if (!self->buttonHot_) {
        self->buttonHot_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        InvalidateRect(window, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      self->buttonHot_ = false;
      InvalidateRect(window, nullptr, FALSE);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, ButtonProc, kButtonSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void TFrmAutorun::Render() {
  ListView_SetItemCountEx(list_, static_cast<int>(startup_.Rows().size()), LVSICF_NOSCROLL);
  FitColumns();
  SyncButton();
  InvalidateRect(list_, nullptr, TRUE);
  // The rows' details cost file reads: they come after the rows are painted.
  if (!describePosted_) describePosted_ = PostMessageW(list_, kDescribeMessage, 0, 0) != FALSE;
}

void TFrmAutorun::DescribeRows() {
  try {
    if (!startup_.DescribeRows()) return;
    InvalidateRect(list_, nullptr, FALSE);
    worker_->Verify(startup_.UnverifiedImages());
  } catch (const std::exception& error) {
    context_.reportError(error);
  }
}

const TAutorunItem* TFrmAutorun::RowAt(int row) const {
  return row >= 0 && row < static_cast<int>(startup_.Rows().size()) ? &startup_.Rows()[row] : nullptr;
}

const TAutorunItem* TFrmAutorun::ChosenRow() const {
  // The focused row; the first when none is (a command from outside the list).
  const int focused = FocusedRow();
  return RowAt(focused >= 0 ? focused : 0);
}

void TFrmAutorun::ShowRowMenu(const POINT* at) {
  const TAutorunItem* row = RowAt(FocusedRow());
  POINT where{};
  if (at) {
    where = *at;
  } else {
    // From the keyboard: below the focused row, or at the list's corner.
    RECT rect{};
    if (!row || !ListView_GetItemRect(list_, FocusedRow(), &rect, LVIR_LABEL)) GetClientRect(list_, &rect);
    where = {rect.left + ScaleForDpi(8, dpi_), rect.bottom};
    ClientToScreen(list_, &where);
  }
  const Translator& t = context_.translator;
  const EntryDetails* details = row ? startup_.DetailsOf(*row) : nullptr;
  const UINT rowItem = row ? MF_ENABLED : MF_GRAYED;
  const std::wstring toggle = win32::Wide(t.Translate(ButtonLookFor(!row || row->Enabled).captionKey));
  const bool switchable = row && SwitchBlockOf(EntryId::Of(startup_.EntryOf(*row)), context_.app) == SwitchBlock::None;
  ModifyMenuW(menu_.get(), kToggleId, MF_BYCOMMAND | MF_STRING | (switchable ? MF_ENABLED : MF_GRAYED), kToggleId,
              toggle.c_str());
  EnableMenuItem(menu_.get(), kOpenLocationId,
                 MF_BYCOMMAND | (details && !details->image.path.empty() ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu_.get(), kSearchId, MF_BYCOMMAND | rowItem);
  const bool cameBack = row && startup_.CameBackOf(EntryId::Of(startup_.EntryOf(*row)));
  EnableMenuItem(menu_.get(), kDismissId, MF_BYCOMMAND | (cameBack ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu_.get(), kPropertiesId, MF_BYCOMMAND | rowItem);
  TrackPopupMenu(menu_.get(), TPM_RIGHTBUTTON, where.x, where.y, 0, parent_, nullptr);
}

void TFrmAutorun::OpenFileLocation() {
  const TAutorunItem* row = ChosenRow();
  if (!row) return;
  const EntryDetails* details = startup_.DetailsOf(*row);
  if (!details || details->image.path.empty() || !win32::ShowFileInFolder(details->image.path)) MessageBeep(MB_ICONWARNING);
}

void TFrmAutorun::ShowProperties() {
  const TAutorunItem* row = ChosenRow();
  if (!row) return;
  const TAutorunItem shown = *row;  // the rows may be built again while the dialog is open
  PropertiesContent content;
  try {
    const EntryDetails details = startup_.DescribeFully(shown);
    const TAutorunInfo& entry = startup_.EntryOf(shown);
    const CameBack* back = startup_.CameBackOf(EntryId::Of(entry));
    content = {shown.DisplayName, PropertiesOf(entry, shown.DisplayName, details, context_.translator, back),
               details.image.path, CommandLineOf(entry, details)};
  } catch (const std::exception& error) {
    context_.reportError(error);
    return;
  }
  InvalidateRect(list_, nullptr, FALSE);  // its marks follow the signature learnt
  PropertiesDialog dialog(context_.translator, parent_, std::move(content));
  dialog.RunModal();
}

void TFrmAutorun::DrawBadges(HDC dc, int row) {
  const TAutorunItem* item = RowAt(row);
  if (!item) return;
  const EntryDetails* details = startup_.DetailsOf(*item);
  const RowMarks marks = details ? MarksOf(*details) : RowMarks{};
  const bool cameBack = startup_.CameBackOf(EntryId::Of(startup_.EntryOf(*item))) != nullptr;
  if (!marks.any() && !cameBack) return;
  std::vector<Badge> badges;
  if (cameBack) badges.push_back(kCameBackBadge);
  if (marks.check != CheckReason::None) badges.push_back(kCheckBadge);
  if (marks.recommendedOff) badges.push_back(kRecommendedBadge);
  if (marks.missing) badges.push_back(kMissingBadge);
  RECT cell{};
  if (!ListView_GetSubItemRect(list_, row, 0, LVIR_BOUNDS, &cell)) return;
  cell.right = cell.left + ListView_GetColumnWidth(list_, 0);
  const int size = ScaleForDpi(14, dpi_), gap = ScaleForDpi(4, dpi_);
  int right = cell.right - gap;
  const int top = cell.top + (cell.bottom - cell.top - size) / 2;
  win32::ScopedSelect fontIn(dc, bold_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
  for (const Badge& badge : badges) {
    const win32::UniqueBrush fill(CreateSolidBrush(badge.color));
    const win32::UniquePen edge(CreatePen(PS_SOLID, 1, badge.color));
    win32::ScopedSelect brushIn(dc, fill.get());
    win32::ScopedSelect penIn(dc, edge.get());
    RECT circle{right - size, top, right, top + size};
    Ellipse(dc, circle.left, circle.top, circle.right, circle.bottom);
    DrawTextW(dc, badge.glyph, -1, &circle, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    right -= size + gap;
  }
}

void TFrmAutorun::LoadAutorun() {
  // No message is pumped here: a queued F5 or the update answer would refresh inside this
  // refresh. They run after it, from the message loop.
  startup_.allList = SendMessageW(check_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  startup_.Load();
  Render();
}

void TFrmAutorun::Rebuild() {
  startup_.allList = SendMessageW(check_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  try {
    startup_.Rebuild();
  } catch (const std::exception& error) {
    Render();
    context_.reportError(error);
    return;
  }
  Render();
}

int TFrmAutorun::FocusedRow() const { return ListView_GetNextItem(list_, -1, LVNI_FOCUSED); }

void TFrmAutorun::ShowButtonState(bool entryEnabled) {
  const ToggleButtonLook look = ButtonLookFor(entryEnabled);
  buttonPressed_ = look.pressed;
  SetWindowTextW(button_, win32::Wide(context_.translator.Translate(look.captionKey)).c_str());
  InvalidateRect(button_, nullptr, TRUE);
}

void TFrmAutorun::SyncButton() {
  const TAutorunItem* row = RowAt(FocusedRow());
  SwitchBlock block = SwitchBlock::None;
  if (row) {
    ShowButtonState(row->Enabled);
    block = SwitchBlockOf(EntryId::Of(startup_.EntryOf(*row)), context_.app);
  }
  // An entry Windows offers no switch for: the button says no, and its tip says why.
  EnableWindow(button_, block == SwitchBlock::None);
  const TextView key = SwitchBlockKey(block);
  const std::wstring why = key.empty() ? std::wstring() : win32::Wide(context_.translator.Translate(key));
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = parent_;
  tool.uId = kButtonId;
  tool.lpszText = const_cast<wchar_t*>(why.c_str());
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip_, TTM_ACTIVATE, block != SwitchBlock::None, 0);
}

Text TFrmAutorun::ButtonTip() const {
  wchar_t text[512] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = parent_;
  tool.uId = kButtonId;
  tool.lpszText = text;
  SendMessageW(tip_, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  return win32::FromWide(text);
}

void TFrmAutorun::ListAutorunClick() { SyncButton(); }

void TFrmAutorun::BtnAutorunClick() {
  EnableWindow(button_, FALSE);
  try {
    // What the click does follows the focused row's state as the list shows it now, never
    // the caption, which could lag behind a selection made with the keyboard.
    const int row = FocusedRow();
    if (row >= 0 && row < static_cast<int>(startup_.Rows().size())) {
      const TAutorunItem& item = startup_.Rows()[row];
      // The window stays silent about the outcome, as the original does: the row shows it.
      (void)startup_.Toggle(EntryId::Of(startup_.EntryOf(item)), !item.Enabled);
      Render();
    } else {
      LoadAutorun();
    }
  } catch (const std::exception& error) {
    SyncButton();
    context_.reportError(error);
    return;
  }
  SyncButton();
}

void TFrmAutorun::ChkAllListClick() { Rebuild(); }

void TFrmAutorun::ListAutorunDblClick() {
  const int row = FocusedRow();
  if (row < 0 || row >= static_cast<int>(startup_.Rows().size())) return;
  const TAutorunItem& item = startup_.Rows()[row];
  OpenWebAddress(context_.app.ports.shell, LookupAddress(context_.lookupUrl, item.From, item.Target));
}

void TFrmAutorun::BtnSaveClick() {
  const Translator& t = context_.translator;
  const std::wstring title = win32::Wide(t.Translate(u"파일 저장"));
  // The filter pairs are separated by NULs in the dialog's own format.
  std::wstring filter = win32::Wide(t.Translate(u"텍스트 파일")) + L" (*.txt)" + L'\0' + L"*.txt" + L'\0' +
                        win32::Wide(t.Translate(u"모든 파일")) + L" (*.*)" + L'\0' + L"*.*" + L'\0';
  wchar_t file[MAX_PATH * 4] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = parent_;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = static_cast<DWORD>(std::size(file));
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = L"txt";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return;
  Text message;
  if (!startup_.Save(win32::FromWide(file), message)) {
    const std::wstring text = win32::Wide(t.Translate(u"오류가 발생했습니다.") + u"\r\n" + message);
    MessageBoxW(parent_, text.c_str(), win32::Wide(t.Translate(u"Tarnwick")).c_str(), MB_OK | MB_ICONWARNING);
  }
}

bool TFrmAutorun::HandleCommand(WPARAM wParam, LPARAM) {
  switch (LOWORD(wParam)) {
    case kButtonId:
      if (HIWORD(wParam) == BN_CLICKED) BtnAutorunClick();
      return true;
    case kCheckId:
      if (HIWORD(wParam) == BN_CLICKED) ChkAllListClick();
      return true;
    case kSaveId:
      BtnSaveClick();
      return true;
    case kToggleId:
      if (IsWindowEnabled(button_)) BtnAutorunClick();
      return true;
    case kOpenLocationId:
      OpenFileLocation();
      return true;
    case kSearchId:
      ListAutorunDblClick();
      return true;
    case kPropertiesId:
      ShowProperties();
      return true;
    case kDismissId:
      if (const TAutorunItem* row = RowAt(FocusedRow())) {
        startup_.Dismiss(EntryId::Of(startup_.EntryOf(*row)));
        InvalidateRect(list_, nullptr, FALSE);
      }
      return true;
    default:
      return false;
  }
}

bool TFrmAutorun::HandleNotify(const NMHDR* header, LRESULT& result) {
  if (header->hwndFrom != list_) return false;
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header));
      const int row = info->item.iItem;
      if (row < 0 || row >= static_cast<int>(startup_.Rows().size())) return true;
      const TAutorunItem& item = startup_.Rows()[row];
      if (info->item.mask & LVIF_TEXT) {
        const Text& text = info->item.iSubItem == 0 ? item.DisplayName : item.From;
        const std::wstring wide = win32::Wide(text);
        lstrcpynW(info->item.pszText, wide.c_str(), info->item.cchTextMax);
      }
      if (info->item.mask & LVIF_IMAGE) info->item.iImage = info->item.iSubItem == 0 ? item.Icon : -1;
      if (info->item.mask & LVIF_STATE) info->item.state = 0;
      return true;
    }
    case NM_CUSTOMDRAW: {
      auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(header));
      if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
      } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        result = CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT;
      } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPOSTPAINT) {
        DrawBadges(draw->nmcd.hdc, static_cast<int>(draw->nmcd.dwItemSpec));
        result = CDRF_DODEFAULT;
      } else if (draw->nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
        const size_t row = draw->nmcd.dwItemSpec;
        const bool enabled = row < startup_.Rows().size() && startup_.Rows()[row].Enabled;
        draw->clrText = enabled ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT);
        SelectObject(draw->nmcd.hdc, draw->iSubItem == 1 ? consolas_.get() : font_.get());
        result = CDRF_NEWFONT;
      } else {
        result = CDRF_DODEFAULT;
      }
      return true;
    }
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == VK_F5) Rebuild();
      return true;
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
      // Every change of the focused row, by mouse, keyboard or program, shows its state.
      SyncButton();
      return true;
    case NM_CLICK:
      ListAutorunClick();
      return true;
    case NM_DBLCLK:
      ListAutorunDblClick();
      return true;
    case NM_RETURN:
      ShowProperties();
      return true;
    case LVN_GETINFOTIPW: {
      auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(const_cast<NMHDR*>(header));
      const TAutorunItem* row = RowAt(tip->iItem);
      if (!row || tip->cchTextMax <= 0) return true;
      const EntryDetails* details = startup_.DetailsOf(*row);
      const TAutorunInfo& entry = startup_.EntryOf(*row);
      const CameBack* back = startup_.CameBackOf(EntryId::Of(entry));
      Text text = details ? RowTooltip(entry, *details, context_.translator, back)
                          : (entry.RawData.empty() ? entry.Target : entry.RawData);
      if (!details && back) text += u"\r\n" + CameBackText(*back, context_.translator);
      // The tip replaces the name rather than repeating it after a truncated one.
      lstrcpynW(tip->pszText, win32::Wide(text).c_str(), tip->cchTextMax);
      return true;
    }
    default:
      return false;
  }
}

bool TFrmAutorun::HandleDrawItem(const DRAWITEMSTRUCT* item) {
  if (item->hwndItem != button_) return false;
  const ButtonAttributes look = TMorvessaButtonStyles::Attributes(u"Primary", u"Outline");
  const ButtonState state = StateFor({.disabled = (item->itemState & ODS_DISABLED) != 0,
                                      .down = buttonPressed_ || (item->itemState & ODS_SELECTED) != 0,
                                      .hot = buttonHot_,
                                      .focused = (item->itemState & ODS_FOCUS) != 0});
  RECT rect = item->rcItem;
  FillRect(item->hDC, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  wchar_t text[128] = {};
  GetWindowTextW(button_, text, 128);
  DrawStyledButton(item->hDC, rect, look[static_cast<size_t>(state)], text, font_.get(), ScaleForDpi(4, dpi_));
  // The keyboard focus, when the user works with the keyboard.
  if ((item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT)) {
    RECT focus = rect;
    InflateRect(&focus, -ScaleForDpi(3, dpi_), -ScaleForDpi(3, dpi_));
    DrawFocusRect(item->hDC, &focus);
  }
  return true;
}

}  // namespace tarnwick::app
