#include "remote/RcWait.h"

#include "oc/OcEngine.h"
#include "remote/LevelSequence.h"
#include "remote/RcDigit.h"
#include "remote/RcProfile.h"
#include "remote/RcQPSAuto.h"
#include "remote/RcQPSManual.h"

RcWait* RcWait::Instance() {
  static RcWait* instance = new RcWait;
  return instance;
}

void RcWait::ResetAll() {
  OcEngine::Instance()->ResetActiveProfile();
  LevelSequence::Instance()->Reset();
}

void RcWait::OnProfileA() { ChangeState(RcProfileA::Instance()); }
void RcWait::OnProfileB() { ChangeState(RcProfileB::Instance()); }
void RcWait::OnProfileC() { ChangeState(RcProfileC::Instance()); }
void RcWait::OnQPSManual() { ChangeState(RcQPSManual::Instance()); }
void RcWait::OnQPSAuto() { ChangeState(RcQPSAuto::Instance()); }
void RcWait::OnDigitUp() { ChangeState(RcDigit::Instance()); }
void RcWait::OnDigitDown() { ChangeState(RcDigit::Instance()); }
