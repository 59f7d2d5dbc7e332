#include "ArgReader.h"

#include "PdmError.h"

namespace pdmsim {

std::optional<std::string> ArgReader::Option(std::string_view name) {
  std::vector<std::string> values = Options(name);
  if (values.empty()) return std::nullopt;
  return values.back();
}

std::vector<std::string> ArgReader::Options(std::string_view name, bool greedy) {
  std::vector<std::string> values;
  std::vector<std::string> kept;
  for (std::size_t i = 0; i < args_.size(); ++i) {
    if (args_[i] != name) {
      kept.push_back(args_[i]);
      continue;
    }
    if (i + 1 >= args_.size()) throw PdmError(std::string(name) + " needs a value", 2);
    values.push_back(args_[++i]);
    while (greedy && i + 1 < args_.size() && args_[i + 1].rfind("--", 0) != 0) values.push_back(args_[++i]);
  }
  args_ = std::move(kept);
  return values;
}

bool ArgReader::Flag(std::string_view name) {
  bool found = false;
  std::vector<std::string> kept;
  for (const std::string& arg : args_) {
    if (arg == name) {
      found = true;
    } else {
      kept.push_back(arg);
    }
  }
  args_ = std::move(kept);
  return found;
}

std::vector<std::string> ArgReader::Positionals() {
  for (const std::string& arg : args_) {
    if (arg.size() > 2 && arg.rfind("--", 0) == 0) throw PdmError("unknown option " + arg, 2);
  }
  return args_;
}

}  // namespace pdmsim
