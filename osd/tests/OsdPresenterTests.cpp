// The presenter on the overlay form as start-up leaves it, with the recording
// player library: what each operation sends, in which order and with which waits,
// what it shows, and its two operations that the fade-out thread calls.
#include "osd/Flashosd.h"
#include "osd/OsdPresenter.h"
#include "osd/tests/support/DisplayWorld.h"
#include "osd/tests/support/Pump.h"
#include "osd/tests/support/RecordingPlayer.h"

#include "formkit/Handle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using osdtest::ExternalCommand;
using osdtest::RecordingPlayer;

std::string Invoke(const std::string& function, const std::string& argument) {
  return "<invoke name=\"" + function + "\" returntype=\"xml\"><arguments><string>" + argument +
         "</string></arguments></invoke>";
}

class PresenterTest : public ::testing::Test {
 protected:
  PresenterTest() : player(RecordingPlayer::Instance()) {}

  void SetUp() override {
    osdtest::EnsureDisplayWorld();
    player.Clear();
  }

  HWND PlayerWindow(int slot) const { return FlashOsdForm->Slot(slot).player->Handle(); }
  bool FormShown() const { return IsWindowVisible(FlashOsdForm->Handle()) != FALSE; }
  bool AnyPlayerShown() const {
    for (int slot = 0; slot < static_cast<int>(OsdPresenter::MovieCount); ++slot)
      if (IsWindowVisible(PlayerWindow(slot))) return true;
    return false;
  }
  // Loads the movies (first PlaceMovie) and forgets what that sent.
  void LoadMovies() {
    presenter->PlaceMovie(OsdPresenter::MovieProfileOn);
    player.Clear();
  }

  RecordingPlayer& player;
  OsdPresenter* const presenter = OsdPresenter::Instance();
};

TEST_F(PresenterTest, TheFirstPlaceMovieMakesAllPlayersPresetsTheDigitsAndHidesEverything) {
  if (FlashOsdForm->FindSlot("ZentrikProfileOn") != -1) GTEST_SKIP() << "needs a process whose movies are not loaded";
  presenter->PlaceMovie(OsdPresenter::MovieQpsManual);
  ASSERT_EQ(player.creations.size(), 6u);
  const char* keys[] = {"ZentrikProfileOn", "ZentrikProfileOff", "QPSAuto", "QPSManual", "OCTuning", "Warning"};
  for (int slot = 0; slot < 6; ++slot) EXPECT_EQ(FlashOsdForm->FindSlot(keys[slot]), slot) << keys[slot];
  ASSERT_EQ(player.requests.size(), 1u);
  EXPECT_EQ(player.requests[0].text, Invoke("set2Digit", "133"));
  EXPECT_EQ(player.requests[0].player, PlayerWindow(OsdPresenter::MovieDigits));
  EXPECT_EQ(MovieState, 4);
  EXPECT_EQ(FlashOsdForm->CurrentPlayer(), FlashOsdForm->Slot(OsdPresenter::MovieDigits).player);
  EXPECT_FALSE(AnyPlayerShown());
  EXPECT_TRUE(player.shown.empty());
  EXPECT_FALSE(FormShown());
  EXPECT_EQ(FlashOsdForm->Slot(OsdPresenter::MovieQpsManual).player->OffsetX(), 137);
  EXPECT_EQ(FlashOsdForm->Slot(OsdPresenter::MovieQpsManual).player->OffsetY(), 166);
}

