// The typefaces a movie names, in order of preference, and their glyph outlines.
// Each character takes the first face that has a glyph for it, so Japanese and
// Chinese text finds a CJK face even when a Latin face comes first. Outlines come
// unhinted from GDI at a fixed reference size and are scaled by the layout.
#pragma once

#include "animplayer/movie/Movie.h"

#include "formkit/Handle.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace animplayer {

using FontHandle = formkit::UniqueHandle<HFONT, DeleteObject>;

constexpr float kReferenceEm = 256;  // pixels per em of the outlines

struct Glyph {
  float advance = 0;                  // at the reference size
  std::vector<PathSegment> outline;  // y down from the baseline, at the reference size
};

struct FaceMetrics {
  float ascent = 0, descent = 0;  // at the reference size
};

class FontCollection {
 public:
  // Faces that are not installed are left out; when none is, the system's default
  // face stands in.
  FontCollection(const std::vector<std::wstring>& families, bool bold);
  FontCollection(const FontCollection&) = delete;
  FontCollection& operator=(const FontCollection&) = delete;

  // The face (index) that draws `c`.
  size_t FaceFor(wchar_t c);
  const Glyph& GlyphOf(size_t face, wchar_t c);
  const FaceMetrics& MetricsOf(size_t face) const { return m_faces[face].metrics; }
  size_t FaceCount() const { return m_faces.size(); }

 private:
  struct Face {
    FontHandle font;
    FaceMetrics metrics;
    std::map<wchar_t, Glyph> glyphs;
  };
  bool HasGlyph(size_t face, wchar_t c);
  void Select(size_t face);

  // The faces outlive the context they are selected into: the context goes first.
  std::vector<Face> m_faces;
  formkit::MemoryDcHandle m_dc;
  std::map<wchar_t, size_t> m_faceOf;
  size_t m_selected = SIZE_MAX;
};

}  // namespace animplayer
