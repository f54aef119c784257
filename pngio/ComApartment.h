// Makes sure COM is usable on the calling thread for one call into the library.
// A thread that already joined an apartment keeps it (whatever its model); one that
// had none joins the multithreaded apartment and leaves it again afterwards.
#pragma once

#include <objbase.h>

namespace pngio {

class ComApartment {
 public:
  ComApartment() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    m_joined = SUCCEEDED(hr);  // S_OK or S_FALSE: balanced by CoUninitialize
    m_usable = m_joined || hr == RPC_E_CHANGED_MODE;
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (m_joined) CoUninitialize();
  }
  bool IsUsable() const { return m_usable; }

 private:
  bool m_joined = false;
  bool m_usable = false;
};

}  // namespace pngio
