// The overlay form's movie table, placement, visibility, requests and timer, on
// real windows, with the recording player library in place of flashobj.dll.
#include "osd/Flashosd.h"
#include "osd/PngReader.h"
#include "osd/tests/support/Pump.h"
#include "osd/tests/support/RecordingController.h"
#include "osd/tests/support/RecordingPlayer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using osdtest::ExternalCommand;
using osdtest::RecordingPlayer;

struct MovieRow {
  const char* key;
  const char* file;
  unsigned width;
  unsigned height;
};

constexpr MovieRow SixMovies[] = {
    {"ZentrikProfileOn", "ZentrikProfileOn.swf", 400, 650}, {"ZentrikProfileOff", "ZentrikProfileOff.swf", 400, 650},
    {"QPSAuto", "QPSAuto.swf", 400, 650},                   {"QPSManual", "QPSManual.swf", 750, 650},
    {"OCTuning", "OCTuning.swf", 550, 400},                 {"Warning", "Warning.swf", 400, 650},
};

class FlashOsdFormTest : public ::testing::Test {
 protected:
  FlashOsdFormTest() : player(RecordingPlayer::Instance()), form(std::make_unique<TFlashOsdForm>(nullptr)) {
    player.Clear();
    osdtest::ResetController();
  }

  void LoadSixMovies() {
    for (const MovieRow& movie : SixMovies) form->LoadMovie(movie.key, movie.file, movie.width, movie.height);
  }

  TTransFlash* PlayerOf(int slot) const { return form->Slot(slot).player; }

  RecordingPlayer& player;
  std::unique_ptr<TFlashOsdForm> form;
};

TEST_F(FlashOsdFormTest, StartsWithEmptySlotsAndTheFormResourceValues) {
  for (int slot = 0; slot < TFlashOsdForm::SlotCount; ++slot) {
    EXPECT_EQ(form->Slot(slot).inUse, 0) << slot;
    EXPECT_TRUE(form->Slot(slot).key.empty()) << slot;
    EXPECT_EQ(form->Slot(slot).player, nullptr) << slot;
  }
  EXPECT_EQ(form->CurrentPlayer(), nullptr);
  EXPECT_EQ(form->Caption(), "FlashOsdForm");
  EXPECT_EQ(form->ClientWidth(), 277);
  EXPECT_EQ(form->ClientHeight(), 206);
  EXPECT_EQ(form->Left(), 310);
  EXPECT_EQ(form->Top(), 190);
  EXPECT_FALSE(form->Timer->Enabled());
  EXPECT_EQ(form->Timer->Interval(), 3000u);
  EXPECT_TRUE(form->Background->Stretch());
  EXPECT_FALSE(form->Visible());
}

TEST_F(FlashOsdFormTest, IsATopMostToolWindowThatIsNeverActivated) {
  const LONG_PTR exStyle = GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  EXPECT_FALSE(GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_CAPTION);
  HWND before = GetForegroundWindow();
  form->SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(GetForegroundWindow(), before);
}

TEST_F(FlashOsdFormTest, TheSixMoviesTakeSlotsZeroToFiveInOrder) {
  LoadSixMovies();
  ASSERT_EQ(player.creations.size(), 6u);
  for (int slot = 0; slot < 6; ++slot) {
    SCOPED_TRACE(SixMovies[slot].key);
    EXPECT_EQ(form->FindSlot(SixMovies[slot].key), slot);
    EXPECT_EQ(form->Slot(slot).inUse, 1);
    ASSERT_NE(PlayerOf(slot), nullptr);
    EXPECT_EQ(PlayerOf(slot)->Handle(), player.creations[static_cast<size_t>(slot)].player);
    EXPECT_EQ(player.creations[static_cast<size_t>(slot)].parent, form->Handle());
    EXPECT_EQ(PlayerOf(slot)->Width(), SixMovies[slot].width);
    EXPECT_EQ(PlayerOf(slot)->Height(), SixMovies[slot].height);
    EXPECT_FALSE(PlayerOf(slot)->Visible());
    EXPECT_FALSE(IsWindowVisible(PlayerOf(slot)->Handle()));
    EXPECT_EQ(player.CallbackOf(PlayerOf(slot)->Handle()), &OnMovieCall);
  }
}

