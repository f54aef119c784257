// Whether the maker's two companion programs, through which the remote's states
// act, are installed and whether the overclocking companion runs. Every failure
// answers false.
#pragma once

// The overclocking companion's installation left its "CaptionName".
bool IsOcCompanionInstalled();
// The power-saving companion's installation left its "CaptionName".
bool IsQPSCompanionInstalled();
// The overclocking companion's main window is open.
bool IsOcCompanionRunning();
