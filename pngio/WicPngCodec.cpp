#include "pngio/WicPngCodec.h"

#include "pngio/PngLimits.h"

#include <objidl.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstring>

using Microsoft::WRL::ComPtr;

namespace pngio {
namespace {

constexpr uint32_t kBgraBytes = 4;

ComPtr<IWICImagingFactory> CreateFactory() {
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)))) {
    return nullptr;
  }
  return factory;
}

// Releases a locked HGLOBAL on every path.
class LockedGlobalMemory {
 public:
  explicit LockedGlobalMemory(HGLOBAL memory) : m_memory(memory), m_bytes(GlobalLock(memory)) {}
  LockedGlobalMemory(const LockedGlobalMemory&) = delete;
  LockedGlobalMemory& operator=(const LockedGlobalMemory&) = delete;
  ~LockedGlobalMemory() {
    if (m_bytes != nullptr) GlobalUnlock(m_memory);
  }
  const uint8_t* Bytes() const { return static_cast<const uint8_t*>(m_bytes); }

 private:
  HGLOBAL m_memory;
  void* m_bytes;
};

}  // namespace

bool DecodePng(const PngFileBytes& file, OwnedPngData& out) {
  ComPtr<IWICImagingFactory> factory = CreateFactory();
  if (!factory) return false;
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(file.bytes.data()), static_cast<DWORD>(file.bytes.size())))) {
    return false;
  }
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, &decoder)) ||
      FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand))) {
    return false;
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, &frame))) return false;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width != file.width || height != file.height) return false;

  // One conversion to BGRA covers every source layout; the rows are then
  // rearranged into RGB(A) here, row by row.
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return false;
  }
  const uint32_t colorType = file.hasAlpha ? kPngColorTypeRgba : kPngColorTypeRgb;
  if (!out.Allocate(width, height, colorType)) return false;
  const PngData& data = out.Data();
  const UINT stride = width * kBgraBytes;
  std::vector<uint8_t> bgra(stride);
  for (UINT y = 0; y < height; ++y) {
    const WICRect row = {0, static_cast<INT>(y), static_cast<INT>(width), 1};
    if (FAILED(converter->CopyPixels(&row, stride, stride, bgra.data()))) return false;
    uint8_t* target = data.rows[y];
    const uint8_t* source = bgra.data();
    for (UINT x = 0; x < width; ++x, source += kBgraBytes) {
      *target++ = source[2];
      *target++ = source[1];
      *target++ = source[0];
      if (colorType == kPngColorTypeRgba) *target++ = source[3];
    }
  }
  return true;
}

bool EncodePng(const PngData& data, std::vector<uint8_t>& out) {
  const uint32_t samples = SamplesPerPixel(data.colorType);
  if (samples == 0 || data.bitDepth != 8 || data.rows == nullptr || !IsAcceptedSize(data.width, data.height)) {
    return false;
  }
  if (data.rowBytes != 0 && data.rowBytes < data.width * samples) return false;
  for (uint32_t y = 0; y < data.height; ++y) {
    if (data.rows[y] == nullptr) return false;
  }
  ComPtr<IWICImagingFactory> factory = CreateFactory();
  if (!factory) return false;
  ComPtr<IStream> memory;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &memory))) return false;
  ComPtr<IWICBitmapEncoder> encoder;
  if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
      FAILED(encoder->Initialize(memory.Get(), WICBitmapEncoderNoCache))) {
    return false;
  }
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  if (FAILED(encoder->CreateNewFrame(&frame, &options)) || FAILED(frame->Initialize(options.Get())) ||
      FAILED(frame->SetSize(data.width, data.height))) {
    return false;
  }
  const bool alpha = data.colorType == kPngColorTypeRgba;
  const WICPixelFormatGUID wanted = alpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
  WICPixelFormatGUID format = wanted;
  if (FAILED(frame->SetPixelFormat(&format)) || format != wanted) return false;

  const UINT stride = data.width * samples;
  std::vector<uint8_t> bgr(stride);
  for (uint32_t y = 0; y < data.height; ++y) {
    const uint8_t* source = data.rows[y];
    uint8_t* target = bgr.data();
    for (uint32_t x = 0; x < data.width; ++x, source += samples, target += samples) {
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
      if (alpha) target[3] = source[3];
    }
    if (FAILED(frame->WritePixels(1, stride, stride, bgr.data()))) return false;
  }
  if (FAILED(frame->Commit()) || FAILED(encoder->Commit())) return false;

  HGLOBAL global = nullptr;
  STATSTG stat{};
  if (FAILED(GetHGlobalFromStream(memory.Get(), &global)) || FAILED(memory->Stat(&stat, STATFLAG_NONAME))) {
    return false;
  }
  const uint64_t size = stat.cbSize.QuadPart;
  if (size == 0 || size > GlobalSize(global)) return false;
  LockedGlobalMemory lock(global);
  if (lock.Bytes() == nullptr) return false;
  out.assign(lock.Bytes(), lock.Bytes() + size);
  return true;
}

}  // namespace pngio
