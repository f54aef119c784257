#include "formkit/FileStream.h"

#include "formkit/Assert.h"
#include "formkit/Exception.h"

namespace formkit {

TFileStream::TFileStream(const std::string& path, TFileMode mode) {
  // Reading is the only mode; readers share the file with other readers.
  ZR_ASSERT(mode == fmOpenRead);
  m_file.Reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!m_file) throw EFOpenError(path);
}

long TFileStream::Read(void* buffer, long count) {
  if (count <= 0) return 0;
  DWORD read = 0;
  if (!ReadFile(m_file.Get(), buffer, static_cast<DWORD>(count), &read, nullptr)) return 0;
  return static_cast<long>(read);
}

}  // namespace formkit
