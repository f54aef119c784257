#include "app/PreRunChecks.h"

#include "oc/AcpiLibrary.h"
#include "plinth/System/Source/KvMultiLang.h"
#include "plinth/System/Source/WinRegistry.h"
#include "plinth/kovra/Source/BiosInterface.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace {

constexpr char Caption[] = "Zentrik Remote";
constexpr uint32_t IxtuItemFirst = 0x00060008;
constexpr uint32_t IxtuItemSecond = 0x00060009;
constexpr uint32_t IxtuBit = 4;

bool IsQuietSwitch(const char* parameter) {
  return parameter[0] == '-' && (parameter[1] == 'b' || parameter[1] == 'B') && parameter[2] == '\0';
}

// Shows the warning of a positive check unless quiet; start-up stops either way.
bool Stop(bool quiet, const char* key) {
  if (!quiet) {
    const std::string text = plinth::KvMultiLang::Instance()->GetText(key);
    MessageBoxA(nullptr, text.c_str(), Caption, MB_OK);
  }
  return false;
}

}  // namespace

bool HasQuietSwitch(int count, const char* const* parameters) {
  for (int i = 0; i < count; ++i) {
    if (IsQuietSwitch(parameters[i])) return true;
  }
  return false;
}

bool RunPreRunChecks(bool quiet) {
  if (NeedsIxtuWarning()) return Stop(quiet, "IXTUWarning");
  if (NeedsRebootWarning()) return Stop(quiet, "NeedReboot");
  return true;
}

bool NeedsIxtuWarning() {
  AcpiOpen();
  uint32_t value = 0;
  if (plinth::ItemExists(IxtuItemFirst) && plinth::ItemExists(IxtuItemSecond) &&
      plinth::ReadItemValue(IxtuItemFirst, value) && (value & IxtuBit) == IxtuBit) {
    return plinth::ReadItemValue(IxtuItemSecond, value) && (value & IxtuBit) == IxtuBit;
  }
  return false;
}

bool NeedsRebootWarning() {
  plinth::RegAccessor runOnce;
  if (!runOnce.Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", false)) return false;
  std::string marker;
  return runOnce.ReadString("MBAP_REBOOT", marker);
}
