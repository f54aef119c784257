// BusyWindows.exe: shows the busy windows of other programs until told to close.
//   BusyWindows.exe [--progress visible|hidden] [--gui-background visible|hidden]
//   BusyWindows.exe --close      closes every instance
// Prints "ready" once every window asked for is there and shown or hidden.
// Exit codes: 0 done, 1 failed, 2 bad usage.
#include "simboard/common/ProgramEnd.h"
#include "simboard/tools/BusyWindow.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

using namespace simboard::tools;

constexpr DWORD CloseTimeoutMs = 10000;

std::optional<bool> Visibility(std::string_view word) {
  if (word == "visible") return true;
  if (word == "hidden") return false;
  return std::nullopt;
}

int CloseAll() {
  for (const wchar_t* className : {ProgressDialogClass, GuiBackgroundClass}) {
    while (HWND window = FindWindowW(className, nullptr)) {
      if (!simboard::CloseAndWaitForExit(window, CloseTimeoutMs)) {
        std::fprintf(stderr, "BusyWindows: a window did not close\n");
        return 1;
      }
    }
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr, "usage: BusyWindows.exe [--progress visible|hidden] [--gui-background visible|hidden] | --close\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--close") == 0) return CloseAll();
  std::optional<bool> progress, background;
  for (int i = 1; i < argc; i += 2) {
    if (i + 1 >= argc) return Usage();
    auto visible = Visibility(argv[i + 1]);
    if (!visible) return Usage();
    if (std::strcmp(argv[i], "--progress") == 0) {
      progress = visible;
    } else if (std::strcmp(argv[i], "--gui-background") == 0) {
      background = visible;
    } else {
      return Usage();
    }
  }
  if (!progress && !background) return Usage();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  std::unique_ptr<BusyWindow> windows[2];
  if (progress) windows[0] = BusyWindow::Create(instance, ProgressDialogClass, ProgressDialogTitle, *progress);
  if (background) windows[1] = BusyWindow::Create(instance, GuiBackgroundClass, GuiBackgroundTitle, *background);
  if ((progress && !windows[0]) || (background && !windows[1])) {
    std::fprintf(stderr, "BusyWindows: cannot create the windows (error %lu)\n", GetLastError());
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
