// The program's main form. It is never shown: its window is registered with the
// maker's system service, which delivers the remote control's button presses and a
// few control requests to it as window messages marked with 'U' in wParam.
#pragma once

#include "formkit/Form.h"
#include "formkit/Timer.h"

#include <windows.h>

// The program's identity towards the service and the name of its instance mutex.
#define ZR_SERVICE_GUID "7416C3CD-C93B-4555-82FE-3A4C4ECE0084"
inline constexpr char ServiceGuid[] = ZR_SERVICE_GUID;
inline constexpr wchar_t ServiceGuidWide[] = L"" ZR_SERVICE_GUID;

// Brings `window` to the foreground even when another process owns it, so that the
// program may later show its overlays above everything.
void ForceForegroundWindow(HWND window);

class TMainForm : public formkit::TForm {
 public:
  explicit TMainForm(formkit::TComponent* owner);

  // Retries the registration with the service every 2500 ms until it succeeds.
  formkit::TTimer* CheckTimer;

  // Once, after all three forms exist: starts the state machine and hides the
  // application window again.
  void StartRemote();
  // Leaves no remote profile marked active in the firmware.
  void ClearActiveProfile();

  void Dispatch(formkit::TMessage& message) override;

 protected:
  void CreateParams(formkit::TCreateParams& params) override;

 private:
  void OnCheckTimer(formkit::TObject* sender);
  void MainWindowProc(formkit::TMessage& message);
  void Quit();

  bool m_registered = false;
};

extern TMainForm* MainForm;
