// One reply of the automation protocol: "OK", the operation's int and any
// value fields, or "ERR" and a text; one tab-separated, percent-encoded line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CADAutomationReply {
 public:
  static CADAutomationReply Ok(int value, std::vector<std::string> fields = {});
  static CADAutomationReply Err(std::string text);

  bool IsOk() const { return ok_; }
  int GetValue() const { return value_; }
  const std::vector<std::string>& GetFields() const { return fields_; }
  const std::string& GetError() const { return error_; }

  // The line, ending in "\n".
  std::string FormatLine() const;
  static bool ParseLine(std::string_view line, CADAutomationReply& out, std::string& error);

 private:
  bool ok_ = false;
  int value_ = 0;
  std::vector<std::string> fields_;
  std::string error_;
};
