// Without a usable flashobj.dll the overlay shows no movie, yet every movie "calls
// back" where it would, asynchronously, so that every sequence still ends in the
// fade-out and OnFadeDone. This program runs in a folder of its own, without the
// player library, and takes the library's folder off its search path.
#include "osd/Flashosd.h"
#include "osd/InvokeRequest.h"
#include "osd/OsdPresenter.h"
#include "osd/PngReader.h"
#include "osd/SilentPlayer.h"
#include "osd/tests/support/DisplayWorld.h"
#include "osd/tests/support/EventRecorder.h"
#include "osd/tests/support/Pump.h"
#include "osd/tests/support/RecordingController.h"
#include "remote/DigitSequence.h"
#include "remote/LevelSequence.h"
#include "remote/NoticeSequence.h"

#include "formkit/Handle.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using osdtest::EventRecorder;

// The module search finds only the system's folders (and, if given, `extra`).
void SearchOnlySystemFolders(const std::string& extra = "") {
  char system[MAX_PATH] = {};
  char windows[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  GetWindowsDirectoryA(windows, MAX_PATH);
  std::string path = std::string(system) + ";" + windows;
  if (!extra.empty()) path = extra + ";" + path;
  SetEnvironmentVariableA("PATH", path.c_str());
  SetCurrentDirectoryA(ProgramFolder().c_str());
}

bool AnyPlayerShown() {
  for (int slot = 0; slot < static_cast<int>(OsdPresenter::MovieCount); ++slot)
    if (const TTransFlash* player = FlashOsdForm->Slot(slot).player; player && IsWindowVisible(player->Handle()))
      return true;
  return false;
}

struct SequenceCase {
  const char* name;
  std::function<void()> start;
  std::function<void()> onOsdTimeout;  // what the level and digit states do
  int stateAfterStart;                 // MovieState right after the start returned
};

class SequenceWithoutPlayerLibrary : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(SequenceWithoutPlayerLibrary, EndsInTheFadeOutWithoutShowingAMovie) {
  SearchOnlySystemFolders();
  {
    formkit::ModuleHandle library(LoadLibraryA("flashobj.dll"));
    ASSERT_FALSE(library) << "flashobj.dll must not be found by this test";
  }
  osdtest::EnsureDisplayWorld();
  const SequenceCase& c = GetParam();
  osdtest::Controller().onOsdTimeout = c.onOsdTimeout;

  c.start();
  EXPECT_EQ(MovieState, c.stateAfterStart) << "no call-back comes from inside a request";
  EXPECT_TRUE(IsWindowVisible(FlashOsdForm->Handle()));
  EXPECT_FALSE(AnyPlayerShown());

  ASSERT_TRUE(osdtest::PumpUntil([] { return osdtest::Controller().fadesDone > 0; }, 20000));
  EXPECT_EQ(osdtest::Controller().fadeDoneThread, GetCurrentThreadId());
  EXPECT_FALSE(IsWindowVisible(FlashOsdForm->Handle()));
  EXPECT_FALSE(AnyPlayerShown());
  osdtest::PumpFor(300);
  EXPECT_EQ(osdtest::Controller().fadesDone, 1);
}

INSTANTIATE_TEST_SUITE_P(
    EverySequence, SequenceWithoutPlayerLibrary,
    ::testing::Values(
        SequenceCase{"ProfileOn", [] { NoticeSequence::Instance()->ShowNoticeProfileOn("On"); }, nullptr, 0},
        SequenceCase{"ProfileOff", [] { NoticeSequence::Instance()->ShowNoticeProfileOff("Off"); }, nullptr, 1},
        SequenceCase{"QpsAuto", [] { NoticeSequence::Instance()->ShowNoticeQPSAuto("Auto"); }, nullptr, 2},
        SequenceCase{"Warning", [] { NoticeSequence::Instance()->ShowNoticeWarning("Title", "Text", 300); }, nullptr,
                     5},
        SequenceCase{"QpsManual", [] { LevelSequence::Instance()->Show(2); },
                     [] { LevelSequence::Instance()->ScheduleEnd(); }, 3},
        SequenceCase{"Digits", [] { DigitSequence::Instance()->Show(35); },
                     [] { DigitSequence::Instance()->ScheduleEnd(); }, 4}),
    [](const ::testing::TestParamInfo<SequenceCase>& info) { return std::string(info.param.name); });

// The silent player on its own: which requests make which movie call back.
int g_calls = 0;
void __stdcall CountCall(uintptr_t, uintptr_t, uintptr_t, uintptr_t) { ++g_calls; }

TEST(SilentPlayer, CallsBackAfterTheRequestsEachMovieAnswers) {
  formkit::TForm owner(nullptr);
  const FlashEntryPoints& silent = SilentPlayerEntryPoints();
  const struct {
    const wchar_t* movie;
    const char* function;
    const char* argument;
    bool callsBack;
  } cases[] = {
      {L"ZentrikProfileOn.swf", "externalCommand", "show", true},
      {L"ZentrikProfileOn.swf", "externalCommand", "end", true},
      {L"ZentrikProfileOn.swf", "changeLabel", "end", false},
      {L"ZentrikProfileOff.swf", "externalCommand", "show", true},
      {L"ZentrikProfileOff.swf", "externalCommand", "end", true},
      {L"QPSAuto.swf", "externalCommand", "show", false},
      {L"QPSAuto.swf", "externalCommand", "end", true},
      {L"Warning.swf", "changeContent", "x", false},
      {L"Warning.swf", "externalCommand", "show", false},
      {L"Warning.swf", "externalCommand", "end", true},
      {L"QPSManual.swf", "externalCommand", "show 2", false},
      {L"QPSManual.swf", "externalCommand", "play 3", false},
      {L"QPSManual.swf", "externalCommand", "End 3", true},
      {L"QPSManual.swf", "externalCommand", "End -1", true},
      {L"QPSManual.swf", "externalCommand", "end", false},
      {L"OCTuning.swf", "set2Digit", "133", false},
      {L"OCTuning.swf", "externalCommand", "in", true},
      {L"OCTuning.swf", "externalCommand", "out", true},
      {L"Other.swf", "externalCommand", "end", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.function) + " " + c.argument);
    const std::wstring path = std::wstring(L"C:\\Tools\\//Resource//") + c.movie;
    formkit::WindowHandle player(silent.create(owner.Handle(), path.c_str()));
    ASSERT_TRUE(player);
    EXPECT_EQ(GetWindow(player.Get(), GW_OWNER), owner.Handle());
    silent.setCallback(player.Get(), &CountCall);
    g_calls = 0;
    const std::string request = InvokeRequest(c.function, c.argument);
    const std::wstring wide(request.begin(), request.end());
    BSTR text = SysAllocString(wide.c_str());
    FlashCallArgs args{};
    args.request = text;
    silent.callFunction(player.Get(), args);
    SysFreeString(text);
    EXPECT_EQ(g_calls, 0) << "never from inside the request";
    if (c.callsBack) {
      EXPECT_TRUE(osdtest::PumpUntil([] { return g_calls > 0; }, 5000));
    } else {
      osdtest::PumpFor(50);
    }
    EXPECT_EQ(g_calls, c.callsBack ? 1 : 0);
  }
}