TEST_F(PresenterTest, LaterPlaceMovieCallsOnlyCentreTheirMovie) {
  LoadMovies();
  presenter->FitToScreen();
  SetWindowPos(PlayerWindow(0), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  presenter->PlaceMovie(OsdPresenter::MovieProfileOn);
  presenter->PlaceMovie(9);  // no such movie: nothing
  EXPECT_TRUE(player.creations.empty());
  EXPECT_TRUE(player.requests.empty());
  RECT bounds{};
  GetWindowRect(PlayerWindow(0), &bounds);
  EXPECT_EQ(bounds.left, 312);
  EXPECT_EQ(bounds.top, 166);
}

struct ShowCase {
  const char* name;
  std::function<void(OsdPresenter&)> show;
  std::vector<std::string> requests;
  int movie;          // MovieState and current player afterwards
  bool formShown;
};

TEST_F(PresenterTest, EachOperationSendsItsRequestsToItsMovie) {
  LoadMovies();
  const std::string label = Invoke("changeLabel", "Profile A 3600MHz");
  const ShowCase cases[] = {
      {"ShowProfileOn", [](OsdPresenter& p) { p.ShowProfileOn("Profile A 3600MHz"); }, {label, ExternalCommand("show")},
       0, true},
      {"ShowProfileOff", [](OsdPresenter& p) { p.ShowProfileOff("Profile A 3600MHz"); },
       {label, ExternalCommand("show")}, 1, true},
      {"ShowQpsAuto", [](OsdPresenter& p) { p.ShowQpsAuto("Profile A 3600MHz"); }, {label, ExternalCommand("show")}, 2,
       true},
      {"ShowQpsManual", [](OsdPresenter& p) { p.ShowQpsManual(2); }, {ExternalCommand("show 2")}, 3, true},
      {"ShowDigits", [](OsdPresenter& p) { p.ShowDigits(42); }, {Invoke("set2Digit", "42"), ExternalCommand("in")}, 4,
       true},
      {"PresetDigits", [](OsdPresenter& p) { p.PresetDigits(7); }, {Invoke("set2Digit", "7")}, 4, false},
      {"ShowWarning", [](OsdPresenter& p) { p.ShowWarning("Warning", "Not running"); },
       {Invoke("changeLabel", "Warning"), Invoke("changeContent", "Not running"), ExternalCommand("show")}, 5, true},
  };
  for (const ShowCase& c : cases) {
    SCOPED_TRACE(c.name);
    presenter->HideAll();
    player.Clear();
    c.show(*presenter);
    EXPECT_EQ(player.RequestTexts(), c.requests);
    for (const auto& request : player.requests) EXPECT_EQ(request.player, PlayerWindow(c.movie));
    EXPECT_EQ(MovieState, c.movie);
    EXPECT_EQ(FormShown(), c.formShown);
    EXPECT_EQ(IsWindowVisible(PlayerWindow(c.movie)) != FALSE, c.formShown);
  }
}

TEST_F(PresenterTest, StepOperationsGoToTheCurrentMovie) {
  LoadMovies();
  presenter->ShowQpsManual(1);
  const ShowCase cases[] = {
      {"PlayLevel", [](OsdPresenter& p) { p.PlayLevel(4); }, {ExternalCommand("play 4")}, 3, true},
      {"EndLevel", [](OsdPresenter& p) { p.EndLevel(4); }, {ExternalCommand("End 4")}, 3, true},
      {"EndMovie", [](OsdPresenter& p) { p.EndMovie(); }, {ExternalCommand("end")}, 3, true},
      {"SetDigits", [](OsdPresenter& p) { p.SetDigits(35); }, {Invoke("set2Digit", "35")}, 3, true},
      {"LeaveDigits", [](OsdPresenter& p) { p.LeaveDigits(); }, {ExternalCommand("out")}, MovieStateDigitsLeaving,
       true},
  };
  for (const ShowCase& c : cases) {
    SCOPED_TRACE(c.name);
    player.Clear();
    c.show(*presenter);
    EXPECT_EQ(player.RequestTexts(), c.requests);
    for (const auto& request : player.requests) EXPECT_EQ(request.player, PlayerWindow(3));
    EXPECT_EQ(MovieState, c.movie);
    EXPECT_EQ(FormShown(), c.formShown);
  }
  EXPECT_EQ(FlashOsdForm->CurrentPlayer(), FlashOsdForm->Slot(3).player) << "the movie stays current";
}

TEST_F(PresenterTest, AWarningSendsLabelThenContentEachWithItsWaitAndOnlyThenShows) {
  LoadMovies();
  presenter->PlaceMovie(OsdPresenter::MovieWarning);
  presenter->ShowWarning("Title", "Content");
  ASSERT_EQ(player.requests.size(), 3u);
  EXPECT_EQ(player.requests[0].text, Invoke("changeLabel", "Title"));
  EXPECT_EQ(player.requests[1].text, Invoke("changeContent", "Content"));
  EXPECT_EQ(player.requests[2].text, ExternalCommand("show"));
  EXPECT_GE(player.requests[1].tick - player.requests[0].tick, 95u);
  EXPECT_GE(player.requests[2].tick - player.requests[1].tick, 95u);
  for (const auto& request : player.requests) EXPECT_FALSE(request.playerVisible);
  ASSERT_FALSE(player.shown.empty());
  EXPECT_GE(player.shown[0].tick, player.requests[2].tick);
  EXPECT_TRUE(FormShown());
}

TEST_F(PresenterTest, LabelsAreEscapedAndCutToFitTheirRequest) {
  LoadMovies();
  const struct {
    const char* name;
    std::string label;
    std::string sent;
  } cases[] = {
      {"markup characters", "Tom & Jerry <3>", "Tom &amp; Jerry &lt;3&gt;"},
      {"300 characters", std::string(300, 'x'), std::string(162, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    player.Clear();
    presenter->ShowProfileOn(c.label.c_str());
    ASSERT_FALSE(player.requests.empty());
    EXPECT_EQ(player.requests[0].text, Invoke("changeLabel", c.sent));
    EXPECT_LE(player.requests[0].text.size(), 255u);
  }
  player.Clear();
  presenter->ShowWarning("t", std::string(2000, 'y').c_str());
  ASSERT_EQ(player.requests.size(), 3u);
  EXPECT_EQ(player.requests[1].text, Invoke("changeContent", std::string(928, 'y')));
}

TEST_F(PresenterTest, PresetDigitsAfterHideAllLeavesEverythingHidden) {
  LoadMovies();
  presenter->ShowProfileOn("x");
  presenter->HideAll();
  presenter->PresetDigits(12);
  EXPECT_FALSE(FormShown());
  EXPECT_FALSE(AnyPlayerShown());
}

TEST_F(PresenterTest, AlphaZeroLeavesTheFormShownButTransparentUntilHideAll) {
  LoadMovies();
  presenter->ShowQpsAuto("x");
  presenter->SetAlpha(0);
  EXPECT_TRUE(FormShown());
  COLORREF key = 0;
  BYTE alpha = 255;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(FlashOsdForm->Handle(), &key, &alpha, &flags));
  EXPECT_EQ(alpha, 0);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  EXPECT_TRUE(GetWindowLongPtrA(FlashOsdForm->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_FALSE(GetWindowLongPtrA(FlashOsdForm->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  presenter->HideAll();
  EXPECT_FALSE(FormShown());
  EXPECT_FALSE(AnyPlayerShown());
}

TEST_F(PresenterTest, FitToScreenSizesFormAndBackgroundOnlyWhenTheSizeDiffers) {
  FlashOsdForm->SetBounds(310, 190, 277, 206);
  presenter->FitToScreen();
  EXPECT_EQ(FlashOsdForm->Left(), 0);
  EXPECT_EQ(FlashOsdForm->Top(), 0);
  EXPECT_EQ(FlashOsdForm->Width(), 1024);
  EXPECT_EQ(FlashOsdForm->Height(), 768);
  EXPECT_EQ(FlashOsdForm->Background->Width(), 1024);
  EXPECT_EQ(FlashOsdForm->Background->Height(), 768);

  FlashOsdForm->SetBounds(20, 30, 1024, 768);
  presenter->FitToScreen();
  EXPECT_EQ(FlashOsdForm->Left(), 20) << "already the screen's size: not moved";
  EXPECT_EQ(FlashOsdForm->Top(), 30);
}

TEST_F(PresenterTest, StartUpGaveTheFormItsBackgroundAndStopsItErasing) {
  const formkit::TBitmap& picture = FlashOsdForm->Background->Picture();
  EXPECT_EQ(picture.Width(), 64);
  EXPECT_EQ(picture.Height(), 36);
  EXPECT_EQ(picture.PixelFormat(), formkit::pf32bit);
  HDC dc = GetDC(FlashOsdForm->Handle());
  EXPECT_EQ(SendMessageA(FlashOsdForm->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  ReleaseDC(FlashOsdForm->Handle(), dc);
}

TEST_F(PresenterTest, TheHideTimerRunsForThreeSecondsWhenOn) {
  presenter->SetHideTimer(true);
  EXPECT_TRUE(FlashOsdForm->Timer->Enabled());
  EXPECT_EQ(FlashOsdForm->Timer->Interval(), 3000u);
  presenter->SetHideTimer(false);
  EXPECT_FALSE(FlashOsdForm->Timer->Enabled());
}

// Runs `call` on a worker thread and checks that it is carried out by the main
// thread: the worker stays blocked while the main thread reads no messages.
void RunFromWorker(const std::function<void()>& call, const std::function<void()>& checkOnWorker) {
  formkit::KernelHandle returned(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(returned);
  std::thread worker([&] {
    call();
    checkOnWorker();
    SetEvent(returned.Get());
  });
  EXPECT_EQ(WaitForSingleObject(returned.Get(), 300), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the call must wait for the main thread";
  EXPECT_TRUE(osdtest::PumpUntil([&] { return WaitForSingleObject(returned.Get(), 0) == WAIT_OBJECT_0; }));
  worker.join();
}

TEST_F(PresenterTest, SetAlphaFromAnotherThreadIsCarriedOutOnTheMainThread) {
  presenter->SetAlpha(229);
  BYTE seen = 0;
  RunFromWorker([&] { presenter->SetAlpha(91); },
                [&] { GetLayeredWindowAttributes(FlashOsdForm->Handle(), nullptr, &seen, nullptr); });
  EXPECT_EQ(seen, 91) << "the caller returns once the opacity is set";
}

TEST_F(PresenterTest, HideAllFromAnotherThreadIsCarriedOutOnTheMainThread) {
  LoadMovies();
  presenter->ShowQpsAuto("x");
  bool shownAfter = true;
  RunFromWorker([&] { presenter->HideAll(); },
                [&] { shownAfter = IsWindowVisible(FlashOsdForm->Handle()) != FALSE; });
  EXPECT_FALSE(shownAfter);
  EXPECT_FALSE(AnyPlayerShown());
}

}  // namespace
