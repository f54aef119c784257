// The three profile states: each switches the overclocking profile that its button
// stands for on or off through the overclocking companion, shows one notice, and
// returns to idle when the notice has faded out. They differ only in their button's
// constants.
#pragma once

#include "remote/RcState.h"

#include <string>

// The notice label: "%s %dMHz" with the language text and the frequency, kept within
// the notice buffer of NoticeTextSize bytes (NUL included). A language text too long
// for it is cut at a character boundary of `codePage`, so that a double-byte
// character is never split.
inline constexpr int NoticeTextSize = 256;
std::string FormatNoticeText(const std::string& text, int frequencyMHz, unsigned codePage);

class RcProfileA : public RcState {
 public:
  static RcProfileA* Instance();
  void Enter() override;
  void OnFadeDone() override;

 private:
  RcProfileA() = default;
};

class RcProfileB : public RcState {
 public:
  static RcProfileB* Instance();
  void Enter() override;
  void OnFadeDone() override;

 private:
  RcProfileB() = default;
};

class RcProfileC : public RcState {
 public:
  static RcProfileC* Instance();
  void Enter() override;
  void OnFadeDone() override;

 private:
  RcProfileC() = default;
};
