// What a request asks of a movie, once the function and its argument are understood:
//   changeLabel(text), changeContent(text), set2Digit(number) and
//   externalCommand("show" | "show N" | "end" | "End N" | "play N" | "in" | "out").
#pragma once

#include "animplayer/movie/InvokeRequest.h"

#include <cstdint>
#include <optional>
#include <string>

namespace animplayer {

enum class CommandKind { SetLabel, SetContent, SetDigits, Show, End, Play, In, Out };

struct MovieCommand {
  CommandKind kind;
  std::optional<int32_t> number;  // the level (show, End, play) or the value (set2Digit)
  std::wstring text;              // the label or content
};

// Nothing for unknown functions and arguments that do not fit the function.
// Command words are matched without regard to case ("end" and "End 2" alike).
std::optional<MovieCommand> ToMovieCommand(const InvokeRequest& request);

}  // namespace animplayer
