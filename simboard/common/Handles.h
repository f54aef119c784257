// Owning handles of the simulated board's programs: formkit's template, plus the
// kinds formkit does not need.
#pragma once

#include "formkit/Handle.h"

#include <windows.h>

namespace simboard {

using formkit::FileHandle;
using formkit::KernelHandle;
using formkit::ModuleHandle;
using formkit::WindowHandle;

namespace detail {
inline void CloseRegistryKey(HKEY key) { RegCloseKey(key); }
inline void CloseFindHandle(HANDLE h) { FindClose(h); }
}  // namespace detail

using RegistryKey = formkit::UniqueHandle<HKEY, detail::CloseRegistryKey>;
// FindFirstFile reports failure with INVALID_HANDLE_VALUE.
using FindHandle = formkit::UniqueHandle<HANDLE, detail::CloseFindHandle, -1>;

// Holds a mutex acquired by the caller and releases it on every path.
class MutexOwnership {
 public:
  explicit MutexOwnership(HANDLE mutex) : m_mutex(mutex) {}
  MutexOwnership(const MutexOwnership&) = delete;
  MutexOwnership& operator=(const MutexOwnership&) = delete;
  ~MutexOwnership() { ReleaseMutex(m_mutex); }

 private:
  HANDLE m_mutex;
};

}  // namespace simboard
