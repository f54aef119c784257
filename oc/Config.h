// Which overclocking profile each profile button of the remote (A, B, C: 1, 2, 3)
// stands for. Another program stores the choice in the registry as a position in
// the profile list (the firmware's profiles, then the profile files) and a name;
// without it button A takes the first profile, B the second and C the third, each
// limited to the last one present.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Config {
 public:
  static Config* Instance();

  // The firmware's profile names are read again on next use.
  void Invalidate();
  // How many profiles the firmware stores.
  uint32_t FirmwareProfileCount();
  // The stored position for button 1, 2 or 3, as stored; else its default.
  uint32_t ProfileIndex(int button);
  // The stored name for button 1, 2 or 3; else its default.
  std::string ProfileName(int button);
  // `position` limited to the profile list (0 for an empty list).
  uint32_t DefaultIndex(uint32_t position);
  // The name at the limited position; empty for an empty list.
  std::string DefaultName(uint32_t position);
  // Where the buttons' choices are kept: HKEY_CURRENT_USER on Windows 6.x,
  // HKEY_LOCAL_MACHINE otherwise.
  static HKEY ProfileKeyRoot();

 private:
  Config() = default;
  void LoadFirmwareNames();
  std::vector<std::string> AllProfileNames();

  bool m_namesRead = false;
  std::vector<std::string> m_firmwareNames;
};

// Whether the system reports Windows major version 6; also when it can't tell.
bool IsWindowsMajorSix();
// The decision of IsWindowsMajorSix for a version query's outcome (nothing when the
// query failed).
bool IsMajorVersionSix(std::optional<DWORD> majorVersion);
// The profile key's root for that decision.
HKEY ProfileKeyRootFor(bool windowsMajorSix);
