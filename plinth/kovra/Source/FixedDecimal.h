// Decimal digits of an exact decimal number, rounded to a fixed count of decimals,
// in the shape the C library's fcvt gives them. Working on the exact decimal (an
// integer mantissa and a power of ten) keeps the figures shown to the user free of
// binary floating-point surprises and identical on every platform.
#pragma once

#include <cstdint>
#include <string>

namespace plinth {

struct FixedDigits {
  // The rounded value's digits without leading zeros: as many as lie before the
  // point (if any) followed by exactly the requested decimals. A value that rounds
  // to zero has one "0" per decimal.
  std::string digits;
  // How many of the digits stand before the decimal point; zero or negative when
  // the value is below one (-2 for 0.005 with four decimals: "50").
  int point = 0;
  // The value is below zero. Never set for a value that rounds to zero, so no
  // "-0.00" is ever shown.
  bool negative = false;
};

// mantissa × 10^exponent rounded to `decimals` decimals, halves away from zero.
FixedDigits ToFixedDigits(int64_t mantissa, int exponent, int decimals);

// The text of fixed digits with `decimals` decimals: "-" when negative, "0" before
// the point for values below one, and a point only when there are decimals.
std::string FormatFixedDigits(const FixedDigits& fixed, int decimals);

}  // namespace plinth
