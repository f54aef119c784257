#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "plinth/System/Source/WinRegistry.h"

namespace {

using plinth::RegAccessor;
using plinth::RegReader;

// A key of its own under HKEY_CURRENT_USER, deleted with everything below it.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = "Software\\ZentrikRemoteTests\\plinth-" + std::to_string(GetCurrentProcessId());
    RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    m_key.Reset(key);
  }
  void TearDown() override {
    m_key.Reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZentrikRemoteTests");  // only when no other run uses it
  }

  std::string Path(std::string_view child = {}) const {
    return child.empty() ? m_path : m_path + "\\" + std::string(child);
  }
  void SetRaw(const char* name, DWORD type, std::string_view bytes) const {
    ASSERT_EQ(RegSetValueExA(m_key.Get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS)
        << name;
  }
  bool KeyExists(const std::string& path) const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  std::string m_path;
  plinth::RegKeyHandle m_key;
};

std::string_view Bytes(const char* text, std::size_t size) { return {text, size}; }

std::string DwordBytes(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), sizeof value); }

TEST_F(RegistryTest, ReadStringByValueType) {
  struct Case {
    const char* name;
    DWORD type;
    std::string_view bytes;
    bool found;
    const char* text;
  };
  const Case cases[] = {
      {"plain", REG_SZ, Bytes("hello", 6), true, "hello"},
      {"empty", REG_SZ, Bytes("", 1), true, ""},
      {"empty without its NUL", REG_SZ, Bytes("", 0), true, ""},
      {"stored without its NUL", REG_SZ, Bytes("abc", 3), true, "abc"},
      {"expandable, left unexpanded", REG_EXPAND_SZ, Bytes("%SystemRoot%\\x", 15), true, "%SystemRoot%\\x"},
      {"multi-string gives its first", REG_MULTI_SZ, Bytes("a\0b\0", 5), true, "a"},
      {"dword", REG_DWORD, DwordBytes(7), false, nullptr},
      {"binary", REG_BINARY, Bytes("abc", 4), false, nullptr},
  };
  for (const Case& c : cases) SetRaw(c.name, c.type, c.bytes);

  RegAccessor accessor;
  ASSERT_TRUE(accessor.Open(HKEY_CURRENT_USER, Path().c_str(), false));
  for (const Case& c : cases) {
    std::string out = "unchanged";
    EXPECT_EQ(accessor.ReadString(c.name, out), c.found) << c.name;
    EXPECT_EQ(out, c.found ? c.text : "unchanged") << c.name;
  }
  std::string out = "unchanged";
  EXPECT_FALSE(accessor.ReadString("missing", out));
  EXPECT_EQ(out, "unchanged");
}

TEST_F(RegistryTest, ReadDwordOnlyFromFourByteDwords) {
  struct Case {
    const char* name;
    DWORD type;
    std::string bytes;
    bool found;
  };
  const Case cases[] = {
      {"dword", REG_DWORD, DwordBytes(0x12345678), true},
      {"four-byte string", REG_SZ, std::string("123", 4), false},
      {"four-byte binary", REG_BINARY, DwordBytes(0x12345678), false},
      {"big-endian dword", REG_DWORD_BIG_ENDIAN, DwordBytes(0x12345678), false},
      {"qword", REG_QWORD, DwordBytes(1) + DwordBytes(0), false},
      {"dword of two bytes", REG_DWORD, std::string("\x01\x02", 2), false},
  };
  for (const Case& c : cases) SetRaw(c.name, c.type, c.bytes);

  RegAccessor accessor;
  RegReader reader;
  ASSERT_TRUE(accessor.Open(HKEY_CURRENT_USER, Path().c_str(), false));
  ASSERT_TRUE(reader.Open(HKEY_CURRENT_USER, Path().c_str()));
  for (const Case& c : cases) {
    DWORD fromAccessor = 0xDEADBEEF;
    DWORD fromReader = 0xDEADBEEF;
    EXPECT_EQ(accessor.ReadDword(c.name, &fromAccessor), c.found) << c.name;
    EXPECT_EQ(reader.ReadDword(c.name, &fromReader), c.found) << c.name;
    // A value that is not a whole DWORD never reaches the caller's variable.
    const DWORD expected = c.found ? 0x12345678 : 0xDEADBEEF;
    EXPECT_EQ(fromAccessor, expected) << c.name;
    EXPECT_EQ(fromReader, expected) << c.name;
  }
  DWORD out = 0xDEADBEEF;
  EXPECT_FALSE(accessor.ReadDword("missing", &out));
  EXPECT_FALSE(reader.ReadDword("missing", &out));
  EXPECT_EQ(out, 0xDEADBEEFu);
}

TEST_F(RegistryTest, OpenMissingKeyWithoutCreateStaysClosed) {
  RegAccessor accessor;
  EXPECT_FALSE(accessor.Open(HKEY_CURRENT_USER, Path("missing").c_str(), false));
  EXPECT_FALSE(accessor.IsOpen());
  accessor.Close();
  EXPECT_FALSE(accessor.IsOpen());
  EXPECT_FALSE(KeyExists(Path("missing")));
}

TEST_F(RegistryTest, OpenMissingKeyWithCreateLeavesAnEmptyKey) {
  {
    RegAccessor accessor;
    ASSERT_TRUE(accessor.Open(HKEY_CURRENT_USER, Path("Zentrik ZIR").c_str(), true));
    EXPECT_TRUE(accessor.IsOpen());
    std::string text;
    DWORD number = 0;
    EXPECT_FALSE(accessor.ReadString("CaptionName", text));
    EXPECT_FALSE(accessor.ReadDword("CaptionName", &number));
  }
  EXPECT_TRUE(KeyExists(Path("Zentrik ZIR")));
}

