#include "remote/RcState.h"

#include "remote/RcController.h"

void RcState::ChangeState(RcState* next) {
  RcController* controller = RcController::Instance();
  controller->m_current->Leave();
  controller->m_current = next;
  controller->m_current->Enter();
}
