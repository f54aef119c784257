#include "simboard/companions/ProfileCatalog.h"

#include "simboard/common/Handles.h"
#include "simboard/companions/FirmwareAccess.h"

#include <shlobj.h>
#include <windows.h>

#include <cstring>

namespace simboard::companions {
namespace {

constexpr char ProfileKey[] = "Software\\Kovra\\Zentrik Profile";
constexpr uint32_t ProfileNamesGroup = 5, ProfileNamesElement = 2;

// The program keeps its per-user choice under HKCU on Windows 6.x only.
HKEY ProfileKeyRoot() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version) || version.dwMajorVersion == 6) return HKEY_CURRENT_USER;
  return HKEY_LOCAL_MACHINE;
}

std::optional<uint32_t> RegistryDword(HKEY key, const char* name) {
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::string> RegistryString(HKEY key, const char* name) {
  char text[1024];
  DWORD type = 0, size = sizeof text - 1;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  text[size] = 0;
  return std::string(text);
}

bool HasOcExtension(const char* name) {
  size_t length = std::strlen(name);
  return length > 3 && lstrcmpiA(name + length - 3, ".oc") == 0;
}

}  // namespace

ProfileCatalog::ProfileCatalog() : m_firmwareNames(StringItemTexts(ProfileNamesGroup, ProfileNamesElement)) {
  m_allNames = m_firmwareNames;
  WIN32_FIND_DATAA found;
  FindHandle search(FindFirstFileA((ProfileFolder() + "*.oc").c_str(), &found));
  if (!search) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && HasOcExtension(found.cFileName)) {
      std::string name = found.cFileName;
      m_allNames.push_back(name.substr(0, name.size() - 3));
    }
  } while (FindNextFileA(search.Get(), &found));
}

ButtonProfile ProfileCatalog::ForButton(int button) const {
  const char letter = static_cast<char>('A' + button - 1);
  const std::string indexValue = std::string("ZRProfile") + letter + "Index";
  const std::string nameValue = std::string("ZRProfile") + letter + "Name";
  const uint32_t defaultPosition = static_cast<uint32_t>(button - 1);
  const uint32_t total = static_cast<uint32_t>(m_allNames.size());
  const uint32_t limited = defaultPosition < total ? defaultPosition : (total > 0 ? total - 1 : 0);

  ButtonProfile profile{limited, total > 0 ? m_allNames[limited] : std::string()};
  HKEY opened = nullptr;
  if (RegOpenKeyExA(ProfileKeyRoot(), ProfileKey, 0, KEY_READ, &opened) == ERROR_SUCCESS) {
    RegistryKey key(opened);
    if (auto position = RegistryDword(key.Get(), indexValue.c_str())) profile.position = *position;
    if (auto name = RegistryString(key.Get(), nameValue.c_str())) profile.name = *name;
  }
  return profile;
}

std::optional<uint32_t> ProfileCatalog::Frequency(const ButtonProfile& profile) const {
  if (profile.position < m_firmwareNames.size()) return FirmwareProfileFrequency(profile.position);
  if (profile.name.empty()) return std::nullopt;
  return ReadProfileFile(ProfileFolder() + profile.name + ".oc");
}

std::optional<uint32_t> ProfileCatalog::DefaultFrequency() {
  return ReadProfileFile(ProfileFolder() + "Default\\Default.oc");
}

std::string ProfileCatalog::ProfileFolder() {
  char folder[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) folder[0] = 0;
  std::string path = folder;
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + "Kovra OC Profiles\\";
}

std::optional<uint32_t> ProfileCatalog::ReadProfileFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  auto readWord = [&](uint32_t& word) {
    DWORD read = 0;
    return ReadFile(file.Get(), &word, sizeof word, &read, nullptr) && read == sizeof word;
  };
  uint32_t first = 0, version = 0, count = 0;
  if (!readWord(first) || !readWord(version) || !readWord(count) || version > 1) return std::nullopt;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t id = 0, value = 0;
    if (!readWord(id) || !readWord(value)) break;
    if (id == FrequencyItemId) return value;
  }
  return std::nullopt;
}

}  // namespace simboard::companions
