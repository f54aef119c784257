// The delivered texts as the program gets them under each system language (ctest
// runs this program once per locale): the index chooses the language's own file,
// that file holds every text, and every text fits where it is shown.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "data/tests/ShippedLanguages.h"
#include "plinth/tests/LangLayout.h"
#include "plinth/tests/SystemLocale.h"

namespace {

using data::test::Shown;

struct Case {
  const char* locale;
  const char* language;
};
const Case kCases[] = {
    {"en_US", "English"}, {"de_DE", "German"},   {"fr_FR", "French"},
    {"es_ES", "Spanish"}, {"ja_JP", "Japanese"}, {"zh_CN", "ChineseSimplified"},
};

// The wide text of bytes in the ANSI code page; false when they are not valid there.
bool DecodesInAnsiCodePage(const std::string& bytes, std::wstring& text) {
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length <= 0) return false;
  text.assign(length, L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length);
  return true;
}

TEST(LangTextsTest, EveryTextOfTheSystemLanguageFits) {
  const plinth::test::SystemLocale* locale = plinth::test::CurrentSystemLocale();
  ASSERT_NE(locale, nullptr) << plinth::test::SystemLocaleProblem();
  const Case* match = plinth::test::CaseForLocale(*locale, kCases);
  ASSERT_NE(match, nullptr) << "no case for " << locale->name;

  // Without the English file, a text missing from the chosen file reads "Error 737".
  plinth::test::LangLayout layout;
  layout.CopyTreeIn(data::test::DistLangFiles(), "LangFiles");
  if (std::string(match->language) != "English") layout.Remove("LangFiles\\English");
  plinth::test::LangLayout::Session probe = layout.StartProbe();
  ASSERT_TRUE(probe.IsRunning());

  for (const auto& key : data::test::kTextKeys) {
    const std::string where = std::string(match->language) + ": " + key.key;
    const std::optional<std::string> text = probe.Lookup(key.key);
    ASSERT_TRUE(text.has_value()) << where;
    EXPECT_NE(*text, "Error 737") << where;
    EXPECT_FALSE(text->empty()) << where;
    std::wstring wide;
    EXPECT_TRUE(DecodesInAnsiCodePage(*text, wide)) << where;
    if (key.shown == Shown::MessageBox) continue;
    // Overlay texts go into the movie's request as they are: no XML markup.
    EXPECT_EQ(wide.find_first_of(L"<>&"), std::wstring::npos) << where;
    switch (key.shown) {
      case Shown::FrequencyLabel: {
        char label[512];
        const int length = std::snprintf(label, sizeof label, "%s %dMHz", text->c_str(), 9999);
        EXPECT_LE(static_cast<std::size_t>(length), data::test::kMaxLabel) << where << " with a four-digit frequency";
        break;
      }
      case Shown::Label:
        EXPECT_LE(text->size(), data::test::kMaxLabel) << where;
        break;
      case Shown::Content:
        EXPECT_LE(text->size(), data::test::kMaxContent) << where;
        break;
      case Shown::MessageBox:
        break;
    }
  }
}

}  // namespace
