#include "osd/SilentPlayer.h"

#include "osd/InvokeRequest.h"

#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr wchar_t ClassName[] = L"ZentrikSilentPlayer";
// Posted to itself after a request that the movie answers with a call to its host.
constexpr UINT WM_SILENT_CALLBACK = WM_APP + 1;

// Which externalCommand arguments make a movie call its host.
enum class CallPoints { None, ShowAndEnd, End, EndLevel, InAndOut };

struct MovieCallPoints {
  const wchar_t* file;
  CallPoints points;
};

constexpr MovieCallPoints MovieCalls[] = {
    {L"ZentrikProfileOn.swf", CallPoints::ShowAndEnd}, {L"ZentrikProfileOff.swf", CallPoints::ShowAndEnd},
    {L"QPSAuto.swf", CallPoints::End},                 {L"Warning.swf", CallPoints::End},
    {L"QPSManual.swf", CallPoints::EndLevel},          {L"OCTuning.swf", CallPoints::InAndOut},
};

CallPoints CallPointsOf(std::wstring_view path) {
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring_view file = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
  for (const auto& movie : MovieCalls)
    if (CompareStringOrdinal(file.data(), static_cast<int>(file.size()), movie.file, -1, TRUE) == CSTR_EQUAL)
      return movie.points;
  return CallPoints::None;
}

bool CallsBackAfter(CallPoints points, std::wstring_view command) {
  switch (points) {
    case CallPoints::ShowAndEnd:
      return command == L"show" || command == L"end";
    case CallPoints::End:
      return command == L"end";
    case CallPoints::EndLevel:
      return command.substr(0, 4) == L"End ";
    case CallPoints::InAndOut:
      return command == L"in" || command == L"out";
    case CallPoints::None:
      break;
  }
  return false;
}

// What a silent player window knows; owned by its window.
struct SilentMovie {
  CallPoints points;
  FlashCallCallback callback = nullptr;
};

SilentMovie* MovieOf(HWND player) {
  return reinterpret_cast<SilentMovie*>(GetWindowLongPtrW(player, GWLP_USERDATA));
}

LRESULT CALLBACK SilentProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_WINDOWPOSCHANGING:
      // No movie is shown: the window refuses to appear.
      reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
      return 0;
    case WM_SILENT_CALLBACK:
      if (SilentMovie* movie = MovieOf(window); movie && movie->callback) movie->callback(0, 0, 0, 0);
      return 0;
    case WM_NCDESTROY:
      delete MovieOf(window);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

bool RegisterOnce() {
  static const bool registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &SilentProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = ClassName;
    return RegisterClassW(&windowClass) != 0;
  }();
  return registered;
}

HWND __stdcall SilentCreate(HWND parent, const wchar_t* moviePath) {
  if (!RegisterOnce()) return nullptr;
  auto movie = std::make_unique<SilentMovie>(SilentMovie{CallPointsOf(moviePath ? moviePath : L"")});
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, ClassName, L"", WS_POPUP, 0, 0, 0, 0, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) return nullptr;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(movie.release()));
  return window;
}

int __stdcall SilentSetCallback(HWND player, FlashCallCallback callback) {
  SilentMovie* movie = MovieOf(player);
  if (!movie) return 0;
  movie->callback = callback;
  return 1;
}

int __stdcall SilentCallFunction(HWND player, FlashCallArgs args) {
  SilentMovie* movie = MovieOf(player);
  if (!movie || !args.request) return 0;
  const InvokeCall call = ParseInvokeRequest(std::wstring_view(args.request, SysStringLen(args.request)));
  if (call.function == L"externalCommand" && CallsBackAfter(movie->points, call.argument))
    PostMessageW(player, WM_SILENT_CALLBACK, 0, 0);
  return 1;
}

}  // namespace

const FlashEntryPoints& SilentPlayerEntryPoints() {
  static const FlashEntryPoints entries{&SilentCreate, &SilentSetCallback, &SilentCallFunction};
  return entries;
}
