// The system language a test program was started under. ctest starts the
// language tests once per locale, with LANG (and LC_ALL) set to it.
#pragma once

#include <windows.h>

#include <string>

namespace plinth::test {

struct SystemLocale {
  const char* name;  // as in LANG, without the ".UTF-8"
  LANGID language;
  UINT codePage;  // the ANSI code page that goes with it
};

// The locale named by LANG, when this process really runs under it; else nothing.
const SystemLocale* CurrentSystemLocale();
// Why CurrentSystemLocale() gave nothing.
std::string SystemLocaleProblem();

}  // namespace plinth::test
