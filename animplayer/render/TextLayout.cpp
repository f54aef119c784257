#include "animplayer/render/TextLayout.h"

#include <algorithm>
#include <vector>

namespace animplayer {
namespace {

constexpr float kShrinkStep = 0.94f;
constexpr wchar_t kEllipsis = 0x2026;
constexpr float kWellFilled = 0.66f;  // of the line's width
constexpr int kBalanceSteps = 12;
constexpr float kOrphanShare = 0.3f;  // a last line shorter than this share of the width is evened out

bool IsCjk(wchar_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFFEF);
}

// Closing marks that must not begin a line.
bool IsClosingMark(wchar_t c) {
  static const std::wstring_view kMarks = L"\x3001\x3002\xFF0C\xFF0E\x30FB\xFF1A\xFF1B\xFF1F\xFF01\x300D\x300F\xFF09\x3011\x30FC)]}!?,.:;%";
  return kMarks.find(c) != std::wstring_view::npos;
}

struct Character {
  wchar_t c;
  size_t face;
  float advance;  // at the reference size, tracking not included
};

struct Line {
  size_t begin, end;  // characters, trailing spaces excluded
};

class Layout {
 public:
  Layout(FontCollection& fonts, std::wstring_view text, const TextStyle& style) : m_fonts(fonts), m_style(style) {
    for (wchar_t c : text) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;  // outside the Basic Multilingual Plane: not drawn
      if (c == L'\t') c = L' ';
      if (c < L' ' && c != L'\n') continue;
      const size_t face = c == L'\n' ? 0 : fonts.FaceFor(c);
      m_chars.push_back({c, face, c == L'\n' ? 0 : fonts.GlyphOf(face, c).advance});
    }
    for (const Character& ch : m_chars) m_usedFaces.push_back(ch.face);
    if (m_usedFaces.empty()) m_usedFaces.push_back(0);
    for (size_t face : m_usedFaces) {
      m_ascent = std::max(m_ascent, fonts.MetricsOf(face).ascent);
      m_descent = std::max(m_descent, fonts.MetricsOf(face).descent);
    }
  }

  float Width(size_t begin, size_t end, float scale) const {
    float w = 0;
    for (size_t i = begin; i < end; ++i) w += m_chars[i].advance * scale + m_style.tracking;
    return w;
  }

  // Greedy breaking at the last place the line allows: a space, or between CJK
  // characters. A space is preferred while it still leaves the line well filled,
  // so that a word next to Japanese text is not cut without need.
  std::vector<Line> BreakLines(float scale, float maxWidth) const {
    std::vector<Line> lines;
    size_t start = 0;
    for (;;) {
      size_t end = start, spaceBreak = 0, cjkBreak = 0;
      float width = 0;
      bool overflow = false;
      while (end < m_chars.size() && m_chars[end].c != L'\n') {
        const float next = width + m_chars[end].advance * scale + m_style.tracking;
        const bool isSpace = m_chars[end].c == L' ';
        if (m_style.wrap && next > maxWidth && !isSpace && end > start) {
          overflow = true;
          break;
        }
        if (isSpace) spaceBreak = end + 1;
        if (end + 1 < m_chars.size() && (IsCjk(m_chars[end].c) || IsCjk(m_chars[end + 1].c)) &&
            !IsClosingMark(m_chars[end + 1].c) && m_chars[end + 1].c != L' ') {
          cjkBreak = end + 1;
        }
        width = next;
        ++end;
      }
      size_t lineEnd = end;  // inside a word when the line offers no other place
      if (overflow) {
        const bool spaceFillsLine = spaceBreak > start && Width(start, spaceBreak, scale) >= maxWidth * kWellFilled;
        if (spaceBreak > start && (spaceFillsLine || cjkBreak <= spaceBreak)) lineEnd = spaceBreak;
        else if (cjkBreak > start) lineEnd = cjkBreak;
      }
      size_t trimmed = lineEnd;
      while (trimmed > start && m_chars[trimmed - 1].c == L' ') --trimmed;
      lines.push_back({start, trimmed});
      if (!overflow) {
        if (end >= m_chars.size()) break;
        start = end + 1;  // after the line feed
        continue;
      }
      start = lineEnd;
      while (start < m_chars.size() && m_chars[start].c == L' ') ++start;
    }
    return lines;
  }

  // The narrowest breaking that needs no more lines and cuts no word, so that the
  // last line is not left with a word or a character on its own.
  std::vector<Line> Balance(std::vector<Line> lines, float scale, float maxWidth) const {
    float low = std::max(maxWidth / static_cast<float>(lines.size()), LongestWord(scale)), high = maxWidth;
    if (low >= high) return lines;
    for (int i = 0; i < kBalanceSteps; ++i) {
      const float middle = (low + high) / 2;
      std::vector<Line> trial = BreakLines(scale, middle);
      if (trial.size() <= lines.size()) {
        high = middle;
        lines = std::move(trial);
      } else {
        low = middle;
      }
    }
    return lines;
  }

