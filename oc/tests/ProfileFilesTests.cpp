// The profile folder in the prefix's common application data folder, its listing,
// and the frequency setting read from real profile files.
#include "oc/ProfileFiles.h"
#include "oc/tests/ScratchProfileFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ProfileFolder, IsInTheCommonApplicationDataFolderAndIsCreated) {
  const std::string expected = "C:\\ProgramData\\Kovra OC Profiles\\";
  RemoveDirectoryA(expected.c_str());  // fails harmlessly when it holds files
  EXPECT_EQ(ProfileFolder(), expected);
  const DWORD attributes = GetFileAttributesA(expected.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  // An existing folder is fine.
  EXPECT_EQ(ProfileFolder(), expected);
}

TEST(ListProfileFiles, OnlyOcFilesDirectlyInTheFolder) {
  zrtest::ScratchProfileFolder folder;
  for (const char* file : {"Fast.OC", "my.fast.oc", "x.ocx", "noext"}) folder.WriteBytes(file, "");
  folder.MakeFolder("Sub");
  folder.WriteProfile("Sub\\inner", 1);
  folder.MakeFolder("Default");
  folder.WriteProfile("Default\\Default", 1);
  folder.MakeFolder("folder.oc");

  std::vector<std::string> names{"left over"};
  ListProfileFiles(names);
  EXPECT_EQ(Sorted(names), Sorted({"Fast", "my.fast"}));
}

TEST(ListProfileFiles, ExtensionMustBeOcInAnyCase) {
  zrtest::ScratchProfileFolder folder;
  for (const char* file : {"a.o", "b.Oc", "c.occ", "d.oC", "e.xoc", "oc"}) folder.WriteBytes(file, "");
  std::vector<std::string> names;
  ListProfileFiles(names);
  EXPECT_EQ(Sorted(names), Sorted({"b", "d"}));
}

TEST(ListProfileFiles, EmptyFolderListsNothing) {
  zrtest::ScratchProfileFolder folder;
  folder.MakeFolder("Default");
  folder.WriteProfile("Default\\Default", 1);
  std::vector<std::string> names{"left over"};
  ListProfileFiles(names);
  EXPECT_TRUE(names.empty());
}

constexpr uint32_t F = FrequencyItemId;

struct FileCase {
  const char* name;
  std::vector<uint32_t> words;  // first word, version, count, records
  uint32_t value;
};

const FileCase FileCases[] = {
    {"version 0", {7, 0, 1, F, 121}, 121},
    {"version 1, frequency after another record", {7, 1, 2, 0x03000010, 5, F, 67}, 67},
    {"version 2 is unusable whatever its records", {7, 2, 1, F, 121}, 0},
    {"declares three records, holds two", {7, 1, 3, 0x03000010, 5, F, 88}, 88},
    {"first of two frequency records counts", {7, 1, 2, F, 30, F, 40}, 30},
    {"count 0", {7, 1, 0}, 0},
    {"count 0 ignores the records present", {7, 1, 0, F, 121}, 0},
    {"no frequency record", {7, 1, 2, 0x03000010, 5, 0x03020012, 6}, 0},
    {"records beyond the count are not read", {7, 1, 1, 0x03000010, 5, F, 121}, 0},
    {"header without its count", {7, 1}, 0},
    {"last record cut short", {7, 1, 2, 0x03000010, 5, F}, 0},
    {"empty file", {}, 0},
};

TEST(ReadProfileFileValue, FrequencyIndexOfTheFirstFrequencyRecord) {
  zrtest::ScratchProfileFolder folder;
  for (const FileCase& c : FileCases) {
    folder.WriteWords("case.oc", c.words);
    EXPECT_EQ(ReadProfileFileValue("case"), c.value) << c.name;
  }
}

TEST(ReadProfileFileValue, LastRecordCutInsideItsId) {
  zrtest::ScratchProfileFolder folder;
  folder.WriteBytes("cut.oc", std::string("\7\0\0\0\1\0\0\0\2\0\0\0\x11\0\1\3\x79\0\0\0\x11\0", 22));
  EXPECT_EQ(ReadProfileFileValue("cut"), 0x79u);
}

TEST(ReadProfileFileValue, NamesWithAFolderAndMissingFiles) {
  zrtest::ScratchProfileFolder folder;
  folder.MakeFolder("Default");
  folder.WriteProfile("Default\\Default", 101);
  folder.MakeFolder("Team");
  folder.WriteProfile("Team\\night", 55);
  folder.WriteProfile("Fast", 151);

  EXPECT_EQ(ReadProfileFileValue(DefaultProfileName), 101u);
  EXPECT_EQ(ReadProfileFileValue("Team/night"), 55u);
  EXPECT_EQ(ReadProfileFileValue("Fast"), 151u);
  EXPECT_EQ(ReadProfileFileValue("fast"), 151u);  // the file system ignores case
  EXPECT_EQ(ReadProfileFileValue("Missing"), 0u);
  EXPECT_EQ(ReadProfileFileValue(""), 0u);
}

}  // namespace
