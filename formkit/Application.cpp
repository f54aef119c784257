#include "formkit/Application.h"

#include "formkit/Assert.h"
#include "formkit/Form.h"
#include "formkit/SyncQueue.h"
#include "formkit/WindowClass.h"

#include <vector>

namespace formkit {

namespace {
constexpr char ApplicationClassName[] = "TApplication";
}

TApplication* Application() {
  // Made on first use and kept to the end of the process, like the forms it owns.
  static TApplication* application = new TApplication;
  return application;
}

TApplication::TApplication() : TComponent(nullptr), m_mainThreadId(GetCurrentThreadId()) {}

TApplication::~TApplication() = default;

void TApplication::Initialize() { Handle(); }

HWND TApplication::Handle() {
  if (!m_window) {
    ZR_ASSERT(GetCurrentThreadId() == m_mainThreadId);
    if (!detail::EnsureWindowClass(ApplicationClassName, &WindowProcedure))
      throw Exception("Cannot register window class " + std::string(ApplicationClassName));
    m_window.Reset(CreateWindowExA(0, ApplicationClassName, Title().c_str(),
                                   WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                                   0, 0, nullptr, nullptr, detail::ModuleInstance(), nullptr));
    if (!m_window) throw Exception("Cannot create the application window");
    SetWindowLongPtrA(m_window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  return m_window.Get();
}

HWND TApplication::SynchronizeWindow() const {
  ZR_ASSERT(m_window.IsValid());
  return m_window.Get();
}

LRESULT CALLBACK TApplication::WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* application = reinterpret_cast<TApplication*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (application) {
    switch (msg) {
      case detail::WM_FORMKIT_SYNCHRONIZE:
        detail::SyncQueue::Instance().RunPending();
        return 0;
      case WM_CLOSE:
        // The application window lives as long as the program: closing it closes
        // the main form instead.
        if (application->m_mainForm) application->m_mainForm->Close();
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

void TApplication::FormCreated(TForm* form) {
  if (!m_mainForm) m_mainForm = form;
}

void TApplication::FormDestroyed(TForm* form) {
  if (m_mainForm == form) m_mainForm = nullptr;
}

bool TApplication::HandleMessage() {
  MSG message;
  const BOOL got = GetMessageA(&message, nullptr, 0, 0);
  if (got == 0 || got == -1) return false;  // WM_QUIT, or no queue to read
  TranslateMessage(&message);
  DispatchMessageA(&message);
  return true;
}

void TApplication::Run() {
  detail::SyncQueue& queue = detail::SyncQueue::Instance();
  queue.Open();
  if (m_mainForm) {
    if (m_showMainForm) m_mainForm->SetVisible(true);
    while (!m_terminated && m_mainForm) {
      if (!HandleMessage()) m_terminated = true;
    }
  }
  // The program is quitting: nobody will run the calls still waiting.
  queue.Close();
  m_terminated = false;
}

void TApplication::Terminate() {
  m_terminated = true;
  // Wakes Run if it waits in GetMessage.
  if (m_window) PostMessageA(m_window.Get(), WM_NULL, 0, 0);
}

void TApplication::ProcessMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      m_terminated = true;
      break;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void TApplication::ShowException(const Exception& error) {
  MessageBoxA(nullptr, error.Message().c_str(), Title().c_str(), MB_OK | MB_ICONERROR);
}

std::string TApplication::ExeName() const {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);  // the path was cut
  }
}

std::string TApplication::Title() const {
  std::string name = ExeName();
  name.erase(0, name.find_last_of("\\/:") + 1);
  if (const auto dot = name.find_last_of('.'); dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace formkit
