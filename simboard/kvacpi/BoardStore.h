// The board file that KVACPI.DLL serves, shared by every process that uses the same
// file: each operation takes the board's named mutex, re-reads the file when it has
// changed, and a write replaces the file atomically before it returns.
#pragma once

#include "simboard/common/Handles.h"
#include "simboard/kvacpi/Board.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace simboard {

class BoardStore {
 public:
  static BoardStore& Instance();

  // Runs `use` on the current board and returns its answer; false without calling
  // it when the board cannot be used.
  bool WithBoard(const std::function<bool(const Board&)>& use);

  // Stores `value` in item `id` and persists it; false when the board cannot be
  // used, the item is unknown or its writes fail.
  bool WriteValue(uint32_t id, uint32_t value);

  // Full path of the board file the calling process uses now.
  static std::string CurrentBoardPath();

 private:
  // What identifies one version of the file on disk; an atomic replace changes the
  // file index even when size and time happen to match.
  struct FileStamp {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    DWORD sizeHigh = 0;
    DWORD sizeLow = 0;
    FILETIME lastWrite{};
    bool operator==(const FileStamp& o) const;
  };

  BoardStore() = default;
  // With the board's mutex held: brings the cache up to date with the file.
  bool Refresh(const std::string& path);
  HANDLE MutexFor(const std::string& path);
  void SeedDefaultBoard(const std::string& path);
  void Broken(const std::string& path, const std::string& text, const std::optional<FileStamp>& stamp);
  bool ReplaceFile(const std::string& path, const std::string& text);

  std::mutex m_lock;  // the cache is shared by the process's threads
  std::string m_mutexPath;
  KernelHandle m_mutex;
  std::string m_path;
  std::optional<FileStamp> m_stamp;
  std::string m_text;
  std::optional<Board> m_board;
  std::string m_lastReport;
};

}  // namespace simboard
