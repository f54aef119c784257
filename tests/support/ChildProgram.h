// A program started by a test or the benchmark: its handle is owned here, and a
// program still running when the object goes is ended by that handle, so that no
// process outlives the scenario that started it.
#pragma once

#include "formkit/Handle.h"

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace zrtest {

struct ChildOptions {
  std::string arguments;                            // after the program path
  std::map<std::string, std::string> environment;   // added to (or replacing in) ours
  std::string currentFolder;                        // empty: ours
};

class ChildProgram {
 public:
  // Nothing when the program cannot be started. Its standard streams go nowhere.
  static std::unique_ptr<ChildProgram> Start(const std::string& program, const ChildOptions& options = {});
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;
  ~ChildProgram();

  DWORD Id() const { return m_id; }
  HANDLE Handle() const { return m_process.Get(); }
  bool IsRunning() const;
  // The exit code; nothing while the program still runs after timeoutMs.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs) const;
  // Ends the program by its handle and waits for it.
  void Kill();

 private:
  ChildProgram(formkit::KernelHandle process, DWORD id) : m_process(std::move(process)), m_id(id) {}

  formkit::KernelHandle m_process;
  DWORD m_id;
};

// The calling program's environment block with `changes` applied, as
// CreateProcessA takes it.
std::string EnvironmentBlock(const std::map<std::string, std::string>& changes);

}  // namespace zrtest
