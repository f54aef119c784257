#include "plinth/tests/ChildProcess.h"

#include <algorithm>
#include <vector>

namespace plinth::test {

namespace {

struct Pipe {
  formkit::KernelHandle read;
  formkit::KernelHandle write;
};

// A pipe whose one end the child inherits (its read end when childReads) and
// whose other end stays here.
bool MakePipe(Pipe& pipe, bool childReads) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  if (!CreatePipe(&read, &write, &inheritable, 0)) return false;
  pipe.read.Reset(read);
  pipe.write.Reset(write);
  return SetHandleInformation(childReads ? write : read, HANDLE_FLAG_INHERIT, 0) != FALSE;
}

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& program, const std::string& arguments) {
  Pipe input;
  Pipe output;
  if (!MakePipe(input, true) || !MakePipe(output, false)) return nullptr;

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.read.Get();
  startup.hStdOutput = output.write.Get();
  startup.hStdError = output.write.Get();
  std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  std::vector<char> writable(commandLine.begin(), commandLine.end());
  writable.push_back('\0');
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return nullptr;
  }
  std::unique_ptr<ChildProcess> child(new ChildProcess);
  child->m_process.Reset(info.hProcess);
  CloseHandle(info.hThread);
  child->m_id = info.dwProcessId;
  child->m_input = std::move(input.write);
  child->m_output = std::move(output.read);
  // The child's ends close here, so that its exit shows as the end of its output.
  return child;
}

ChildProcess::~ChildProcess() {
  if (m_process && WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process.Get(), 1);
    WaitForSingleObject(m_process.Get(), 5000);
  }
}

bool ChildProcess::WriteLine(const std::string& line) {
  const std::string bytes = line + "\n";
  DWORD written = 0;
  return WriteFile(m_input.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::optional<std::string> ChildProcess::ReadLine(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    const std::size_t end = m_pending.find('\n');
    if (end != std::string::npos) {
      std::string line = m_pending.substr(0, end);
      m_pending.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    DWORD available = 0;
    if (!PeekNamedPipe(m_output.Get(), nullptr, 0, nullptr, &available, nullptr)) return std::nullopt;  // ended
    if (available > 0) {
      std::string chunk(available, '\0');
      DWORD read = 0;
      if (!ReadFile(m_output.Get(), chunk.data(), available, &read, nullptr)) return std::nullopt;
      m_pending.append(chunk, 0, read);
      continue;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return std::nullopt;
    // Wakes early when the child ends; then the next peek tells whether output is left.
    WaitForSingleObject(m_process.Get(), static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10)));
  }
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeoutMs) {
  m_input.Reset();
  if (WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(m_process.Get(), &code);
  return code;
}

}  // namespace plinth::test
