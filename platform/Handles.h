// Owners of GDI, kernel, menu, library, image list and COM resources: each gives its resource
// back exactly once, the handle owners move but never copy, and the null (and for kernel files
// the invalid) value means "nothing held".
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <utility>

namespace qv {

template <typename H, typename Traits>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(H handle) : handle_(handle) {}
  ~ScopedHandle() { Reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  H Get() const { return handle_; }
  explicit operator bool() const { return Traits::IsValid(handle_); }
  // Gives up ownership without closing.
  H Release() {
    H handle = handle_;
    handle_ = Traits::Empty();
    return handle;
  }
  // Closes what is held and takes handle.
  void Reset(H handle = Traits::Empty()) {
    if (Traits::IsValid(handle_) && handle_ != handle) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = Traits::Empty();
};

struct KernelHandleTraits {
  static HANDLE Empty() { return nullptr; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct ChangeNotificationTraits {
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindCloseChangeNotification(h); }
};
template <typename G>
struct GdiTraits {
  static G Empty() { return nullptr; }
  static bool IsValid(G h) { return h != nullptr; }
  static void Close(G h) { ::DeleteObject(h); }
};
struct MenuTraits {
  static HMENU Empty() { return nullptr; }
  static bool IsValid(HMENU h) { return h != nullptr; }
  static void Close(HMENU h) { ::DestroyMenu(h); }
};
struct LibraryTraits {
  static HMODULE Empty() { return nullptr; }
  static bool IsValid(HMODULE h) { return h != nullptr; }
  static void Close(HMODULE h) { ::FreeLibrary(h); }
};
struct IconTraits {
  static HICON Empty() { return nullptr; }
  static bool IsValid(HICON h) { return h != nullptr; }
  static void Close(HICON h) { ::DestroyIcon(h); }
};
struct MemoryDCTraits {
  static HDC Empty() { return nullptr; }
  static bool IsValid(HDC h) { return h != nullptr; }
  static void Close(HDC h) { ::DeleteDC(h); }
};
struct ImageListTraits {
  static HIMAGELIST Empty() { return nullptr; }
  static bool IsValid(HIMAGELIST h) { return h != nullptr; }
  static void Close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};

using AutoHandle = ScopedHandle<HANDLE, KernelHandleTraits>;
using ScopedChangeNotification = ScopedHandle<HANDLE, ChangeNotificationTraits>;
template <typename G>
using ScopedGdiObj = ScopedHandle<G, GdiTraits<G>>;
using ScopedMenu = ScopedHandle<HMENU, MenuTraits>;
using ScopedLibrary = ScopedHandle<HMODULE, LibraryTraits>;
// Image lists made by the program; the shell's system image lists are shared and never held.
using ScopedImageList = ScopedHandle<HIMAGELIST, ImageListTraits>;
// Only for icons created at run time; icons loaded from resources are shared and never destroyed.
using ScopedIcon = ScopedHandle<HICON, IconTraits>;
// A device context of CreateCompatibleDC / CreateDC, deleted with DeleteDC.
using ScopedMemoryDC = ScopedHandle<HDC, MemoryDCTraits>;

// A device context got with GetDC (nullptr: the screen), given back with ReleaseDC.
class ScopedDC {
 public:
  explicit ScopedDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~ScopedDC() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  ScopedDC(const ScopedDC&) = delete;
  ScopedDC& operator=(const ScopedDC&) = delete;
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;  // not owned
  HDC dc_;
};

// An object selected into a device context, the one it replaced put back with the holder.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object)
      : dc_(dc), old_(dc && object ? ::SelectObject(dc, object) : nullptr) {}
  ~ScopedSelect() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  // False when nothing could be selected.
  explicit operator bool() const { return old_ != nullptr && old_ != HGDI_ERROR; }

 private:
  HDC dc_;  // not owned
  HGDIOBJ old_;
};

// The painting of one WM_PAINT: BeginPaint with the holder, EndPaint with its end.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~ScopedPaint() { ::EndPaint(window_, &paint_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  HDC Get() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND window_;  // not owned
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// COM on this thread for the holder's life (apartment-threaded). A thread already in another
// apartment keeps it and is not uninitialised.
class ScopedCom {
 public:
  ScopedCom() : result_(::CoInitialize(nullptr)) {}
  ~ScopedCom() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;
  bool Ready() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

}  // namespace qv