TEST_F(FlashOsdFormTest, AllocateSlotRefusesKnownKeysAndASeventeenth) {
  const struct {
    const char* key;
    int expected;
  } steps[] = {
      {"ZentrikProfileOn", 0}, {"ZentrikProfileOn", -1},  // known key
      {"zentrikprofileon", 1},                            // keys are compared case-sensitively
      {"m3", 2},  {"m4", 3},   {"m5", 4},   {"m6", 5},   {"m7", 6},   {"m8", 7},   {"m9", 8},
      {"m10", 9}, {"m11", 10}, {"m12", 11}, {"m13", 12}, {"m14", 13}, {"m15", 14}, {"m16", 15},
      {"m17", -1},  // all 16 in use
  };
  for (const auto& step : steps) EXPECT_EQ(form->AllocateSlot(step.key), step.expected) << step.key;
  EXPECT_EQ(form->FindSlot("ZentrikProfileOn"), 0);
  EXPECT_EQ(form->FindSlot("ZENTRIKPROFILEON"), -1);
  EXPECT_EQ(form->FindSlot("m17"), -1);
}

TEST_F(FlashOsdFormTest, ASeventeenthMovieOrAKnownKeyMakesNoPlayer) {
  for (int movie = 0; movie < 16; ++movie) form->LoadMovie("movie" + std::to_string(movie), "x.swf", 100, 100);
  ASSERT_EQ(player.creations.size(), 16u);
  form->LoadMovie("movie16", "x.swf", 100, 100);
  form->LoadMovie("movie3", "y.swf", 100, 100);
  EXPECT_EQ(player.creations.size(), 16u);
  EXPECT_EQ(form->FindSlot("movie16"), -1);
  EXPECT_EQ(form->Slot(3).path, MoviePath(ProgramFolder(), "x.swf"));
}

TEST(MoviePlacement, CentresAcrossAndAThirdOfAMovieAboveTheMiddle) {
  const struct {
    int screenWidth, screenHeight;
    unsigned width, height;
    LONG x, y;
  } cases[] = {
      {1920, 1080, 400, 650, 760, 322},
      {1024, 768, 750, 650, 137, 166},
      {1024, 600, 400, 650, 312, 85},   // lower than the movie: a seventh of the screen height
      {1024, 650, 400, 650, 312, 107},  // exactly the movie's height: the usual rule
      {640, 480, 750, 650, -55, 68},    // narrower than the movie: centred, cut at both sides
  };
  for (const auto& c : cases) {
    const POINT position = CentredMoviePosition(c.screenWidth, c.screenHeight, c.width, c.height);
    EXPECT_EQ(position.x, c.x) << c.screenWidth << "x" << c.screenHeight << " movie " << c.width << "x" << c.height;
    EXPECT_EQ(position.y, c.y) << c.screenWidth << "x" << c.screenHeight << " movie " << c.width << "x" << c.height;
  }
}

TEST_F(FlashOsdFormTest, PlayersSitAtTheirOffsetFromTheFormsCorner) {
  LoadSixMovies();
  // The headless screen is 1024 x 768; the form is still at 310, 190.
  const struct {
    int slot;
    int x, y;
  } cases[] = {{0, 312, 166}, {3, 137, 166}, {4, 237, 250}};
  for (const auto& c : cases) {
    SCOPED_TRACE(SixMovies[c.slot].key);
    EXPECT_EQ(PlayerOf(c.slot)->OffsetX(), c.x);
    EXPECT_EQ(PlayerOf(c.slot)->OffsetY(), c.y);
    RECT bounds{};
    GetWindowRect(PlayerOf(c.slot)->Handle(), &bounds);
    EXPECT_EQ(bounds.left, 310 + c.x);
    EXPECT_EQ(bounds.top, 190 + c.y);
    EXPECT_EQ(bounds.right - bounds.left, static_cast<LONG>(SixMovies[c.slot].width));
    EXPECT_EQ(bounds.bottom - bounds.top, static_cast<LONG>(SixMovies[c.slot].height));
  }
}

