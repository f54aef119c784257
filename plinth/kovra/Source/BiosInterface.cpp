#include "plinth/kovra/Source/BiosInterface.h"

#include "formkit/Assert.h"
#include "oc/AcpiLibrary.h"
#include "plinth/kovra/Source/FixedDecimal.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace plinth {

namespace {

// Zero bytes kept after every descriptor copy: a text element that lacks its
// terminator, or a u32 read from a short last element, still ends in memory the
// item owns.
constexpr uint32_t DescriptorGuardBytes = 8;

uint32_t ReadWord(const void* data) {
  uint32_t word = 0;
  if (data != nullptr) std::memcpy(&word, data, sizeof word);
  return word;
}

// Element 0 of an element list, when it has one.
bool FirstWord(const void* list, uint32_t& out) {
  const uint32_t count = AcpiElementCount(list);
  if (count == 0) return false;
  out = detail::ElementCursor(AcpiFirstElement(list), count).Word();
  return true;
}

void ShowItemMessage(const char* text, const char* caption) {
  MessageBoxA(nullptr, text, caption, MB_OK);
}

int32_t SignExtend24(uint32_t bits) {
  return static_cast<int32_t>((bits & 0xFFFFFFu) << 8) >> 8;
}

int ExponentOf(uint32_t minimum) {
  return static_cast<int8_t>(static_cast<uint8_t>(minimum >> 24));
}

// The unit of a number item's kind lowers its decimal exponent.
int UnitShift(uint32_t id) {
  switch (ItemKind(id)) {
    case 1:
      return 2;
    case 2:
    case 12:
      return 3;
    case 3:
      return 4;
    default:
      return 0;
  }
}

// Trailing decimal zeros; 0 has none.
int TrailingZeros(int32_t value) {
  int64_t magnitude = std::abs(static_cast<int64_t>(value));
  int zeros = 0;
  while (magnitude != 0 && magnitude % 10 == 0) {
    magnitude /= 10;
    ++zeros;
  }
  return zeros;
}

long double PowerOfTen(int exponent) {
  long double power = 1.0L;
  for (int i = 0; i < exponent; ++i) power *= 10.0L;
  return power;
}

bool FitsInt32(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max();
}

}  // namespace

// ---------------------------------------------------------------------------------

namespace detail {

ElementCursor::ElementCursor(const void* element, uint32_t remaining)
    : m_element(remaining != 0 ? element : nullptr), m_remaining(m_element != nullptr ? remaining : 0) {}

uint32_t ElementCursor::Word() const {
  return m_remaining != 0 ? ReadWord(AcpiElementData(m_element)) : 0;
}

const char* ElementCursor::Text() const {
  return m_remaining != 0 ? static_cast<const char*>(AcpiElementData(m_element)) : nullptr;
}

void ElementCursor::Skip(uint32_t count) {
  for (; count != 0 && m_remaining != 0; --count) {
    --m_remaining;
    m_element = m_remaining != 0 ? AcpiNextElement(m_element) : nullptr;
  }
}

}  // namespace detail

// ---------------------------------------------------------------------------------

GroupInfoTraverser::GroupInfoTraverser(uint32_t group) {
  Open(group);
}

GroupInfoTraverser::~GroupInfoTraverser() {
  Close();
}

bool GroupInfoTraverser::Open(uint32_t group) {
  ZR_ASSERT(!IsOpen());
  m_buffer = std::make_unique<uint8_t[]>(AcpiBufferSize);
  m_current = nullptr;
  m_index = 0;
  m_count = 0;
  uint32_t size = AcpiBufferSize;
  if (AcpiReadGroup(group, m_buffer.get(), &size) == 0) return false;
  m_count = static_cast<int32_t>(AcpiElementCount(m_buffer.get()));
  m_current = AcpiFirstElement(m_buffer.get());
  return true;
}

void GroupInfoTraverser::Next() {
  if (m_index < m_count) ++m_index;
  if (m_index < m_count) m_current = AcpiNextElement(m_current);
}

const void* GroupInfoTraverser::CurrentData() const {
  return IsDone() ? nullptr : AcpiElementData(m_current);
}

void GroupInfoTraverser::Close() {
  m_buffer.reset();
  m_current = nullptr;
  m_index = 0;
  m_count = 0;
}

// ---------------------------------------------------------------------------------

ItemInfoTraverser::~ItemInfoTraverser() = default;

bool ItemInfoTraverser::Open(uint32_t group) {
  ZR_ASSERT(!IsOpen());
  if (!m_groups.Open(group)) {
    Close();
    return false;
  }
  if (!m_info) m_info = std::make_unique<uint8_t[]>(AcpiBufferSize);
  ReadCurrentDescriptor();
  return true;
}

