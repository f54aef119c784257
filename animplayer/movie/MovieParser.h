// Reads the text of a movie file (format in animplayer/README.md).
#pragma once

#include "animplayer/movie/Movie.h"

#include <optional>
#include <string>
#include <string_view>

namespace animplayer {

// Bounds that keep a damaged or hostile file from costing much.
constexpr size_t kMaxMovieChars = 256 * 1024;
constexpr size_t kMaxElements = 256;
constexpr size_t kMaxTracks = 2048;
constexpr size_t kMaxPathSegments = 4096;
constexpr uint32_t kMaxMovieSide = 4096;
constexpr uint32_t kMaxTimelineMs = 60000;

struct MovieParseError {
  size_t line = 0;  // 1-based; 0 for the file as a whole
  std::string message;
};

// The movie, or nothing with the first error in `error` (when given).
std::optional<Movie> ParseMovie(std::wstring_view text, MovieParseError* error = nullptr);

}  // namespace animplayer