TEST_F(FlashOsdFormTest, CentreMovieMovesKnownMoviesWithTheFormAndIgnoresUnknownKeys) {
  LoadSixMovies();
  form->SetBounds(0, 0, 1024, 768);
  form->CentreMovie("QPSManual", 750, 650);
  form->CentreMovie("NoSuchMovie", 10, 10);
  RECT bounds{};
  GetWindowRect(PlayerOf(3)->Handle(), &bounds);
  EXPECT_EQ(bounds.left, 137);
  EXPECT_EQ(bounds.top, 166);
  EXPECT_EQ(bounds.right - bounds.left, 750) << "the size is not changed";
}

TEST(MoviePath, IsTheProgramFolderWithDoubledForwardSlashes) {
  const struct {
    const char* folder;
    const char* file;
    const wchar_t* expected;
  } cases[] = {
      {"C:\\Tools\\", "QPSAuto.swf", L"C:\\Tools\\//Resource//QPSAuto.swf"},
      {"D:\\Program Files\\Zentrik\\", "Warning.swf", L"D:\\Program Files\\Zentrik\\//Resource//Warning.swf"},
      {"C:", "OCTuning.swf", L"C://Resource//OCTuning.swf"},
  };
  for (const auto& c : cases) EXPECT_EQ(MoviePath(c.folder, c.file), c.expected) << c.folder;
}

TEST_F(FlashOsdFormTest, TheLibraryGetsTheMoviePathBesideTheProgram) {
  form->LoadMovie("QPSAuto", "QPSAuto.swf", 400, 650);
  ASSERT_EQ(player.creations.size(), 1u);
  const std::string folder = ProgramFolder();
  ASSERT_EQ(folder.back(), '\\');
  EXPECT_EQ(player.creations[0].path, std::wstring(folder.begin(), folder.end()) + L"//Resource//QPSAuto.swf");
  EXPECT_EQ(form->Slot(0).path, player.creations[0].path);
}

TEST_F(FlashOsdFormTest, SelectMovieSetsTheStateAndTheCurrentPlayer) {
  LoadSixMovies();
  for (int slot : {3, 0, 5}) {
    form->SelectMovie(slot);
    EXPECT_EQ(MovieState, slot);
    EXPECT_EQ(form->CurrentPlayer(), PlayerOf(slot));
  }
  form->SendOut();
  EXPECT_EQ(MovieState, MovieStateDigitsLeaving);
  EXPECT_EQ(form->CurrentPlayer(), PlayerOf(5)) << "leaving the digits keeps the player";
}

TEST_F(FlashOsdFormTest, ShowingAnotherMovieWithoutHidingLeavesBothOnTheScreen) {
  LoadSixMovies();
  form->SelectMovie(0);
  form->ShowCurrent();
  form->SelectMovie(2);
  form->ShowCurrent();
  EXPECT_TRUE(IsWindowVisible(PlayerOf(0)->Handle()));
  EXPECT_TRUE(IsWindowVisible(PlayerOf(2)->Handle()));
  EXPECT_FALSE(IsWindowVisible(PlayerOf(1)->Handle()));
}

TEST_F(FlashOsdFormTest, HideCurrentSuppressesEveryPlayerAndShowCurrentBringsBackTheMarkedOnes) {
  LoadSixMovies();
  form->SelectMovie(0);
  form->ShowCurrent();
  form->SelectMovie(2);
  form->ShowCurrent();
  form->HideCurrent();
  for (int slot = 0; slot < 6; ++slot) {
    EXPECT_FALSE(IsWindowVisible(PlayerOf(slot)->Handle())) << slot;
    EXPECT_TRUE(PlayerOf(slot)->Suppressed()) << slot;
  }
  EXPECT_FALSE(PlayerOf(2)->Visible()) << "the current player's own flag is cleared";
  EXPECT_TRUE(PlayerOf(0)->Visible()) << "the others keep theirs";

  form->SelectMovie(5);
  form->ShowCurrent();
  EXPECT_TRUE(IsWindowVisible(PlayerOf(5)->Handle()));
  EXPECT_TRUE(IsWindowVisible(PlayerOf(0)->Handle())) << "still marked visible, so shown again";
  EXPECT_FALSE(IsWindowVisible(PlayerOf(2)->Handle()));
}

TEST_F(FlashOsdFormTest, ShowingAPlayerNeverActivatesIt) {
  LoadSixMovies();
  HWND before = GetForegroundWindow();
  form->SelectMovie(1);
  form->ShowCurrent();
  EXPECT_TRUE(IsWindowVisible(PlayerOf(1)->Handle()));
  EXPECT_EQ(GetForegroundWindow(), before);
  EXPECT_NE(GetActiveWindow(), PlayerOf(1)->Handle());
}

