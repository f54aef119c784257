#include "animplayer/movie/MovieFile.h"

#include "animplayer/movie/MovieParser.h"
#include "animplayer/movie/WideText.h"
#include "formkit/Handle.h"

#include <windows.h>

#include <vector>

namespace animplayer {
namespace {

constexpr DWORD kMaxMovieBytes = kMaxMovieChars * 3;  // UTF-8 takes at most 3 bytes a UTF-16 unit

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::optional<std::wstring> ReadUtf8File(const std::wstring& path) {
  formkit::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxMovieBytes) return std::nullopt;
  std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size())) {
    return std::nullopt;
  }
  size_t skip = 0;
  if (bytes.size() >= 3 && bytes[0] == '\xEF' && bytes[1] == '\xBB' && bytes[2] == '\xBF') skip = 3;
  const int count = static_cast<int>(bytes.size() - skip);
  if (count == 0) return std::wstring();
  const int chars = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + skip, count, nullptr, 0);
  if (chars <= 0) return std::nullopt;
  std::wstring text(static_cast<size_t>(chars), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + skip, count, text.data(), chars);
  return text;
}

}  // namespace

std::wstring NormaliseMoviePath(std::wstring_view path) {
  std::wstring out;
  out.reserve(path.size());
  size_t i = 0;
  bool afterSeparator = false;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    out = L"\\\\";
    i = 2;
    afterSeparator = true;
  }
  for (; i < path.size(); ++i) {
    if (!IsSeparator(path[i])) {
      out += path[i];
      afterSeparator = false;
    } else if (!afterSeparator) {
      out += L'\\';
      afterSeparator = true;
    }
  }
  return out;
}

std::wstring_view MovieFileName(std::wstring_view path) {
  const size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

MovieContract FallbackContract(std::wstring_view fileName) {
  MovieContract contract;
  contract.afterEnd = contract.afterIn = contract.afterOut = true;
  contract.afterShow =
      EqualsIgnoringCase(fileName, L"ZentrikProfileOn.swf") || EqualsIgnoringCase(fileName, L"ZentrikProfileOff.swf");
  return contract;
}

LoadedMovie LoadMovie(std::wstring_view path) {
  const std::wstring normalised = NormaliseMoviePath(path);
  if (const std::optional<std::wstring> text = ReadUtf8File(normalised)) {
    if (std::optional<Movie> movie = ParseMovie(*text)) {
      const MovieContract contract = movie->callsHost;
      return {std::make_shared<const Movie>(std::move(*movie)), contract};
    }
  }
  return {nullptr, FallbackContract(MovieFileName(normalised))};
}

}  // namespace animplayer
