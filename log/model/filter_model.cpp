#include "model/filter_model.h"

#include <cstdlib>
#include <utility>

namespace quarent::brnlog {
namespace {

std::u16string LevelItemText(int8_t level) {
  const std::string digits = std::to_string(level);
  return u"Level " + std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string_view CategoryName(std::u16string_view name) { return name.substr(0, name.find(u'\0')); }

size_t FilterModel::FindOrAddCategory(std::u16string_view name, FilterMenu& menu) {
  name = CategoryName(name);
  for (size_t index = 0; index < categories_.size(); ++index) {
    if (categories_[index].name == name) return index;
  }
  const size_t index = categories_.size();
  categories_.push_back(Category{std::u16string(name), 1, {}});
  if (menu.Available() && index <= static_cast<size_t>(kLastCategoryItem - kFirstCategoryItem)) {
    menu.AppendCheckedItem(kFirstCategoryItem + static_cast<int>(index), name);
  }
  return index;
}

int16_t FilterModel::PlaceNewLevel(int8_t level) {
  int bestDistance = -10;
  int16_t candidate = -1;
  int16_t highest = kLastStaticFilterPosition;
  for (const Level& record : levels_) {
    const int distance = record.level - level;
    if (distance < std::abs(bestDistance) && distance > 0) {
      bestDistance = distance;
      candidate = record.menuPosition;
    }
    if (record.menuPosition > highest) highest = record.menuPosition;
  }
  // No existing level lies 1 to 9 above: after every level item.
  if (bestDistance < 0) return static_cast<int16_t>(highest + 1);
  for (Level& record : levels_) {
    if (record.level > level) ++record.menuPosition;
  }
  return candidate;
}

size_t FilterModel::FindOrAddLevel(int16_t level, FilterMenu& menu) {
  const auto lowBits = static_cast<int8_t>(level & 0xFF);
  for (size_t index = 0; index < levels_.size(); ++index) {
    if (levels_[index].level == lowBits) return index;
  }
  const int16_t position = PlaceNewLevel(lowBits);
  const size_t index = levels_.size();
  levels_.push_back(Level{lowBits, 1, position});
  if (menu.Available() && index <= static_cast<size_t>(kLastLevelItem - kFirstLevelItem)) {
    menu.InsertCheckedItem(position, kFirstLevelItem + static_cast<int>(index), LevelItemText(lowBits));
    // The first level's separator parts the level items from the category items.
    if (index == 0) menu.InsertSeparator(position + 1);
  }
  return index;
}

namespace {

// Sets one record's flag and item; both tables keep the flag as 1 or 0.
template <class Flag>
void ApplyFilterMode(Flag& enabled, int commandId, FilterMode mode, FilterMenu& menu) {
  if (!menu.Available()) return;
  const bool checked = menu.IsChecked(commandId);
  bool turnOn = mode == FilterMode::kOn;
  if (mode == FilterMode::kToggle) {
    if (enabled != 0 && !checked) return;  // an unchecked item of an enabled record stays as it is
    turnOn = !(checked && enabled != 0);
  }
  menu.SetChecked(commandId, turnOn);
  enabled = turnOn ? 1 : 0;
}

}  // namespace

void FilterModel::SetCategoryFilter(size_t index, FilterMode mode, FilterMenu& menu) {
  if (index >= categories_.size()) return;
  ApplyFilterMode(categories_[index].enabled, kFirstCategoryItem + static_cast<int>(index), mode, menu);
}

void FilterModel::SetLevelFilter(size_t index, FilterMode mode, FilterMenu& menu) {
  if (index >= levels_.size()) return;
  ApplyFilterMode(levels_[index].enabled, kFirstLevelItem + static_cast<int>(index), mode, menu);
}

void FilterModel::SetFilterState(int commandId, FilterMode mode, FilterMenu& menu) {
  if (commandId >= kFirstLevelItem && commandId <= kLastLevelItem) {
    SetLevelFilter(static_cast<size_t>(commandId - kFirstLevelItem), mode, menu);
  } else if (commandId >= kFirstCategoryItem && commandId <= kLastCategoryItem) {
    SetCategoryFilter(static_cast<size_t>(commandId - kFirstCategoryItem), mode, menu);
  }
}

void FilterModel::SetAllEnabled(bool enabled, FilterMenu& menu) {
  if (!menu.Available()) return;
  for (size_t index = 0; index < categories_.size(); ++index) {
    categories_[index].enabled = enabled ? 1 : 0;
    menu.SetChecked(kFirstCategoryItem + static_cast<int>(index), enabled);
  }
  for (size_t index = 0; index < levels_.size(); ++index) {
    levels_[index].enabled = enabled ? 1 : 0;
    menu.SetChecked(kFirstLevelItem + static_cast<int>(index), enabled);
  }
}

std::optional<size_t> FilterModel::AcceptMessage(std::optional<std::u16string> text,
                                                 const std::optional<std::u16string>& category, int16_t level,
                                                 int16_t image, const LogValue* value, FilterMenu& menu) {
  if (level < 0) level = 0;
  const size_t categoryIndex = FindOrAddCategory(category ? *category : kNoCategory, menu);
  const size_t levelIndex = FindOrAddLevel(level, menu);

  const Category& categoryRecord = categories_[categoryIndex];
  if (categoryRecord.enabled == 0) return std::nullopt;
  if (value != nullptr && !PassesLimits(categoryRecord.limits, *value)) return std::nullopt;
  if (levels_[levelIndex].enabled == 0) return std::nullopt;

  Message message;
  message.text = std::move(text);
  message.categoryIndex = static_cast<int32_t>(categoryIndex);
  message.level = levels_[levelIndex].level;
  message.indent = level;
  message.levelIndex = static_cast<int32_t>(levelIndex);
  message.image = image;
  if (value != nullptr) message.value = *value;
  messages_.push_back(std::move(message));
  return messages_.size() - 1;
}

void FilterModel::SetLimits(const std::optional<std::u16string>& category, Limits limits, FilterMenu& menu) {
  const size_t index = FindOrAddCategory(category ? *category : kNoCategory, menu);
  categories_[index].limits = std::move(limits);
}

bool FilterModel::ShownByRefresh(size_t index) const {
  const Message& message = messages_.at(index);
  const Category& category = categories_.at(static_cast<size_t>(message.categoryIndex));
  return category.enabled != 0 && PassesLimits(category.limits, message.value) &&
         levels_.at(static_cast<size_t>(message.levelIndex)).enabled != 0;
}

}  // namespace quarent::brnlog
