// The tests' animation player library: installed in place of flashobj.dll, it
// makes real (empty) player windows owned by the overlay form, records every
// player made, every request with the time it came and every time a player window
// appeared, and lets a test make a movie call its host.
#pragma once

#include "osd/FlashLibrary.h"

#include <windows.h>

#include <string>
#include <vector>

namespace osdtest {

struct PlayerCreation {
  HWND parent;
  std::wstring path;
  HWND player;
};

struct PlayerRequest {
  HWND player;
  std::string text;      // back in the ANSI code page
  ULONGLONG tick;        // osdtest::NowMs()
  bool playerVisible;    // at the moment the request came
};

struct PlayerShown {
  HWND player;
  ULONGLONG tick;
};

class RecordingPlayer {
 public:
  // Installs the recording library on first use (before any player is made).
  static RecordingPlayer& Instance();

  std::vector<PlayerCreation> creations;
  std::vector<PlayerRequest> requests;
  std::vector<PlayerShown> shown;

  // Forgets what was recorded (the players stay).
  void Clear();
  std::vector<std::string> RequestTexts() const;
  // The callback that the player was given, or null.
  FlashCallCallback CallbackOf(HWND player) const;
  // The movie of `player` calls its host, as a real movie does from its messages.
  void CallBack(HWND player) const;

 private:
  RecordingPlayer() = default;
};

// The request texts the form sends, as the movie receives them.
std::string ExternalCommand(const std::string& command);

}  // namespace osdtest
