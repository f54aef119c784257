// Number items' conversions of a value index into a value, a rational and a text,
// on items the simulated firmware describes from a board file written here.
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

constexpr uint32_t NumberGroup = 0x20;

struct NumberItemShape {
  uint32_t kind;  // bits 16-19 of the id: 1, 2, 3 and 12 are units with decimals
  int minimum;
  int exponent;
  int step;
  uint32_t count;
  std::vector<std::string> extras;
};

// The rational a conversion leaves in outputs that start out as these.
constexpr int32_t Untouched = -7;

struct ConversionCase {
  const char* name;
  NumberItemShape shape;
  uint32_t index;
  const char* text;
  long double value;
  int32_t numerator;
  int32_t denominator;
};

const ConversionCase ConversionCases[] = {
    // Kind 1 counts hundredths; the extra string "Auto" takes index 0.
    {"hundredths, first value", {1, 10000, 0, 1, 5, {"Auto"}}, 1, "100.00", 100.0L, 10000, 100},
    {"hundredths, third value", {1, 10000, 0, 1, 5, {"Auto"}}, 3, "100.02", 100.02L, 10002, 100},
    {"hundredths, past the last value", {1, 10000, 0, 1, 5, {"Auto"}}, 6, "100.05", 100.05L, 10005, 100},
    {"common trailing zeros drop the decimals", {1, 10000, 0, 100, 401, {}}, 1, "101", 101.0L, 10100, 100},
    {"kind 3, ten-thousandths", {3, 5, 0, 5, 10, {}}, 0, "0.0005", 0.0005L, 5, 10000},
    {"kind 3, trailing zero kept", {3, 5, 0, 5, 10, {}}, 1, "0.0010", 0.001L, 10, 10000},
    {"negative exponent", {0, 5, -1, 5, 10, {}}, 1, "1.0", 1.0L, 10, 10},
    {"negative minimum", {0, -5, 0, 1, 10, {}}, 0, "-5", -5.0L, -5, 1},
    {"positive exponent adds a decimal", {0, 5, 1, 1, 10, {}}, 0, "50.0", 50.0L, 50, 1},
    {"kind 2, thousandths", {2, 1250, 0, 5, 10, {}}, 2, "1.260", 1.26L, 1260, 1000},
    {"kind 12, thousandths", {12, 1, 0, 1, 10, {}}, 0, "0.001", 0.001L, 1, 1000},
    // Zero, negative and large minimum and step values.
    {"zero minimum and step", {0, 0, 0, 0, 3, {}}, 2, "0", 0.0L, 0, 1},
    {"zero minimum in hundredths", {1, 0, 0, 25, 9, {}}, 0, "0.00", 0.0L, 0, 100},
    {"zero minimum, later value", {1, 0, 0, 25, 9, {}}, 4, "1.00", 1.0L, 100, 100},
    {"negative step", {1, 10000, 0, -100, 9, {}}, 3, "97", 97.0L, 9700, 100},
    {"negative step crosses zero", {0, 150, -2, -100, 9, {}}, 2, "-0.5", -0.5L, -50, 100},
    {"negative minimum and step", {1, -100, 0, -100, 9, {}}, 2, "-3", -3.0L, -300, 100},
    {"most negative minimum", {2, -8388608, 0, 1, 9, {}}, 0, "-8388.608", -8388.608L, -8388608, 1000},
    {"largest minimum and step", {0, 8388607, 0, 8388607, 9, {}}, 1, "16777214", 16777214.0L, 16777214, 1},
    // Beyond 32 bits: exact text and value; no rational that 32 bits can't hold.
    {"value beyond 32 bits", {12, 8388607, 0, 8388607, 9, {}}, 1000, "8396995.607", 8396995.607L, Untouched,
     Untouched},
    {"large positive exponent", {0, 3, 12, 1, 9, {}}, 0, "3000000000000.000000000000", 3e12L, Untouched,
     Untouched},
    {"denominator beyond 32 bits", {0, 123, -12, 1, 9, {}}, 0, "0.000000000123", 1.23e-10L, Untouched, Untouched},
    {"common tens make it fit", {0, 1000, -12, 1000, 9, {}}, 0, "0.000000001", 1e-9L, 1, 1000000000},
    // An index below zero after the extra strings (a step down from the first value).
    {"index wraps below the first value", {1, 10000, 0, 100, 401, {}}, 0xFFFFFFFFu, "99", 99.0L, 9900, 100},
    {"two extra strings, first value", {1, 10000, 0, 100, 401, {"Auto", "Off"}}, 2, "100", 100.0L, 10000, 100},
};

// Extra strings convert to their text, and nothing else is asked of them here.
struct ExtraTextCase {
  const char* name;
  NumberItemShape shape;
  uint32_t index;
  const char* text;
};

