// NoticeSequence: the one-shot notices (profile on, profile off, power-saving auto
// mode, warning), which close by themselves: after a fixed time, or for the profile
// notices 2000 ms after their movie first called back. Closing registers the
// fade-out as the movie event and sends the movie "end"; the movie's call-back then
// starts the fade.
#pragma once

#include "formkit/Object.h"

class NoticeSequence {
 public:
  static NoticeSequence* Instance();

  void ShowNoticeProfileOn(const char* text);
  void ShowNoticeProfileOff(const char* text);
  void ShowNoticeQPSAuto(const char* text);
  // `title` is the movie's label, `text` its content; closes after delayMs.
  void ShowNoticeWarning(const char* title, const char* text, int delayMs);

  // The profile-on (kind 0) or profile-off (kind 1) movie has called back for the
  // first time; other kinds are ignored.
  void OnMovieReady(int kind);

  static constexpr int ProfileNoticeMs = 2000;
  static constexpr int QpsAutoNoticeMs = 3000;

 private:
  NoticeSequence() = default;

  void End(formkit::TObject* sender);
  void StartFade(formkit::TObject* sender);
};
