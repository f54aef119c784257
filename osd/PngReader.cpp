#include "osd/PngReader.h"

#include "osd/EntryPoint.h"
#include "pngio/pngio.h"

#include "formkit/Application.h"
#include "formkit/Bitmap.h"
#include "formkit/Exception.h"
#include "formkit/FilePath.h"
#include "formkit/FileStream.h"
#include "formkit/Handle.h"

#include <cstdint>
#include <vector>

namespace {

constexpr char LibraryName[] = "pngio.dll";

uint32_t __stdcall StreamRead(void* context, void* buffer, uint32_t count) {
  const long read = static_cast<formkit::TStream*>(context)->Read(buffer, static_cast<long>(count));
  return read > 0 ? static_cast<uint32_t>(read) : 0;
}

// Copies decoded rows into the bitmap, n bytes a pixel (3 or 4).
void CopyRows(const PngData& data, formkit::TBitmap& bitmap, int n) {
  bitmap.SetWidth(static_cast<int>(data.width));
  bitmap.SetHeight(static_cast<int>(data.height));
  const bool hasAlpha = data.colorType == kPngColorTypeRgba;
  const size_t sourceStep = hasAlpha ? 4 : 3;
  for (uint32_t row = 0; row < data.height; ++row) {
    uint8_t* to = bitmap.ScanLine(static_cast<int>(row));
    const uint8_t* from = data.rows[row];
    for (uint32_t x = 0; x < data.width; ++x, to += n, from += sourceStep) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
      if (n != 4) continue;
      if (hasAlpha) {
        to[3] = from[3];
        // Colour bytes are not premultiplied; only invisible pixels are made black.
        if (from[3] == 0) to[0] = to[1] = to[2] = 0;
      } else {
        to[3] = 255;
      }
    }
  }
}

// Owns pngio.dll for the life of the process.
class PngManager {
 public:
  static PngManager& Instance() {
    // Never destroyed; a failed load throws and the next call tries again.
    static PngManager* manager = new PngManager;
    return *manager;
  }

  bool Read(formkit::TStream& stream, formkit::TBitmap& bitmap) const {
    PngData data{};
    if (!m_readPngEx(&data, &StreamRead, &stream)) return false;
    // Frees the decoded rows on every path, a failed copy included.
    struct Rows {
      const PngManager& manager;
      PngData& data;
      ~Rows() { manager.m_freePngData(&data); }
    } rows{*this, data};
    if (bitmap.PixelFormat() == formkit::pf32bit) {
      CopyRows(data, bitmap, 4);
    } else {
      bitmap.SetPixelFormat(formkit::pf24bit);
      CopyRows(data, bitmap, 3);
    }
    return true;
  }

 private:
  PngManager() {
    const std::string path = ProgramFolder() + LibraryName;
    m_hinst.Reset(LoadLibraryA(path.c_str()));
    if (!m_hinst) throw formkit::Exception("Cannot load the PNG library " + path);
    m_readPngEx = EntryPoint<ReadPngExFunc>(m_hinst.Get(), "ReadPngEx");
    m_freePngData = EntryPoint<FreePngDataFunc>(m_hinst.Get(), "FreePngData");
    if (!m_readPngEx || !m_freePngData) throw formkit::Exception("The PNG library " + path + " is not usable");
  }

  formkit::ModuleHandle m_hinst;
  ReadPngExFunc m_readPngEx = nullptr;
  FreePngDataFunc m_freePngData = nullptr;
};

std::string ModuleFileName() {
  std::vector<char> buffer(128);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return std::string(buffer.data(), length);
    // The path may have been cut.
    buffer.assign(buffer.size() * 2, '\0');
  }
}

}  // namespace

std::string ProgramFolder() { return formkit::ExtractFilePath(formkit::Application()->ExeName()); }

std::string ResourceFolder() {
  const std::string path = ModuleFileName();
  size_t end = path.rfind('\\');
  if (end == std::string::npos) end = path.find(':');
  const std::string folder = end == std::string::npos ? std::string() : path.substr(0, end + 1);
  return folder + "Resource\\";
}

bool ReadPng(formkit::TStream& stream, formkit::TBitmap& bitmap) { return PngManager::Instance().Read(stream, bitmap); }

void LoadPng(const std::string& path, formkit::TBitmap& bitmap) {
  bitmap.SetPixelFormat(formkit::pf32bit);
  formkit::TFileStream stream(path, formkit::fmOpenRead);
  ReadPng(stream, bitmap);
}
