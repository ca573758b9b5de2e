// Owners of GDI, kernel, menu and library handles: each closes its handle exactly once, moves but
// never copies, and treats the null (and for kernel files the invalid) value as "nothing held".
#pragma once

#include <windows.h>

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

using AutoHandle = ScopedHandle<HANDLE, KernelHandleTraits>;
using ScopedChangeNotification = ScopedHandle<HANDLE, ChangeNotificationTraits>;
template <typename G>
using ScopedGdiObj = ScopedHandle<G, GdiTraits<G>>;
using ScopedMenu = ScopedHandle<HMENU, MenuTraits>;
using ScopedLibrary = ScopedHandle<HMODULE, LibraryTraits>;
// Only for icons created at run time; icons loaded from resources are shared and never destroyed.
using ScopedIcon = ScopedHandle<HICON, IconTraits>;

// A device context got with GetDC, given back with ReleaseDC.
class ScopedDC {
 public:
  explicit ScopedDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~ScopedDC() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  ScopedDC(const ScopedDC&) = delete;
  ScopedDC& operator=(const ScopedDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;  // not owned
  HDC dc_;
};

}  // namespace qv
