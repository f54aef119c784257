// The simulated firmware as a board file describes it: groups of items with their
// descriptors and values, and the firmware profiles returned by method slot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace simboard {

// One element of an element list: a u32 or a NUL-terminated text.
struct Element {
  enum class Kind : uint32_t { U32 = 1, Text = 2 };
  Kind kind = Kind::U32;
  uint32_t number = 0;
  std::string text;

  static Element Number(uint32_t value) { return {Kind::U32, value, {}}; }
  static Element Text(std::string value) { return {Kind::Text, 0, std::move(value)}; }
  bool operator==(const Element&) const = default;
};

struct BoardItem {
  uint32_t id = 0;
  uint32_t value = 0;
  bool failRead = false;
  bool failWrite = false;
  bool failInfo = false;
  std::vector<Element> descriptor;
  // Where the value is written in the board text, so that a write changes that
  // word alone: the digits of "value=" (length 0 when the line has none, then the
  // offset is where " value=..." goes), and whether they were hexadecimal.
  size_t valueOffset = 0;
  size_t valueLength = 0;
  bool valueHex = false;
  size_t valueHexDigits = 0;
};

struct BoardGroup {
  uint32_t number = 0;
  bool failRead = false;
  std::vector<size_t> items;  // indices into Board::Items(), in listing order
};

struct BoardProfile {
  uint32_t slot = 0;
  bool failCall = false;
  std::vector<uint32_t> words;
};

class Board {
 public:
  const std::vector<BoardGroup>& Groups() const { return m_groups; }
  const std::vector<BoardItem>& Items() const { return m_items; }
  const std::vector<BoardProfile>& Profiles() const { return m_profiles; }

  const BoardGroup* FindGroup(uint32_t number) const;
  const BoardItem* FindItem(uint32_t id) const;
  const BoardProfile* FindProfile(uint32_t slot) const;

  // The board text `text` (the one this board was parsed from) with the value of
  // `item` replaced, every other byte kept.
  static std::string TextWithValue(std::string_view text, const BoardItem& item, uint32_t value);

  // Building, for the parser: groups in file order, each item into the last group.
  void AddGroup(BoardGroup group) { m_groups.push_back(std::move(group)); }
  void AddItemToLastGroup(BoardItem item) {
    m_groups.back().items.push_back(m_items.size());
    m_items.push_back(std::move(item));
  }
  void AddProfile(BoardProfile profile) { m_profiles.push_back(std::move(profile)); }

 private:
  std::vector<BoardGroup> m_groups;
  std::vector<BoardItem> m_items;
  std::vector<BoardProfile> m_profiles;
};

}  // namespace simboard
