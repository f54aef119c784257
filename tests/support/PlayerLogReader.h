// Reads what the animation player library logged: the players it made, every
// request it received and every call-back it made into the program, one line each.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace zrtest {

struct PlayerEvent {
  enum Kind { Create, Request, Callback };
  DWORD tick = 0;
  Kind kind = Request;
  uint64_t player = 0;  // the player window
  std::string movie;    // the movie file name of that player ("QPSAuto.swf")
  std::string text;     // Create: the movie path; Request: the request's XML
};

std::ostream& operator<<(std::ostream& out, const PlayerEvent& event);

// Every whole line of the log, in order; empty when the file is missing.
std::vector<PlayerEvent> ReadPlayerLog(const std::string& path);

// The request texts the program sends, as the player receives them.
std::string CommandRequest(const std::string& command);  // externalCommand
std::string LabelRequest(const std::string& label);      // changeLabel
std::string ContentRequest(const std::string& content);  // changeContent
std::string DigitsRequest(int value);                    // set2Digit

}  // namespace zrtest
