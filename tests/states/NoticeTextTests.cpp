// The profile notices' label: "%s %dMHz" within the 256-byte notice buffer, a long
// language text cut at a character boundary.
#include "remote/RcProfile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

constexpr unsigned ShiftJis = 932;
// "あ" in Shift-JIS: a lead byte and a trail byte.
const std::string WideChar = "\x82\xA0";

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(NoticeText, FitsTheBufferAndKeepsWholeCharacters) {
  struct Case {
    const char* name;
    std::string text;
    int frequency;
    unsigned codePage;
    std::string expected;
  };
  const std::string longest = Repeat("a", 248);  // with " 220MHz" exactly 255 bytes
  const Case cases[] = {
      {"short", "Profile A on", 220, 1252, "Profile A on 220MHz"},
      {"empty text", "", 5, 1252, " 5MHz"},
      {"negative frequency", "Low", -3, 1252, "Low -3MHz"},
      {"exactly full", longest, 220, 1252, longest + " 220MHz"},
      {"one byte too long", longest + "b", 220, 1252, longest + " 220MHz"},
      {"far too long", Repeat("z", 1000), 1234, 1252, Repeat("z", 247) + " 1234MHz"},
      {"double-byte fits", Repeat(WideChar, 124), 220, ShiftJis, Repeat(WideChar, 124) + " 220MHz"},
      // The 124th character would end one byte past the room: it goes whole.
      {"double-byte at the cut", "x" + Repeat(WideChar, 130), 220, ShiftJis, "x" + Repeat(WideChar, 123) + " 220MHz"},
      // A lead byte with no trail byte left is a character of its own.
      {"lone lead byte at the end", "abc\x82", 7, ShiftJis, "abc\x82 7MHz"},
      {"same bytes as single-byte text", "x" + Repeat(WideChar, 130), 220, 1252,
       "x" + Repeat(WideChar, 130).substr(0, 247) + " 220MHz"},
  };
  for (const Case& c : cases) {
    const std::string label = FormatNoticeText(c.text, c.frequency, c.codePage);
    EXPECT_EQ(label, c.expected) << c.name;
    EXPECT_LT(label.size(), static_cast<size_t>(NoticeTextSize)) << c.name;
  }
}

}  // namespace
