// flashobj.dll through its exports: player windows, requests, and the host calls of
// every movie at exactly the points the host waits for.
#include "animplayer/flashobj.h"
#include "animplayer/movie/MovieFile.h"
#include "animplayer/movie/MoviePlayback.h"
#include "animplayer/tests/TestFiles.h"

#include "formkit/Handle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace animplayer {
namespace {

constexpr DWORD kArrivalTimeoutMs = 5000;  // generous: the machine may be busy
constexpr DWORD kQuietMs = 1000;           // longer than any of the movies' animations
constexpr DWORD kSettleMs = 100;           // for requests that start no animation that could call

// What the host's call-back saw; the call-back has no context of its own.
struct HostCalls {
  int count = 0;
  DWORD thread = 0;
  bool duringCallFunction = false;  // a call made from inside flash_callFunction
  bool insideCallFunction = false;
  HWND destroyOnCall = nullptr;
};
HostCalls g_calls;

void __stdcall RecordCall(uintptr_t, uintptr_t, uintptr_t, uintptr_t) {
  ++g_calls.count;
  g_calls.thread = GetCurrentThreadId();
  if (g_calls.insideCallFunction) g_calls.duringCallFunction = true;
  if (g_calls.destroyOnCall != nullptr) DestroyWindow(std::exchange(g_calls.destroyOnCall, nullptr));
}

// Pumps this thread's messages until `done` or the time-out; true if done.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// The overlay form's stand-in: a plain visible top-level window owning the players.
class HostWindow {
 public:
  HostWindow() {
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"PlayerTestHost";
      return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    m_window.Reset(CreateWindowExW(0, L"PlayerTestHost", L"host", WS_POPUP | WS_VISIBLE, 100, 50, 800, 700, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr));
  }
  HWND Get() const { return m_window.Get(); }

 private:
  formkit::WindowHandle m_window;
};

class Bstr {
 public:
  explicit Bstr(const std::wstring& text) : m_text(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(m_text); }
  BSTR Get() const { return m_text; }

 private:
  BSTR m_text;
};

std::wstring Invoke(const std::wstring& function, const std::wstring& argument) {
  return L"<invoke name=\"" + function + L"\" returntype=\"xml\"><arguments><string>" + argument +
         L"</string></arguments></invoke>";
}

int Send(HWND player, const std::wstring& function, const std::wstring& argument) {
  Bstr request(Invoke(function, argument));
  FlashCallArgs args{};
  args.request = request.Get();
  g_calls.insideCallFunction = true;
  const int result = flash_callFunction(player, args);
  g_calls.insideCallFunction = false;
  return result;
}

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls = HostCalls{};
    ASSERT_NE(m_host.Get(), nullptr);
  }
  HWND Create(const std::wstring& path) {
    const HWND player = flash_create(m_host.Get(), path.c_str());
    if (player != nullptr) {
      flash_setFlashCallCallbackFunc(player, RecordCall);
      // As the host does: placed, sized and shown with SetWindowPos.
      SetWindowPos(player, nullptr, 300, 100, 400, 650, SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    return player;
  }
  HostWindow m_host;
};

// One step of a movie's life: a request, and the host calls counted once it has
// played out. `closes` names the timeline whose end the new call must wait for.
struct Step {
  const wchar_t* function;
  const wchar_t* argument;
  int callsAfter;
  std::optional<TimelineKind> closes;
};

struct ContractCase {
  const char* name;
  const wchar_t* file;  // in the Resource folder, or a full path when `path` is set
  std::vector<Step> steps;
};

const std::vector<ContractCase>& ContractCases() {
  static const std::vector<ContractCase> cases = {
      {"profile on", L"ZentrikProfileOn.swf",
       {{L"changeLabel", L"Profile A On 4200MHz", 0, {}},
        {L"externalCommand", L"show", 1, TimelineKind::Show},
        {L"externalCommand", L"end", 2, TimelineKind::End}}},
      {"profile off", L"ZentrikProfileOff.swf",
       {{L"changeLabel", L"Profile B Off 3600MHz", 0, {}},
        {L"externalCommand", L"show", 1, TimelineKind::Show},
        {L"externalCommand", L"end", 2, TimelineKind::End}}},
      {"power saving, auto", L"QPSAuto.swf",
       {{L"changeLabel", L"Auto", 0, {}},
        {L"externalCommand", L"show", 0, {}},
        {L"externalCommand", L"end", 1, TimelineKind::End}}},
      {"power saving, manual", L"QPSManual.swf",
       {{L"externalCommand", L"show 2", 0, {}},
        {L"externalCommand", L"play 3", 0, {}},
        {L"externalCommand", L"play 0", 0, {}},
        {L"externalCommand", L"End 0", 1, TimelineKind::End}}},
      {"frequency", L"OCTuning.swf",
       {{L"set2Digit", L"133", 0, {}},
        {L"set2Digit", L"4200", 0, {}},
        {L"externalCommand", L"in", 1, TimelineKind::In},
        {L"set2Digit", L"4300", 1, {}},
        {L"externalCommand", L"out", 2, TimelineKind::Out}}},
      {"warning", L"Warning.swf",
       {{L"changeLabel", L"Warning", 0, {}},
        {L"changeContent", L"The companion program is not running.", 0, {}},
        {L"externalCommand", L"show", 0, {}},
        {L"externalCommand", L"end", 1, TimelineKind::End}}},
  };
  return cases;
}

void RunSteps(HWND player, const std::vector<Step>& steps, const Movie* movie) {
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.argument, step.argument + wcslen(step.argument)));
    const int before = g_calls.count;
    const double sent = NowMs();
    ASSERT_EQ(Send(player, step.function, step.argument), 1);
    if (step.callsAfter > before) {
      ASSERT_TRUE(PumpUntil([&] { return g_calls.count >= step.callsAfter; }, kArrivalTimeoutMs));
      const double waited = NowMs() - sent;
      const uint32_t animation = movie == nullptr ? kFallbackAnimationMs : movie->TimelineFor(*step.closes)->durationMs;
      EXPECT_GE(waited, animation) << "the call comes after the animation it closes";
    } else {
      PumpFor(std::wstring_view(step.function) == L"externalCommand" ? kQuietMs : kSettleMs);
    }
    EXPECT_EQ(g_calls.count, step.callsAfter);
  }
  PumpFor(kQuietMs);
  EXPECT_EQ(g_calls.count, steps.back().callsAfter) << "and no call beyond them";
  EXPECT_EQ(g_calls.thread, GetCurrentThreadId()) << "calls come on the thread that made the player";
  EXPECT_FALSE(g_calls.duringCallFunction) << "never from inside flash_callFunction";
}

