// An image list owned by the object. Menus, list views, tool bars and tab controls only
// refer to it, so it lives as long as the window that shows its images.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include "win32/system/Handles.h"

namespace reminder {

// Here rather than among the other handles: the image list functions come with commctrl.h.
struct TImageListTraits {
  static bool Valid(HIMAGELIST list) { return list != nullptr; }
  static void Free(HIMAGELIST list) { ImageList_Destroy(list); }
};

class TImageList {
 public:
  // Without a size: small icons at the screen's resolution (16, 20, 24 or 32 px).
  TImageList();
  TImageList(int width, int height);
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;

  HIMAGELIST Handle() const { return handle_.get(); }
  int Width() const { return width_; }
  int Count() const { return ImageList_GetImageCount(handle_.get()); }
  // Each returns the index of the (first) new image, -1 when nothing was added. The list
  // copies what it is given; the caller still owns the icon or bitmap.
  int AddIcon(HICON icon) { return ImageList_AddIcon(handle_.get(), icon); }
  // An icon resource of the module, loaded at the list's size.
  int AddResourceIcon(const char* name);
  // A strip of images side by side; pixels of the mask colour are transparent.
  int AddMasked(HBITMAP bitmap, COLORREF mask) {
    return ImageList_AddMasked(handle_.get(), bitmap, mask);
  }

 private:
  TOwnedHandle<HIMAGELIST, TImageListTraits> handle_;
  int width_;
  int height_;
};

}  // namespace reminder
