// OsdPresenter: the remote-control states' only way to the screen. It sets up the
// full-screen overlay form FlashOsdForm (smoke background, constant opacity, no
// background erasing), knows the six confirmation movies, and turns each display
// step into its fixed sequence of calls on the form and the current movie.
//
// Everything runs on the main thread, except that SetAlpha and HideAll may also be
// called by the fade-out thread: they are then carried out on the main thread, and
// the caller waits for them.
#pragma once

#include "plinth/widget/Source/Flicker.h"
#include "plinth/widget/Source/LayeredWindow.h"

#include <windows.h>

#include <cstddef>
#include <memory>

class OsdPresenter {
 public:
  // The movies, by their slot index on the overlay form.
  enum Movie : unsigned {
    MovieProfileOn = 0,
    MovieProfileOff = 1,
    MovieQpsAuto = 2,
    MovieQpsManual = 3,
    MovieDigits = 4,
    MovieWarning = 5,
    MovieCount = 6,
  };
  // Bytes of the label and content requests, terminating NUL included.
  static constexpr size_t LabelCapacity = 256;
  static constexpr size_t ContentCapacity = 1024;
  // The value the digit movie is given when the movies are loaded.
  static constexpr int PresetDigitValue = 133;

  static OsdPresenter* Instance();

  // Once at start-up, before any other operation: attaches the flicker
  // eliminator, makes the opacity maker, decodes "bg_smoke01.png" from the
  // resource folder into the form's background image and hides the form.
  // Throws formkit::EFOpenError when the picture cannot be opened.
  void LoadBackground();
  // Gives the form and its background the screen's size at 0, 0, unless the form
  // has that size already.
  void FitToScreen();
  // Loads all movies on the first call ever; then centres movie `index` (0 to 5)
  // on the screen as it is now.
  void PlaceMovie(unsigned index);
  // The form's constant opacity; does not show or hide it. Any thread.
  void SetAlpha(BYTE alpha);

  void ShowProfileOn(const char* label);
  void ShowProfileOff(const char* label);
  void ShowQpsAuto(const char* label);
  void ShowWarning(const char* label, const char* content);
  void EndMovie();
  void ShowQpsManual(int level);
  void PlayLevel(int level);
  void EndLevel(int level);
  // Gives the digit movie its value without showing anything.
  void PresetDigits(int value);
  void ShowDigits(int value);
  void SetDigits(int value);
  void LeaveDigits();
  // Starts (3000 ms; a running countdown is left as it is) or stops the hide timer.
  void SetHideTimer(bool on);
  // Hides every player and the form. Any thread.
  void HideAll();

 private:
  OsdPresenter() = default;

  void LoadMovies();
  void ShowNotice(Movie movie, const char* label);
  void ApplyAlpha(BYTE alpha);
  void HideOnMainThread();

  std::unique_ptr<plinth::LayeredWindowMaker> m_maker;
  std::unique_ptr<plinth::FlickerEliminator> m_eliminator;
  bool m_moviesLoaded = false;
};
