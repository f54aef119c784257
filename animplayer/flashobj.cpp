// The exported entry points: requests are read and understood here, on the
// caller's thread, and handed to the player window's own thread.
#include "animplayer/flashobj.h"

#include "animplayer/PlayerLog.h"
#include "animplayer/PlayerWindow.h"
#include "animplayer/movie/InvokeRequest.h"
#include "animplayer/movie/MovieCommand.h"

#include <new>
#include <string_view>

HWND __stdcall flash_create(HWND parent, const wchar_t* moviePath) {
  try {
    const HWND player = animplayer::PlayerWindow::Create(parent, moviePath);
    animplayer::LogPlayerCreated(player, moviePath ? moviePath : L"");
    return player;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

int __stdcall flash_setFlashCallCallbackFunc(HWND player, FlashCallCallback callback) {
  return animplayer::PlayerWindow::SetCallback(player, callback) ? 1 : 0;
}

int __stdcall flash_callFunction(HWND player, FlashCallArgs args) {
  if (args.request == nullptr) return 0;
  // The length comes from the BSTR's prefix; a request longer than any we know is
  // refused before a character of it is read.
  const UINT length = SysStringLen(args.request);
  if (length > animplayer::kMaxRequestChars) return 0;
  animplayer::LogRequest(player, std::wstring_view(args.request, length));
  try {
    const std::optional<animplayer::InvokeRequest> request =
        animplayer::ParseInvokeRequest(std::wstring_view(args.request, length));
    if (!request) return 0;
    const std::optional<animplayer::MovieCommand> command = animplayer::ToMovieCommand(*request);
    if (!command) return 0;
    return animplayer::PlayerWindow::SendCommand(player, *command) ? 1 : 0;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

int __stdcall flash_play(HWND player) { return animplayer::PlayerWindow::SetPlaying(player, true) ? 1 : 0; }

int __stdcall flash_stop(HWND player) { return animplayer::PlayerWindow::SetPlaying(player, false) ? 1 : 0; }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // Unloaded by FreeLibrary (not at process exit): the class must not outlive its
  // window procedure. It stays registered while players still exist.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    animplayer::PlayerWindow::UnregisterPlayerClass();
  }
  return TRUE;
}
