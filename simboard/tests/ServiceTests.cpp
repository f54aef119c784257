// The simulated service, kovraservice.dll and the virtual remote: registration while
// the service runs or not, and the remote's messages reaching a registered window.
#include "app/KovraService.h"
#include "simboard/remote/RemoteCommands.h"
#include "simboard/service/ServiceProtocol.h"
#include "simboard/tests/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace simboard::test {
namespace {

constexpr wchar_t Guid[] = L"7416C3CD-C93B-4555-82FE-3A4C4ECE0084";

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A window of the test that records what reaches it.
class RecordingWindow {
 public:
  RecordingWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &RecordingWindow::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SimboardTestClient";
    RegisterClassW(&windowClass);
    m_window.Reset(CreateWindowExW(0, L"SimboardTestClient", L"client", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   windowClass.hInstance, this));
  }
  HWND Handle() const { return m_window.Get(); }
  std::vector<Received> received;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && (message >= WM_USER || message == WM_POWERBROADCAST)) self->received.push_back({message, wParam, lParam});
    return DefWindowProcW(window, message, wParam, lParam);
  }
  WindowHandle m_window;
};

bool ServiceRuns() { return FindWindowW(service::WindowClass, nullptr) != nullptr; }

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ServiceRuns()) << "a service left running by someone else";
  }
  std::unique_ptr<ChildProcess> StartService() {
    auto child = std::make_unique<ChildProcess>(SimboardProgram("KovraSimService"), "");
    EXPECT_TRUE(child->Started());
    EXPECT_TRUE(WaitUntil(ServiceRuns));
    return child;
  }
};

TEST_F(ServiceTest, RegistrationWorksOnlyWhileTheServiceRuns) {
  RecordingWindow client;
  ASSERT_TRUE(client.Handle());
  EXPECT_EQ(KvSysSvr_RegisterNotify(client.Handle(), Guid), 0) << "no service yet";
  for (int round = 0; round < 2; ++round) {
    auto service = StartService();
    EXPECT_NE(KvSysSvr_RegisterNotify(client.Handle(), Guid), 0) << round;
    EXPECT_NE(KvSysSvr_RegisterNotify(client.Handle(), Guid), 0) << round << ": again, still one registration";
    EXPECT_EQ(RunProgram("ZentrikVirtualRemote", "status").output, "registered windows: 1\n") << round;
    ProgramResult stop = RunProgram("KovraSimService", "--stop");
    EXPECT_EQ(stop.exitCode, 0u) << round << stop.output;
    EXPECT_EQ(service->WaitForExit(), 0u) << round;
    EXPECT_EQ(KvSysSvr_RegisterNotify(client.Handle(), Guid), 0) << round << ": stopped";
  }
  EXPECT_EQ(RunProgram("KovraSimService", "--stop").exitCode, 1u) << "nothing to stop";
}

TEST_F(ServiceTest, RefusesBadRegistrations) {
  auto service = StartService();
  RecordingWindow client;
  const std::wstring tooLong(64, L'x');
  EXPECT_EQ(KvSysSvr_RegisterNotify(nullptr, Guid), 0);
  EXPECT_EQ(KvSysSvr_RegisterNotify(client.Handle(), nullptr), 0);
  EXPECT_EQ(KvSysSvr_RegisterNotify(client.Handle(), tooLong.c_str()), 0);
  EXPECT_EQ(KvSysSvr_UnregisterNotify(client.Handle(), Guid), 0) << "never registered";
  EXPECT_EQ(RunProgram("KovraSimService", "").exitCode, 1u) << "a second instance";
}

