// Tells about a board file that cannot be used. Never a message box: the library
// runs inside unattended programs and tests, which a modal box would stop.
#pragma once

#include <string>

namespace simboard {

// Sends "KVACPI: <text>" to the debugger output, to standard error when the process
// has one, and appends it to "<board file>.log".
void ReportBoardProblem(const std::string& boardPath, const std::string& text);

}  // namespace simboard
