// The ten operations of KVACPI.DLL, served from the board file (BoardStore).
#include "oc/AcpiLibrary.h"

#include "simboard/kvacpi/BoardStore.h"
#include "simboard/kvacpi/ElementList.h"

#include <windows.h>

#include <cstring>

using simboard::Board;
using simboard::BoardItem;
using simboard::BoardStore;
using simboard::Element;

namespace {

constexpr uint32_t FirmwareProfileMethod = 0x05080002;

// The group element's data the program hands back to AcpiReadItemInfo. It only
// passes pointers it got from AcpiElementData, but a stray one must fail the call,
// not crash the program, so the id is copied with a guarded read.
bool ReadItemIdAt(const void* data, uint32_t& id) {
  if (!data) return false;
  SIZE_T copied = 0;
  return ReadProcessMemory(GetCurrentProcess(), data, &id, sizeof id, &copied) && copied == sizeof id;
}

}  // namespace

extern "C" {

uint32_t __stdcall AcpiOpen() {
  return BoardStore::Instance().WithBoard([](const Board&) { return true; }) ? 1 : 0;
}

uint32_t __stdcall AcpiWriteItem(uint32_t id, uint32_t value, uint32_t /*one: the write mode, always 1*/) {
  return BoardStore::Instance().WriteValue(id, value) ? 1 : 0;
}

uint32_t __stdcall AcpiReadItem(uint32_t id, uint32_t* value) {
  if (!value) return 0;
  return BoardStore::Instance().WithBoard([&](const Board& board) {
    const BoardItem* item = board.FindItem(id);
    if (!item || item->failRead) return false;
    *value = item->value;
    return true;
  }) ? 1 : 0;
}

uint32_t __stdcall AcpiReadGroup(uint32_t group, void* buffer, uint32_t* size) {
  return BoardStore::Instance().WithBoard([&](const Board& board) {
    const simboard::BoardGroup* found = board.FindGroup(group);
    if (!found || found->failRead) return false;
    std::vector<Element> ids;
    ids.reserve(found->items.size());
    for (size_t index : found->items) ids.push_back(Element::Number(board.Items()[index].id));
    return simboard::WriteElementList(ids, buffer, size);
  }) ? 1 : 0;
}

void* __stdcall AcpiFirstElement(const void* list) {
  return const_cast<uint8_t*>(simboard::FirstElement(list));
}

uint32_t __stdcall AcpiElementCount(const void* list) { return simboard::ElementCount(list); }

void* __stdcall AcpiElementData(const void* element) {
  return const_cast<uint8_t*>(simboard::ElementData(element));
}

void* __stdcall AcpiNextElement(const void* element) {
  return const_cast<uint8_t*>(simboard::NextElement(element));
}

uint32_t __stdcall AcpiReadItemInfo(const void* data, void* buffer, uint32_t* size) {
  uint32_t id = 0;
  if (!ReadItemIdAt(data, id)) return 0;
  return BoardStore::Instance().WithBoard([&](const Board& board) {
    const BoardItem* item = board.FindItem(id);
    if (!item || item->failInfo) return false;
    return simboard::WriteElementList(item->descriptor, buffer, size);
  }) ? 1 : 0;
}

uint32_t __stdcall AcpiCallMethod(uint32_t method, uint32_t argument, void* buffer, uint32_t* size) {
  if (method != FirmwareProfileMethod || !buffer || !size) return 0;
  return BoardStore::Instance().WithBoard([&](const Board& board) {
    const simboard::BoardProfile* profile = board.FindProfile(argument);
    if (!profile || profile->failCall) return false;
    const size_t bytes = profile->words.size() * sizeof(uint32_t);
    if (bytes > *size) return false;
    std::memcpy(buffer, profile->words.data(), bytes);
    *size = static_cast<uint32_t>(bytes);
    return true;
  }) ? 1 : 0;
}

}  // extern "C"
