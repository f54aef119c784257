// The checks that can stop the program before it claims its single instance: an
// overclocking tool that conflicts with the remote, and a restart that an installer
// left pending. Each positive check is shown in a message box unless the quiet
// switch "-b" was given.
#pragma once

// Whether the parameters (the program path not among them) hold the quiet switch:
// a parameter of '-' followed by the single letter b or B.
bool HasQuietSwitch(int count, const char* const* parameters);

// True: start-up may go on. False: a check answered yes (and has been shown unless
// quiet); the program ends.
bool RunPreRunChecks(bool quiet);

// Both firmware items of the overclocking tool exist, read, and have bit 2 set.
bool NeedsIxtuWarning();
// An installer's pending-reboot marker is in the registry.
bool NeedsRebootWarning();
