#include "simboard/kvacpi/BoardStore.h"

#include "simboard/kvacpi/BoardParser.h"
#include "simboard/kvacpi/BoardReport.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace simboard {
namespace {

// Long enough for any process to finish its operation; a lock that is not had by
// then fails the operation instead of hanging the caller.
constexpr DWORD LockTimeoutMs = 10000;
constexpr DWORD MaxBoardBytes = 16 * 1024 * 1024;
constexpr char DefaultBoardResource[] = "DEFAULTBOARD";

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH * 2];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return (n == 0 || n >= sizeof buffer) ? path : std::string(buffer, n);
}

std::string DefaultBoardPath() {
  char folder[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) folder[0] = 0;
  std::string path = folder;
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + "Kovra SimBoard\\Board.txt";
}

// Mutex names cannot hold backslashes, so the path goes in as a hash; Windows paths
// ignore case, and so does the name.
std::string MutexName(std::string path) {
  CharUpperBuffA(path.data(), static_cast<DWORD>(path.size()));
  uint32_t hash = 2166136261u;  // FNV-1a
  for (char c : path) {
    hash ^= static_cast<uint8_t>(c);
    hash *= 16777619u;
  }
  char name[64];
  std::snprintf(name, sizeof name, "Local\\ZentrikSimBoard.%08X", static_cast<unsigned>(hash));
  return name;
}

// The default board built into this library.
std::string DefaultBoardText() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&DefaultBoardText), &self);
  HRSRC resource = FindResourceA(self, DefaultBoardResource, MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = resource ? LoadResource(self, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  return data ? std::string(static_cast<const char*>(data), SizeofResource(self, resource)) : std::string();
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size() && FlushFileBuffers(file.Get());
}

std::string TempPathFor(const std::string& path) {
  return path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
}

}  // namespace

bool BoardStore::FileStamp::operator==(const FileStamp& o) const {
  return volume == o.volume && indexHigh == o.indexHigh && indexLow == o.indexLow && sizeHigh == o.sizeHigh &&
         sizeLow == o.sizeLow && lastWrite.dwLowDateTime == o.lastWrite.dwLowDateTime &&
         lastWrite.dwHighDateTime == o.lastWrite.dwHighDateTime;
}

BoardStore& BoardStore::Instance() {
  static BoardStore store;
  return store;
}

std::string BoardStore::CurrentBoardPath() {
  char value[MAX_PATH * 2];
  DWORD n = GetEnvironmentVariableA("ZR_BOARD", value, sizeof value);
  if (n > 0 && n < sizeof value) return FullPath(std::string(value, n));
  return DefaultBoardPath();
}

HANDLE BoardStore::MutexFor(const std::string& path) {
  if (!m_mutex || m_mutexPath != path) {
    m_mutex.Reset(CreateMutexA(nullptr, FALSE, MutexName(path).c_str()));
    m_mutexPath = path;
  }
  return m_mutex.Get();
}

void BoardStore::SeedDefaultBoard(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  std::string folder = path.substr(0, path.find_last_of('\\'));
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string temp = TempPathFor(path);
  if (!WriteWholeFile(temp, DefaultBoardText()) || !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temp.c_str());
  }
}

void BoardStore::Broken(const std::string& path, const std::string& text, const std::optional<FileStamp>& stamp) {
  m_path = path;
  m_stamp = stamp;
  m_text.clear();
  m_board.reset();
  // One report per broken state: the same file, unchanged, is not reported again.
  std::string key = text;
  if (stamp) {
    char id[96];
    std::snprintf(id, sizeof id, "|%lx:%lx:%lx:%lx:%lx", stamp->indexHigh, stamp->indexLow, stamp->sizeLow,
                  stamp->lastWrite.dwHighDateTime, stamp->lastWrite.dwLowDateTime);
    key += id;
  }
  if (key != m_lastReport) {
    m_lastReport = key;
    ReportBoardProblem(path, text);
  }
}

bool BoardStore::Refresh(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    DWORD error = GetLastError();
    Broken(path, path + ": cannot be read (error " + std::to_string(error) + ")", std::nullopt);
    return false;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file.Get(), &info)) {
    Broken(path, path + ": cannot be read (error " + std::to_string(GetLastError()) + ")", std::nullopt);
    return false;
  }
  FileStamp stamp{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow,
                  info.nFileSizeHigh,        info.nFileSizeLow,   info.ftLastWriteTime};
  if (m_path == path && m_stamp && *m_stamp == stamp) return m_board.has_value();
  if (info.nFileSizeHigh != 0 || info.nFileSizeLow > MaxBoardBytes) {
    Broken(path, path + ": too large for a board file", stamp);
    return false;
  }
  std::string text(info.nFileSizeLow, '\0');
  DWORD read = 0;
  if (!text.empty() && (!ReadFile(file.Get(), text.data(), info.nFileSizeLow, &read, nullptr) || read != text.size())) {
    Broken(path, path + ": cannot be read (error " + std::to_string(GetLastError()) + ")", stamp);
    return false;
  }
  BoardParseError error;
  std::optional<Board> board = BoardParser::Parse(text, error);
  if (!board) {
    Broken(path, path + "(" + std::to_string(error.line) + "): " + error.message, stamp);
    return false;
  }
  m_path = path;
  m_stamp = stamp;
  m_text = std::move(text);
  m_board = std::move(board);
  m_lastReport.clear();
  return true;
}

bool BoardStore::ReplaceFile(const std::string& path, const std::string& text) {
  std::string temp = TempPathFor(path);
  if (WriteWholeFile(temp, text) &&
      MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileA(temp.c_str());
  return false;
}

bool BoardStore::WithBoard(const std::function<bool(const Board&)>& use) {
  std::lock_guard<std::mutex> guard(m_lock);
  const std::string path = CurrentBoardPath();
  HANDLE mutex = MutexFor(path);
  if (!mutex) return false;
  DWORD wait = WaitForSingleObject(mutex, LockTimeoutMs);
  // An abandoned mutex is ours now; the file is whole because writes replace it.
  if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) return false;
  MutexOwnership owned(mutex);
  if (path == DefaultBoardPath()) SeedDefaultBoard(path);
  return Refresh(path) && use(*m_board);
}

bool BoardStore::WriteValue(uint32_t id, uint32_t value) {
  return WithBoard([&](const Board& board) {
    const BoardItem* item = board.FindItem(id);
    if (!item || item->failWrite) return false;
    if (!ReplaceFile(m_path, Board::TextWithValue(m_text, *item, value))) return false;
    m_stamp.reset();  // read back on the next operation
    return true;
  });
}

}  // namespace simboard
