// Works with the maker's power-saving companion (QPS) through its "Oktan Engine"
// window: reads the current power-saving mode from the firmware, asks the companion
// to change mode or to go to automatic mode, and says whether automatic mode is
// available and whether the companion still needs calibrating.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

namespace plinth {
class BiosItem;
}

class QpsEngine {
 public:
  static QpsEngine* Instance();

  // Looks the companion's window up again; true if found.
  bool FindEngineWindow();
  // The current mode, 0 to 3. A board without the mode item, or a mode that can't
  // be read, gives 1, as an unknown raw mode does.
  int ReadMode();
  // Posts the message of mode 0 to 3 to the companion; nothing for other modes or
  // without a window.
  void PostMode(int mode);
  // Posts the automatic-mode request; nothing without a window.
  void PostAutoMode();
  // Whether the firmware allows automatic mode; worked out once per run.
  bool IsAutoModeAvailable();
  // IsCalibrationFlagSet() or not AreThresholdsPresent().
  bool NeedsCalibration();

 private:
  QpsEngine() = default;
  // The power-saving mode item, looked up once per run.
  const plinth::BiosItem* ModeItem();

  HWND m_engineWindow = nullptr;
  bool m_modeItemLooked = false;
  std::unique_ptr<plinth::BiosItem> m_modeItem;
  std::optional<bool> m_autoModeAvailable;
};

// The current user's "CalibrationNeeded" value is 1.
bool IsCalibrationFlagSet();
// Every threshold the companion's calibration writes (three, or six with the
// extended thresholds) is in the registry.
bool AreThresholdsPresent();
// The firmware has the three extended threshold items; worked out once per run.
bool HasExtendedThresholds();
