#include "tests/support/PlayerLogReader.h"

#include "tests/support/FileText.h"

#include <map>
#include <sstream>

namespace zrtest {

namespace {

// The file name at the end of a movie path ("...//Resource//QPSAuto.swf").
std::string MovieFile(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

const char* KindName(PlayerEvent::Kind kind) {
  switch (kind) {
    case PlayerEvent::Create:
      return "create";
    case PlayerEvent::Request:
      return "request";
    case PlayerEvent::Callback:
      return "callback";
  }
  return "?";
}

std::string Invoke(const char* function, const std::string& argument) {
  return "<invoke name=\"" + std::string(function) + "\" returntype=\"xml\"><arguments><string>" + argument +
         "</string></arguments></invoke>";
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const PlayerEvent& e) {
  return out << e.tick << " " << e.movie << " " << KindName(e.kind) << " " << e.text;
}

std::vector<PlayerEvent> ReadPlayerLog(const std::string& path) {
  std::vector<PlayerEvent> events;
  std::map<uint64_t, std::string> movies;  // player -> its movie file
  for (const std::string& line : WholeLines(ReadFileText(path))) {
    std::istringstream fields(line);
    PlayerEvent e;
    std::string player, kind;
    if (!(fields >> e.tick >> player >> kind)) continue;
    e.player = std::stoull(player, nullptr, 16);
    std::getline(fields >> std::ws, e.text);
    if (kind == "create") {
      e.kind = PlayerEvent::Create;
      movies[e.player] = MovieFile(e.text);
    } else if (kind == "request") {
      e.kind = PlayerEvent::Request;
    } else if (kind == "callback") {
      e.kind = PlayerEvent::Callback;
    } else {
      continue;
    }
    e.movie = movies[e.player];
    events.push_back(e);
  }
  return events;
}

std::string CommandRequest(const std::string& command) { return Invoke("externalCommand", command); }
std::string LabelRequest(const std::string& label) { return Invoke("changeLabel", label); }
std::string ContentRequest(const std::string& content) { return Invoke("changeContent", content); }
std::string DigitsRequest(int value) { return Invoke("set2Digit", std::to_string(value)); }

}  // namespace zrtest
