// Where the test programs find the built program's files, and scratch files of their own.
#pragma once

#include <string>

namespace animplayer::test {

// The program's Resource folder of this build, with a trailing backslash.
std::wstring ResourceFolder();

// A file in the temporary folder, removed again when the object goes.
class ScratchFile {
 public:
  ScratchFile(const std::wstring& name, const std::string& content);
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile();
  const std::wstring& Path() const { return m_path; }

 private:
  std::wstring m_path;
};

}  // namespace animplayer::test
