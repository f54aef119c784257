#include "remote/RcProfile.h"

#include "oc/OcEngine.h"
#include "oc/QpsEngine.h"
#include "remote/CompanionDetection.h"
#include "remote/NoticeSequence.h"
#include "remote/OsdMask.h"
#include "remote/RcWait.h"
#include "remote/StateText.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

std::string FormatNoticeText(const std::string& text, int frequencyMHz, unsigned codePage) {
  char suffix[32];
  const int suffixLength = std::snprintf(suffix, sizeof suffix, " %dMHz", frequencyMHz);
  const size_t room = NoticeTextSize - 1 - static_cast<size_t>(suffixLength);
  // Walk whole characters: a lead byte and its trail byte stay together or go together.
  size_t kept = 0;
  while (kept < text.size()) {
    size_t next = kept + 1;
    if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[kept])) && next < text.size()) ++next;
    if (next > room) break;
    kept = next;
  }
  return text.substr(0, kept) + suffix;
}

namespace {
// What tells the three profile buttons apart.
struct ProfileButton {
  int number;           // in requests and the profile configuration: 1 A, 2 B, 3 C
  uint32_t activeCode;  // in the active-profile firmware item: 1 A, 2 B, 4 C
  const char* onKey;
  const char* offKey;
};

constexpr ProfileButton ButtonA{1, 1, "ProfileAOn", "ProfileAOff"};
constexpr ProfileButton ButtonB{2, 2, "ProfileBOn", "ProfileBOff"};
constexpr ProfileButton ButtonC{3, 4, "ProfileCOn", "ProfileCOff"};

constexpr int CompanionWarningMs = 3000;
constexpr int BelowDefaultWarningMs = 5000;

std::string Label(const char* key, uint32_t frequency) {
  return FormatNoticeText(StateText(key), static_cast<int>(frequency), CP_ACP);
}

// The whole visit happens here: one notice, and the request that goes with it.
void EnterProfile(const ProfileButton& button) {
  const std::string title = StateText("Warning");
  OsdMask::Instance()->Prepare();
  NoticeSequence* notice = NoticeSequence::Instance();
  if (!IsOcCompanionInstalled()) {
    notice->ShowNoticeWarning(title.c_str(), StateText("ZentrikZIRInstall").c_str(), CompanionWarningMs);
    return;
  }
  OcEngine* engine = OcEngine::Instance();
  if (!engine->FindHelperWindow() || !IsOcCompanionRunning()) {
    notice->ShowNoticeWarning(title.c_str(), StateText("ZentrikZIRNotRun").c_str(), CompanionWarningMs);
    return;
  }
  if (engine->IsProfileActive(button.activeCode)) {
    const std::string label = Label(button.offKey, engine->DefaultFrequency());
    notice->ShowNoticeProfileOff(label.c_str());
    engine->RequestProfileOff();
    return;
  }
  if (engine->IsAtLeastDefault(button.number)) {
    // The power-saving companion goes to its level 1 before a profile is applied.
    QpsEngine* qps = QpsEngine::Instance();
    if (qps->FindEngineWindow()) qps->PostMode(1);
    const std::string label = Label(button.onKey, engine->ProfileFrequency(button.number));
    notice->ShowNoticeProfileOn(label.c_str());
    engine->RequestProfile(button.number);
    return;
  }
  notice->ShowNoticeWarning(title.c_str(), StateText("OcWarn").c_str(), BelowDefaultWarningMs);
}

}  // namespace

RcProfileA* RcProfileA::Instance() {
  static RcProfileA* instance = new RcProfileA;
  return instance;
}
void RcProfileA::Enter() { EnterProfile(ButtonA); }
void RcProfileA::OnFadeDone() { ChangeState(RcWait::Instance()); }

RcProfileB* RcProfileB::Instance() {
  static RcProfileB* instance = new RcProfileB;
  return instance;
}
void RcProfileB::Enter() { EnterProfile(ButtonB); }
void RcProfileB::OnFadeDone() { ChangeState(RcWait::Instance()); }

RcProfileC* RcProfileC::Instance() {
  static RcProfileC* instance = new RcProfileC;
  return instance;
}
void RcProfileC::Enter() { EnterProfile(ButtonC); }
void RcProfileC::OnFadeDone() { ChangeState(RcWait::Instance()); }
