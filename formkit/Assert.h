// Assertions that stay active in the released program. A failed one shows its
// expression, source file and line in a message box and ends the process
// abnormally (exit code 3), so a programming error never runs on silently.
#pragma once

namespace formkit {
[[noreturn]] void AssertionFailed(const char* expression, const char* file, int line);
}

#define ZR_ASSERT(expression) \
  ((expression) ? static_cast<void>(0) : ::formkit::AssertionFailed(#expression, __FILE__, __LINE__))
