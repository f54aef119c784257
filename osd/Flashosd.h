// The full-screen overlay form and its movie players.
//
// TFlashOsdForm is a borderless, top-most, never-activated form that covers the
// screen. It keeps a table of up to 16 movies, each played in a window of its own
// (TTransFlash) made by the animation player library, selects the current movie,
// sends it its requests, shows and hides the players, and carries the 3000 ms hide
// timer. Every call that a movie makes back into the program reaches OnMovieCall,
// which passes it on according to MovieState.
#pragma once

#include "osd/FlashLibrary.h"

#include "formkit/Closure.h"
#include "formkit/Form.h"
#include "formkit/Handle.h"
#include "formkit/Image.h"
#include "formkit/Timer.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One movie's player window. Its position is kept relative to the top-left corner
// of the overlay form's window. It is on the screen only while it is visible and
// not suppressed.
class TTransFlash {
 public:
  // Makes the player window for the movie file at `path`, owned by `parent`.
  TTransFlash(HWND parent, const std::wstring& path);
  TTransFlash(const TTransFlash&) = delete;
  TTransFlash& operator=(const TTransFlash&) = delete;

  HWND Handle() const { return m_handle.Get(); }
  int OffsetX() const { return m_offsetX; }
  int OffsetY() const { return m_offsetY; }
  unsigned Width() const { return m_width; }
  unsigned Height() const { return m_height; }
  bool Visible() const { return m_visible; }
  bool Suppressed() const { return m_suppressed; }

  void MoveTo(int x, int y);
  void Resize(unsigned width, unsigned height);
  void SetBounds(int x, int y, unsigned width, unsigned height);
  void SetVisible(bool visible);
  // Hides the player whatever its own visibility says, until Unsuppress.
  void Suppress();
  void Unsuppress();

  void SetCallback(FlashCallCallback callback);
  // Runs the movie function that the XML request names.
  void CallFunction(const std::wstring& request);

 private:
  void ApplyVisibility();

  const FlashEntryPoints& m_library;  // the entry points this player was made with
  formkit::WindowHandle m_handle;
  HWND m_parent;
  std::int32_t m_offsetX = 0;
  std::int32_t m_offsetY = 0;
  std::uint32_t m_width = 0;
  std::uint32_t m_height = 0;
  bool m_suppressed = false;
  bool m_visible = false;
};

// One row of the movie table.
struct MovieSlot {
  std::wstring path;  // as given to the player library
  std::string key;    // compared case-sensitively
  std::int32_t inUse = 0;
  TTransFlash* player = nullptr;  // owned by the form
};

// The selected movie's slot index (0 to 5), or what its call-backs have made of it.
extern std::int32_t MovieState;
constexpr std::int32_t MovieStateDigitsLeaving = 6;    // after SendOut
constexpr std::int32_t MovieStateProfileOnShown = 7;   // movie 0 has called back once
constexpr std::int32_t MovieStateProfileOffShown = 8;  // movie 1 has called back once

// The single handler that a movie's call-back invokes in most states; replaced by
// the next TFlashOsdForm::SetMovieEvent, never cleared.
const formkit::TNotifyEvent& MovieEvent();

// Every movie calls this when it calls its host (on the main thread, from the
// player's messages). It reads none of its arguments.
void __stdcall OnMovieCall(uintptr_t, uintptr_t, uintptr_t, uintptr_t);

// Where a movie of the given size is placed on a screen of the given size,
// relative to the screen's top-left corner: centred across, a third of a movie
// height above the middle, or at a seventh of the screen height when it is taller
// than the screen.
POINT CentredMoviePosition(int screenWidth, int screenHeight, unsigned width, unsigned height);

// The path that the player library gets for a movie file: the program folder
// (with its trailing backslash) + "//Resource//" + file.
std::wstring MoviePath(const std::string& programFolder, const std::string& file);

class TFlashOsdForm : public formkit::TForm {
 public:
  static constexpr int SlotCount = 16;
  // How long the overlay stays after its last change before it times out.
  static constexpr unsigned HideTimeoutMs = 3000;

  explicit TFlashOsdForm(formkit::TComponent* owner);
  ~TFlashOsdForm() override;

  // Owned by the form. Background stretches its picture over its own size.
  formkit::TImage* const Background;
  formkit::TTimer* const Timer;

  // The first slot in use with this key, or -1.
  int FindSlot(const std::string& key) const;
  // A free slot for a new key, or -1 when the key is there already or all 16 are
  // in use.
  int AllocateSlot(const std::string& key);
  // Makes the movie's player, centred on the screen and hidden; a key that is
  // there already or a 17th movie is refused.
  void LoadMovie(const std::string& key, const std::string& file, unsigned width, unsigned height);
  // Moves the movie to the centre of the screen as it is now; unknown keys are ignored.
  void CentreMovie(const std::string& key, unsigned width, unsigned height);
  void SelectMovie(int index);

  // Lifts the suppression of every player and shows the current one.
  void ShowCurrent();
  // Suppresses every player and marks the current one hidden.
  void HideCurrent();

  // The requests to the current movie. SendRequest, SendShowLevel and SendSet2Digit
  // give the movie RequestSettleMs after their request.
  void SendRequest(const std::string& request);
  void SendShow();
  void SendEnd();
  void SendShowLevel(int level);
  void SendPlay(int level);
  void SendEndLevel(int level);
  void SendIn();
  void SendSet2Digit(int value);
  void SendOut();

  void SetMovieEvent(const formkit::TNotifyEvent& handler);

  // The hide timer's handler: stops the timer and hands the time-out on.
  void OnTimer(formkit::TObject* sender);

  TTransFlash* CurrentPlayer() const { return m_currentPlayer; }
  const MovieSlot& Slot(int index) const;

  // How long a movie needs to take a request in before the next one.
  static constexpr DWORD RequestSettleMs = 100;

 protected:
  void CreateParams(formkit::TCreateParams& params) override;

 private:
  // Sends without waiting.
  void Send(const std::string& request);
  void ForEachPlayer(void (TTransFlash::*action)());

  TTransFlash* m_currentPlayer = nullptr;
  std::array<MovieSlot, SlotCount> m_slots;
  // Every player ever made, in creation order.
  std::vector<std::unique_ptr<TTransFlash>> m_players;
};

// The overlay form, made at start-up.
extern TFlashOsdForm* FlashOsdForm;
