#pragma once
// The message filter of a log object: its category and level tables, the
// message store, the filter items of the log window's Filter menu, and the
// decisions which messages are stored and which ones Refresh shows.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/value_limits.h"
#include "model/log_value.h"

namespace quarent::brnlog {

// Command identifiers of the filter items in the Filter menu.
constexpr int kFirstLevelItem = 29000;
constexpr int kLastLevelItem = 29999;
constexpr int kFirstCategoryItem = 30000;
constexpr int kLastCategoryItem = 32767;
// Position of the last item the Filter menu starts with (Refresh, a separator,
// Enable All, Disable All, a separator).
constexpr int kLastStaticFilterPosition = 4;

// Category of messages logged without one.
inline constexpr std::u16string_view kNoCategory = u"(No Category)";

struct Category {
  std::u16string name;  // compared exactly; never holds a zero code unit
  int32_t enabled = 1;  // 1 or 0
  Limits limits;
};

struct Level {
  int8_t level = 0;  // the low 8 bits of the client's level
  int16_t enabled = 1;  // 1 or 0
  int16_t menuPosition = 0;  // position of the level's filter item in the Filter menu
};

struct Message {
  std::optional<std::u16string> text;  // nothing for a null text
  int32_t categoryIndex = 0;
  int8_t level = 0;
  // The level as logged (0 to 32767): the rows' indent, in Refresh too, so
  // refreshed rows look as logged (level 259 stays at 259, not 3).
  int16_t indent = 0;
  int32_t levelIndex = 0;
  int16_t image = -1;  // image index, -1 for none
  LogValue value;  // empty for a message logged without a value
};

// The Filter menu of the log window, as the filter model changes it.
class FilterMenu {
 public:
  virtual ~FilterMenu() = default;
  // True while a log window with its Filter menu exists.
  virtual bool Available() const = 0;
  // Appends a checked item at the end of the Filter menu.
  virtual void AppendCheckedItem(int commandId, std::u16string_view text) = 0;
  // Inserts a checked item at `position` (an item past the end is appended).
  virtual void InsertCheckedItem(int position, int commandId, std::u16string_view text) = 0;
  virtual void InsertSeparator(int position) = 0;
  // False for an item that does not exist.
  virtual bool IsChecked(int commandId) const = 0;
  // Does nothing for an item that does not exist.
  virtual void SetChecked(int commandId, bool checked) = 0;
};

enum class FilterMode { kOn, kOff, kToggle };

class FilterModel {
 public:
  // Index of the category named `name` (up to its first zero code unit),
  // added with a checked filter item when it is new.
  size_t FindOrAddCategory(std::u16string_view name, FilterMenu& menu);

  // Index of level `level` (0 or more; its low 8 bits identify it), added
  // with a checked filter item, in level order, when it is new.
  size_t FindOrAddLevel(int16_t level, FilterMenu& menu);

  // Turns category `index` and its filter item on, off, or toggles them as a
  // click on the item does. Nothing happens without a Filter menu; a category
  // without an item (its item reads as unchecked) still changes its flag.
  void SetCategoryFilter(size_t index, FilterMode mode, FilterMenu& menu);
  // The same for level `index`.
  void SetLevelFilter(size_t index, FilterMode mode, FilterMenu& menu);
  // The same for the record of filter item `commandId` (29000 to 29999 for
  // levels, 30000 to 32767 for categories); other identifiers do nothing.
  void SetFilterState(int commandId, FilterMode mode, FilterMenu& menu);

  // Enables (or disables) every category, then every level, with their items.
  // Nothing happens without a Filter menu.
  void SetAllEnabled(bool enabled, FilterMenu& menu);

  // Logs a message: a null category is "(No Category)", a negative level is 0,
  // the category and level are found or added, then the message is stored
  // unless its category is disabled, `value` (when given) fails the
  // category's limits, or its level is disabled. Returns its store index.
  std::optional<size_t> AcceptMessage(std::optional<std::u16string> text,
                                      const std::optional<std::u16string>& category, int16_t level,
                                      int16_t image, const LogValue* value, FilterMenu& menu);

  // Sets the limits of a category (null: "(No Category)"), adding it when new.
  void SetLimits(const std::optional<std::u16string>& category, Limits limits, FilterMenu& menu);

  // True when Refresh shows stored message `index`: its category is enabled,
  // its value passes the category's limits and its level is enabled.
  bool ShownByRefresh(size_t index) const;

  // Empties the message store; the tables stay.
  void ClearMessages() { messages_.clear(); }

  const std::vector<Category>& Categories() const { return categories_; }
  // The category table for the Edit Categories dialog, which rewrites limits.
  std::vector<Category>& EditableCategories() { return categories_; }
  const std::vector<Level>& Levels() const { return levels_; }
  const std::vector<Message>& Messages() const { return messages_; }

 private:
  // Menu position for the filter item of a new level `level`.
  int16_t PlaceNewLevel(int8_t level);

  std::vector<Category> categories_;
  std::vector<Level> levels_;
  std::vector<Message> messages_;
};

// `name` up to its first zero code unit.
std::u16string_view CategoryName(std::u16string_view name);

}  // namespace quarent::brnlog
