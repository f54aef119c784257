// Single firmware items by id: whether they exist, reading and writing their value.
#include "oc/AcpiLibrary.h"
#include "plinth/kovra/Source/BiosInterface.h"
#include "plinth/kovra/tests/TestBoard.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* ItemBoard =
    "group 0x11\n"
    "item 0x11060008 number min=0 step=1 count=5 value=4\n"
    "item 0x11070010 onoff value=0\n"
    "item 0x11070011 onoff fail=info\n"
    "item 0x11000012 number min=0 step=1 count=5 value=0x2A fail=read\n"
    "item 0x11000013 number min=0 step=1 count=5 value=3 fail=write\n"
    // Listed in another group than its id says.
    "group 0x0E\n"
    "item 0x0E0A0017 number min=0 step=1 count=101 value=65\n"
    "item 0x0F000001 number min=0 step=1 count=2\n"
    "group 0x12 fail=read\n"
    "item 0x12000001 number min=0 step=1 count=2\n";

struct ExistsCase {
  const char* name;
  uint32_t id;
  bool exists;
};

const ExistsCase ExistsCases[] = {
    {"listed number item", 0x11060008, true},
    {"listed on/off item", 0x11070010, true},
    {"unreadable value still exists", 0x11000012, true},
    {"refused descriptor", 0x11070011, false},
    {"same element, other kind", 0x11000008, false},
    {"absent from its group", 0x11070019, false},
    {"listed only in another group", 0x0F000001, false},
    {"group the library refuses", 0x12000001, false},
    {"group the board lacks", 0x13000001, false},
};

TEST(ItemExists, OnlyAnItemItsGroupListsWithThatId) {
  zrtest::TestBoard board(ItemBoard);
  for (const ExistsCase& c : ExistsCases) EXPECT_EQ(plinth::ItemExists(c.id), c.exists) << c.name;
}

struct ReadCase {
  const char* name;
  uint32_t id;
  bool reads;
  uint32_t value;  // what `out` holds afterwards; it starts as UntouchedOut
};

constexpr uint32_t UntouchedOut = 0xDEADBEEF;

const ReadCase ReadCases[] = {
    {"number item", 0x11060008, true, 4},
    {"on/off item", 0x11070010, true, 0},
    {"refused read leaves out untouched", 0x11000012, false, UntouchedOut},
    {"unknown id", 0x11000099, false, UntouchedOut},
};

TEST(ReadItemValue, ValueOrNothing) {
  zrtest::TestBoard board(ItemBoard);
  for (const ReadCase& c : ReadCases) {
    uint32_t out = UntouchedOut;
    EXPECT_EQ(plinth::ReadItemValue(c.id, out), c.reads) << c.name;
    EXPECT_EQ(out, c.value) << c.name;
  }
}

TEST(WriteItemValue, WrittenValueIsKeptByTheFirmware) {
  zrtest::TestBoard board(ItemBoard);
  AcpiOpen();
  EXPECT_TRUE(plinth::WriteItemValue(0x11060008, 0));
  uint32_t value = UntouchedOut;
  EXPECT_TRUE(plinth::ReadItemValue(0x11060008, value));
  EXPECT_EQ(value, 0u);
  EXPECT_NE(board.Text().find("item 0x11060008 number min=0 step=1 count=5 value=0\n"), std::string::npos);
}

TEST(WriteItemValue, RefusedWriteKeepsTheValue) {
  zrtest::TestBoard board(ItemBoard);
  EXPECT_FALSE(plinth::WriteItemValue(0x11000013, 1));
  EXPECT_FALSE(plinth::WriteItemValue(0x11000099, 1));
  uint32_t value = UntouchedOut;
  EXPECT_TRUE(plinth::ReadItemValue(0x11000013, value));
  EXPECT_EQ(value, 3u);
}

TEST(SingleItems, BrokenBoardFailsEverything) {
  zrtest::TestBoard board("group 0x11\nitem 0x11060008 number min=0 stpe=1 count=5 value=4\n");
  uint32_t value = UntouchedOut;
  EXPECT_FALSE(plinth::ReadItemValue(0x11060008, value));
  EXPECT_EQ(value, UntouchedOut);
  EXPECT_FALSE(plinth::WriteItemValue(0x11060008, 0));
  EXPECT_FALSE(plinth::ItemExists(0x11060008));
}

}  // namespace
