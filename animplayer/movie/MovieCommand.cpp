#include "animplayer/movie/MovieCommand.h"

#include "animplayer/movie/WideText.h"

#include <cwctype>
#include <limits>

namespace animplayer {
namespace {

std::wstring_view Trim(std::wstring_view text) {
  while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
  while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
  return text;
}

// A decimal number with an optional sign that fits in 32 bits, and nothing else.
std::optional<int32_t> ParseNumber(std::wstring_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  int64_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<MovieCommand> ParseExternalCommand(std::wstring_view argument) {
  argument = Trim(argument);
  size_t wordEnd = 0;
  while (wordEnd < argument.size() && !std::iswspace(argument[wordEnd])) ++wordEnd;
  const std::wstring_view word = argument.substr(0, wordEnd);
  const std::wstring_view rest = Trim(argument.substr(wordEnd));
  enum class Number { None, Optional, Required };
  static const struct {
    const wchar_t* word;
    CommandKind kind;
    Number number;
  } kCommands[] = {
      {L"show", CommandKind::Show, Number::Optional}, {L"end", CommandKind::End, Number::Optional},
      {L"play", CommandKind::Play, Number::Required}, {L"in", CommandKind::In, Number::None},
      {L"out", CommandKind::Out, Number::None},
  };
  for (const auto& command : kCommands) {
    if (!EqualsIgnoringCase(word, command.word)) continue;
    if (rest.empty()) {
      if (command.number == Number::Required) return std::nullopt;
      return MovieCommand{command.kind, std::nullopt, {}};
    }
    if (command.number == Number::None) return std::nullopt;
    const std::optional<int32_t> number = ParseNumber(rest);
    if (!number) return std::nullopt;
    return MovieCommand{command.kind, number, {}};
  }
  return std::nullopt;
}

}  // namespace

std::optional<MovieCommand> ToMovieCommand(const InvokeRequest& request) {
  if (request.function == L"changeLabel") return MovieCommand{CommandKind::SetLabel, std::nullopt, request.argument};
  if (request.function == L"changeContent") return MovieCommand{CommandKind::SetContent, std::nullopt, request.argument};
  if (request.function == L"set2Digit") {
    const std::optional<int32_t> value = ParseNumber(request.argument);
    if (!value) return std::nullopt;
    return MovieCommand{CommandKind::SetDigits, value, {}};
  }
  if (request.function == L"externalCommand") return ParseExternalCommand(request.argument);
  return std::nullopt;
}

}  // namespace animplayer
