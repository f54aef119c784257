#include "osd/tests/support/RecordingPlayer.h"

#include "osd/tests/support/Pump.h"

#include <map>
#include <stdexcept>

namespace osdtest {

namespace {

constexpr wchar_t ClassName[] = L"OsdTestPlayer";

std::map<HWND, FlashCallCallback>& Callbacks() {
  static std::map<HWND, FlashCallCallback> callbacks;
  return callbacks;
}

std::string WideToAnsi(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, ansi.data(), size, nullptr, nullptr);
  return ansi;
}

LRESULT CALLBACK PlayerProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW))
    RecordingPlayer::Instance().shown.push_back({window, NowMs()});
  if (msg == WM_NCDESTROY) Callbacks().erase(window);
  return DefWindowProcW(window, msg, wParam, lParam);
}

HWND __stdcall RecordingCreate(HWND parent, const wchar_t* path) {
  static const bool registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &PlayerProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = ClassName;
    return RegisterClassW(&windowClass) != 0;
  }();
  if (!registered) throw std::runtime_error("no player window class");
  HWND player = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, ClassName, L"", WS_POPUP, 0, 0, 10, 10, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  RecordingPlayer::Instance().creations.push_back({parent, path, player});
  return player;
}

int __stdcall RecordingSetCallback(HWND player, FlashCallCallback callback) {
  Callbacks()[player] = callback;
  return 1;
}

int __stdcall RecordingCallFunction(HWND player, FlashCallArgs args) {
  const int length = static_cast<int>(SysStringLen(args.request));
  RecordingPlayer::Instance().requests.push_back(
      {player, WideToAnsi(args.request, length), NowMs(), IsWindowVisible(player) != FALSE});
  return 1;
}

const FlashEntryPoints Recording{&RecordingCreate, &RecordingSetCallback, &RecordingCallFunction};

}  // namespace

RecordingPlayer& RecordingPlayer::Instance() {
  static RecordingPlayer* player = [] {
    InstallFlashLibrary(Recording);
    return new RecordingPlayer;
  }();
  return *player;
}

void RecordingPlayer::Clear() {
  creations.clear();
  requests.clear();
  shown.clear();
}

std::vector<std::string> RecordingPlayer::RequestTexts() const {
  std::vector<std::string> texts;
  for (const auto& request : requests) texts.push_back(request.text);
  return texts;
}

FlashCallCallback RecordingPlayer::CallbackOf(HWND player) const {
  const auto found = Callbacks().find(player);
  return found == Callbacks().end() ? nullptr : found->second;
}

void RecordingPlayer::CallBack(HWND player) const {
  if (FlashCallCallback callback = CallbackOf(player)) callback(0, 0, 0, 0);
}

std::string ExternalCommand(const std::string& command) {
  return "<invoke name=\"externalCommand\" returntype=\"xml\"><arguments><string>" + command +
         "</string></arguments></invoke>";
}

}  // namespace osdtest
