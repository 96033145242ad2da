#include "platform/win32/ui_component_win32.h"

#include "platform/win32/wide.h"

namespace tarnwick::win32 {

// A menu item by position, or (with no parent) a pop-up menu as a whole.
class Win32MenuItem final : public UiComponent {
 public:
  Win32MenuItem(HMENU menu, int position, bool isPopupRoot)
      : menu_(menu), position_(position), root_(isPopupRoot) {}

  Kind GetKind() const override { return root_ ? Kind::PopupMenu : Kind::MenuItem; }
  bool HasCaption() const override { return !root_ && !IsSeparator(); }
  Text GetCaption() const override {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    if (!GetMenuItemInfoW(menu_, position_, TRUE, &info)) return {};
    std::wstring text(info.cch + 1, L'\0');
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (!GetMenuItemInfoW(menu_, position_, TRUE, &info)) return {};
    return FromWide(text.c_str());
  }
  void SetCaption(const Text& caption) override {
    std::wstring text = Wide(caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    SetMenuItemInfoW(menu_, position_, TRUE, &info);
  }
  size_t OwnedCount() const override { return 0; }
  UiComponent* Owned(size_t) override { return nullptr; }
  size_t ItemCount() const override {
    Collect();
    return items_.size();
  }
  UiComponent* Item(size_t index) override {
    Collect();
    return items_[index].get();
  }

 private:
  bool IsSeparator() const {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu_, position_, TRUE, &info) && (info.fType & MFT_SEPARATOR);
  }
  HMENU SubMenu() const { return root_ ? menu_ : GetSubMenu(menu_, position_); }
  void Collect() const {
    if (collected_) return;
    collected_ = true;
    if (HMENU sub = SubMenu()) {
      const int count = GetMenuItemCount(sub);
      for (int i = 0; i < count; ++i) items_.push_back(std::make_unique<Win32MenuItem>(sub, i, false));
    }
  }

  HMENU menu_;
  int position_;
  bool root_;
  mutable bool collected_ = false;
  mutable std::vector<std::unique_ptr<UiComponent>> items_;
};

Win32WindowComponent::Win32WindowComponent(HWND window, bool isForm) : window_(window), isForm_(isForm) {}
Win32WindowComponent::~Win32WindowComponent() = default;

void Win32WindowComponent::AddPopupMenu(HMENU menu) {
  menus_.push_back(menu);
  collected_ = false;
  owned_.clear();
}

bool Win32WindowComponent::HasCaption() const {
  if (isForm_) return true;
  wchar_t name[32] = {};
  GetClassNameW(window_, name, 32);
  return lstrcmpiW(name, L"Button") == 0 || lstrcmpiW(name, L"Static") == 0;
}

Text Win32WindowComponent::GetCaption() const {
  const int length = GetWindowTextLengthW(window_);
  std::wstring text(length + 1, L'\0');
  const int got = GetWindowTextW(window_, text.data(), length + 1);
  return FromWide(text.data(), got);
}

void Win32WindowComponent::SetCaption(const Text& caption) { SetWindowTextW(window_, Wide(caption).c_str()); }

void Win32WindowComponent::Collect() const {
  if (collected_) return;
  collected_ = true;
  // Each new child goes to the bottom of the Z order, so this walk is the creation order.
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    owned_.push_back(std::make_unique<Win32WindowComponent>(child, false));
  }
  for (HMENU menu : menus_) owned_.push_back(std::make_unique<Win32MenuItem>(menu, 0, true));
}

size_t Win32WindowComponent::OwnedCount() const {
  Collect();
  return owned_.size();
}

UiComponent* Win32WindowComponent::Owned(size_t index) {
  Collect();
  return owned_[index].get();
}

}  // namespace tarnwick::win32
