#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plinth/System/Source/IniAccess.h"
#include "plinth/tests/TestFolder.h"

namespace {

using plinth::IniAccessor;
using plinth::test::TestFolder;

// What the accessor asked of the system: the buffer size of every read and the
// file of every flush. The calls still go to the real private-profile functions.
struct ProfileCalls {
  std::vector<DWORD> readSizes;
  std::vector<std::string> flushedFiles;
};
ProfileCalls g_calls;

DWORD WINAPI CountedGetString(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buffer, DWORD size, LPCSTR file) {
  g_calls.readSizes.push_back(size);
  return GetPrivateProfileStringA(section, key, def, buffer, size, file);
}

BOOL WINAPI CountedWriteString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  if (section == nullptr && key == nullptr && value == nullptr) g_calls.flushedFiles.push_back(file);
  return WritePrivateProfileStringA(section, key, value, file);
}

const plinth::ProfileFunctions kCounted = {&CountedGetString, &CountedWriteString};

// A text of the given length whose every position differs from its neighbours,
// so that a cut or a shifted copy shows.
std::string TextOfLength(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}

class IniAccessTest : public ::testing::Test {
 protected:
  IniAccessTest() : m_folder("ini") { g_calls = {}; }

  std::string WriteIni(const std::string& text) const {
    m_folder.WriteFile("test.ini", text);
    return m_folder / "test.ini";
  }

  TestFolder m_folder;
};

TEST_F(IniAccessTest, BufferGrowsUntilTheValueFits) {
  struct Case {
    std::size_t length;
    std::vector<DWORD> readSizes;
  };
  const Case cases[] = {
      {0, {128}},
      {126, {128}},
      {127, {128, 256}},
      {254, {128, 256}},
      {255, {128, 256, 512}},
      {1000, {128, 256, 512, 1024}},
  };
  for (const Case& c : cases) {
    const std::string value = TextOfLength(c.length);
    const std::string path = WriteIni("[Translations]\r\nKey=" + value + "\r\n");
    g_calls = {};
    IniAccessor ini(kCounted);
    ASSERT_TRUE(ini.Open(path.c_str()));
    std::string out;
    ini.ReadString("Translations", "Key", "default", out);
    EXPECT_EQ(out, value) << "value of " << c.length << " characters";
    EXPECT_EQ(g_calls.readSizes, c.readSizes) << "value of " << c.length << " characters";
  }
}

TEST_F(IniAccessTest, GrownBufferStaysUntilClose) {
  const std::string path = WriteIni("[S]\r\nLong=" + TextOfLength(1000) + "\r\nShort=x\r\n");
  IniAccessor ini(kCounted);
  ASSERT_TRUE(ini.Open(path.c_str()));
  std::string out;
  ini.ReadString("S", "Long", "", out);
  g_calls = {};
  ini.ReadString("S", "Short", "", out);
  EXPECT_EQ(out, "x");
  EXPECT_EQ(g_calls.readSizes, std::vector<DWORD>{1024});

  ini.Close();
  ASSERT_TRUE(ini.Open(path.c_str()));
  g_calls = {};
  ini.ReadString("S", "Short", "", out);
  EXPECT_EQ(g_calls.readSizes, std::vector<DWORD>{128}) << "a new Open starts again with 128 chars";
}

TEST_F(IniAccessTest, DefaultForWhatIsMissing) {
  const std::string path = WriteIni("[Translations]\r\nWarning=Attention\r\nEmpty=\r\n");
  struct Case {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"present", path, "Translations", "Warning", "Attention"},
      {"names match without regard to case", path, "TRANSLATIONS", "warning", "Attention"},
      {"empty value is a text", path, "Translations", "Empty", ""},
      {"missing key", path, "Translations", "Auto", "Error 737"},
      {"missing section", path, "Languages", "Warning", "Error 737"},
      {"missing file", m_folder / "missing.ini", "Translations", "Warning", "Error 737"},
      {"missing folder", m_folder / "no\\such\\folder.ini", "Translations", "Warning", "Error 737"},
  };
  for (const Case& c : cases) {
    IniAccessor ini;
    ASSERT_TRUE(ini.Open(c.file.c_str())) << c.name;
    std::string out = "unchanged";
    ini.ReadString(c.section, c.key, "Error 737", out);
    EXPECT_EQ(out, c.expected) << c.name;
  }
  EXPECT_EQ(GetFileAttributesA((m_folder / "missing.ini").c_str()), INVALID_FILE_ATTRIBUTES)
      << "opening and reading never creates the file";
}

TEST_F(IniAccessTest, CloseFlushesOnlyAnOpenFile) {
  const std::string path = WriteIni("[S]\r\nK=v\r\n");
  IniAccessor ini(kCounted);
  ini.Close();
  EXPECT_TRUE(g_calls.flushedFiles.empty()) << "Close without Open";
  EXPECT_FALSE(ini.IsOpen());

  ASSERT_TRUE(ini.Open(path.c_str()));
  EXPECT_TRUE(ini.IsOpen());
  ini.Close();
  ini.Close();
  EXPECT_FALSE(ini.IsOpen());
  EXPECT_EQ(g_calls.flushedFiles, std::vector<std::string>{path}) << "one flush, at the first Close";
  EXPECT_TRUE(g_calls.readSizes.empty());
}

TEST_F(IniAccessTest, DestructorFlushes) {
  const std::string path = WriteIni("[S]\r\nK=v\r\n");
  {
    IniAccessor ini(kCounted);
    ASSERT_TRUE(ini.Open(path.c_str()));
  }
  EXPECT_EQ(g_calls.flushedFiles, std::vector<std::string>{path});
}

TEST_F(IniAccessTest, FileRewrittenBetweenAccessorsIsReadAfresh) {
  const std::string path = WriteIni("[S]\r\nK=first\r\n");
  std::string out;
  {
    IniAccessor ini;
    ASSERT_TRUE(ini.Open(path.c_str()));
    ini.ReadString("S", "K", "", out);
  }
  EXPECT_EQ(out, "first");
  WriteIni("[S]\r\nK=second\r\n");
  IniAccessor ini;
  ASSERT_TRUE(ini.Open(path.c_str()));
  ini.ReadString("S", "K", "", out);
  EXPECT_EQ(out, "second");
}

}  // namespace