void ItemInfoTraverser::Next() {
  m_groups.Next();
  ReadCurrentDescriptor();
}

void ItemInfoTraverser::ReadCurrentDescriptor() {
  // Passing over a refused descriptor (as ItemExists does) keeps the walk from
  // reporting the previous item a second time under the refused element.
  for (; !m_groups.IsDone(); m_groups.Next()) {
    uint32_t size = AcpiBufferSize;
    uint32_t id = 0;
    if (AcpiReadItemInfo(m_groups.CurrentData(), m_info.get(), &size) != 0 && FirstWord(m_info.get(), id)) {
      m_infoSize = size;
      m_currentId = id;
      return;
    }
  }
  m_infoSize = 0;
  m_currentId = 0;
}

std::unique_ptr<BiosItem> ItemInfoTraverser::CreateItem() const {
  ZR_ASSERT(!IsDone());
  std::unique_ptr<BiosItem> item;
  switch (ItemKind(m_currentId)) {
    case StringItemKind:
      item = std::make_unique<BiosStringItem>();
      break;
    case OnOffItemKind:
      item = std::make_unique<BiosBooleanItem>();
      break;
    default:
      item = std::make_unique<BiosNumberItem>();
      break;
  }
  item->Load(m_info.get(), m_infoSize);
  return item;
}

void ItemInfoTraverser::Close() {
  m_groups.Close();
  m_info.reset();
  m_infoSize = 0;
  m_currentId = 0;
}

// ---------------------------------------------------------------------------------

BiosItem::~BiosItem() = default;

uint32_t BiosItem::IndexCount() const {
  return 0;
}

uint32_t BiosItem::InfoWord() const {
  if (!m_data) return 0;
  detail::ElementCursor cursor(AcpiFirstElement(m_data.get()), AcpiElementCount(m_data.get()));
  cursor.Skip(3);
  return cursor.Word();
}

bool BiosItem::IsSubkind8() const {
  return ItemSubkind(m_id) == 8;
}

void BiosItem::IndexToRational(uint32_t, int32_t&, int32_t&) const {
  ShowUnsupported("IndexToRational");
}

long double BiosItem::IndexToValue(uint32_t) const {
  ShowUnsupported("IndexToValue");
  return 0;
}

std::string BiosItem::IndexToString(uint32_t) const {
  ShowUnsupported("IndexToString");
  return std::string();
}

bool BiosItem::Load(const uint8_t* descriptor, uint32_t size) {
  ZR_ASSERT(m_data == nullptr);
  m_data = std::make_unique<uint8_t[]>(size + DescriptorGuardBytes);
  if (size != 0) std::memcpy(m_data.get(), descriptor, size);
  const uint32_t count = AcpiElementCount(m_data.get());
  if (count < 3) return false;
  detail::ElementCursor cursor(AcpiFirstElement(m_data.get()), count);
  m_id = cursor.Word();
  cursor.Skip(1);
  return Parse(cursor);
}

bool BiosItem::ReadIndex(uint32_t& out) const {
  return ReadItemValue(m_id, out);
}

bool BiosItem::ReadValue(double& out) const {
  uint32_t index = 0;
  if (!ReadIndex(index)) return false;
  out = static_cast<double>(IndexToValue(index));
  return true;
}

bool BiosItem::Parse(detail::ElementCursor& cursor) {
  cursor.Skip(2);
  return true;
}

void BiosItem::ShowUnsupported(const char* conversion) const {
  char text[96];
  std::snprintf(text, sizeof text, "Item[%x] does not supports %s", static_cast<unsigned>(m_id), conversion);
  ShowItemMessage(text, "BiosItem");
}

// ---------------------------------------------------------------------------------

bool BiosNumberItem::Parse(detail::ElementCursor& cursor) {
  if (!BiosItem::Parse(cursor)) return false;
  if (cursor.Remaining() < 4) return false;
  cursor.Skip(1);  // the info word
  m_minimum = cursor.Word();
  cursor.Skip(1);
  m_step = cursor.Word();
  cursor.Skip(1);
  m_valueCount = cursor.Word();
  cursor.Skip(1);
  if (cursor.Remaining() == 0) return true;

  // The extra strings: their count, then at least that many texts.
  if (cursor.Remaining() < 2) return false;
  const uint32_t extra = cursor.Word();
  if (extra == 0 || cursor.Remaining() - 1 < extra) return false;
  cursor.Skip(1);
  for (uint32_t i = 0; i < extra; ++i) {
    m_exStrs.push_back(cursor.Text());
    cursor.Skip(1);
  }
  m_valueCount += extra;
  return true;
}

