// Firmware setting items, read through the maker's ACPI access library: walking the
// element lists of a group, the item objects that turn an item's raw value index
// into a number, a rational or a text, and single-item reads and writes by id.
//
// Element lists are opaque; they are read only through the library's element
// operations. AcpiOpen is the caller's duty.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plinth {

// The parts of a firmware item id.
constexpr uint32_t ItemGroup(uint32_t id) { return id >> 24; }
constexpr uint32_t ItemSubkind(uint32_t id) { return (id >> 20) & 0xF; }
constexpr uint32_t ItemKind(uint32_t id) { return (id >> 16) & 0xF; }
constexpr uint32_t ItemElement(uint32_t id) { return id & 0xFFFF; }

inline constexpr uint32_t OnOffItemKind = 7;
inline constexpr uint32_t StringItemKind = 8;

namespace detail {

// A position in an element list and the number of elements from it to the end of
// the list. It never asks the library for the element after the last one.
class ElementCursor {
 public:
  ElementCursor(const void* element, uint32_t remaining);

  uint32_t Remaining() const { return m_remaining; }
  // The current element's data as a u32; 0 past the end.
  uint32_t Word() const;
  // The current element's data as a text; null past the end.
  const char* Text() const;
  // Moves on by `count` elements, or to the end.
  void Skip(uint32_t count);

 private:
  const void* m_element;
  uint32_t m_remaining;
};

}  // namespace detail

// Walks the elements of one firmware group.
class GroupInfoTraverser {
 public:
  GroupInfoTraverser() = default;
  // Opens the group at once; a group the library refuses gives a finished walk.
  explicit GroupInfoTraverser(uint32_t group);
  ~GroupInfoTraverser();
  GroupInfoTraverser(const GroupInfoTraverser&) = delete;
  GroupInfoTraverser& operator=(const GroupInfoTraverser&) = delete;

  // Reads the group's element list; false when the library refuses it, which
  // still leaves the traverser open, with nothing to walk.
  bool Open(uint32_t group);
  bool IsOpen() const { return m_buffer != nullptr; }
  bool IsDone() const { return m_index >= m_count; }
  // Moves to the next element; after the last one nothing changes.
  void Next();
  // The current element's data, handed unchanged to AcpiReadItemInfo; null once done.
  const void* CurrentData() const;
  void Close();

 private:
  std::unique_ptr<uint8_t[]> m_buffer;
  const void* m_current = nullptr;
  int32_t m_index = 0;
  int32_t m_count = 0;
};

class BiosItem;

// Walks a firmware group item by item and builds item objects from the items'
// descriptors. Items whose descriptor the library refuses are passed over, so every
// item of the walk is reported once, with its own descriptor.
class ItemInfoTraverser {
 public:
  ItemInfoTraverser() = default;
  ~ItemInfoTraverser();
  ItemInfoTraverser(const ItemInfoTraverser&) = delete;
  ItemInfoTraverser& operator=(const ItemInfoTraverser&) = delete;

  // Opens the group and reads the first readable item's descriptor; false (and
  // closed again) when the library refuses the group.
  bool Open(uint32_t group);
  bool IsOpen() const { return m_groups.IsOpen(); }
  bool IsDone() const { return m_groups.IsDone(); }
  // Moves to the next readable item.
  void Next();
  // The current item's id, element 0 of its descriptor.
  uint32_t CurrentId() const { return m_currentId; }
  // A new item of the current item's kind, loaded from its descriptor. A descriptor
  // that does not parse still gives the item, with what could be read.
  std::unique_ptr<BiosItem> CreateItem() const;
  void Close();

 private:
  void ReadCurrentDescriptor();

  GroupInfoTraverser m_groups;
  std::unique_ptr<uint8_t[]> m_info;
  uint32_t m_infoSize = 0;
  uint32_t m_currentId = 0;
};

