#include "animplayer/movie/MovieParser.h"

#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <map>
#include <set>

namespace animplayer {
namespace {

constexpr float kMaxCoordinate = 100000.0f;
constexpr size_t kMaxFonts = 16;
constexpr size_t kMaxTextChars = 1024;

struct ParseFailure {
  std::string message;
};

std::string Narrow(std::wstring_view text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

[[noreturn]] void Fail(const std::string& message) { throw ParseFailure{message}; }

// A word of a line: a plain word, a "quoted string", or key=value (value possibly quoted).
struct Token {
  std::wstring key;  // empty when the token has no '='
  std::wstring value;
};

std::vector<Token> Tokenise(std::wstring_view line) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < line.size()) {
    if (std::iswspace(line[i])) {
      ++i;
      continue;
    }
    if (line[i] == L'#') break;  // comment to the end of the line
    Token token;
    std::wstring* target = &token.value;
    bool quoted = false;
    while (i < line.size() && (quoted || !std::iswspace(line[i]))) {
      const wchar_t c = line[i++];
      if (quoted) {
        if (c == L'"') {
          quoted = false;
        } else if (c == L'\\' && i < line.size()) {
          const wchar_t e = line[i++];
          *target += e == L'n' ? L'\n' : e;
        } else {
          *target += c;
        }
      } else if (c == L'"') {
        quoted = true;
      } else if (c == L'=' && target == &token.value && token.key.empty()) {
        token.key = std::move(token.value);
        token.value.clear();
        if (token.key.empty()) Fail("'=' without a name");
      } else {
        *target += c;
      }
    }
    if (quoted) Fail("unterminated quotation");
    tokens.push_back(std::move(token));
  }
  return tokens;
}

float ParseFloat(const std::wstring& text, const char* what) {
  if (text.empty() || text.size() > 32) Fail(std::string("bad number for ") + what);
  wchar_t* end = nullptr;
  const float value = std::wcstof(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value) || std::fabs(value) > kMaxCoordinate) {
    Fail(std::string("bad number for ") + what + ": '" + Narrow(text) + "'");
  }
  return value;
}

uint32_t ParseCount(const std::wstring& text, const char* what, uint32_t max) {
  if (text.empty() || text.size() > 9) Fail(std::string("bad number for ") + what);
  uint32_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') Fail(std::string("bad number for ") + what + ": '" + Narrow(text) + "'");
    value = value * 10 + static_cast<uint32_t>(c - L'0');
  }
  if (value > max) Fail(std::string(what) + " is too large");
  return value;
}

Point ParsePoint(const std::wstring& text, const char* what) {
  const size_t comma = text.find(L',');
  if (comma == std::wstring::npos) Fail(std::string(what) + " needs x,y");
  return {ParseFloat(text.substr(0, comma), what), ParseFloat(text.substr(comma + 1), what)};
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

Colour ParseColour(const std::wstring& text) {
  if ((text.size() != 7 && text.size() != 9) || text[0] != L'#') Fail("colours are #RRGGBB or #RRGGBBAA");
  float channels[4] = {0, 0, 0, 1};
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    const int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
    if (hi < 0 || lo < 0) Fail("bad colour '" + Narrow(text) + "'");
    channels[i / 2] = static_cast<float>(hi * 16 + lo) / 255.0f;
  }
  return {channels[0], channels[1], channels[2], channels[3]};
}

bool ParseYesNo(const std::wstring& text) {
  if (text == L"yes") return true;
  if (text == L"no") return false;
  Fail("expected yes or no");
}

