// The XML "invoke" requests that a host sends to a movie:
//   <invoke name="F" returntype="xml"><arguments><string>ARG</string></arguments></invoke>
// Only this shape is understood (with free whitespace between the parts). Anything
// else, or anything too long, is no request at all.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace animplayer {

constexpr size_t kMaxRequestChars = 8192;
constexpr size_t kMaxFunctionNameChars = 64;

struct InvokeRequest {
  std::wstring function;  // entities decoded
  std::wstring argument;  // entities decoded
};

// Entities: &lt; &gt; &amp; &quot; &apos; and numeric references (&#N; &#xN;) to
// characters that XML allows. A reference that looks like one but is unknown or
// invalid makes the request malformed; an '&' that does not start a reference at
// all stays as it is, because hosts insert their texts without escaping them.
std::optional<InvokeRequest> ParseInvokeRequest(std::wstring_view xml);

}  // namespace animplayer
