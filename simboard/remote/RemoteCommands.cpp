#include "simboard/remote/RemoteCommands.h"

#include "simboard/common/Numbers.h"
#include "simboard/service/ServiceProtocol.h"

#include <windows.h>

namespace simboard::remote {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<RemoteMessage> Fail(std::string& error, std::string text) {
  error = std::move(text);
  return std::nullopt;
}

}  // namespace

const Button Buttons[7] = {{"A", 0x90},    {"B", 0x91},  {"C", 0x92},   {"manual", 0x93},
                           {"auto", 0x94}, {"up", 0x95}, {"down", 0x96}};

std::optional<uint32_t> ButtonCode(std::string_view name) {
  for (const Button& b : Buttons) {
    if (SameLetters(name, b.name)) return b.code;
  }
  return ParseNumber(name);
}

std::optional<RemoteMessage> MessageForCommand(const std::vector<std::string_view>& args, std::string& error) {
  if (args.empty()) return Fail(error, "no command");
  std::string_view command = args[0];
  const size_t operands = args.size() - 1;
  if (command == "press") {
    if (operands != 1) return Fail(error, "press needs one button");
    auto code = ButtonCode(args[1]);
    if (!code) return Fail(error, "unknown button \"" + std::string(args[1]) + "\"");
    return RemoteMessage{ButtonMessage, Sentinel, *code};
  }
  if (command == "quit" && operands == 0) return RemoteMessage{QuitMessage, Sentinel, 0};
  if (command == "foreground" && operands == 0) return RemoteMessage{ForegroundMessage, Sentinel, 0};
  if (command == "resume" && operands == 0) return RemoteMessage{PowerBroadcast, ResumeSuspend, 0};
  if (command == "consumed") {
    auto n = operands == 1 ? ParseNumber(args[1]) : std::nullopt;
    if (!n || *n < 1 || *n > 3) return Fail(error, "consumed needs 1, 2 or 3");
    return RemoteMessage{ConsumedMessage + *n, Sentinel, 0};
  }
  if (command == "send") {
    if (operands != 3) return Fail(error, "send needs a message, a wParam and an lParam");
    auto message = ParseNumber(args[1]), wParam = ParseNumber(args[2]), lParam = ParseNumber(args[3]);
    if (!message || !wParam || !lParam) return Fail(error, "send takes numbers");
    return RemoteMessage{*message, *wParam, *lParam};
  }
  return Fail(error, "unknown command \"" + std::string(command) + "\" or wrong number of operands");
}

Delivery DeliverThroughService(const RemoteMessage& message) {
  service::DeliveryRequest request{message.message, message.wParam, message.lParam};
  LRESULT posted = 0;
  if (!service::SendRequest(service::Command::Deliver, &request, sizeof request, posted)) {
    return Delivery::ServiceNotRunning;
  }
  return posted > 0 ? Delivery::Delivered : Delivery::NoWindowRegistered;
}

std::optional<unsigned> RegisteredWindowCount() {
  LRESULT count = 0;
  if (!service::SendRequest(service::Command::Count, nullptr, 0, count)) return std::nullopt;
  return static_cast<unsigned>(count);
}

}  // namespace simboard::remote