// SVG-like path data: M L H V C Q Z, absolute (upper case) or relative (lower case).
std::vector<PathSegment> ParsePathData(const std::wstring& data) {
  std::vector<PathSegment> segments;
  size_t i = 0;
  auto skip = [&] {
    while (i < data.size() && (std::iswspace(data[i]) || data[i] == L',')) ++i;
  };
  auto number = [&]() -> float {
    skip();
    const size_t start = i;
    if (i < data.size() && (data[i] == L'-' || data[i] == L'+')) ++i;
    while (i < data.size() && (std::iswdigit(data[i]) || data[i] == L'.')) ++i;
    return ParseFloat(data.substr(start, i - start), "path");
  };
  Point current{0, 0}, start{0, 0};
  wchar_t command = 0;
  for (skip(); i < data.size(); skip()) {
    if (std::iswalpha(data[i])) command = data[i++];
    else if (command == 0) Fail("path data must begin with a command");
    const bool relative = std::iswlower(command) != 0;
    const Point origin = relative ? current : Point{0, 0};
    auto point = [&] {
      const float x = number();
      const float y = number();
      return Point{origin.x + x, origin.y + y};
    };
    PathSegment segment{};
    switch (std::towupper(command)) {
      case L'M':
        segment = {PathSegment::Kind::Move, {point()}};
        start = current = segment.points[0];
        command = relative ? L'l' : L'L';  // further pairs are lines
        break;
      case L'L':
        segment = {PathSegment::Kind::Line, {point()}};
        current = segment.points[0];
        break;
      case L'H':
        segment = {PathSegment::Kind::Line, {Point{origin.x + number(), current.y}}};
        current = segment.points[0];
        break;
      case L'V':
        segment = {PathSegment::Kind::Line, {Point{current.x, origin.y + number()}}};
        current = segment.points[0];
        break;
      case L'Q': {
        const Point c = point(), end = point();
        segment = {PathSegment::Kind::Quad, {c, end}};
        current = end;
        break;
      }
      case L'C': {
        const Point c1 = point(), c2 = point(), end = point();
        segment = {PathSegment::Kind::Cubic, {c1, c2, end}};
        current = end;
        break;
      }
      case L'Z':
        segment = {PathSegment::Kind::Close, {}};
        current = start;
        command = 0;
        break;
      default:
        Fail("unknown path command '" + Narrow(std::wstring(1, command)) + "'");
    }
    if (segments.empty() && segment.kind != PathSegment::Kind::Move) Fail("path data must begin with M");
    segments.push_back(segment);
    if (segments.size() > kMaxPathSegments) Fail("path has too many segments");
  }
  if (segments.empty()) Fail("empty path");
  return segments;
}

Property ParseProperty(const std::wstring& text) {
  static const std::map<std::wstring, Property> kNames = {{L"opacity", Property::Opacity}, {L"dx", Property::OffsetX},
                                                          {L"dy", Property::OffsetY},      {L"scale", Property::Scale},
                                                          {L"reveal", Property::Reveal}};
  const auto found = kNames.find(text);
  if (found == kNames.end()) Fail("unknown property '" + Narrow(text) + "'");
  return found->second;
}

Easing ParseEasing(const std::wstring& text) {
  static const std::map<std::wstring, Easing> kNames = {{L"linear", Easing::Linear},
                                                        {L"ease-in", Easing::EaseIn},
                                                        {L"ease-out", Easing::EaseOut},
                                                        {L"ease-in-out", Easing::EaseInOut},
                                                        {L"back-out", Easing::BackOut}};
  const auto found = kNames.find(text);
  if (found == kNames.end()) Fail("unknown easing '" + Narrow(text) + "'");
  return found->second;
}

std::optional<TimelineKind> TimelineNamed(const std::wstring& name) {
  static const std::map<std::wstring, TimelineKind> kNames = {
      {L"show", TimelineKind::Show}, {L"end", TimelineKind::End},   {L"in", TimelineKind::In},
      {L"out", TimelineKind::Out},   {L"play", TimelineKind::Play}, {L"digits", TimelineKind::Digits}};
  const auto found = kNames.find(name);
  if (found == kNames.end()) return std::nullopt;
  return found->second;
}

class Parser {
 public:
  Movie Parse(std::wstring_view text) {
    size_t lineStart = 0;
    while (lineStart <= text.size()) {
      size_t lineEnd = text.find(L'\n', lineStart);
      if (lineEnd == std::wstring_view::npos) lineEnd = text.size();
      ++m_line;
      std::wstring_view line = text.substr(lineStart, lineEnd - lineStart);
      if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
      const std::vector<Token> tokens = Tokenise(line);
      if (!tokens.empty()) ParseLine(tokens);
      lineStart = lineEnd + 1;
    }
    m_line = 0;
    if (!m_sawMagic) Fail("not a movie file: the first line must be 'zentrik-movie 1'");
    if (m_movie.width == 0) Fail("the movie has no size");
    for (Element& e : m_movie.elements) {
      if (!m_pivots.count(e.name)) e.pivot = {m_movie.width / 2.0f, m_movie.height / 2.0f};
    }
    return std::move(m_movie);
  }

  size_t Line() const { return m_line; }

