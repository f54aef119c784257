#include "animplayer/PlayerWindow.h"

#include "animplayer/PlayerLog.h"

#include <new>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace animplayer {
namespace {

constexpr wchar_t kClassName[] = L"ZentrikMoviePlayer";
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameIntervalMs = 16;  // about 60 frames a second, only while something moves
constexpr UINT kMessageCommand = WM_USER + 0x100;   // lParam: const MovieCommand*
constexpr UINT kMessageCallback = WM_USER + 0x101;  // lParam: FlashCallCallback
constexpr UINT kMessagePlaying = WM_USER + 0x102;   // wParam: 1 play, 0 stop
constexpr LRESULT kHandled = 1;

// Passed through CreateWindowExW: the window takes the player over at WM_NCCREATE,
// and from then on ends it itself, also when creation fails later.
struct Creation {
  PlayerWindow* player;
  bool adopted;
};

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

bool RegisterPlayerClass(WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(ThisModule(), kClassName, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = ThisModule();
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

double Milliseconds() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

}  // namespace

PlayerWindow::PlayerWindow(LoadedMovie movie)
    : m_playback(movie.movie, movie.contract), m_renderer(movie.movie) {}

PlayerWindow::~PlayerWindow() { *m_alive = false; }

HWND PlayerWindow::Create(HWND owner, const wchar_t* moviePath) {
  if (!RegisterPlayerClass(&PlayerWindow::WindowProc)) return nullptr;
  LoadedMovie movie = LoadMovie(moviePath != nullptr ? moviePath : L"");
  const Movie* m = movie.movie.get();
  const int width = m ? static_cast<int>(m->width) : 0, height = m ? static_cast<int>(m->height) : 0;
  auto player = std::unique_ptr<PlayerWindow>(new PlayerWindow(std::move(movie)));
  Creation creation{player.get(), false};
  // Owned by the host's window: always above it, gone with it. Never activated.
  const HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, kClassName,
                                      L"", WS_POPUP, 0, 0, width, height, owner, nullptr, ThisModule(), &creation);
  if (creation.adopted) player.release();
  return window;
}

bool PlayerWindow::IsPlayer(HWND window) {
  if (window == nullptr || !IsWindow(window)) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return false;  // pointers cannot cross processes
  wchar_t name[64] = {};
  return GetClassNameW(window, name, 64) > 0 && std::wstring_view(name) == kClassName &&
         reinterpret_cast<HINSTANCE>(GetClassLongPtrW(window, GCLP_HMODULE)) == ThisModule();
}

bool PlayerWindow::SendCommand(HWND window, const MovieCommand& command) {
  return IsPlayer(window) && SendMessageW(window, kMessageCommand, 0, reinterpret_cast<LPARAM>(&command)) == kHandled;
}

bool PlayerWindow::SetCallback(HWND window, FlashCallCallback callback) {
  return IsPlayer(window) && SendMessageW(window, kMessageCallback, 0, reinterpret_cast<LPARAM>(callback)) == kHandled;
}

bool PlayerWindow::SetPlaying(HWND window, bool playing) {
  return IsPlayer(window) && SendMessageW(window, kMessagePlaying, playing ? 1 : 0, 0) == kHandled;
}

void PlayerWindow::UnregisterPlayerClass() { UnregisterClassW(kClassName, ThisModule()); }

LRESULT CALLBACK PlayerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* creation = static_cast<Creation*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    creation->adopted = true;
    PlayerWindow* player = creation->player;
    player->m_window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(player));
  }
  auto* player = reinterpret_cast<PlayerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (player == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    delete player;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return player->HandleMessage(message, wParam, lParam);
  } catch (const std::bad_alloc&) {
    return 0;  // exceptions must not cross the system's frames; the request is dropped
  }
}

LRESULT PlayerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMessageCommand:
      Apply(*reinterpret_cast<const MovieCommand*>(lParam));
      return kHandled;
    case kMessageCallback:
      m_callback = reinterpret_cast<FlashCallCallback>(lParam);
      return kHandled;
    case kMessagePlaying:
      SetPlayingState(wParam != 0);
      return kHandled;
    case WM_TIMER:
      if (wParam == kFrameTimer) {
        OnFrame();
        return 0;
      }
      break;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGING:
      // However the host shows, moves or sizes the player, it never takes the focus.
      reinterpret_cast<WINDOWPOS*>(lParam)->flags |= SWP_NOACTIVATE;
      break;
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if ((pos->flags & SWP_SHOWWINDOW) || !(pos->flags & SWP_NOSIZE)) Draw();
      return 0;  // no WM_SIZE or WM_MOVE needed
    }
    case WM_DESTROY:
      if (m_timerRunning) KillTimer(m_window, kFrameTimer);
      m_timerRunning = false;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(m_window, message, wParam, lParam);
}

double PlayerWindow::Now() const { return (m_playing ? Milliseconds() : m_stoppedAt) - m_stoppedFor; }

void PlayerWindow::Apply(const MovieCommand& command) {
  m_playback.Apply(command, Now());
  // Whatever the command owes the host is delivered from the timer, never from
  // inside the host's own call.
  UpdateTimer();
  Draw();
}

void PlayerWindow::SetPlayingState(bool playing) {
  if (playing == m_playing) return;
  if (playing) {
    m_stoppedFor += Milliseconds() - m_stoppedAt;
  } else {
    m_stoppedAt = Milliseconds();
  }
  m_playing = playing;
  UpdateTimer();
}

void PlayerWindow::UpdateTimer() {
  const bool wanted = m_playing && m_playback.IsAnimating();
  if (wanted && !m_timerRunning) m_timerRunning = SetTimer(m_window, kFrameTimer, kFrameIntervalMs, nullptr) != 0;
  if (!wanted && m_timerRunning) {
    KillTimer(m_window, kFrameTimer);
    m_timerRunning = false;
  }
}

void PlayerWindow::Draw() {
  if (!IsWindowVisible(m_window)) return;  // drawn again when shown
  RECT r{};
  GetWindowRect(m_window, &r);
  if (!m_surface.Resize(r.right - r.left, r.bottom - r.top)) return;
  FrameView frame = m_surface.View();
  m_renderer.Render(m_playback, frame);
  m_surface.Present(m_window);
}

void PlayerWindow::OnFrame() {
  m_playback.Advance(Now());
  Draw();
  UpdateTimer();
  // Last: the host may do anything from its call-back, destroying this player too.
  const int calls = m_playback.TakeHostCalls();
  const FlashCallCallback callback = m_callback;
  const std::shared_ptr<bool> alive = m_alive;
  for (int i = 0; i < calls && callback != nullptr && *alive; ++i) {
    LogHostCall(m_window);
    callback(0, 0, 0, 0);
  }
}

}  // namespace animplayer
