// One named object of an exchange file as the reference PDM sees it: a key and
// ordered slots. Slot names are upper case; values are kept escaped as on disk.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pdmsim {

class ExchangeObject {
 public:
  // Largest value (in bytes) a slot may hold; the CAD side cuts longer ones.
  static constexpr std::size_t kMaxValueBytes = 16300;

  explicit ExchangeObject(std::string key = {}) : key_(std::move(key)) {}

  // --- identity
  const std::string& Key() const { return key_; }

  // --- plain slots
  // Value with "@EOL@" turned back into line feeds; "" when the slot is missing.
  std::string Get(std::string_view name) const;
  bool Has(std::string_view name) const;
  // Stores a value (escaped, CR dropped, trimmed). Replaces in place when the
  // slot exists so slots keep the order of their first setting.
  void Set(std::string_view name, std::string_view value);
  void Remove(std::string_view name);

  // --- list slots ("{a} {b}")
  std::vector<std::string> GetList(std::string_view name) const;
  void SetList(std::string_view name, const std::vector<std::string>& items);
  void Append(std::string_view name, std::string_view item);

  // --- raw access for the reader and writer
  const std::vector<std::pair<std::string, std::string>>& Slots() const { return slots_; }
  // Stores an already escaped value as read from a file (name upper-cased,
  // value trimmed, CR dropped; a repeated name keeps its first position).
  void SetRaw(std::string_view name, std::string_view storedValue);

  static std::string UpperName(std::string_view name);
  static std::string EscapeValue(std::string_view value);
  static std::string UnescapeValue(std::string_view stored);
  static std::vector<std::string> SplitList(std::string_view text);
  static std::string JoinList(const std::vector<std::string>& items);

 private:
  std::pair<std::string, std::string>* Find(std::string_view upperName);
  const std::pair<std::string, std::string>* Find(std::string_view upperName) const;

  std::string key_;
  std::vector<std::pair<std::string, std::string>> slots_;
};

}  // namespace pdmsim
