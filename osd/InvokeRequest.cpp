#include "osd/InvokeRequest.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::string_view Opening = "<invoke name=\"";
constexpr std::string_view Middle = "\" returntype=\"xml\"><arguments><string>";
constexpr std::string_view Closing = "</string></arguments></invoke>";

std::string_view EscapeOf(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    default:
      return {};
  }
}

// Bytes of the character that starts at text[0].
size_t CharacterLength(std::string_view text, UINT codePage) {
  const auto lead = static_cast<unsigned char>(text[0]);
  size_t length = 1;
  if (codePage == CP_UTF8) {
    if (lead >= 0xF0) {
      length = 4;
    } else if (lead >= 0xE0) {
      length = 3;
    } else if (lead >= 0xC0) {
      length = 2;
    }
  } else if (IsDBCSLeadByteEx(codePage, lead)) {
    length = 2;
  }
  // A character cut off by the end of the text counts for what is left of it.
  return std::min(length, text.size());
}

// Appends the escaped text to `out` while it stays within `room` bytes.
void AppendEscaped(std::string& out, std::string_view text, size_t room, UINT codePage) {
  if (codePage == CP_ACP) codePage = GetACP();
  size_t used = 0;
  while (!text.empty()) {
    const size_t length = CharacterLength(text, codePage);
    const std::string_view escape = length == 1 ? EscapeOf(text[0]) : std::string_view();
    const std::string_view piece = escape.empty() ? text.substr(0, length) : escape;
    if (used + piece.size() > room) return;
    out.append(piece);
    used += piece.size();
    text.remove_prefix(length);
  }
}

std::string Build(std::string_view function, std::string_view argument, size_t room, UINT codePage) {
  std::string request;
  request.reserve(Opening.size() + function.size() + Middle.size() + argument.size() + Closing.size());
  request.append(Opening).append(function).append(Middle);
  AppendEscaped(request, argument, room, codePage);
  request.append(Closing);
  return request;
}

std::wstring Unescape(std::wstring_view text) {
  static const std::pair<std::wstring_view, wchar_t> entities[] = {
      {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&apos;", L'\''}};
  std::wstring plain;
  while (!text.empty()) {
    bool replaced = false;
    if (text[0] == L'&') {
      for (const auto& [entity, character] : entities) {
        if (text.substr(0, entity.size()) == entity) {
          plain.push_back(character);
          text.remove_prefix(entity.size());
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) {
      plain.push_back(text[0]);
      text.remove_prefix(1);
    }
  }
  return plain;
}

}  // namespace

std::string InvokeRequest(std::string_view function, std::string_view argument) {
  return Build(function, argument, std::string_view::npos, CP_ACP);
}

std::string FittedInvokeRequest(std::string_view function, std::string_view text, size_t capacity, UINT codePage) {
  const size_t frame = Opening.size() + function.size() + Middle.size() + Closing.size() + 1;  // + NUL
  return Build(function, text, capacity > frame ? capacity - frame : 0, codePage);
}

InvokeCall ParseInvokeRequest(std::wstring_view request) {
  InvokeCall call;
  constexpr std::wstring_view nameStart = L"name=\"";
  constexpr std::wstring_view argumentStart = L"<string>";
  constexpr std::wstring_view argumentEnd = L"</string>";
  if (const size_t name = request.find(nameStart); name != std::wstring_view::npos) {
    const size_t from = name + nameStart.size();
    const size_t to = request.find(L'"', from);
    if (to != std::wstring_view::npos) call.function = request.substr(from, to - from);
  }
  const size_t from = request.find(argumentStart);
  const size_t to = request.rfind(argumentEnd);
  if (from != std::wstring_view::npos && to != std::wstring_view::npos && to >= from + argumentStart.size())
    call.argument = Unescape(request.substr(from + argumentStart.size(), to - from - argumentStart.size()));
  return call;
}
