// What the remote-control states share when they show a notice or a warning.
#pragma once

#include <string>

// How long a warning of a state (a companion missing, a step refused) stays up.
constexpr int StateWarningMs = 3000;

// The text of `key` in the language file of the system's language.
std::string StateText(const char* key);
