// Reading string values from one ini file through the system's private-profile
// functions.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace plinth {

// The two private-profile functions an accessor calls. Normally the system's;
// a test substitutes counting ones to see how often the file is read.
struct ProfileFunctions {
  using GetStringFunction = DWORD(WINAPI*)(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buffer, DWORD size,
                                           LPCSTR file);
  using WriteStringFunction = BOOL(WINAPI*)(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);

  GetStringFunction GetString = &GetPrivateProfileStringA;
  WriteStringFunction WriteString = &WritePrivateProfileStringA;
};

class IniAccessor {
 public:
  explicit IniAccessor(const ProfileFunctions& functions = {}) : m_functions(functions) {}
  IniAccessor(const IniAccessor&) = delete;
  IniAccessor& operator=(const IniAccessor&) = delete;
  ~IniAccessor() { Close(); }

  // Remembers the path and prepares the read buffer; the file is not touched, so
  // a missing file shows only as default texts.
  bool Open(const char* path);
  // out receives the value, or def when the file, section or key is missing.
  void ReadString(const char* section, const char* key, const char* def, std::string& out);
  // Asks the system to drop its cached copy of the file.
  void Close();
  bool IsOpen() const { return m_buf != nullptr; }

 private:
  static constexpr unsigned kInitialBufferSize = 128;

  void AllocateBuffer(unsigned size);

  ProfileFunctions m_functions;
  std::string m_fileName;
  std::unique_ptr<char[]> m_buf;
  unsigned m_bufSize = 0;
};

}  // namespace plinth
