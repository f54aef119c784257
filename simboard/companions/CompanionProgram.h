// The command line and life of a simulated companion program:
//   run (default)   [--log PATH] [--no-helper] [--hang-ms N]
//   --quit          ends the running instance
//   --install       writes HKLM\Software\Kovra\<product>\CaptionName (REG_SZ)
//   --uninstall     removes it
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace simboard::companions {

struct CompanionIdentity {
  const char* program;            // file name without ".exe", for messages and the default log
  const wchar_t* mainCaption;     // the window by which the program finds the companion
  const wchar_t* messageCaption;  // the window that receives the messages; may equal mainCaption
  const char* installKey;         // under HKEY_LOCAL_MACHINE
  const char* captionName;        // the text stored in "CaptionName"
  bool takesHelperOptions;        // --no-helper and --hang-ms apply
};

struct CompanionOptions {
  enum class Action { Run, Quit, Install, Uninstall };
  Action action = Action::Run;
  bool helperWindow = true;
  DWORD hangMs = 0;
  std::string logPath;  // empty: "<program>.log" beside the executable
};

std::optional<CompanionOptions> ParseCompanionOptions(const CompanionIdentity& identity, int argc, char** argv,
                                                      std::string& error);

using CompanionBehaviour = std::function<std::string(UINT message, WPARAM wParam, LPARAM lParam, bool sent)>;

// Exit codes: 0 done, 1 failed (message on stderr), 2 bad usage.
int RunCompanion(const CompanionIdentity& identity, const CompanionOptions& options, const CompanionBehaviour& behaviour);

}  // namespace simboard::companions
