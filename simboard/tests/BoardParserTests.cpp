// The board file format: what each statement builds, what is refused (with the
// line), and that a value write changes nothing but its word.
#include "simboard/kvacpi/BoardParser.h"

#include <gtest/gtest.h>

namespace simboard {
namespace {

Board ParseOrFail(const std::string& text) {
  BoardParseError error;
  auto board = BoardParser::Parse(text, error);
  EXPECT_TRUE(board.has_value()) << "line " << error.line << ": " << error.message;
  return board ? *board : Board();
}

TEST(BoardParser, BuildsDescriptorsOfEachForm) {
  const Board board = ParseOrFail(
      "# comment line\n"
      "group 3\n"
      "item 0x03010011 number info=7 min=10000 exp=-1 step=100 count=401 extra=\"Auto\" value=101 # trailing\n"
      "item 0x03000005 number min=-5 step=0xFFFFFF count=2\n"
      "group 5\n"
      "item 0x05080002 string text=\"Gaming\" text=\"Say \\\"hi\\\" \\\\ x\"\n"
      "item 0x05070003 onoff info=2 value=1 fail=read,write\n"
      "item 0x05000004 raw u32=9 text=\"t\" fail=info\n");
  using E = Element;
  struct Case {
    uint32_t id;
    std::vector<Element> descriptor;
    uint32_t value;
  } cases[] = {
      {0x03010011, {E::Number(0x03010011), E::Number(0), E::Number(0), E::Number(7), E::Number(0xFF002710),
                    E::Number(100), E::Number(401), E::Number(1), E::Text("Auto")}, 101},
      {0x03000005, {E::Number(0x03000005), E::Number(0), E::Number(0), E::Number(0), E::Number(0x00FFFFFB),
                    E::Number(0xFFFFFF), E::Number(2)}, 0},
      {0x05080002, {E::Number(0x05080002), E::Number(0), E::Number(0), E::Number(0), E::Number(2), E::Text("Gaming"),
                    E::Text("Say \"hi\" \\ x")}, 0},
      {0x05070003, {E::Number(0x05070003), E::Number(0), E::Number(0), E::Number(2)}, 1},
      {0x05000004, {E::Number(9), E::Text("t")}, 0},
  };
  for (const Case& c : cases) {
    const BoardItem* item = board.FindItem(c.id);
    ASSERT_NE(item, nullptr) << std::hex << c.id;
    EXPECT_EQ(item->descriptor, c.descriptor) << std::hex << c.id;
    EXPECT_EQ(item->value, c.value) << std::hex << c.id;
  }
  EXPECT_TRUE(board.FindItem(0x05070003)->failRead);
  EXPECT_TRUE(board.FindItem(0x05070003)->failWrite);
  EXPECT_FALSE(board.FindItem(0x05070003)->failInfo);
  EXPECT_TRUE(board.FindItem(0x05000004)->failInfo);
  ASSERT_EQ(board.Groups().size(), 2u);
  EXPECT_EQ(board.Groups()[1].items.size(), 3u);
}

TEST(BoardParser, BuildsProfileWords) {
  const Board board = ParseOrFail(
      "group 0\n"
      "profile 0 pair=0x03010011:121 pair=5:6\n"
      "profile 1 header=7\n"
      "profile 2 raw u32=1 u32=0x03010011\n"
      "profile 3 fail=call\n");
  EXPECT_EQ(board.FindProfile(0)->words, (std::vector<uint32_t>{1, 0x03010011, 121, 5, 6, 0xFFFFFFFF}));
  EXPECT_EQ(board.FindProfile(1)->words, (std::vector<uint32_t>{7, 0xFFFFFFFF}));
  EXPECT_EQ(board.FindProfile(2)->words, (std::vector<uint32_t>{1, 0x03010011}));
  EXPECT_TRUE(board.FindProfile(3)->failCall);
  EXPECT_EQ(board.FindProfile(4), nullptr);
}

TEST(BoardParser, RefusesBrokenLinesNamingTheLine) {
  struct Case {
    const char* name;
    const char* text;
    unsigned line;
    const char* message;
  } cases[] = {
      {"unknown keyword", "group 1\nitme 1 onoff\n", 2, "unknown keyword \"itme\""},
      {"unknown key", "group 1\nitem 1 number min=0 stpe=1 count=1\n", 2, "unknown key \"stpe\""},
      {"bad number", "group 1\nitem 0x1G onoff\n", 2, "bad number \"0x1G\""},
      {"u32 overflow", "group 1\nitem 0x100000000 onoff\n", 2, "out of range"},
      {"min out of 24 bits", "group 1\nitem 1 number min=-8388609 step=1 count=1\n", 2, "out of range for min"},
      {"exp out of 8 bits", "group 1\nitem 1 number min=0 exp=256 step=1 count=1\n", 2, "out of range for exp"},
      {"unterminated text", "group 1\n\nitem 1 string text=\"abc\n", 3, "unterminated text"},
      {"item before group", "# no group yet\nitem 1 onoff\n", 2, "item before any group"},
      {"group twice", "group 1\ngroup 0x01\n", 2, "given twice"},
      {"item twice", "group 1\nitem 5 onoff\ngroup 2\nitem 5 onoff\n", 4, "given twice"},
      {"slot twice", "profile 1\nprofile 1 fail=call\n", 2, "given twice"},
      {"number without count", "group 1\nitem 1 number min=0 step=1\n", 2, "needs min, step and count"},
      {"unknown form", "group 1\nitem 1 list\n", 2, "unknown form"},
      {"unknown failure", "group 1 fail=write\n", 1, "unknown failure"},
      {"text without quotes", "group 1\nitem 1 string text=abc\n", 2, "double quotes"},
      {"group number too big", "group 256\n", 1, "out of range"},
      {"key of another form", "group 1\nitem 1 onoff min=3\n", 2, "does not belong"},
      {"pair without colon", "profile 0 pair=5\n", 1, "pair needs id:value"},
  };
  for (const Case& c : cases) {
    BoardParseError error;
    EXPECT_FALSE(BoardParser::Parse(c.text, error).has_value()) << c.name;
    EXPECT_EQ(error.line, c.line) << c.name;
    EXPECT_NE(error.message.find(c.message), std::string::npos) << c.name << ": " << error.message;
  }
}

TEST(BoardParser, ValueRewriteKeepsEverythingElse) {
  struct Case {
    const char* name;
    const char* line;
    uint32_t value;
    const char* expected;
  } cases[] = {
      {"decimal", "item 7 onoff value=1   # c", 12, "item 7 onoff value=12   # c"},
      {"hex keeps width", "item 7 onoff value=0x0010", 0xABCDE, "item 7 onoff value=0xABCDE"},
      {"hex pads", "item 7 onoff value=0x0010", 2, "item 7 onoff value=0x0002"},
      {"added", "item 7 onoff info=1  # note", 3, "item 7 onoff info=1 value=3  # note"},
      {"added at end", "item 7 onoff", 4, "item 7 onoff value=4"},
  };
  for (const Case& c : cases) {
    const std::string text = std::string("# head\r\ngroup 0\r\n") + c.line + "\r\nitem 8 onoff value=9\r\n";
    BoardParseError error;
    auto board = BoardParser::Parse(text, error);
    ASSERT_TRUE(board) << c.name;
    const std::string rewritten = Board::TextWithValue(text, *board->FindItem(7), c.value);
    EXPECT_EQ(rewritten, std::string("# head\r\ngroup 0\r\n") + c.expected + "\r\nitem 8 onoff value=9\r\n") << c.name;
    auto again = BoardParser::Parse(rewritten, error);
    ASSERT_TRUE(again) << c.name;
    EXPECT_EQ(again->FindItem(7)->value, c.value) << c.name;
  }
}

}  // namespace
}  // namespace simboard
