#pragma once
// The translation walk over real windows: a window owns its child windows in creation order
// and the pop-up menus registered with it; buttons, static texts and forms have captions.

#include <windows.h>

#include <memory>
#include <vector>

#include "core/i18n/ui_component.h"

namespace tarnwick::win32 {

class Win32MenuItem;

class Win32WindowComponent final : public UiComponent {
 public:
  Win32WindowComponent(HWND window, bool isForm);
  ~Win32WindowComponent() override;
  // Pop-up menus owned by the window, after its child windows.
  void AddPopupMenu(HMENU menu);

  Kind GetKind() const override { return isForm_ ? Kind::Form : Kind::Other; }
  bool HasCaption() const override;
  Text GetCaption() const override;
  void SetCaption(const Text& caption) override;
  size_t OwnedCount() const override;
  UiComponent* Owned(size_t index) override;
  size_t ItemCount() const override { return 0; }
  UiComponent* Item(size_t) override { return nullptr; }

 private:
  void Collect() const;
  HWND window_;
  bool isForm_;
  std::vector<HMENU> menus_;
  mutable bool collected_ = false;
  mutable std::vector<std::unique_ptr<UiComponent>> owned_;
};

}  // namespace tarnwick::win32
