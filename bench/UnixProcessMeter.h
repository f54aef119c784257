// Processor time of another program of the prefix, read from the Linux process that
// Wine runs it in. GetProcessTimes on another process does not follow its threads'
// work under Wine; the kernel's per-thread counters (schedstat, nanoseconds) do.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace zrbench {

// The Linux process id of the program whose command line names `exeName` and whose
// Wine prefix is `prefix` (a Linux path), or nothing.
std::optional<unsigned> FindUnixProcess(const std::string& exeName, const std::string& prefix);

// The Linux path of the Wine prefix this program runs in: the build folder's
// "wineprefix", found from this program's own path.
std::string OwnPrefix();

class ProcessorMeter {
 public:
  explicit ProcessorMeter(unsigned unixPid) : m_pid(unixPid) {}

  // Reads every thread's counter. A thread that ends between two samples keeps the
  // value of its last sample, so sampling often loses little of a short thread.
  void Sample();
  // All the time counted so far, in milliseconds.
  double TotalMs() const;

 private:
  unsigned m_pid;
  std::map<unsigned, uint64_t> m_threadNs;
};

}  // namespace zrbench
