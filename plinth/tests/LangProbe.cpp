// A program of its own for the language tests: the texts are looked up beside the
// running executable, so the tests copy this one next to a LangFiles folder they
// write. Each line read from standard input is a text key; the text found for it
// is written back as one line, raw bytes in the ANSI code page.
#include <windows.h>

#include <string>

#include "plinth/System/Source/KvMultiLang.h"

int main() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  std::string pending;
  char chunk[512];
  DWORD read = 0;
  while (ReadFile(input, chunk, sizeof chunk, &read, nullptr) && read > 0) {
    pending.append(chunk, read);
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      std::string key = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!key.empty() && key.back() == '\r') key.pop_back();
      const std::string reply = plinth::KvMultiLang::Instance()->GetText(key.c_str()) + "\n";
      DWORD written = 0;
      if (!WriteFile(output, reply.data(), static_cast<DWORD>(reply.size()), &written, nullptr)) return 1;
    }
  }
  return 0;
}
