#include "win32/ui/MainImages.h"

#include <functional>
#include <vector>

namespace reminder {
namespace {

// The painters draw on a grid of 16 by 16, stretched to the list's size.
constexpr int kGrid = 16;
constexpr COLORREF kMask = RGB(255, 0, 255);

using TPainter = std::function<void(HDC)>;

void Fill(HDC dc, const RECT& rect, COLORREF color) {
  const TGdiObject<HBRUSH> brush(CreateSolidBrush(color));
  FillRect(dc, &rect, brush.get());
}

void Ellipse(HDC dc, int left, int top, int right, int bottom, COLORREF fill, COLORREF edge) {
  const TGdiObject<HBRUSH> brush(CreateSolidBrush(fill));
  const TGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, edge));
  const TSelectedObject selectedBrush(dc, brush.get());
  const TSelectedObject selectedPen(dc, pen.get());
  ::Ellipse(dc, left, top, right, bottom);
}

void Line(HDC dc, const std::vector<POINT>& points, COLORREF color, int width = 2) {
  const TGdiObject<HPEN> pen(CreatePen(PS_SOLID, width, color));
  const TSelectedObject selected(dc, pen.get());
  Polyline(dc, points.data(), static_cast<int>(points.size()));
}

void Box(HDC dc, int left, int top, int right, int bottom, COLORREF fill, COLORREF edge) {
  Fill(dc, {left, top, right, bottom}, edge);
  Fill(dc, {left + 1, top + 1, right - 1, bottom - 1}, fill);
}

// A strip of images of the given size side by side on the mask colour, one painter per
// image.
TGdiObject<HBITMAP> PaintStrip(const std::vector<TPainter>& painters, int size) {
  TWindowDC screen(nullptr);
  const TMemoryDC dc(CreateCompatibleDC(screen.get()));
  TGdiObject<HBITMAP> bitmap(
      CreateCompatibleBitmap(screen.get(), size * static_cast<int>(painters.size()), size));
  screen.reset();
  const TSelectedObject selected(dc.get(), bitmap.get());
  Fill(dc.get(), {0, 0, size * static_cast<int>(painters.size()), size}, kMask);
  SetMapMode(dc.get(), MM_ANISOTROPIC);
  SetWindowExtEx(dc.get(), kGrid, kGrid, nullptr);
  SetViewportExtEx(dc.get(), size, size, nullptr);
  for (size_t i = 0; i < painters.size(); ++i) {
    SetViewportOrgEx(dc.get(), static_cast<int>(i) * size, 0, nullptr);
    painters[i](dc.get());
  }
  return bitmap;
}

void AddStrip(TImageList& images, const std::vector<TPainter>& painters) {
  // The list copies the bitmap.
  const TGdiObject<HBITMAP> bitmap = PaintStrip(painters, images.Width());
  images.AddMasked(bitmap.get(), kMask);
}

void PaintBell(HDC dc, COLORREF body) {
  Ellipse(dc, 3, 2, 13, 14, body, RGB(96, 64, 0));
  Fill(dc, {2, 10, 14, 13}, body);
  Ellipse(dc, 6, 12, 10, 16, RGB(96, 64, 0), RGB(96, 64, 0));
}

}  // namespace

void AddListImages(TImageList& images) {
  AddStrip(images, {
                       // pending: a clock face
                       [](HDC dc) {
                         Ellipse(dc, 1, 1, 15, 15, RGB(255, 255, 255), RGB(0, 64, 160));
                         Line(dc, {{8, 4}, {8, 8}, {11, 10}}, RGB(0, 64, 160));
                       },
                       // done: a green tick
                       [](HDC dc) {
                         Line(dc, {{2, 8}, {6, 12}, {14, 3}}, RGB(0, 140, 0), 3);
                       },
                       // snoozed: an orange clock face with a circling arrow
                       [](HDC dc) {
                         Ellipse(dc, 1, 1, 15, 15, RGB(255, 236, 200), RGB(200, 100, 0));
                         Line(dc, {{8, 4}, {8, 8}, {11, 8}}, RGB(200, 100, 0));
                         Line(dc, {{12, 1}, {15, 1}, {15, 4}}, RGB(200, 100, 0));
                       },
                   });
}

void AddToolbarImages(TImageList& images) {
  const COLORREF dark = RGB(32, 32, 32);
  AddStrip(images, {
                       // exit: a door with an arrow
                       [&](HDC dc) {
                         Box(dc, 2, 1, 10, 15, RGB(160, 100, 40), dark);
                         Line(dc, {{8, 8}, {15, 8}}, RGB(200, 0, 0));
                         Line(dc, {{12, 5}, {15, 8}, {12, 11}}, RGB(200, 0, 0));
                       },
                       // add: a green plus
                       [](HDC dc) {
                         Fill(dc, {6, 2, 10, 14}, RGB(0, 150, 0));
                         Fill(dc, {2, 6, 14, 10}, RGB(0, 150, 0));
                       },
                       // change: a pencil
                       [&](HDC dc) {
                         Line(dc, {{3, 13}, {13, 3}}, RGB(220, 160, 0), 4);
                         Line(dc, {{2, 14}, {4, 12}}, dark, 2);
                       },
                       // delete: a red cross
                       [](HDC dc) {
                         Line(dc, {{3, 3}, {13, 13}}, RGB(200, 0, 0), 3);
                         Line(dc, {{13, 3}, {3, 13}}, RGB(200, 0, 0), 3);
                       },
                       // info: an "i" in a blue disc
                       [](HDC dc) {
                         Ellipse(dc, 1, 1, 15, 15, RGB(0, 80, 200), RGB(0, 40, 120));
                         Fill(dc, {7, 4, 9, 6}, RGB(255, 255, 255));
                         Fill(dc, {7, 7, 9, 12}, RGB(255, 255, 255));
                       },
                       // show: a window
                       [&](HDC dc) {
                         Box(dc, 1, 2, 15, 14, RGB(255, 255, 255), dark);
                         Fill(dc, {2, 3, 14, 6}, RGB(0, 64, 160));
                       },
                       // minimise: a bar at the bottom of a window
                       [&](HDC dc) {
                         Box(dc, 1, 2, 15, 14, RGB(230, 230, 230), dark);
                         Fill(dc, {4, 10, 12, 12}, dark);
                       },
                       // settings: a cog-like wheel
                       [&](HDC dc) {
                         Fill(dc, {7, 1, 9, 15}, RGB(100, 100, 100));
                         Fill(dc, {1, 7, 15, 9}, RGB(100, 100, 100));
                         Ellipse(dc, 3, 3, 13, 13, RGB(150, 150, 150), dark);
                         Ellipse(dc, 6, 6, 10, 10, RGB(255, 255, 255), dark);
                       },
                   });
}

TIconHandle MakeTrayIcon(int frame) {
  TImageList images;
  AddStrip(images,
           {[frame](HDC dc) { PaintBell(dc, frame == 0 ? RGB(240, 200, 0) : RGB(255, 120, 0)); }});
  return TIconHandle(ImageList_GetIcon(images.Handle(), 0, ILD_NORMAL));
}

}  // namespace reminder
