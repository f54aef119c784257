#include <windows.h>
#include <shlobj.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "plinth/fileutl/Source/WinFileFind.h"
#include "plinth/tests/TestFolder.h"

namespace {

using plinth::FileNameEnumerater;
using plinth::WinDirTraverser;
using plinth::WinFileFindA;
using plinth::test::TestFolder;
using Names = std::multiset<std::string>;

// The profile folder of the tests:
//   P\a.txt  P\b.oc  P\z.txt  P\E\ (empty)  P\S\c.txt  P\S\T\d.txt
class FileFindTest : public ::testing::Test {
 protected:
  FileFindTest() : m_folder("find"), m_p(m_folder / "P") {
    for (const char* file : {"P\\a.txt", "P\\b.oc", "P\\z.txt", "P\\S\\c.txt", "P\\S\\T\\d.txt"}) {
      m_folder.WriteFile(file, file);
    }
    m_folder.MakeFolder("P\\E");
  }

  TestFolder m_folder;
  const std::string m_p;
};

// Every entry of a walk as its folder, a backslash and its name, in walk order.
std::vector<std::string> Walk(WinDirTraverser& walk) {
  std::vector<std::string> entries;
  for (; !walk.IsDone(); walk.Next()) entries.push_back(walk.Directory() + "\\" + walk.Current().cFileName);
  return entries;
}

std::vector<std::string> FullNames(const std::string& spec, bool recursive) {
  FileNameEnumerater files;
  EXPECT_TRUE(files.Start(spec.c_str(), recursive));
  std::vector<std::string> names;
  for (; !files.IsDone(); files.Next()) names.push_back(files.FullName());
  return names;
}

TEST_F(FileFindTest, FullNamesByStartSpec) {
  const std::string top = m_p + "\\\\";  // the start folder keeps its backslash: it doubles
  const Names topFiles = {top + "a.txt", top + "b.oc", top + "z.txt"};
  Names allFiles = topFiles;
  allFiles.insert({top + "S\\c.txt", top + "S\\T\\d.txt"});
  struct Case {
    const char* name;
    std::string spec;
    bool recursive;
    Names expected;
  };
  const Case cases[] = {
      {"folder with backslash", m_p + "\\", false, topFiles},
      {"pattern is ignored", m_p + "\\*.oc", false, topFiles},
      {"file name is ignored", m_p + "\\b.oc", false, topFiles},
      {"recursive", m_p + "\\", true, allFiles},
      {"empty folder", m_p + "\\E\\", true, {}},
      {"missing folder", m_p + "\\missing\\", true, {}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> found = FullNames(c.spec, c.recursive);
    EXPECT_EQ(Names(found.begin(), found.end()), c.expected) << c.name;
    for (const std::string& name : found) {
      EXPECT_NE(GetFileAttributesA(name.c_str()), INVALID_FILE_ATTRIBUTES) << c.name << ": " << name;
    }
  }
}

TEST_F(FileFindTest, RecursiveWalkIsDepthFirstPreOrder) {
  WinDirTraverser walk;
  ASSERT_TRUE(walk.Start((m_p + "\\").c_str(), true));
  const std::vector<std::string> entries = Walk(walk);

  const std::string top = m_p + "\\\\";
  const std::string s = top + "S";
  const std::string t = s + "\\T";
  const std::string e = top + "E";
  const Names expected = {top + ".", top + "..", top + "a.txt", top + "b.oc", top + "z.txt", e, e + "\\.", e + "\\..",
                          s, s + "\\.", s + "\\..", s + "\\c.txt", t, t + "\\.", t + "\\..", t + "\\d.txt"};
  EXPECT_EQ(Names(entries.begin(), entries.end()), expected) << "\".\" and \"..\" are visited, not descended";

  // Each folder is followed at once by everything inside it, before its next sibling.
  for (const std::string& folder : {s, t, e}) {
    const auto at = std::find(entries.begin(), entries.end(), folder);
    ASSERT_NE(at, entries.end()) << folder;
    const auto inside = [&](const std::string& entry) { return entry.rfind(folder + "\\", 0) == 0; };
    const auto firstOutside = std::find_if_not(at + 1, entries.end(), inside);
    EXPECT_EQ(std::count_if(firstOutside, entries.end(), inside), 0) << folder << " is not walked in one piece";
    EXPECT_EQ(std::count_if(entries.begin(), at, inside), 0) << folder << " comes after its contents";
  }
}

TEST_F(FileFindTest, FlatWalkShowsFoldersWithoutEnteringThem) {
  WinDirTraverser walk;
  ASSERT_TRUE(walk.Start((m_p + "\\*.oc").c_str(), false));
  const std::vector<std::string> entries = Walk(walk);
  const std::string top = m_p + "\\\\";
  const Names expected = {top + ".", top + "..", top + "a.txt", top + "b.oc", top + "z.txt", top + "E", top + "S"};
  EXPECT_EQ(Names(entries.begin(), entries.end()), expected);
}

TEST_F(FileFindTest, MissingStartFolderIsDoneAtOnce) {
  WinDirTraverser walk;
  EXPECT_TRUE(walk.Start((m_p + "\\missing\\").c_str(), true));
  EXPECT_TRUE(walk.IsDone());
}

TEST_F(FileFindTest, SpecWithoutBackslashWalksTheRootOfTheCurrentDrive) {
  char previous[MAX_PATH] = {};
  ASSERT_NE(GetCurrentDirectoryA(sizeof previous, previous), 0u);
  char windows[MAX_PATH] = {};
  ASSERT_NE(GetWindowsDirectoryA(windows, sizeof windows), 0u);  // e.g. C:\windows
  ASSERT_TRUE(SetCurrentDirectoryA(windows));
  WinDirTraverser walk;
  walk.Start("*.oc", false);
  std::vector<std::string> entries = Walk(walk);
  SetCurrentDirectoryA(previous);

  const std::string windowsEntry = std::string("\\") + (windows + 3);  // "\windows": the drive's root, no letter
  EXPECT_NE(std::find(entries.begin(), entries.end(), windowsEntry), entries.end());
}

// A sub-folder that disappears after it was listed cannot be opened when the walk
// reaches it: it is skipped, and the walk goes on with its siblings.
TEST_F(FileFindTest, SubFolderThatCannotBeOpenedIsSkipped) {
  WinDirTraverser walk;
  ASSERT_TRUE(walk.Start((m_p + "\\").c_str(), true));
  std::vector<std::string> entries;
  for (; !walk.IsDone() && std::string(walk.Current().cFileName) != "S"; walk.Next()) {
    entries.push_back(walk.Directory() + "\\" + walk.Current().cFileName);
  }
  ASSERT_FALSE(walk.IsDone()) << "S was listed";
  entries.push_back(walk.Directory() + "\\S");
  m_folder.Remove("P\\S");
  walk.Next();
  const std::vector<std::string> after = Walk(walk);

  const std::string top = m_p + "\\\\";
  for (const std::string& entry : after) EXPECT_EQ(entry.find(top + "S"), std::string::npos) << entry;
  // Every entry of P not seen before S still comes.
  entries.insert(entries.end(), after.begin(), after.end());
  Names topNames;
  for (const std::string& entry : entries) {
    if (entry.rfind(top, 0) == 0 && entry.find('\\', top.size()) == std::string::npos) {
      topNames.insert(entry.substr(top.size()));
    }
  }
  EXPECT_EQ(topNames, (Names{".", "..", "a.txt", "b.oc", "z.txt", "E", "S"}));
}

// The number of handles this process holds, as the system lists them.
std::size_t OpenHandleCount() {
  struct Entry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
  };
  struct Table {
    ULONG_PTR count;
    ULONG_PTR reserved;
    Entry entries[1];
  };
  constexpr auto kSystemExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  NTSTATUS status;
  while ((status = NtQuerySystemInformation(kSystemExtendedHandleInformation, buffer.data(),
                                            static_cast<ULONG>(buffer.size()), &length)) ==
         static_cast<NTSTATUS>(0xC0000004)) {  // STATUS_INFO_LENGTH_MISMATCH
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return 0;
  const auto* table = reinterpret_cast<const Table*>(buffer.data());
  std::size_t mine = 0;
  for (ULONG_PTR i = 0; i < table->count; ++i) mine += table->entries[i].processId == GetCurrentProcessId();
  return mine;
}

TEST_F(FileFindTest, WalkAbandonedMidwayClosesEverySearch) {
  const std::size_t before = OpenHandleCount();
  ASSERT_NE(before, 0u) << "the system lists no handles";
  {
    auto files = std::make_unique<FileNameEnumerater>();
    ASSERT_TRUE(files->Start((m_p + "\\").c_str(), true));
    while (!files->IsDone() && files->FullName().find("d.txt") == std::string::npos) files->Next();
    ASSERT_FALSE(files->IsDone());
    EXPECT_EQ(OpenHandleCount(), before + 3) << "one search each for P, S and T";
  }
  EXPECT_EQ(OpenHandleCount(), before);
}

TEST_F(FileFindTest, SingleSearch) {
  WinFileFindA find;
  EXPECT_FALSE(find.IsOpen());
  EXPECT_FALSE(find.FindFirst((m_p + "\\*.none").c_str())) << "nothing matches";
  EXPECT_FALSE(find.IsOpen());
  EXPECT_FALSE(find.HasEntry());

  ASSERT_TRUE(find.FindFirst((m_p + "\\*.txt").c_str()));
  Names names;
  for (; find.HasEntry(); find.FindNext()) names.insert(find.Data().cFileName);
  EXPECT_TRUE(find.IsOpen()) << "open without an entry after the last one";
  EXPECT_EQ(names, (Names{"a.txt", "z.txt"}));
  find.Close();
  find.Close();
  EXPECT_FALSE(find.IsOpen());
  EXPECT_FALSE(find.HasEntry());
  EXPECT_TRUE(find.FindFirst((m_p + "\\b.oc").c_str())) << "a closed search opens again";
  EXPECT_STREQ(find.Data().cFileName, "b.oc");
}

TEST(SpecialFolderTest, PathOrEmptyText) {
  struct Case {
    const char* name;
    int csidl;
    bool provided;
  };
  const Case cases[] = {
      {"common application data", CSIDL_COMMON_APPDATA, true},
      {"local application data", CSIDL_LOCAL_APPDATA, true},
      {"administrative tools, made on demand", CSIDL_ADMINTOOLS, true},
      {"no such folder", 0x7F, false},
  };
  for (const Case& c : cases) {
    const std::string path = plinth::GetSpecialFolderPath(c.csidl);
    if (!c.provided) {
      EXPECT_EQ(path, "") << c.name;
      continue;
    }
    ASSERT_GT(path.size(), 3u) << c.name;
    EXPECT_EQ(path.back(), '\\') << c.name;
    EXPECT_NE(path[path.size() - 2], '\\') << c.name;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << c.name << ": " << path;
  }
}

}  // namespace
