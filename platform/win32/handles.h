#pragma once
// Owners for the handles the Win32 layer opens: each closes its handle once,
// cannot be copied, and can be moved or released.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <winsvc.h>

#include <utility>

namespace platform::win32 {

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::valid(handle_); }
  Handle release() { return std::exchange(handle_, Traits::invalid()); }
  void reset(Handle handle = Traits::invalid()) {
    if (Traits::valid(handle_)) Traits::close(handle_);
    handle_ = handle;
  }
  // For calls that hand a handle back through a pointer.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::invalid();
};

// Kernel objects: snapshot and file calls fail with INVALID_HANDLE_VALUE, the
// others with NULL, so both count as "no handle".
struct KernelHandleTraits {
  static HANDLE invalid() { return nullptr; }
  static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { ::CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

struct FindHandleTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { ::FindClose(h); }
};
using UniqueFindHandle = UniqueHandle<HANDLE, FindHandleTraits>;

struct RegKeyTraits {
  static HKEY invalid() { return nullptr; }
  static bool valid(HKEY h) { return h != nullptr; }
  static void close(HKEY h) { ::RegCloseKey(h); }
};
using UniqueRegKey = UniqueHandle<HKEY, RegKeyTraits>;

struct ServiceHandleTraits {
  static SC_HANDLE invalid() { return nullptr; }
  static bool valid(SC_HANDLE h) { return h != nullptr; }
  static void close(SC_HANDLE h) { ::CloseServiceHandle(h); }
};
using UniqueServiceHandle = UniqueHandle<SC_HANDLE, ServiceHandleTraits>;

struct IconTraits {
  static HICON invalid() { return nullptr; }
  static bool valid(HICON h) { return h != nullptr; }
  static void close(HICON h) { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueHandle<HICON, IconTraits>;

struct MenuTraits {
  static HMENU invalid() { return nullptr; }
  static bool valid(HMENU h) { return h != nullptr; }
  static void close(HMENU h) { ::DestroyMenu(h); }
};
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

template <typename Object>
struct GdiTraits {
  static Object invalid() { return nullptr; }
  static bool valid(Object h) { return h != nullptr; }
  static void close(Object h) { ::DeleteObject(h); }
};
using UniqueFont = UniqueHandle<HFONT, GdiTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiTraits<HBRUSH>>;

struct ImageListTraits {
  static HIMAGELIST invalid() { return nullptr; }
  static bool valid(HIMAGELIST h) { return h != nullptr; }
  static void close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListTraits>;

// A device context made with CreateCompatibleDC.
struct MemoryDcTraits {
  static HDC invalid() { return nullptr; }
  static bool valid(HDC h) { return h != nullptr; }
  static void close(HDC h) { ::DeleteDC(h); }
};
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;

// A window's device context, or the screen's for no window, from GetDC:
// released to the window it came from, which a plain handle owner cannot do.
class WindowDc {
 public:
  explicit WindowDc(HWND window = nullptr) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for the owner's lifetime: the one
// it replaced goes back on every path, before the context or the object goes.
// Selecting nothing (a null object or context) does nothing.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A COM interface pointer that releases its reference.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      ptr_ = std::exchange(other.ptr_, nullptr);
    }
    return *this;
  }
  Interface* get() const { return ptr_; }
  Interface* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  Interface** put() {
    reset();
    return &ptr_;
  }
  void reset() {
    if (ptr_) ptr_->Release();
    ptr_ = nullptr;
  }

 private:
  Interface* ptr_ = nullptr;
};

// A lock between threads of this process, held by a Locked for a scope.
class CriticalSection {
 public:
  CriticalSection() { ::InitializeCriticalSection(&section_); }
  ~CriticalSection() { ::DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

 private:
  friend class Locked;
  CRITICAL_SECTION section_;
};

class Locked {
 public:
  explicit Locked(CriticalSection& lock) : section_(&lock.section_) { ::EnterCriticalSection(section_); }
  ~Locked() { ::LeaveCriticalSection(section_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  CRITICAL_SECTION* section_;
};

// COM initialised on this thread for the owner's lifetime.
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (ok_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool ok_;
};

}  // namespace platform::win32
