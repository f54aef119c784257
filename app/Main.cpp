#include "app/Main.h"

#include "app/KovraService.h"
#include "formkit/Application.h"
#include "oc/AcpiLibrary.h"
#include "remote/RcController.h"

TMainForm* MainForm = nullptr;

namespace {

constexpr unsigned CheckIntervalMs = 2500;
// Marks every message of the service that the form acts on.
constexpr WPARAM Sentinel = 'U';
constexpr uint32_t ActiveProfileItem = 0x11060008;
// Neither a taskbar button nor a place below other windows.
constexpr DWORD ShellExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

// The service's messages.
constexpr UINT QuitMessage = WM_USER + 0;
constexpr UINT ForegroundMessage = WM_USER + 6;
constexpr UINT ButtonMessage = WM_USER + 8;

bool CarriesSentinel(const formkit::TMessage& message) { return (message.WParam & 0xFF) == Sentinel; }

}  // namespace

void ForceForegroundWindow(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  HWND foreground = GetForegroundWindow();
  const DWORD own = GetWindowThreadProcessId(window, nullptr);
  const DWORD other = GetWindowThreadProcessId(foreground, nullptr);
  // Sharing the foreground thread's input state lifts the foreground lock.
  if (own != other) AttachThreadInput(own, other, TRUE);
  AllowSetForegroundWindow(ASFW_ANY);
  SetForegroundWindow(window);
  BringWindowToTop(window);
  if (own != other) AttachThreadInput(own, other, FALSE);
  if (GetForegroundWindow() != window) {
    // The last resort: switch the foreground lock time-out off for a moment.
    DWORD saved = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &saved, 0);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(saved)),
                          SPIF_SENDCHANGE);
  }
  ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
}

TMainForm::TMainForm(formkit::TComponent* owner) : TForm(owner), CheckTimer(new formkit::TTimer(this)) {
  SetCaption("Zentrik Remote");
  CheckTimer->SetEnabled(false);
  CheckTimer->SetInterval(CheckIntervalMs);
  CheckTimer->SetOnTimer(formkit::Bind(this, &TMainForm::OnCheckTimer));

  // Asking for the handle makes the window that the service will deliver to.
  m_registered = KvSysSvr_RegisterNotify(Handle(), ServiceGuidWide) != 0;
  if (!m_registered) MainForm->CheckTimer->SetEnabled(true);
  WindowProc = formkit::Bind(this, &TMainForm::MainWindowProc);

  HWND application = formkit::Application()->Handle();
  const LONG_PTR exStyle = GetWindowLongPtrA(application, GWL_EXSTYLE);
  SetWindowLongPtrA(application, GWL_EXSTYLE, (exStyle | ShellExStyle) & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW));
  SetWindowPos(application, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_HIDEWINDOW);
  ForceForegroundWindow(application);
}

void TMainForm::CreateParams(formkit::TCreateParams& params) {
  TForm::CreateParams(params);
  params.ExStyle = (params.ExStyle | ShellExStyle) & ~static_cast<DWORD>(WS_EX_APPWINDOW);
}

void TMainForm::StartRemote() {
  RcController::Instance()->Start();
  ShowWindow(formkit::Application()->Handle(), SW_HIDE);
}

void TMainForm::ClearActiveProfile() {
  AcpiOpen();
  AcpiWriteItem(ActiveProfileItem, 0, 1);
}

void TMainForm::OnCheckTimer(formkit::TObject*) {
  m_registered = KvSysSvr_RegisterNotify(Handle(), ServiceGuidWide) != 0;
  CheckTimer->SetEnabled(!m_registered);
}

void TMainForm::MainWindowProc(formkit::TMessage& message) {
  // After a resume the foreground may belong to a lock screen or another program.
  if (message.Msg == WM_POWERBROADCAST && message.WParam == PBT_APMRESUMESUSPEND)
    ForceForegroundWindow(formkit::Application()->Handle());
  WndProc(message);
}

void TMainForm::Quit() {
  KvSysSvr_UnregisterNotify(Handle(), ServiceGuidWide);
  ClearActiveProfile();
  Close();
}

void TMainForm::Dispatch(formkit::TMessage& message) {
  switch (message.Msg) {
    case QuitMessage:
      if (CarriesSentinel(message)) {
        Quit();
        return;
      }
      break;
    case WM_USER + 1:
    case WM_USER + 2:
    case WM_USER + 3:
      // Requests of the service that need nothing from this program.
      if (CarriesSentinel(message)) return;
      break;
    case ForegroundMessage:
      if (CarriesSentinel(message)) {
        SetForegroundWindow(Handle());
        return;
      }
      break;
    case ButtonMessage:
      // The whole wParam, not only its low byte, marks a button.
      if (message.WParam == Sentinel) {
        bool handled = false;
        RcController::Instance()->HandleButton(static_cast<unsigned>(message.LParam), handled);
        if (handled) return;
      }
      break;
    default:
      break;
  }
  TForm::Dispatch(message);
}