 private:
  void ParseLine(const std::vector<Token>& tokens) {
    const std::wstring& keyword = tokens[0].value;
    if (!tokens[0].key.empty()) Fail("a line must begin with a keyword");
    if (!m_sawMagic) {
      if (keyword != L"zentrik-movie" || tokens.size() != 2 || tokens[1].value != L"1") {
        Fail("not a movie file: the first line must be 'zentrik-movie 1'");
      }
      m_sawMagic = true;
      return;
    }
    if (keyword == L"size") return ParseSize(tokens);
    if (keyword == L"fonts") return ParseFonts(tokens);
    if (keyword == L"calls-host") return ParseCallsHost(tokens);
    if (keyword == L"timeline") return ParseTimeline(tokens);
    if (keyword == L"animate") return ParseTrack(tokens);
    static const std::map<std::wstring, ElementKind> kKinds = {{L"rect", ElementKind::Rect},
                                                               {L"circle", ElementKind::Circle},
                                                               {L"arc", ElementKind::Arc},
                                                               {L"path", ElementKind::Path},
                                                               {L"text", ElementKind::Text}};
    const auto kind = kKinds.find(keyword);
    if (kind == kKinds.end()) Fail("unknown keyword '" + Narrow(keyword) + "'");
    if (m_timeline != nullptr) Fail("elements come before the timelines");
    ParseElement(kind->second, tokens);
  }

  static void ExpectPositional(const std::vector<Token>& tokens, size_t count, const char* usage) {
    if (tokens.size() < count + 1) Fail(std::string("usage: ") + usage);
    for (size_t i = 1; i <= count; ++i) {
      if (!tokens[i].key.empty()) Fail(std::string("usage: ") + usage);
    }
  }

  void ParseSize(const std::vector<Token>& tokens) {
    ExpectPositional(tokens, 2, "size WIDTH HEIGHT");
    if (tokens.size() != 3) Fail("usage: size WIDTH HEIGHT");
    m_movie.width = ParseCount(tokens[1].value, "width", kMaxMovieSide);
    m_movie.height = ParseCount(tokens[2].value, "height", kMaxMovieSide);
    if (m_movie.width == 0 || m_movie.height == 0) Fail("the movie's size must not be 0");
  }

  void ParseFonts(const std::vector<Token>& tokens) {
    ExpectPositional(tokens, tokens.size() - 1, "fonts \"FAMILY\" ...");
    if (tokens.size() < 2 || tokens.size() - 1 > kMaxFonts) Fail("fonts takes 1 to 16 family names");
    for (size_t i = 1; i < tokens.size(); ++i) {
      if (tokens[i].value.empty() || tokens[i].value.size() >= 32) Fail("bad font family name");  // LF_FACESIZE
      m_movie.fonts.push_back(tokens[i].value);
    }
  }

  void ParseCallsHost(const std::vector<Token>& tokens) {
    ExpectPositional(tokens, tokens.size() - 1, "calls-host COMMAND ...");
    MovieContract& c = m_movie.callsHost;
    for (size_t i = 1; i < tokens.size(); ++i) {
      const std::wstring& word = tokens[i].value;
      bool* flag = word == L"show" ? &c.afterShow : word == L"end" ? &c.afterEnd : word == L"in" ? &c.afterIn
                 : word == L"out"  ? &c.afterOut : nullptr;
      if (flag == nullptr) Fail("calls-host knows show, end, in and out, not '" + Narrow(word) + "'");
      *flag = true;
    }
  }

  void ParseElement(ElementKind kind, const std::vector<Token>& tokens) {
    if (m_movie.elements.size() >= kMaxElements) Fail("too many elements");
    Element e;
    e.kind = kind;
    if (tokens.size() < 2 || !tokens[1].key.empty() || tokens[1].value.empty()) Fail("an element needs a name");
    e.name = Narrow(tokens[1].value);
    if (m_names.count(e.name)) Fail("element '" + e.name + "' is defined twice");
    size_t next = 2;
    auto positional = [&](const char* usage) -> const std::wstring& {
      if (next >= tokens.size() || !tokens[next].key.empty()) Fail(std::string("usage: ") + usage);
      return tokens[next++].value;
    };
    switch (kind) {
      case ElementKind::Rect:
      case ElementKind::Text: {
        const char* usage = kind == ElementKind::Rect ? "rect NAME X Y WIDTH HEIGHT ..." : "text NAME X Y WIDTH HEIGHT ...";
        e.x = ParseFloat(positional(usage), "x");
        e.y = ParseFloat(positional(usage), "y");
        e.width = ParseFloat(positional(usage), "width");
        e.height = ParseFloat(positional(usage), "height");
        if (e.width <= 0 || e.height <= 0) Fail("width and height must be positive");
        break;
      }
      case ElementKind::Circle:
      case ElementKind::Arc: {
        const char* usage = kind == ElementKind::Circle ? "circle NAME CX CY R ..." : "arc NAME CX CY R ...";
        e.centreX = ParseFloat(positional(usage), "cx");
        e.centreY = ParseFloat(positional(usage), "cy");
        e.radius = ParseFloat(positional(usage), "radius");
        if (e.radius <= 0) Fail("the radius must be positive");
        break;
      }
      case ElementKind::Path:
        e.path = ParsePathData(positional("path NAME \"DATA\" ..."));
        break;
    }
    Point at{0, 0};
    float pathScale = 1;
    for (; next < tokens.size(); ++next) {
      const Token& t = tokens[next];
      if (t.key.empty()) Fail("unexpected '" + Narrow(t.value) + "': attributes are key=value");
      ParseAttribute(e, t, at, pathScale);
    }
    for (PathSegment& s : e.path) {
      for (Point& p : s.points) p = {at.x + p.x * pathScale, at.y + p.y * pathScale};
    }
    Validate(e);
    m_names.insert(e.name);
    if (!e.group.empty()) m_groups.insert(e.group);
    m_movie.elements.push_back(std::move(e));
  }

