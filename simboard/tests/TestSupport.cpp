#include "simboard/tests/TestSupport.h"

#include "oc/AcpiLibrary.h"

#include <vector>

namespace simboard::test {
namespace {

std::string TestsFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string full(path, n);
  return full.substr(0, full.find_last_of('\\'));
}

void DeleteTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (search) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search.Get(), &found));
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::string SimboardFile(const std::string& name) {
  std::string tests = TestsFolder();
  return tests.substr(0, tests.find_last_of('\\')) + "\\simboard\\" + name;
}

std::string SimboardProgram(const std::string& name) { return SimboardFile(name + ".exe"); }

std::string ReadTextFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string text;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) && read > 0) text.append(chunk, read);
  return text;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return done();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    // Sleeps only until a message arrives or the next look is due.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(20, deadline - now)),
                              QS_ALLINPUT);
  }
  return true;
}

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments, const std::string& outputPath) {
  std::string commandLine = "\"" + program + "\" " + arguments;
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  FileHandle output;
  if (!outputPath.empty()) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    output.Reset(CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output.Get();
    startup.hStdError = output.Get();
  }
  PROCESS_INFORMATION info{};
  if (CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, output ? TRUE : FALSE, CREATE_NO_WINDOW, nullptr,
                     nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    m_process.Reset(info.hProcess);
    m_id = info.dwProcessId;
  }
}

ChildProcess::~ChildProcess() { Terminate(); }

DWORD ChildProcess::WaitForExit(DWORD timeoutMs) {
  if (!m_process) return STILL_ACTIVE;
  WaitForSingleObject(m_process.Get(), timeoutMs);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(m_process.Get(), &code);
  return code;
}

void ChildProcess::Terminate() {
  if (m_process && WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process.Get(), 1);
    WaitForSingleObject(m_process.Get(), 5000);
  }
}

ProgramResult RunProgram(const std::string& name, const std::string& arguments) {
  TempFolder folder;
  const std::string outputPath = folder.File("output.txt");
  ProgramResult result;
  {
    ChildProcess child(SimboardProgram(name), arguments, outputPath);
    result.exitCode = child.WaitForExit();
  }
  // Console programs write text mode: line ends as \r\n.
  for (char c : ReadTextFile(outputPath)) {
    if (c != '\r') result.output += c;
  }
  return result;
}

TempFolder::TempFolder() {
  static LONG counter = 0;
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  m_path = std::string(base) + "simboard-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(InterlockedIncrement(&counter));
  CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder() { DeleteTree(m_path); }

BoardFixture::BoardFixture(const std::string& text) : m_path(m_folder.File("board.txt")) {
  WriteTextFile(m_path, text);
  SetEnvironmentVariableA("ZR_BOARD", m_path.c_str());
}

BoardFixture::~BoardFixture() { SetEnvironmentVariableA("ZR_BOARD", nullptr); }

BoardFixture BoardFixture::DefaultBoardCopy() { return BoardFixture(ReadTextFile(SimboardFile("DefaultBoard.txt"))); }

uint32_t ReadItemOr(uint32_t id, uint32_t fallback) {
  uint32_t value = 0;
  return (AcpiReadItem(id, &value) & 1) ? value : fallback;
}

}  // namespace simboard::test
