#include "plinth/tests/SystemLocale.h"

#include <cstdio>

namespace plinth::test {

namespace {

constexpr SystemLocale kLocales[] = {
    {"en_US", 0x0409, 1252}, {"de_DE", 0x0407, 1252}, {"fr_FR", 0x040C, 1252},
    {"es_ES", 0x0C0A, 1252}, {"ja_JP", 0x0411, 932},  {"zh_CN", 0x0804, 936},
};

std::string LangVariable() {
  char value[128] = {};
  const DWORD length = GetEnvironmentVariableA("LANG", value, sizeof value);
  return length < sizeof value ? std::string(value, length) : std::string();
}

const SystemLocale* NamedLocale() {
  const std::string lang = LangVariable();
  for (const SystemLocale& locale : kLocales) {
    if (lang.rfind(locale.name, 0) == 0) return &locale;
  }
  return nullptr;
}

}  // namespace

const SystemLocale* CurrentSystemLocale() {
  const SystemLocale* locale = NamedLocale();
  if (locale == nullptr || GetSystemDefaultLangID() != locale->language || GetACP() != locale->codePage) return nullptr;
  return locale;
}

std::string SystemLocaleProblem() {
  char text[256];
  if (NamedLocale() == nullptr) {
    std::snprintf(text, sizeof text, "LANG=\"%s\" names none of the test locales", LangVariable().c_str());
  } else {
    std::snprintf(text, sizeof text,
                  "LANG=\"%s\" but the system language is %04X with code page %u: is the locale installed "
                  "(locale -a; localedef -i <name> -f UTF-8 <name>.UTF-8)?",
                  LangVariable().c_str(), GetSystemDefaultLangID(), GetACP());
  }
  return text;
}

}  // namespace plinth::test
