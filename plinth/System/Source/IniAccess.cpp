#include "plinth/System/Source/IniAccess.h"

#include <cstring>
#include <new>

#include "formkit/Assert.h"

namespace plinth {

void IniAccessor::AllocateBuffer(unsigned size) {
  m_buf.reset();
  m_bufSize = 0;
  m_buf = std::make_unique_for_overwrite<char[]>(size);
  m_bufSize = size;
}

bool IniAccessor::Open(const char* path) {
  ZR_ASSERT(!IsOpen());
  try {
    AllocateBuffer(kInitialBufferSize);
    m_fileName = path;
  } catch (const std::bad_alloc&) {
    Close();
    return false;
  }
  return true;
}

void IniAccessor::ReadString(const char* section, const char* key, const char* def, std::string& out) {
  // Without a buffer the growth below would never end.
  ZR_ASSERT(IsOpen());
  // Without a section or a key the system returns a list of names ending in two NULs.
  const DWORD terminators = section != nullptr && key != nullptr ? 1 : 2;
  for (;;) {
    const DWORD length = m_functions.GetString(section, key, def, m_buf.get(), m_bufSize, m_fileName.c_str());
    // A text that filled the buffer may have been cut: the system reports the same
    // length either way, so only a shorter one is known to be whole.
    if (length + terminators < m_bufSize) {
      out.assign(m_buf.get(), strnlen(m_buf.get(), length));
      return;
    }
    AllocateBuffer(m_bufSize * 2);
  }
}

void IniAccessor::Close() {
  if (!m_fileName.empty()) m_functions.WriteString(nullptr, nullptr, nullptr, m_fileName.c_str());
  m_fileName.clear();
  m_buf.reset();
  m_bufSize = 0;
}

}  // namespace plinth
