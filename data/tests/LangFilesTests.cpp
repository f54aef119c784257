// The delivered language files, whatever the system language of the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "data/tests/ShippedLanguages.h"
#include "plinth/System/Source/IniAccess.h"
#include "plinth/tests/TestFolder.h"

namespace {

using data::test::DistLangFiles;
using data::test::kShippedLanguages;
using data::test::kTextKeys;
using plinth::IniAccessor;

constexpr char kAbsent[] = "<absent>";  // no text of the files looks like this

std::string LanguageFile(const std::string& root, const std::string& folder) {
  return root + "\\" + folder + "\\" + folder + ".ini";
}

std::wstring Decode(const std::string& bytes, UINT codePage, bool* valid) {
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  *valid = length > 0 || bytes.empty();
  std::wstring text(length, L'\0');
  if (length > 0) MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length);
  return text;
}

std::string Encode(const std::wstring& text, UINT codePage) {
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(length, '\0');
  WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

TEST(LangFilesTest, IndexNamesEveryLanguageByItsIds) {
  IniAccessor index;
  ASSERT_TRUE(index.Open((DistLangFiles() + "\\KvMultiLang.ini").c_str()));
  for (const auto& language : kShippedLanguages) {
    for (const std::string& id : language.indexIds) {
      std::string name;
      index.ReadString("Languages", id.c_str(), kAbsent, name);
      EXPECT_EQ(name, language.folder) << "id " << id;
    }
  }
  std::string name;
  index.ReadString("Languages", "04", kAbsent, name);
  EXPECT_EQ(name, kAbsent) << "Traditional Chinese must not get the Simplified texts";
}

TEST(LangFilesTest, EveryLanguageIsDeliveredAndTested) {
  std::set<std::string> delivered;
  for (const auto& entry : std::filesystem::directory_iterator(DistLangFiles())) {
    if (entry.is_directory()) delivered.insert(entry.path().filename().string());
  }
  std::set<std::string> listed;
  for (const auto& language : kShippedLanguages) listed.insert(language.folder);
  EXPECT_EQ(delivered, listed);
}

TEST(LangFilesTest, EveryFileHoldsEveryKey) {
  for (const auto& language : kShippedLanguages) {
    IniAccessor file;
    ASSERT_TRUE(file.Open(LanguageFile(DistLangFiles(), language.folder).c_str()));
    for (const auto& key : kTextKeys) {
      std::string text;
      file.ReadString("Translations", key.key, kAbsent, text);
      EXPECT_NE(text, kAbsent) << language.folder << ": " << key.key;
      EXPECT_FALSE(text.empty()) << language.folder << ": " << key.key;
      EXPECT_NE(text, "Error 737") << language.folder << ": " << key.key;
    }
  }
}

// Each delivered file decodes without error in its code page, to exactly the text
// of its UTF-8 source, and encodes back to the same bytes.
TEST(LangFilesTest, EveryFileDecodesInItsCodePage) {
  for (const auto& language : kShippedLanguages) {
    const std::string delivered = plinth::test::ReadWholeFile(LanguageFile(DistLangFiles(), language.folder));
    const std::string source = plinth::test::ReadWholeFile(LanguageFile(ZR_LANGFILES_SOURCE, language.folder));
    ASSERT_FALSE(delivered.empty()) << language.folder;
    ASSERT_FALSE(source.empty()) << language.folder;
    bool valid = false;
    const std::wstring text = Decode(delivered, language.codePage, &valid);
    EXPECT_TRUE(valid) << language.folder << " in code page " << language.codePage;
    bool sourceValid = false;
    EXPECT_TRUE(text == Decode(source, CP_UTF8, &sourceValid)) << language.folder << " differs from its source";
    EXPECT_TRUE(sourceValid) << language.folder << " source";
    EXPECT_TRUE(Encode(text, language.codePage) == delivered) << language.folder;
  }
}

}  // namespace
