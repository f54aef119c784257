#include "formkit/Object.h"

#include "formkit/Assert.h"

#include <algorithm>

namespace formkit {

TComponent::TComponent(TComponent* owner) : m_owner(owner) {
  if (m_owner) m_owner->m_components.push_back(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (m_owner) {
    auto& siblings = m_owner->m_components;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

TComponent* TComponent::Component(int index) const {
  ZR_ASSERT(index >= 0 && index < ComponentCount());
  return m_components[static_cast<size_t>(index)];
}

void TComponent::DestroyComponents() {
  // Each deleted component takes itself off the list.
  while (!m_components.empty()) delete m_components.back();
}

}  // namespace formkit