  void ParseAttribute(Element& e, const Token& t, Point& at, float& pathScale) {
    const std::wstring& k = t.key;
    const std::wstring& v = t.value;
    const bool isText = e.kind == ElementKind::Text;
    if (k == L"group") e.group = Narrow(v);
    else if (k == L"pivot") {
      e.pivot = ParsePoint(v, "pivot");
      m_pivots.insert(e.name);
    } else if (k == L"glow") e.glow = ParseColour(v);
    else if (k == L"glow-radius") e.glowRadius = ParseFloat(v, "glow-radius");
    else if (k == L"glow-offset") {
      const Point p = ParsePoint(v, "glow-offset");
      e.glowOffsetX = p.x;
      e.glowOffsetY = p.y;
    } else if (k == L"level") e.level = static_cast<int32_t>(ParseCount(v, "level", 1000000));
    else if (k == L"lit-fill") e.lit.fill = ParseColour(v);
    else if (k == L"lit-fill2") e.lit.fill2 = ParseColour(v);
    else if (k == L"lit-stroke") e.lit.stroke = ParseColour(v);
    else if (k == L"lit-glow") e.lit.glow = ParseColour(v);
    else if (k == L"lit-color" && isText) e.lit.text = ParseColour(v);
    else if (k == L"fill" && !isText && e.kind != ElementKind::Arc) e.fill = ParseColour(v);
    else if (k == L"fill2" && !isText && e.kind != ElementKind::Arc) e.fill2 = ParseColour(v);
    else if (k == L"stroke" && !isText) e.stroke = ParseColour(v);
    else if (k == L"stroke-width" && !isText) e.strokeWidth = ParseFloat(v, "stroke-width");
    else if (k == L"radius" && e.kind == ElementKind::Rect) e.radius = ParseFloat(v, "radius");
    else if (k == L"start" && e.kind == ElementKind::Arc) e.startAngle = ParseFloat(v, "start");
    else if (k == L"sweep" && e.kind == ElementKind::Arc) e.sweepAngle = ParseFloat(v, "sweep");
    else if (k == L"caps" && e.kind == ElementKind::Arc) {
      if (v != L"round" && v != L"flat") Fail("caps are round or flat");
      e.roundCaps = v == L"round";
    } else if (k == L"at" && e.kind == ElementKind::Path) at = ParsePoint(v, "at");
    else if (k == L"scale" && e.kind == ElementKind::Path) pathScale = ParseFloat(v, "scale");
    else if (k == L"text" && isText) {
      if (v.size() > kMaxTextChars) Fail("text is too long");
      e.source = TextSource::Literal;
      e.text = v;
    } else if (k == L"bind" && isText) {
      static const std::map<std::wstring, TextSource> kSources = {{L"label", TextSource::Label},
                                                                  {L"content", TextSource::Content},
                                                                  {L"digits", TextSource::Digits},
                                                                  {L"level", TextSource::Level}};
      const auto found = kSources.find(v);
      if (found == kSources.end()) Fail("bind takes label, content, digits or level");
      e.source = found->second;
    } else if (k == L"size" && isText) e.fontSize = ParseFloat(v, "size");
    else if (k == L"min-size" && isText) e.minFontSize = ParseFloat(v, "min-size");
    else if (k == L"weight" && isText) {
      if (v != L"bold" && v != L"regular") Fail("weight is bold or regular");
      e.bold = v == L"bold";
    } else if (k == L"color" && isText) e.textColour = ParseColour(v);
    else if (k == L"align" && isText) {
      if (v == L"left") e.align = HorizontalAlign::Left;
      else if (v == L"center") e.align = HorizontalAlign::Centre;
      else if (v == L"right") e.align = HorizontalAlign::Right;
      else Fail("align is left, center or right");
    } else if (k == L"valign" && isText) {
      if (v == L"top") e.verticalAlign = VerticalAlign::Top;
      else if (v == L"middle") e.verticalAlign = VerticalAlign::Middle;
      else if (v == L"bottom") e.verticalAlign = VerticalAlign::Bottom;
      else Fail("valign is top, middle or bottom");
    } else if (k == L"wrap" && isText) e.wrap = ParseYesNo(v);
    else if (k == L"tracking" && isText) e.tracking = ParseFloat(v, "tracking");
    else if (k == L"line-spacing" && isText) e.lineSpacing = ParseFloat(v, "line-spacing");
    else Fail("unknown attribute '" + Narrow(k) + "' for this element");
  }

