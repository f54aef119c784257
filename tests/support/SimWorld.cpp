#include "tests/support/SimWorld.h"

#include "oc/AcpiLibrary.h"
#include "simboard/remote/RemoteCommands.h"
#include "tests/support/FileText.h"
#include "tests/support/Waiting.h"

#include <shlobj.h>

#include <cstring>

namespace zrtest {

namespace {

constexpr DWORD ReadyTimeoutMs = 20000;
constexpr char BoardVariable[] = "ZR_BOARD";
constexpr char PlayerLogVariable[] = "FLASHOBJ_LOG";

std::string TestProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// build/tests/ -> build/
std::string BuildFolder() {
  std::string tests = TestProgramFolder();
  tests.pop_back();
  return tests.substr(0, tests.find_last_of('\\') + 1);
}

std::string CommonAppData() {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
  return std::string(path) + "\\";
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

// Makes the folders of `path` up to its last backslash.
void MakeFoldersFor(const std::string& path) {
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
}

std::string ProfileFolder() { return CommonAppData() + "Kovra OC Profiles"; }

bool WindowOf(HWND window, DWORD processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  return owner == processId;
}

struct WindowSearch {
  DWORD processId;
  const char* className;
  const char* caption;
  HWND found;
};

BOOL CALLBACK ConsiderWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  if (!WindowOf(window, search->processId)) return TRUE;
  char text[256] = {};
  if (search->className) {
    GetClassNameA(window, text, sizeof text);
    if (std::strcmp(text, search->className) != 0) return TRUE;
  }
  if (search->caption) {
    GetWindowTextA(window, text, sizeof text);
    if (std::strcmp(text, search->caption) != 0) return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

std::string SimWorld::DistFolder() { return BuildFolder() + "dist\\"; }
std::string SimWorld::SimboardFolder() { return BuildFolder() + "simboard\\"; }

SimWorld::SimWorld() {
  WipeSharedState();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  m_folder = std::string(temp) + "zr-world-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(GetTickCount()) + "\\";
  CreateDirectoryA(m_folder.c_str(), nullptr);
  m_boardPath = m_folder + "Board.txt";
  CopyFileA((SimboardFolder() + "DefaultBoard.txt").c_str(), m_boardPath.c_str(), FALSE);
  // This process reaches the same firmware as the children.
  SetEnvironmentVariableA(BoardVariable, m_boardPath.c_str());
}

SimWorld::~SimWorld() {
  // The program first, then what it talks to.
  while (!m_children.empty()) m_children.pop_back();
  SetEnvironmentVariableA(BoardVariable, nullptr);
  WipeSharedState();
  RemoveTree(m_folder.substr(0, m_folder.size() - 1));
}

void SimWorld::WipeSharedState() {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Kovra");
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Kovra");
  HKEY runOnce = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0, KEY_SET_VALUE,
                    &runOnce) == ERROR_SUCCESS) {
    RegDeleteValueA(runOnce, "MBAP_REBOOT");
    RegCloseKey(runOnce);
  }
  RemoveTree(ProfileFolder());
}

bool SimWorld::SetItem(uint32_t id, uint32_t value) { return (AcpiWriteItem(id, value, 1) & 1) != 0; }

std::optional<uint32_t> SimWorld::Item(uint32_t id) {
  uint32_t value = 0;
  if (!(AcpiReadItem(id, &value) & 1)) return std::nullopt;
  return value;
}

bool SimWorld::EditBoardLine(const std::string& prefix, const std::string& line) {
  const std::string text = ReadFileText(m_boardPath);
  std::string edited;
  bool changed = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string current = text.substr(start, end - start);
    if (current.compare(0, prefix.size(), prefix) == 0) {
      edited += line + "\n";
      changed = true;
    } else {
      edited += current;
    }
    start = end;
  }
  return changed && WriteFileText(m_boardPath, edited);
}

void SimWorld::SetDword(HKEY root, const std::string& path, const char* name, DWORD value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void SimWorld::SetString(HKEY root, const std::string& path, const char* name, const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

void SimWorld::InstallOcCompanion() {
  SetString(HKEY_LOCAL_MACHINE, "Software\\Kovra\\Zentrik ZIR", "CaptionName", "Zentrik ZIR");
}

void SimWorld::InstallQpsCompanion() {
  SetString(HKEY_LOCAL_MACHINE, "Software\\Kovra\\QPS-6 Engine", "CaptionName", "QPS-6 Engine");
}

void SimWorld::AssignProfile(char button, DWORD index, const std::string& name) {
  const std::string prefix = std::string("ZRProfile") + button;
  SetDword(HKEY_CURRENT_USER, "Software\\Kovra\\Zentrik Profile", (prefix + "Index").c_str(), index);
  SetString(HKEY_CURRENT_USER, "Software\\Kovra\\Zentrik Profile", (prefix + "Name").c_str(), name);
}

void SimWorld::SetCalibrationNeeded(bool needed) {
  SetDword(HKEY_CURRENT_USER, "Software\\Kovra\\Pacer3\\Advance", "CalibrationNeeded", needed ? 1 : 0);
}

void SimWorld::SetThresholds(int count) {
  for (int i = 1; i <= count; ++i)
    SetDword(HKEY_LOCAL_MACHINE, "Software\\Kovra\\Pacer3", ("Threshold" + std::to_string(i)).c_str(), 20 * i);
}

void SimWorld::WriteProfileFile(const std::string& name, uint32_t frequencyIndex) {
  std::string path = ProfileFolder() + "\\" + name + ".oc";
  for (char& c : path)
    if (c == '/') c = '\\';
  MakeFoldersFor(path);
  // First word, version, record count, then the one record: item id and value index.
  const uint32_t words[] = {0, 1, 1, FrequencyItem, frequencyIndex};
  WriteFileText(path, std::string(reinterpret_cast<const char*>(words), sizeof words));
}

ChildOptions SimWorld::Options(const std::string& arguments) const {
  ChildOptions options;
  options.arguments = arguments;
  options.environment[BoardVariable] = m_boardPath;
  options.environment[PlayerLogVariable] = PlayerLogPath();
  return options;
}

ChildProgram* SimWorld::Keep(std::unique_ptr<ChildProgram> child) {
  if (!child) return nullptr;
  m_children.push_back(std::move(child));
  return m_children.back().get();
}

void SimWorld::End(ChildProgram* child) {
  for (auto it = m_children.begin(); it != m_children.end(); ++it) {
    if (it->get() != child) continue;
    if (child == m_program) m_program = nullptr;
    if (child == m_service) m_service = nullptr;
    m_children.erase(it);
    return;
  }
}

ChildProgram* SimWorld::StartService() {
  ChildProgram* service = Keep(ChildProgram::Start(SimboardFolder() + "KovraSimService.exe", Options("")));
  if (!service || !WaitUntil([&] { return RegisteredCount().has_value() || !service->IsRunning(); }, ReadyTimeoutMs) ||
      !service->IsRunning()) {
    return nullptr;
  }
  m_service = service;
  return service;
}

void SimWorld::StopService() {
  if (m_service) End(m_service);
}

ChildProgram* SimWorld::StartOcCompanion(const std::string& arguments) {
  ChildProgram* companion =
      Keep(ChildProgram::Start(SimboardFolder() + "ZentrikCompanion.exe", Options("--log \"" + m_folder + "oc.log\" " + arguments)));
  if (!companion || !WaitUntil([&] { return FindWindowA("TMainForm", "Zentrik") || !companion->IsRunning(); },
                               ReadyTimeoutMs))
    return nullptr;
  return companion->IsRunning() ? companion : nullptr;
}

ChildProgram* SimWorld::StartQpsCompanion(const std::string& arguments) {
  ChildProgram* companion = Keep(ChildProgram::Start(SimboardFolder() + "OktanEngineCompanion.exe",
                                                     Options("--log \"" + m_folder + "qps.log\" " + arguments)));
  if (!companion || !WaitUntil([&] { return FindWindowA("TMainForm", "Oktan Engine") || !companion->IsRunning(); },
                               ReadyTimeoutMs))
    return nullptr;
  return companion->IsRunning() ? companion : nullptr;
}

ChildProgram* SimWorld::StartBusyWindows(const std::string& arguments) {
  ChildProgram* busy = Keep(ChildProgram::Start(SimboardFolder() + "BusyWindows.exe", Options(arguments)));
  if (!busy || !WaitUntil([&] {
        return FindWindowA("TProgressDialog", nullptr) || FindWindowA("TfrmGuiBackground", nullptr) ||
               !busy->IsRunning();
      }, ReadyTimeoutMs))
    return nullptr;
  return busy->IsRunning() ? busy : nullptr;
}

ChildProgram* SimWorld::StartProgram(const std::string& arguments, bool waitReady) {
  ChildProgram* program = Keep(ChildProgram::Start(DistFolder() + "ZentrikRemote.exe", Options(arguments)));
  if (!program) return nullptr;
  m_program = program;
  if (!waitReady) return program;
  // Input idle: the message loop runs, so start-up (forms, state machine) is done.
  if (WaitForInputIdle(program->Handle(), ReadyTimeoutMs) != 0 || !program->IsRunning()) return nullptr;
  if (m_service && !WaitUntil([&] { return RegisteredCount().value_or(0) > 0; }, ReadyTimeoutMs)) return nullptr;
  return program;
}

bool SimWorld::Deliver(uint32_t message, uint32_t wParam, uint32_t lParam) {
  return simboard::remote::DeliverThroughService({message, wParam, lParam}) == simboard::remote::Delivery::Delivered;
}

std::optional<unsigned> SimWorld::RegisteredCount() { return simboard::remote::RegisteredWindowCount(); }

HWND SimWorld::ProgramWindow(const char* className, const char* caption) const {
  if (!m_program) return nullptr;
  WindowSearch search{m_program->Id(), className, caption, nullptr};
  EnumWindows(&ConsiderWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool SimWorld::OverlayVisible() const {
  HWND overlay = Overlay();
  return overlay && IsWindowVisible(overlay);
}

std::optional<BYTE> SimWorld::OverlayAlpha() const {
  HWND overlay = Overlay();
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!overlay || !GetLayeredWindowAttributes(overlay, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
    return std::nullopt;
  return alpha;
}

}  // namespace zrtest