const ExtraTextCase ExtraTextCases[] = {
    {"the only extra string", {1, 10000, 0, 1, 5, {"Auto"}}, 0, "Auto"},
    {"second of two extra strings", {1, 10000, 0, 100, 401, {"Auto", "Off"}}, 1, "Off"},
    {"an empty extra string", {0, 1, 0, 1, 3, {""}}, 0, ""},
};

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// One board group holding an item of each shape; ids number them in order.
class NumberBoard {
 public:
  uint32_t Add(const NumberItemShape& shape) {
    const uint32_t id = (NumberGroup << 24) | (shape.kind << 16) | static_cast<uint32_t>(++m_count);
    m_lines << "item 0x" << std::hex << id << std::dec << " number min=" << shape.minimum
            << " exp=" << shape.exponent << " step=" << shape.step << " count=" << shape.count;
    for (const std::string& extra : shape.extras) m_lines << " extra=" << Quoted(extra);
    m_lines << "\n";
    return id;
  }
  std::string Text() const { return "group 0x20\n" + m_lines.str(); }

 private:
  int m_count = 0;
  std::ostringstream m_lines;
};

std::map<uint32_t, std::unique_ptr<plinth::BiosItem>> ItemsOfGroup(uint32_t group) {
  std::map<uint32_t, std::unique_ptr<plinth::BiosItem>> items;
  plinth::ItemInfoTraverser walk;
  EXPECT_TRUE(walk.Open(group));
  for (; !walk.IsDone(); walk.Next()) items[walk.CurrentId()] = walk.CreateItem();
  return items;
}

TEST(NumberConversion, ValueRationalAndTextOfEachIndex) {
  NumberBoard shapes;
  std::vector<uint32_t> ids;
  for (const ConversionCase& c : ConversionCases) ids.push_back(shapes.Add(c.shape));
  zrtest::TestBoard board(shapes.Text());
  zrtest::MessageBoxWatcher boxes;
  const auto items = ItemsOfGroup(NumberGroup);
  ASSERT_EQ(items.size(), ids.size());

  for (size_t i = 0; i < ids.size(); ++i) {
    const ConversionCase& c = ConversionCases[i];
    const plinth::BiosItem& item = *items.at(ids[i]);
    EXPECT_EQ(item.IndexToString(c.index), c.text) << c.name;
    EXPECT_EQ(item.IndexToValue(c.index), c.value) << c.name;
    int32_t numerator = Untouched;
    int32_t denominator = Untouched;
    item.IndexToRational(c.index, numerator, denominator);
    EXPECT_EQ(numerator, c.numerator) << c.name;
    EXPECT_EQ(denominator, c.denominator) << c.name;
  }
  EXPECT_TRUE(boxes.Seen().empty()) << "no conversion of a numeric index shows a message";
}

TEST(NumberConversion, ExtraStringsConvertToTheirText) {
  NumberBoard shapes;
  std::vector<uint32_t> ids;
  for (const ExtraTextCase& c : ExtraTextCases) ids.push_back(shapes.Add(c.shape));
  zrtest::TestBoard board(shapes.Text());
  zrtest::MessageBoxWatcher boxes;
  const auto items = ItemsOfGroup(NumberGroup);
  ASSERT_EQ(items.size(), ids.size());

  for (size_t i = 0; i < ids.size(); ++i) {
    const ExtraTextCase& c = ExtraTextCases[i];
    EXPECT_EQ(items.at(ids[i])->IndexToString(c.index), c.text) << c.name;
  }
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST(NumberConversion, IndexCountIsValuesPlusExtraStrings) {
  NumberBoard shapes;
  const uint32_t withExtra = shapes.Add({1, 10000, 0, 1, 5, {"Auto"}});
  const uint32_t withTwo = shapes.Add({1, 10000, 0, 100, 401, {"Auto", "Off"}});
  const uint32_t plain = shapes.Add({0, 0, 0, 1, 7, {}});
  zrtest::TestBoard board(shapes.Text());
  const auto items = ItemsOfGroup(NumberGroup);

  EXPECT_EQ(items.at(withExtra)->IndexCount(), 6u);
  EXPECT_EQ(items.at(withTwo)->IndexCount(), 403u);
  EXPECT_EQ(items.at(plain)->IndexCount(), 7u);
}

TEST(NumberConversion, ReadValueConvertsTheFirmwaresCurrentIndex) {
  zrtest::TestBoard board(
      "group 3\n"
      "item 0x03010011 number min=10000 step=100 count=401 extra=\"Auto\" value=121\n");
  const auto items = ItemsOfGroup(3);
  const plinth::BiosItem& frequency = *items.at(0x03010011);

  uint32_t index = 0;
  EXPECT_TRUE(frequency.ReadIndex(index));
  EXPECT_EQ(index, 121u);
  double value = 0;
  EXPECT_TRUE(frequency.ReadValue(value));
  EXPECT_EQ(value, 220.0);
}

}  // namespace
