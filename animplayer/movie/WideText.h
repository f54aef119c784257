// Small comparisons of UTF-16 text shared by the request and the movie readers.
#pragma once

#include <string_view>

namespace animplayer {

// Whether the two texts are equal when case is ignored, character by character.
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace animplayer
