#include "remote/RcController.h"

#include "oc/Config.h"
#include "remote/OsdMask.h"
#include "remote/RcWait.h"

#include <windows.h>

namespace {

constexpr unsigned FirstButton = 0x90;

// The state operation of each button code, from 0x90 on.
constexpr void (RcState::*ButtonOperations[])() = {
    &RcState::OnProfileA,  &RcState::OnProfileB, &RcState::OnProfileC, &RcState::OnQPSManual,
    &RcState::OnQPSAuto,   &RcState::OnDigitUp,  &RcState::OnDigitDown,
};
constexpr unsigned ButtonCount = sizeof ButtonOperations / sizeof ButtonOperations[0];

// Another program's progress dialog on the screen: presses would disturb its work.
bool IsProgressDialogVisible() {
  HWND dialog = FindWindowA("TProgressDialog", "ProgressDialog");
  return dialog && (GetWindowLongA(dialog, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The maker's configuration program is open, shown or not.
bool IsGuiBackgroundOpen() { return FindWindowA("TfrmGuiBackground", nullptr) != nullptr; }

}  // namespace

RcController* RcController::Instance() {
  static RcController* instance = new RcController;
  return instance;
}

void RcController::Start() {
  OsdMask::Instance()->Reset();
  RcWait::Instance()->ResetAll();
  // The idle state needs no entering.
  m_current = RcWait::Instance();
  Config::Instance()->Invalidate();
}

void RcController::HandleButton(unsigned code, bool& handled) {
  handled = true;
  // A press during another program's busy window is swallowed whatever its code.
  if (IsProgressDialogVisible() || IsGuiBackgroundOpen()) return;
  if (code >= FirstButton && code - FirstButton < ButtonCount) {
    // A press that arrives while Start still runs (a sent message can be delivered
    // while the display is prepared) finds no state yet and is dropped.
    if (m_current) (m_current->*ButtonOperations[code - FirstButton])();
    return;
  }
  handled = false;
}

void RcController::OnOsdTimeout() {
  if (m_current) m_current->OnOsdTimeout();
}

void RcController::OnFadeDone() {
  if (m_current) m_current->OnFadeDone();
}