TEST_F(ServiceTest, RemoteMessagesReachTheRegisteredWindow) {
  auto service = StartService();
  RecordingWindow client;
  ASSERT_NE(KvSysSvr_RegisterNotify(client.Handle(), Guid), 0);
  struct Case {
    const char* arguments;
    Received expected;
  } cases[] = {
      {"press A", {0x408, 0x55, 0x90}},      {"press b", {0x408, 0x55, 0x91}},
      {"press C", {0x408, 0x55, 0x92}},      {"press manual", {0x408, 0x55, 0x93}},
      {"press auto", {0x408, 0x55, 0x94}},   {"press up", {0x408, 0x55, 0x95}},
      {"press down", {0x408, 0x55, 0x96}},   {"press 0x97", {0x408, 0x55, 0x97}},
      {"quit", {0x400, 0x55, 0}},            {"consumed 1", {0x401, 0x55, 0}},
      {"consumed 3", {0x403, 0x55, 0}},      {"foreground", {0x406, 0x55, 0}},
      {"resume", {WM_POWERBROADCAST, 7, 0}}, {"send 0x408 0x155 0x90", {0x408, 0x155, 0x90}},
  };
  for (const Case& c : cases) {
    client.received.clear();
    ProgramResult remote = RunProgram("ZentrikVirtualRemote", c.arguments);
    EXPECT_EQ(remote.exitCode, 0u) << c.arguments << ": " << remote.output;
    ASSERT_TRUE(WaitUntil([&] { return !client.received.empty(); })) << c.arguments;
    EXPECT_EQ(client.received[0].message, c.expected.message) << c.arguments;
    EXPECT_EQ(client.received[0].wParam, c.expected.wParam) << c.arguments;
    EXPECT_EQ(client.received[0].lParam, c.expected.lParam) << c.arguments;
  }
  EXPECT_NE(KvSysSvr_UnregisterNotify(client.Handle(), Guid), 0);
  ProgramResult none = RunProgram("ZentrikVirtualRemote", "press A");
  EXPECT_EQ(none.exitCode, 3u) << "unregistered";
  EXPECT_NE(none.output.find("no window is registered"), std::string::npos);
}

TEST_F(ServiceTest, DestroyedWindowsAreForgotten) {
  auto service = StartService();
  {
    RecordingWindow client;
    ASSERT_NE(KvSysSvr_RegisterNotify(client.Handle(), Guid), 0);
  }
  EXPECT_EQ(RunProgram("ZentrikVirtualRemote", "press A").exitCode, 3u);
  EXPECT_EQ(RunProgram("ZentrikVirtualRemote", "status").output, "registered windows: 0\n");
}

TEST_F(ServiceTest, RemoteExitCodesTellWhatWentWrong) {
  struct Case {
    const char* arguments;
    DWORD exitCode;
    const char* message;
  } cases[] = {
      {"press A", 2, "the service is not running"},
      {"status", 2, "the service is not running"},
      {"press X", 1, "unknown button \"X\""},
      {"consumed 4", 1, "consumed needs 1, 2 or 3"},
      {"send 0x408 0x55", 1, "send needs"},
      {"jump", 1, "unknown command"},
  };
  for (const Case& c : cases) {
    ProgramResult remote = RunProgram("ZentrikVirtualRemote", c.arguments);
    EXPECT_EQ(remote.exitCode, c.exitCode) << c.arguments;
    EXPECT_NE(remote.output.find(c.message), std::string::npos) << c.arguments << ": " << remote.output;
  }
}

TEST_F(ServiceTest, RemoteWindowButtonsPressThroughTheService) {
  auto service = StartService();
  RecordingWindow client;
  ASSERT_NE(KvSysSvr_RegisterNotify(client.Handle(), Guid), 0);
  ChildProcess remote(SimboardProgram("ZentrikVirtualRemote"), "--window");
  HWND window = nullptr;
  // The buttons are made after their window: wait for the last one.
  ASSERT_TRUE(WaitUntil([&] {
    window = FindWindowA("ZentrikVirtualRemote", nullptr);
    return window && FindWindowExA(window, nullptr, "BUTTON", "down");
  }));
  for (const remote::Button& b : remote::Buttons) {
    HWND button = FindWindowExA(window, nullptr, "BUTTON", b.name);
    ASSERT_TRUE(button) << b.name;
    client.received.clear();
    DWORD_PTR result = 0;
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    ASSERT_TRUE(WaitUntil([&] { return !client.received.empty(); })) << b.name;
    EXPECT_EQ(client.received[0].message, 0x408u) << b.name;
    EXPECT_EQ(client.received[0].wParam, 0x55u) << b.name;
    EXPECT_EQ(client.received[0].lParam, static_cast<LPARAM>(b.code)) << b.name;
  }
}

TEST(RemoteCommands, ButtonsByNameAndCode) {
  struct Case {
    const char* name;
    std::optional<uint32_t> code;
  } cases[] = {{"A", 0x90}, {"a", 0x90}, {"B", 0x91}, {"C", 0x92}, {"Manual", 0x93}, {"AUTO", 0x94},
               {"up", 0x95}, {"down", 0x96}, {"0x96", 0x96}, {"150", 150}, {"D", std::nullopt}, {"", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(remote::ButtonCode(c.name), c.code) << c.name;
}

}  // namespace
}  // namespace simboard::test
