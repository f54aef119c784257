#include "simboard/kvacpi/Board.h"

#include <algorithm>
#include <cstdio>

namespace simboard {

const BoardGroup* Board::FindGroup(uint32_t number) const {
  auto it = std::find_if(m_groups.begin(), m_groups.end(), [&](const BoardGroup& g) { return g.number == number; });
  return it == m_groups.end() ? nullptr : &*it;
}

const BoardItem* Board::FindItem(uint32_t id) const {
  auto it = std::find_if(m_items.begin(), m_items.end(), [&](const BoardItem& i) { return i.id == id; });
  return it == m_items.end() ? nullptr : &*it;
}

const BoardProfile* Board::FindProfile(uint32_t slot) const {
  auto it = std::find_if(m_profiles.begin(), m_profiles.end(), [&](const BoardProfile& p) { return p.slot == slot; });
  return it == m_profiles.end() ? nullptr : &*it;
}

std::string Board::TextWithValue(std::string_view text, const BoardItem& item, uint32_t value) {
  char digits[32];
  if (item.valueHex) {
    std::snprintf(digits, sizeof digits, "0x%0*X", static_cast<int>(item.valueHexDigits), static_cast<unsigned>(value));
  } else {
    std::snprintf(digits, sizeof digits, "%u", static_cast<unsigned>(value));
  }
  std::string result(text.substr(0, item.valueOffset));
  if (item.valueLength == 0) result += " value=";
  result += digits;
  result += text.substr(item.valueOffset + item.valueLength);
  return result;
}

}  // namespace simboard
