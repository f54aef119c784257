// kovraservice.dll: registration of a window with the system service.
#include "app/KovraService.h"

#include "simboard/service/ServiceProtocol.h"

#include <cwchar>

namespace {

using simboard::service::Command;

int Registration(Command command, HWND window, const wchar_t* clientGuid) {
  if (!window || !clientGuid) return 0;
  const size_t length = wcslen(clientGuid);
  if (length > simboard::service::MaxGuidChars) return 0;
  simboard::service::RegistrationRequest request{};
  request.window = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(window));
  wmemcpy(request.guid, clientGuid, length);
  LRESULT reply = 0;
  return simboard::service::SendRequest(command, &request, sizeof request, reply) && reply == 1 ? 1 : 0;
}

}  // namespace

extern "C" {

int __stdcall KvSysSvr_RegisterNotify(HWND window, const wchar_t* clientGuid) {
  return Registration(Command::Register, window, clientGuid);
}

int __stdcall KvSysSvr_UnregisterNotify(HWND window, const wchar_t* clientGuid) {
  return Registration(Command::Unregister, window, clientGuid);
}

}  // extern "C"
