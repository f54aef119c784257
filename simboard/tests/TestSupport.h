// Helpers of the simulated board's tests: child programs ended by process id,
// temporary folders and boards, and waiting with a deadline while pumping messages.
#pragma once

#include "simboard/common/Handles.h"

#include <windows.h>

#include <functional>
#include <string>

namespace simboard::test {

// Path of a program of build/simboard, beside the tests' folder.
std::string SimboardProgram(const std::string& name);
std::string SimboardFile(const std::string& name);

std::string ReadTextFile(const std::string& path);
bool WriteTextFile(const std::string& path, const std::string& text);

// Pumps this thread's messages until `done` holds or `timeoutMs` has passed;
// answers `done` one last time.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// A program started by a test; ended by its process id when the test is done.
class ChildProcess {
 public:
  // Starts `program` with `arguments`; stdout and stderr go to `outputPath` when given.
  ChildProcess(const std::string& program, const std::string& arguments, const std::string& outputPath = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return static_cast<bool>(m_process); }
  DWORD Id() const { return m_id; }
  // Its exit code once it has ended within `timeoutMs`, else STILL_ACTIVE.
  DWORD WaitForExit(DWORD timeoutMs = 15000);
  void Terminate();

 private:
  KernelHandle m_process;
  DWORD m_id = 0;
};

struct ProgramResult {
  DWORD exitCode = STILL_ACTIVE;
  std::string output;  // stdout and stderr, lines ended by \n
};
// Runs a program of build/simboard to its end.
ProgramResult RunProgram(const std::string& name, const std::string& arguments);

// A folder of its own under %TEMP%, deleted with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "\\" + name; }

 private:
  std::string m_path;
};

// A board file in a temporary folder, chosen by ZR_BOARD (which child processes
// inherit) for as long as it lives.
class BoardFixture {
 public:
  explicit BoardFixture(const std::string& text);
  ~BoardFixture();
  BoardFixture(const BoardFixture&) = delete;
  BoardFixture& operator=(const BoardFixture&) = delete;
  static BoardFixture DefaultBoardCopy();
  const std::string& Path() const { return m_path; }
  std::string Text() const { return ReadTextFile(m_path); }
  void Rewrite(const std::string& text) const { WriteTextFile(m_path, text); }

 private:
  TempFolder m_folder;
  std::string m_path;
};

uint32_t ReadItemOr(uint32_t id, uint32_t fallback);

}  // namespace simboard::test
