#include "oc/ProfileFiles.h"

#include "formkit/Handle.h"
#include "plinth/fileutl/Source/WinFileFind.h"

#include <windows.h>
#include <shlobj.h>


namespace {

constexpr const char* ProfileFolderName = "Kovra OC Profiles\\";
constexpr const char* ProfileExtension = ".oc";
// Versions above this one are a format the program does not know.
constexpr uint32_t NewestFileVersion = 1;

// One firmware setting of a profile file, as the file stores it (little-endian).
struct ProfileRecord {
  uint32_t itemId;
  uint32_t valueIndex;
};
static_assert(sizeof(ProfileRecord) == 8);

bool SameIgnoringAsciiCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return i == a.size() && b[i] == '\0';
}

// Reads exactly `size` bytes, or reports that the file ended first.
bool ReadExactly(HANDLE file, void* buffer, DWORD size) {
  DWORD read = 0;
  return ReadFile(file, buffer, size, &read, nullptr) && read == size;
}

bool ReadWord(HANDLE file, uint32_t& word) {
  return ReadExactly(file, &word, sizeof word);
}

}  // namespace

std::string ProfileFolder() {
  const std::string path = plinth::GetSpecialFolderPath(CSIDL_COMMON_APPDATA) + ProfileFolderName;
  // An existing folder is fine; only the last level is ever created.
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

void ListProfileFiles(std::vector<std::string>& names) {
  const std::string folder = ProfileFolder();
  names.clear();
  plinth::FileNameEnumerater files;
  for (files.Start(folder.c_str(), false); !files.IsDone(); files.Next()) {
    const std::string full = files.FullName();
    const size_t dot = full.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : full.substr(dot);
    if (!SameIgnoringAsciiCase(extension, ProfileExtension)) continue;
    const size_t separator = full.find_last_of("\\:");
    const std::string base = separator == std::string::npos ? std::string() : full.substr(separator + 1);
    names.push_back(base.substr(0, base.rfind('.')));
  }
}

uint32_t ReadProfileFileValue(const char* name) {
  const std::string path = ProfileFolder() + name + ProfileExtension;
  const formkit::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;

  uint32_t first = 0;
  uint32_t version = 0;
  uint32_t count = 0;
  if (!ReadWord(file.Get(), first) || !ReadWord(file.Get(), version) || !ReadWord(file.Get(), count)) return 0;
  if (version > NewestFileVersion) return 0;

  // Records of item id and value index, as many whole ones as the file holds.
  for (uint32_t i = 0; i < count; ++i) {
    ProfileRecord record{};
    if (!ReadExactly(file.Get(), &record, sizeof record)) break;
    if (record.itemId == FrequencyItemId) return record.valueIndex;
  }
  return 0;
}
