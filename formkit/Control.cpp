#include "formkit/Control.h"

#include "formkit/Assert.h"
#include "formkit/WinControl.h"

#include <algorithm>

namespace formkit {

TControl::TControl(TComponent* owner) : TComponent(owner), WindowProc(this, &TControl::WndProc) {}

TControl::~TControl() { SetParent(nullptr); }

void TControl::WndProc(TMessage& message) { Dispatch(message); }

void TControl::Dispatch(TMessage& message) { DefaultHandler(message); }

void TControl::DefaultHandler(TMessage&) {}

void TControl::Paint(HDC) {}

void TControl::StoreBounds(int left, int top, int width, int height) {
  m_left = left;
  m_top = top;
  m_width = std::max(width, 0);
  m_height = std::max(height, 0);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  Invalidate();  // where it was
  StoreBounds(left, top, width, height);
  Invalidate();  // where it is now
}

void TControl::SetVisible(bool visible) {
  if (visible == m_visible) return;
  // Invalidate only covers a visible control: hide after it, show before it.
  if (!visible) Invalidate();
  m_visible = visible;
  if (visible) Invalidate();
}

void TControl::SetParent(TWinControl* parent) {
  // Only graphic controls are placed on a parent; window controls here are forms.
  ZR_ASSERT(parent == nullptr || dynamic_cast<TWinControl*>(this) == nullptr);
  if (parent == m_parent) return;
  if (m_parent) {
    Invalidate();
    auto& siblings = m_parent->m_controls;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  m_parent = parent;
  if (m_parent) {
    m_parent->m_controls.push_back(this);
    Invalidate();
  }
}

void TControl::Invalidate() {
  if (!m_visible || !m_parent || !m_parent->HandleAllocated()) return;
  RECT area{m_left, m_top, m_left + m_width, m_top + m_height};
  InvalidateRect(m_parent->Handle(), &area, TRUE);
}

}  // namespace formkit
