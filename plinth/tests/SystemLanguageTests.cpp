// Run once per system language: ctest starts this program under each locale of
// the table (the Windows system language follows the locale of the wine process,
// and is fixed when the process starts).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "plinth/tests/LangLayout.h"
#include "plinth/tests/SystemLocale.h"

namespace {

using plinth::test::LangLayout;

// Index and files as an installation could have them: French under its full id,
// German under its primary id only, Japanese named without a folder, Chinese under
// its full id with its text in code page 936, nothing for Spanish.
void WriteInstallation(const LangLayout& layout) {
  layout.WriteIndex({{"0409", "English"}, {"040C", "French"}, {"07", "German"}, {"0411", "Japanese"},
                     {"0804", "Chinese"}});
  layout.WriteLanguage("English", {{"Warning", "Warning"}, {"OnlyEnglish", "only in English"}});
  layout.WriteLanguage("French", {{"Warning", "Attention"}});
  layout.WriteLanguage("German", {{"Warning", "Warnung"}});
  layout.WriteLanguage("Chinese", {{"Warning", "\xBE\xAF\xB8\xE6"}});  // 警告 in code page 936
}

struct Case {
  const char* locale;
  const char* warning;  // the text for "Warning" under that system language
};
const Case kCases[] = {
    {"en_US", "Warning"},
    {"fr_FR", "Attention"},              // four-digit id 040C
    {"de_DE", "Warnung"},                // 0407 missing: primary id 07
    {"ja_JP", "Warning"},                // 0411 names a language without a folder
    {"zh_CN", "\xBE\xAF\xB8\xE6"},       // bytes in the ANSI code page come through unchanged
    {"es_ES", "Warning"},                // neither 0C0A nor 0A: English
};

TEST(SystemLanguageTest, LanguageChosenByTheSystemLanguage) {
  const plinth::test::SystemLocale* locale = plinth::test::CurrentSystemLocale();
  ASSERT_NE(locale, nullptr) << plinth::test::SystemLocaleProblem();
  const Case* match = plinth::test::CaseForLocale(*locale, kCases);
  ASSERT_NE(match, nullptr) << "no case for " << locale->name;

  LangLayout layout;
  WriteInstallation(layout);
  LangLayout::Session probe = layout.StartProbe();
  ASSERT_TRUE(probe.IsRunning());
  EXPECT_EQ(probe.Lookup("Warning"), match->warning) << locale->name;
  EXPECT_EQ(probe.Lookup("OnlyEnglish"), "only in English") << locale->name;
  EXPECT_EQ(probe.Lookup("Nowhere"), "Error 737") << locale->name;
}

}  // namespace
