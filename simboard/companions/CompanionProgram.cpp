#include "simboard/companions/CompanionProgram.h"

#include "simboard/common/Handles.h"
#include "simboard/common/Numbers.h"
#include "simboard/common/ProgramEnd.h"
#include "simboard/companions/CompanionLog.h"
#include "simboard/companions/CompanionWindow.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace simboard::companions {
namespace {

constexpr DWORD QuitTimeoutMs = 10000;
constexpr char CaptionValue[] = "CaptionName";

std::string DefaultLogPath(const char* program) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n < MAX_PATH ? n : 0);
  folder = folder.substr(0, folder.find_last_of('\\') + 1);
  return folder + program + ".log";
}

int Fail(const CompanionIdentity& identity, const char* what) {
  std::fprintf(stderr, "%s: %s\n", identity.program, what);
  return 1;
}

int Install(const CompanionIdentity& identity) {
  HKEY created = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, identity.installKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                      nullptr) != ERROR_SUCCESS) {
    return Fail(identity, "cannot create the installation key");
  }
  RegistryKey key(created);
  const DWORD bytes = static_cast<DWORD>(std::strlen(identity.captionName) + 1);
  if (RegSetValueExA(key.Get(), CaptionValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(identity.captionName), bytes) !=
      ERROR_SUCCESS) {
    return Fail(identity, "cannot write the installation value");
  }
  return 0;
}

int Uninstall(const CompanionIdentity& identity) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, identity.installKey, 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS) {
    RegistryKey key(opened);
    RegDeleteValueA(key.Get(), CaptionValue);
  }
  // The key goes too when nothing else is left in it.
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, identity.installKey);
  return 0;
}

int Quit(const CompanionIdentity& identity) {
  HWND window = FindWindowW(L"TMainForm", identity.mainCaption);
  if (!window) return Fail(identity, "the companion is not running");
  if (!CloseAndWaitForExit(window, QuitTimeoutMs)) return Fail(identity, "the companion did not end");
  return 0;
}

int Run(const CompanionIdentity& identity, const CompanionOptions& options, const CompanionBehaviour& behaviour) {
  if (FindWindowW(L"TMainForm", identity.mainCaption)) return Fail(identity, "the companion is already running");
  CompanionLog log(options.logPath.empty() ? DefaultLogPath(identity.program) : options.logPath);
  auto onMessage = [&](UINT message, WPARAM wParam, LPARAM lParam, bool sent) {
    const DWORD received = GetTickCount();
    log.Record(received, sent, message, wParam, lParam, behaviour(message, wParam, lParam, sent));
  };
  auto ignore = [](UINT, WPARAM, LPARAM, bool) {};
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const bool separate = std::wcscmp(identity.mainCaption, identity.messageCaption) != 0;
  // The helper window first: once the main window can be found, messages are taken.
  std::unique_ptr<CompanionWindow> helper;
  if (separate && options.helperWindow) {
    helper = CompanionWindow::Create(instance, identity.messageCaption, onMessage);
    if (!helper) return Fail(identity, "cannot create the helper window");
  }
  auto main = CompanionWindow::Create(instance, identity.mainCaption, separate ? CompanionWindow::Handler(ignore)
                                                                                : CompanionWindow::Handler(onMessage));
  if (!main) return Fail(identity, "cannot create the main window");
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace

std::optional<CompanionOptions> ParseCompanionOptions(const CompanionIdentity& identity, int argc, char** argv,
                                                      std::string& error) {
  CompanionOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--quit") {
      options.action = CompanionOptions::Action::Quit;
    } else if (arg == "--install") {
      options.action = CompanionOptions::Action::Install;
    } else if (arg == "--uninstall") {
      options.action = CompanionOptions::Action::Uninstall;
    } else if (arg == "--log" && hasValue) {
      options.logPath = argv[++i];
    } else if (arg == "--no-helper" && identity.takesHelperOptions) {
      options.helperWindow = false;
    } else if (arg == "--hang-ms" && hasValue && identity.takesHelperOptions) {
      auto ms = ParseNumber(argv[++i]);
      if (!ms) {
        error = "--hang-ms needs a number";
        return std::nullopt;
      }
      options.hangMs = *ms;
    } else {
      error = "unknown option \"" + std::string(arg) + "\"";
      return std::nullopt;
    }
  }
  return options;
}

int RunCompanion(const CompanionIdentity& identity, const CompanionOptions& options,
                 const CompanionBehaviour& behaviour) {
  switch (options.action) {
    case CompanionOptions::Action::Run: return Run(identity, options, behaviour);
    case CompanionOptions::Action::Quit: return Quit(identity);
    case CompanionOptions::Action::Install: return Install(identity);
    case CompanionOptions::Action::Uninstall: return Uninstall(identity);
  }
  return 2;
}

}  // namespace simboard::companions
