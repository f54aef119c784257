// The movie format: the shipped movies, what a small movie turns into, and the
// errors of broken files.
#include "animplayer/movie/MovieFile.h"
#include "animplayer/movie/MovieParser.h"
#include "animplayer/tests/TestFiles.h"

#include <gtest/gtest.h>

namespace animplayer {
namespace {

const wchar_t kHeader[] = L"zentrik-movie 1\nsize 400 300\n";

TEST(MovieFormat, TheShippedMoviesParseWithTheirCallBackPoints) {
  const struct {
    const wchar_t* file;
    uint32_t width, height;
    bool afterShow, afterEnd, afterIn, afterOut;
  } cases[] = {
      {L"ZentrikProfileOn.swf", 400, 650, true, true, false, false},
      {L"ZentrikProfileOff.swf", 400, 650, true, true, false, false},
      {L"QPSAuto.swf", 400, 650, false, true, false, false},
      {L"QPSManual.swf", 750, 650, false, true, false, false},
      {L"OCTuning.swf", 550, 400, false, false, true, true},
      {L"Warning.swf", 400, 650, false, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file, c.file + wcslen(c.file)));
    const LoadedMovie loaded = LoadMovie(test::ResourceFolder() + c.file);
    ASSERT_NE(loaded.movie, nullptr);
    EXPECT_EQ(loaded.movie->width, c.width);
    EXPECT_EQ(loaded.movie->height, c.height);
    EXPECT_EQ(loaded.contract.afterShow, c.afterShow);
    EXPECT_EQ(loaded.contract.afterEnd, c.afterEnd);
    EXPECT_EQ(loaded.contract.afterIn, c.afterIn);
    EXPECT_EQ(loaded.contract.afterOut, c.afterOut);
    // What the movie is shown with must be animated in and out.
    const bool slides = c.afterIn;
    EXPECT_NE(loaded.movie->TimelineFor(slides ? TimelineKind::In : TimelineKind::Show), nullptr);
    EXPECT_NE(loaded.movie->TimelineFor(slides ? TimelineKind::Out : TimelineKind::End), nullptr);
  }
}

TEST(MovieFormat, ReadsElementsAndTimelines) {
  const std::wstring text = std::wstring(kHeader) +
                            L"fonts \"Segoe UI\" \"WenQuanYi Micro Hei\"\n"
                            L"calls-host show end   # a comment\n"
                            L"rect card 10 20 380 260 radius=12 fill=#11223344 fill2=#000000 group=all\n"
                            L"text label 20 30 360 100 bind=label size=30 min-size=12 weight=bold align=left wrap=no\n"
                            L"path mark \"M 0 0 L 10 0 l 0 10 H 0 Z\" at=100,50 scale=2 fill=#FFFFFF pivot=5,5\n"
                            L"rect bar 0 0 10 10 level=2 fill=#000000 lit-fill=#FF0000\n"
                            L"timeline show 500\n"
                            L"  animate all opacity 0 1 0 200 ease-out\n"
                            L"  animate * scale * 1.2 100 400 back-out\n";
  MovieParseError error;
  const std::optional<Movie> movie = ParseMovie(text, &error);
  ASSERT_TRUE(movie.has_value()) << error.line << ": " << error.message;
  EXPECT_EQ(movie->fonts, (std::vector<std::wstring>{L"Segoe UI", L"WenQuanYi Micro Hei"}));
  EXPECT_TRUE(movie->callsHost.afterShow && movie->callsHost.afterEnd && !movie->callsHost.afterIn);
  ASSERT_EQ(movie->elements.size(), 4u);
  const Element& card = movie->elements[0];
  EXPECT_EQ(card.kind, ElementKind::Rect);
  EXPECT_FLOAT_EQ(card.width, 380);
  ASSERT_TRUE(card.fill && card.fill2);
  EXPECT_NEAR(card.fill->a, 0x44 / 255.0f, 1e-6);
  EXPECT_FLOAT_EQ(card.pivot.x, 200) << "the movie's centre by default";
  const Element& label = movie->elements[1];
  EXPECT_EQ(label.source, TextSource::Label);
  EXPECT_TRUE(label.bold);
  EXPECT_FALSE(label.wrap);
  EXPECT_EQ(label.align, HorizontalAlign::Left);
  const Element& mark = movie->elements[2];
  ASSERT_EQ(mark.path.size(), 5u);
  EXPECT_FLOAT_EQ(mark.path[2].points[0].x, 120) << "relative line, placed and scaled";
  EXPECT_FLOAT_EQ(mark.path[2].points[0].y, 70);
  EXPECT_FLOAT_EQ(mark.pivot.x, 5);
  EXPECT_EQ(movie->elements[3].level, 2);
  const Timeline* show = movie->TimelineFor(TimelineKind::Show);
  ASSERT_NE(show, nullptr);
  EXPECT_EQ(show->durationMs, 500u);
  ASSERT_EQ(show->tracks.size(), 1u + 4u) << "a group names its members, * every element";
  EXPECT_EQ(show->tracks[0].element, 0u);
  EXPECT_FALSE(show->tracks[1].from.has_value());
  EXPECT_EQ(show->tracks[4].easing, Easing::BackOut);
}

TEST(MovieFormat, ReportsTheFirstErrorWithItsLine) {
  const struct {
    std::wstring text;
    size_t line;
    const char* message;
  } cases[] = {
      {L"", 0, "first line"},
      {L"zentrik-movie 2\n", 1, "first line"},
      {L"zentrik-movie 1\n", 0, "no size"},
      {L"zentrik-movie 1\nsize 0 10\n", 2, "must not be 0"},
      {L"zentrik-movie 1\nsize 9000 10\n", 2, "too large"},
      {std::wstring(kHeader) + L"sparkle 1\n", 3, "unknown keyword"},
      {std::wstring(kHeader) + L"rect a 0 0 10\n", 3, "usage: rect"},
      {std::wstring(kHeader) + L"rect a 0 0 10 10 fil=#fff\n", 3, "unknown attribute 'fil'"},
      {std::wstring(kHeader) + L"rect a 0 0 10 10 fill=#12345\n", 3, "colours"},
      {std::wstring(kHeader) + L"rect a 0 0 10 10 fill=#GG0000\n", 3, "bad colour"},
      {std::wstring(kHeader) + L"rect a 0 0 10 10\n", 3, "fill or a stroke"},
      {std::wstring(kHeader) + L"rect a 0 0 10 10 fill=#000000\nrect a 0 0 1 1 fill=#000000\n", 4, "defined twice"},
      {std::wstring(kHeader) + L"rect a 0 0 1e9 10 fill=#000000\n", 3, "bad number"},
      {std::wstring(kHeader) + L"rect a 0 0 nan 10 fill=#000000\n", 3, "bad number"},
      {std::wstring(kHeader) + L"text t 0 0 10 10 text=\"open\n", 3, "unterminated"},
      {std::wstring(kHeader) + L"text t 0 0 10 10 bind=title\n", 3, "bind takes"},
      {std::wstring(kHeader) + L"text t 0 0 10 10 size=10 min-size=20\n", 3, "min-size"},
      {std::wstring(kHeader) + L"path p \"L 1 1\" fill=#000000\n", 3, "begin with M"},
      {std::wstring(kHeader) + L"path p \"M 1 1 X 2\" fill=#000000\n", 3, "unknown path command"},
      {std::wstring(kHeader) + L"arc a 10 10 5 fill=#000000\n", 3, "unknown attribute"},
      {std::wstring(kHeader) + L"arc a 10 10 5\n", 3, "needs a stroke"},
      {std::wstring(kHeader) + L"calls-host fade\n", 3, "calls-host knows"},
      {std::wstring(kHeader) + L"animate a opacity 0 1 0 10\n", 3, "belongs to a timeline"},
      {std::wstring(kHeader) + L"timeline wobble 10\n", 3, "timelines are"},
      {std::wstring(kHeader) + L"timeline show 100\ntimeline show 100\n", 4, "defined twice"},
      {std::wstring(kHeader) + L"timeline show 100000\n", 3, "too large"},
      {std::wstring(kHeader) + L"rect a 0 0 1 1 fill=#000000\ntimeline show 100\nanimate b opacity 0 1 0 10\n", 5, "no element"},
      {std::wstring(kHeader) + L"rect a 0 0 1 1 fill=#000000\ntimeline show 100\nanimate a spin 0 1 0 10\n", 5, "unknown property"},
      {std::wstring(kHeader) + L"rect a 0 0 1 1 fill=#000000\ntimeline show 100\nanimate a dx 0 1 50 60\n", 5, "past the end"},
      {std::wstring(kHeader) + L"rect a 0 0 1 1 fill=#000000\ntimeline show 100\nanimate a dx 0 1 0 10 bounce\n", 5, "unknown easing"},
      {std::wstring(kHeader) + L"rect a 0 0 1 1 fill=#000000\ntimeline show 100\nrect b 0 0 1 1 fill=#000000\n", 5, "before the timelines"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    MovieParseError error;
    EXPECT_FALSE(ParseMovie(c.text, &error).has_value());
    EXPECT_EQ(error.line, c.line);
    EXPECT_NE(error.message.find(c.message), std::string::npos) << error.message;
  }
}

TEST(MovieFormat, BoundsWhatAFileMayAskFor) {
  std::wstring many = kHeader;
  for (size_t i = 0; i <= kMaxElements; ++i) many += L"rect r" + std::to_wstring(i) + L" 0 0 1 1 fill=#000000\n";
  MovieParseError error;
  EXPECT_FALSE(ParseMovie(many, &error).has_value());
  EXPECT_NE(error.message.find("too many elements"), std::string::npos);

  std::wstring longPath = std::wstring(kHeader) + L"path p \"M 0 0";
  for (size_t i = 0; i <= kMaxPathSegments; ++i) longPath += L" L 1 1";
  longPath += L"\" fill=#000000\n";
  EXPECT_FALSE(ParseMovie(longPath, &error).has_value());
  EXPECT_NE(error.message.find("too many segments"), std::string::npos);

  EXPECT_FALSE(ParseMovie(std::wstring(kMaxMovieChars + 1, L' '), &error).has_value());
  EXPECT_NE(error.message.find("too large"), std::string::npos);
}

TEST(MovieFiles, PathsAndFallbacks) {
  const struct {
    const wchar_t* path;
    const wchar_t* normalised;
  } paths[] = {
      {L"C:\\Program\\//Resource//QPSAuto.swf", L"C:\\Program\\Resource\\QPSAuto.swf"},
      {L"C:/a/b.swf", L"C:\\a\\b.swf"},
      {L"\\\\server\\share\\\\m.swf", L"\\\\server\\share\\m.swf"},
      {L"//server//share/m.swf", L"\\\\server\\share\\m.swf"},
  };
  for (const auto& p : paths) EXPECT_EQ(NormaliseMoviePath(p.path), p.normalised);
  EXPECT_EQ(MovieFileName(L"C:\\x\\//Resource//Warning.swf"), L"Warning.swf");

  const struct {
    const wchar_t* name;
    bool afterShow;
  } fallbacks[] = {{L"ZentrikProfileOn.swf", true}, {L"zentrikprofileoff.SWF", true}, {L"QPSAuto.swf", false},
                   {L"QPSManual.swf", false},       {L"OCTuning.swf", false},          {L"Other.swf", false}};
  for (const auto& f : fallbacks) {
    const MovieContract c = FallbackContract(f.name);
    EXPECT_EQ(c.afterShow, f.afterShow) << std::string(f.name, f.name + wcslen(f.name));
    EXPECT_TRUE(c.afterEnd && c.afterIn && c.afterOut);
  }
}

TEST(MovieFiles, AMissingOrBrokenFileGivesNoMovieButTheFallbackContract) {
  const LoadedMovie missing = LoadMovie(test::ResourceFolder() + L"//NoSuch//ZentrikProfileOn.swf");
  EXPECT_EQ(missing.movie, nullptr);
  EXPECT_TRUE(missing.contract.afterShow);
  test::ScratchFile broken(L"QPSAuto.swf", "zentrik-movie 1\nsize 10 10\nrect a\n");
  const LoadedMovie unreadable = LoadMovie(broken.Path());
  EXPECT_EQ(unreadable.movie, nullptr);
  EXPECT_TRUE(unreadable.contract.afterEnd);
  EXPECT_FALSE(unreadable.contract.afterShow);
  test::ScratchFile notUtf8(L"Warning.swf", "zentrik-movie 1\nsize 10 10\n# \xFF\xFE\n");
  EXPECT_EQ(LoadMovie(notUtf8.Path()).movie, nullptr);
  test::ScratchFile withBom(L"OCTuning.swf", "\xEF\xBB\xBFzentrik-movie 1\r\nsize 10 10\r\n");
  EXPECT_NE(LoadMovie(withBom.Path()).movie, nullptr) << "a byte-order mark and CRLF line ends are fine";
}

}  // namespace
}  // namespace animplayer
