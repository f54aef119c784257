#include "tests/support/ChildProgram.h"

#include <cstring>
#include <vector>

namespace zrtest {

namespace {

struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const { return _stricmp(a.c_str(), b.c_str()) < 0; }
};

using FreeEnvironment = formkit::UniqueHandle<LPCH, &FreeEnvironmentStringsA>;

}  // namespace

std::string EnvironmentBlock(const std::map<std::string, std::string>& changes) {
  // Windows compares variable names without regard to case and wants them sorted.
  std::map<std::string, std::string, CaseInsensitiveLess> variables;
  FreeEnvironment block(GetEnvironmentStringsA());
  for (const char* entry = block.Get(); entry && *entry; entry += std::strlen(entry) + 1) {
    const char* equals = std::strchr(entry + 1, '=');  // a leading '=' belongs to the name
    if (!equals) continue;
    variables[std::string(entry, equals)] = equals + 1;
  }
  for (const auto& [name, value] : changes) variables[name] = value;
  std::string result;
  for (const auto& [name, value] : variables) {
    result += name + "=" + value;
    result.push_back('\0');
  }
  result.push_back('\0');
  return result;
}

std::unique_ptr<ChildProgram> ChildProgram::Start(const std::string& program, const ChildOptions& options) {
  std::string commandLine = "\"" + program + "\"";
  if (!options.arguments.empty()) commandLine += " " + options.arguments;
  std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back('\0');
  std::string environment = EnvironmentBlock(options.environment);

  formkit::FileHandle nul(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
  if (nul) SetHandleInformation(nul.Get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (nul) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.Get();
  }
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(program.c_str(), mutableLine.data(), nullptr, nullptr, nul.IsValid(), 0, environment.data(),
                      options.currentFolder.empty() ? nullptr : options.currentFolder.c_str(), &startup, &info)) {
    return nullptr;
  }
  CloseHandle(info.hThread);
  return std::unique_ptr<ChildProgram>(new ChildProgram(formkit::KernelHandle(info.hProcess), info.dwProcessId));
}

ChildProgram::~ChildProgram() { Kill(); }

bool ChildProgram::IsRunning() const { return WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> ChildProgram::WaitForExit(DWORD timeoutMs) const {
  if (WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(m_process.Get(), &code);
  return code;
}

void ChildProgram::Kill() {
  if (!IsRunning()) return;
  TerminateProcess(m_process.Get(), 1);
  WaitForSingleObject(m_process.Get(), INFINITE);
}

}  // namespace zrtest
