// Walking firmware groups element by element and item by item.
#include "plinth/kovra/Source/BiosInterface.h"
#include "plinth/kovra/tests/TestBoard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* WalkBoard =
    "group 0x30\n"
    "item 0x30010001 number min=0 step=1 count=2\n"
    "item 0x30080002 string text=\"a\"\n"
    "item 0x30070003 onoff\n"
    "group 0x31\n"
    "group 0x32 fail=read\n"
    "item 0x32000001 number min=0 step=1 count=2\n"
    // Refused descriptors: the first, a middle and the last element.
    "group 0x33\n"
    "item 0x33000001 number min=0 step=1 count=2 fail=info\n"
    "item 0x33000002 number min=0 step=1 count=2\n"
    "item 0x33000003 number min=0 step=1 count=2 fail=info\n"
    "item 0x33000004 number min=0 step=1 count=2\n"
    "item 0x33000005 number min=0 step=1 count=2 fail=info\n"
    "group 0x34\n"
    "item 0x34000001 number min=0 step=1 count=2 fail=info\n";

std::vector<uint32_t> WalkIds(uint32_t group) {
  std::vector<uint32_t> ids;
  plinth::ItemInfoTraverser walk;
  if (!walk.Open(group)) return ids;
  for (; !walk.IsDone(); walk.Next()) ids.push_back(walk.CurrentId());
  return ids;
}

struct WalkCase {
  const char* name;
  uint32_t group;
  bool opens;
  std::vector<uint32_t> ids;
};

const WalkCase WalkCases[] = {
    {"items in the board's order", 0x30, true, {0x30010001, 0x30080002, 0x30070003}},
    {"empty group", 0x31, true, {}},
    {"group the library refuses", 0x32, false, {}},
    {"group the board lacks", 0x35, false, {}},
    {"refused descriptors are passed over, never repeated", 0x33, true, {0x33000002, 0x33000004}},
    {"only a refused descriptor", 0x34, true, {}},
};

TEST(ItemWalk, EachReadableItemOnceInOrder) {
  zrtest::TestBoard board(WalkBoard);
  for (const WalkCase& c : WalkCases) {
    plinth::ItemInfoTraverser walk;
    EXPECT_EQ(walk.Open(c.group), c.opens) << c.name;
    // A group that can't be read leaves the walk closed again.
    EXPECT_EQ(walk.IsOpen(), c.opens) << c.name;
    EXPECT_EQ(WalkIds(c.group), c.ids) << c.name;
  }
}

TEST(ItemWalk, ClosedWalkOpensAgain) {
  zrtest::TestBoard board(WalkBoard);
  plinth::ItemInfoTraverser walk;
  ASSERT_TRUE(walk.Open(0x30));
  walk.Next();
  EXPECT_EQ(walk.CurrentId(), 0x30080002u);
  walk.Close();
  EXPECT_FALSE(walk.IsOpen());
  EXPECT_TRUE(walk.IsDone());
  ASSERT_TRUE(walk.Open(0x30));
  EXPECT_EQ(walk.CurrentId(), 0x30010001u);
}

TEST(GroupWalk, CountsTheGroupsElements) {
  zrtest::TestBoard board(WalkBoard);
  struct GroupCase {
    const char* name;
    uint32_t group;
    bool opens;
    int elements;
  };
  const GroupCase cases[] = {
      {"three items", 0x30, true, 3},
      {"refused descriptors still listed", 0x33, true, 5},
      {"empty group", 0x31, true, 0},
      {"refused group", 0x32, false, 0},
  };
  for (const GroupCase& c : cases) {
    plinth::GroupInfoTraverser group;
    EXPECT_EQ(group.Open(c.group), c.opens) << c.name;
    // Open also after a refused read: a finished walk.
    EXPECT_TRUE(group.IsOpen()) << c.name;
    int elements = 0;
    for (; !group.IsDone(); group.Next()) {
      EXPECT_NE(group.CurrentData(), nullptr) << c.name;
      ++elements;
    }
    EXPECT_EQ(elements, c.elements) << c.name;
    EXPECT_EQ(group.CurrentData(), nullptr) << c.name;
  }
}

TEST(GroupWalk, NextAfterTheLastElementChangesNothing) {
  zrtest::TestBoard board(WalkBoard);
  plinth::GroupInfoTraverser group(0x30);
  group.Next();
  group.Next();
  const void* last = group.CurrentData();
  ASSERT_FALSE(group.IsDone());
  group.Next();
  EXPECT_TRUE(group.IsDone());
  group.Next();
  group.Next();
  EXPECT_TRUE(group.IsDone());
  EXPECT_EQ(group.CurrentData(), nullptr);
  EXPECT_NE(last, nullptr);
}

TEST(GroupWalk, ConstructorOpensTheGroup) {
  zrtest::TestBoard board(WalkBoard);
  plinth::GroupInfoTraverser refused(0x32);
  EXPECT_TRUE(refused.IsOpen());
  EXPECT_TRUE(refused.IsDone());
  plinth::GroupInfoTraverser listed(0x30);
  EXPECT_FALSE(listed.IsDone());
  listed.Close();
  EXPECT_FALSE(listed.IsOpen());
  EXPECT_TRUE(listed.Open(0x31));
}

}  // namespace
