// KVACPI.DLL through its ordinals, as the program uses it.
#include "oc/AcpiLibrary.h"
#include "simboard/kvacpi/BoardParser.h"
#include "simboard/tests/TestSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <map>
#include <memory>

namespace simboard::test {
namespace {

uint32_t U32(const void* data) {
  uint32_t v = 0;
  std::memcpy(&v, data, sizeof v);
  return v;
}

// One item's descriptor as the traversers see it: u32 elements and texts.
struct Descriptor {
  std::vector<uint32_t> words;  // every element read as a u32 (texts: 0)
  std::vector<std::string> texts;
  uint32_t count = 0;
};

Descriptor Decode(const uint8_t* list) {
  Descriptor d;
  d.count = AcpiElementCount(list);
  void* e = AcpiFirstElement(list);
  for (uint32_t i = 0; i < d.count; ++i, e = (i < d.count ? AcpiNextElement(e) : e)) {
    const uint8_t* header = static_cast<const uint8_t*>(e);
    if (U32(header) == 2) {
      d.texts.emplace_back(static_cast<const char*>(AcpiElementData(e)));
      d.words.push_back(0);
    } else {
      d.words.push_back(U32(AcpiElementData(e)));
    }
  }
  return d;
}

// A group walked the way the program's group and item traversers walk it:
// read the group, then for each element its data handed on to AcpiReadItemInfo,
// advancing only while the index is below the count.
std::map<uint32_t, Descriptor> WalkGroup(uint32_t group, bool* opened = nullptr) {
  std::map<uint32_t, Descriptor> items;
  auto buffer = std::make_unique<uint8_t[]>(AcpiBufferSize);
  auto info = std::make_unique<uint8_t[]>(AcpiBufferSize);
  uint32_t size = AcpiBufferSize;
  const bool ok = AcpiReadGroup(group, buffer.get(), &size) != 0;
  if (opened) *opened = ok;
  if (!ok) return items;
  const int count = static_cast<int>(AcpiElementCount(buffer.get()));
  void* current = AcpiFirstElement(buffer.get());
  for (int index = 0; index < count;) {
    uint32_t infoSize = AcpiBufferSize;
    if (AcpiReadItemInfo(AcpiElementData(current), info.get(), &infoSize)) {
      Descriptor d = Decode(info.get());
      items[d.words.at(0)] = d;
    }
    ++index;
    if (index < count) current = AcpiNextElement(current);
  }
  return items;
}

TEST(KvAcpiDefaultBoard, WalksEveryItemTheProgramUses) {
  BoardFixture board = BoardFixture::DefaultBoardCopy();
  EXPECT_EQ(AcpiOpen(), 1u);
  EXPECT_EQ(AcpiOpen(), 1u) << "a repeated open changes nothing";

  // The frequency setting: group 3, element 0x11, a number of kind 1 with "Auto".
  auto group3 = WalkGroup(3);
  ASSERT_TRUE(group3.count(0x03010011));
  const Descriptor& frequency = group3[0x03010011];
  ASSERT_EQ(frequency.count, 9u);
  EXPECT_EQ((0x03010011u >> 16) & 0xF, 1u);
  EXPECT_EQ(frequency.words[4] & 0xFFFFFF, 10000u) << "minimum";
  EXPECT_EQ(frequency.words[4] >> 24, 0u) << "exponent";
  EXPECT_EQ(frequency.words[5] & 0xFFFFFF, 100u) << "step of 1 MHz in hundredths";
  EXPECT_EQ(frequency.words[6], 401u);
  EXPECT_EQ(frequency.words[7], 1u);
  EXPECT_EQ(frequency.texts, std::vector<std::string>{"Auto"});

  // The firmware profile names: group 5, element 2, a string item.
  auto group5 = WalkGroup(5);
  ASSERT_TRUE(group5.count(0x05080002));
  EXPECT_EQ(group5[0x05080002].words[4], 3u);
  EXPECT_EQ(group5[0x05080002].texts, (std::vector<std::string>{"Gaming", "Balanced", "Silent"}));

  // The power-saving mode: group 0x0B, element 1.
  auto group11 = WalkGroup(0x0B);
  ASSERT_EQ(group11.size(), 1u);
  EXPECT_EQ(group11.begin()->first & 0xFFFF, 1u);

  struct Present {
    uint32_t id;
    uint32_t group;
  } present[] = {{0x00060008, 0}, {0x00060009, 0}, {0x0E0A0017, 0x0E}, {0x0E0A0018, 0x0E},
                 {0x0E0A0019, 0x0E}, {0x11060008, 0x11}, {0x11070010, 0x11}};
  for (const Present& p : present) {
    EXPECT_TRUE(WalkGroup(p.group).count(p.id)) << std::hex << p.id;
  }
  EXPECT_EQ(WalkGroup(0x11)[0x11070010].count, 4u) << "an on/off item: id, two unused words, info word";
  EXPECT_EQ(ReadItemOr(0x00060008, 0xFFFFFFFF) & 4, 0u) << "no start-up warning";
  EXPECT_EQ(ReadItemOr(0x00060009, 0xFFFFFFFF) & 4, 0u) << "no start-up warning";
  EXPECT_EQ(ReadItemOr(0x11060008, 0xFFFFFFFF), 0u);
  EXPECT_NE(ReadItemOr(0x11070010, 0), 0u) << "automatic mode allowed";

  // Three firmware profiles, each with a frequency; no fourth.
  const uint32_t expected[] = {121, 101, 67};
  for (uint32_t slot = 0; slot < 3; ++slot) {
    uint32_t words[AcpiBufferSize / 4];
    uint32_t size = AcpiBufferSize;
    ASSERT_EQ(AcpiCallMethod(0x05080002, slot, words, &size) & 1, 1u) << slot;
    ASSERT_EQ(size % 8, 0u) << "header, pairs and the end word: " << slot;
    EXPECT_EQ(words[size / 4 - 1], 0xFFFFFFFFu) << slot;
    bool found = false;
    for (uint32_t j = 1; j + 1 < size / 4; j += 2) found = found || (words[j] == 0x03010011 && words[j + 1] == expected[slot]);
    EXPECT_TRUE(found) << slot;
  }
  uint32_t words[AcpiBufferSize / 4];
  uint32_t size = AcpiBufferSize;
  EXPECT_EQ(AcpiCallMethod(0x05080002, 3, words, &size) & 1, 0u);
}

TEST(KvAcpiDefaultBoard, SeedsTheDefaultLocationWhenItHasNoBoard) {
  char folder[MAX_PATH];
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)));
  const std::string path = std::string(folder) + "\\Kovra SimBoard\\Board.txt";
  const std::string kept = path + ".kept-by-test";
  // The board that other runs left there is put back afterwards.
  const bool hadBoard = MoveFileExA(path.c_str(), kept.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  SetEnvironmentVariableA("ZR_BOARD", nullptr);
  EXPECT_EQ(AcpiOpen(), 1u);
  EXPECT_EQ(ReadTextFile(path), ReadTextFile(SimboardFile("DefaultBoard.txt")));
  if (hadBoard) MoveFileExA(kept.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

constexpr char SwitchBoard[] =
    "group 1\n"
    "item 0x01000001 number min=0 step=1 count=9 value=5\n"
    "item 0x01000002 onoff value=1 fail=read\n"
    "item 0x01000003 onoff value=2 fail=write\n"
    "item 0x01000004 onoff value=3 fail=info\n"
    "group 2 fail=read\n"
    "item 0x02000001 onoff value=4\n"
    "profile 0 pair=0x03010011:10\n"
    "profile 1 fail=call\n";

TEST(KvAcpiFailures, EachSwitchFailsItsOperationOnly) {
  BoardFixture board(SwitchBoard);
  struct Case {
    const char* name;
    uint32_t id;
    bool reads, writes, described;
  } cases[] = {
      {"plain", 0x01000001, true, true, true},
      {"read fails", 0x01000002, false, true, true},
      {"write fails", 0x01000003, true, false, true},
      {"descriptor refused", 0x01000004, true, true, false},
      {"in an unreadable group", 0x02000001, true, true, true},
      {"unknown item", 0x01000099, false, false, false},
  };
  for (const Case& c : cases) {
    uint32_t value = 0xDEAD;
    EXPECT_EQ(AcpiReadItem(c.id, &value) & 1, c.reads ? 1u : 0u) << c.name;
    if (!c.reads) {
      EXPECT_EQ(value, 0xDEADu) << c.name << ": output untouched";
    }
    EXPECT_EQ(AcpiWriteItem(c.id, 7, 1) & 1, c.writes ? 1u : 0u) << c.name;
    if (c.reads) {
      EXPECT_EQ(ReadItemOr(c.id, 0), c.writes ? 7u : 2u) << c.name;
    }
    uint32_t size = AcpiBufferSize;
    uint8_t info[AcpiBufferSize];
    EXPECT_EQ(AcpiReadItemInfo(&c.id, info, &size) != 0, c.described) << c.name;
  }
  bool opened = true;
  EXPECT_EQ(WalkGroup(1, &opened).size(), 3u) << "the refused descriptor is passed over";
  EXPECT_TRUE(opened);
  WalkGroup(2, &opened);
  EXPECT_FALSE(opened) << "group 2 is unreadable";
  WalkGroup(7, &opened);
  EXPECT_FALSE(opened) << "group 7 does not exist";

  uint32_t words[16];
  uint32_t size = sizeof words;
  EXPECT_EQ(AcpiCallMethod(0x05080002, 0, words, &size), 1u);
  EXPECT_EQ(size, 16u);
  size = sizeof words;
  EXPECT_EQ(AcpiCallMethod(0x05080002, 1, words, &size), 0u) << "failing slot";
  EXPECT_EQ(AcpiCallMethod(0x05080003, 0, words, &size), 0u) << "unknown method";
}

TEST(KvAcpiFailures, ListsThatDoNotFitWriteNothingAndFail) {
  // 8 header bytes + 16 for the u32 id element... a descriptor of 8 + 4 × 12 bytes.
  BoardFixture board("group 1\nitem 0x01000001 number min=0 step=1 count=9\nprofile 0 pair=1:2\n");
  struct Case {
    const char* name;
    uint32_t needed;
    std::function<uint32_t(void*, uint32_t*)> call;
  } cases[] = {
      {"group", 8 + 12, [](void* b, uint32_t* s) { return AcpiReadGroup(1, b, s); }},
      {"descriptor", 8 + 7 * 12,
       [](void* b, uint32_t* s) {
         uint32_t id = 0x01000001;
         return AcpiReadItemInfo(&id, b, s);
       }},
      {"method", 16, [](void* b, uint32_t* s) { return AcpiCallMethod(0x05080002, 0, b, s); }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> buffer(c.needed + 16, 0xCC);
    uint32_t size = c.needed - 1;
    EXPECT_EQ(c.call(buffer.data(), &size), 0u) << c.name;
    EXPECT_EQ(size, c.needed - 1) << c.name << ": size left as it was";
    for (uint8_t b : buffer) ASSERT_EQ(b, 0xCC) << c.name << ": nothing written";
    size = c.needed;
    EXPECT_NE(c.call(buffer.data(), &size), 0u) << c.name;
    EXPECT_EQ(size, c.needed) << c.name;
    for (size_t i = c.needed; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xCC) << c.name << ": past the size";
    EXPECT_EQ(c.call(nullptr, &size), 0u) << c.name << ": no buffer";
    EXPECT_EQ(c.call(buffer.data(), nullptr), 0u) << c.name << ": no size";
  }
}

TEST(KvAcpiFailures, StrayPointersFailInsteadOfCrashing) {
  BoardFixture board("group 1\nitem 0x01000001 onoff\n");
  uint8_t info[AcpiBufferSize];
  uint32_t size = AcpiBufferSize;
  EXPECT_EQ(AcpiReadItemInfo(nullptr, info, &size), 0u);
  EXPECT_EQ(AcpiReadItemInfo(reinterpret_cast<const void*>(uintptr_t{0x10}), info, &size), 0u);
  EXPECT_EQ(AcpiReadItem(0x01000001, nullptr), 0u);
  EXPECT_EQ(AcpiFirstElement(nullptr), nullptr);
  EXPECT_EQ(AcpiElementCount(nullptr), 0u);
  EXPECT_EQ(AcpiElementData(nullptr), nullptr);
  EXPECT_EQ(AcpiNextElement(nullptr), nullptr);
}

TEST(KvAcpiBrokenBoard, ReportsFileAndLineAndFailsUntilMended) {
  BoardFixture board("group 1\nitem 0x01000001 onoff value=3\nitem 0x01000002 onof\n");
  const std::string log = board.Path() + ".log";
  ProgramResult child = RunProgram("SimBoardTool", "read 0x01000001");
  EXPECT_EQ(child.exitCode, 1u);
  const std::string message = "KVACPI: " + board.Path() + "(3): unknown form \"onof\"";
  EXPECT_NE(child.output.find(message), std::string::npos) << child.output;
  EXPECT_NE(ReadTextFile(log).find(message), std::string::npos);

  EXPECT_EQ(AcpiOpen(), 0u);
  EXPECT_EQ(ReadItemOr(0x01000001, 99), 99u);
  EXPECT_EQ(AcpiWriteItem(0x01000001, 1, 1), 0u);
  const size_t logged = ReadTextFile(log).size();
  EXPECT_EQ(AcpiOpen(), 0u);
  EXPECT_EQ(ReadTextFile(log).size(), logged) << "the same broken file is reported once";

  board.Rewrite("group 1\nitem 0x01000001 onoff value=3\n");
  EXPECT_EQ(AcpiOpen(), 1u);
  EXPECT_EQ(ReadItemOr(0x01000001, 99), 3u);
}

TEST(KvAcpiBrokenBoard, MissingFileIsReportedAndNeverCreated) {
  TempFolder folder;
  const std::string path = folder.File("absent.txt");
  SetEnvironmentVariableA("ZR_BOARD", path.c_str());
  ProgramResult child = RunProgram("SimBoardTool", "open");
  SetEnvironmentVariableA("ZR_BOARD", nullptr);
  EXPECT_EQ(child.exitCode, 1u);
  EXPECT_NE(child.output.find("KVACPI: " + path + ": cannot be read (error 2)"), std::string::npos) << child.output;
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(KvAcpiSharedState, TwoProcessesSeeEachOthersWrites) {
  BoardFixture board = BoardFixture::DefaultBoardCopy();
  ASSERT_EQ(AcpiWriteItem(0x11060008, 4, 1), 1u);
  ProgramResult read = RunProgram("SimBoardTool", "read 0x11060008");
  EXPECT_EQ(read.exitCode, 0u);
  EXPECT_EQ(read.output, "4\n");

  EXPECT_EQ(RunProgram("SimBoardTool", "write 0x03010011 150").exitCode, 0u);
  EXPECT_EQ(ReadItemOr(0x03010011, 0), 150u);
  EXPECT_NE(board.Text().find("# Default board"), std::string::npos) << "comments survive writes";
}

TEST(KvAcpiSharedState, ConcurrentWritersLoseNoUpdate) {
  BoardFixture board = BoardFixture::DefaultBoardCopy();
  {
    ChildProcess first(SimboardProgram("SimBoardTool"), "count 0x0E0A0014 40");
    ChildProcess second(SimboardProgram("SimBoardTool"), "count 0x0E0A0015 40");
    ASSERT_TRUE(first.Started() && second.Started());
    EXPECT_EQ(first.WaitForExit(60000), 0u);
    EXPECT_EQ(second.WaitForExit(60000), 0u);
  }
  EXPECT_EQ(ReadItemOr(0x0E0A0014, 0), 40u);
  EXPECT_EQ(ReadItemOr(0x0E0A0015, 0), 40u);
}

TEST(KvAcpiSharedState, WriteSurvivesTheWriterBeingKilled) {
  BoardFixture board = BoardFixture::DefaultBoardCopy();
  const std::string eventName = "SimboardWritten." + std::to_string(GetCurrentProcessId());
  KernelHandle written(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
  ASSERT_TRUE(written);
  ChildProcess writer(SimboardProgram("SimBoardTool"), "write 0x11060008 2 --hold " + eventName);
  ASSERT_TRUE(writer.Started());
  ASSERT_TRUE(WaitUntil([&] { return WaitForSingleObject(written.Get(), 0) == WAIT_OBJECT_0; }, 15000));
  writer.Terminate();

  BoardParseError error;
  auto parsed = BoardParser::Parse(board.Text(), error);
  ASSERT_TRUE(parsed) << error.line << ": " << error.message;
  EXPECT_EQ(parsed->FindItem(0x11060008)->value, 2u);
  EXPECT_EQ(ReadItemOr(0x11060008, 0), 2u);
}

}  // namespace
}  // namespace simboard::test
