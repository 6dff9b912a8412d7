#include "session/command_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

// A key runs one command; a place holds one item, with words; a menu begins with an item
// and has no two separators in a row (BuildMenu fills each gap between items with them).
TEST(CommandTable, EachKeyAndEachPlaceBelongsToOneCommandAndTheMenusHaveNoEmptyStretches) {
  std::map<std::string, int32_t> keys;
  std::map<int, std::set<int32_t>> positions;
  for (const TCommand& command : Commands()) {
    SCOPED_TRACE(command.Id);
    if (command.Key.Key != 0) {
      const auto [other, fresh] = keys.emplace(ShortcutText(command.Key), command.Id);
      EXPECT_TRUE(fresh) << other->first << " also runs " << other->second;
    }
    EXPECT_TRUE(command.Text || !(command.Bar || command.Context));
    const bool barPlaceFree =
        !command.Bar || positions[static_cast<int>(command.Bar->Menu)].insert(command.Bar->Position).second;
    const bool contextPlaceFree =
        !command.Context || positions[static_cast<int>(TMenuId::kContext)].insert(*command.Context).second;
    EXPECT_TRUE(barPlaceFree && contextPlaceFree);
    EXPECT_EQ(FindCommand(command.Id), &command);
  }
  EXPECT_EQ(positions.size(), 5u);  // the four drop-downs and the context menu
  for (const auto& [menu, taken] : positions) {
    int32_t previous = -1;
    for (const int32_t position : taken) {
      EXPECT_LE(position - previous, 2) << "menu " << menu << " before " << position;
      previous = position;
    }
  }
  EXPECT_EQ(keys.at("Shift+F3"), CM_FIND_PREVIOUS);
  EXPECT_EQ(FindCommand(0), nullptr);
}
