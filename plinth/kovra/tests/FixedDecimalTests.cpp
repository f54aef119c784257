#include "plinth/kovra/Source/FixedDecimal.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct FixedCase {
  const char* name;
  int64_t mantissa;
  int exponent;
  int decimals;
  const char* digits;
  int point;
  bool negative;
  const char* text;
};

// The shapes fcvt gives: digits without leading zeros, the point's position (zero or
// negative below one), the sign apart; zeros and negative values included.
const FixedCase FixedCases[] = {
    {"hundred with two decimals", 10000, -2, 2, "10000", 3, false, "100.00"},
    {"hundredths", 10002, -2, 2, "10002", 3, false, "100.02"},
    {"whole number, no decimals", 101, 0, 0, "101", 3, false, "101"},
    {"tiny value below one", 5, -4, 4, "5", -3, false, "0.0005"},
    {"tenth of a thousandth", 10, -4, 4, "10", -2, false, "0.0010"},
    {"one with one decimal", 10, -1, 1, "10", 1, false, "1.0"},
    {"negative whole number", -5, 0, 0, "5", 1, true, "-5"},
    {"positive exponent", 5, 1, 1, "500", 2, false, "50.0"},
    {"zero with decimals", 0, -2, 2, "00", 0, false, "0.00"},
    {"zero without decimals", 0, 0, 0, "", 0, false, "0"},
    {"zero at a large exponent", 0, 30, 1, "0", 0, false, "0.0"},
    {"negative below one", -5, -1, 1, "5", 0, true, "-0.5"},
    {"negative with decimals", -8388608, -3, 3, "8388608", 4, true, "-8388.608"},
    {"half rounds away from zero", 5, -1, 0, "1", 1, false, "1"},
    {"negative half rounds away from zero", -25, -1, 0, "3", 1, true, "-3"},
    {"below half rounds down", 4, -1, 0, "", 0, false, "0"},
    {"carry through nines", 99995, -4, 3, "10000", 2, false, "10.000"},
    {"carry to a new digit", 9995, -1, 0, "1000", 4, false, "1000"},
    {"rounds to zero: no minus sign", -4, -3, 2, "00", 0, false, "0.00"},
    {"rounds up from far below", 5, -3, 2, "1", -1, false, "0.01"},
    {"far below the last decimal", 9, -6, 2, "00", 0, false, "0.00"},
    {"more decimals than the value has", 123, -1, 4, "123000", 2, false, "12.3000"},
    {"large positive exponent", 1, 20, 0, "100000000000000000000", 21, false, "100000000000000000000"},
    {"most negative mantissa", std::numeric_limits<int64_t>::min(), 0, 0, "9223372036854775808", 19, true,
     "-9223372036854775808"},
    {"many decimals", 123, -12, 12, "123", -9, false, "0.000000000123"},
};

TEST(FixedDecimal, DigitsPointAndSignAsFcvtGivesThem) {
  for (const FixedCase& c : FixedCases) {
    const plinth::FixedDigits fixed = plinth::ToFixedDigits(c.mantissa, c.exponent, c.decimals);
    EXPECT_EQ(fixed.digits, c.digits) << c.name;
    EXPECT_EQ(fixed.point, c.point) << c.name;
    EXPECT_EQ(fixed.negative, c.negative) << c.name;
    EXPECT_EQ(plinth::FormatFixedDigits(fixed, c.decimals), c.text) << c.name;
  }
}

}  // namespace
