// A whole simulated machine for one scenario: a board file of its own (a copy of the
// default board), the registry values and profile files the program reads, and the
// programs of the simulated board and the program itself started as children. The
// registry and the profile folder are shared by the whole Wine prefix, so a world is
// wiped clean when it is made and again when it goes, and every child it started is
// ended by its handle.
#pragma once

#include "tests/support/ChildProgram.h"
#include "tests/support/CompanionLogReader.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zrtest {

// The remote control's button codes.
namespace button {
inline constexpr uint32_t A = 0x90, B = 0x91, C = 0x92, Manual = 0x93, Auto = 0x94, Up = 0x95, Down = 0x96;
}

// The service's messages to the program, marked with 'U' in wParam.
inline constexpr uint32_t Sentinel = 'U';
inline constexpr uint32_t QuitMessage = WM_USER + 0;
inline constexpr uint32_t ButtonMessage = WM_USER + 8;

// Firmware items the scenarios look at.
inline constexpr uint32_t ActiveProfileItem = 0x11060008;
inline constexpr uint32_t FrequencyItem = 0x03010011;
inline constexpr uint32_t PowerModeItem = 0x0B000001;

class SimWorld {
 public:
  SimWorld();
  ~SimWorld();
  SimWorld(const SimWorld&) = delete;
  SimWorld& operator=(const SimWorld&) = delete;

  // The build's folders, found from the test program's folder (build/tests).
  static std::string DistFolder();      // with a trailing backslash
  static std::string SimboardFolder();  // with a trailing backslash
  // The world's own temporary folder, with a trailing backslash.
  const std::string& Folder() const { return m_folder; }
  const std::string& BoardPath() const { return m_boardPath; }

  // Firmware of this world's board, through KVACPI.DLL.
  bool SetItem(uint32_t id, uint32_t value);
  std::optional<uint32_t> Item(uint32_t id);
  // Replaces every board line that starts with `prefix` by `line`; false if none does.
  bool EditBoardLine(const std::string& prefix, const std::string& line);

  // Registry. Installing writes the companion's "CaptionName".
  void InstallOcCompanion();
  void InstallQpsCompanion();
  // Profile buttons: positions in the profile list and names (HKEY_CURRENT_USER).
  void AssignProfile(char button, DWORD index, const std::string& name);
  // Calibration of the power-saving companion: the flag and the six thresholds.
  void SetCalibrationNeeded(bool needed);
  void SetThresholds(int count);
  void SetDword(HKEY root, const std::string& path, const char* name, DWORD value);
  void SetString(HKEY root, const std::string& path, const char* name, const std::string& value);

  // A profile file in the shared profile folder holding one frequency index; the
  // name may hold a sub-folder ("Default/Default").
  void WriteProfileFile(const std::string& name, uint32_t frequencyIndex);

  // Children. Each waits until the program is ready (its windows exist, or the
  // service answers) and returns null when it could not start or get ready.
  ChildProgram* StartService();
  void StopService();
  ChildProgram* StartOcCompanion(const std::string& arguments = "");
  ChildProgram* StartQpsCompanion(const std::string& arguments = "");
  ChildProgram* StartBusyWindows(const std::string& arguments);
  // ZentrikRemote.exe from the build's dist folder. With `waitReady` it waits until
  // the program reads its messages (start-up done) and, while the service runs,
  // until it has registered.
  ChildProgram* StartProgram(const std::string& arguments = "", bool waitReady = true);
  ChildProgram* Program() const { return m_program; }
  // Ends a child now (by its handle) and forgets it.
  void End(ChildProgram* child);

  // The service's side: messages to every registered window.
  bool Deliver(uint32_t message, uint32_t wParam, uint32_t lParam);
  bool Press(uint32_t code) { return Deliver(ButtonMessage, Sentinel, code); }
  std::optional<unsigned> RegisteredCount();

  // What reached the companions so far.
  std::vector<CompanionMessage> OcLog() const { return ReadCompanionLog(m_folder + "oc.log"); }
  std::vector<CompanionMessage> QpsLog() const { return ReadCompanionLog(m_folder + "qps.log"); }
  // Where the player library logs its requests and call-backs.
  std::string PlayerLogPath() const { return m_folder + "player.log"; }

  // A top-level window of the program by class (or null for any) and caption.
  HWND ProgramWindow(const char* className, const char* caption) const;
  // The full-screen overlay form.
  HWND Overlay() const { return ProgramWindow(nullptr, "FlashOsdForm"); }
  bool OverlayVisible() const;
  // The overlay's constant opacity, or nothing when it has none.
  std::optional<BYTE> OverlayAlpha() const;

 private:
  static void WipeSharedState();
  ChildProgram* Keep(std::unique_ptr<ChildProgram> child);
  ChildOptions Options(const std::string& arguments) const;

  std::string m_folder;
  std::string m_boardPath;
  std::vector<std::unique_ptr<ChildProgram>> m_children;
  ChildProgram* m_program = nullptr;
  ChildProgram* m_service = nullptr;
};

}  // namespace zrtest
