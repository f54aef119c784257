#include "plinth/kovra/Source/FixedDecimal.h"

#include "formkit/Assert.h"

namespace plinth {

namespace {

// Adds one unit to the last digit of a decimal digit string, carrying leftwards.
void IncrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

}  // namespace

FixedDigits ToFixedDigits(int64_t mantissa, int exponent, int decimals) {
  ZR_ASSERT(decimals >= 0);
  FixedDigits fixed;
  // The magnitude as digits; unsigned so that the most negative mantissa has one.
  const uint64_t magnitude = mantissa < 0 ? 0 - static_cast<uint64_t>(mantissa) : static_cast<uint64_t>(mantissa);
  std::string units = std::to_string(magnitude);

  // `units` counts 10^exponent; make it count 10^-decimals.
  const int shift = exponent + decimals;
  if (shift >= 0) {
    if (magnitude != 0) units.append(static_cast<size_t>(shift), '0');
  } else {
    const size_t dropped = static_cast<size_t>(-shift);
    bool roundUp = false;
    if (dropped >= units.size()) {
      // Every digit lies below the last decimal kept; only a leading digit exactly
      // at the first dropped place can round up.
      roundUp = dropped == units.size() && units.front() >= '5';
      units = "0";
    } else {
      roundUp = units[units.size() - dropped] >= '5';
      units.resize(units.size() - dropped);
    }
    if (roundUp) IncrementDigits(units);
  }

  const size_t firstNonZero = units.find_first_not_of('0');
  if (firstNonZero == std::string::npos) {
    fixed.digits.assign(static_cast<size_t>(decimals), '0');
    fixed.point = 0;
    fixed.negative = false;
    return fixed;
  }
  fixed.digits = units.substr(firstNonZero);
  fixed.point = static_cast<int>(fixed.digits.size()) - decimals;
  fixed.negative = mantissa < 0;
  return fixed;
}

std::string FormatFixedDigits(const FixedDigits& fixed, int decimals) {
  std::string text = fixed.digits;
  if (fixed.point <= 0) {
    // 0.000ddd: zeros for the integer place and for the decimals before the digits.
    text.insert(0, static_cast<size_t>(1 - fixed.point), '0');
    if (decimals > 0) text.insert(1, ".");
  } else if (text.size() > static_cast<size_t>(fixed.point)) {
    text.insert(static_cast<size_t>(fixed.point), ".");
  }
  if (fixed.negative) text.insert(0, "-");
  return text;
}

}  // namespace plinth
