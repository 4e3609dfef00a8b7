#include "skin_bitmap.h"

#include <cstring>

namespace zv::ui {

bool readWholeFile(const std::string& path, std::string& out, size_t limit) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || static_cast<uint64_t>(size.QuadPart) > limit)
    return false;
  out.assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!out.empty() && (!ReadFile(file.get(), out.data(), static_cast<DWORD>(out.size()), &got, nullptr) ||
                       got != out.size()))
    return false;
  return true;
}

bool fileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

PixelImage loadBitmapFile(const std::string& path) {
  std::string bytes;
  const size_t limit = 14 + 1024 + static_cast<size_t>(kBitmapSideLimit) * kBitmapSideLimit * 4;
  if (!readWholeFile(path, bytes, limit)) return {};
  return decodeBitmap(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

UniqueBitmap createDib(int width, int height, uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width < 1 ? 1 : width;
  info.bmiHeader.biHeight = -(height < 1 ? 1 : height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (bits) *bits = bitmap ? static_cast<uint32_t*>(pixels) : nullptr;
  return bitmap;
}

HBITMAP SkinBitmap::handle() const {
  if (!bitmap_ && !image_.empty()) {
    uint32_t* bits = nullptr;
    bitmap_ = createDib(image_.width, image_.height, &bits);
    if (bits) std::memcpy(bits, image_.pixels.data(), image_.pixels.size() * sizeof(uint32_t));
  }
  return bitmap_.get();
}

HDC SkinBitmap::dc() const {
  if (!dc_ && handle()) {
    dc_.reset(CreateCompatibleDC(nullptr));
    if (dc_) SelectObject(dc_.get(), bitmap_.get());  // never selected out: the DC goes first
  }
  return dc_.get();
}

}  // namespace zv::ui
