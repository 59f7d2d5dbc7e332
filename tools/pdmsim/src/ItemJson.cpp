#include "ItemJson.h"

#include <locale>
#include <sstream>

namespace pdmsim {
namespace {

std::string RoleFor(std::string_view kind) {
  if (kind == "assembly") return "product";
  if (kind == "drawing") return "drawing";
  return "part";
}

// The stored position text as numbers; a text that is not sixteen numbers stays as the text it is.
nlohmann::ordered_json Matrix(const std::string& text) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  nlohmann::ordered_json numbers = nlohmann::ordered_json::array();
  double value = 0;
  while (in >> value) numbers.push_back(value);
  if (!in.eof() || numbers.size() != 16) return text;
  return numbers;
}

}  // namespace

nlohmann::ordered_json ItemJson::Of(VaultCatalog& catalog, const Item& item) {
  auto doc = catalog.DocumentByRole(item.obid, RoleFor(item.kind));
  nlohmann::ordered_json children = nlohmann::ordered_json::array();
  for (const Relation& rel : catalog.Children(item.obid)) {
    auto child = catalog.FindItem(rel.childObid);
    children.push_back({{"instance", rel.instanceName},
                        {"relation", rel.obid},
                        {"partnumber", child ? child->partNumber : std::string()},
                        {"matrix", Matrix(rel.matrix)}});
  }
  return {{"partnumber", item.partNumber},
          {"obid", item.obid},
          {"classname", item.className},
          {"modified", doc ? doc->modified : std::string()},
          {"file", doc ? doc->fileName : std::string()},
          {"children", std::move(children)}};
}

}  // namespace pdmsim
