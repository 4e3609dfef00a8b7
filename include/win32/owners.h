// Move-only owners for every Win32 handle kind the code holds: one owner per
// handle, closed exactly once, copies refused. Each kind names its empty value
// and its close function in a traits struct; the owners below are the only
// places that call the close functions.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <objbase.h>
#include <oleauto.h>

#include <utility>

namespace zv {

template <class Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Type get() const { return h_; }
  bool valid() const { return h_ != Traits::empty(); }
  explicit operator bool() const { return valid(); }

  Type release() { return std::exchange(h_, Traits::empty()); }
  void reset(Type h = Traits::empty()) {
    if (valid()) Traits::close(h_);
    h_ = h;
  }
  // For out-parameters of the API (RegOpenKeyEx and the like).
  Type* put() {
    reset();
    return &h_;
  }

 private:
  Type h_ = Traits::empty();
};

// Kernel objects.
struct FileHandleTraits {  // CreateFile, CreateNamedPipe: INVALID_HANDLE_VALUE when empty
  using Type = HANDLE;
  static Type empty() { return INVALID_HANDLE_VALUE; }
  static void close(Type h) { CloseHandle(h); }
};
struct KernelHandleTraits {  // threads, events, processes, mutexes, mappings: null when empty
  using Type = HANDLE;
  static Type empty() { return nullptr; }
  static void close(Type h) { CloseHandle(h); }
};
struct FindHandleTraits {  // FindFirstFile
  using Type = HANDLE;
  static Type empty() { return INVALID_HANDLE_VALUE; }
  static void close(Type h) { FindClose(h); }
};
struct ModuleTraits {  // LoadLibrary
  using Type = HMODULE;
  static Type empty() { return nullptr; }
  static void close(Type h) { FreeLibrary(h); }
};
struct RegKeyTraits {
  using Type = HKEY;
  static Type empty() { return nullptr; }
  static void close(Type h) { RegCloseKey(h); }
};

// Windows and user objects.
struct WindowTraits {  // destroyed on the thread that created it
  using Type = HWND;
  static Type empty() { return nullptr; }
  static void close(Type h) { DestroyWindow(h); }
};
struct MenuTraits {  // a menu not attached to a window
  using Type = HMENU;
  static Type empty() { return nullptr; }
  static void close(Type h) { DestroyMenu(h); }
};
struct IconTraits {  // CreateIconIndirect, ExtractIcon, LoadImage without LR_SHARED
  using Type = HICON;
  static Type empty() { return nullptr; }
  static void close(Type h) { DestroyIcon(h); }
};

// GDI objects.
template <class T>
struct GdiObjectTraits {  // HBITMAP, HFONT, HBRUSH, HPEN, HRGN
  using Type = T;
  static Type empty() { return nullptr; }
  static void close(Type h) { DeleteObject(h); }
};
struct MemoryDcTraits {  // CreateCompatibleDC, CreateDC
  using Type = HDC;
  static Type empty() { return nullptr; }
  static void close(Type h) { DeleteDC(h); }
};

// Multimedia.
struct MciDeviceTraits {
  using Type = MCIDEVICEID;
  static Type empty() { return 0; }
  static void close(Type h) { mciSendCommandA(h, MCI_CLOSE, MCI_WAIT, 0); }
};
struct MixerTraits {
  using Type = HMIXER;
  static Type empty() { return nullptr; }
  static void close(Type h) { mixerClose(h); }
};
struct MmTimerTraits {  // timeSetEvent
  using Type = UINT;
  static Type empty() { return 0; }
  static void close(Type h) { timeKillEvent(h); }
};
struct ThreadTimerTraits {  // SetTimer without a window: WM_TIMER to the calling thread
  using Type = UINT_PTR;
  static Type empty() { return 0; }
  static void close(Type h) { KillTimer(nullptr, h); }
};

// COM task memory (shell item lists, strings the shell allocates).
template <class T>
struct CoTaskMemTraits {
  using Type = T;
  static Type empty() { return nullptr; }
  static void close(Type p) { CoTaskMemFree(p); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueMciDevice = UniqueHandle<MciDeviceTraits>;
using UniqueMixer = UniqueHandle<MixerTraits>;
using UniqueMmTimer = UniqueHandle<MmTimerTraits>;
using UniqueThreadTimer = UniqueHandle<ThreadTimerTraits>;
template <class T>
using UniqueCoTaskMem = UniqueHandle<CoTaskMemTraits<T>>;

// A window's DC from GetDC, released to the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  ~PaintDc() { EndPaint(window_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }
  const RECT& area() const { return ps_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A COM interface pointer, released once.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(T* p) : p_(p) {}
  ~ComRef() { reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For functions that fill an interface pointer; releases what was held.
  T** put() {
    reset();
    return &p_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

// A BSTR (SysAllocString), freed once.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const wchar_t* text) : s_(SysAllocString(text)) {}
  ~Bstr() { SysFreeString(s_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    if (this != &other) {
      SysFreeString(s_);
      s_ = std::exchange(other.s_, nullptr);
    }
    return *this;
  }
  BSTR get() const { return s_; }
  // For functions that return a BSTR through a pointer; frees what was held.
  BSTR* put() {
    SysFreeString(std::exchange(s_, nullptr));
    return &s_;
  }

 private:
  BSTR s_ = nullptr;
};

// Enters a single-threaded apartment unless the thread already has one (of
// either kind); leaves it again only if it entered.
class ComApartment {
 public:
  ComApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (entered_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool entered_;
};

}  // namespace zv
