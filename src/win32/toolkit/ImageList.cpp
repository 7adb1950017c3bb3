#include "win32/toolkit/ImageList.h"

#include <stdexcept>

#include "win32/toolkit/Application.h"

namespace reminder {

TImageList::TImageList() : TImageList(Scaled(16), Scaled(16)) {}

TImageList::TImageList(int width, int height)
    : handle_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 8, 8)),
      width_(width),
      height_(height) {
  if (!handle_) throw std::runtime_error("Bildliste nicht erzeugt.");
}

int TImageList::AddResourceIcon(const char* name) {
  const TIconHandle icon(static_cast<HICON>(
      LoadImageA(TApplication::Instance(), name, IMAGE_ICON, width_, height_, LR_DEFAULTCOLOR)));
  if (!icon) return -1;
  return AddIcon(icon.get());
}

}  // namespace reminder
