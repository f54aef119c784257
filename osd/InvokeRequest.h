// The XML "invoke" requests through which the program runs a movie's ActionScript
// functions, each with one string argument:
//   <invoke name="F" returntype="xml"><arguments><string>A</string></arguments></invoke>
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

// The request for `function` with `argument` (8-bit text), the argument escaped
// for XML so that "&", "<" and ">" reach the movie as written.
std::string InvokeRequest(std::string_view function, std::string_view argument);

// The same for a text that may be long: the text is escaped and, where the request
// with its terminating NUL would not fit `capacity` bytes, cut before the first
// character (of `codePage`, a DBCS code page or UTF-8 included) that does not fit.
std::string FittedInvokeRequest(std::string_view function, std::string_view text, size_t capacity,
                                UINT codePage = CP_ACP);

// A request taken apart again (as a player reads it), the argument unescaped.
struct InvokeCall {
  std::wstring function;
  std::wstring argument;
};
InvokeCall ParseInvokeRequest(std::wstring_view request);
