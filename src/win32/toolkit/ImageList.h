// An image list owned by the object. Menus, list views, tool bars and tab controls only
// refer to it, so it lives as long as the window that shows its images.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

namespace reminder {

class TImageList {
 public:
  explicit TImageList(int width = 16, int height = 16);
  ~TImageList() { ImageList_Destroy(handle_); }
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;

  HIMAGELIST Handle() const { return handle_; }
  int Count() const { return ImageList_GetImageCount(handle_); }
  // Each returns the index of the (first) new image, -1 when nothing was added.
  int AddIcon(HICON icon) { return ImageList_AddIcon(handle_, icon); }
  // An icon resource of the module, loaded at the list's size.
  int AddResourceIcon(const char* name);
  // A strip of images side by side; pixels of the mask colour are transparent.
  int AddMasked(HBITMAP bitmap, COLORREF mask) {
    return ImageList_AddMasked(handle_, bitmap, mask);
  }

 private:
  HIMAGELIST handle_;
  int width_;
  int height_;
};

}  // namespace reminder
