// Request texts: escaping, and fitting long texts into their buffers at character
// boundaries of the code page.
#include "osd/InvokeRequest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Label(const std::string& text) {
  return "<invoke name=\"changeLabel\" returntype=\"xml\"><arguments><string>" + text +
         "</string></arguments></invoke>";
}

TEST(InvokeRequest, IsTheInvokeTextWithTheArgumentEscaped) {
  const struct {
    const char* argument;
    const char* expected;
  } cases[] = {
      {"show", "show"},
      {"", ""},
      {"Tom & Jerry", "Tom &amp; Jerry"},
      {"<b>5</b>", "&lt;b&gt;5&lt;/b&gt;"},
      {"\"quoted\" 'text'", "\"quoted\" 'text'"},
  };
  for (const auto& c : cases) EXPECT_EQ(InvokeRequest("changeLabel", c.argument), Label(c.expected)) << c.argument;
}

TEST(InvokeRequest, FittedRequestsKeepWithinTheirBufferAtCharacterBoundaries) {
  const std::string a161(161, 'a');
  const std::string a162(162, 'a');
  const std::string a200(200, 'a');
  const std::string kanji = "\x93\xFA";  // one character of code page 932
  const struct {
    const char* name;
    std::string text;
    UINT codePage;
    std::string expected;
  } cases[] = {
      {"162 characters fit a 256-byte label", a162, 1252, a162},
      {"longer text is cut to 162", a200, 1252, a162},
      {"a double-byte character that does not fit whole is left out", a161 + kanji, 932, a161},
      {"a double-byte character that fits stays whole", std::string(160, 'a') + kanji + "b", 932,
       std::string(160, 'a') + kanji},
      {"the same bytes are two characters in code page 1252", a161 + kanji, 1252, a161 + "\x93"},
      {"a UTF-8 character is never split", a161 + "\xC3\xA9", CP_UTF8, a161},
      {"an escape that does not fit whole is left out", a161 + "&", 1252, a161},
      {"an escape counts with its full length", std::string(157, 'a') + "&x", 1252,
       std::string(157, 'a') + "&amp;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string request = FittedInvokeRequest("changeLabel", c.text, 256, c.codePage);
    EXPECT_EQ(request, Label(c.expected));
    EXPECT_LE(request.size() + 1, 256u);
  }
}

TEST(InvokeRequest, ContentHoldsUpTo928Characters) {
  const std::string request = FittedInvokeRequest("changeContent", std::string(2000, 'c'), 1024, 1252);
  EXPECT_EQ(request.size(), 1023u);
  EXPECT_EQ(request, "<invoke name=\"changeContent\" returntype=\"xml\"><arguments><string>" + std::string(928, 'c') +
                         "</string></arguments></invoke>");
}

TEST(InvokeRequest, ParsingGivesBackFunctionAndArgument) {
  const struct {
    const wchar_t* request;
    const wchar_t* function;
    const wchar_t* argument;
  } cases[] = {
      {L"<invoke name=\"externalCommand\" returntype=\"xml\"><arguments><string>End 3</string></arguments></invoke>",
       L"externalCommand", L"End 3"},
      {L"<invoke name=\"changeLabel\" returntype=\"xml\"><arguments><string>a &amp; &lt;b&gt;</string></arguments>"
       L"</invoke>",
       L"changeLabel", L"a & <b>"},
      {L"garbage", L"", L""},
  };
  for (const auto& c : cases) {
    const InvokeCall call = ParseInvokeRequest(c.request);
    EXPECT_EQ(call.function, c.function) << c.request;
    EXPECT_EQ(call.argument, c.argument) << c.request;
  }
}

}  // namespace
