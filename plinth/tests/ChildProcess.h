// A program started by a test, its standard input and output connected to the
// test through pipes. Ended (by its own handle) if still running when dropped.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "formkit/Handle.h"

namespace plinth::test {

class ChildProcess {
 public:
  // Nothing when the program cannot be started.
  static std::unique_ptr<ChildProcess> Start(const std::string& program, const std::string& arguments);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  DWORD Id() const { return m_id; }
  bool WriteLine(const std::string& line);
  // The next line of output without its line end; nothing when none came in time.
  std::optional<std::string> ReadLine(DWORD timeoutMs);
  // The exit code; nothing when the program still runs after timeoutMs.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs);

 private:
  ChildProcess() = default;

  formkit::KernelHandle m_process;
  formkit::KernelHandle m_input;
  formkit::KernelHandle m_output;
  DWORD m_id = 0;
  std::string m_pending;
};

}  // namespace plinth::test
