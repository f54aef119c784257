// How the simulated system service is reached: a hidden top-level window of its own
// class, spoken to with WM_COPYDATA. The layouts use fixed-width fields, so 32-bit
// and 64-bit processes understand each other.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace simboard::service {

inline constexpr wchar_t WindowClass[] = L"KovraSimServiceWindow";
inline constexpr wchar_t WindowTitle[] = L"Kovra System Service (simulated)";
inline constexpr wchar_t InstanceMutex[] = L"Local\\KovraSimService";
// A hung service must not freeze its clients for longer than this.
inline constexpr UINT ReplyTimeoutMs = 2000;

// COPYDATASTRUCT::dwData of each request; the reply is the message result.
enum class Command : ULONG_PTR {
  Register = 1,    // RegistrationRequest; 1 registered, 0 refused
  Unregister = 2,  // RegistrationRequest; 1 removed, 0 not registered
  Deliver = 3,     // DeliveryRequest; number of windows it was posted to
  Count = 4,       // no data; number of registered windows
};

inline constexpr size_t MaxGuidChars = 63;

struct RegistrationRequest {
  uint64_t window;
  wchar_t guid[MaxGuidChars + 1];  // NUL-terminated
};

struct DeliveryRequest {
  uint32_t message;
  uint32_t wParam;
  uint32_t lParam;
};

// 32-bit and 64-bit processes exchange these: the same layout in both.
static_assert(sizeof(RegistrationRequest) == 136 && offsetof(RegistrationRequest, guid) == 8);
static_assert(sizeof(DeliveryRequest) == 12);

// Sends one request to the running service. False when none runs or it does not
// answer in time; `reply` is the service's answer otherwise.
bool SendRequest(Command command, const void* data, DWORD bytes, LRESULT& reply);

}  // namespace simboard::service
