#include "simboard/service/ServiceProtocol.h"

namespace simboard::service {

bool SendRequest(Command command, const void* data, DWORD bytes, LRESULT& reply) {
  HWND service = FindWindowW(WindowClass, nullptr);
  if (!service) return false;
  COPYDATASTRUCT request{static_cast<ULONG_PTR>(command), bytes, const_cast<void*>(data)};
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(service, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request),
                           SMTO_ABORTIFHUNG | SMTO_BLOCK, ReplyTimeoutMs, &result)) {
    return false;
  }
  reply = static_cast<LRESULT>(result);
  return true;
}

}  // namespace simboard::service
