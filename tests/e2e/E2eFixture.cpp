#include "tests/e2e/E2eFixture.h"

#include "tests/support/Waiting.h"

#include <algorithm>
#include <set>

namespace zrtest {

namespace {

std::vector<CompanionMessage> Only(std::vector<CompanionMessage> messages, uint32_t message) {
  messages.erase(std::remove_if(messages.begin(), messages.end(),
                                [&](const CompanionMessage& m) { return m.message != message; }),
                 messages.end());
  return messages;
}

}  // namespace

void E2eTest::SetUp() {
  m_world = std::make_unique<SimWorld>();
  World().WriteProfileFile("Default/Default", DefaultFrequencyIndex);
}

void E2eTest::TearDown() {
  if (HasFailure()) {
    for (const PlayerEvent& event : ReadPlayerLog(World().PlayerLogPath())) std::cout << "player: " << event << "\n";
    for (const CompanionMessage& m : World().OcLog()) std::cout << "oc: " << m << "\n";
    for (const CompanionMessage& m : World().QpsLog()) std::cout << "qps: " << m << "\n";
  }
  m_world.reset();
}

void E2eTest::StartMachine() {
  World().InstallOcCompanion();
  World().InstallQpsCompanion();
  World().SetThresholds(6);
  World().AssignProfile('A', 0, "Gaming");
  World().AssignProfile('B', 1, "Balanced");
  World().AssignProfile('C', 2, "Silent");
  ASSERT_TRUE(World().StartService());
  ASSERT_TRUE(World().StartOcCompanion());
  ASSERT_TRUE(World().StartQpsCompanion());
  ASSERT_TRUE(World().StartProgram());
}

std::string E2eTest::Text(const char* key) {
  const std::string file = SimWorld::DistFolder() + "LangFiles\\English\\English.ini";
  char text[1024] = {};
  GetPrivateProfileStringA("Translations", key, "", text, sizeof text, file.c_str());
  return text;
}

std::vector<PlayerEvent> E2eTest::NewPlayerEvents() const {
  std::vector<PlayerEvent> events = ReadPlayerLog(World().PlayerLogPath());
  events.erase(events.begin(), events.begin() + std::min(m_cursor, events.size()));
  return events;
}

std::optional<PlayerEvent> E2eTest::WaitForRequest(const std::string& text, const char* movie, DWORD timeoutMs) {
  std::optional<PlayerEvent> found;
  WaitUntil(
      [&] {
        const std::vector<PlayerEvent> events = NewPlayerEvents();
        for (size_t i = 0; i < events.size(); ++i) {
          const PlayerEvent& e = events[i];
          if (e.kind != PlayerEvent::Request || e.text != text || (movie && e.movie != movie)) continue;
          found = e;
          m_cursor += i + 1;
          return true;
        }
        return false;
      },
      timeoutMs);
  return found;
}

std::optional<PlayerEvent> E2eTest::WaitForCallback(DWORD timeoutMs) {
  std::optional<PlayerEvent> found;
  WaitUntil(
      [&] {
        const std::vector<PlayerEvent> events = NewPlayerEvents();
        for (size_t i = 0; i < events.size(); ++i) {
          if (events[i].kind != PlayerEvent::Callback) continue;
          found = events[i];
          m_cursor += i + 1;
          return true;
        }
        return false;
      },
      timeoutMs);
  return found;
}

void E2eTest::SkipPlayerEvents() { m_cursor = ReadPlayerLog(World().PlayerLogPath()).size(); }

std::optional<DWORD> E2eTest::WaitForOverlay(bool visible, DWORD timeoutMs) {
  if (!WaitUntil([&] { return World().OverlayVisible() == visible; }, timeoutMs)) return std::nullopt;
  return GetTickCount();
}

std::vector<CompanionMessage> E2eTest::OcMessages(uint32_t message) const { return Only(World().OcLog(), message); }

std::vector<CompanionMessage> E2eTest::QpsMessages(uint32_t message) const { return Only(World().QpsLog(), message); }

bool E2eTest::WaitForOcMessages(uint32_t message, size_t count, DWORD timeoutMs) const {
  return WaitUntil([&] { return OcMessages(message).size() >= count; }, timeoutMs);
}

bool E2eTest::WaitForQpsMessages(uint32_t message, size_t count, DWORD timeoutMs) const {
  return WaitUntil([&] { return QpsMessages(message).size() >= count; }, timeoutMs);
}

void E2eTest::ExpectDelay(const char* what, long actual, long expected) {
  EXPECT_GE(actual, expected - static_cast<long>(Early)) << what;
  EXPECT_LE(actual, expected + static_cast<long>(Late)) << what;
}

std::optional<DWORD> E2eTest::WatchFade() {
  // The fade's steps: 229 / 10 * (10 - step) for the steps 1 to 9.
  const std::set<int> steps = {229, 206, 183, 160, 137, 114, 91, 68, 45, 22};
  std::vector<int> seen;
  const bool hidden = WaitUntil(
      [&] {
        if (!World().OverlayVisible()) return true;
        if (const auto alpha = World().OverlayAlpha(); alpha && (seen.empty() || seen.back() != *alpha))
          seen.push_back(*alpha);
        return false;
      },
      10000);
  for (int alpha : seen) EXPECT_TRUE(steps.count(alpha)) << "opacity " << alpha << " is no step of the fade";
  EXPECT_TRUE(std::is_sorted(seen.rbegin(), seen.rend())) << "the opacity only falls during the fade";
  if (!hidden) return std::nullopt;
  return GetTickCount();
}

std::optional<DWORD> E2eTest::ExpectNotice(const Notice& notice) {
  const auto label = WaitForRequest(LabelRequest(notice.label), notice.movie);
  EXPECT_TRUE(label) << "label \"" << notice.label << "\" to " << notice.movie;
  if (!label) return std::nullopt;
  if (!notice.content.empty()) {
    EXPECT_TRUE(WaitForRequest(ContentRequest(notice.content), notice.movie))
        << "content \"" << notice.content << "\" to " << notice.movie;
  }
  const auto show = WaitForRequest(CommandRequest("show"), notice.movie);
  EXPECT_TRUE(show) << "show to " << notice.movie;
  if (!show) return std::nullopt;
  EXPECT_TRUE(WaitForOverlay(true)) << "overlay shown for " << notice.movie;
  DWORD from = show->tick;
  if (notice.endsAfterFirstCallback) {
    const auto ready = WaitForCallback();
    EXPECT_TRUE(ready) << notice.movie << " calls back after show";
    if (!ready) return std::nullopt;
    from = ready->tick;
  }
  const auto end = WaitForRequest(CommandRequest("end"), notice.movie, notice.shownMs + 10000);
  EXPECT_TRUE(end) << "end to " << notice.movie;
  if (!end) return std::nullopt;
  ExpectDelay("the notice's time on the screen", static_cast<long>(end->tick - from), notice.shownMs);
  EXPECT_EQ(World().OverlayAlpha(), 229) << "the overlay's opacity while shown";
  const auto closed = WaitForCallback();
  EXPECT_TRUE(closed) << notice.movie << " calls back after end";
  if (!closed) return std::nullopt;
  const auto hidden = WatchFade();
  EXPECT_TRUE(hidden) << "overlay hidden after " << notice.movie;
  if (!hidden) return std::nullopt;
  ExpectDelay("the fade-out", static_cast<long>(*hidden - closed->tick), 250);
  return hidden;
}

}  // namespace zrtest
