// Closures, component ownership and owning handles.
#include "formkit/Closure.h"
#include "formkit/Handle.h"
#include "formkit/Object.h"

#include <gtest/gtest.h>

#include <vector>

namespace formkit {
namespace {

class Recorder : public TObject {
 public:
  void OnEvent(TObject* sender) { senders.push_back(sender); }
  void OnOther(TObject* sender) { others.push_back(sender); }
  std::vector<TObject*> senders;
  std::vector<TObject*> others;
};

struct OtherBase {
  virtual ~OtherBase() = default;
  int padding = 0;
};
// Recorder is not the first base, so its address differs from the object's.
class DerivedRecorder : public OtherBase, public Recorder {};

TEST(Closure, EmptyByDefault) {
  TNotifyEvent event;
  EXPECT_TRUE(event.IsEmpty());
  EXPECT_FALSE(event);
  EXPECT_TRUE(event == TNotifyEvent());
}

TEST(Closure, CallsTheBoundMethodOfTheBoundObject) {
  Recorder first, second;
  TNotifyEvent event = Bind(&first, &Recorder::OnEvent);
  ASSERT_TRUE(event);
  event(nullptr);
  event(&second);
  EXPECT_EQ(first.senders, (std::vector<TObject*>{nullptr, &second}));
  EXPECT_TRUE(second.senders.empty());
  EXPECT_TRUE(first.others.empty());
}

TEST(Closure, EqualOnlyForSameObjectAndMethod) {
  Recorder a, b;
  const struct {
    const char* name;
    TNotifyEvent left, right;
    bool equal;
  } cases[] = {
      {"same object and method", Bind(&a, &Recorder::OnEvent), Bind(&a, &Recorder::OnEvent), true},
      {"other object", Bind(&a, &Recorder::OnEvent), Bind(&b, &Recorder::OnEvent), false},
      {"other method", Bind(&a, &Recorder::OnEvent), Bind(&a, &Recorder::OnOther), false},
      {"bound and empty", Bind(&a, &Recorder::OnEvent), TNotifyEvent(), false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.left == c.right, c.equal) << c.name;
}

TEST(Closure, BaseMethodOfDerivedObjectAndCopiesReachTheSameTarget) {
  DerivedRecorder derived;
  TNotifyEvent original = Bind(&derived, &Recorder::OnEvent);
  TNotifyEvent copy = original;
  copy(nullptr);
  EXPECT_EQ(derived.senders, std::vector<TObject*>{nullptr});
  EXPECT_TRUE(copy == original);
}

TEST(Closure, WindowMethodPassesTheMessageByReference) {
  // Closures bind framework objects, which have a vtable.
  struct Handler : TObject {
    void Handle(TMessage& message) { message.Result = static_cast<LRESULT>(message.WParam) + 1; }
  } handler;
  TWndMethod method = Bind(&handler, &Handler::Handle);
  TMessage message{WM_USER, 41, 0, 0};
  method(message);
  EXPECT_EQ(message.Result, 42);
}

class Tracked : public TComponent {
 public:
  Tracked(TComponent* owner, std::vector<int>& log, int id) : TComponent(owner), m_log(log), m_id(id) {}
  ~Tracked() override { m_log.push_back(m_id); }

 private:
  std::vector<int>& m_log;
  int m_id;
};

TEST(Component, OwnerDeletesItsComponentsLastFirst) {
  std::vector<int> deleted;
  auto* owner = new Tracked(nullptr, deleted, 0);
  new Tracked(owner, deleted, 1);
  auto* middle = new Tracked(owner, deleted, 2);
  new Tracked(middle, deleted, 21);
  new Tracked(owner, deleted, 3);
  EXPECT_EQ(owner->ComponentCount(), 3);
  delete owner;
  // Each component's own destructor runs before it deletes what it owns.
  EXPECT_EQ(deleted, (std::vector<int>{0, 3, 2, 21, 1}));
}

TEST(Component, DeletedComponentLeavesItsOwner) {
  std::vector<int> deleted;
  Tracked owner(nullptr, deleted, 0);
  auto* first = new Tracked(&owner, deleted, 1);
  auto* second = new Tracked(&owner, deleted, 2);
  delete first;
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Component(0), second);
  EXPECT_EQ(second->Owner(), &owner);
}

TEST(UniqueHandle, NullAndInvalidKindsAreDistinct) {
  FileHandle missing(CreateFileA("Z:\\no\\such\\file.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);
  KernelHandle none;
  EXPECT_FALSE(none);
  EXPECT_EQ(none.Get(), nullptr);
}

TEST(UniqueHandle, ClosesOnResetAndMovesOwnership) {
  KernelHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  HANDLE raw = event.Get();
  KernelHandle moved(std::move(event));
  EXPECT_FALSE(event);
  EXPECT_EQ(moved.Get(), raw);
  DWORD flags = 0;
  EXPECT_TRUE(GetHandleInformation(raw, &flags));
  moved.Reset();
  EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "the handle should be closed";
}

}  // namespace
}  // namespace formkit
