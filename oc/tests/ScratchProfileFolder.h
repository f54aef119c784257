// Test helper: the shared profile folder of the prefix, filled by a test with real
// profile files and emptied before and after the test.
#pragma once

#include "oc/ProfileFiles.h"

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace zrtest {

// The shared profile folder, emptied when made and when destroyed.
class ScratchProfileFolder {
 public:
  ScratchProfileFolder() : m_path(ProfileFolder()) { Empty(m_path); }
  ~ScratchProfileFolder() { Empty(m_path); }
  ScratchProfileFolder(const ScratchProfileFolder&) = delete;
  ScratchProfileFolder& operator=(const ScratchProfileFolder&) = delete;

  const std::string& Path() const { return m_path; }

  // A file of the given bytes at a path relative to the folder ("Sub\\x.oc").
  void WriteBytes(const std::string& relative, const std::string& bytes) {
    std::ofstream(m_path + relative, std::ios::binary | std::ios::trunc) << bytes;
  }
  // A profile file of little-endian words: first word, version, count, records.
  void WriteWords(const std::string& relative, const std::vector<uint32_t>& words) {
    std::string bytes;
    for (uint32_t word : words) {
      for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((word >> shift) & 0xFF));
    }
    WriteBytes(relative, bytes);
  }
  // A well-formed profile file whose frequency record holds `index`.
  void WriteProfile(const std::string& name, uint32_t index) {
    WriteWords(name + ".oc", {0, 1, 2, 0x03000010, 0, FrequencyItemId, index});
  }
  void MakeFolder(const std::string& relative) { CreateDirectoryA((m_path + relative).c_str(), nullptr); }

 private:
  static void Empty(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        Empty(path + "\\");
        RemoveDirectoryA(path.c_str());
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }

  std::string m_path;
};

}  // namespace zrtest