TEST_F(PlayerTest, EachMovieCallsTheHostAtItsPoints) {
  for (const ContractCase& c : ContractCases()) {
    SCOPED_TRACE(c.name);
    g_calls = HostCalls{};
    const std::wstring path = test::ResourceFolder() + c.file;
    const LoadedMovie movie = LoadMovie(path);
    ASSERT_NE(movie.movie, nullptr);
    const HWND player = Create(path);
    ASSERT_NE(player, nullptr);
    RunSteps(player, c.steps, movie.movie.get());
    DestroyWindow(player);
  }
}

TEST_F(PlayerTest, MissingAndBrokenMoviesStillCallTheHostAtTheirPoints) {
  // The host's own way of writing the path, with doubled forward slashes.
  const std::wstring missing = test::ResourceFolder() + L"//NoSuchFolder//ZentrikProfileOn.swf";
  test::ScratchFile broken(L"QPSManual.swf", "zentrik-movie 1\nsize 750 650\nrect oops\n");
  const struct {
    const char* name;
    std::wstring path;
    std::vector<Step> steps;
  } cases[] = {
      {"missing profile movie", missing,
       {{L"changeLabel", L"x", 0, {}}, {L"externalCommand", L"show", 1, TimelineKind::Show}, {L"externalCommand", L"end", 2, TimelineKind::End}}},
      {"broken level movie", broken.Path(),
       {{L"externalCommand", L"show 1", 0, {}}, {L"externalCommand", L"play 2", 0, {}}, {L"externalCommand", L"End 2", 1, TimelineKind::End}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    g_calls = HostCalls{};
    const HWND player = Create(c.path);
    ASSERT_NE(player, nullptr) << "a player is made all the same";
    RunSteps(player, c.steps, nullptr);
    DestroyWindow(player);
  }
}

TEST_F(PlayerTest, FindsMoviesThroughTheHostsDoubledSlashes) {
  std::wstring folder = test::ResourceFolder();  // "...\tests\..\dist\Resource\"
  folder.resize(folder.size() - wcslen(L"Resource\\"));
  const HWND player = Create(folder + L"//Resource//QPSAuto.swf");
  ASSERT_NE(player, nullptr);
  ASSERT_EQ(Send(player, L"externalCommand", L"end"), 1);
  // With the movie found, the call waits for its real closing animation, longer
  // than a missing movie's.
  const double sent = NowMs();
  ASSERT_TRUE(PumpUntil([] { return g_calls.count == 1; }, kArrivalTimeoutMs));
  EXPECT_GE(NowMs() - sent, LoadMovie(folder + L"Resource\\QPSAuto.swf").movie->TimelineFor(TimelineKind::End)->durationMs);
  DestroyWindow(player);
}

TEST_F(PlayerTest, IsALayeredToolWindowAboveItsOwnerThatNeverTakesTheFocus) {
  SetForegroundWindow(m_host.Get());
  SetActiveWindow(m_host.Get());
  const HWND player = flash_create(m_host.Get(), (test::ResourceFolder() + L"Warning.swf").c_str());
  ASSERT_NE(player, nullptr);
  EXPECT_FALSE(IsWindowVisible(player)) << "made hidden";
  const LONG_PTR exStyle = GetWindowLongPtrW(player, GWL_EXSTYLE);
  const LONG_PTR kStyles[] = {WS_EX_LAYERED, WS_EX_TOOLWINDOW, WS_EX_NOACTIVATE, WS_EX_TOPMOST};
  for (LONG_PTR bit : kStyles) {
    EXPECT_EQ(exStyle & bit, bit) << "extended style " << std::hex << bit;
  }
  EXPECT_EQ(GetWindow(player, GW_OWNER), m_host.Get());
  EXPECT_EQ(GetWindowLongPtrW(player, GWL_STYLE) & WS_CHILD, 0) << "a popup, placed in screen coordinates";

  // Shown the way the host shows it: without SWP_NOACTIVATE.
  ASSERT_TRUE(SetWindowPos(player, nullptr, 460, 372, 400, 650, SWP_NOZORDER | SWP_SHOWWINDOW));
  PumpFor(100);
  EXPECT_TRUE(IsWindowVisible(player));
  RECT r{};
  GetWindowRect(player, &r);
  EXPECT_EQ(r.left, 460);
  EXPECT_EQ(r.top, 372);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 650);
  EXPECT_EQ(GetActiveWindow(), m_host.Get()) << "showing the player leaves the host active";
  EXPECT_EQ(SendMessageW(player, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_host.Get()), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  ASSERT_TRUE(SetWindowPos(player, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW));
  EXPECT_FALSE(IsWindowVisible(player));

  DestroyWindow(m_host.Get());
  EXPECT_FALSE(IsWindow(player)) << "the player ends with its owner";
}

TEST_F(PlayerTest, RefusesWhatIsNotAPlayerOrNotARequest) {
  const HWND player = Create(test::ResourceFolder() + L"QPSAuto.swf");
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(Send(m_host.Get(), L"externalCommand", L"show"), 0) << "not a player";
  EXPECT_EQ(Send(nullptr, L"externalCommand", L"show"), 0);
  EXPECT_EQ(flash_setFlashCallCallbackFunc(m_host.Get(), RecordCall), 0);
  EXPECT_EQ(flash_play(m_host.Get()), 0);
  FlashCallArgs noRequest{};
  EXPECT_EQ(flash_callFunction(player, noRequest), 0);
  EXPECT_EQ(Send(player, L"gotoAndPlay", L"1"), 0) << "unknown function";
  EXPECT_EQ(Send(player, L"externalCommand", L"fly"), 0) << "unknown command";
  Bstr tooLong(std::wstring(kMaxRequestChars + 1, L'<'));
  FlashCallArgs args{};
  args.request = tooLong.Get();
  EXPECT_EQ(flash_callFunction(player, args), 0);
  EXPECT_EQ(Send(player, L"changeLabel", L"fine"), 1);
  PumpFor(200);
  EXPECT_EQ(g_calls.count, 0);
}

TEST_F(PlayerTest, RequestsFromAnotherThreadRunOnThePlayersThread) {
  const HWND player = Create(test::ResourceFolder() + L"OCTuning.swf");
  ASSERT_NE(player, nullptr);
  std::atomic<int> result = -1;
  std::atomic<bool> finished = false;
  std::thread worker([&] {
    result = Send(player, L"externalCommand", L"in");
    finished = true;
  });
  const bool arrived = PumpUntil([&] { return finished && g_calls.count == 1; }, kArrivalTimeoutMs);
  worker.join();
  ASSERT_TRUE(arrived);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(g_calls.thread, GetCurrentThreadId());
  DestroyWindow(player);
}

TEST_F(PlayerTest, StopHoldsTheAnimationAndPlayResumesIt) {
  const HWND player = Create(test::ResourceFolder() + L"QPSAuto.swf");
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(flash_stop(player), 1);
  ASSERT_EQ(Send(player, L"externalCommand", L"end"), 1);
  PumpFor(kQuietMs);
  EXPECT_EQ(g_calls.count, 0) << "a stopped player's time stands still";
  EXPECT_EQ(flash_play(player), 1);
  EXPECT_TRUE(PumpUntil([] { return g_calls.count == 1; }, kArrivalTimeoutMs));
  DestroyWindow(player);
}

TEST_F(PlayerTest, AHostThatDestroysThePlayerFromItsCallBackIsSafe) {
  const HWND player = Create(test::ResourceFolder() + L"ZentrikProfileOn.swf");
  ASSERT_NE(player, nullptr);
  ASSERT_EQ(Send(player, L"externalCommand", L"show"), 1);
  ASSERT_EQ(Send(player, L"externalCommand", L"end"), 1);  // cuts the show short: two calls due together
  g_calls.destroyOnCall = player;
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(player); }, kArrivalTimeoutMs));
  PumpFor(200);
  EXPECT_EQ(g_calls.count, 1) << "nothing is delivered for a player that is gone";
}

}  // namespace
}  // namespace animplayer
