#include "pngio/generator/PngFile.h"

#include "formkit/Handle.h"
#include "pngio/pngio.h"

namespace pictures {
namespace {

uint32_t __stdcall WriteToFile(void* context, const void* buffer, uint32_t count) {
  DWORD written = 0;
  if (!WriteFile(static_cast<HANDLE>(context), buffer, count, &written, nullptr)) return 0;
  return written;
}

// The rows of an AllocatePngData, given back with FreePngData on every path.
class AllocatedPicture {
 public:
  AllocatedPicture(uint32_t width, uint32_t height) {
    m_allocated = AllocatePngData(&m_data, width, height, kPngColorTypeRgba) != 0;
  }
  AllocatedPicture(const AllocatedPicture&) = delete;
  AllocatedPicture& operator=(const AllocatedPicture&) = delete;
  ~AllocatedPicture() {
    if (m_allocated) FreePngData(&m_data);
  }
  bool IsAllocated() const { return m_allocated; }
  const PngData& Data() const { return m_data; }

 private:
  PngData m_data{};
  bool m_allocated = false;
};

}  // namespace

bool SavePng(const wchar_t* path, const PictureCanvas& canvas) {
  AllocatedPicture picture(canvas.Width(), canvas.Height());
  if (!picture.IsAllocated()) return false;
  canvas.CopyTo(picture.Data());
  bool written = false;
  {
    formkit::FileHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    written = WritePngEx(&picture.Data(), WriteToFile, file.Get()) != 0;
  }
  if (!written) DeleteFileW(path);
  return written;
}

}  // namespace pictures
