// Finding and reading a movie file, and what the player falls back to when there is
// no usable movie: nothing is drawn, but the host is still called at the points it
// waits for, so that it never hangs on a missing or damaged file.
#pragma once

#include "animplayer/movie/Movie.h"

#include <memory>
#include <string>
#include <string_view>

namespace animplayer {

// The path with forward slashes turned into backslashes and runs of separators
// collapsed (a leading "\\" of a network path is kept). Hosts build paths such as
// "C:\Program\//Resource//Movie.swf".
std::wstring NormaliseMoviePath(std::wstring_view path);

// The file name part of a path, after its last separator.
std::wstring_view MovieFileName(std::wstring_view path);

// When the movie cannot be used: the host is called after "end", "in" and "out"
// for every movie, and also after "show" for the profile movies (matched by file
// name, ignoring case).
MovieContract FallbackContract(std::wstring_view fileName);

struct LoadedMovie {
  std::shared_ptr<const Movie> movie;  // null when missing or unreadable
  MovieContract contract;
};

// Reads a UTF-8 movie file (a byte-order mark is allowed).
LoadedMovie LoadMovie(std::wstring_view path);

}  // namespace animplayer
