// The one window base of the engine and the player. A class derives from
// WindowBase, names its window class once (WindowClassInfo), and answers the
// messages it cares about in handle(); everything else, and every message that
// arrives before WM_NCCREATE binds the object, goes to DefWindowProc.
//
// The class is registered on first use in the module that holds the code
// (each DLL and the program register their own). The object must outlive its
// window or destroy it: the destructor destroys a window that is still there,
// which is only allowed on the thread that created it.
//
// No exception leaves a window procedure: one that escapes handle() is passed
// to the hook set with setWindowExceptionHook (the engine writes a diagnostic
// line, the player its "AppEx:" line) and the message answers 0.
#pragma once
#include <windows.h>

#include <exception>
#include <typeinfo>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace zv {

// The module that holds this code: the DLL or the program that includes it.
inline HINSTANCE thisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

struct WindowClassInfo {
  const char* name;
  UINT style = 0;
  HCURSOR cursor = nullptr;   // null: the arrow
  HBRUSH background = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
};

using WindowExceptionHook = void (*)(const char* className, const char* what);

namespace detail {
inline WindowExceptionHook& windowExceptionHook() {
  static WindowExceptionHook hook = nullptr;
  return hook;
}
}  // namespace detail

// Called on the window's thread for an exception that escaped a handler,
// from inside the catch block: std::current_exception() is that exception,
// so the hook may rethrow it to learn its type. One hook per module, set
// before its first window.
inline void setWindowExceptionHook(WindowExceptionHook hook) { detail::windowExceptionHook() = hook; }

// Registers the class in this module unless it is registered already (by an
// earlier window or another thread). False only when registration failed.
inline bool registerWindowClass(const WindowClassInfo& info, WNDPROC proc) {
  WNDCLASSEXA existing = {sizeof(existing)};
  if (GetClassInfoExA(thisModule(), info.name, &existing)) return true;
  WNDCLASSEXA wc = {sizeof(wc)};
  wc.style = info.style;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = sizeof(void*);
  wc.hInstance = thisModule();
  wc.hCursor = info.cursor ? info.cursor : LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = info.background;
  wc.hIcon = info.icon;
  wc.hIconSm = info.smallIcon;
  wc.lpszClassName = info.name;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// For a DLL that unloads: its classes are not removed with it.
inline void unregisterWindowClass(const char* name) { UnregisterClassA(name, thisModule()); }

class WindowBase {
 public:
  WindowBase() = default;
  // A window still there is destroyed; one that cannot be (it belongs to
  // another thread) is at least unbound, so it never reaches a dead object.
  virtual ~WindowBase() {
    destroy();
    unbind();
  }
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND hwnd() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }

  // Destroys the window if it is still there (on its own thread only).
  void destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
  }

  // The object bound to a window of this base, or null.
  static WindowBase* from(HWND window) {
    return window ? reinterpret_cast<WindowBase*>(GetWindowLongPtrA(window, 0)) : nullptr;
  }

 protected:
  // Creates the window, registering its class first when needed. A null
  // parent with HWND_MESSAGE makes a message-only window.
  bool create(const WindowClassInfo& cls, DWORD exStyle, const char* title, DWORD style, int x, int y, int width,
              int height, HWND parent = nullptr, HMENU menu = nullptr) {
    if (hwnd_ || !registerWindowClass(cls, &WindowBase::procedure)) return false;
    className_ = cls.name;
    const HWND made = CreateWindowExA(exStyle, cls.name, title ? title : "", style, x, y, width, height, parent,
                                      menu, thisModule(), this);
    // A creation refused after WM_NCCREATE (by WM_CREATE answering -1, say)
    // leaves no window to hold on to, whatever the system sent before.
    if (!made) unbind();
    return made != nullptr && hwnd_ != nullptr;
  }

  // Answers one message; the default passes it on.
  virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) { return passOn(message, wParam, lParam); }
  LRESULT passOn(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
  }
  // After the last message (WM_NCDESTROY): the window is gone, hwnd() is null.
  virtual void destroyed() {}

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowBase* self = from(window);
    if (!self) {
      if (message != WM_NCCREATE) return DefWindowProcA(window, message, wParam, lParam);
      self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(self));
      self->hwnd_ = window;
    }
    LRESULT result = 0;
    try {
      result = self->handle(message, wParam, lParam);
    } catch (const std::exception& e) {
      report(self, e.what());
    } catch (...) {
      report(self, "unknown exception");
    }
    if (message == WM_NCDESTROY) {
      self->unbind();
      try {
        self->destroyed();
      } catch (...) {
        report(self, "exception after destruction");
      }
    }
    return result;
  }
  void unbind() {
    if (hwnd_ && from(hwnd_) == this) SetWindowLongPtrA(hwnd_, 0, 0);
    hwnd_ = nullptr;
  }
  static void report(WindowBase* self, const char* what) {
    if (WindowExceptionHook hook = detail::windowExceptionHook()) hook(self->className_, what);
  }

  HWND hwnd_ = nullptr;
  const char* className_ = "";
};

}  // namespace zv