// A firmware item, made from its descriptor. Holds a private copy of the descriptor;
// the texts of the derived kinds point into it and live as long as the item.
class BiosItem {
 public:
  virtual ~BiosItem();
  BiosItem(const BiosItem&) = delete;
  BiosItem& operator=(const BiosItem&) = delete;

  // How many value indices the item declares.
  virtual uint32_t IndexCount() const;
  // Element 3 of the descriptor; 0 when the descriptor is shorter.
  virtual uint32_t InfoWord() const;
  virtual bool IsSubkind8() const;
  // The conversions a kind does not support show a message box (caption "BiosItem")
  // and give no result: the outputs untouched, 0, or an empty text.
  virtual void IndexToRational(uint32_t index, int32_t& numerator, int32_t& denominator) const;
  virtual long double IndexToValue(uint32_t index) const;
  virtual std::string IndexToString(uint32_t index) const;

  // Copies the descriptor and parses it; false when it does not parse, which keeps
  // what was read up to the fault. Called once per item.
  bool Load(const uint8_t* descriptor, uint32_t size);
  uint32_t Id() const { return m_id; }
  // The item's current value index from the firmware; `out` untouched on failure.
  bool ReadIndex(uint32_t& out) const;
  // IndexToValue of the current value index; `out` untouched on failure.
  bool ReadValue(double& out) const;

 protected:
  BiosItem() = default;
  // Parses the descriptor from element 1 on; the base passes over elements 1 and 2.
  virtual bool Parse(detail::ElementCursor& cursor);
  void ShowUnsupported(const char* conversion) const;

 private:
  std::unique_ptr<uint8_t[]> m_data;
  uint32_t m_id = 0;
};

// A numeric item: a minimum, a step and a decimal exponent give the value of each
// index, optionally preceded by extra choices that are texts ("Auto").
class BiosNumberItem : public BiosItem {
 public:
  BiosNumberItem() = default;

  uint32_t IndexCount() const override { return m_valueCount; }
  // Index E + k is minimum + k × step, scaled by the exponent and the kind's unit.
  // An index of an extra string shows "Can not convert extra string to value" and
  // then converts its (negative) position all the same.
  void IndexToRational(uint32_t index, int32_t& numerator, int32_t& denominator) const override;
  long double IndexToValue(uint32_t index) const override;
  // The extra string, or the value with the item's number of decimals.
  std::string IndexToString(uint32_t index) const override;

 protected:
  bool Parse(detail::ElementCursor& cursor) override;

 private:
  struct Decimal {
    int64_t mantissa;
    int exponent;
  };
  // The exact value of index E + k.
  Decimal ValueAt(uint32_t index) const;
  uint32_t ExtraCount() const { return static_cast<uint32_t>(m_exStrs.size()); }

  std::vector<const char*> m_exStrs;
  uint32_t m_valueCount = 0;
  uint32_t m_step = 0;
  uint32_t m_minimum = 0;
};

// A choice among texts.
class BiosStringItem : public BiosItem {
 public:
  BiosStringItem() = default;

  // The number of texts kept: none when the descriptor did not parse, so a walk
  // over IndexCount never asks for a text that is not there.
  uint32_t IndexCount() const override { return static_cast<uint32_t>(m_strs.size()); }
  // Precondition: index < IndexCount().
  std::string IndexToString(uint32_t index) const override;

 protected:
  bool Parse(detail::ElementCursor& cursor) override;

 private:
  std::vector<const char*> m_strs;
};

// An on/off item; it converts nothing.
class BiosBooleanItem : public BiosItem {
 public:
  BiosBooleanItem() = default;

 protected:
  bool Parse(detail::ElementCursor& cursor) override;
};

// Whether group id >> 24 lists an item whose descriptor has `id` as element 0.
bool ItemExists(uint32_t id);
// The item's value index; `out` untouched when the library refuses the read.
bool ReadItemValue(uint32_t id, uint32_t& out);
bool WriteItemValue(uint32_t id, uint32_t value);

}  // namespace plinth
