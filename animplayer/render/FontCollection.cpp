#include "animplayer/render/FontCollection.h"

#include <cwctype>

namespace animplayer {
namespace {

FontHandle CreateFace(const std::wstring& family, bool bold) {
  LOGFONTW font{};
  font.lfHeight = -static_cast<LONG>(kReferenceEm);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  font.lfQuality = ANTIALIASED_QUALITY;
  wcsncpy_s(font.lfFaceName, LF_FACESIZE, family.c_str(), _TRUNCATE);
  return FontHandle(CreateFontIndirectW(&font));
}

bool SameName(const wchar_t* a, const std::wstring& b) {
  size_t i = 0;
  for (; a[i] != 0 && i < b.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return a[i] == 0 && i == b.size();
}

float FixedToFloat(FIXED f) { return static_cast<float>(f.value) + static_cast<float>(f.fract) / 65536.0f; }

// The glyph's outline in GDI's native form: contours of lines and quadratic
// B-splines (TrueType) or cubic Béziers (CFF), y up.
std::vector<PathSegment> ParseNativeOutline(const std::vector<uint8_t>& buffer) {
  std::vector<PathSegment> out;
  auto point = [](const POINTFX& p) { return Point{FixedToFloat(p.x), -FixedToFloat(p.y)}; };
  size_t at = 0;
  while (at + sizeof(TTPOLYGONHEADER) <= buffer.size()) {
    const auto* header = reinterpret_cast<const TTPOLYGONHEADER*>(&buffer[at]);
    const size_t end = at + header->cb;
    if (header->cb < sizeof(TTPOLYGONHEADER) || end > buffer.size()) break;
    Point current = point(header->pfxStart);
    out.push_back({PathSegment::Kind::Move, {current}});
    size_t c = at + sizeof(TTPOLYGONHEADER);
    while (c + sizeof(TTPOLYCURVE) - sizeof(POINTFX) <= end) {
      const auto* curve = reinterpret_cast<const TTPOLYCURVE*>(&buffer[c]);
      const size_t size = sizeof(TTPOLYCURVE) + (curve->cpfx - 1) * sizeof(POINTFX);
      if (curve->cpfx == 0 || c + size > end) break;
      const POINTFX* pts = curve->apfx;
      if (curve->wType == TT_PRIM_LINE) {
        for (WORD i = 0; i < curve->cpfx; ++i) out.push_back({PathSegment::Kind::Line, {point(pts[i])}});
        current = point(pts[curve->cpfx - 1]);
      } else if (curve->wType == TT_PRIM_QSPLINE) {
        // Between two off-curve points lies an implied on-curve point at their middle.
        for (WORD i = 0; i + 1 < curve->cpfx; ++i) {
          const Point control = point(pts[i]);
          const Point next = point(pts[i + 1]);
          const Point end = i + 2 == curve->cpfx ? next : Point{(control.x + next.x) / 2, (control.y + next.y) / 2};
          out.push_back({PathSegment::Kind::Quad, {control, end}});
          current = end;
        }
      } else if (curve->wType == TT_PRIM_CSPLINE) {
        for (WORD i = 0; i + 2 < curve->cpfx; i += 3) {
          out.push_back({PathSegment::Kind::Cubic, {point(pts[i]), point(pts[i + 1]), point(pts[i + 2])}});
          current = point(pts[i + 2]);
        }
      }
      c += size;
    }
    out.push_back({PathSegment::Kind::Close, {}});
    at = end;
  }
  return out;
}

}  // namespace

FontCollection::FontCollection(const std::vector<std::wstring>& families, bool bold)
    : m_dc(CreateCompatibleDC(nullptr)) {
  auto add = [this](FontHandle font) {
    Face face;
    face.font = std::move(font);
    m_faces.push_back(std::move(face));
    Select(m_faces.size() - 1);
    TEXTMETRICW tm{};
    GetTextMetricsW(m_dc.Get(), &tm);
    m_faces.back().metrics = {static_cast<float>(tm.tmAscent), static_cast<float>(tm.tmDescent)};
  };
  for (const std::wstring& family : families) {
    FontHandle font = CreateFace(family, bold);
    if (!font || !m_dc) continue;
    // The font mapper substitutes a missing face silently; only the face we asked
    // for counts.
    const HGDIOBJ previous = SelectObject(m_dc.Get(), font.Get());
    wchar_t actual[LF_FACESIZE] = {};
    GetTextFaceW(m_dc.Get(), LF_FACESIZE, actual);
    SelectObject(m_dc.Get(), previous);
    if (SameName(actual, family)) add(std::move(font));
  }
  if (m_faces.empty()) add(CreateFace(L"", bold));
}

void FontCollection::Select(size_t face) {
  if (m_selected == face) return;
  SelectObject(m_dc.Get(), m_faces[face].font.Get());
  m_selected = face;
}

bool FontCollection::HasGlyph(size_t face, wchar_t c) {
  Select(face);
  WORD index = 0;
  return GetGlyphIndicesW(m_dc.Get(), &c, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 && index != 0xFFFF;
}

size_t FontCollection::FaceFor(wchar_t c) {
  const auto known = m_faceOf.find(c);
  if (known != m_faceOf.end()) return known->second;
  size_t chosen = 0;
  for (size_t face = 0; face < m_faces.size(); ++face) {
    if (HasGlyph(face, c)) {
      chosen = face;
      break;
    }
  }
  m_faceOf.emplace(c, chosen);
  return chosen;
}

const Glyph& FontCollection::GlyphOf(size_t face, wchar_t c) {
  std::map<wchar_t, Glyph>& glyphs = m_faces[face].glyphs;
  const auto known = glyphs.find(c);
  if (known != glyphs.end()) return known->second;
  Select(face);
  Glyph glyph;
  const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  GLYPHMETRICS metrics{};
  const UINT format = GGO_NATIVE | GGO_UNHINTED;
  const DWORD size = GetGlyphOutlineW(m_dc.Get(), c, format, &metrics, 0, nullptr, &identity);
  if (size != GDI_ERROR) {
    glyph.advance = static_cast<float>(metrics.gmCellIncX);
    if (size > 0) {
      std::vector<uint8_t> buffer(size);
      if (GetGlyphOutlineW(m_dc.Get(), c, format, &metrics, size, buffer.data(), &identity) != GDI_ERROR) {
        glyph.outline = ParseNativeOutline(buffer);
      }
    }
  } else if (GetGlyphOutlineW(m_dc.Get(), c, GGO_METRICS, &metrics, 0, nullptr, &identity) != GDI_ERROR) {
    glyph.advance = static_cast<float>(metrics.gmCellIncX);
  }
  return glyphs.emplace(c, std::move(glyph)).first->second;
}

}  // namespace animplayer
