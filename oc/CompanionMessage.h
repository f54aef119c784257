// What the two engines put into every message to a companion program.
#pragma once

#include <windows.h>

// wParam of every message to a companion: 'U'. The companions ignore other messages.
constexpr WPARAM CompanionSentinel = 0x55;
