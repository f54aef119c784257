#include "remote/RcDigit.h"

#include "oc/OcEngine.h"
#include "oc/QpsEngine.h"
#include "remote/CompanionDetection.h"
#include "remote/DigitSequence.h"
#include "remote/NoticeSequence.h"
#include "remote/OsdMask.h"
#include "remote/RcWait.h"
#include "remote/StateText.h"

#include <cstdint>
#include <string>

namespace {
// The warning key when the overclocking companion cannot take a setting, else null.
const char* OcCompanionProblem() {
  if (!IsOcCompanionInstalled()) return "ZentrikZIRInstall";
  if (!OcEngine::Instance()->FindHelperWindow() || !IsOcCompanionRunning()) return "ZentrikZIRNotRun";
  return nullptr;
}
}  // namespace

RcDigit* RcDigit::Instance() {
  static RcDigit* instance = new RcDigit;
  return instance;
}

void RcDigit::Warn(const char* title, const char* key) {
  NoticeSequence::Instance()->ShowNoticeWarning(title, StateText(key).c_str(), StateWarningMs);
  m_locked = true;
}

void RcDigit::Enter() {
  const std::string title = StateText("Warning");
  m_locked = false;
  m_changed = false;
  OsdMask::Instance()->Prepare();
  if (const char* problem = OcCompanionProblem()) {
    Warn(title.c_str(), problem);
    return;
  }
  DigitSequence::Instance()->Show(static_cast<int>(OcEngine::Instance()->ReadFrequency()));
}

void RcDigit::OnDigitUp() { Step(true); }

void RcDigit::OnDigitDown() { Step(false); }

void RcDigit::Step(bool up) {
  const std::string title = StateText("Warning");
  if (m_locked) return;
  if (const char* problem = OcCompanionProblem()) {
    Warn(title.c_str(), problem);
    return;
  }
  if (!m_changed) {
    // The power-saving companion goes to its level 1 before the first change.
    QpsEngine* qps = QpsEngine::Instance();
    if (qps->FindEngineWindow()) qps->PostMode(1);
    m_changed = true;
  }
  OcEngine* engine = OcEngine::Instance();
  const uint32_t value = up ? engine->StepFrequencyUp() : engine->StepFrequencyDown();
  DigitSequence::Instance()->Update(static_cast<int>(value));
}

void RcDigit::OnOsdTimeout() {
  m_locked = true;
  DigitSequence::Instance()->ScheduleEnd();
}

void RcDigit::OnFadeDone() {
  if (m_changed) OcEngine::Instance()->CommitFrequency();
  ChangeState(RcWait::Instance());
}
