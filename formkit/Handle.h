// One owning-handle template for every kind of operating-system handle. Each kind
// is a one-line alias naming its close function and its "no handle" value, so
// null-handle kinds (windows, GDI objects, kernel objects) and the
// INVALID_HANDLE_VALUE kind (files) stay distinct.
#pragma once

#include <windows.h>

#include <cstdint>
#include <type_traits>
#include <utility>

namespace formkit {

template <class T, auto Close, auto Invalid = nullptr>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : m_handle(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  T Get() const { return m_handle; }
  bool IsValid() const { return m_handle != InvalidValue(); }
  explicit operator bool() const { return IsValid(); }

  // Gives up ownership without closing.
  T Release() { return std::exchange(m_handle, InvalidValue()); }
  // Closes the handle held (if any) and takes `handle`.
  void Reset(T handle = InvalidValue()) {
    T old = std::exchange(m_handle, handle);
    if (old != InvalidValue()) Close(old);
  }

  static T InvalidValue() {
    if constexpr (std::is_same_v<decltype(Invalid), std::nullptr_t>) {
      return nullptr;
    } else {
      return reinterpret_cast<T>(static_cast<std::intptr_t>(Invalid));
    }
  }

 private:
  T m_handle = InvalidValue();
};

namespace detail {
inline void CloseWindowHandle(HWND h) { DestroyWindow(h); }
inline void CloseGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void CloseMemoryDc(HDC h) { DeleteDC(h); }
inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }
inline void CloseModule(HMODULE h) { FreeLibrary(h); }
}  // namespace detail

using WindowHandle = UniqueHandle<HWND, detail::CloseWindowHandle>;
using BitmapHandle = UniqueHandle<HBITMAP, detail::CloseGdiObject>;
using MemoryDcHandle = UniqueHandle<HDC, detail::CloseMemoryDc>;
using KernelHandle = UniqueHandle<HANDLE, detail::CloseKernelHandle>;
// INVALID_HANDLE_VALUE (-1) is what CreateFile returns on failure.
using FileHandle = UniqueHandle<HANDLE, detail::CloseKernelHandle, -1>;
using ModuleHandle = UniqueHandle<HMODULE, detail::CloseModule>;

// Puts back the object that was selected into a device context, on every path.
class SelectionGuard {
 public:
  SelectionGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;
  ~SelectionGuard() { SelectObject(m_dc, m_previous); }

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

}  // namespace formkit
