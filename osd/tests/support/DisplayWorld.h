// The display as the program sets it up at start-up, once per test process: the
// overlay and status forms made by the application, the test pictures in the
// resource folder beside the test program, and OsdMask::Reset run.
#pragma once

#include <cstdint>

namespace osdtest {

// The status picture that the world's resource folder holds.
constexpr uint32_t StatusPictureWidth = 120;
constexpr uint32_t StatusPictureHeight = 40;

// Sets the world up on the first call; later calls only put the display back at
// rest: overlay hidden, hide timer off, recorded events forgotten.
void EnsureDisplayWorld();

}  // namespace osdtest
