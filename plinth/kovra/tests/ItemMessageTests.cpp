// The message boxes items show for conversions they can't make, with their captions
// and texts, answered by a watcher instead of a person.
#include "plinth/kovra/Source/BiosInterface.h"
#include "plinth/kovra/tests/TestBoard.h"
#include "tests/support/MessageBoxWatcher.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using zrtest::MessageBoxRecord;

// Ids with letters and a leading zero digit, to see them in lower-case hexadecimal
// without leading zeros.
constexpr const char* MessageBoard =
    "group 0x0A\n"
    "item 0x0A0100AB number min=10000 step=1 count=5 extra=\"Auto\"\n"
    "item 0x0A0800BC string text=\"Gaming\" text=\"Silent\"\n"
    "item 0x0A0700CD onoff info=1\n";
constexpr uint32_t NumberId = 0x0A0100AB;
constexpr uint32_t StringId = 0x0A0800BC;
constexpr uint32_t OnOffId = 0x0A0700CD;

enum class Conversion { Value, Rational, Text };

struct MessageCase {
  const char* name;
  uint32_t id;
  Conversion conversion;
  uint32_t index;
  std::vector<MessageBoxRecord> boxes;
  // The conversion's result: the value, "numerator/denominator", or the quoted text.
  const char* result;
};

const MessageBoxRecord ExtraToValue{"IndexToValue Fail", "Can not convert extra string to value"};
const MessageBoxRecord ExtraToRational{"IndexToRational Fail", "Can not convert extra string to value"};

const MessageCase MessageCases[] = {
    // After the message the number conversion goes on with the position before the
    // first value: minimum - step.
    {"value of an extra string", NumberId, Conversion::Value, 0, {ExtraToValue}, "99.99"},
    {"rational of an extra string", NumberId, Conversion::Rational, 0, {ExtraToRational}, "9999/100"},
    {"text of an extra string", NumberId, Conversion::Text, 0, {}, "\"Auto\""},
    {"value of a number", NumberId, Conversion::Value, 2, {}, "100.01"},
    {"value of a string item", StringId, Conversion::Value, 0,
     {{"BiosItem", "Item[a0800bc] does not supports IndexToValue"}}, "0"},
    {"rational of a string item", StringId, Conversion::Rational, 0,
     {{"BiosItem", "Item[a0800bc] does not supports IndexToRational"}}, "-7/-7"},
    {"text of a string item", StringId, Conversion::Text, 1, {}, "\"Silent\""},
    {"value of an on/off item", OnOffId, Conversion::Value, 1,
     {{"BiosItem", "Item[a0700cd] does not supports IndexToValue"}}, "0"},
    {"rational of an on/off item", OnOffId, Conversion::Rational, 1,
     {{"BiosItem", "Item[a0700cd] does not supports IndexToRational"}}, "-7/-7"},
    {"text of an on/off item", OnOffId, Conversion::Text, 1,
     {{"BiosItem", "Item[a0700cd] does not supports IndexToString"}}, "\"\""},
};

std::string Convert(const plinth::BiosItem& item, Conversion conversion, uint32_t index) {
  std::ostringstream result;
  switch (conversion) {
    case Conversion::Value:
      result << static_cast<double>(item.IndexToValue(index));
      break;
    case Conversion::Rational: {
      int32_t numerator = -7;
      int32_t denominator = -7;
      item.IndexToRational(index, numerator, denominator);
      result << numerator << "/" << denominator;
      break;
    }
    case Conversion::Text:
      result << "\"" << item.IndexToString(index) << "\"";
      break;
  }
  return result.str();
}

TEST(ItemMessages, UnsupportedConversionsShowTheirMessageAndGiveNoResult) {
  zrtest::TestBoard board(MessageBoard);
  std::map<uint32_t, std::unique_ptr<plinth::BiosItem>> items;
  plinth::ItemInfoTraverser walk;
  ASSERT_TRUE(walk.Open(0x0A));
  for (; !walk.IsDone(); walk.Next()) items[walk.CurrentId()] = walk.CreateItem();
  ASSERT_EQ(items.size(), 3u);

  zrtest::MessageBoxWatcher watcher;
  for (const MessageCase& c : MessageCases) {
    watcher.Clear();
    EXPECT_EQ(Convert(*items.at(c.id), c.conversion, c.index), c.result) << c.name;
    EXPECT_EQ(watcher.Seen(), c.boxes) << c.name;
  }
}

TEST(ItemMessages, LookupsOnARefusedGroupShowNothing) {
  zrtest::TestBoard board("group 0x0C fail=read\nitem 0x0C000001 number min=0 step=1 count=2\n");
  zrtest::MessageBoxWatcher watcher;
  EXPECT_FALSE(plinth::ItemExists(0x0C000001));
  plinth::ItemInfoTraverser walk;
  EXPECT_FALSE(walk.Open(0x0C));
  EXPECT_TRUE(watcher.Seen().empty());
}

}  // namespace
