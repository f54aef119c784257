// Which profile a remote button stands for, and its frequency, as the overclocking
// companion works it out: the button's position and name from the registry (key
// "Software\Kovra\Zentrik Profile"), else the default positions A 0, B 1, C 2 in the
// list of firmware profiles followed by the profile files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simboard::companions {

struct ButtonProfile {
  uint32_t position = 0;
  std::string name;
};

class ProfileCatalog {
 public:
  // Reads the firmware profile names and the profile folder once.
  ProfileCatalog();

  // Button 1, 2 or 3 (A, B, C).
  ButtonProfile ForButton(int button) const;
  // Frequency value index of a profile: a firmware slot below the number of
  // firmware profiles, else the profile file of that name.
  std::optional<uint32_t> Frequency(const ButtonProfile& profile) const;
  // Frequency value index of "Default\Default.oc".
  static std::optional<uint32_t> DefaultFrequency();

  // "<common app data>\Kovra OC Profiles\".
  static std::string ProfileFolder();
  // The frequency record of a profile file (u32 first word, u32 version 0 or 1,
  // u32 count, count × (u32 id, u32 value index)).
  static std::optional<uint32_t> ReadProfileFile(const std::string& path);

 private:
  std::vector<std::string> m_firmwareNames;
  std::vector<std::string> m_allNames;
};

}  // namespace simboard::companions
