#include "app/builtin_images.h"

#include <windows.h>

#include <cmath>
#include <functional>

#include "platform/win32/gdi.h"

namespace tarnwick::app {
namespace {

// Draws with GDI into a 32-bit bitmap and adds it with a mask taken from the white corner.
void AddDrawn(HIMAGELIST list, int size, const std::function<void(HDC, int)>& draw) {
  win32::UniqueMemoryDc dc;
  win32::UniqueBitmap bitmap;
  {
    win32::ScopedWindowDc screen(nullptr);
    dc.reset(CreateCompatibleDC(screen.get()));
    bitmap.reset(CreateCompatibleBitmap(screen.get(), size, size));
  }
  {
    win32::ScopedSelect selected(dc.get(), bitmap.get());
    RECT all{0, 0, size, size};
    const win32::UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc.get(), &all, magenta.get());
    draw(dc.get(), size);
  }
  ImageList_AddMasked(list, bitmap.get(), RGB(255, 0, 255));
}

void Shape(HDC dc, COLORREF fill, COLORREF line, const std::function<void()>& paint) {
  const win32::UniqueBrush brush(CreateSolidBrush(fill));
  const win32::UniquePen pen(CreatePen(PS_SOLID, 1, line));
  win32::ScopedSelect brushIn(dc, brush.get());
  win32::ScopedSelect penIn(dc, pen.get());
  paint();
}

}  // namespace

void AddBuiltinImages(HIMAGELIST list, int s) {
  auto u = [s](double f) { return static_cast<int>(std::lround(f * s / 16.0)); };
  // 0: a blank document page with a folded corner.
  AddDrawn(list, s, [&](HDC dc, int) {
    Shape(dc, RGB(255, 255, 255), RGB(120, 120, 120), [&] {
      POINT page[] = {{u(3), u(1)}, {u(10), u(1)}, {u(13), u(4)}, {u(13), u(15)}, {u(3), u(15)}};
      Polygon(dc, page, 5);
      POINT fold[] = {{u(10), u(1)}, {u(10), u(4)}, {u(13), u(4)}};
      Polyline(dc, fold, 3);
    });
  });
  // 1: the registry: stacked blue cubes.
  AddDrawn(list, s, [&](HDC dc, int) {
    Shape(dc, RGB(61, 132, 221), RGB(30, 80, 160), [&] {
      Rectangle(dc, u(1), u(8), u(8), u(15));
      Rectangle(dc, u(8), u(8), u(15), u(15));
      Rectangle(dc, u(4), u(1), u(11), u(8));
    });
  });
  // 2: a clock.
  AddDrawn(list, s, [&](HDC dc, int) {
    Shape(dc, RGB(255, 255, 255), RGB(61, 132, 221), [&] {
      Ellipse(dc, u(1), u(1), u(15), u(15));
      MoveToEx(dc, u(8), u(8), nullptr);
      LineTo(dc, u(8), u(3));
      MoveToEx(dc, u(8), u(8), nullptr);
      LineTo(dc, u(12), u(8));
    });
  });
  // 3: gear wheels.
  AddDrawn(list, s, [&](HDC dc, int) {
    Shape(dc, RGB(128, 128, 128), RGB(80, 80, 80), [&] {
      for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4;
        const int cx = u(8 + 5.5 * std::cos(a)), cy = u(8 + 5.5 * std::sin(a));
        Ellipse(dc, cx - u(1.5), cy - u(1.5), cx + u(1.5), cy + u(1.5));
      }
      Ellipse(dc, u(3), u(3), u(13), u(13));
    });
    Shape(dc, RGB(255, 255, 255), RGB(80, 80, 80), [&] { Ellipse(dc, u(6), u(6), u(10), u(10)); });
  });
}

}  // namespace tarnwick::app
