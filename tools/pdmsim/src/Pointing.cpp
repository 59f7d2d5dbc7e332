#include "Pointing.h"

#include "PdmError.h"

namespace pdmsim {

namespace {

std::vector<std::string> SplitPath(const std::string& itemPath) {
  std::vector<std::string> steps;
  std::size_t start = 0;
  for (std::size_t slash = itemPath.find('/'); slash != std::string::npos; slash = itemPath.find('/', start)) {
    steps.push_back(itemPath.substr(start, slash - start));
    start = slash + 1;
  }
  steps.push_back(itemPath.substr(start));
  return steps;
}

ExchangeObject& AddPointed(ExchangeFile& file, const std::string& key, const PointedItem& item) {
  ExchangeObject& object = file.Add(key);
  object.Set("EDESC_ID", item.obid);
  object.SetList("NHA_ID_LIST", item.relations);
  return object;
}

}  // namespace

PointedItem ItemPaths::Resolve(const std::string& itemPath) {
  const std::vector<std::string> steps = SplitPath(itemPath);
  std::optional<Item> item = catalog_.FindItemByPartNumber(steps.front());
  if (!item) throw PdmError("no item with part number " + steps.front() + " in the vault (see pdmsim vault ls)", 2);
  PointedItem pointed{item->obid, {}};
  std::string reached = steps.front();
  for (std::size_t i = 1; i < steps.size(); ++i) {
    std::optional<Relation> use;
    for (Relation& relation : catalog_.Children(pointed.obid))
      if (!use && relation.instanceName == steps[i]) use = std::move(relation);
    if (!use) {
      throw PdmError(reached + " has no use named " + steps[i] + " (see pdmsim vault show " + steps.front() + ")", 2);
    }
    pointed.relations.push_back(use->obid);
    pointed.obid = use->childObid;
    reached += "/" + steps[i];
  }
  return pointed;
}

std::optional<std::string> ItemPaths::Describe(const std::string& obid, const std::vector<std::string>& relationsUpward,
                                               std::string& why) {
  std::optional<Item> item = catalog_.FindItem(obid);
  if (!item) {
    why = "no item " + obid;
    return std::nullopt;
  }
  std::string below;
  std::string child = obid;
  for (const std::string& relationObid : relationsUpward) {
    std::optional<Relation> use;
    for (Relation& relation : catalog_.Parents(child))
      if (!use && relation.obid == relationObid) use = std::move(relation);
    if (!use) {
      why = "relation " + relationObid + " is no use of " + child;
      return std::nullopt;
    }
    below = "/" + use->instanceName + below;
    child = use->parentObid;
  }
  std::optional<Item> top = catalog_.FindItem(child);
  if (!top) {
    why = "no item " + child;
    return std::nullopt;
  }
  return top->partNumber + below;
}

ExchangeFile HighlightFile(const std::vector<PointedItem>& items) {
  ExchangeFile file;
  std::vector<std::string> listed;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string key = i == 0 ? std::string("ROOT") : "HL_" + std::to_string(i + 1);
    ExchangeObject& object = AddPointed(file, key, items[i]);
    object.SetList("ID", {});
    object.Set("HL_PRODUCT", "1");
    object.Set("HL_MODELS", "0");
    if (i > 0) listed.push_back(key);
  }
  file.FindOrAdd("ROOT", true).SetList("ITEMLIST", listed);
  return file;
}

ExchangeFile WorkplaneFile(const PointedItem& item) {
  ExchangeFile file;
  AddPointed(file, "ROOT", item);
  return file;
}

std::string AnswerShowInWorkbench(Vault& vault, ExchangeFile& file) {
  ItemPaths paths(vault);
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  std::vector<std::string> keys = root.GetList("ITEMLIST");
  for (const std::string& key : root.GetList("PRODUCT_ITEMLIST")) keys.push_back(key);
  std::string shown;
  std::vector<std::string> missed;
  for (const std::string& key : keys) {
    const ExchangeObject* object = file.Find(key);
    std::string why = "the request has no object " + key;
    std::optional<std::string> path;
    if (object) path = paths.Describe(object->Get("EDESC_ID"), object->GetList("NHA_ID_LIST"), why);
    if (path) {
      shown += (shown.empty() ? "" : ", ") + *path;
    } else {
      missed.push_back(key + ": " + why);
    }
  }
  for (const std::string& line : missed) root.Append("STATS", "Reference PDM: cannot show " + line + ".");
  root.Set("ACTION_SUCCESS", shown.empty() ? "0" : missed.empty() ? "1" : "3");
  std::string outcome = shown.empty() ? std::string("nothing shown") : "shown " + shown;
  for (const std::string& line : missed) outcome += "; not found " + line;
  return outcome;
}

}  // namespace pdmsim
