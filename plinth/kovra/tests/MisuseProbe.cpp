// Breaks the one precondition of the firmware item classes that its argument names,
// on the board ZR_BOARD names. The always-on assertion is expected to end it; an
// unknown argument, or a precondition that held, ends it with 0.
#include "plinth/kovra/Source/BiosInterface.h"

#include <string>

int main(int argc, char** argv) {
  const std::string misuse = argc > 1 ? argv[1] : "";
  constexpr uint32_t Group = 0x30;
  if (misuse == "group-opened-twice") {
    plinth::GroupInfoTraverser group;
    group.Open(Group);
    group.Open(Group);
  } else if (misuse == "walk-opened-twice") {
    plinth::ItemInfoTraverser walk;
    walk.Open(Group);
    walk.Open(Group);
  } else if (misuse == "item-after-the-walk") {
    plinth::ItemInfoTraverser walk;
    walk.Open(Group);
    while (!walk.IsDone()) walk.Next();
    walk.CreateItem();
  } else if (misuse == "string-past-the-last") {
    plinth::ItemInfoTraverser walk;
    walk.Open(Group);
    const auto item = walk.CreateItem();
    item->IndexToString(item->IndexCount());
  }
  return 0;
}
