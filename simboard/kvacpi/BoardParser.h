// Reads the text of a board file (format in simboard/README.md) into a Board.
#pragma once

#include "simboard/kvacpi/Board.h"

#include <optional>
#include <string>
#include <string_view>

namespace simboard {

struct BoardParseError {
  unsigned line = 0;  // 1-based
  std::string message;
};

class BoardParser {
 public:
  // The board, or nothing with `error` telling the first line that is wrong.
  static std::optional<Board> Parse(std::string_view text, BoardParseError& error);
};

}  // namespace simboard