TEST_F(RegistryTest, OpenWithCreateOpensAnExistingKeyAsItIs) {
  SetRaw("CaptionName", REG_SZ, Bytes("Zentrik", 8));
  RegAccessor accessor;
  ASSERT_TRUE(accessor.Open(HKEY_CURRENT_USER, Path().c_str(), true));
  std::string text;
  EXPECT_TRUE(accessor.ReadString("CaptionName", text));
  EXPECT_EQ(text, "Zentrik");
}

TEST_F(RegistryTest, CloseTwiceAndReopen) {
  SetRaw("value", REG_DWORD, DwordBytes(5));
  RegAccessor accessor;
  ASSERT_TRUE(accessor.Open(HKEY_CURRENT_USER, Path().c_str(), false));
  accessor.Close();
  EXPECT_FALSE(accessor.IsOpen());
  accessor.Close();
  EXPECT_FALSE(accessor.IsOpen());
  DWORD value = 0;
  EXPECT_FALSE(accessor.ReadDword("value", &value)) << "a closed wrapper reads nothing";

  ASSERT_TRUE(accessor.Open(HKEY_CURRENT_USER, Path().c_str(), false));
  EXPECT_TRUE(accessor.ReadDword("value", &value));
  EXPECT_EQ(value, 5u);

  RegReader reader;
  ASSERT_TRUE(reader.Open(HKEY_CURRENT_USER, Path().c_str()));
  reader.Close();
  reader.Close();
  EXPECT_FALSE(reader.IsOpen());
  ASSERT_TRUE(reader.Open(HKEY_CURRENT_USER, Path().c_str()));
  EXPECT_TRUE(reader.ReadDword("value", &value));
}

TEST_F(RegistryTest, ReaderNeverCreatesAKey) {
  RegReader reader;
  EXPECT_FALSE(reader.Open(HKEY_CURRENT_USER, Path("Pacer3\\Advance").c_str()));
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_FALSE(KeyExists(Path("Pacer3")));
}

// Records how often Open asks for its rights, and asks for rights that do not
// allow reading values.
class WriteOnlyReader : public RegReader {
 public:
  REGSAM AccessRights() const override {
    ++m_asked;
    return KEY_SET_VALUE;
  }
  mutable int m_asked = 0;
};

TEST_F(RegistryTest, ReaderOpensWithTheRightsOfItsAccessRights) {
  SetRaw("CalibrationNeeded", REG_DWORD, DwordBytes(1));
  EXPECT_EQ(RegReader().AccessRights(), static_cast<REGSAM>(KEY_READ));

  WriteOnlyReader reader;
  ASSERT_TRUE(reader.Open(HKEY_CURRENT_USER, Path().c_str()));
  DWORD value = 0;
  EXPECT_FALSE(reader.ReadDword("CalibrationNeeded", &value)) << "the key was opened without the right to read";
  reader.Close();
  ASSERT_TRUE(reader.Open(HKEY_CURRENT_USER, Path().c_str()));
  EXPECT_EQ(reader.m_asked, 2);
}

TEST_F(RegistryTest, NameBuffersFitTheLongestNames) {
  SetRaw("v", REG_DWORD, DwordBytes(1));
  SetRaw("a-longer-value-name", REG_DWORD, DwordBytes(1));
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExA(m_key.Get(), "sub-key-name", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(created);
  ASSERT_EQ(RegCreateKeyExA(m_key.Get(), "s", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
            ERROR_SUCCESS);
  const plinth::RegKeyHandle emptyKey(created);

  struct Case {
    const char* name;
    HKEY key;
    DWORD subKeyLength;
    DWORD valueLength;
  };
  const Case cases[] = {
      {"key with names", m_key.Get(), 13, 20},
      {"key without names", emptyKey.Get(), 1, 1},
  };
  for (const Case& c : cases) {
    plinth::RegSubKeyBase subKeys(c.key);
    plinth::detail::RegValueBase values(c.key);
    EXPECT_EQ(subKeys.NameLength(), c.subKeyLength) << c.name;
    EXPECT_EQ(values.NameLength(), c.valueLength) << c.name;
    EXPECT_NE(subKeys.NameBuffer(), nullptr) << c.name;
    EXPECT_NE(values.NameBuffer(), nullptr) << c.name;
  }
}

// Wine cannot describe the performance-data key (RegQueryInfoKeyA fails on it),
// yet it opens: the enumeration states stay unprepared and the open still counts.
TEST_F(RegistryTest, KeyThatCannotBeDescribedStillOpens) {
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_PERFORMANCE_DATA, "", 0, KEY_READ, &opened), ERROR_SUCCESS);
  const plinth::RegKeyHandle performanceData(opened);
  const HKEY key = performanceData.Get();
  DWORD count = 0;
  DWORD longest = 0;
  ASSERT_NE(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr),
            ERROR_SUCCESS)
      << "the premise: this key cannot be described";
  plinth::RegSubKeyBase subKeys(key);
  EXPECT_EQ(subKeys.NameLength(), 0u);
  EXPECT_EQ(subKeys.NameBuffer(), nullptr);

  RegAccessor accessor;
  EXPECT_TRUE(accessor.Open(HKEY_PERFORMANCE_DATA, "", false));
  EXPECT_TRUE(accessor.IsOpen());
  RegReader reader;
  EXPECT_TRUE(reader.Open(HKEY_PERFORMANCE_DATA, ""));
  EXPECT_TRUE(reader.IsOpen());
}

}  // namespace
