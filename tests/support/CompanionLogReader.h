// Reads what a simulated companion logged: one line per message it received,
//   <GetTickCount ms> <posted|sent> 0x<message> 0x<wParam> 0x<lParam> <outcome>
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace zrtest {

struct CompanionMessage {
  DWORD tick = 0;
  bool sent = false;  // SendMessage, else PostMessage
  uint32_t message = 0;
  uint32_t wParam = 0;
  uint32_t lParam = 0;
  std::string outcome;
};

std::ostream& operator<<(std::ostream& out, const CompanionMessage& message);

// Every whole line of the log, in order; empty when the file is missing.
std::vector<CompanionMessage> ReadCompanionLog(const std::string& path);

}  // namespace zrtest
