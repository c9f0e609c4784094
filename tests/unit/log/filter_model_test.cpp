// The category and level tables, the filter items they put in the Filter menu,
// the logging decision and the Refresh selection.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_platform_text.h"
#include "model/filter_model.h"

namespace quarent::brnlog {
namespace {

using fakes::Wide;

// The Filter menu as a list of items, starting with its five static items.
class FakeFilterMenu : public FilterMenu {
 public:
  struct Item {
    int id;  // 0 for a separator
    std::string text;
    bool checked;
  };

  bool available = true;
  std::vector<Item> items = {{32775, "&Refresh", false}, {0, "-", false}, {32773, "Enable All", false},
                             {32774, "Disable All", false}, {0, "-", false}};

  bool Available() const override { return available; }
  void AppendCheckedItem(int commandId, std::u16string_view text) override {
    items.push_back({commandId, Narrow(text), true});
  }
  void InsertCheckedItem(int position, int commandId, std::u16string_view text) override {
    InsertAt(position, {commandId, Narrow(text), true});
  }
  void InsertSeparator(int position) override { InsertAt(position, {0, "-", false}); }
  bool IsChecked(int commandId) const override {
    const Item* item = Find(commandId);
    return item != nullptr && item->checked;
  }
  void SetChecked(int commandId, bool checked) override {
    if (Item* item = const_cast<Item*>(Find(commandId))) item->checked = checked;
  }

  // Texts of the items after the static ones, "-" for a separator.
  std::vector<std::string> DynamicTexts() const {
    std::vector<std::string> texts;
    for (size_t index = 5; index < items.size(); ++index) texts.push_back(items[index].text);
    return texts;
  }

