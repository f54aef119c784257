// What the players receive and do, written to a file for tests and benchmarks when
// the environment variable FLASHOBJ_LOG names one (it is read once, at the first
// event). One line each, appended at once so that others can read while we run:
//   <GetTickCount ms> 0x<player window> create <movie path>
//   <GetTickCount ms> 0x<player window> request <the XML request>
//   <GetTickCount ms> 0x<player window> callback
// Texts are in the ANSI code page, in which the host wrote them; line breaks in
// them become blanks. Without the variable nothing is written.
#pragma once

#include <windows.h>

#include <string_view>

namespace animplayer {

void LogPlayerCreated(HWND player, std::wstring_view moviePath);
void LogRequest(HWND player, std::wstring_view request);
void LogHostCall(HWND player);

}  // namespace animplayer
