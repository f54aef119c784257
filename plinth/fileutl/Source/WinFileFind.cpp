#include "plinth/fileutl/Source/WinFileFind.h"

#include <shlobj.h>

#include <cstring>

#include "formkit/Assert.h"

namespace plinth {

namespace {

std::string DirectoryPart(const char* spec) {
  const std::string text = spec;
  const std::size_t slash = text.rfind('\\');
  return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

bool IsDirectory(const WIN32_FIND_DATAA& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool IsDotEntry(const WIN32_FIND_DATAA& entry) {
  return std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0;
}

}  // namespace

bool WinFileFindA::FindFirst(const char* pattern) {
  ZR_ASSERT(!IsOpen());
  m_data = std::make_unique<WIN32_FIND_DATAA>();
  m_handle.Reset(FindFirstFileA(pattern, m_data.get()));
  if (!m_handle) {
    m_data.reset();
    return false;
  }
  m_hasEntry = true;
  return true;
}

void WinFileFindA::FindNext() {
  ZR_ASSERT(IsOpen());
  m_hasEntry = FindNextFileA(m_handle.Get(), m_data.get()) != FALSE;
}

WIN32_FIND_DATAA& WinFileFindA::Data() {
  ZR_ASSERT(IsOpen());
  return *m_data;
}

void WinFileFindA::Close() {
  m_data.reset();
  m_handle.Reset();
  m_hasEntry = false;
}

bool WinDirTraverser::Start(const char* spec, bool recursive) {
  ZR_ASSERT(IsDone());
  m_dir = DirectoryPart(spec);
  m_recursive = recursive;
  PushDirectory();
  DropExhausted();
  return true;
}

void WinDirTraverser::Next() {
  ZR_ASSERT(!IsDone());
  const WIN32_FIND_DATAA& entry = m_finders.back()->Data();
  if (m_recursive && IsDirectory(entry) && !IsDotEntry(entry)) {
    m_dir = m_dir + "\\" + entry.cFileName;
    PushDirectory();
  } else {
    m_finders.back()->FindNext();
  }
  DropExhausted();
}

WIN32_FIND_DATAA& WinDirTraverser::Current() {
  ZR_ASSERT(!IsDone());
  return m_finders.back()->Data();
}

void WinDirTraverser::Close() {
  while (!m_finders.empty()) m_finders.pop_back();
  m_dir.clear();
}

void WinDirTraverser::PushDirectory() {
  auto finder = std::make_unique<WinFileFindA>();
  // A folder that cannot be listed is still a level: one without entries.
  finder->FindFirst((m_dir + "\\*").c_str());
  m_finders.push_back(std::move(finder));
}

void WinDirTraverser::PopDirectory() {
  m_finders.pop_back();
  const std::size_t slash = m_dir.rfind('\\');
  if (slash != std::string::npos) {
    m_dir.erase(slash);
  } else {
    // A bare drive such as "C:" keeps its colon.
    const std::size_t colon = m_dir.find(':');
    m_dir.erase(colon == std::string::npos ? 0 : colon + 1);
  }
}

void WinDirTraverser::DropExhausted() {
  while (!m_finders.back()->HasEntry()) {
    PopDirectory();
    if (m_finders.empty()) return;
    // Moves past the folder that was just left.
    m_finders.back()->FindNext();
  }
}

bool WinFileEnumerater::Start(const char* spec, bool recursive) {
  const bool started = m_traverser.Start(spec, recursive);
  SkipDirectories();
  return started;
}

void WinFileEnumerater::Next() {
  m_traverser.Next();
  SkipDirectories();
}

void WinFileEnumerater::SkipDirectories() {
  while (!m_traverser.IsDone() && IsDirectory(m_traverser.Current())) m_traverser.Next();
}

std::string FileNameEnumerater::FullName() { return m_files.Directory() + "\\" + m_files.Current().cFileName; }

std::string GetSpecialFolderPath(int csidl) {
  char path[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
  return std::string(path) + "\\";
}

}  // namespace plinth
