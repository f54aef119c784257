#include "animplayer/movie/InvokeRequest.h"

#include <cwctype>
#include <initializer_list>

namespace animplayer {
namespace {

constexpr size_t kMaxEntityNameChars = 8;  // longer words after an '&' are plain text

bool IsXmlSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// A cursor over the request that only ever moves forward within its bounds.
class Scanner {
 public:
  explicit Scanner(std::wstring_view text) : m_text(text) {}

  void SkipSpace() {
    while (m_at < m_text.size() && IsXmlSpace(m_text[m_at])) ++m_at;
  }
  bool Take(std::wstring_view literal) {
    if (m_text.substr(m_at, literal.size()) != literal) return false;
    m_at += literal.size();
    return true;
  }
  bool TakeSpace() {
    const size_t before = m_at;
    SkipSpace();
    return m_at != before;
  }
  bool AtEnd() const { return m_at == m_text.size(); }
  wchar_t Peek() const { return m_at < m_text.size() ? m_text[m_at] : L'\0'; }
  // The text up to (not including) `stop`, which is consumed; nothing if absent.
  std::optional<std::wstring_view> TakeUntil(wchar_t stop) {
    const size_t end = m_text.find(stop, m_at);
    if (end == std::wstring_view::npos) return std::nullopt;
    const std::wstring_view out = m_text.substr(m_at, end - m_at);
    m_at = end + 1;
    return out;
  }
  std::wstring_view Rest() const { return m_text.substr(m_at); }

 private:
  std::wstring_view m_text;
  size_t m_at = 0;
};

bool IsAllowedCharacter(uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendCodePoint(std::wstring& out, uint32_t c) {
  if (c < 0x10000) {
    out += static_cast<wchar_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (c >> 10));
    out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
  }
}

// The character of a numeric reference's body ("#65", "#x41"), if valid.
std::optional<uint32_t> NumericReference(std::wstring_view body) {
  const bool hex = body.size() > 1 && body[1] == L'x';
  const std::wstring_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty()) return std::nullopt;
  uint32_t value = 0;
  for (wchar_t d : digits) {
    uint32_t digit;
    if (d >= L'0' && d <= L'9') {
      digit = static_cast<uint32_t>(d - L'0');
    } else if (hex && d >= L'a' && d <= L'f') {
      digit = static_cast<uint32_t>(d - L'a' + 10);
    } else if (hex && d >= L'A' && d <= L'F') {
      digit = static_cast<uint32_t>(d - L'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + digit;
    if (value > 0x10FFFF) return std::nullopt;  // also keeps the sum from overflowing
  }
  if (!IsAllowedCharacter(value)) return std::nullopt;
  return value;
}

// The shape of an entity name: an ASCII letter, then ASCII letters and digits.
bool LooksLikeName(std::wstring_view body) {
  if (body.empty() || body[0] > 0x7F || !std::iswalpha(body[0])) return false;
  for (wchar_t c : body) {
    if (c > 0x7F || !std::iswalnum(c)) return false;
  }
  return true;
}

std::optional<std::wstring> DecodeEntities(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'&') {
      out += text[i];
      continue;
    }
    const size_t semicolon = text.find(L';', i + 1);
    const std::wstring_view body =
        semicolon == std::wstring_view::npos ? std::wstring_view() : text.substr(i + 1, semicolon - i - 1);
    const bool numeric = !body.empty() && body[0] == L'#';
    if (!numeric && (body.size() > kMaxEntityNameChars || !LooksLikeName(body))) {
      out += L'&';  // a bare ampersand of an unescaped text
      continue;
    }
    if (body == L"lt") {
      out += L'<';
    } else if (body == L"gt") {
      out += L'>';
    } else if (body == L"amp") {
      out += L'&';
    } else if (body == L"quot") {
      out += L'"';
    } else if (body == L"apos") {
      out += L'\'';
    } else if (const std::optional<uint32_t> c = numeric ? NumericReference(body) : std::nullopt) {
      AppendCodePoint(out, *c);
    } else {
      return std::nullopt;
    }
    i = semicolon;
  }
  return out;
}

// One attribute, name="value" or name='value', with spaces around '='.
bool TakeAttribute(Scanner& s, std::wstring_view& name, std::wstring_view& value) {
  const std::wstring_view rest = s.Rest();
  size_t length = 0;
  while (length < rest.size() && (std::iswalnum(rest[length]) && rest[length] <= 0x7F)) ++length;
  if (length == 0) return false;
  name = rest.substr(0, length);
  s.Take(name);
  s.SkipSpace();
  if (!s.Take(L"=")) return false;
  s.SkipSpace();
  const wchar_t quote = s.Peek();
  if (quote != L'"' && quote != L'\'') return false;
  s.Take(std::wstring_view(&quote, 1));
  const std::optional<std::wstring_view> v = s.TakeUntil(quote);
  if (!v || v->find(L'<') != std::wstring_view::npos) return false;
  value = *v;
  return true;
}

// Removes the closing tags, innermost last in `tags`, with whitespace around them,
// from the end of `text`. Searching from the end lets a host's unescaped text
// contain '<'.
bool StripClosingTags(std::wstring_view& text, std::initializer_list<std::wstring_view> tags) {
  for (std::wstring_view tag : tags) {
    while (!text.empty() && IsXmlSpace(text.back())) text.remove_suffix(1);
    if (!text.ends_with(tag)) return false;
    text.remove_suffix(tag.size());
  }
  return true;
}

}  // namespace

std::optional<InvokeRequest> ParseInvokeRequest(std::wstring_view xml) {
  if (xml.size() > kMaxRequestChars) return std::nullopt;
  Scanner s(xml);
  s.SkipSpace();
  if (!s.Take(L"<invoke") || !s.TakeSpace()) return std::nullopt;
  std::optional<std::wstring> function;
  bool sawReturnType = false;
  while (!s.Take(L">")) {
    std::wstring_view name, value;
    if (!TakeAttribute(s, name, value)) return std::nullopt;
    if (name == L"name" && !function) {
      function = DecodeEntities(value);
      if (!function || function->empty() || function->size() > kMaxFunctionNameChars) return std::nullopt;
    } else if (name == L"returntype" && !sawReturnType) {
      sawReturnType = true;
    } else {
      return std::nullopt;  // unknown or repeated attribute
    }
    const bool spaced = s.TakeSpace();
    if (!spaced && s.Peek() != L'>') return std::nullopt;
  }
  if (!function) return std::nullopt;
  s.SkipSpace();
  if (!s.Take(L"<arguments>")) return std::nullopt;
  s.SkipSpace();
  std::wstring_view argument;
  if (s.Take(L"<string/>")) {
    std::wstring_view rest = s.Rest();
    if (!StripClosingTags(rest, {L"</invoke>", L"</arguments>"})) return std::nullopt;
    while (!rest.empty() && IsXmlSpace(rest.back())) rest.remove_suffix(1);
    if (!rest.empty()) return std::nullopt;
  } else {
    if (!s.Take(L"<string>")) return std::nullopt;
    argument = s.Rest();
    if (!StripClosingTags(argument, {L"</invoke>", L"</arguments>", L"</string>"})) return std::nullopt;
  }
  std::optional<std::wstring> decoded = DecodeEntities(argument);
  if (!decoded) return std::nullopt;
  return InvokeRequest{std::move(*function), std::move(*decoded)};
}

}  // namespace animplayer
