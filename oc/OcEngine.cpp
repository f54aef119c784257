#include "oc/OcEngine.h"

#include "oc/AcpiLibrary.h"
#include "oc/CompanionMessage.h"
#include "oc/Config.h"
#include "oc/FirmwareItemLookup.h"
#include "oc/ProfileFiles.h"
#include "plinth/kovra/Source/BiosInterface.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr const char* HelperWindowClass = "TMainForm";
constexpr const char* HelperWindowCaption = "ZentrikHelp";
constexpr UINT ProfileRequestMessage = WM_USER + 37;    // lParam: profile 1, 2, 3, or 0 for off
constexpr UINT FrequencyCommitMessage = WM_USER + 36;   // lParam: frequency index

constexpr uint32_t ActiveProfileItemId = 0x11060008;
constexpr uint32_t FrequencyGroup = 3;
constexpr uint32_t FrequencyElement = 0x11;

// The firmware method that returns one stored profile's settings, by slot: a header
// word, then pairs of item id and value index, ended by EndOfProfile or the size.
constexpr uint32_t FirmwareProfileMethod = 0x05080002;
constexpr uint32_t EndOfProfile = 0xFFFFFFFF;

// A value truncated towards zero to whole MHz. The states print it as a signed
// number, so a negative value wraps to the u32 that prints as itself; figures
// beyond 32 bits stop at the nearest one that fits.
uint32_t WholeMegahertz(long double value) {
  const long double whole = std::trunc(value);
  if (!(whole >= std::numeric_limits<int32_t>::min())) return static_cast<uint32_t>(std::numeric_limits<int32_t>::min());
  if (!(whole <= std::numeric_limits<int32_t>::max())) return static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
  return static_cast<uint32_t>(static_cast<int32_t>(whole));
}

// The frequency index a firmware profile's words hold: the first pair naming the
// frequency item; nothing when the slot has none.
std::optional<uint32_t> FrequencyIndexOf(const uint8_t* words, uint32_t size) {
  const uint32_t count = size / 4;
  auto word = [words](uint32_t j) {
    uint32_t w = 0;
    std::memcpy(&w, words + 4 * j, sizeof w);
    return w;
  };
  for (uint32_t j = 1; j < count; j += 2) {
    const uint32_t id = word(j);
    if (id == EndOfProfile) break;
    if (id == FrequencyItemId && j + 1 < count) return word(j + 1);
  }
  return std::nullopt;
}

}  // namespace

OcEngine* OcEngine::Instance() {
  static OcEngine* const instance = new OcEngine();
  return instance;
}

OcEngine::OcEngine() = default;

bool OcEngine::FindHelperWindow() {
  m_helperWindow = FindWindowA(HelperWindowClass, HelperWindowCaption);
  return m_helperWindow != nullptr;
}

bool OcEngine::IsProfileActive(uint32_t code) {
  AcpiOpen();
  uint32_t value = 0;
  plinth::ReadItemValue(ActiveProfileItemId, value);
  return value == code;
}

bool OcEngine::IsAtLeastDefault(int profile) {
  const uint32_t frequency = ProfileFrequency(profile);
  return frequency >= DefaultFrequency();
}

uint32_t OcEngine::ProfileFrequency(int profile) {
  if (FrequencyItem() == nullptr) return 0;
  LoadFirmwareProfiles();
  Config* config = Config::Instance();
  const uint32_t index = config->ProfileIndex(profile);
  const std::string name = config->ProfileName(profile);
  if (index < config->FirmwareProfileCount()) {
    // A firmware profile whose settings could not be read has no frequency to show.
    if (index >= m_firmwareValues.size() || !m_firmwareValues[index]) return 0;
    return FrequencyOf(*m_firmwareValues[index]);
  }
  return FrequencyOf(ReadProfileFileValue(name.c_str()));
}

uint32_t OcEngine::DefaultFrequency() {
  if (FrequencyItem() == nullptr) return 0;
  return FrequencyOf(ReadProfileFileValue(DefaultProfileName));
}

void OcEngine::RequestProfile(int profile) {
  PostToHelper(ProfileRequestMessage, profile);
}

void OcEngine::RequestProfileOff() {
  PostToHelper(ProfileRequestMessage, 0);
}

uint32_t OcEngine::ReadFrequency() {
  const plinth::BiosItem* item = FrequencyItem();
  if (item == nullptr) return 0;
  // The figure shown is the one of the index the steps start from and the commit
  // sends; a failed read keeps the previous index.
  item->ReadIndex(m_index);
  return FrequencyOf(m_index);
}

uint32_t OcEngine::StepFrequencyUp() {
  ++m_index;
  return FrequencyOf(m_index);
}

uint32_t OcEngine::StepFrequencyDown() {
  --m_index;
  return FrequencyOf(m_index);
}

void OcEngine::CommitFrequency() {
  // Without a window, SendMessageA would have nobody to wait for.
  if (m_helperWindow == nullptr) return;
  SendMessageA(m_helperWindow, FrequencyCommitMessage, CompanionSentinel, static_cast<LPARAM>(m_index));
}

bool OcEngine::ResetActiveProfile() {
  m_profilesRead = false;
  AcpiOpen();
  return plinth::WriteItemValue(ActiveProfileItemId, 0);
}

const plinth::BiosItem* OcEngine::FrequencyItem() {
  if (!m_frequencyItemLooked) {
    // Once per run, also when the board has no such item.
    m_frequencyItemLooked = true;
    m_frequencyItem = FindFirmwareItem(FrequencyGroup, FrequencyElement);
  }
  return m_frequencyItem.get();
}

uint32_t OcEngine::FrequencyOf(uint32_t index) {
  const plinth::BiosItem* item = FrequencyItem();
  return item != nullptr ? WholeMegahertz(item->IndexToValue(index)) : 0;
}

void OcEngine::LoadFirmwareProfiles() {
  if (m_profilesRead) return;
  m_profilesRead = true;
  m_firmwareValues.clear();
  const uint32_t slots = Config::Instance()->FirmwareProfileCount();
  const auto buffer = std::make_unique<uint8_t[]>(AcpiBufferSize);
  for (uint32_t slot = 0; slot < slots; ++slot) {
    uint32_t size = AcpiBufferSize;
    // A profile the method can't deliver ends the reading; later slots stay unknown.
    if ((AcpiCallMethod(FirmwareProfileMethod, slot, buffer.get(), &size) & 1) == 0) break;
    m_firmwareValues.push_back(FrequencyIndexOf(buffer.get(), std::min(size, AcpiBufferSize)));
  }
}

void OcEngine::PostToHelper(UINT message, LPARAM lParam) {
  // PostMessageA to no window would land in this thread's own queue.
  if (m_helperWindow == nullptr) return;
  PostMessageA(m_helperWindow, message, CompanionSentinel, lParam);
}
