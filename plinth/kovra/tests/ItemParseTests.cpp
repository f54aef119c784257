// Item descriptors that parse and descriptors that don't, made with the board's raw
// form, which gives the elements exactly as written.
#include "oc/AcpiLibrary.h"
#include "plinth/kovra/Source/BiosInterface.h"
#include "plinth/kovra/tests/TestBoard.h"
#include "tests/support/MessageBoxWatcher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

enum class ItemClass { Number, String, OnOff };

struct ParseCase {
  const char* name;
  uint32_t id;
  const char* descriptor;  // the board's item line after the id
  ItemClass itemClass;
  bool parses;
  uint32_t indexCount;
  uint32_t loadedId;
};

const ParseCase ParseCases[] = {
    {"number of exactly seven elements", 0x21000001,
     "raw u32=0x21000001 u32=0 u32=0 u32=0 u32=10000 u32=1 u32=5", ItemClass::Number, true, 5, 0x21000001},
    {"number with extra strings", 0x21000002, "number min=10000 step=1 count=5 extra=\"Auto\" extra=\"Off\"",
     ItemClass::Number, true, 7, 0x21000002},
    {"number with an extra count but no strings", 0x21000003,
     "raw u32=0x21000003 u32=0 u32=0 u32=0 u32=10000 u32=1 u32=5 u32=1", ItemClass::Number, false, 5,
     0x21000003},
    {"number with an extra count of zero", 0x21000004,
     "raw u32=0x21000004 u32=0 u32=0 u32=0 u32=10000 u32=1 u32=5 u32=0 text=\"Auto\"", ItemClass::Number, false,
     5, 0x21000004},
    {"number with fewer extra strings than counted", 0x21000005,
     "raw u32=0x21000005 u32=0 u32=0 u32=0 u32=10000 u32=1 u32=5 u32=2 text=\"Auto\"", ItemClass::Number, false,
     5, 0x21000005},
    {"number one element short", 0x21000006, "raw u32=0x21000006 u32=0 u32=0 u32=0 u32=10000 u32=1",
     ItemClass::Number, false, 0, 0x21000006},
    {"string item", 0x21080007, "string text=\"Gaming\" text=\"Balanced\" text=\"Silent\"", ItemClass::String, true,
     3, 0x21080007},
    {"string item counting no strings", 0x21080008, "string", ItemClass::String, false, 0, 0x21080008},
    {"string item counting zero strings before a string", 0x2108000E,
     "raw u32=0x2108000E u32=0 u32=0 u32=0 u32=0 text=\"x\"", ItemClass::String, false, 0, 0x2108000E},
    {"string item with fewer strings than counted", 0x21080009,
     "raw u32=0x21080009 u32=0 u32=0 u32=0 u32=3 text=\"a\" text=\"b\"", ItemClass::String, false, 0, 0x21080009},
    {"string item without its first string", 0x2108000A, "raw u32=0x2108000A u32=0 u32=0 u32=0 u32=1",
     ItemClass::String, false, 0, 0x2108000A},
    {"on/off item", 0x2107000B, "onoff info=3", ItemClass::OnOff, true, 0, 0x2107000B},
    {"on/off item without its info word", 0x2107000C, "raw u32=0x2107000C u32=0 u32=0", ItemClass::OnOff, false, 0,
     0x2107000C},
    {"two elements only", 0x2100000D, "raw u32=0x2100000D u32=0", ItemClass::Number, false, 0, 0},
};

const ParseCase& CaseNamed(const std::string& name) {
  for (const ParseCase& c : ParseCases) {
    if (name == c.name) return c;
  }
  throw std::logic_error("no parse case " + name);
}

std::string BoardOf(const ParseCase* cases, size_t count) {
  std::ostringstream text;
  text << "group 0x21\n";
  for (size_t i = 0; i < count; ++i) text << "item 0x" << std::hex << cases[i].id << " " << cases[i].descriptor << "\n";
  return text.str();
}

// The descriptor the library gives for the item `id`, as bytes.
std::vector<uint8_t> DescriptorOf(uint32_t id) {
  plinth::GroupInfoTraverser group(plinth::ItemGroup(id));
  std::vector<uint8_t> buffer(AcpiBufferSize);
  for (; !group.IsDone(); group.Next()) {
    uint32_t size = AcpiBufferSize;
    if (AcpiReadItemInfo(group.CurrentData(), buffer.data(), &size) == 0) continue;
    uint32_t first = 0;
    std::memcpy(&first, AcpiElementData(AcpiFirstElement(buffer.data())), sizeof first);
    if (first == id) return std::vector<uint8_t>(buffer.begin(), buffer.begin() + size);
  }
  ADD_FAILURE() << "no descriptor for " << std::hex << id;
  return {};
}

std::unique_ptr<plinth::BiosItem> NewItem(ItemClass itemClass) {
  switch (itemClass) {
    case ItemClass::String:
      return std::make_unique<plinth::BiosStringItem>();
    case ItemClass::OnOff:
      return std::make_unique<plinth::BiosBooleanItem>();
    case ItemClass::Number:
      break;
  }
  return std::make_unique<plinth::BiosNumberItem>();
}

