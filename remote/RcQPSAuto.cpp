#include "remote/RcQPSAuto.h"

#include "oc/QpsEngine.h"
#include "remote/CompanionDetection.h"
#include "remote/NoticeSequence.h"
#include "remote/OsdMask.h"
#include "remote/RcWait.h"
#include "remote/StateText.h"

#include <string>

RcQPSAuto* RcQPSAuto::Instance() {
  static RcQPSAuto* instance = new RcQPSAuto;
  return instance;
}

void RcQPSAuto::Enter() {
  const std::string title = StateText("Warning");
  m_applyAuto = false;
  OsdMask::Instance()->Prepare();
  NoticeSequence* notice = NoticeSequence::Instance();
  QpsEngine* engine = QpsEngine::Instance();
  const char* problem = nullptr;
  if (!IsQPSCompanionInstalled()) {
    problem = "QPSInstall";
  } else if (!engine->FindEngineWindow()) {
    problem = "QPSNotRun";
  } else if (!engine->IsAutoModeAvailable()) {
    problem = "AutoModeUnavaliable";
  }
  if (problem) {
    notice->ShowNoticeWarning(title.c_str(), StateText(problem).c_str(), StateWarningMs);
    m_confirmed = true;
    return;
  }
  if (!engine->NeedsCalibration()) {
    notice->ShowNoticeQPSAuto(StateText("Auto").c_str());
    m_applyAuto = true;
    m_confirmed = true;
    return;
  }
  // The user may confirm the auto mode anyway with a second press.
  notice->ShowNoticeWarning(title.c_str(), StateText("CalibrationNeed").c_str(), StateWarningMs);
  m_applyAuto = false;
  m_confirmed = false;
}

void RcQPSAuto::OnQPSAuto() {
  if (m_confirmed) return;
  m_confirmed = true;
  QpsEngine::Instance()->PostAutoMode();
}

void RcQPSAuto::OnFadeDone() {
  m_confirmed = true;
  if (m_applyAuto) QpsEngine::Instance()->PostAutoMode();
  ChangeState(RcWait::Instance());
}
