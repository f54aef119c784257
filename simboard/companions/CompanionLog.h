// What a companion received, one line per message (format in simboard/README.md):
//   <GetTickCount ms> <posted|sent> 0x<message> 0x<wParam> 0x<lParam> <outcome>
#pragma once

#include "simboard/common/Handles.h"

#include <windows.h>

#include <string>

namespace simboard::companions {

class CompanionLog {
 public:
  // Starts an empty log at `path`; a log that cannot be made records nothing.
  explicit CompanionLog(const std::string& path);
  // Each line reaches the file at once, so that others can read it while we run.
  void Record(DWORD tick, bool sent, UINT message, WPARAM wParam, LPARAM lParam, const std::string& outcome);

 private:
  FileHandle m_file;
};

}  // namespace simboard::companions
