#include "oc/QpsEngine.h"

#include "oc/AcpiLibrary.h"
#include "oc/CompanionMessage.h"
#include "oc/FirmwareItemLookup.h"
#include "plinth/System/Source/WinRegistry.h"
#include "plinth/kovra/Source/BiosInterface.h"

#include <array>
#include <cstdio>

namespace {

constexpr const char* EngineWindowClass = "TMainForm";
constexpr const char* EngineWindowCaption = "Oktan Engine";
// The message for each mode, 0 to 3.
constexpr std::array<UINT, 4> ModeMessages{WM_USER + 34, WM_USER + 31, WM_USER + 32, WM_USER + 33};
constexpr UINT AutoModeMessage = WM_USER + 35;

constexpr uint32_t ModeGroup = 0x0B;
constexpr uint32_t ModeElement = 1;
// The mode a raw value that means nothing else stands for.
constexpr int OtherRawMode = 1;

constexpr uint32_t AutoModeItemId = 0x11070010;
constexpr std::array<uint32_t, 3> ExtendedThresholdItemIds{0x0E0A0017, 0x0E0A0018, 0x0E0A0019};

constexpr const char* CalibrationKeyPath = "Software\\Kovra\\Pacer3\\Advance";
constexpr const char* ThresholdKeyPath = "Software\\Kovra\\Pacer3";

int ModeOfRaw(uint32_t raw) {
  switch (raw) {
    case 0x4000:
      return 0;
    case 1:
      return 2;
    case 2:
      return 3;
    default:
      return OtherRawMode;
  }
}

bool WorkOutExtendedThresholds() {
  AcpiOpen();
  for (uint32_t id : ExtendedThresholdItemIds) {
    if (!plinth::ItemExists(id)) return false;
  }
  return true;
}

}  // namespace

QpsEngine* QpsEngine::Instance() {
  static QpsEngine* const instance = new QpsEngine();
  return instance;
}

bool QpsEngine::FindEngineWindow() {
  m_engineWindow = FindWindowA(EngineWindowClass, EngineWindowCaption);
  return m_engineWindow != nullptr;
}

int QpsEngine::ReadMode() {
  const plinth::BiosItem* item = ModeItem();
  uint32_t raw = 0;
  if (item == nullptr || !item->ReadIndex(raw)) return OtherRawMode;
  return ModeOfRaw(raw);
}

void QpsEngine::PostMode(int mode) {
  if (m_engineWindow == nullptr || mode < 0 || mode >= static_cast<int>(ModeMessages.size())) return;
  PostMessageA(m_engineWindow, ModeMessages[static_cast<size_t>(mode)], CompanionSentinel, 0);
}

void QpsEngine::PostAutoMode() {
  if (m_engineWindow == nullptr) return;
  PostMessageA(m_engineWindow, AutoModeMessage, CompanionSentinel, 0);
}

bool QpsEngine::IsAutoModeAvailable() {
  if (!m_autoModeAvailable) {
    AcpiOpen();
    uint32_t value = 0;
    // Present but unreadable: not known to be allowed, so not offered.
    m_autoModeAvailable = !plinth::ItemExists(AutoModeItemId) ||
                          (plinth::ReadItemValue(AutoModeItemId, value) && value != 0);
  }
  return *m_autoModeAvailable;
}

bool QpsEngine::NeedsCalibration() {
  return IsCalibrationFlagSet() || !AreThresholdsPresent();
}

const plinth::BiosItem* QpsEngine::ModeItem() {
  if (!m_modeItemLooked) {
    // Once per run, also when the board has no such item.
    m_modeItemLooked = true;
    m_modeItem = FindFirmwareItem(ModeGroup, ModeElement);
  }
  return m_modeItem.get();
}

bool IsCalibrationFlagSet() {
  plinth::RegReader key;
  DWORD flag = 0;
  return key.Open(HKEY_CURRENT_USER, CalibrationKeyPath) && key.ReadDword("CalibrationNeeded", &flag) && flag == 1;
}

bool AreThresholdsPresent() {
  const int count = HasExtendedThresholds() ? 6 : 3;
  plinth::RegReader key;
  if (!key.Open(HKEY_LOCAL_MACHINE, ThresholdKeyPath)) return false;
  for (int i = 1; i <= count; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Threshold%d", i);
    DWORD threshold = 0;
    if (!key.ReadDword(name, &threshold)) return false;
  }
  return true;
}

bool HasExtendedThresholds() {
  static const bool extended = WorkOutExtendedThresholds();
  return extended;
}
