// A player window: plays one movie in a layered, never-activated, top-most popup
// owned by the host's window. The window owns the player; it ends with the window.
// All of its state lives on the thread that created it: the exported functions
// reach it through SendMessage, and the host's call-back runs from its timer.
#pragma once

#include "animplayer/LayeredSurface.h"
#include "animplayer/flashobj.h"
#include "animplayer/movie/MovieCommand.h"
#include "animplayer/movie/MovieFile.h"
#include "animplayer/movie/MoviePlayback.h"
#include "animplayer/render/MovieRenderer.h"

#include <windows.h>

#include <memory>
#include <string>

namespace animplayer {

class PlayerWindow {
 public:
  // The new player's window, hidden, or null when no window could be made. A
  // missing or unreadable movie still makes a player: it draws nothing.
  static HWND Create(HWND owner, const wchar_t* moviePath);

  // For the exported functions: whether `window` is a player of this process, and
  // the requests they hand on to it (false when it is not a player).
  static bool IsPlayer(HWND window);
  static bool SendCommand(HWND window, const MovieCommand& command);
  static bool SetCallback(HWND window, FlashCallCallback callback);
  static bool SetPlaying(HWND window, bool playing);
  // When the library is unloaded.
  static void UnregisterPlayerClass();

  PlayerWindow(const PlayerWindow&) = delete;
  PlayerWindow& operator=(const PlayerWindow&) = delete;
  ~PlayerWindow();

 private:
  PlayerWindow(LoadedMovie movie);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void Apply(const MovieCommand& command);
  void OnFrame();
  void Draw();
  void UpdateTimer();
  void SetPlayingState(bool playing);
  double Now() const;

  HWND m_window = nullptr;
  MoviePlayback m_playback;
  MovieRenderer m_renderer;
  LayeredSurface m_surface;
  FlashCallCallback m_callback = nullptr;
  bool m_timerRunning = false;
  // The movie's clock stands still while the player is stopped.
  bool m_playing = true;
  double m_stoppedAt = 0;
  double m_stoppedFor = 0;
  // Cleared when the player ends, so that a call-back that destroys the window
  // leaves the remaining deliveries nothing to touch.
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace animplayer
