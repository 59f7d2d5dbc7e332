#include "ExchangeObject.h"

#include <algorithm>

namespace pdmsim {
namespace {

constexpr std::string_view kEol = "@EOL@";

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string ExchangeObject::UpperName(std::string_view name) {
  std::string upper(name);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); });
  return upper;
}

std::string ExchangeObject::EscapeValue(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : Trim(value)) {
    if (c == '\r') continue;
    if (c == '\n') {
      out += kEol;
    } else {
      out += c;
    }
  }
  return std::string(Trim(out));
}

std::string ExchangeObject::UnescapeValue(std::string_view stored) {
  std::string out;
  out.reserve(stored.size());
  std::size_t pos = 0;
  while (pos < stored.size()) {
    std::size_t hit = stored.find(kEol, pos);
    if (hit == std::string_view::npos) {
      out.append(stored.substr(pos));
      break;
    }
    out.append(stored.substr(pos, hit - pos));
    out += '\n';
    pos = hit + kEol.size();
  }
  return out;
}

std::vector<std::string> ExchangeObject::SplitList(std::string_view text) {
  std::vector<std::string> items;
  std::size_t open = text.find('{');
  while (open != std::string_view::npos) {
    std::size_t close = text.find('}', open + 1);
    if (close == std::string_view::npos) {
      items.emplace_back(text.substr(open + 1));
      break;
    }
    items.emplace_back(text.substr(open + 1, close - open - 1));
    open = text.find('{', close + 1);
  }
  if (items.empty() && !text.empty()) items.emplace_back(text);
  return items;
}

std::string ExchangeObject::JoinList(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) {
    if (!out.empty()) out += ' ';
    out += '{';
    out += item;
    out += '}';
  }
  return out;
}

std::pair<std::string, std::string>* ExchangeObject::Find(std::string_view upperName) {
  for (auto& slot : slots_) {
    if (slot.first == upperName) return &slot;
  }
  return nullptr;
}

const std::pair<std::string, std::string>* ExchangeObject::Find(std::string_view upperName) const {
  for (const auto& slot : slots_) {
    if (slot.first == upperName) return &slot;
  }
  return nullptr;
}

std::string ExchangeObject::Get(std::string_view name) const {
  const auto* slot = Find(UpperName(name));
  return slot ? UnescapeValue(slot->second) : std::string();
}

bool ExchangeObject::Has(std::string_view name) const { return Find(UpperName(name)) != nullptr; }

void ExchangeObject::SetRaw(std::string_view name, std::string_view storedValue) {
  std::string upper = UpperName(name);
  std::string value;
  value.reserve(storedValue.size());
  for (char c : storedValue) {
    if (c != '\r') value += c;
  }
  value = std::string(Trim(value));
  if (auto* slot = Find(upper)) {
    slot->second = std::move(value);
  } else {
    slots_.emplace_back(std::move(upper), std::move(value));
  }
}

void ExchangeObject::Set(std::string_view name, std::string_view value) { SetRaw(name, EscapeValue(value)); }

void ExchangeObject::Remove(std::string_view name) {
  std::string upper = UpperName(name);
  slots_.erase(std::remove_if(slots_.begin(), slots_.end(), [&](const auto& slot) { return slot.first == upper; }),
               slots_.end());
}

std::vector<std::string> ExchangeObject::GetList(std::string_view name) const { return SplitList(Get(name)); }

void ExchangeObject::SetList(std::string_view name, const std::vector<std::string>& items) {
  std::vector<std::string> escaped;
  escaped.reserve(items.size());
  for (const std::string& item : items) escaped.push_back(EscapeValue(item));
  SetRaw(name, JoinList(escaped));
}

void ExchangeObject::Append(std::string_view name, std::string_view item) {
  std::vector<std::string> items = GetList(name);
  items.emplace_back(item);
  SetList(name, items);
}

}  // namespace pdmsim