  // The widest run of characters that no line may break.
  float LongestWord(float scale) const {
    float longest = 0, run = 0;
    for (size_t i = 0; i < m_chars.size(); ++i) {
      const wchar_t c = m_chars[i].c;
      if (c == L' ' || c == L'\n') {
        run = 0;
        continue;
      }
      run += m_chars[i].advance * scale + m_style.tracking;
      longest = std::max(longest, run);
      if (i + 1 < m_chars.size() && (IsCjk(c) || IsCjk(m_chars[i + 1].c)) && !IsClosingMark(m_chars[i + 1].c)) run = 0;
    }
    return longest;
  }

  float LineHeight(float scale) const { return (m_ascent + m_descent) * scale * m_style.lineSpacing; }
  float TextHeight(size_t lines, float scale) const {
    return lines == 0 ? 0 : (m_ascent + m_descent) * scale + LineHeight(scale) * static_cast<float>(lines - 1);
  }

  LaidOutText Build(const TextBox& box) {
    LaidOutText out;
    float size = m_style.size;
    const float minSize = std::max(1.0f, std::min(m_style.minSize > 0 ? m_style.minSize : m_style.size, m_style.size));
    std::vector<Line> lines;
    for (;;) {
      const float scale = size / kReferenceEm;
      lines = BreakLines(scale, box.width);
      float widest = 0;
      for (const Line& l : lines) widest = std::max(widest, Width(l.begin, l.end, scale));
      if ((TextHeight(lines.size(), scale) <= box.height && widest <= box.width) || size <= minSize) break;
      size = std::max(minSize, size * kShrinkStep);
    }
    const float scale = size / kReferenceEm;
    if (m_style.wrap && lines.size() > 1 &&
        Width(lines.back().begin, lines.back().end, scale) < box.width * kOrphanShare) {
      lines = Balance(lines, scale, box.width);
    }
    // What still does not fit ends in an ellipsis.
    size_t fitting = lines.size();
    while (fitting > 1 && TextHeight(fitting, scale) > box.height) --fitting;
    std::vector<std::vector<Character>> shown;
    for (size_t i = 0; i < fitting; ++i) shown.emplace_back(m_chars.begin() + lines[i].begin, m_chars.begin() + lines[i].end);
    const bool cut = fitting < lines.size();
    if (!shown.empty() && (cut || Width(lines[fitting - 1].begin, lines[fitting - 1].end, scale) > box.width)) {
      std::vector<Character>& last = shown.back();
      const size_t face = m_fonts.FaceFor(kEllipsis);
      const Character ellipsis{kEllipsis, face, m_fonts.GlyphOf(face, kEllipsis).advance};
      auto width = [&](const std::vector<Character>& chars) {
        float w = 0;
        for (const Character& ch : chars) w += ch.advance * scale + m_style.tracking;
        return w;
      };
      while (!last.empty() && (width(last) + ellipsis.advance * scale > box.width || last.back().c == L' ')) last.pop_back();
      last.push_back(ellipsis);
      out.truncated = true;
    }

    const float height = TextHeight(shown.size(), scale);
    float y = box.y + m_ascent * scale;
    if (m_style.verticalAlign == VerticalAlign::Middle) y += (box.height - height) / 2;
    if (m_style.verticalAlign == VerticalAlign::Bottom) y += box.height - height;
    for (const std::vector<Character>& line : shown) {
      std::wstring& lineText = out.lines.emplace_back();
      for (const Character& ch : line) lineText += ch.c;
      float width = 0;
      for (const Character& ch : line) width += ch.advance * scale + m_style.tracking;
      width -= line.empty() ? 0 : m_style.tracking;  // no tracking after the last character
      float x = box.x;
      if (m_style.align == HorizontalAlign::Centre) x += (box.width - width) / 2;
      if (m_style.align == HorizontalAlign::Right) x += box.width - width;
      for (const Character& ch : line) {
        const Glyph& glyph = m_fonts.GlyphOf(ch.face, ch.c);
        if (!glyph.outline.empty()) {
          out.outline.SetTransform({scale, 0, 0, scale, x, y});
          out.outline.AddSegments(glyph.outline);
        }
        x += ch.advance * scale + m_style.tracking;
      }
      y += LineHeight(scale);
    }
    out.size = size;
    return out;
  }

 private:
  FontCollection& m_fonts;
  const TextStyle& m_style;
  std::vector<Character> m_chars;
  std::vector<size_t> m_usedFaces;
  float m_ascent = 0, m_descent = 0;
};

}  // namespace

LaidOutText LayOutText(FontCollection& fonts, std::wstring_view text, const TextStyle& style, const TextBox& box) {
  Layout layout(fonts, text, style);
  return layout.Build(box);
}

}  // namespace animplayer
