#include "tests/support/CompanionLogReader.h"

#include "tests/support/FileText.h"

#include <cstdio>
#include <sstream>

namespace zrtest {

std::ostream& operator<<(std::ostream& out, const CompanionMessage& m) {
  char text[96];
  std::snprintf(text, sizeof text, "%lu %s 0x%04X 0x%X 0x%X ", static_cast<unsigned long>(m.tick),
                m.sent ? "sent" : "posted", m.message, m.wParam, m.lParam);
  return out << text << m.outcome;
}

std::vector<CompanionMessage> ReadCompanionLog(const std::string& path) {
  std::vector<CompanionMessage> messages;
  for (const std::string& line : WholeLines(ReadFileText(path))) {
    std::istringstream fields(line);
    CompanionMessage m;
    std::string how, message, wParam, lParam;
    if (!(fields >> m.tick >> how >> message >> wParam >> lParam)) continue;
    m.sent = how == "sent";
    m.message = static_cast<uint32_t>(std::stoul(message, nullptr, 16));
    m.wParam = static_cast<uint32_t>(std::stoul(wParam, nullptr, 16));
    m.lParam = static_cast<uint32_t>(std::stoul(lParam, nullptr, 16));
    std::getline(fields >> std::ws, m.outcome);
    messages.push_back(m);
  }
  return messages;
}

}  // namespace zrtest
