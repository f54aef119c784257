#include "simboard/companions/CompanionLog.h"

#include <cstdio>

namespace simboard::companions {

CompanionLog::CompanionLog(const std::string& path)
    : m_file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

void CompanionLog::Record(DWORD tick, bool sent, UINT message, WPARAM wParam, LPARAM lParam,
                          const std::string& outcome) {
  if (!m_file) return;
  char line[512];
  int n = std::snprintf(line, sizeof line, "%lu %s 0x%04X 0x%08X 0x%08X %s\r\n", static_cast<unsigned long>(tick),
                        sent ? "sent" : "posted", message, static_cast<unsigned>(wParam),
                        static_cast<unsigned>(lParam), outcome.c_str());
  if (n < 0) return;
  DWORD length = static_cast<DWORD>(n < static_cast<int>(sizeof line) ? n : sizeof line - 1), written = 0;
  WriteFile(m_file.Get(), line, length, &written, nullptr);
}

}  // namespace simboard::companions
