#include "CADAutomationReply.h"

#include <charconv>

#include "CADPercentCodec.h"

CADAutomationReply CADAutomationReply::Ok(int value, std::vector<std::string> fields) {
  CADAutomationReply reply;
  reply.ok_ = true;
  reply.value_ = value;
  reply.fields_ = std::move(fields);
  return reply;
}

CADAutomationReply CADAutomationReply::Err(std::string text) {
  CADAutomationReply reply;
  reply.error_ = std::move(text);
  return reply;
}

std::string CADAutomationReply::FormatLine() const {
  std::string line;
  if (ok_) {
    line = "OK\t" + std::to_string(value_);
    for (const std::string& field : fields_) line += "\t" + CADPercentCodec::Encode(field);
  } else {
    line = "ERR\t" + CADPercentCodec::Encode(error_);
  }
  line += '\n';
  return line;
}

bool CADAutomationReply::ParseLine(std::string_view line, CADAutomationReply& out, std::string& error) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::vector<std::string> fields;
  for (;;) {
    auto tab = line.find('\t');
    std::string decoded;
    if (!CADPercentCodec::Decode(line.substr(0, tab), decoded)) {
      error = "bad percent escape in the reply";
      return false;
    }
    fields.push_back(std::move(decoded));
    if (tab == std::string_view::npos) break;
    line.remove_prefix(tab + 1);
  }
  if (fields[0] == "ERR") {
    out = Err(fields.size() > 1 ? fields[1] : std::string());
    return true;
  }
  if (fields[0] != "OK" || fields.size() < 2) {
    error = "reply is neither OK nor ERR";
    return false;
  }
  int value = 0;
  const std::string& number = fields[1];
  auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (status != std::errc() || end != number.data() + number.size()) {
    error = "reply value is not an integer";
    return false;
  }
  out = Ok(value, std::vector<std::string>(fields.begin() + 2, fields.end()));
  return true;
}
