// ZentrikVirtualRemote.exe: the remote control, through the simulated service.
#include "simboard/remote/RemoteCommands.h"
#include "simboard/remote/RemoteWindow.h"

#include <cstdio>
#include <cstring>

namespace {

using namespace simboard::remote;

// Exit codes.
constexpr int Delivered = 0, BadUsage = 1, ServiceNotRunning = 2, NoWindowRegistered = 3, NoWindow = 4;

const char Usage[] =
    "usage: ZentrikVirtualRemote.exe COMMAND\n"
    "  press A|B|C|manual|auto|up|down|CODE   button message (0x408, lParam the code)\n"
    "  quit | foreground | consumed 1|2|3     0x400, 0x406, 0x401..0x403\n"
    "  resume                                 WM_POWERBROADCAST, PBT_APMRESUMESUSPEND\n"
    "  send MESSAGE WPARAM LPARAM             any message\n"
    "  status                                 number of registered windows\n"
    "  --window (or nothing)                  a window with the seven buttons\n"
    "exit codes: 0 delivered, 1 bad usage, 2 service not running, 3 no window registered,\n"
    "            4 the window cannot be made\n";

int RunWindow() {
  auto window = RemoteWindow::Create(GetModuleHandleW(nullptr));
  if (!window) {
    std::fprintf(stderr, "ZentrikVirtualRemote: cannot create the window (error %lu)\n", GetLastError());
    return NoWindow;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(GetActiveWindow(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

int Status() {
  auto count = RegisteredWindowCount();
  if (!count) {
    std::fprintf(stderr, "ZentrikVirtualRemote: the service is not running\n");
    return ServiceNotRunning;
  }
  std::printf("registered windows: %u\n", *count);
  return Delivered;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1 || (argc == 2 && std::strcmp(argv[1], "--window") == 0)) return RunWindow();
  if (argc == 2 && std::strcmp(argv[1], "status") == 0) return Status();
  std::vector<std::string_view> args(argv + 1, argv + argc);
  std::string error;
  auto message = MessageForCommand(args, error);
  if (!message) {
    std::fprintf(stderr, "ZentrikVirtualRemote: %s\n%s", error.c_str(), Usage);
    return BadUsage;
  }
  switch (DeliverThroughService(*message)) {
    case Delivery::Delivered: return Delivered;
    case Delivery::ServiceNotRunning:
      std::fprintf(stderr, "ZentrikVirtualRemote: the service is not running\n");
      return ServiceNotRunning;
    case Delivery::NoWindowRegistered:
      std::fprintf(stderr, "ZentrikVirtualRemote: no window is registered with the service\n");
      return NoWindowRegistered;
  }
  return BadUsage;
}
