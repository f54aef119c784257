// SimBoardTool.exe: the simulated firmware from the command line, through KVACPI.DLL.
//   path                          the board file this process uses
//   open                          AcpiOpen: exit 0 when the board is usable
//   read ID                       prints the item's value
//   write ID VALUE [--hold EVENT] writes it; with --hold, then signals the named
//                                 event and waits to be ended (for crash tests)
//   count ID N                    writes 1, 2, ... N to the item, one write each
//   group N                       prints the ids the group lists
// Exit codes: 0 done, 1 the firmware refused, 2 bad usage.
#include "oc/AcpiLibrary.h"
#include "simboard/common/Handles.h"
#include "simboard/common/Numbers.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using simboard::ParseNumber;

// A holding writer is ended by its test long before this.
constexpr DWORD HoldLimitMs = 60000;

int Usage() {
  std::fprintf(stderr, "usage: SimBoardTool.exe path | open | read ID | write ID VALUE [--hold EVENT] | count ID N | group N\n");
  return 2;
}

int Refused(const char* what) {
  std::fprintf(stderr, "SimBoardTool: %s refused\n", what);
  return 1;
}

int Path() {
  char value[MAX_PATH * 2];
  DWORD n = GetEnvironmentVariableA("ZR_BOARD", value, sizeof value);
  if (n > 0 && n < sizeof value) {
    std::printf("%s\n", value);
  } else {
    std::printf("(default location)\n");
  }
  return 0;
}

int Hold(const char* eventName) {
  simboard::KernelHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName));
  if (!event || !SetEvent(event.Get())) return Refused("signalling the event");
  Sleep(HoldLimitMs);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string_view command = argv[1];
  if (command == "path" && argc == 2) return Path();
  if (command == "open" && argc == 2) return AcpiOpen() ? 0 : Refused("AcpiOpen");
  if (command == "read" && argc == 3) {
    auto id = ParseNumber(argv[2]);
    if (!id) return Usage();
    uint32_t value = 0;
    if (!(AcpiReadItem(*id, &value) & 1)) return Refused("AcpiReadItem");
    std::printf("%u\n", value);
    return 0;
  }
  if (command == "write" && (argc == 4 || (argc == 6 && std::strcmp(argv[4], "--hold") == 0))) {
    auto id = ParseNumber(argv[2]), value = ParseNumber(argv[3]);
    if (!id || !value) return Usage();
    if (!(AcpiWriteItem(*id, *value, 1) & 1)) return Refused("AcpiWriteItem");
    return argc == 6 ? Hold(argv[5]) : 0;
  }
  if (command == "count" && argc == 4) {
    auto id = ParseNumber(argv[2]), last = ParseNumber(argv[3]);
    if (!id || !last) return Usage();
    for (uint32_t value = 1; value <= *last; ++value) {
      if (!(AcpiWriteItem(*id, value, 1) & 1)) return Refused("AcpiWriteItem");
    }
    return 0;
  }
  if (command == "group" && argc == 3) {
    auto group = ParseNumber(argv[2]);
    if (!group) return Usage();
    auto buffer = std::make_unique<uint8_t[]>(AcpiBufferSize);
    uint32_t size = AcpiBufferSize;
    if (!AcpiReadGroup(*group, buffer.get(), &size)) return Refused("AcpiReadGroup");
    void* element = AcpiFirstElement(buffer.get());
    for (uint32_t i = 0, n = AcpiElementCount(buffer.get()); i < n; ++i, element = AcpiNextElement(element)) {
      uint32_t id = 0;
      std::memcpy(&id, AcpiElementData(element), sizeof id);
      std::printf("0x%08X\n", static_cast<unsigned>(id));
    }
    return 0;
  }
  return Usage();
}
