#include "oc/FirmwareItemLookup.h"

#include "oc/AcpiLibrary.h"

std::unique_ptr<plinth::BiosItem> FindFirmwareItem(uint32_t group, uint32_t element) {
  AcpiOpen();
  plinth::ItemInfoTraverser items;
  if (!items.Open(group)) return nullptr;
  for (; !items.IsDone(); items.Next()) {
    std::unique_ptr<plinth::BiosItem> item = items.CreateItem();
    if (plinth::ItemElement(item->Id()) == element) return item;
  }
  return nullptr;
}