 private:
  static std::string Narrow(std::u16string_view text) { return fakes::Latin1Text().ToAnsi(text); }
  void InsertAt(int position, Item item) {
    const size_t at = std::min(static_cast<size_t>(position), items.size());
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
  }
  const Item* Find(int commandId) const {
    for (const Item& item : items) {
      if (item.id == commandId) return &item;
    }
    return nullptr;
  }
};

using Texts = std::vector<std::string>;

struct LevelOrderCase {
  const char* note;
  std::vector<int16_t> levels;
  Texts menu;
};

TEST(FilterModelTest, PlacesLevelItemsByNearestHigherLevel) {
  const LevelOrderCase cases[] = {
      {"first level, then its separator", {4}, {"Level 4", "-"}},
      {"5, 2, 7, 3 ascend", {5, 2, 7, 3}, {"Level 2", "Level 3", "Level 5", "Level 7", "-"}},
      {"0, 20, 5: no level 1 to 9 above 5", {0, 20, 5}, {"Level 0", "Level 20", "Level 5", "-"}},
      {"259 is level 3", {3, 259}, {"Level 3", "-"}},
      {"low 8 bits read as signed", {200}, {"Level -56", "-"}},
      {"descending within reach", {9, 8, 7}, {"Level 7", "Level 8", "Level 9", "-"}},
  };
  for (const LevelOrderCase& row : cases) {
    SCOPED_TRACE(row.note);
    FilterModel model;
    FakeFilterMenu menu;
    for (int16_t level : row.levels) model.FindOrAddLevel(level, menu);
    EXPECT_EQ(menu.DynamicTexts(), row.menu);
  }
}

TEST(FilterModelTest, LevelItemsCarryTheirIndexAndCategoriesFollowTheSeparator) {
  FilterModel model;
  FakeFilterMenu menu;
  EXPECT_EQ(model.FindOrAddLevel(5, menu), 0u);
  EXPECT_EQ(model.FindOrAddCategory(u"Disk", menu), 0u);
  EXPECT_EQ(model.FindOrAddLevel(2, menu), 1u);
  EXPECT_EQ(model.FindOrAddCategory(u"Net", menu), 1u);
  EXPECT_EQ(model.FindOrAddLevel(259, menu), 2u);  // level 3
  EXPECT_EQ(model.FindOrAddLevel(3, menu), 2u);

  std::vector<int> ids;
  for (size_t index = 5; index < menu.items.size(); ++index) ids.push_back(menu.items[index].id);
  EXPECT_EQ(ids, (std::vector<int>{29001, 29002, 29000, 0, 30000, 30001}));
  EXPECT_EQ(menu.DynamicTexts(), (Texts{"Level 2", "Level 3", "Level 5", "-", "Disk", "Net"}));
  for (size_t index = 5; index < menu.items.size(); ++index) {
    if (menu.items[index].id != 0) EXPECT_TRUE(menu.items[index].checked) << menu.items[index].text;
  }
}

TEST(FilterModelTest, CategoryNamesCompareExactlyUpToAZeroCodeUnit) {
  FilterModel model;
  FakeFilterMenu menu;
  EXPECT_EQ(model.FindOrAddCategory(u"Disk", menu), 0u);
  EXPECT_EQ(model.FindOrAddCategory(u"disk", menu), 1u);
  EXPECT_EQ(model.FindOrAddCategory(u"", menu), 2u);
  EXPECT_EQ(model.FindOrAddCategory(std::u16string(u"Disk\0tail", 9), menu), 0u);
  EXPECT_EQ(model.FindOrAddCategory(u"Disk ", menu), 3u);
  EXPECT_EQ(model.Categories().size(), 4u);
}

TEST(FilterModelTest, TablesGrowWithoutAMenuButGetNoItems) {
  FilterModel model;
  FakeFilterMenu menu;
  menu.available = false;
  model.FindOrAddCategory(u"Disk", menu);
  model.FindOrAddLevel(1, menu);
  EXPECT_EQ(model.Categories().size(), 1u);
  EXPECT_EQ(model.Levels().size(), 1u);
  EXPECT_TRUE(menu.DynamicTexts().empty());
}

TEST(FilterModelTest, CategoriesPastTheLastItemIdentifierGetNoItemButAreFiltered) {
  FilterModel model;
  FakeFilterMenu menu;
  for (int index = 0; index < 2769; ++index) model.FindOrAddCategory(Wide("c" + std::to_string(index)), menu);
  const size_t items = menu.items.size() - 5;
  EXPECT_EQ(items, 2768u);
  EXPECT_EQ(menu.items.back().id, 32767);

  model.SetCategoryFilter(2768, FilterMode::kOff, menu);
  EXPECT_EQ(model.Categories()[2768].enabled, 0);
  const auto stored = model.AcceptMessage(Wide("m"), Wide("c2768"), 1, -1, nullptr, menu);
  EXPECT_FALSE(stored.has_value());
}

struct ToggleCase {
  const char* note;
  bool itemChecked;
  int enabledBefore;
  bool itemCheckedAfter;
  int enabledAfter;
};

TEST(FilterModelTest, ToggleFollowsItemAndFlag) {
  const ToggleCase cases[] = {
      {"checked and enabled: both off", true, 1, false, 0},
      {"unchecked but enabled: nothing changes", false, 1, false, 1},
      {"unchecked and disabled: both on", false, 0, true, 1},
      {"checked but disabled: both on", true, 0, true, 1},
  };
  for (const ToggleCase& row : cases) {
    SCOPED_TRACE(row.note);
    FilterModel model;
    FakeFilterMenu menu;
    model.FindOrAddCategory(u"Disk", menu);
    model.SetFilterState(30000, row.enabledBefore ? FilterMode::kOn : FilterMode::kOff, menu);
    menu.SetChecked(30000, row.itemChecked);
    model.SetFilterState(30000, FilterMode::kToggle, menu);
    EXPECT_EQ(menu.IsChecked(30000), row.itemCheckedAfter);
    EXPECT_EQ(model.Categories()[0].enabled, row.enabledAfter);
  }
}

TEST(FilterModelTest, SetFilterStateNeedsTheMenuAndAnExistingRecord) {
  FilterModel model;
  FakeFilterMenu menu;
  model.FindOrAddLevel(3, menu);
  menu.available = false;
  model.SetFilterState(29000, FilterMode::kOff, menu);
  EXPECT_EQ(model.Levels()[0].enabled, 1);

  menu.available = true;
  model.SetFilterState(29001, FilterMode::kOff, menu);  // no such level
  model.SetFilterState(30000, FilterMode::kOff, menu);  // no such category
  model.SetFilterState(29000, FilterMode::kOff, menu);
  EXPECT_EQ(model.Levels()[0].enabled, 0);
  EXPECT_FALSE(menu.IsChecked(29000));
  model.SetFilterState(29000, FilterMode::kOn, menu);
  EXPECT_EQ(model.Levels()[0].enabled, 1);
  EXPECT_TRUE(menu.IsChecked(29000));
}

TEST(FilterModelTest, EnableAndDisableAllCoverEveryRecordAndItem) {
  FilterModel model;
  FakeFilterMenu menu;
  model.FindOrAddCategory(u"A", menu);
  model.FindOrAddCategory(u"B", menu);
  model.FindOrAddLevel(1, menu);
  model.FindOrAddLevel(2, menu);
  model.SetAllEnabled(false, menu);
  for (const Category& category : model.Categories()) EXPECT_EQ(category.enabled, 0);
  for (const Level& level : model.Levels()) EXPECT_EQ(level.enabled, 0);
  for (int id : {30000, 30001, 29000, 29001}) EXPECT_FALSE(menu.IsChecked(id)) << id;

  model.SetAllEnabled(true, menu);
  for (const Category& category : model.Categories()) EXPECT_EQ(category.enabled, 1);
  for (int id : {30000, 30001, 29000, 29001}) EXPECT_TRUE(menu.IsChecked(id)) << id;

  menu.available = false;
  model.SetAllEnabled(false, menu);
  EXPECT_EQ(model.Categories()[0].enabled, 1);
}

TEST(FilterModelTest, AcceptMessageStoresWhatPassesAndKeepsTheDetails) {
  FilterModel model;
  FakeFilterMenu menu;
  const LogValue value = LogValue::Integer(kVtI4, 42);
  const auto stored = model.AcceptMessage(Wide("hello"), Wide("Disk"), 300, 2, &value, menu);
  ASSERT_TRUE(stored.has_value());
  const Message& message = model.Messages().at(*stored);
  EXPECT_EQ(message.text, Wide("hello"));
  EXPECT_EQ(message.categoryIndex, 0);
  EXPECT_EQ(message.level, 44);  // 300 & 0xFF
  EXPECT_EQ(message.indent, 300);
  EXPECT_EQ(message.image, 2);
  EXPECT_EQ(message.value.type, kVtI4);
  EXPECT_EQ(message.value.bits, 42u);

  const auto noCategory = model.AcceptMessage(std::nullopt, std::nullopt, -7, -1, nullptr, menu);
  ASSERT_TRUE(noCategory.has_value());
  EXPECT_EQ(model.Categories().at(1).name, u"(No Category)");
  EXPECT_FALSE(model.Messages().at(*noCategory).text.has_value());
  EXPECT_EQ(model.Messages().at(*noCategory).indent, 0);
  EXPECT_EQ(model.Levels().at(1).level, 0);
  EXPECT_EQ(model.Messages().at(*noCategory).value.type, kVtEmpty);

  model.AcceptMessage(Wide("x"), Wide(""), 1, -1, nullptr, menu);
  EXPECT_EQ(model.Categories().at(2).name, u"");
}

TEST(FilterModelTest, DroppedMessageStillCreatesItsCategoryAndLevel) {
  FilterModel model;
  FakeFilterMenu menu;
  model.FindOrAddCategory(u"Disk", menu);
  model.SetFilterState(30000, FilterMode::kOff, menu);
  EXPECT_FALSE(model.AcceptMessage(Wide("lost"), Wide("Disk"), 2, -1, nullptr, menu).has_value());
  EXPECT_TRUE(model.Messages().empty());
  ASSERT_EQ(model.Levels().size(), 1u);
  EXPECT_EQ(model.Levels()[0].level, 2);
  EXPECT_EQ(menu.DynamicTexts(), (Texts{"Level 2", "-", "Disk"}));

  // Enabling the category again brings nothing back: the message was never stored.
  model.SetFilterState(30000, FilterMode::kOn, menu);
  EXPECT_TRUE(model.Messages().empty());
}

TEST(FilterModelTest, LevelsAreTheirLowEightBits) {
  FilterModel model;
  FakeFilterMenu menu;
  model.SetFilterState(29000 + static_cast<int>(model.FindOrAddLevel(3, menu)), FilterMode::kOff, menu);
  EXPECT_FALSE(model.AcceptMessage(Wide("a"), std::nullopt, 3, -1, nullptr, menu).has_value());
  EXPECT_FALSE(model.AcceptMessage(Wide("b"), std::nullopt, 259, -1, nullptr, menu).has_value());
  EXPECT_TRUE(model.AcceptMessage(Wide("c"), std::nullopt, 4, -1, nullptr, menu).has_value());
  EXPECT_EQ(model.Levels().size(), 2u);
}

TEST(FilterModelTest, LimitsApplyOnlyToMessagesWithAValue) {
  FilterModel model;
  FakeFilterMenu menu;
  model.SetLimits(Wide("Temp"),
                  Limits{LogValue::Integer(kVtI4, 10), kConditionGreaterEqual, LogValue::Integer(kVtI4, 20),
                         kConditionLess},
                  menu);
  EXPECT_EQ(menu.DynamicTexts(), (Texts{"Temp"}));
  const LogValue low = LogValue::Integer(kVtI4, 9);
  const LogValue good = LogValue::Integer(kVtI4, 15);
  const LogValue empty = LogValue::Empty();
  EXPECT_FALSE(model.AcceptMessage(Wide("low"), Wide("Temp"), 1, -1, &low, menu).has_value());
  EXPECT_TRUE(model.AcceptMessage(Wide("good"), Wide("Temp"), 1, -1, &good, menu).has_value());
  EXPECT_TRUE(model.AcceptMessage(Wide("empty"), Wide("Temp"), 1, -1, &empty, menu).has_value());
  EXPECT_TRUE(model.AcceptMessage(Wide("none"), Wide("Temp"), 1, -1, nullptr, menu).has_value());

  model.SetLimits(std::nullopt, Limits{}, menu);
  EXPECT_EQ(model.Categories().at(1).name, u"(No Category)");
}

TEST(FilterModelTest, RefreshShowsStoredMessagesThatStillPass) {
  FilterModel model;
  FakeFilterMenu menu;
  const LogValue five = LogValue::Integer(kVtI4, 5);
  const LogValue fifty = LogValue::Integer(kVtI4, 50);
  model.AcceptMessage(Wide("a"), Wide("A"), 1, -1, &five, menu);  // 0
  model.AcceptMessage(Wide("b"), Wide("A"), 2, -1, &fifty, menu);  // 1
  model.AcceptMessage(Wide("c"), Wide("B"), 1, -1, nullptr, menu);  // 2
  auto shown = [&] {
    std::vector<size_t> indexes;
    for (size_t index = 0; index < model.Messages().size(); ++index) {
      if (model.ShownByRefresh(index)) indexes.push_back(index);
    }
    return indexes;
  };
  EXPECT_EQ(shown(), (std::vector<size_t>{0, 1, 2}));

  model.SetLimits(Wide("A"), Limits{LogValue::Integer(kVtI4, 10), kConditionLess, {}, kConditionNone}, menu);
  EXPECT_EQ(shown(), (std::vector<size_t>{0, 2}));
  model.SetFilterState(29000, FilterMode::kOff, menu);  // level 1
  EXPECT_EQ(shown(), (std::vector<size_t>{}));
  model.SetFilterState(29000, FilterMode::kOn, menu);
  model.SetFilterState(30001, FilterMode::kOff, menu);  // category B
  EXPECT_EQ(shown(), (std::vector<size_t>{0}));

  model.ClearMessages();
  EXPECT_TRUE(model.Messages().empty());
  EXPECT_EQ(model.Categories().size(), 2u);
  EXPECT_EQ(model.Levels().size(), 2u);
}

}  // namespace
}  // namespace quarent::brnlog
