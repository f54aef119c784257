// Delayed calls: on the main thread, after their delay, several at once.
#include "remote/WaitThread.h"

#include "osd/tests/support/Pump.h"

#include "formkit/Application.h"
#include "formkit/Object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CallRecorder {
 public:
  explicit CallRecorder(std::vector<std::string>& log, std::string name) : m_log(log), m_name(std::move(name)) {}
  void OnCall(formkit::TObject* sender) {
    m_log.push_back(m_name);
    senders.push_back(sender);
    threads.push_back(GetCurrentThreadId());
    ticks.push_back(osdtest::NowMs());
  }
  std::vector<formkit::TObject*> senders;
  std::vector<DWORD> threads;
  std::vector<ULONGLONG> ticks;

 private:
  std::vector<std::string>& m_log;
  std::string m_name;
};

class RunAfterDelayTest : public ::testing::Test {
 protected:
  void SetUp() override { formkit::Application()->Initialize(); }
  std::vector<std::string> log;
};

TEST_F(RunAfterDelayTest, CallsOnTheMainThreadWithANullSenderAfterTheDelay) {
  CallRecorder recorder(log, "a");
  const ULONGLONG started = osdtest::NowMs();
  RunAfterDelay(200, formkit::Bind(&recorder, &CallRecorder::OnCall));
  EXPECT_TRUE(log.empty());
  ASSERT_TRUE(osdtest::PumpUntil([&] { return !log.empty(); }));
  EXPECT_GE(recorder.ticks[0] - started, 195u);
  EXPECT_EQ(recorder.senders[0], nullptr);
  EXPECT_EQ(recorder.threads[0], GetCurrentThreadId());
  osdtest::PumpFor(100);
  EXPECT_EQ(log.size(), 1u);
}

TEST_F(RunAfterDelayTest, SeveralPendingCallsEachComeAtTheirTime) {
  CallRecorder slow(log, "slow"), fast(log, "fast"), none(log, "none");
  RunAfterDelay(300, formkit::Bind(&slow, &CallRecorder::OnCall));
  RunAfterDelay(100, formkit::Bind(&fast, &CallRecorder::OnCall));
  RunAfterDelay(50, formkit::TNotifyEvent());  // no callback: nothing is called
  ASSERT_TRUE(osdtest::PumpUntil([&] { return log.size() == 2; }));
  EXPECT_EQ(log, (std::vector<std::string>{"fast", "slow"}));
}

TEST_F(RunAfterDelayTest, ANegativeDelayCountsAsNone) {
  CallRecorder recorder(log, "a");
  RunAfterDelay(-5, formkit::Bind(&recorder, &CallRecorder::OnCall));
  EXPECT_TRUE(osdtest::PumpUntil([&] { return !log.empty(); }, 3000));
}

TEST_F(RunAfterDelayTest, ACallDueWhileTheMainThreadIsBusyWaitsForIt) {
  CallRecorder recorder(log, "a");
  RunAfterDelay(10, formkit::Bind(&recorder, &CallRecorder::OnCall));
  // The main thread is busy with something of its own.
  Sleep(200);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(osdtest::PumpUntil([&] { return !log.empty(); }));
}

}  // namespace
