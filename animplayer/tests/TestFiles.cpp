#include "animplayer/tests/TestFiles.h"

#include "formkit/Handle.h"

#include <windows.h>

#include <vector>

namespace animplayer::test {

std::wstring ResourceFolder() {
  // Tests live in build/tests, the program in build/dist.
  std::vector<wchar_t> path(MAX_PATH);
  while (GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())) == path.size()) path.resize(path.size() * 2);
  std::wstring folder(path.data());
  folder.resize(folder.find_last_of(L'\\') + 1);
  return folder + L"..\\dist\\Resource\\";
}

ScratchFile::ScratchFile(const std::wstring& name, const std::string& content) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  m_path = std::wstring(temp) + name;
  formkit::FileHandle file(CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

ScratchFile::~ScratchFile() { DeleteFileW(m_path.c_str()); }

}  // namespace animplayer::test