BiosNumberItem::Decimal BiosNumberItem::ValueAt(uint32_t index) const {
  // The position among the numeric values; an extra string's index gives a negative one.
  const int32_t k = static_cast<int32_t>(index - ExtraCount());
  const int64_t minimum = SignExtend24(m_minimum);
  const int64_t step = SignExtend24(m_step);
  return Decimal{minimum + static_cast<int64_t>(k) * step, ExponentOf(m_minimum) - UnitShift(Id())};
}

void BiosNumberItem::IndexToRational(uint32_t index, int32_t& numerator, int32_t& denominator) const {
  if (index < ExtraCount()) ShowItemMessage("Can not convert extra string to value", "IndexToRational Fail");
  const Decimal value = ValueAt(index);
  int64_t top = value.mantissa;
  int exponent = value.exponent;
  for (; exponent > 0 && FitsInt32(top); --exponent) top *= 10;
  // The plain fraction (10 over 10 stays so); common factors of ten are cancelled
  // only where 32 bits would not hold it otherwise.
  while (exponent < 0 && (exponent < -9 || !FitsInt32(top)) && top % 10 == 0) {
    top /= 10;
    ++exponent;
  }
  // A value that 32 bits cannot hold as a fraction gives no result.
  if (exponent > 0 || exponent < -9 || !FitsInt32(top)) return;
  int32_t bottom = 1;
  for (int i = exponent; i < 0; ++i) bottom *= 10;
  numerator = static_cast<int32_t>(top);
  denominator = bottom;
}

long double BiosNumberItem::IndexToValue(uint32_t index) const {
  if (index < ExtraCount()) ShowItemMessage("Can not convert extra string to value", "IndexToValue Fail");
  const Decimal value = ValueAt(index);
  const long double mantissa = static_cast<long double>(value.mantissa);
  return value.exponent >= 0 ? mantissa * PowerOfTen(value.exponent) : mantissa / PowerOfTen(-value.exponent);
}

std::string BiosNumberItem::IndexToString(uint32_t index) const {
  if (index < ExtraCount()) return m_exStrs[index] != nullptr ? std::string(m_exStrs[index]) : std::string();
  const Decimal value = ValueAt(index);
  // The unit's decimals, plus one per step of the exponent either way, less the
  // zeros that every value of the item ends in.
  int decimals = std::abs(ExponentOf(m_minimum)) + UnitShift(Id());
  const int zeros = std::min(TrailingZeros(SignExtend24(m_minimum)), TrailingZeros(SignExtend24(m_step)));
  decimals = zeros < decimals ? decimals - zeros : 0;
  return FormatFixedDigits(ToFixedDigits(value.mantissa, value.exponent, decimals), decimals);
}

// ---------------------------------------------------------------------------------

bool BiosStringItem::Parse(detail::ElementCursor& cursor) {
  if (!BiosItem::Parse(cursor)) return false;
  if (cursor.Remaining() < 3) return false;
  cursor.Skip(1);  // the info word
  const uint32_t count = cursor.Word();
  cursor.Skip(1);
  if (count == 0 || cursor.Remaining() < count) return false;
  for (uint32_t i = 0; i < count; ++i) {
    m_strs.push_back(cursor.Text());
    cursor.Skip(1);
  }
  return true;
}

std::string BiosStringItem::IndexToString(uint32_t index) const {
  ZR_ASSERT(index < m_strs.size());
  return m_strs[index] != nullptr ? std::string(m_strs[index]) : std::string();
}

// ---------------------------------------------------------------------------------

bool BiosBooleanItem::Parse(detail::ElementCursor& cursor) {
  if (!BiosItem::Parse(cursor)) return false;
  return cursor.Remaining() >= 1;
}

// ---------------------------------------------------------------------------------

bool ItemExists(uint32_t id) {
  GroupInfoTraverser groups(ItemGroup(id));
  const auto info = std::make_unique<uint8_t[]>(AcpiBufferSize);
  for (; !groups.IsDone(); groups.Next()) {
    uint32_t size = AcpiBufferSize;
    uint32_t first = 0;
    if (AcpiReadItemInfo(groups.CurrentData(), info.get(), &size) != 0 && FirstWord(info.get(), first) &&
        first == id) {
      return true;
    }
  }
  return false;
}

bool ReadItemValue(uint32_t id, uint32_t& out) {
  uint32_t value = 0;
  if ((AcpiReadItem(id, &value) & 1) == 0) return false;
  out = value;
  return true;
}

bool WriteItemValue(uint32_t id, uint32_t value) {
  return (AcpiWriteItem(id, value, 1) & 1) != 0;
}

}  // namespace plinth
