#include "plinth/System/Source/WinRegistry.h"

#include <cstring>

#include "formkit/Assert.h"

namespace plinth {

namespace {

enum class NameKind { SubKey, Value };

// Length of the longest sub-key or value name of key, plus its NUL; 0 when the
// key cannot be queried (not an error: the open key is still usable).
DWORD NameBufferLength(HKEY key, NameKind kind) {
  DWORD count = 0;
  DWORD longest = 0;
  LSTATUS status = kind == NameKind::SubKey
                       ? RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr)
                       : RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                                          &longest, nullptr, nullptr, nullptr);
  return status == ERROR_SUCCESS ? longest + 1 : 0;
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

}  // namespace

RegSubKeyBase::RegSubKeyBase(HKEY key) : m_key(key) { PrepareNameBuffer(); }

void RegSubKeyBase::PrepareNameBuffer() {
  m_nameBuf.reset();
  m_nameLen = NameBufferLength(m_key, NameKind::SubKey);
  if (m_nameLen != 0) m_nameBuf = std::make_unique_for_overwrite<char[]>(m_nameLen);
}

namespace detail {

RegValueBase::RegValueBase(HKEY key) : m_key(key) { PrepareNameBuffer(); }

void RegValueBase::PrepareNameBuffer() {
  m_nameBuf.reset();
  m_nameLen = NameBufferLength(m_key, NameKind::Value);
  if (m_nameLen != 0) m_nameBuf = std::make_unique_for_overwrite<char[]>(m_nameLen);
}

void OpenRegKey::Attach(HKEY key) {
  ZR_ASSERT(!IsOpen());
  m_key.Reset(key);
  m_values = std::make_unique<RegValueBase>(key);
  m_subKeys = std::make_unique<RegSubKeyBase>(key);
}

void OpenRegKey::Close() {
  m_key.Reset();
  m_values.reset();
  m_subKeys.reset();
}

bool OpenRegKey::ReadString(const char* name, std::string& out) const {
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExA(m_key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || !IsStringType(type)) {
    return false;
  }
  // One spare NUL, so that a value stored without its own terminator still ends.
  auto buffer = std::make_unique<char[]>(size + 1);
  if (RegQueryValueExA(m_key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.get()), &size) !=
          ERROR_SUCCESS ||
      !IsStringType(type)) {
    return false;
  }
  // A multi-string yields its first string: the text up to the first NUL.
  out.assign(buffer.get(), strnlen(buffer.get(), size));
  return true;
}

bool OpenRegKey::ReadDword(const char* name, DWORD* out) const {
  // Read into a local, so that a value of another type never reaches the caller.
  DWORD type = REG_NONE;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExA(m_key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value) {
    return false;
  }
  *out = value;
  return true;
}

}  // namespace detail

bool RegAccessor::Open(HKEY root, const char* path, bool create) {
  ZR_ASSERT(!IsOpen());
  HKEY key = nullptr;
  LSTATUS status = create ? RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                            &key, nullptr)
                          : RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key);
  if (status != ERROR_SUCCESS) return false;
  m_key.Attach(key);
  return true;
}

bool RegReader::Open(HKEY root, const char* path) {
  ZR_ASSERT(!IsOpen());
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, AccessRights(), &key) != ERROR_SUCCESS) return false;
  m_key.Attach(key);
  return true;
}

}  // namespace plinth
