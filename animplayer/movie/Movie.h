// A movie as the player holds it once its file has been read: the pictures and texts
// it is made of (elements), where they come from, and how they move (timelines).
// The file format is described in animplayer/README.md.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace animplayer {

struct Colour {
  float r, g, b, a;  // straight (not premultiplied), 0 to 1
};

struct Point {
  float x, y;
};

enum class ElementKind { Rect, Circle, Arc, Path, Text };
enum class TextSource { Literal, Label, Content, Digits, Level };
enum class HorizontalAlign { Left, Centre, Right };
enum class VerticalAlign { Top, Middle, Bottom };

// One drawing step of a path, in absolute movie coordinates.
struct PathSegment {
  enum class Kind { Move, Line, Quad, Cubic, Close } kind;
  std::array<Point, 3> points;  // Move, Line: [0]; Quad: control [0], end [1]; Cubic: [0], [1], end [2]
};

// The colours an element takes while its level is the movie's current level.
struct LitLook {
  std::optional<Colour> fill, fill2, stroke, glow, text;
};

struct Element {
  std::string name;
  std::string group;  // several elements animated as one
  ElementKind kind = ElementKind::Rect;

  // Geometry, in movie pixels.
  float x = 0, y = 0, width = 0, height = 0;  // rect and text box
  float centreX = 0, centreY = 0;              // circle and arc
  float radius = 0;                            // rect corners, circle and arc
  float startAngle = -90, sweepAngle = 360;    // arc, degrees clockwise from 3 o'clock
  bool roundCaps = false;                      // arc
  std::vector<PathSegment> path;               // path

  // Paint. fill2 makes the fill a vertical gradient from fill (top) to fill2 (bottom).
  std::optional<Colour> fill, fill2, stroke;
  float strokeWidth = 0;
  std::optional<Colour> glow;  // a soft halo (or, offset and dark, a shadow) behind the element
  float glowRadius = 0, glowOffsetX = 0, glowOffsetY = 0;

  // Text.
  TextSource source = TextSource::Literal;
  std::wstring text;
  float fontSize = 24, minFontSize = 0;  // shrunk down to minFontSize to fit its box
  bool bold = false;
  Colour textColour{1, 1, 1, 1};
  HorizontalAlign align = HorizontalAlign::Centre;
  VerticalAlign verticalAlign = VerticalAlign::Middle;
  bool wrap = true;
  float tracking = 0;       // extra space after each character, in pixels
  float lineSpacing = 1.15f;

  // Level display: lit while the movie's level equals `level`.
  std::optional<int32_t> level;
  LitLook lit;

  Point pivot{0, 0};  // centre of scaling; the movie's centre unless given
};

enum class Property { Opacity, OffsetX, OffsetY, Scale, Reveal };
constexpr size_t kPropertyCount = 5;

enum class Easing { Linear, EaseIn, EaseOut, EaseInOut, BackOut };

// One property of one element moving from `from` to `to`; no `from` means "the
// value the property had when the timeline began".
struct Track {
  size_t element;
  Property property;
  std::optional<float> from;
  float to;
  uint32_t startMs;
  uint32_t lengthMs;
  Easing easing;
};

// The animations a movie plays. show/end/in/out are the main timelines: they set
// where things are, and what they leave stays. play/digits are accents, played on
// top when the level or the value changes while the movie is on screen: their
// values combine with the main ones and return to neutral afterwards.
enum class TimelineKind { Show, End, In, Out, Play, Digits };
constexpr size_t kTimelineCount = 6;

struct Timeline {
  uint32_t durationMs = 0;
  std::vector<Track> tracks;
};

// After which commands the movie calls its host, once their animation has run.
struct MovieContract {
  bool afterShow = false;
  bool afterEnd = false;
  bool afterIn = false;
  bool afterOut = false;
};

struct Movie {
  uint32_t width = 0, height = 0;
  std::vector<std::wstring> fonts;  // in order of preference, per character
  MovieContract callsHost;
  std::vector<Element> elements;  // drawn in this order
  std::array<std::optional<Timeline>, kTimelineCount> timelines;

  const Timeline* TimelineFor(TimelineKind kind) const {
    const auto& t = timelines[static_cast<size_t>(kind)];
    return t ? &*t : nullptr;
  }
};

}  // namespace animplayer
