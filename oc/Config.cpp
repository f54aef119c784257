#include "oc/Config.h"

#include "formkit/Assert.h"
#include "oc/AcpiLibrary.h"
#include "oc/ProfileFiles.h"
#include "plinth/System/Source/WinRegistry.h"
#include "plinth/kovra/Source/BiosInterface.h"

#include <array>
#include <memory>

namespace {

constexpr const char* ProfileKeyPath = "Software\\Kovra\\Zentrik Profile";
// The firmware names its stored profiles in the string item of group 5, element 2.
constexpr uint32_t ProfileNamesGroup = 5;
constexpr uint32_t ProfileNamesElement = 2;

struct ButtonValues {
  const char* indexValue;
  const char* nameValue;
  uint32_t defaultPosition;
};

constexpr std::array<ButtonValues, 3> Buttons{{
    {"ZRProfileAIndex", "ZRProfileAName", 0},
    {"ZRProfileBIndex", "ZRProfileBName", 1},
    {"ZRProfileCIndex", "ZRProfileCName", 2},
}};

const ButtonValues& ValuesOf(int button) {
  ZR_ASSERT(button >= 1 && button <= 3);
  return Buttons[static_cast<size_t>(button - 1)];
}

}  // namespace

Config* Config::Instance() {
  static Config* const instance = new Config();
  return instance;
}

void Config::Invalidate() {
  m_namesRead = false;
}

uint32_t Config::FirmwareProfileCount() {
  LoadFirmwareNames();
  return static_cast<uint32_t>(m_firmwareNames.size());
}

uint32_t Config::ProfileIndex(int button) {
  const ButtonValues& values = ValuesOf(button);
  plinth::RegAccessor key;
  DWORD index = 0;
  if (key.Open(ProfileKeyRoot(), ProfileKeyPath, true) && key.ReadDword(values.indexValue, &index)) return index;
  return DefaultIndex(values.defaultPosition);
}

std::string Config::ProfileName(int button) {
  const ButtonValues& values = ValuesOf(button);
  plinth::RegAccessor key;
  std::string name;
  if (key.Open(ProfileKeyRoot(), ProfileKeyPath, true) && key.ReadString(values.nameValue, name)) return name;
  return DefaultName(values.defaultPosition);
}

uint32_t Config::DefaultIndex(uint32_t position) {
  const size_t total = AllProfileNames().size();
  if (position < total) return position;
  return total > 0 ? static_cast<uint32_t>(total - 1) : 0;
}

std::string Config::DefaultName(uint32_t position) {
  const std::vector<std::string> names = AllProfileNames();
  if (position < names.size()) return names[position];
  return names.empty() ? std::string() : names.back();
}

HKEY Config::ProfileKeyRoot() {
  return ProfileKeyRootFor(IsWindowsMajorSix());
}

void Config::LoadFirmwareNames() {
  if (m_namesRead) return;
  // Once per run (until Invalidate), also when the read below finds nothing.
  m_namesRead = true;
  m_firmwareNames.clear();

  AcpiOpen();
  plinth::ItemInfoTraverser items;
  if (!items.Open(ProfileNamesGroup)) return;
  std::unique_ptr<plinth::BiosItem> names;
  for (; !items.IsDone(); items.Next()) {
    if (plinth::ItemElement(items.CurrentId()) == ProfileNamesElement) names = items.CreateItem();
  }
  if (!names) return;
  // A names item whose descriptor did not parse counts only the texts it kept.
  for (uint32_t i = 0; i < names->IndexCount(); ++i) m_firmwareNames.push_back(names->IndexToString(i));
}

std::vector<std::string> Config::AllProfileNames() {
  LoadFirmwareNames();
  std::vector<std::string> files;
  ListProfileFiles(files);
  std::vector<std::string> names = m_firmwareNames;
  names.insert(names.end(), files.begin(), files.end());
  return names;
}

// The size GetVersionExA is told, as the system defines the structure.
static_assert(sizeof(OSVERSIONINFOA) == 148);

bool IsWindowsMajorSix() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const bool read = GetVersionExA(&version) != FALSE;
#pragma GCC diagnostic pop
  return IsMajorVersionSix(read ? std::optional<DWORD>(version.dwMajorVersion) : std::nullopt);
}

bool IsMajorVersionSix(std::optional<DWORD> majorVersion) {
  return !majorVersion || *majorVersion == 6;
}

HKEY ProfileKeyRootFor(bool windowsMajorSix) {
  return windowsMajorSix ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}
