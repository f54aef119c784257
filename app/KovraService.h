// The maker's system-service client library (kovraservice.dll), imported by name.
#pragma once

#include <windows.h>

#ifndef KOVRASERVICE_API
#define KOVRASERVICE_API __declspec(dllimport)
#endif

extern "C" {
// Non-zero on success; from then on the service's messages reach the window.
KOVRASERVICE_API int __stdcall KvSysSvr_RegisterNotify(HWND window, const wchar_t* clientGuid);
KOVRASERVICE_API int __stdcall KvSysSvr_UnregisterNotify(HWND window, const wchar_t* clientGuid);
}
