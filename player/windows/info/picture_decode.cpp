#include "picture_decode.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>

#include "win32/owners.h"

namespace zv::info {

namespace {

// COM for this call only, when the thread has none of its own yet.
struct ComScope {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComScope() {
    if (SUCCEEDED(hr)) CoUninitialize();
  }
};

const int kMaxSide = 16384;

}  // namespace

void fitInto(int sourceW, int sourceH, int boxW, int boxH, int& w, int& h) {
  w = std::max(1, sourceW), h = std::max(1, sourceH);
  boxW = std::max(1, boxW), boxH = std::max(1, boxH);
  if (w > boxW || h > boxH) {
    // Whichever side is tighter decides.
    if (int64_t(w) * boxH >= int64_t(h) * boxW) {
      h = std::max<int>(1, int(int64_t(h) * boxW / w));
      w = boxW;
    } else {
      w = std::max<int>(1, int(int64_t(w) * boxH / h));
      h = boxH;
    }
  }
}

bool decodePicture(const void* data, size_t size, int boxW, int boxH, DecodedPicture& out) {
  out = {};
  if (!data || size < 8 || size > (64u << 20)) return false;
  ComScope com;
  ComRef<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.put()))))
    return false;
  ComRef<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), DWORD(size))))
    return false;
  ComRef<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())))
    return false;
  ComRef<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.put()))) return false;
  UINT w = 0, h = 0;
  if (FAILED(frame->GetSize(&w, &h)) || w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) return false;
  int outW = 0, outH = 0;
  fitInto(int(w), int(h), boxW, boxH, outW, outH);
  ComRef<IWICBitmapScaler> scaler;
  if (FAILED(factory->CreateBitmapScaler(scaler.put())) ||
      FAILED(scaler->Initialize(frame.get(), UINT(outW), UINT(outH), WICBitmapInterpolationModeFant)))
    return false;
  ComRef<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(scaler.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)))
    return false;
  std::vector<uint32_t> pixels(size_t(outW) * outH);
  if (FAILED(converter->CopyPixels(nullptr, UINT(outW * 4), UINT(pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(pixels.data()))))
    return false;
  out.width = outW, out.height = outH, out.sourceWidth = int(w), out.sourceHeight = int(h);
  out.bgra = std::move(pixels);
  return true;
}

}  // namespace zv::info
