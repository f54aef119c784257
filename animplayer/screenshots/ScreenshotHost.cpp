// Shows one movie the way the program does, over the smoke overlay, with the texts
// of one language file, and holds it at rest for a screenshot:
//   osd_screenshot_host <movie> <language file> <code page> <hold ms>
// <movie> is a movie's key (ZentrikProfileOn, ..., Warning). "ready" on standard
// output says that the movie has come to rest; the program ends after the hold.
#include "animplayer/flashobj.h"
#include "animplayer/screenshots/SmokeOverlay.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr BYTE kOverlayOpacity = 229;  // the program's normal overlay opacity
constexpr DWORD kSettleMs = 1500;       // longer than any movie's opening animation

struct Scene {
  const wchar_t* key;
  int width, height;
  // The requests, as the program's presenter sends them; {label}, {content} stand
  // for texts from the language file.
  std::vector<std::pair<const wchar_t*, std::wstring>> requests;
  const char* labelKey;    // the label's language key, or null
  const wchar_t* suffix;   // put after the label, as the program does with a frequency
  const char* contentKey;  // the content's language key, or null
};

const Scene kScenes[] = {
    {L"ZentrikProfileOn", 400, 650, {{L"changeLabel", L"{label}"}, {L"externalCommand", L"show"}}, "ProfileAOn", L" 4200MHz", nullptr},
    {L"ZentrikProfileOff", 400, 650, {{L"changeLabel", L"{label}"}, {L"externalCommand", L"show"}}, "ProfileAOff", L" 3600MHz", nullptr},
    {L"QPSAuto", 400, 650, {{L"changeLabel", L"{label}"}, {L"externalCommand", L"show"}}, "Auto", L"", nullptr},
    {L"QPSManual", 750, 650, {{L"externalCommand", L"show 2"}}, nullptr, L"", nullptr},
    {L"OCTuning", 550, 400, {{L"set2Digit", L"133"}, {L"set2Digit", L"4200"}, {L"externalCommand", L"in"}}, nullptr, L"", nullptr},
    {L"Warning", 400, 650,
     {{L"changeLabel", L"{label}"}, {L"changeContent", L"{content}"}, {L"externalCommand", L"show"}}, "Warning", L"", "QPSNotRun"},
};

std::wstring ReadText(const std::wstring& iniPath, const char* key, UINT codePage) {
  char path[MAX_PATH * 2];
  WideCharToMultiByte(CP_ACP, 0, iniPath.c_str(), -1, path, sizeof path, nullptr, nullptr);
  char text[1024] = {};
  GetPrivateProfileStringA("Translations", key, "", text, sizeof text, path);
  const int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
  if (n > 1) MultiByteToWideChar(codePage, 0, text, -1, out.data(), n);
  return out;
}

void Send(HWND player, const wchar_t* function, const std::wstring& argument) {
  const std::wstring xml = std::wstring(L"<invoke name=\"") + function + L"\" returntype=\"xml\"><arguments><string>" +
                           argument + L"</string></arguments></invoke>";
  FlashCallArgs args{};
  args.request = SysAllocStringLen(xml.data(), static_cast<UINT>(xml.size()));
  flash_callFunction(player, args);
  SysFreeString(args.request);
}

void PumpFor(DWORD ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

void __stdcall IgnoreCall(uintptr_t, uintptr_t, uintptr_t, uintptr_t) {}

std::wstring ProgramFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  while (GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())) == path.size()) path.resize(path.size() * 2);
  std::wstring folder(path.data());
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    std::fputs("usage: osd_screenshot_host <movie> <language file> <code page> <hold ms>\n", stderr);
    return 2;
  }
  const Scene* scene = nullptr;
  for (const Scene& s : kScenes) {
    if (std::wcscmp(s.key, argv[1]) == 0) scene = &s;
  }
  if (scene == nullptr) {
    std::fprintf(stderr, "unknown movie %ls\n", argv[1]);
    return 2;
  }
  const std::wstring iniPath = argv[2];
  const UINT codePage = static_cast<UINT>(std::wcstoul(argv[3], nullptr, 10));
  const DWORD holdMs = static_cast<DWORD>(std::wcstoul(argv[4], nullptr, 10));

  // The tools sit beside the program's folder: build/tools and build/dist.
  const std::wstring program = ProgramFolder() + L"..\\dist\\";
  const std::unique_ptr<screenshots::SmokeOverlay> overlay =
      screenshots::SmokeOverlay::Create(program + L"Resource\\bg_smoke01.png", kOverlayOpacity);
  if (!overlay) {
    std::fputs("cannot show the smoke overlay\n", stderr);
    return 1;
  }
  // The movie path written the way the program writes it.
  const std::wstring moviePath = program + L"//Resource//" + scene->key + L".swf";
  const HWND player = flash_create(overlay->Window(), moviePath.c_str());
  if (player == nullptr) {
    std::fputs("cannot create the player\n", stderr);
    return 1;
  }
  flash_setFlashCallCallbackFunc(player, IgnoreCall);
  // Placed as the program places it: centred, a little above the middle.
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const int x = (sw - scene->width) / 2;
  const int y = sh < scene->height ? sh / 7 : static_cast<int>((sh - 0.67 * scene->height) * 0.5);
  SetWindowPos(player, nullptr, x, y, scene->width, scene->height, SWP_NOZORDER);

  const std::wstring label = scene->labelKey ? ReadText(iniPath, scene->labelKey, codePage) + scene->suffix : L"";
  const std::wstring content = scene->contentKey ? ReadText(iniPath, scene->contentKey, codePage) : L"";
  for (const auto& [function, argument] : scene->requests) {
    Send(player, function, argument == L"{label}" ? label : argument == L"{content}" ? content : argument);
  }
  SetWindowPos(player, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  PumpFor(kSettleMs);
  std::puts("ready");
  std::fflush(stdout);
  PumpFor(holdMs);
  DestroyWindow(player);
  return 0;
}
