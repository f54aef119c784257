#include "animplayer/PlayerLog.h"

#include "formkit/Handle.h"

#include <cstdio>
#include <string>

namespace animplayer {

namespace {

constexpr char LogVariable[] = "FLASHOBJ_LOG";

// The log file, opened for appending at the first event; invalid when not asked for.
HANDLE LogFile() {
  static const formkit::FileHandle file = [] {
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA(LogVariable, path, sizeof path);
    if (length == 0 || length >= sizeof path) return formkit::FileHandle();
    return formkit::FileHandle(CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }();
  return file.Get();
}

std::string Ansi(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
  std::string result(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr, nullptr);
  for (char& c : result)
    if (c == '\r' || c == '\n') c = ' ';
  return result;
}

void Write(HWND player, const char* kind, std::wstring_view text) {
  const HANDLE file = LogFile();
  if (file == INVALID_HANDLE_VALUE) return;
  char head[64];
  std::snprintf(head, sizeof head, "%lu 0x%llX %s", static_cast<unsigned long>(GetTickCount()),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(player)), kind);
  std::string line = head;
  if (!text.empty()) line += " " + Ansi(text);
  line += "\r\n";
  // One write per line: appends from several threads never interleave within a line.
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

void LogPlayerCreated(HWND player, std::wstring_view moviePath) { Write(player, "create", moviePath); }

void LogRequest(HWND player, std::wstring_view request) { Write(player, "request", request); }

void LogHostCall(HWND player) { Write(player, "callback", {}); }

}  // namespace animplayer
