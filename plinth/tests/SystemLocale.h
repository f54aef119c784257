// The system language a test program was started under. ctest starts the
// language tests once per locale, with LANG (and LC_ALL) set to it.
#pragma once

#include <windows.h>

#include <cstddef>
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

// The case of a table (each with a `locale` name) that stands for this process's
// locale; null when none does.
template <class Case, size_t N>
const Case* CaseForLocale(const SystemLocale& locale, const Case (&cases)[N]) {
  for (const Case& c : cases) {
    if (std::string(locale.name) == c.locale) return &c;
  }
  return nullptr;
}

}  // namespace plinth::test
