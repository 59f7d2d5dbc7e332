#include "CADAutomationRequest.h"

#include <charconv>
#include <vector>

#include "CADPercentCodec.h"

namespace {

struct VerbShape {
  std::string_view verb;
  int minArguments;
  int maxArguments;
  bool integerArgument;  // the single argument must be a decimal int
};

constexpr VerbShape kVerbs[] = {
    {"GetStatus", 0, 0, false}, {"SetStatus", 1, 1, false},         {"StartCmd", 1, 2, false},
    {"WriteXml", 2, 2, false},  {"SetUseDesignTables", 1, 1, true},
};

const VerbShape* FindVerb(std::string_view verb) {
  for (const VerbShape& shape : kVerbs)
    if (shape.verb == verb) return &shape;
  return nullptr;
}

bool IsDecimalInt(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return false;
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::vector<std::string_view> Split(std::string_view text, char separator, std::size_t maxPieces) {
  std::vector<std::string_view> pieces;
  while (pieces.size() + 1 < maxPieces) {
    auto at = text.find(separator);
    if (at == std::string_view::npos) break;
    pieces.push_back(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
  pieces.push_back(text);
  return pieces;
}

// Decodes one field and checks it is text the session can hold.
bool DecodeField(std::string_view raw, std::size_t index, std::string& out, std::string& error) {
  std::string where = index == 0 ? "the verb" : "argument " + std::to_string(index);
  if (!CADPercentCodec::Decode(raw, out)) {
    error = "bad percent escape in " + where;
    return false;
  }
  if (out.find('\0') != std::string::npos) {
    error = "NUL character in " + where;
    return false;
  }
  if (!CADPercentCodec::IsValidUtf8(out)) {
    error = "invalid UTF-8 in " + where;
    return false;
  }
  return true;
}

bool BuildFromFields(const std::vector<std::string_view>& fields, CADAutomationRequest& out, std::string& error) {
  std::string verb;
  if (!DecodeField(fields[0], 0, verb, error)) return false;
  if (verb.empty()) {
    error = "empty verb";
    return false;
  }
  CADListValCADUnicodeString arguments;
  for (std::size_t i = 1; i < fields.size(); ++i) {
    std::string value;
    if (!DecodeField(fields[i], i, value, error)) return false;
    arguments.Append(CADUnicodeString(std::move(value)));
  }
  out = CADAutomationRequest(CADString(std::move(verb)), std::move(arguments));
  return true;
}

}  // namespace

bool CADAutomationRequest::ParseLine(std::string_view line, CADAutomationRequest& out, std::string& error) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxLineBytes) {
    error = "request longer than " + std::to_string(kMaxLineBytes) + " bytes";
    return false;
  }
  if (line.empty()) {
    error = "empty request";
    return false;
  }
  if (line.find_first_of(std::string_view("\n\r\0", 3)) != std::string_view::npos) {
    error = "raw line break or NUL in the request line";
    return false;
  }
  return BuildFromFields(Split(line, '\t', std::string_view::npos), out, error);
}

std::string CADAutomationRequest::FormatLine() const {
  std::string line = CADPercentCodec::Encode(verb_.view());
  for (const CADUnicodeString& argument : arguments_) {
    line += '\t';
    line += CADPercentCodec::Encode(argument.view());
  }
  line += '\n';
  return line;
}

bool CADAutomationRequest::ParseCompact(std::string_view text, CADAutomationRequest& out, std::string& error) {
  if (text.empty()) {
    error = "empty request";
    return false;
  }
  auto colon = text.find(':');
  std::vector<std::string_view> fields{text.substr(0, colon)};
  if (colon != std::string_view::npos) {
    const VerbShape* shape = FindVerb(fields[0]);
    // Unknown verbs split at every ':'; the session will refuse them anyway.
    std::size_t maxPieces =
        shape && shape->maxArguments > 0 ? static_cast<std::size_t>(shape->maxArguments) : std::string_view::npos;
    for (std::string_view piece : Split(text.substr(colon + 1), ':', maxPieces)) fields.push_back(piece);
  }
  return BuildFromFields(fields, out, error);
}

bool CADAutomationRequest::Validate(std::string& error) const {
  const VerbShape* shape = FindVerb(verb_.view());
  if (!shape) {
    error =
        "unknown verb \"" + verb_.str() + "\" (known: GetStatus, SetStatus, StartCmd, WriteXml, SetUseDesignTables)";
    return false;
  }
  const int count = arguments_.Size();
  if (count < shape->minArguments || count > shape->maxArguments) {
    error = verb_.str() + " takes ";
    error += shape->minArguments == shape->maxArguments
                 ? std::to_string(shape->minArguments)
                 : std::to_string(shape->minArguments) + " or " + std::to_string(shape->maxArguments);
    error += shape->maxArguments == 1 ? " argument" : " arguments";
    error += ", got " + std::to_string(count);
    return false;
  }
  if (shape->integerArgument && !IsDecimalInt(arguments_[1].view())) {
    error = verb_.str() + " takes an integer, got \"" + arguments_[1].str() + "\"";
    return false;
  }
  return true;
}
