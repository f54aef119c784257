// The roots of the framework's classes: TObject, the polymorphic base, and
// TComponent, which owns the components created with it as their owner and
// deletes them when it is deleted itself.
#pragma once

#include <vector>

namespace formkit {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

class TComponent : public TObject {
 public:
  // With an owner, the new component is deleted together with the owner; deleting
  // it earlier takes it off the owner's list.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return m_owner; }
  int ComponentCount() const { return static_cast<int>(m_components.size()); }
  TComponent* Component(int index) const;

 protected:
  // Deletes the owned components, the last created first.
  void DestroyComponents();

 private:
  TComponent* m_owner;
  std::vector<TComponent*> m_components;
};

}  // namespace formkit
