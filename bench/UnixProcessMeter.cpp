#include "bench/UnixProcessMeter.h"

#include "tests/support/FileText.h"

#include <cstdlib>
#include <cstring>

namespace zrbench {

namespace {

// Linux paths reach Windows programs through drive Z:.
std::string ProcPath(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

template <class Visit>
void ForEachNumberedEntry(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((ProcPath(folder) + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    char* end = nullptr;
    const unsigned long number = std::strtoul(found.cFileName, &end, 10);
    if (end != found.cFileName && *end == '\0') visit(static_cast<unsigned>(number));
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

bool ContainsNoCase(const std::string& text, const std::string& part) {
  if (part.size() > text.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (_strnicmp(text.c_str() + i, part.c_str(), part.size()) == 0) return true;
  }
  return false;
}

}  // namespace

std::string OwnPrefix() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string own(path, length);  // Z:\...\build\bench\ZentrikBench.exe
  own = own.substr(2);
  for (char& c : own)
    if (c == '\\') c = '/';
  own = own.substr(0, own.find_last_of('/'));  // .../build/bench
  return own.substr(0, own.find_last_of('/')) + "/wineprefix";
}

std::optional<unsigned> FindUnixProcess(const std::string& exeName, const std::string& prefix) {
  std::optional<unsigned> result;
  const std::string wanted = std::string("WINEPREFIX=") + prefix;
  ForEachNumberedEntry("/proc", [&](unsigned pid) {
    if (result) return;
    const std::string folder = "/proc/" + std::to_string(pid);
    if (!ContainsNoCase(zrtest::ReadFileText(ProcPath(folder + "/cmdline")), exeName)) return;
    const std::string environment = zrtest::ReadFileText(ProcPath(folder + "/environ"));
    for (size_t at = 0; at < environment.size(); at += std::strlen(environment.c_str() + at) + 1) {
      if (std::strcmp(environment.c_str() + at, wanted.c_str()) == 0) {
        result = pid;
        return;
      }
    }
  });
  return result;
}

void ProcessorMeter::Sample() {
  const std::string tasks = "/proc/" + std::to_string(m_pid) + "/task";
  ForEachNumberedEntry(tasks, [&](unsigned tid) {
    // The first field: nanoseconds this thread has run on a processor.
    const std::string text = zrtest::ReadFileText(ProcPath(tasks + "/" + std::to_string(tid) + "/schedstat"));
    if (text.empty()) return;
    m_threadNs[tid] = std::strtoull(text.c_str(), nullptr, 10);
  });
}

double ProcessorMeter::TotalMs() const {
  uint64_t total = 0;
  for (const auto& [tid, ns] : m_threadNs) total += ns;
  return static_cast<double>(total) / 1e6;
}

}  // namespace zrbench
