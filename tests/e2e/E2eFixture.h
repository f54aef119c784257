// The end-to-end scenarios' fixture: a fresh simulated machine for each test (see
// SimWorld), the program's texts, and waits on what reaches the player, the
// companions and the screen. Times are GetTickCount milliseconds, the clock of
// every log, so that events of different processes compare.
#pragma once

#include "tests/support/PlayerLogReader.h"
#include "tests/support/SimWorld.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zrtest {

// The movies of the overlay, by file.
namespace movie {
inline constexpr char ProfileOn[] = "ZentrikProfileOn.swf";
inline constexpr char ProfileOff[] = "ZentrikProfileOff.swf";
inline constexpr char QpsAuto[] = "QPSAuto.swf";
inline constexpr char QpsManual[] = "QPSManual.swf";
inline constexpr char Digits[] = "OCTuning.swf";
inline constexpr char Warning[] = "Warning.swf";
}  // namespace movie

// Frequencies of the default board: index i >= 1 is 99 + i MHz.
inline constexpr uint32_t DefaultFrequencyIndex = 101;  // 200 MHz, the default profile file's
inline constexpr uint32_t BoardFrequencyIndex = 101;    // 200 MHz, the board's current setting
// The power-saving companion's message for level 1.
inline constexpr uint32_t LevelOneMessage = 0x41F;
inline uint32_t MHz(uint32_t index) { return 99 + index; }

class E2eTest : public testing::Test {
 public:
  // The text of a language key in the program's English file.
  static std::string Text(const char* key);

 protected:
  // A machine timing margin: the prefix is shared by busy helpers.
  static constexpr DWORD Late = 900;
  static constexpr DWORD Early = 60;
  // Long enough for anything the program does at once to have happened.
  static constexpr DWORD QuietMs = 800;

  void SetUp() override;
  void TearDown() override;

  SimWorld& World() { return *m_world; }
  const SimWorld& World() const { return *m_world; }

  // The usual machine: both companions installed and running (the power-saving
  // one calibrated), the profiles A, B, C on the firmware's three profiles, the
  // service and the program. Fails the test when something does not start.
  void StartMachine();

  // The player's events after the cursor; the cursor stays.
  std::vector<PlayerEvent> NewPlayerEvents() const;
  // Waits for the first request after the cursor with this exact text (to `movie`,
  // when given) and moves the cursor past it.
  std::optional<PlayerEvent> WaitForRequest(const std::string& text, const char* movie = nullptr,
                                            DWORD timeoutMs = 10000);
  // Waits for the next call-back after the cursor and moves the cursor past it.
  std::optional<PlayerEvent> WaitForCallback(DWORD timeoutMs = 10000);
  // Moves the cursor to the end of the log.
  void SkipPlayerEvents();

  // Waits until the overlay form is shown / hidden; the tick when it was seen.
  std::optional<DWORD> WaitForOverlay(bool visible, DWORD timeoutMs = 10000);
  // Waits for the end of a fade-out that has begun, checking that every opacity
  // seen on the way is one of the fade's steps, falling; the tick of the hiding.
  std::optional<DWORD> WatchFade();

  // What reached a companion, only the messages with this number.
  std::vector<CompanionMessage> OcMessages(uint32_t message) const;
  std::vector<CompanionMessage> QpsMessages(uint32_t message) const;
  // Waits until a companion has received `count` messages of this number.
  bool WaitForOcMessages(uint32_t message, size_t count, DWORD timeoutMs = 10000) const;
  bool WaitForQpsMessages(uint32_t message, size_t count, DWORD timeoutMs = 10000) const;

  // A notice's whole life: its label (and content) and "show" to `movie`, the end
  // after `shownMs`, the fade and the overlay hidden. For the profile notices the
  // time runs from the movie's first call-back. Returns the tick at which the
  // overlay was seen hidden.
  struct Notice {
    const char* movie;
    std::string label;
    std::string content;  // warnings only
    DWORD shownMs;
    bool endsAfterFirstCallback;
  };
  std::optional<DWORD> ExpectNotice(const Notice& notice);

  // Fails unless `actual` lies within [expected - Early, expected + Late].
  static void ExpectDelay(const char* what, long actual, long expected);

 private:
  std::unique_ptr<SimWorld> m_world;
  size_t m_cursor = 0;
};

}  // namespace zrtest
