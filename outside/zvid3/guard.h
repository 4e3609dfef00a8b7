// No exception may leave a zvid3 export: callers may be built with another
// compiler and runtime.
#pragma once
#include <windows.h>

#include <exception>
#include <string>

namespace zvid3 {

template <class T, class Body>
T guarded(const char* call, T fallback, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::exception& e) {
    try {
      OutputDebugStringA((std::string("zvid3: ") + call + " failed: " + e.what() + "\n").c_str());
    } catch (...) {
    }
  } catch (...) {
    OutputDebugStringA("zvid3: unexpected exception\n");
  }
  return fallback;
}

template <class Body>
void guardedVoid(const char* call, Body&& body) noexcept {
  guarded(call, 0, [&] { body(); return 0; });
}

}  // namespace zvid3
