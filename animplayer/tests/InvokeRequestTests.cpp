// The request parser and the commands it leads to, as pure functions.
#include "animplayer/movie/InvokeRequest.h"
#include "animplayer/movie/MovieCommand.h"

#include <gtest/gtest.h>

#include <string>

namespace animplayer {
namespace {

std::wstring Invoke(const std::wstring& function, const std::wstring& argument) {
  return L"<invoke name=\"" + function + L"\" returntype=\"xml\"><arguments><string>" + argument +
         L"</string></arguments></invoke>";
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

TEST(InvokeRequestParser, ReadsEveryRequestTheHostSends) {
  const struct {
    std::wstring xml, function, argument;
  } cases[] = {
      {Invoke(L"externalCommand", L"show"), L"externalCommand", L"show"},
      {Invoke(L"externalCommand", L"end"), L"externalCommand", L"end"},
      {Invoke(L"externalCommand", L"show 2"), L"externalCommand", L"show 2"},
      {Invoke(L"externalCommand", L"play 3"), L"externalCommand", L"play 3"},
      {Invoke(L"externalCommand", L"End 1"), L"externalCommand", L"End 1"},
      {Invoke(L"externalCommand", L"in"), L"externalCommand", L"in"},
      {Invoke(L"externalCommand", L"out"), L"externalCommand", L"out"},
      {Invoke(L"set2Digit", L"133"), L"set2Digit", L"133"},
      {Invoke(L"changeLabel", L"Profile A On 4200MHz"), L"changeLabel", L"Profile A On 4200MHz"},
      {Invoke(L"changeContent", L"\x30B3\x30F3\x30D1\x30CB\x30AA\x30F3"), L"changeContent", L"\x30B3\x30F3\x30D1\x30CB\x30AA\x30F3"},
      {Invoke(L"changeLabel", L""), L"changeLabel", L""},
      {L"  <invoke  name = 'changeLabel'\treturntype=\"xml\" >\r\n <arguments>\n  <string>x y</string>\n </arguments>\n</invoke>  ",
       L"changeLabel", L"x y"},
      {L"<invoke returntype=\"xml\" name=\"set2Digit\"><arguments><string>5</string></arguments></invoke>", L"set2Digit", L"5"},
      {L"<invoke name=\"changeLabel\"><arguments><string>no return type</string></arguments></invoke>", L"changeLabel",
       L"no return type"},
      {L"<invoke name=\"changeLabel\" returntype=\"xml\"><arguments><string/></arguments></invoke>", L"changeLabel", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.xml));
    const std::optional<InvokeRequest> r = ParseInvokeRequest(c.xml);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->function, c.function);
    EXPECT_EQ(r->argument, c.argument);
  }
}

TEST(InvokeRequestParser, DecodesEntities) {
  const struct {
    const char* name;
    std::wstring argument, decoded;
  } cases[] = {
      {"the five named ones", L"&lt;&gt;&amp;&quot;&apos;", L"<>&\"'"},
      {"decimal reference", L"A&#66;C", L"ABC"},
      {"hexadecimal reference", L"&#x3042;&#x3044;", L"\x3042\x3044"},
      {"beyond the basic plane", L"&#x1F600;", L"\xD83D\xDE00"},
      {"entity next to text", L"R&amp;D 4200MHz", L"R&D 4200MHz"},
      {"bare ampersand of an unescaped text", L"Power & Saving", L"Power & Saving"},
      {"ampersand without a semicolon", L"A&B", L"A&B"},
      {"raw angle brackets of an unescaped text", L"a <b> c", L"a <b> c"},
      {"a closing tag inside the text", L"x</string>y", L"x</string>y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<InvokeRequest> r = ParseInvokeRequest(Invoke(L"changeLabel", c.argument));
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->argument, c.decoded);
  }
  const std::optional<InvokeRequest> named =
      ParseInvokeRequest(L"<invoke name=\"change&#76;abel\"><arguments><string>x</string></arguments></invoke>");
  ASSERT_TRUE(named.has_value());
  EXPECT_EQ(named->function, L"changeLabel") << "entities in the function name";
}

TEST(InvokeRequestParser, IgnoresMalformedAndHostileRequests) {
  const struct {
    const char* name;
    std::wstring xml;
  } cases[] = {
      {"empty", L""},
      {"plain text", L"show"},
      {"unknown entity", Invoke(L"changeLabel", L"&nbsp;")},
      {"reference to NUL", Invoke(L"changeLabel", L"&#0;")},
      {"reference to a control character", Invoke(L"changeLabel", L"&#1;")},
      {"reference to a surrogate", Invoke(L"changeLabel", L"&#xD800;")},
      {"reference beyond Unicode", Invoke(L"changeLabel", L"&#x110000;")},
      {"huge reference", Invoke(L"changeLabel", L"&#99999999999999999999;")},
      {"reference without digits", Invoke(L"changeLabel", L"&#;")},
      {"hex reference without digits", Invoke(L"changeLabel", L"&#x;")},
      {"bad digit", Invoke(L"changeLabel", L"&#12a;")},
      {"upper-case X is not XML", Invoke(L"changeLabel", L"&#X41;")},
      {"other root element", L"<call name=\"changeLabel\"><arguments><string>x</string></arguments></call>"},
      {"no space before the attributes", L"<invokename=\"a\"><arguments><string>x</string></arguments></invoke>"},
      {"no function name", L"<invoke returntype=\"xml\"><arguments><string>x</string></arguments></invoke>"},
      {"empty function name", Invoke(L"", L"x")},
      {"function name too long", Invoke(std::wstring(65, L'f'), L"x")},
      {"unknown attribute", L"<invoke name=\"a\" x=\"1\"><arguments><string>x</string></arguments></invoke>"},
      {"name given twice", L"<invoke name=\"a\" name=\"b\"><arguments><string>x</string></arguments></invoke>"},
      {"unquoted attribute", L"<invoke name=a><arguments><string>x</string></arguments></invoke>"},
      {"unterminated attribute", L"<invoke name=\"a><arguments><string>x</string></arguments></invoke>"},
      {"attributes run together", L"<invoke name=\"a\"returntype=\"xml\"><arguments><string>x</string></arguments></invoke>"},
      {"no arguments element", L"<invoke name=\"a\"><string>x</string></invoke>"},
      {"number instead of string", L"<invoke name=\"a\"><arguments><number>1</number></arguments></invoke>"},
      {"cut after the string", L"<invoke name=\"a\"><arguments><string>x</string>"},
      {"cut inside the string", L"<invoke name=\"a\"><arguments><string>x"},
      {"cut inside the opening tag", L"<invoke name=\"a\""},
      {"missing </invoke>", L"<invoke name=\"a\"><arguments><string>x</string></arguments>"},
      {"trailing garbage", Invoke(L"a", L"x") + L"<invoke/>"},
      {"over-long request", Invoke(L"changeLabel", std::wstring(kMaxRequestChars, L'x'))},
      {"empty element and text", L"<invoke name=\"a\"><arguments><string/>x</arguments></invoke>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(ParseInvokeRequest(c.xml).has_value());
  }
}

TEST(InvokeRequestParser, SurvivesEveryCutOfARequest) {
  // Every prefix of a request is either refused or read within its bounds.
  const std::wstring full = Invoke(L"changeLabel", L"A &amp; B &#x3042;");
  for (size_t n = 0; n < full.size(); ++n) {
    EXPECT_FALSE(ParseInvokeRequest(std::wstring_view(full).substr(0, n)).has_value()) << "cut at " << n;
  }
  EXPECT_TRUE(ParseInvokeRequest(full).has_value());
}

TEST(MovieCommands, UnderstandsTheFunctionsAndTheirArguments) {
  const struct {
    const char* name;
    std::wstring function, argument;
    CommandKind kind;
    std::optional<int32_t> number;
  } cases[] = {
      {"show", L"externalCommand", L"show", CommandKind::Show, std::nullopt},
      {"show with a level", L"externalCommand", L"show 3", CommandKind::Show, 3},
      {"end", L"externalCommand", L"end", CommandKind::End, std::nullopt},
      {"End with a level", L"externalCommand", L"End 2", CommandKind::End, 2},
      {"End with no level shown yet", L"externalCommand", L"End -1", CommandKind::End, -1},
      {"play", L"externalCommand", L"play 0", CommandKind::Play, 0},
      {"in", L"externalCommand", L"in", CommandKind::In, std::nullopt},
      {"out", L"externalCommand", L"out", CommandKind::Out, std::nullopt},
      {"spaces around", L"externalCommand", L"  play   1 ", CommandKind::Play, 1},
      {"digits", L"set2Digit", L"4200", CommandKind::SetDigits, 4200},
      {"digits before use", L"set2Digit", L"133", CommandKind::SetDigits, 133},
      {"negative digits", L"set2Digit", L"-5", CommandKind::SetDigits, -5},
      {"label", L"changeLabel", L"Profile A", CommandKind::SetLabel, std::nullopt},
      {"content", L"changeContent", L"Text", CommandKind::SetContent, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<MovieCommand> command = ToMovieCommand({c.function, c.argument});
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->kind, c.kind);
    EXPECT_EQ(command->number, c.number);
  }
  const std::optional<MovieCommand> label = ToMovieCommand({L"changeLabel", L" spaced "});
  ASSERT_TRUE(label.has_value());
  EXPECT_EQ(label->text, L" spaced ") << "texts are kept as they are";
}

TEST(MovieCommands, RefusesWhatDoesNotFit) {
  const struct {
    const char* name;
    std::wstring function, argument;
  } cases[] = {
      {"unknown function", L"gotoAndPlay", L"1"},
      {"function names are exact", L"changelabel", L"x"},
      {"unknown command", L"externalCommand", L"jump"},
      {"play needs a level", L"externalCommand", L"play"},
      {"in takes no number", L"externalCommand", L"in 2"},
      {"level is not a number", L"externalCommand", L"show two"},
      {"two numbers", L"externalCommand", L"show 1 2"},
      {"level beyond 32 bits", L"externalCommand", L"play 99999999999"},
      {"digits not a number", L"set2Digit", L"42MHz"},
      {"digits empty", L"set2Digit", L""},
      {"digits beyond 32 bits", L"set2Digit", L"4294967296"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(ToMovieCommand({c.function, c.argument}).has_value());
  }
}

}  // namespace
}  // namespace animplayer
