// ZentrikBench.exe: runs the real program on the simulated board and prints how
// fast it answers a button and what it costs: the time from the service's button
// message to the player's first request and to the overlay on the screen, the
// processor and wall time of each fade-out, the processor time of the idle program
// over 10 s and its working set after start and after each kind of overlay.
#include "bench/UnixProcessMeter.h"
#include "tests/support/PlayerLogReader.h"
#include "tests/support/SimWorld.h"
#include "tests/support/Waiting.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using zrtest::PlayerEvent;
using zrtest::SimWorld;

constexpr int Rounds = 2;
constexpr DWORD IdleMs = 10000;
constexpr DWORD SettleMs = 500;
constexpr DWORD OverlayTimeoutMs = 20000;
// How often the overlay and the player log are looked at while a display runs.
constexpr DWORD PollMs = 1;

// The start of an externalCommand request whose argument starts with `word`.
std::string CommandStart(const std::string& word) {
  const std::string request = zrtest::CommandRequest(word);
  return request.substr(0, request.find("</string>"));
}

// One kind of overlay and how it ends: its closing request starts with `closing`.
struct OverlayKind {
  const char* name;
  uint32_t button;
  std::string closing;
};

struct Figures {
  double toRequestMs = -1;
  double toVisibleMs = -1;
  double fadeWallMs = -1;
  double fadeCpuMs = -1;
  double workingSetMiB = -1;
};

