#include "tests/support/FileText.h"

#include "formkit/Handle.h"

#include <windows.h>

namespace zrtest {

std::string ReadFileText(const std::string& path) {
  formkit::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string text;
  char buffer[16384];
  DWORD read = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  return text;
}

std::vector<std::string> WholeLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    size_t length = end - start;
    if (length > 0 && text[end - 1] == '\r') --length;
    lines.push_back(text.substr(start, length));
  }
  return lines;
}

bool WriteFileText(const std::string& path, const std::string& bytes) {
  formkit::FileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace zrtest
