// Draws a movie's current frame. Elements are painted once into sprites and only
// placed on each frame; a sprite is painted again when what it shows changes (its
// text, the drawn part of an arc, the frame's size).
#pragma once

#include "animplayer/movie/MoviePlayback.h"
#include "animplayer/render/FontCollection.h"
#include "animplayer/render/FrameCompositor.h"
#include "animplayer/render/Sprite.h"

#include <memory>
#include <string>
#include <vector>

namespace animplayer {

// The text that an element shows with the movie's current texts.
std::wstring ElementText(const Element& element, const MovieTexts& texts);

class MovieRenderer {
 public:
  explicit MovieRenderer(std::shared_ptr<const Movie> movie);

  // Clears `frame` and draws the movie on it, scaled to fit and centred.
  void Render(const MoviePlayback& playback, FrameView& frame);

 private:
  struct Cached {
    bool valid = false;
    float scale = 0;
    int frameWidth = 0, frameHeight = 0;
    uint32_t textVersion = 0;
    float reveal = -1;
    Sprite normal, lit;
  };
  FontCollection& FontsFor(bool bold);
  void Refresh(size_t index, const MoviePlayback& playback, const ElementState& state, const FrameView& frame);

  std::shared_ptr<const Movie> m_movie;
  std::unique_ptr<FontCollection> m_regular, m_bold;
  std::vector<Cached> m_cache;
};

}  // namespace animplayer
