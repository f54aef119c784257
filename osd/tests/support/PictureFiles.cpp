#include "osd/tests/support/PictureFiles.h"

#include "osd/EntryPoint.h"
#include "osd/PngReader.h"
#include "pngio/pngio.h"

#include "formkit/Handle.h"

#include <cstring>
#include <stdexcept>

namespace osdtest {

namespace {

uint32_t __stdcall FileWrite(void* context, const void* buffer, uint32_t count) {
  DWORD written = 0;
  if (!WriteFile(static_cast<HANDLE>(context), buffer, count, &written, nullptr)) return 0;
  return written;
}

formkit::FileHandle CreateOutput(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  if (slash != std::string::npos) CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  formkit::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) throw std::runtime_error("cannot write " + path);
  return file;
}

}  // namespace

void WritePng(const std::string& path, uint32_t width, uint32_t height, uint32_t colorType,
              const std::vector<uint8_t>& samples) {
  const std::string library = ProgramFolder() + "pngio.dll";
  formkit::ModuleHandle module(LoadLibraryA(library.c_str()));
  if (!module) throw std::runtime_error("no " + library);
  auto allocate = EntryPoint<AllocatePngDataFunc>(module.Get(), "AllocatePngData");
  auto write = EntryPoint<WritePngExFunc>(module.Get(), "WritePngEx");
  auto release = EntryPoint<FreePngDataFunc>(module.Get(), "FreePngData");
  if (!allocate || !write || !release) throw std::runtime_error("pngio.dll without its encoder");
  PngData data{};
  if (!allocate(&data, width, height, colorType)) throw std::runtime_error("cannot allocate the picture");
  const size_t rowBytes = width * (colorType == kPngColorTypeRgba ? 4u : 3u);
  if (samples.size() != rowBytes * height) {
    release(&data);
    throw std::runtime_error("sample count does not match the picture");
  }
  for (uint32_t row = 0; row < height; ++row) std::memcpy(data.rows[row], &samples[row * rowBytes], rowBytes);
  bool written;
  {
    formkit::FileHandle file = CreateOutput(path);
    written = write(&data, &FileWrite, file.Get()) != 0;
  }
  release(&data);
  if (!written) throw std::runtime_error("cannot encode " + path);
}

void WritePlainPng(const std::string& path, uint32_t width, uint32_t height, uint32_t colorType) {
  const size_t channels = colorType == kPngColorTypeRgba ? 4 : 3;
  std::vector<uint8_t> samples(width * height * channels);
  for (size_t i = 0; i < samples.size(); i += channels) {
    samples[i] = 40;
    samples[i + 1] = 80;
    samples[i + 2] = 120;
    if (channels == 4) samples[i + 3] = 200;
  }
  WritePng(path, width, height, colorType, samples);
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  formkit::FileHandle file = CreateOutput(path);
  DWORD written = 0;
  if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    throw std::runtime_error("cannot write " + path);
}

}  // namespace osdtest
