// Owners of Win32 handles: each releases what it holds when it goes, so that no path
// through a function, early returns and exceptions included, leaks a handle. They move
// but never copy; release() hands the handle on to whoever frees it from then on.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace reminder {

// A handle released by Traits::Free; Traits::Valid tells an empty one.
template <class Handle, class Traits>
class TOwnedHandle {
 public:
  TOwnedHandle() = default;
  explicit TOwnedHandle(Handle handle) : handle_(handle) {}
  ~TOwnedHandle() { reset(); }
  TOwnedHandle(TOwnedHandle&& other) noexcept : handle_(other.release()) {}
  TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  TOwnedHandle(const TOwnedHandle&) = delete;
  TOwnedHandle& operator=(const TOwnedHandle&) = delete;

  Handle get() const { return handle_; }
  Handle release() {
    const Handle handle = handle_;
    handle_ = Handle();
    return handle;
  }
  // Frees the handle held before, unless it is the one given: an owner that is handed
  // its own handle again keeps it.
  void reset(Handle handle = Handle()) {
    const Handle old = handle_;
    handle_ = handle;
    if (old != handle && Traits::Valid(old)) Traits::Free(old);
  }
  explicit operator bool() const { return Traits::Valid(handle_); }

 private:
  Handle handle_ = Handle();
};

// Kernel objects: files, mutexes, processes, threads, tokens. CreateFile reports failure
// as INVALID_HANDLE_VALUE, the other creators as null; both count as empty.
struct TKernelHandleTraits {
  static bool Valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
  static void Free(HANDLE handle) { CloseHandle(handle); }
};
using TKernelHandle = TOwnedHandle<HANDLE, TKernelHandleTraits>;

// A search of FindFirstFile, which reports failure as INVALID_HANDLE_VALUE.
struct TFindHandleTraits {
  static bool Valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
  static void Free(HANDLE handle) { FindClose(handle); }
};
using TFindHandle = TOwnedHandle<HANDLE, TFindHandleTraits>;

template <class Handle>
struct TGdiObjectTraits {
  static bool Valid(Handle handle) { return handle != nullptr; }
  static void Free(Handle handle) { DeleteObject(handle); }
};
// A font, bitmap, brush, pen or region. It must no longer be selected into a device context
// when it goes (see TSelectedObject), nor be in use by a window (WM_SETFONT does not copy).
template <class Handle>
using TGdiObject = TOwnedHandle<Handle, TGdiObjectTraits<Handle>>;

// An icon the module made: CopyIcon, ImageList_GetIcon, LoadImage without LR_SHARED. Shared
// icons (LoadIcon) are never destroyed.
struct TIconHandleTraits {
  static bool Valid(HICON icon) { return icon != nullptr; }
  static void Free(HICON icon) { DestroyIcon(icon); }
};
using TIconHandle = TOwnedHandle<HICON, TIconHandleTraits>;

// An icon several owners share (the tray shows its default icon or one of its frames):
// destroyed with its last owner.
using TSharedIcon = std::shared_ptr<std::remove_pointer_t<HICON>>;
inline TSharedIcon ShareIcon(TIconHandle icon) {
  if (!icon) return nullptr;
  return TSharedIcon(icon.release(), &DestroyIcon);
}

// A device context of CreateCompatibleDC.
struct TMemoryDCTraits {
  static bool Valid(HDC dc) { return dc != nullptr; }
  static void Free(HDC dc) { DeleteDC(dc); }
};
using TMemoryDC = TOwnedHandle<HDC, TMemoryDCTraits>;

struct TRegKeyHandleTraits {
  static bool Valid(HKEY key) { return key != nullptr; }
  static void Free(HKEY key) { RegCloseKey(key); }
};
using TRegKeyHandle = TOwnedHandle<HKEY, TRegKeyHandleTraits>;

// A library of LoadLibrary.
struct TModuleHandleTraits {
  static bool Valid(HMODULE module) { return module != nullptr; }
  static void Free(HMODULE module) { FreeLibrary(module); }
};
using TModuleHandle = TOwnedHandle<HMODULE, TModuleHandleTraits>;

// A menu not (yet) attached: a window destroys its menu bar itself, and a parent menu its
// sub-menus, so an owner releases a menu once it has been handed to either.
struct TMenuHandleTraits {
  static bool Valid(HMENU menu) { return menu != nullptr; }
  static void Free(HMENU menu) { DestroyMenu(menu); }
};
using TMenuHandle = TOwnedHandle<HMENU, TMenuHandleTraits>;

struct TAcceleratorTableTraits {
  static bool Valid(HACCEL table) { return table != nullptr; }
  static void Free(HACCEL table) { DestroyAcceleratorTable(table); }
};
using TAcceleratorTable = TOwnedHandle<HACCEL, TAcceleratorTableTraits>;

// The device context of a window (null: the screen) from GetDC, given back with ReleaseDC,
// which needs the window as well.
class TWindowDC {
 public:
  TWindowDC() = default;
  explicit TWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~TWindowDC() { reset(); }
  TWindowDC(TWindowDC&& other) noexcept : window_(other.window_), dc_(other.release()) {}
  TWindowDC& operator=(TWindowDC&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = other.window_;
      dc_ = other.release();
    }
    return *this;
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;

  HDC get() const { return dc_; }
  HDC release() {
    const HDC dc = dc_;
    dc_ = nullptr;
    return dc;
  }
  void reset() {
    if (dc_) ReleaseDC(window_, dc_);
    dc_ = nullptr;
  }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// An object selected into a device context for as long as this lives; then the object
// that was selected before is selected back. Declared after the object and the context
// it uses, it goes before them, as an object must be selected out before it is deleted.
class TSelectedObject {
 public:
  TSelectedObject() = default;
  TSelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~TSelectedObject() { reset(); }
  TSelectedObject(TSelectedObject&& other) noexcept : dc_(other.dc_), old_(other.release()) {}
  TSelectedObject& operator=(TSelectedObject&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = other.dc_;
      old_ = other.release();
    }
    return *this;
  }
  TSelectedObject(const TSelectedObject&) = delete;
  TSelectedObject& operator=(const TSelectedObject&) = delete;

  // The object that was selected before, to be selected back.
  HGDIOBJ get() const { return old_; }
  // Leaves the object selected.
  HGDIOBJ release() {
    const HGDIOBJ old = old_;
    dc_ = nullptr;
    old_ = nullptr;
    return old;
  }
  // Selects the object of before back now.
  void reset() {
    if (dc_) SelectObject(dc_, old_);
    dc_ = nullptr;
    old_ = nullptr;
  }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace reminder
