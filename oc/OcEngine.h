// Works with the maker's overclocking companion through its "ZentrikHelp" window:
// asks it to switch a profile on or off and to apply a frequency setting, and works
// out the frequencies the remote's states show, in whole MHz, from the firmware's
// frequency setting, the profiles stored in the firmware and the profile files.
//
// Every frequency is 0 on a board without a frequency setting item.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace plinth {
class BiosItem;
}

class OcEngine {
 public:
  static OcEngine* Instance();

  // Looks the companion's helper window up again; true if found.
  bool FindHelperWindow();
  // Whether the active-profile firmware item holds `code` (1 A, 2 B, 4 C).
  bool IsProfileActive(uint32_t code);
  // ProfileFrequency(profile) >= DefaultFrequency().
  bool IsAtLeastDefault(int profile);
  // The frequency of the profile that button 1, 2 or 3 (A, B, C) stands for.
  uint32_t ProfileFrequency(int profile);
  // The frequency of the default profile file.
  uint32_t DefaultFrequency();
  // Post the companion a profile number (1, 2, 3), or 0 to switch profiles off.
  void RequestProfile(int profile);
  void RequestProfileOff();
  // The firmware's current frequency setting, which becomes the index to step from.
  uint32_t ReadFrequency();
  // Step the index by one, without bound; the frequency of the new index.
  uint32_t StepFrequencyUp();
  uint32_t StepFrequencyDown();
  // Sends the companion the stepped index and waits until it has handled it.
  void CommitFrequency();
  // Clears the active-profile firmware item; the firmware's profiles are read again.
  bool ResetActiveProfile();

 private:
  OcEngine();
  // The frequency setting item, looked up once per run.
  const plinth::BiosItem* FrequencyItem();
  uint32_t FrequencyOf(uint32_t index);
  void LoadFirmwareProfiles();
  void PostToHelper(UINT message, LPARAM lParam);

  HWND m_helperWindow = nullptr;
  uint32_t m_index = 0;
  bool m_profilesRead = false;
  // The frequency index of each firmware profile slot, in slot order; empty for a
  // slot that holds no frequency setting.
  std::vector<std::optional<uint32_t>> m_firmwareValues;
  bool m_frequencyItemLooked = false;
  std::unique_ptr<plinth::BiosItem> m_frequencyItem;
};
