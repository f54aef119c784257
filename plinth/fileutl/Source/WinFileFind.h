// Listing the entries of a folder, optionally with all its sub-folders, on top of
// FindFirstFileA / FindNextFileA, and the path of a shell special folder.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "formkit/Handle.h"

namespace plinth {

using FindHandle = formkit::UniqueHandle<HANDLE, &FindClose, -1>;

// One search: one pattern, one search handle, one current entry.
class WinFileFindA {
 public:
  WinFileFindA() = default;
  WinFileFindA(const WinFileFindA&) = delete;
  WinFileFindA& operator=(const WinFileFindA&) = delete;
  ~WinFileFindA() { Close(); }

  // False when nothing matches or the folder cannot be read; the search stays closed.
  bool FindFirst(const char* pattern);
  // Moves to the next entry; HasEntry() tells whether there was one.
  void FindNext();
  bool HasEntry() const { return m_hasEntry; }
  WIN32_FIND_DATAA& Data();
  void Close();
  bool IsOpen() const { return m_data != nullptr; }

 private:
  std::unique_ptr<WIN32_FIND_DATAA> m_data;
  FindHandle m_handle;
  bool m_hasEntry = false;
};

// A depth-first walk that yields every entry, folders (and "." and "..") included:
// a folder comes before its contents, which come before the folder's next sibling.
// Whatever follows the last backslash of the start spec is ignored: every entry
// is listed and the caller filters.
class WinDirTraverser {
 public:
  WinDirTraverser() = default;
  WinDirTraverser(const WinDirTraverser&) = delete;
  WinDirTraverser& operator=(const WinDirTraverser&) = delete;
  ~WinDirTraverser() { Close(); }

  // Begins at the folder part of spec (up to and including its last backslash; the
  // root of the current drive when it has none). Always true: a folder that cannot
  // be listed just makes the walk done.
  bool Start(const char* spec, bool recursive);
  bool IsDone() const { return m_finders.empty(); }
  void Next();
  WIN32_FIND_DATAA& Current();
  // The folder of the current entry as the walk builds it: the start folder keeps
  // the trailing backslash of the start pattern, and each level below adds one and its name.
  std::string Directory() const { return m_dir; }
  // Ends the walk and closes every open search.
  void Close();

 private:
  void PushDirectory();
  void PopDirectory();
  void DropExhausted();

  bool m_recursive = false;
  std::string m_dir;
  // One open search per folder level; the last is the deepest and holds the current entry.
  std::vector<std::unique_ptr<WinFileFindA>> m_finders;
};

// The walk without folder entries: folders still lead into their contents when
// recursive, but are never current.
class WinFileEnumerater {
 public:
  bool Start(const char* spec, bool recursive);
  bool IsDone() const { return m_traverser.IsDone(); }
  void Next();
  WIN32_FIND_DATAA& Current() { return m_traverser.Current(); }
  std::string Directory() const { return m_traverser.Directory(); }
  void Close() { m_traverser.Close(); }

 private:
  void SkipDirectories();

  WinDirTraverser m_traverser;
};

// The file walk with the full path name of the current file.
class FileNameEnumerater {
 public:
  FileNameEnumerater() = default;
  FileNameEnumerater(const FileNameEnumerater&) = delete;
  FileNameEnumerater& operator=(const FileNameEnumerater&) = delete;
  ~FileNameEnumerater() { m_files.Close(); }

  bool Start(const char* spec, bool recursive) { return m_files.Start(spec, recursive); }
  bool IsDone() const { return m_files.IsDone(); }
  void Next() { m_files.Next(); }
  // The folder, a backslash and the file name. Files found directly in a start
  // folder given with its trailing backslash carry a doubled backslash, which the
  // system's file functions accept.
  std::string FullName();

 private:
  WinFileEnumerater m_files;
};

// The path of a shell special folder (CSIDL value), created when missing, followed
// by a backslash; an empty text when the system cannot provide it.
std::string GetSpecialFolderPath(int csidl);

}  // namespace plinth
