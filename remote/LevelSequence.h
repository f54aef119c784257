// LevelSequence: the power-saving manual level, shown while the user presses the
// level button. Every show or change restarts the 3000 ms hide timer; when it runs
// out the state asks for the end, which comes 250 ms later: the fade-out is
// registered as the movie event and the movie is sent "End <level>".
#pragma once

#include "formkit/Object.h"

class LevelSequence {
 public:
  static LevelSequence* Instance();

  // Forgets the level shown last (-1).
  void Reset();
  void Show(int level);
  void Update(int level);
  void ScheduleEnd();

  int Level() const { return m_level; }

  static constexpr int EndDelayMs = 250;

 private:
  LevelSequence() = default;

  void End(formkit::TObject* sender);
  void StartFade(formkit::TObject* sender);

  int m_level = -1;
};
