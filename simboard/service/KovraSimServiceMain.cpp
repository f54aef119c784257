// KovraSimService.exe: the simulated system service.
//   KovraSimService.exe           runs the service until it is stopped
//   KovraSimService.exe --stop    stops the running service
// Exit codes: 0 done, 1 already running / not running / cannot start, 2 bad usage.
#include "simboard/common/Handles.h"
#include "simboard/common/ProgramEnd.h"
#include "simboard/service/ServiceProtocol.h"
#include "simboard/service/ServiceWindow.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr DWORD StopTimeoutMs = 10000;

int Stop() {
  HWND service = FindWindowW(simboard::service::WindowClass, nullptr);
  if (!service) {
    std::fprintf(stderr, "KovraSimService: the service is not running\n");
    return 1;
  }
  if (!simboard::CloseAndWaitForExit(service, StopTimeoutMs)) {
    std::fprintf(stderr, "KovraSimService: the service did not stop\n");
    return 1;
  }
  return 0;
}

int Run() {
  simboard::KernelHandle instance(CreateMutexW(nullptr, FALSE, simboard::service::InstanceMutex));
  if (!instance || GetLastError() == ERROR_ALREADY_EXISTS) {
    std::fprintf(stderr, "KovraSimService: the service is already running\n");
    return 1;
  }
  auto window = simboard::service::ServiceWindow::Create(GetModuleHandleW(nullptr));
  if (!window) {
    std::fprintf(stderr, "KovraSimService: cannot create the service window (error %lu)\n", GetLastError());
    return 1;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return Run();
  if (argc == 2 && std::strcmp(argv[1], "--stop") == 0) return Stop();
  std::fprintf(stderr, "usage: KovraSimService.exe [--stop]\n");
  return 2;
}
