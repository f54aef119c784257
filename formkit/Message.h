// The record a window procedure of the framework receives: the message, its two
// parameters, and the result handed back to Windows.
#pragma once

#include <windows.h>

namespace formkit {

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

}  // namespace formkit
