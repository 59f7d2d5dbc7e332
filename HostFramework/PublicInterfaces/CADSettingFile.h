// The text form of one setting repository, read and written without losing a line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// UTF-8 lines "Name = value", "Name[] = item" for each item of a text list, "%protected" to protect the
// repository, '#' comment lines. Values escape "\\", "\n", "\r" and "\t". Reading keeps every line, malformed
// ones included, so that writing a setting back loses nothing.
class CADSettingFile {
 public:
  static CADSettingFile Parse(std::string_view content, std::string_view origin = "settings");
  // The file as it would be written.
  std::string Render() const;

  bool IsProtected() const { return protected_; }
  // The last scalar value of `name`, or null.
  const std::string* FindValue(std::string_view name) const;
  // The items of list `name` in order; false when the list has no item.
  bool FindList(std::string_view name, std::vector<std::string>& items) const;

  // Replace every line of `name` (scalar or list) by the new value(s), at the place of the first one.
  void SetValue(std::string_view name, std::string_view value);
  void SetList(std::string_view name, const std::vector<std::string>& items);
  void SetProtected(bool value);

  const std::vector<std::string>& GetDiagnostics() const { return diagnostics_; }
  static bool IsValidName(std::string_view name);

 private:
  enum class Kind { Other, Protected, Scalar, ListItem };
  struct Line {
    Kind kind = Kind::Other;
    std::string name;
    std::string value;  // unescaped
    std::string raw;    // as read (Other lines are written back unchanged)
  };
  size_t RemoveLinesOf(std::string_view name);  // returns where the first one was (or the end)

  std::vector<Line> lines_;
  bool protected_ = false;
  std::vector<std::string> diagnostics_;
};