  static void Validate(const Element& e) {
    if (e.strokeWidth < 0 || e.glowRadius < 0 || e.radius < 0) Fail("widths and radii must not be negative");
    if (e.glowRadius > 200) Fail("glow-radius is at most 200");
    if (e.stroke && e.strokeWidth <= 0) Fail("a stroke needs a stroke-width");
    if (e.kind == ElementKind::Arc && !e.stroke) Fail("an arc needs a stroke");
    if (e.kind == ElementKind::Text) {
      if (e.fontSize < 1 || e.fontSize > 1000) Fail("size is 1 to 1000");
      if (e.minFontSize > e.fontSize) Fail("min-size is above size");
      if (e.lineSpacing < 0.5f || e.lineSpacing > 4) Fail("line-spacing is 0.5 to 4");
    }
    if (e.fill2 && !e.fill) Fail("fill2 needs a fill");
    if (e.kind != ElementKind::Text && !e.fill && !e.stroke) Fail("a shape needs a fill or a stroke");
  }

  void ParseTimeline(const std::vector<Token>& tokens) {
    ExpectPositional(tokens, 2, "timeline NAME DURATION");
    if (tokens.size() != 3) Fail("usage: timeline NAME DURATION");
    const std::optional<TimelineKind> kind = TimelineNamed(tokens[1].value);
    if (!kind) Fail("timelines are show, end, in, out, play and digits");
    auto& slot = m_movie.timelines[static_cast<size_t>(*kind)];
    if (slot) Fail("timeline '" + Narrow(tokens[1].value) + "' is defined twice");
    slot.emplace();
    slot->durationMs = ParseCount(tokens[2].value, "duration", kMaxTimelineMs);
    m_timeline = &*slot;
  }

  void ParseTrack(const std::vector<Token>& tokens) {
    if (m_timeline == nullptr) Fail("animate belongs to a timeline");
    ExpectPositional(tokens, 6, "animate TARGET PROPERTY FROM TO START LENGTH [EASING]");
    if (tokens.size() > 8) Fail("usage: animate TARGET PROPERTY FROM TO START LENGTH [EASING]");
    const std::string target = Narrow(tokens[1].value);
    const Property property = ParseProperty(tokens[2].value);
    std::optional<float> from;
    if (tokens[3].value != L"*") from = ParseFloat(tokens[3].value, "from");
    const float to = ParseFloat(tokens[4].value, "to");
    const uint32_t start = ParseCount(tokens[5].value, "start", kMaxTimelineMs);
    const uint32_t length = ParseCount(tokens[6].value, "length", kMaxTimelineMs);
    const Easing easing = tokens.size() == 8 ? ParseEasing(tokens[7].value) : Easing::Linear;
    if (start + length > m_timeline->durationMs) Fail("the animation runs past the end of its timeline");
    bool matched = false;
    for (size_t i = 0; i < m_movie.elements.size(); ++i) {
      const Element& e = m_movie.elements[i];
      if (target != "*" && target != e.name && target != e.group) continue;
      matched = true;
      if (++m_trackCount > kMaxTracks) Fail("too many animations");
      m_timeline->tracks.push_back({i, property, from, to, start, length, easing});
    }
    if (!matched) Fail("no element or group named '" + target + "'");
  }

  Movie m_movie;
  Timeline* m_timeline = nullptr;
  size_t m_line = 0;
  size_t m_trackCount = 0;
  bool m_sawMagic = false;
  std::set<std::string> m_names, m_groups, m_pivots;
};

}  // namespace

std::optional<Movie> ParseMovie(std::wstring_view text, MovieParseError* error) {
  Parser parser;
  try {
    if (text.size() > kMaxMovieChars) Fail("the file is too large");
    return parser.Parse(text);
  } catch (const ParseFailure& failure) {
    if (error != nullptr) *error = {parser.Line(), failure.message};
    return std::nullopt;
  }
}

}  // namespace animplayer
