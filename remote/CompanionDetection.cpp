#include "remote/CompanionDetection.h"

#include "plinth/System/Source/WinRegistry.h"

#include <windows.h>

#include <string>

namespace {

constexpr const char* MakerKeyPath = "Software\\Kovra\\";

// The installation key is opened with full access and created when missing; where
// the process may not write under HKEY_LOCAL_MACHINE the open fails: not installed.
bool HasCaptionName(const char* product) {
  const std::string path = std::string(MakerKeyPath) + product;
  plinth::RegAccessor key;
  std::string caption;
  return key.Open(HKEY_LOCAL_MACHINE, path.c_str(), true) && key.ReadString("CaptionName", caption);
}

}  // namespace

bool IsOcCompanionInstalled() {
  return HasCaptionName("Zentrik ZIR");
}

bool IsQPSCompanionInstalled() {
  return HasCaptionName("QPS-6 Engine");
}

bool IsOcCompanionRunning() {
  return FindWindowA("TMainForm", "Zentrik") != nullptr;
}
