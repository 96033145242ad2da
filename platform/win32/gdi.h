#pragma once
// Owners for GDI and USER objects, in the shape of UniqueAny, and scoped selection into a DC.

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/unique_handle.h"

namespace tarnwick::win32 {

template <typename Handle>
struct GdiObjectTraits {
  using Pointer = Handle;
  static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
struct MemoryDcTraits {
  using Pointer = HDC;
  static void Close(HDC h) noexcept { ::DeleteDC(h); }
};
struct MenuTraits {
  using Pointer = HMENU;
  static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};
struct ImageListTraits {
  using Pointer = HIMAGELIST;
  static void Close(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }
};
struct IconTraits {
  using Pointer = HICON;
  static void Close(HICON h) noexcept { ::DestroyIcon(h); }
};

using UniqueFont = UniqueAny<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueAny<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueAny<GdiObjectTraits<HPEN>>;
using UniqueBitmap = UniqueAny<GdiObjectTraits<HBITMAP>>;
using UniqueMemoryDc = UniqueAny<MemoryDcTraits>;
using UniqueMenu = UniqueAny<MenuTraits>;
using UniqueImageList = UniqueAny<ImageListTraits>;
using UniqueIcon = UniqueAny<IconTraits>;

// Selects an object into a DC and puts the previous one back at the end of the scope.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~ScopedSelect() { ::SelectObject(dc_, previous_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A window's DC for the scope (GetDC / ReleaseDC).
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  ~ScopedWindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
  HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace tarnwick::win32
