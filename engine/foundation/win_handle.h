// Move-only owners for Win32 handles: one owner per handle, closed exactly
// once. Each handle kind names its empty value and its close function.
#pragma once
#include <windows.h>

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

struct FileHandleTraits {  // CreateFile: INVALID_HANDLE_VALUE when empty
  using Type = HANDLE;
  static Type empty() { return INVALID_HANDLE_VALUE; }
  static void close(Type h) { CloseHandle(h); }
};
struct KernelHandleTraits {  // threads, events, processes: null when empty
  using Type = HANDLE;
  static Type empty() { return nullptr; }
  static void close(Type h) { CloseHandle(h); }
};
struct RegKeyTraits {
  using Type = HKEY;
  static Type empty() { return nullptr; }
  static void close(Type h) { RegCloseKey(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;

}  // namespace zv
