// Test helper: a registry key of the prefix that a test fills with the values other
// programs would leave, removed before and after the test.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace zrtest {

// A registry key deleted with everything under it when made and when destroyed.
class ScratchRegistryKey {
 public:
  ScratchRegistryKey(HKEY root, std::string path) : m_root(root), m_path(std::move(path)) { Delete(); }
  ~ScratchRegistryKey() { Delete(); }
  ScratchRegistryKey(const ScratchRegistryKey&) = delete;
  ScratchRegistryKey& operator=(const ScratchRegistryKey&) = delete;

  void SetDword(const char* name, DWORD value) { Set(name, REG_DWORD, &value, sizeof value); }
  void SetString(const char* name, const std::string& value) {
    Set(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
  }
  void Set(const char* name, DWORD type, const void* data, DWORD size) {
    RegSetKeyValueA(m_root, m_path.c_str(), name, type, data, size);
  }
  // Makes the key without values.
  void Create() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(m_root, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
      RegCloseKey(key);
    }
  }
  bool Exists() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(m_root, m_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

 private:
  void Delete() { RegDeleteTreeA(m_root, m_path.c_str()); }

  HKEY m_root;
  std::string m_path;
};

}  // namespace zrtest
