// Overclocking profiles kept outside the firmware: binary ".oc" files in one folder
// shared by all users. The program lists them and reads one setting from them; it
// never writes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The profile that stands for the board's default settings: Default.oc in the
// sub-folder Default of the profile folder. Never listed.
inline constexpr const char* DefaultProfileName = "Default/Default";

// The firmware item whose value index profiles hold for the frequency setting.
inline constexpr uint32_t FrequencyItemId = 0x03010011;

// "Kovra OC Profiles\" in the common application data folder (relative to the
// current directory when the system cannot tell that folder), ending in a
// backslash; created when missing.
std::string ProfileFolder();

// Replaces `names` with the name (file name without folder and last extension) of
// every ".oc" file directly in the profile folder, in the order the system yields them.
void ListProfileFiles(std::vector<std::string>& names);

// The frequency setting's value index in the profile file of `name` (the profile
// folder, the name and ".oc"; the name may carry a sub-folder), or 0 when the file
// can't be read, is not a usable profile or holds no frequency record.
uint32_t ReadProfileFileValue(const char* name);
