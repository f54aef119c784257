// The silent player: stands in for the animation player library when that cannot
// be loaded. Its players are real windows, owned by the overlay form, that never
// show; instead of playing a movie each one calls its host back at the points the
// movie would (after "show" and "end" for the profile notices, after "end" for the
// power-saving auto notice and the warning, after "End <level>" for the level
// movie, after "in" and "out" for the digit movie). The calls come from the
// player's own messages on the thread that made it, never from inside the request.
#pragma once

#include "osd/FlashLibrary.h"

const FlashEntryPoints& SilentPlayerEntryPoints();
