// Closures: an object together with one of its member functions, as the
// framework's events and replaceable window procedures store them.
//
//   formkit::TNotifyEvent event = formkit::Bind(this, &TMyForm::OnTimer);
//   if (event) event(nullptr);
//
// A closure is empty by default, compares equal to another one bound to the same
// object and the same member function, and is cheap to copy.
#pragma once

#include "formkit/Assert.h"
#include "formkit/Message.h"

#include <cstring>

namespace formkit {

class TObject;

template <class... Args>
class TClosure {
 public:
  TClosure() = default;

  template <class Object, class Base>
  TClosure(Object* object, void (Base::*method)(Args...))
      : m_object(static_cast<Base*>(object)), m_invoke(&Invoke<Base>) {
    ZR_ASSERT(object != nullptr && method != nullptr);
    static_assert(sizeof(method) <= sizeof(m_method), "member function pointer too large");
    std::memcpy(m_method, &method, sizeof(method));
  }

  bool IsEmpty() const { return m_invoke == nullptr; }
  explicit operator bool() const { return !IsEmpty(); }

  // Calling an empty closure is a programming error.
  void operator()(Args... args) const {
    ZR_ASSERT(m_invoke != nullptr);
    m_invoke(*this, args...);
  }

  friend bool operator==(const TClosure& a, const TClosure& b) {
    return a.m_object == b.m_object && a.m_invoke == b.m_invoke &&
           std::memcmp(a.m_method, b.m_method, sizeof a.m_method) == 0;
  }

 private:
  // Large enough for any member function pointer of this compiler (two words).
  struct Probe {
    virtual void Method();
  };
  using Storage = void (Probe::*)();

  template <class Base>
  static void Invoke(const TClosure& self, Args... args) {
    void (Base::*method)(Args...);
    std::memcpy(&method, self.m_method, sizeof(method));
    (static_cast<Base*>(self.m_object)->*method)(args...);
  }

  void* m_object = nullptr;
  void (*m_invoke)(const TClosure&, Args...) = nullptr;
  alignas(Storage) unsigned char m_method[sizeof(Storage)] = {};
};

// An event handler: the framework calls it with the object that raised the
// event, or with nullptr.
using TNotifyEvent = TClosure<TObject*>;
// A replaceable window procedure (see TControl::WindowProc).
using TWndMethod = TClosure<TMessage&>;

template <class Object, class Base, class... Args>
TClosure<Args...> Bind(Object* object, void (Base::*method)(Args...)) {
  return TClosure<Args...>(object, method);
}

}  // namespace formkit
