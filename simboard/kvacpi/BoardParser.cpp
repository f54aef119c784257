#include "simboard/kvacpi/BoardParser.h"

#include <cstdlib>
#include <set>
#include <vector>

namespace simboard {
namespace {

// A word of a statement, with its place in the whole text (for the value rewrite).
struct Token {
  std::string_view text;
  size_t offset = 0;
};

// Thrown inside the parser only, caught by Parse and turned into the error.
struct LineError {
  std::string message;
};

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// Splits one line into words; `#` outside a quoted text ends the line. `end` is set
// to where the statement's last word ends (before blanks and comment).
std::vector<Token> SplitLine(std::string_view text, size_t begin, size_t lineEnd, size_t& end) {
  std::vector<Token> tokens;
  size_t i = begin;
  end = begin;
  while (i < lineEnd) {
    char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    size_t start = i;
    bool quoted = false;
    while (i < lineEnd) {
      c = text[i];
      if (quoted) {
        if (c == '\\' && i + 1 < lineEnd) {
          i += 2;
          continue;
        }
        if (c == '"') quoted = false;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '#') {
        break;
      } else if (c == '"') {
        quoted = true;
      }
      ++i;
    }
    if (quoted) throw LineError{"unterminated text"};
    tokens.push_back({text.substr(start, i - start), start});
    end = i;
  }
  return tokens;
}

// "0x1F", "31" or, where `allowNegative`, "-5"; anything else is an error.
int64_t ParseInteger(std::string_view word, bool allowNegative, std::string_view what) {
  bool negative = !word.empty() && word[0] == '-';
  std::string_view digits = negative ? word.substr(1) : word;
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits = digits.substr(2);
  }
  if (digits.empty() || digits.size() > 16 || (negative && !allowNegative)) {
    throw LineError{"bad number " + Quoted(word) + " for " + std::string(what)};
  }
  int64_t value = 0;
  for (char c : digits) {
    int d = (c >= '0' && c <= '9') ? c - '0'
            : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10
            : (base == 16 && c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                    : -1;
    if (d < 0) throw LineError{"bad number " + Quoted(word) + " for " + std::string(what)};
    value = value * base + d;
    if (value > 0xFFFFFFFFLL) throw LineError{Quoted(word) + " is out of range for " + std::string(what)};
  }
  return negative ? -value : value;
}

uint32_t ParseU32(std::string_view word, std::string_view what) {
  return static_cast<uint32_t>(ParseInteger(word, false, what));
}

// A signed field of `bits` bits: a negative number, or its raw bits written as a
// non-negative number (0xFFFFFB is -5 in 24 bits).
uint32_t ParseSignedBits(std::string_view word, int bits, std::string_view what) {
  int64_t value = ParseInteger(word, true, what);
  int64_t lowest = -(int64_t{1} << (bits - 1));
  int64_t highest = (int64_t{1} << bits) - 1;
  if (value < lowest || value > highest) throw LineError{Quoted(word) + " is out of range for " + std::string(what)};
  return static_cast<uint32_t>(value) & static_cast<uint32_t>(highest);
}

std::string ParseText(std::string_view word, std::string_view what) {
  if (word.size() < 2 || word.front() != '"' || word.back() != '"') {
    throw LineError{std::string(what) + " needs a text in double quotes"};
  }
  std::string text;
  for (size_t i = 1; i + 1 < word.size(); ++i) {
    char c = word[i];
    if (c == '\\' && i + 2 < word.size() && (word[i + 1] == '"' || word[i + 1] == '\\')) c = word[++i];
    text += c;
  }
  return text;
}

struct KeyValue {
  std::string_view key;
  std::string_view value;
  size_t valueOffset = 0;
};

KeyValue SplitKey(const Token& token) {
  size_t eq = token.text.find('=');
  if (eq == std::string_view::npos || eq == 0) throw LineError{"expected key=value, found " + Quoted(token.text)};
  return {token.text.substr(0, eq), token.text.substr(eq + 1), token.offset + eq + 1};
}

// The words of a fail= switch, each of which must be in `allowed`.
std::set<std::string_view> ParseFailures(std::string_view value, std::set<std::string_view> allowed) {
  std::set<std::string_view> result;
  size_t start = 0;
  while (start <= value.size()) {
    size_t comma = value.find(',', start);
    std::string_view word = value.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    if (!allowed.count(word)) throw LineError{"unknown failure " + Quoted(word)};
    result.insert(word);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return result;
}

class LineParser {
 public:
  LineParser(Board& board, std::set<uint32_t>& groups, std::set<uint32_t>& ids, std::set<uint32_t>& slots)
      : m_board(board), m_groups(groups), m_ids(ids), m_slots(slots) {}

  void Statement(const std::vector<Token>& tokens, size_t statementEnd) {
    std::string_view keyword = tokens[0].text;
    if (keyword == "group") {
      Group(tokens);
    } else if (keyword == "item") {
      Item(tokens, statementEnd);
    } else if (keyword == "profile") {
      Profile(tokens);
    } else {
      throw LineError{"unknown keyword " + Quoted(keyword)};
    }
  }

 private:
  void Group(const std::vector<Token>& tokens) {
    if (tokens.size() < 2) throw LineError{"group needs a number"};
    BoardGroup group;
    group.number = ParseU32(tokens[1].text, "the group number");
    if (group.number > 0xFF) throw LineError{Quoted(tokens[1].text) + " is out of range for the group number"};
    for (size_t i = 2; i < tokens.size(); ++i) {
      KeyValue kv = SplitKey(tokens[i]);
      if (kv.key != "fail") throw LineError{"unknown key " + Quoted(kv.key)};
      group.failRead = ParseFailures(kv.value, {"read"}).count("read") != 0;
    }
    if (!m_groups.insert(group.number).second) throw LineError{"group " + std::string(tokens[1].text) + " given twice"};
    m_board.AddGroup(std::move(group));
  }

  void Item(const std::vector<Token>& tokens, size_t statementEnd) {
    if (m_board.Groups().empty()) throw LineError{"item before any group"};
    if (tokens.size() < 3) throw LineError{"item needs an id and a form"};
    BoardItem item;
    item.id = ParseU32(tokens[1].text, "the item id");
    std::string_view form = tokens[2].text;
    if (form != "number" && form != "string" && form != "onoff" && form != "raw") {
      throw LineError{"unknown form " + Quoted(form)};
    }
    item.valueOffset = statementEnd;
    uint32_t info = 0, minimum = 0, exponent = 0, step = 0, count = 0;
    bool haveMin = false, haveStep = false, haveCount = false;
    std::vector<std::string> texts;
    std::vector<Element> rawElements;
    for (size_t i = 3; i < tokens.size(); ++i) {
      KeyValue kv = SplitKey(tokens[i]);
      auto onlyFor = [&](std::string_view allowedForm) {
        if (form != allowedForm) throw LineError{"key " + Quoted(kv.key) + " does not belong to a " + std::string(form) + " item"};
      };
      if (kv.key == "value") {
        item.value = ParseU32(kv.value, "value");
        item.valueOffset = kv.valueOffset;
        item.valueLength = kv.value.size();
        item.valueHex = kv.value.size() > 2 && kv.value[0] == '0' && (kv.value[1] == 'x' || kv.value[1] == 'X');
        item.valueHexDigits = item.valueHex ? kv.value.size() - 2 : 0;
      } else if (kv.key == "fail") {
        auto failures = ParseFailures(kv.value, {"read", "write", "info"});
        item.failRead = failures.count("read") != 0;
        item.failWrite = failures.count("write") != 0;
        item.failInfo = failures.count("info") != 0;
      } else if (kv.key == "info" && form != "raw") {
        info = ParseU32(kv.value, "info");
      } else if (kv.key == "min") {
        onlyFor("number");
        minimum = ParseSignedBits(kv.value, 24, "min");
        haveMin = true;
      } else if (kv.key == "exp") {
        onlyFor("number");
        exponent = ParseSignedBits(kv.value, 8, "exp");
      } else if (kv.key == "step") {
        onlyFor("number");
        step = ParseSignedBits(kv.value, 24, "step");
        haveStep = true;
      } else if (kv.key == "count") {
        onlyFor("number");
        count = ParseU32(kv.value, "count");
        haveCount = true;
      } else if (kv.key == "extra") {
        onlyFor("number");
        texts.push_back(ParseText(kv.value, "extra"));
      } else if (kv.key == "text" && form == "string") {
        texts.push_back(ParseText(kv.value, "text"));
      } else if (kv.key == "text" && form == "raw") {
        rawElements.push_back(Element::Text(ParseText(kv.value, "text")));
      } else if (kv.key == "u32") {
        onlyFor("raw");
        rawElements.push_back(Element::Number(ParseU32(kv.value, "u32")));
      } else {
        throw LineError{"unknown key " + Quoted(kv.key)};
      }
    }
    if (form == "raw") {
      item.descriptor = std::move(rawElements);
    } else {
      item.descriptor = {Element::Number(item.id), Element::Number(0), Element::Number(0), Element::Number(info)};
      if (form == "number") {
        if (!haveMin || !haveStep || !haveCount) throw LineError{"a number item needs min, step and count"};
        item.descriptor.push_back(Element::Number((exponent << 24) | minimum));
        item.descriptor.push_back(Element::Number(step));
        item.descriptor.push_back(Element::Number(count));
        if (!texts.empty()) item.descriptor.push_back(Element::Number(static_cast<uint32_t>(texts.size())));
      } else if (form == "string") {
        item.descriptor.push_back(Element::Number(static_cast<uint32_t>(texts.size())));
      }
      for (auto& text : texts) item.descriptor.push_back(Element::Text(std::move(text)));
    }
    if (!m_ids.insert(item.id).second) throw LineError{"item " + std::string(tokens[1].text) + " given twice"};
    m_board.AddItemToLastGroup(std::move(item));
  }

  void Profile(const std::vector<Token>& tokens) {
    if (tokens.size() < 2) throw LineError{"profile needs a slot"};
    BoardProfile profile;
    profile.slot = ParseU32(tokens[1].text, "the profile slot");
    size_t first = 2;
    bool raw = tokens.size() > 2 && tokens[2].text == "raw";
    if (raw) first = 3;
    uint32_t header = 1;
    std::vector<uint32_t> words;
    for (size_t i = first; i < tokens.size(); ++i) {
      KeyValue kv = SplitKey(tokens[i]);
      if (kv.key == "fail") {
        profile.failCall = ParseFailures(kv.value, {"call"}).count("call") != 0;
      } else if (kv.key == "u32" && raw) {
        words.push_back(ParseU32(kv.value, "u32"));
      } else if (kv.key == "header" && !raw) {
        header = ParseU32(kv.value, "header");
      } else if (kv.key == "pair" && !raw) {
        size_t colon = kv.value.find(':');
        if (colon == std::string_view::npos) throw LineError{"pair needs id:value, found " + Quoted(kv.value)};
        words.push_back(ParseU32(kv.value.substr(0, colon), "the pair's id"));
        words.push_back(ParseU32(kv.value.substr(colon + 1), "the pair's value"));
      } else {
        throw LineError{"unknown key " + Quoted(kv.key)};
      }
    }
    if (raw) {
      profile.words = std::move(words);
    } else {
      profile.words.push_back(header);
      profile.words.insert(profile.words.end(), words.begin(), words.end());
      profile.words.push_back(0xFFFFFFFFu);
    }
    if (!m_slots.insert(profile.slot).second) throw LineError{"profile slot " + std::string(tokens[1].text) + " given twice"};
    m_board.AddProfile(std::move(profile));
  }

  Board& m_board;
  std::set<uint32_t>& m_groups;
  std::set<uint32_t>& m_ids;
  std::set<uint32_t>& m_slots;
};

}  // namespace

std::optional<Board> BoardParser::Parse(std::string_view text, BoardParseError& error) {
  Board board;
  std::set<uint32_t> groups, ids, slots;
  LineParser parser(board, groups, ids, slots);
  unsigned line = 0;
  size_t begin = 0;
  while (begin < text.size()) {
    ++line;
    size_t lineEnd = text.find('\n', begin);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    try {
      size_t statementEnd = begin;
      std::vector<Token> tokens = SplitLine(text, begin, lineEnd, statementEnd);
      if (!tokens.empty()) parser.Statement(tokens, statementEnd);
    } catch (const LineError& e) {
      error = {line, e.message};
      return std::nullopt;
    }
    begin = lineEnd + 1;
  }
  return board;
}

}  // namespace simboard
