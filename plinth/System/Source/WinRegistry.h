// Registry access: small wrappers around one open registry key, used as local
// objects (construct, Open, read, let the destructor close the key).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "formkit/Handle.h"

namespace plinth {

using RegKeyHandle = formkit::UniqueHandle<HKEY, &RegCloseKey>;

// Starting state of an enumeration of a key's sub-keys: a buffer that holds the
// longest sub-key name of the key with its NUL.
class RegSubKeyBase {
 public:
  explicit RegSubKeyBase(HKEY key);
  RegSubKeyBase(const RegSubKeyBase&) = delete;
  RegSubKeyBase& operator=(const RegSubKeyBase&) = delete;

  char* NameBuffer() const { return m_nameBuf.get(); }
  // 0 when the key could not be queried.
  DWORD NameLength() const { return m_nameLen; }

 private:
  void PrepareNameBuffer();

  HKEY m_key;
  std::unique_ptr<char[]> m_nameBuf;
  DWORD m_nameLen = 0;
};

namespace detail {

// The same for an enumeration of the key's values.
class RegValueBase {
 public:
  explicit RegValueBase(HKEY key);
  RegValueBase(const RegValueBase&) = delete;
  RegValueBase& operator=(const RegValueBase&) = delete;

  char* NameBuffer() const { return m_nameBuf.get(); }
  DWORD NameLength() const { return m_nameLen; }

 private:
  void PrepareNameBuffer();

  HKEY m_key;
  std::unique_ptr<char[]> m_nameBuf;
  DWORD m_nameLen = 0;
};

// What both wrappers hold while open: the owned key and the enumeration states.
class OpenRegKey {
 public:
  OpenRegKey() = default;
  OpenRegKey(const OpenRegKey&) = delete;
  OpenRegKey& operator=(const OpenRegKey&) = delete;

  void Attach(HKEY key);
  void Close();
  bool IsOpen() const { return m_subKeys != nullptr; }

  bool ReadString(const char* name, std::string& out) const;
  bool ReadDword(const char* name, DWORD* out) const;

 private:
  RegKeyHandle m_key;
  std::unique_ptr<RegSubKeyBase> m_subKeys;
  std::unique_ptr<RegValueBase> m_values;
};

}  // namespace detail

// A key opened with full access, optionally created when missing; reads string
// and DWORD values.
class RegAccessor {
 public:
  RegAccessor() = default;
  RegAccessor(const RegAccessor&) = delete;
  RegAccessor& operator=(const RegAccessor&) = delete;
  ~RegAccessor() { Close(); }

  // Opens root\path with KEY_ALL_ACCESS; with create set, creates it when missing.
  bool Open(HKEY root, const char* path, bool create);
  // True when the value exists with a string type (REG_SZ, REG_EXPAND_SZ: its text
  // unexpanded, REG_MULTI_SZ: its first string); out is untouched otherwise.
  bool ReadString(const char* name, std::string& out) const { return m_key.ReadString(name, out); }
  // True when the value exists with type REG_DWORD; *out is untouched otherwise.
  bool ReadDword(const char* name, DWORD* out) const { return m_key.ReadDword(name, out); }
  void Close() { m_key.Close(); }
  bool IsOpen() const { return m_key.IsOpen(); }

 private:
  detail::OpenRegKey m_key;
};

// An existing key opened read-only; reads DWORD values.
class RegReader {
 public:
  RegReader() = default;
  RegReader(const RegReader&) = delete;
  RegReader& operator=(const RegReader&) = delete;
  virtual ~RegReader() { Close(); }

  // Opens root\path with AccessRights(); never creates it.
  bool Open(HKEY root, const char* path);
  bool ReadDword(const char* name, DWORD* out) const { return m_key.ReadDword(name, out); }
  void Close() { m_key.Close(); }
  bool IsOpen() const { return m_key.IsOpen(); }

  // The rights Open asks for, looked up at every Open.
  virtual REGSAM AccessRights() const { return KEY_READ; }

 private:
  detail::OpenRegKey m_key;
};

}  // namespace plinth
