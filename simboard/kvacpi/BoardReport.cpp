#include "simboard/kvacpi/BoardReport.h"

#include "simboard/common/Handles.h"

#include <windows.h>

namespace simboard {
namespace {

void WriteAll(HANDLE file, const std::string& text) {
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

void ReportBoardProblem(const std::string& boardPath, const std::string& text) {
  const std::string line = "KVACPI: " + text + "\r\n";
  OutputDebugStringA(line.c_str());
  HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
  if (standardError && standardError != INVALID_HANDLE_VALUE) WriteAll(standardError, line);
  FileHandle log(CreateFileA((boardPath + ".log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (log) WriteAll(log.Get(), line);
}

}  // namespace simboard