double WorkingSetMiB(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

// Prints as it goes: each figure as soon as it is measured.
class Bench {
 public:
  bool Start();
  void MeasureIdle();
  void MeasureOverlays();
  void PrintFadeSummary() const;

 private:
  std::vector<PlayerEvent> EventsAfter(size_t cursor) const {
    std::vector<PlayerEvent> events = zrtest::ReadPlayerLog(m_world.PlayerLogPath());
    events.erase(events.begin(), events.begin() + std::min(cursor, events.size()));
    return events;
  }
  // Polls until `found` holds; false on time-out. With `sample`, the processor
  // meter is read at every round, so that no thread's end goes unseen.
  bool Poll(const std::function<bool()>& found, DWORD timeoutMs, bool sample = false) {
    const double deadline = zrtest::NowMs() + timeoutMs;
    while (!found()) {
      if (zrtest::NowMs() > deadline) return false;
      if (sample) m_meter->Sample();
      Sleep(PollMs);
    }
    return true;
  }
  Figures Measure(const OverlayKind& kind);

  SimWorld m_world;
  std::optional<zrbench::ProcessorMeter> m_meter;
  std::vector<Figures> m_results;
};

bool Bench::Start() {
  m_world.InstallOcCompanion();
  m_world.InstallQpsCompanion();
  m_world.SetThresholds(6);
  m_world.AssignProfile('A', 0, "Gaming");
  m_world.AssignProfile('B', 1, "Balanced");
  m_world.AssignProfile('C', 2, "Silent");
  m_world.WriteProfileFile("Default/Default", 101);
  if (!m_world.StartService() || !m_world.StartOcCompanion() || !m_world.StartQpsCompanion() ||
      !m_world.StartProgram()) {
    std::fprintf(stderr, "ZentrikBench: the simulated machine did not start\n");
    return false;
  }
  const auto pid = zrbench::FindUnixProcess("ZentrikRemote.exe", zrbench::OwnPrefix());
  if (!pid) {
    std::fprintf(stderr, "ZentrikBench: cannot find the program's Linux process\n");
    return false;
  }
  m_meter.emplace(*pid);
  zrtest::PumpFor(SettleMs);
  m_meter->Sample();
  std::printf("Zentrik Remote benchmark: %sZentrikRemote.exe on the simulated board\n",
              SimWorld::DistFolder().c_str());
  std::printf("start-up: Linux process %u, %.1f ms of processor time\n", *pid, m_meter->TotalMs());
  std::printf("working set after start: %.1f MiB\n", WorkingSetMiB(m_world.Program()->Handle()));
  std::fflush(stdout);
  return true;
}

void Bench::MeasureIdle() {
  m_meter->Sample();
  const double before = m_meter->TotalMs();
  const double deadline = zrtest::NowMs() + IdleMs;
  while (zrtest::NowMs() < deadline) {
    m_meter->Sample();
    zrtest::PumpFor(100);
  }
  m_meter->Sample();
  std::printf("idle processor time over %u s: %.2f ms\n", static_cast<unsigned>(IdleMs / 1000),
              m_meter->TotalMs() - before);
  std::fflush(stdout);
}

Figures Bench::Measure(const OverlayKind& kind) {
  Figures figures;
  const size_t cursor = zrtest::ReadPlayerLog(m_world.PlayerLogPath()).size();
  const DWORD pressedTick = GetTickCount();
  const double pressed = zrtest::NowMs();
  if (!m_world.Press(kind.button)) return figures;
  if (!Poll([&] { return m_world.OverlayVisible(); }, OverlayTimeoutMs)) return figures;
  figures.toVisibleMs = zrtest::NowMs() - pressed;
  for (const PlayerEvent& e : EventsAfter(cursor)) {
    if (e.kind != PlayerEvent::Request) continue;
    figures.toRequestMs = static_cast<double>(e.tick - pressedTick);
    break;
  }
  // The fade starts at the movie's call-back after its closing request.
  size_t closing = 0;
  if (!Poll([&] {
        const auto events = EventsAfter(cursor);
        for (size_t i = 0; i < events.size(); ++i) {
          if (events[i].kind == PlayerEvent::Request && events[i].text.rfind(kind.closing, 0) == 0) {
            closing = cursor + i + 1;
            return true;
          }
        }
        return false;
      }, OverlayTimeoutMs))
    return figures;
  DWORD callbackTick = 0;
  if (!Poll([&] {
        for (const PlayerEvent& e : EventsAfter(closing)) {
          if (e.kind != PlayerEvent::Callback) continue;
          callbackTick = e.tick;
          return true;
        }
        return false;
      }, OverlayTimeoutMs))
    return figures;
  m_meter->Sample();
  const double cpuBefore = m_meter->TotalMs();
  if (!Poll([&] { return !m_world.OverlayVisible(); }, OverlayTimeoutMs, true)) return figures;
  const DWORD hiddenTick = GetTickCount();
  m_meter->Sample();
  figures.fadeCpuMs = m_meter->TotalMs() - cpuBefore;
  figures.fadeWallMs = static_cast<double>(hiddenTick - callbackTick);
  zrtest::PumpFor(SettleMs);
  figures.workingSetMiB = WorkingSetMiB(m_world.Program()->Handle());
  return figures;
}

void Bench::MeasureOverlays() {
  const OverlayKind kinds[] = {
      {"profile-on notice", zrtest::button::A, CommandStart("end")},
      {"profile-off notice", zrtest::button::A, CommandStart("end")},
      {"warning (5000 ms)", zrtest::button::C, CommandStart("end")},
      {"power-saving auto", zrtest::button::Auto, CommandStart("end")},
      {"power-saving level", zrtest::button::Manual, CommandStart("End ")},
      {"frequency digits", zrtest::button::Up, CommandStart("out")},
  };
  std::printf("%-44s %12s %12s %10s %10s %12s\n", "overlay (button message to ...)", "to request", "to visible",
              "fade wall", "fade cpu", "working set");
  for (int round = 0; round < Rounds; ++round) {
    for (const OverlayKind& kind : kinds) {
      std::string name = kind.name;
      if (round == 0 && &kind == &kinds[0]) name += " (first: loads the movies)";
      const Figures f = Measure(kind);
      m_results.push_back(f);
      std::printf("%-44s %9.0f ms %9.1f ms %7.0f ms %7.2f ms %8.1f MiB\n", name.c_str(), f.toRequestMs,
                  f.toVisibleMs, f.fadeWallMs, f.fadeCpuMs, f.workingSetMiB);
      std::fflush(stdout);
    }
  }
}

void Bench::PrintFadeSummary() const {
  double cpuSum = 0, cpuMax = 0, wallMin = 1e9, wallMax = 0, wallSum = 0;
  int fades = 0;
  for (const Figures& f : m_results) {
    if (f.fadeCpuMs < 0) continue;
    ++fades;
    cpuSum += f.fadeCpuMs;
    cpuMax = std::max(cpuMax, f.fadeCpuMs);
    wallSum += f.fadeWallMs;
    wallMin = std::min(wallMin, f.fadeWallMs);
    wallMax = std::max(wallMax, f.fadeWallMs);
  }
  if (fades == 0) {
    std::printf("fade-out: no fade was measured\n");
    return;
  }
  std::printf("fade-out over %d fades: wall time %.0f ms mean (%.0f to %.0f ms), processor time %.2f ms mean, %.2f ms max\n",
              fades, wallSum / fades, wallMin, wallMax, cpuSum / fades, cpuMax);
}

}  // namespace

int main() {
  Bench bench;
  if (!bench.Start()) return 1;
  bench.MeasureIdle();
  bench.MeasureOverlays();
  bench.PrintFadeSummary();
  return 0;
}