bool IsOfClass(const plinth::BiosItem& item, ItemClass itemClass) {
  switch (itemClass) {
    case ItemClass::String:
      return dynamic_cast<const plinth::BiosStringItem*>(&item) != nullptr;
    case ItemClass::OnOff:
      return dynamic_cast<const plinth::BiosBooleanItem*>(&item) != nullptr;
    case ItemClass::Number:
      break;
  }
  return dynamic_cast<const plinth::BiosNumberItem*>(&item) != nullptr;
}

TEST(ItemParse, LoadTellsWhetherTheDescriptorParsesAndKeepsWhatWasRead) {
  zrtest::TestBoard board(BoardOf(ParseCases, std::size(ParseCases)));
  for (const ParseCase& c : ParseCases) {
    const std::vector<uint8_t> descriptor = DescriptorOf(c.id);
    std::unique_ptr<plinth::BiosItem> item = NewItem(c.itemClass);
    EXPECT_EQ(item->Load(descriptor.data(), static_cast<uint32_t>(descriptor.size())), c.parses) << c.name;
    EXPECT_EQ(item->IndexCount(), c.indexCount) << c.name;
    EXPECT_EQ(item->Id(), c.loadedId) << c.name;
  }
}

TEST(ItemParse, WalkCreatesTheItemOfEachKindWhetherOrNotItParses) {
  zrtest::TestBoard board(BoardOf(ParseCases, std::size(ParseCases)));
  plinth::ItemInfoTraverser walk;
  ASSERT_TRUE(walk.Open(0x21));
  for (const ParseCase& c : ParseCases) {
    ASSERT_FALSE(walk.IsDone()) << c.name;
    EXPECT_EQ(walk.CurrentId(), c.id) << c.name;
    const std::unique_ptr<plinth::BiosItem> item = walk.CreateItem();
    EXPECT_TRUE(IsOfClass(*item, c.itemClass)) << c.name;
    EXPECT_EQ(item->IndexCount(), c.indexCount) << c.name;
    walk.Next();
  }
  EXPECT_TRUE(walk.IsDone());
}

TEST(ItemParse, NumberWithoutItsExtraStringsConvertsEveryIndexAsANumber) {
  const ParseCase* shortOfStrings = &CaseNamed("number with fewer extra strings than counted");
  zrtest::TestBoard board(BoardOf(shortOfStrings, 1));
  const std::vector<uint8_t> descriptor = DescriptorOf(shortOfStrings->id);
  plinth::BiosNumberItem item;
  EXPECT_FALSE(item.Load(descriptor.data(), static_cast<uint32_t>(descriptor.size())));
  zrtest::MessageBoxWatcher boxes;
  EXPECT_EQ(item.IndexToString(0), "10000");
  EXPECT_EQ(item.IndexToValue(1), 10001.0L);
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST(ItemParse, StringItemThatDidNotParseOffersNoStrings) {
  const ParseCase* shortOfStrings = &CaseNamed("string item with fewer strings than counted");
  zrtest::TestBoard board(BoardOf(shortOfStrings, 1));
  plinth::ItemInfoTraverser walk;
  ASSERT_TRUE(walk.Open(0x21));
  const std::unique_ptr<plinth::BiosItem> item = walk.CreateItem();
  // A caller that walks IndexCount asks for nothing that is not there.
  std::vector<std::string> names;
  for (uint32_t i = 0; i < item->IndexCount(); ++i) names.push_back(item->IndexToString(i));
  EXPECT_TRUE(names.empty());
}

struct InfoWordCase {
  const char* name;
  uint32_t id;
  const char* descriptor;
  uint32_t infoWord;
  bool subkind8;
};

const InfoWordCase InfoWordCases[] = {
    {"number", 0x22010001, "number info=0x1234 min=1 step=1 count=2", 0x1234, false},
    {"string", 0x22080002, "string info=7 text=\"x\"", 7, false},
    {"on/off of sub-kind 8", 0x22870003, "onoff info=0xFFFFFFFF", 0xFFFFFFFF, true},
    {"sub-kind 8 of a number", 0x22810004, "number info=1 min=1 step=1 count=2", 1, true},
    {"descriptor without element 3", 0x22070005, "raw u32=0x22070005 u32=0 u32=0", 0, false},
};

TEST(ItemParse, InfoWordIsElementThreeAndSubkindIsBitsTwentyToTwentyThree) {
  std::ostringstream text;
  text << "group 0x22\n";
  for (const InfoWordCase& c : InfoWordCases) text << "item 0x" << std::hex << c.id << " " << c.descriptor << "\n";
  zrtest::TestBoard board(text.str());
  plinth::ItemInfoTraverser walk;
  ASSERT_TRUE(walk.Open(0x22));
  for (const InfoWordCase& c : InfoWordCases) {
    ASSERT_FALSE(walk.IsDone()) << c.name;
    const std::unique_ptr<plinth::BiosItem> item = walk.CreateItem();
    EXPECT_EQ(item->InfoWord(), c.infoWord) << c.name;
    EXPECT_EQ(item->IsSubkind8(), c.subkind8) << c.name;
    walk.Next();
  }
}

}  // namespace
