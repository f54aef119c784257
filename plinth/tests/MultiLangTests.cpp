#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "plinth/System/Source/KvMultiLang.h"
#include "plinth/tests/LangLayout.h"

namespace {

using plinth::test::IniEntries;
using plinth::test::LangLayout;

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

// The index keys for the language this process runs under.
const std::string kFullId = Hex(GetSystemDefaultLangID(), 4);
const std::string kPrimaryId = Hex(PRIMARYLANGID(GetSystemDefaultLangID()), 2);

const IniEntries kEnglish = {{"Warning", "Warning (English)"},
                             {"OnlyEnglish", "only in English"},
                             {"Marked", "Marked (English)"},
                             {"Empty", "not empty in English"}};
const IniEntries kTest = {{"Warning", "Warning (Test)"}, {"Marked", "Error 737"}, {"Empty", ""}};
const IniEntries kOther = {{"Warning", "Warning (Other)"}};

void WriteLanguages(const LangLayout& layout) {
  layout.WriteLanguage("English", kEnglish);
  layout.WriteLanguage("Test", kTest);
  layout.WriteLanguage("Other", kOther);
}

TEST(MultiLangTest, LookupFallsBackInOrder) {
  struct Case {
    const char* name;
    std::optional<IniEntries> index;  // none: no index file
    bool languageFiles;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"four-digit id", IniEntries{{kFullId, "Test"}}, true, "Warning", "Warning (Test)"},
      {"primary id when the four-digit one is missing", IniEntries{{kPrimaryId, "Test"}}, true, "Warning",
       "Warning (Test)"},
      {"four-digit id before the primary one", IniEntries{{kFullId, "Test"}, {kPrimaryId, "Other"}}, true, "Warning",
       "Warning (Test)"},
      {"id not in the index", IniEntries{{kFullId == "7F7F" ? "7F7E" : "7F7F", "Test"}}, true, "Warning",
       "Warning (English)"},
      {"no index file", std::nullopt, true, "Warning", "Warning (English)"},
      {"language named without its folder", IniEntries{{kFullId, "Klingon"}}, true, "Warning", "Warning (English)"},
      {"English chosen", IniEntries{{kFullId, "English"}}, true, "Warning", "Warning (English)"},
      {"key only in the English file", IniEntries{{kFullId, "Test"}}, true, "OnlyEnglish", "only in English"},
      {"key in neither file", IniEntries{{kFullId, "Test"}}, true, "Nowhere", "Error 737"},
      {"language file saying Error 737", IniEntries{{kFullId, "Test"}}, true, "Marked", "Marked (English)"},
      {"empty text is a text", IniEntries{{kFullId, "Test"}}, true, "Empty", ""},
      {"no language files at all", std::nullopt, false, "Warning", "Error 737"},
  };
  for (const Case& c : cases) {
    LangLayout layout;
    if (c.index) layout.WriteIndex(*c.index);
    if (c.languageFiles) WriteLanguages(layout);
    LangLayout::Session probe = layout.StartProbe();
    ASSERT_TRUE(probe.IsRunning()) << c.name;
    EXPECT_EQ(probe.Lookup(c.key), c.expected) << c.name;
  }
}

TEST(MultiLangTest, FilesRewrittenBetweenLookupsCountAtTheNext) {
  LangLayout layout;
  layout.WriteIndex({{kFullId, "Test"}});
  WriteLanguages(layout);
  LangLayout::Session probe = layout.StartProbe();
  ASSERT_TRUE(probe.IsRunning());
  EXPECT_EQ(probe.Lookup("Warning"), "Warning (Test)");

  layout.WriteLanguage("Test", {{"Warning", "Rewritten"}});
  EXPECT_EQ(probe.Lookup("Warning"), "Rewritten") << "language file";

  layout.WriteIndex({{kFullId, "Other"}});
  EXPECT_EQ(probe.Lookup("Warning"), "Warning (Other)") << "index";

  layout.Remove("LangFiles\\Other");
  EXPECT_EQ(probe.Lookup("Warning"), "Warning (English)") << "language folder removed";

  layout.WriteLanguage("English", {{"Warning", "New English"}});
  EXPECT_EQ(probe.Lookup("Warning"), "New English") << "English file";
}

// The program's path is longer than the first buffer of 128 chars for its name.
TEST(MultiLangTest, ProgramInADeepFolder) {
  const std::string deep = std::string(40, 'd') + "\\" + std::string(40, 'e') + "\\" + std::string(40, 'f');
  LangLayout layout(deep);
  layout.WriteIndex({{kFullId, "Test"}});
  WriteLanguages(layout);
  LangLayout::Session probe = layout.StartProbe();
  ASSERT_TRUE(probe.IsRunning());
  EXPECT_EQ(probe.Lookup("Warning"), "Warning (Test)");
}

TEST(MultiLangTest, HexDigitsWritesExactlyCountDigits) {
  struct Case {
    unsigned value;
    int count;
    const char* digits;
  };
  const Case cases[] = {
      {0x0409, 4, "0409"}, {0x0C0A, 4, "0C0A"}, {0x0804, 2, "04"},
      {0xABCDEF, 4, "CDEF"}, {0, 2, "00"},      {0x1F, 1, "F"},
  };
  for (const Case& c : cases) {
    char buffer[8] = "xxxxxxx";
    plinth::HexDigits(c.value, buffer, c.count);
    EXPECT_EQ(std::string(buffer, c.count), c.digits) << std::hex << c.value;
    EXPECT_EQ(buffer[c.count], 'x') << "no NUL is written, " << std::hex << c.value;
  }
}

TEST(MultiLangTest, ModuleDirectoryEndsWithTheProgramFolder) {
  const std::string file = plinth::ModuleFileName();
  const std::string folder = plinth::ModuleDirectory();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_EQ(file.rfind(folder, 0), 0u);
  EXPECT_EQ(file.substr(folder.size()), "plinth_multilang_tests.exe");
}

}  // namespace
