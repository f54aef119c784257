#include "remote/RcQPSManual.h"

#include "oc/QpsEngine.h"
#include "remote/CompanionDetection.h"
#include "remote/LevelSequence.h"
#include "remote/NoticeSequence.h"
#include "remote/OsdMask.h"
#include "remote/RcWait.h"
#include "remote/StateText.h"

#include <string>

namespace {
constexpr int HighestLevel = 3;

// The warning key when the power-saving companion cannot take a level, else null.
const char* QpsCompanionProblem() {
  if (!IsQPSCompanionInstalled()) return "QPSInstall";
  if (!QpsEngine::Instance()->FindEngineWindow()) return "QPSNotRun";
  return nullptr;
}
}  // namespace

RcQPSManual* RcQPSManual::Instance() {
  static RcQPSManual* instance = new RcQPSManual;
  return instance;
}

void RcQPSManual::Warn(const char* title, const char* key) {
  NoticeSequence::Instance()->ShowNoticeWarning(title, StateText(key).c_str(), StateWarningMs);
  m_locked = true;
}

void RcQPSManual::Enter() {
  const std::string title = StateText("Warning");
  OsdMask::Instance()->Prepare();
  if (const char* problem = QpsCompanionProblem()) {
    Warn(title.c_str(), problem);
    return;
  }
  m_locked = false;
  m_level = QpsEngine::Instance()->ReadMode();
  LevelSequence::Instance()->Show(m_level);
}

void RcQPSManual::OnQPSManual() {
  const std::string title = StateText("Warning");
  if (m_locked) return;
  if (const char* problem = QpsCompanionProblem()) {
    Warn(title.c_str(), problem);
    return;
  }
  m_level = m_level >= HighestLevel ? 0 : m_level + 1;
  LevelSequence::Instance()->Update(m_level);
}

void RcQPSManual::OnOsdTimeout() {
  m_locked = true;
  LevelSequence::Instance()->ScheduleEnd();
}

void RcQPSManual::OnFadeDone() {
  // The level reaches the companion only here, once, after the display has closed.
  QpsEngine::Instance()->PostMode(m_level);
  ChangeState(RcWait::Instance());
}