TEST_F(FlashOsdFormTest, EachSendGoesToTheCurrentMovieAsItsExactRequest) {
  LoadSixMovies();
  const struct {
    const char* name;
    void (*send)(TFlashOsdForm&);
    std::string expected;
    bool waits;   // 100 ms after the request before the call returns
    bool shows;   // the current player is on the screen afterwards
  } cases[] = {
      {"SendShow", [](TFlashOsdForm& f) { f.SendShow(); }, ExternalCommand("show"), false, true},
      {"SendEnd", [](TFlashOsdForm& f) { f.SendEnd(); }, ExternalCommand("end"), false, false},
      {"SendShowLevel", [](TFlashOsdForm& f) { f.SendShowLevel(3); }, ExternalCommand("show 3"), true, true},
      {"SendPlay", [](TFlashOsdForm& f) { f.SendPlay(2); }, ExternalCommand("play 2"), false, false},
      {"SendEndLevel", [](TFlashOsdForm& f) { f.SendEndLevel(-1); }, ExternalCommand("End -1"), false, false},
      {"SendIn", [](TFlashOsdForm& f) { f.SendIn(); }, ExternalCommand("in"), false, true},
      {"SendSet2Digit", [](TFlashOsdForm& f) { f.SendSet2Digit(133); },
       "<invoke name=\"set2Digit\" returntype=\"xml\"><arguments><string>133</string></arguments></invoke>", true,
       false},
      {"SendOut", [](TFlashOsdForm& f) { f.SendOut(); }, ExternalCommand("out"), false, false},
      {"SendRequest", [](TFlashOsdForm& f) { f.SendRequest("<invoke name=\"x\"/>"); }, "<invoke name=\"x\"/>", true,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    form->SelectMovie(3);
    form->HideCurrent();
    player.Clear();
    c.send(*form);
    const ULONGLONG returned = osdtest::NowMs();
    ASSERT_EQ(player.requests.size(), 1u);
    EXPECT_EQ(player.requests[0].text, c.expected);
    EXPECT_EQ(player.requests[0].player, PlayerOf(3)->Handle());
    if (c.waits) {
      EXPECT_GE(returned - player.requests[0].tick, 95u);
    }
    EXPECT_EQ(IsWindowVisible(PlayerOf(3)->Handle()) != FALSE, c.shows);
  }
}

TEST_F(FlashOsdFormTest, ShowLevelWaitsBeforeItShowsThePlayer) {
  LoadSixMovies();
  form->SelectMovie(3);
  form->SendShowLevel(3);
  ASSERT_EQ(player.requests.size(), 1u);
  EXPECT_EQ(player.requests[0].text, ExternalCommand("show 3"));
  EXPECT_FALSE(player.requests[0].playerVisible);
  ASSERT_EQ(player.shown.size(), 1u);
  EXPECT_EQ(player.shown[0].player, PlayerOf(3)->Handle());
  EXPECT_GE(player.shown[0].tick - player.requests[0].tick, 95u);
}

TEST_F(FlashOsdFormTest, RequestsReachTheMovieInTheAnsiCodePage) {
  LoadSixMovies();
  form->SelectMovie(5);
  const std::string text = "<invoke name=\"changeLabel\" returntype=\"xml\"><arguments><string>"
                           "Caf\xE9 \xE0 100%</string></arguments></invoke>";
  form->SendRequest(text);
  ASSERT_EQ(player.requests.size(), 1u);
  EXPECT_EQ(player.requests[0].text, text);
}

TEST_F(FlashOsdFormTest, TheTimerStopsItselfAndHandsTheTimeOutToTheController) {
  form->Timer->SetInterval(30);
  form->Timer->SetEnabled(true);
  ASSERT_TRUE(osdtest::PumpUntil([] { return osdtest::Controller().osdTimeouts > 0; }));
  EXPECT_FALSE(form->Timer->Enabled());
  EXPECT_EQ(osdtest::Controller().osdTimeoutThread, GetCurrentThreadId());
  osdtest::PumpFor(150);
  EXPECT_EQ(osdtest::Controller().osdTimeouts, 1);
}

}  // namespace
