// Lays a text out in a box: lines broken at spaces (and between CJK characters),
// the size shrunk step by step until the text fits, and an ellipsis where even the
// smallest size does not hold it all. The result is the glyphs' outline.
#pragma once

#include "animplayer/render/FontCollection.h"
#include "animplayer/render/VectorPath.h"

#include <string>
#include <string_view>
#include <vector>

namespace animplayer {

struct TextStyle {
  float size = 24, minSize = 0;  // device pixels
  HorizontalAlign align = HorizontalAlign::Centre;
  VerticalAlign verticalAlign = VerticalAlign::Middle;
  bool wrap = true;
  float tracking = 0;  // device pixels
  float lineSpacing = 1.15f;
};

struct TextBox {
  float x, y, width, height;  // device pixels
};

struct LaidOutText {
  VectorPath outline;
  float size = 0;         // the size used
  std::vector<std::wstring> lines;  // the text of each line shown
  bool truncated = false;  // an ellipsis stands for text that did not fit
};

LaidOutText LayOutText(FontCollection& fonts, std::wstring_view text, const TextStyle& style, const TextBox& box);

}  // namespace animplayer