TEST(SilentPlayer, ItsWindowsNeverAppear) {
  formkit::TForm owner(nullptr);
  const FlashEntryPoints& silent = SilentPlayerEntryPoints();
  formkit::WindowHandle player(silent.create(owner.Handle(), L"x//Resource//Warning.swf"));
  ASSERT_TRUE(player);
  owner.SetVisible(true);
  SetWindowPos(player.Get(), nullptr, 10, 20, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  EXPECT_FALSE(IsWindowVisible(player.Get()));
  RECT bounds{};
  GetWindowRect(player.Get(), &bounds);
  EXPECT_EQ(bounds.left, 10);
  EXPECT_EQ(bounds.right - bounds.left, 300) << "it moves and sizes like a player";
}

TEST(FlashLibrary, ALibraryWithoutTheEntryPointsIsReplacedByTheSilentPlayer) {
  const std::string noExports = ProgramFolder() + "noexports";
  SearchOnlySystemFolders(noExports);
  {
    formkit::ModuleHandle library(LoadLibraryA("flashobj.dll"));
    ASSERT_TRUE(library) << "the test's flashobj.dll without entry points must be found";
    ASSERT_EQ(GetProcAddress(library.Get(), "flash_create"), nullptr);
  }
  const char* keys[] = {"ZentrikProfileOn", "ZentrikProfileOff", "QPSAuto", "QPSManual", "OCTuning", "Warning"};
  const char* files[] = {"ZentrikProfileOn.swf", "ZentrikProfileOff.swf", "QPSAuto.swf",
                         "QPSManual.swf",        "OCTuning.swf",          "Warning.swf"};
  auto form = std::make_unique<TFlashOsdForm>(nullptr);
  for (int movie = 0; movie < 6; ++movie) form->LoadMovie(keys[movie], files[movie], 400, 650);
  EXPECT_EQ(GetModuleHandleA("flashobj.dll"), nullptr) << "an unusable library is not kept";
  ASSERT_NE(form->Slot(5).player->Handle(), nullptr);

  EventRecorder recorder;
  form->SetMovieEvent(formkit::Bind(&recorder, &EventRecorder::OnEvent));
  form->SelectMovie(5);
  form->SendShow();
  EXPECT_FALSE(IsWindowVisible(form->Slot(5).player->Handle()));
  form->SendEnd();
  EXPECT_EQ(recorder.calls, 0);
  ASSERT_TRUE(osdtest::PumpUntil([&] { return recorder.calls > 0; }, 5000));
  osdtest::PumpFor(100);
  EXPECT_EQ(recorder.calls, 1) << "the warning calls back after \"end\" only";
  EXPECT_EQ(recorder.lastSender, nullptr);
}

}  // namespace
