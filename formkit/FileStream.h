// Byte streams: TStream, the interface readers take, and TFileStream over a file.
#pragma once

#include "formkit/Handle.h"
#include "formkit/Object.h"

#include <string>

namespace formkit {

class TStream : public TObject {
 public:
  // Reads up to `count` bytes into `buffer`; returns how many were read (0 at the
  // end or on failure).
  virtual long Read(void* buffer, long count) = 0;
};

enum TFileMode : unsigned { fmOpenRead = 0 };

class TFileStream : public TStream {
 public:
  // Opens an existing file; throws EFOpenError ("Cannot open file <path>") when it
  // cannot. Others may read the file at the same time.
  TFileStream(const std::string& path, TFileMode mode);

  long Read(void* buffer, long count) override;

 private:
  FileHandle m_file;
};

}  // namespace formkit
