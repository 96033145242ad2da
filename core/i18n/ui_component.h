#pragma once
// What translation needs to know of a window's elements: their kind, their caption, and the
// elements they own in order of ownership. The Win32 windows provide it; tests build trees.

#include <cstddef>

#include "core/text/text.h"

namespace tarnwick {

class UiComponent {
 public:
  enum class Kind { Form, PopupMenu, MenuItem, Other };

  virtual ~UiComponent() = default;
  virtual Kind GetKind() const = 0;
  // False for elements without a caption (a list, an image).
  virtual bool HasCaption() const = 0;
  virtual Text GetCaption() const = 0;
  virtual void SetCaption(const Text& caption) = 0;
  // Owned elements in order of ownership (creation order).
  virtual size_t OwnedCount() const = 0;
  virtual UiComponent* Owned(size_t index) = 0;
  // A pop-up menu's items, or a menu item's sub-items.
  virtual size_t ItemCount() const = 0;
  virtual UiComponent* Item(size_t index) = 0;
};

}  // namespace tarnwick
